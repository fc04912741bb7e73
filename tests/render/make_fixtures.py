#!/usr/bin/env python3
"""Writes the texture fixtures of the renderer tests with the game's own data
writers: tests/render/make_fixtures.py OUT_FOLDER

"textures" holds .DCT files written by the sample-data writer, good and
damaged, and beside them "Expected\\<name>.L<level>": the bytes each level
must hold once the game has loaded it. "sample" holds the game's own sample
textures, built from the descriptions under data/, with their first levels
in "Expected" likewise.
"""

import pathlib
import struct
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools"))

from databuild import dct, texture as texture_source  # noqa: E402
from databuild.pack import write_pack  # noqa: E402


def write(path: pathlib.Path, data: bytes):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


def pattern(width: int, height: int, salt: int = 0) -> bytes:
    """RGBA pixels that differ from their neighbours in every channel."""
    return bytes((x * 37 + y * 11 + c * 71 + salt) & 0xFF
                 for y in range(height) for x in range(width) for c in range(4))


def gradient(width: int, height: int) -> bytes:
    """Smooth RGBA, so block compression keeps something recognisable."""
    return bytes(v for y in range(height) for x in range(width)
                 for v in (x * 255 // max(width - 1, 1), y * 255 // max(height - 1, 1), 128, 255 - x * 8 % 256))


def texture(root: pathlib.Path, name: str, fmt: str, width: int, height: int, rgba: bytes, levels: int = 1,
            **options):
    """A good texture and the bytes of each of its levels."""
    write(root / "Textures" / f"{name}.DCT", dct.write_dct(fmt, width, height, rgba, levels, **options))
    count = levels or dct.full_level_count(width, height)
    for index, (w, h) in enumerate(dct.level_sizes(width, height, count)):
        write(root / "Expected" / f"{name}.L{index}", dct.encode_level(fmt, w, h, rgba))
        rgba = dct.halve(rgba, w, h)


def damaged(root: pathlib.Path):
    good = dct.write_dct("argb32", 4, 4, pattern(4, 4), 3)
    first_count = 44
    folder = root / "Textures"
    write(folder / "Short.DCT", b"DC2\x02\x00")
    write(folder / "BadMagic.DCT", b"DCX" + good[3:])
    write(folder / "BadVersion.DCT", good[:3] + struct.pack("<i", 3) + good[7:])
    write(folder / "Multi.DCT", good[:7] + struct.pack("<i", 2) + good[11:])
    write(folder / "BadCode.DCT", good[:31] + bytes([3]) + good[32:])
    # A level that claims one byte less than a 4 x 4 A8R8G8B8 level holds.
    write(folder / "WrongCount.DCT", good[:first_count] + struct.pack("<i", 63) + good[first_count + 4:])
    write(folder / "Truncated.DCT", good[:first_count + 4 + 40])
    # Level 1 of a 4 x 4 texture is 2 x 2, not 3 x 2.
    level1 = first_count + 4 + 64
    write(folder / "WrongLevelSize.DCT", good[:level1] + struct.pack("<ii", 3, 2) + good[level1 + 8:])
    write(folder / "TooManyLevels.DCT", good[:32] + struct.pack("<i", 4) + good[36:])
    write(folder / "HugeLevels.DCT", good[:32] + struct.pack("<i", 0x7FFFFFFF) + good[36:])
    write(folder / "NoSize.DCT", good[:36] + struct.pack("<ii", 0, 4) + good[44:])
    write(folder / "ImageBeyondTexture.DCT", good[:19] + struct.pack("<ii", 4, 5) + good[27:])
    write(folder / "Plain.TGA", bytes(64))


def textures(out: pathlib.Path):
    root = out / "textures"
    texture(root, "Solid", "argb32", 4, 4, pattern(4, 4))
    texture(root, "Mipped", "argb32", 8, 8, pattern(8, 8, 5), 0)
    texture(root, "Rgb", "rgb24", 8, 4, pattern(8, 4, 9))
    texture(root, "Dxt1", "dxt1", 16, 16, gradient(16, 16), 0)
    texture(root, "Dxt3", "dxt3", 16, 8, gradient(16, 8), 0)
    texture(root, "Dxt5", "dxt5", 8, 16, gradient(8, 16), 0)
    texture(root, "Wide", "argb32", 100, 20, pattern(100, 20))
    texture(root, "PowerOfTwo", "argb32", 128, 4, pattern(128, 4))
    texture(root, "Biased", "argb32", 4, 4, pattern(4, 4), lod_bias=1.5)
    texture(root, "Both", "argb32", 4, 4, pattern(4, 4, 1))
    write(root / "Menu" / "Both.DCT", dct.write_dct("argb32", 4, 4, pattern(4, 4, 2)))
    damaged(root)
    root.mkdir(parents=True, exist_ok=True)
    write_pack(root / "Data.DCP", [("Textures\\Packed.DCT", dct.write_dct("argb32", 4, 4, pattern(4, 4, 3)))])


def samples(out: pathlib.Path):
    root = out / "sample"
    data = pathlib.Path(__file__).resolve().parents[2] / "data"
    for source in sorted(data.rglob("*.texture")):
        relative = source.relative_to(data).with_suffix(".DCT")
        text = source.read_text(encoding="utf-8")
        write(root / relative, texture_source.build_texture(text, str(source)))
        fmt, width, height, rgba, _, _ = texture_source.render_texture(text, str(source))
        write(root / "Expected" / f"{relative.stem}.L0", dct.encode_level(fmt, width, height, rgba))
    write_pack(root / "Data.DCP", [])


def main():
    out = pathlib.Path(sys.argv[1])
    textures(out)
    samples(out)


if __name__ == "__main__":
    main()
