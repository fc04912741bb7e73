#!/usr/bin/env python3
"""Writes the file-system fixtures of the engine tests, with the game's own
data writers: tests/engine/files/make_fixtures.py OUT_FOLDER"""

import pathlib
import struct
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[3] / "tools"))

from databuild import language  # noqa: E402
from databuild.binary import BinaryWriter  # noqa: E402
from databuild.pack import write_pack  # noqa: E402

# 100 KiB that never repeats within a few bytes, so a misplaced read shows.
BIG = bytes((i * 7 + (i >> 8)) & 0xFF for i in range(100 * 1024))


def write(path: pathlib.Path, data: bytes):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


def sources(out: pathlib.Path):
    """A pack patched by loose files."""
    root = out / "sources"
    members = [
        ("Misc\\English.DCL", language.write_dcl({1: "Packed"})),
        ("Misc\\Other.DCL", language.write_dcl({1: "Other"})),
        ("Menu\\Loading1.DCT", b"1"),
        ("Menu\\LoadingX.DCT", b"X"),
        ("Menu\\Loading.DCT", b"-"),
        ("Menu\\Loading12.DCT", b"12"),
        ("Menu\\Both.DCT", b"menu"),
        ("Textures\\Both.DCT", b"textures"),
        ("Textures\\Sky.DCT", b"sky"),
        ("Pedestrians\\", b""),
        ("Pedestrians\\Walker\\", b""),
        ("Pedestrians\\Walker\\Skin.DCT", b"skin"),
        ("Pedestrians\\List.txt", b"list"),
        ("Data\\Big.bin", BIG),
        ("Data\\Twice.bin", b"first"),
        ("DATA\\TWICE.BIN", b"second"),
    ]
    root.mkdir(parents=True, exist_ok=True)
    write_pack(root / "Data.DCP", members)
    write(root / "Misc" / "English.DCL", language.write_dcl({1: "Loose"}))
    write(root / "Loose" / "Only.txt", b"loose")


def damaged_packs(out: pathlib.Path):
    good = out / "sources" / "Data.DCP"
    data = good.read_bytes()
    write(out / "truncated" / "Data.DCP", data[: len(data) - 40])
    write(out / "garbage" / "Data.DCP", b"PK\x03\x04" + bytes(range(256)) * 4)


def huge_count_dcl() -> bytes:
    """A count far beyond what the file holds: one real entry follows."""
    huge = BinaryWriter().dc2_header(0, 0).int32(language.NARROW_TEXTS).int32(0x7FFFFFFF)
    huge.int32(7).text(language.encode([ord(c) for c in "Seven"], 0xFF))
    return huge.bytes()


def overstated_pack(out: pathlib.Path):
    """A pack whose members state, in both their headers, a size of almost
    2 GiB that their data is far from holding."""
    # A text length of almost 2 GiB, and no text.
    long = BinaryWriter().dc2_header(0, 0).int32(language.NARROW_TEXTS).int32(1).int32(8).int32(0x7FFF0000)
    path = out / "overstated" / "Data.DCP"
    path.parent.mkdir(parents=True, exist_ok=True)
    write_pack(path, [("Misc\\Huge.DCL", huge_count_dcl()), ("Misc\\Long.DCL", long.bytes())])
    data = bytearray(path.read_bytes())
    # The uncompressed size of the local header, then of the directory entry.
    for signature, size_offset in ((b"PK\x03\x04", 22), (b"PK\x01\x02", 24)):
        at = data.find(signature)
        while at >= 0:
            struct.pack_into("<I", data, at + size_offset, 0x7FFFFFF0)
            at = data.find(signature, at + 1)
    path.write_bytes(bytes(data))


def languages(out: pathlib.Path):
    root = out / "languages" / "Misc"
    write(root / "English.DCL", language.write_dcl({10: "Ten", 20: "  lead", 30: "trail   ", 40: "x"}))
    write(root / "Deutsch.DCL", language.write_dcl({10: "Zehn", 50: "Gr\u00f6\u00dfe"}))

    damaged = out / "badlanguages" / "Misc"
    write(damaged / "Huge.DCL", huge_count_dcl())
    # A negative text length.
    negative = BinaryWriter().dc2_header(0, 0).int32(language.NARROW_TEXTS).int32(1)
    negative.int32(8).int32(-5).raw(b"abc")
    write(damaged / "Negative.DCL", negative.bytes())
    write(damaged / "NotDcl.DCL", b"XYZ" + bytes(16))


def main():
    out = pathlib.Path(sys.argv[1])
    sources(out)
    damaged_packs(out)
    languages(out)
    overstated_pack(out)


if __name__ == "__main__":
    main()
