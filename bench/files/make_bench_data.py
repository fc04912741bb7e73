#!/usr/bin/env python3
"""1,000 small members in a pack, and the same files loose in a folder of
their own: bench/files/make_bench_data.py OUT_FOLDER"""

import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools"))

from databuild.pack import write_pack  # noqa: E402

COUNT = 1000


def main():
    out = pathlib.Path(sys.argv[1])
    members = [(f"Small\\File{i:04d}.bin", bytes((i + j) & 0xFF for j in range(512))) for i in range(COUNT)]
    out.mkdir(parents=True, exist_ok=True)
    write_pack(out / "Data.DCP", members)
    loose = out / "loose" / "Small"
    loose.mkdir(parents=True, exist_ok=True)
    for name, data in members:
        (loose / name.split("\\")[1]).write_bytes(data)


if __name__ == "__main__":
    main()
