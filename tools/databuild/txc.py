"""Vehicle catalogue entries from a short description (JSON, "X.catalogue"),
written as the game's ".TXC" files of version 48:

    {"display_name": "Kestrel", "values": [16 numbers],
     "door": [x, y, z], "front_wheels": [[x, y, z], [x, y, z]],
     "rear_wheels": [...], "front_lamps": [{"position": [x, y, z],
     "colour": [r, g, b]}], "rear_lamps": [...], "extra_lamps": [...]}
- values: typeValue1 to typeValue16 as the game keeps them; the file stores
  some of them scaled, and this writer stores what reads back to them
  (typeValue2 is stored as given: the game raises it when that is larger).
- front_wheels, rear_wheels: the left and right wheel of the axle. The game
  lowers the wheels of a street vehicle by 0.5 as it reads them.
- lamp colours are signed bytes, -128 to 127.
"""

import json

from .binary import BinaryWriter

VERSION = 48
# The file's order of typeValue numbers (1-based) and the factor the game
# multiplies each by; None marks the unkept byte between them.
STORED = [(1, 1.5), (2, 1.0), (3, 1.0), (4, 1.0), (5, 1.0), (6, 1.0), (7, 1.0), (8, 1.0), (9, "int"),
          (10, 1.0), (11, 1.5), (15, 0.1), None, (14, 0.2), (16, 1.0), (12, 5.0), (13, 1.0)]


def _lamps(writer: BinaryWriter, lamps):
    writer.int32(len(lamps))
    for lamp in lamps:
        writer.float32s(lamp["position"]).raw(bytes(c & 0xFF for c in lamp["colour"]))


def write_txc(entry: dict) -> bytes:
    values = entry["values"]
    if len(values) != 16:
        raise ValueError(f"a catalogue entry holds 16 values, not {len(values)}")
    writer = BinaryWriter().raw(b"TX ").int32(VERSION).text(entry["display_name"]).raw(b"\0\0")
    for stored in STORED:
        if stored is None:
            writer.raw(b"\0")
        elif stored[1] == "int":
            writer.int32(int(values[stored[0] - 1]))
        else:
            writer.float32(values[stored[0] - 1] / stored[1])
    writer.float32s(entry.get("door", (0.0, 0.0, 0.0)))
    for axle in ("front_wheels", "rear_wheels"):
        writer.int32(1)
        for wheel in entry[axle]:
            writer.float32s(wheel)
    for lamps in ("front_lamps", "rear_lamps", "extra_lamps"):
        _lamps(writer, entry.get(lamps, []))
    return writer.bytes()


def build(source: str) -> bytes:
    return write_txc(json.loads(source))
