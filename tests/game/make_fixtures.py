#!/usr/bin/env python3
"""Writes the fixtures of the game tests with the game's own data writers:
tests/game/make_fixtures.py OUT_FOLDER

- worlds/: the sample world "Maps\\Test.DCW" from data/, and world files
  whose headers the loader must refuse.
- language/: a language whose content switches turn blood and ragdolls off.
"""

import pathlib
import sys

root = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(root / "tools"))

from databuild import city, language  # noqa: E402
from databuild.binary import BinaryWriter  # noqa: E402


def write(path: pathlib.Path, data: bytes):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


def worlds(out: pathlib.Path):
    maps = out / "worlds" / "Maps"
    sample = city.build_city((root / "data" / "Maps" / "Test.city").read_text(encoding="utf-8"))
    write(maps / "Test.DCW", sample)
    write(maps / "Nine.DCW", sample[:9])
    write(maps / "Ten.DCW", sample[:10])
    write(maps / "Kind3.DCW", BinaryWriter().raw(b"DC2").int32(0).int32(3).int32(0).bytes() + sample[15:])
    write(maps / "Magic.DCW", b"DC3" + sample[3:])


def gore_free_language(out: pathlib.Path):
    write(out / "language" / "Misc" / "English.DCL",
          language.write_dcl({666: "No blood", 6661666: "No ragdoll", 9900606: "PAUSED"}))


def main():
    out = pathlib.Path(sys.argv[1])
    worlds(out)
    gore_free_language(out)
    (out / "written").write_text("game fixtures\n")


if __name__ == "__main__":
    main()
