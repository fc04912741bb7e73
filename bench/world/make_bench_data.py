#!/usr/bin/env python3
"""The sample city grown four times: the settings of "Maps\\World.city" with
twice the blocks each way, "Maps\\World16.DCW" (16 x 16 blocks), in a pack
of its own, "World16.DCP", so that it is read as the sample city is read
from "Data.DCP": bench/world/make_bench_data.py OUT_FOLDER"""

import json
import pathlib
import sys

root = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(root / "tools"))

from databuild import city  # noqa: E402
from databuild.pack import write_pack  # noqa: E402

GROWTH = 2   # blocks each way, so four times the area


def main():
    out = pathlib.Path(sys.argv[1])
    settings = json.loads((root / "data" / "Maps" / "World.city").read_text(encoding="utf-8"))
    columns, rows = settings["blocks"]
    settings["blocks"] = [columns * GROWTH, rows * GROWTH]
    out.mkdir(parents=True, exist_ok=True)
    world = city.build_city(json.dumps(settings), "grown World.city")
    write_pack(out / "World16.DCP", [("Maps\\World16.DCW", world)])


if __name__ == "__main__":
    main()
