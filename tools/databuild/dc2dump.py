"""DC2 serialisation dumps, the ".dcScript" format of missions.

Header: "DC2", int32 0, int32 kind 5, int32 revision, int32 root count, then
one object reference per root. An object reference is an int32 index; at an
object's first appearance its class id follows (0 for a null reference) and
then the object's own settings, in which its links are further references.
Indices count up from 0 in the order objects are first met.

Texts: int32 count and one byte per character when every character is at
most U+00FF; otherwise the negated count and UTF-16LE code units.
"""

import struct

from .binary import BinaryWriter, utf16_units

DUMP_KIND = 5
EDITOR_REVISION = 35


def _crc_table():
    table = []
    for i in range(256):
        crc = i << 24
        for _ in range(8):
            crc = ((crc << 1) ^ 0x04C11DB7) if crc & 0x80000000 else crc << 1
            crc &= 0xFFFFFFFF
        table.append(crc)
    return table


_CRC_TABLE = _crc_table()


def class_id(name: str) -> int:
    """The identity of a class name: CRC-32 (MSB first, polynomial
    0x04C11DB7) of its bytes from seed 0, 1, 2, ... XOR the length, the first
    that is positive as an int32."""
    data = name.encode("ascii")
    seed = 0
    while True:
        crc = seed
        for byte in data:
            crc = ((crc << 8) & 0xFFFFFFFF) ^ _CRC_TABLE[byte ^ (crc >> 24)]
        value = struct.unpack("<i", struct.pack("<I", crc ^ len(data)))[0]
        if value > 0:
            return value
        seed += 1


class DumpWriter:
    """Writes objects given by key; save(writer, key) writes one object's
    settings, calling object_ref for its links."""

    def __init__(self, class_of, save, revision=EDITOR_REVISION):
        self.out = BinaryWriter()
        self._class_of = class_of
        self._save = save
        self._indices = {}
        self._next_index = 0
        self._revision = revision

    def dump(self, roots) -> bytes:
        self.out.raw(b"DC2").int32(0).int32(DUMP_KIND).int32(self._revision).int32(len(roots))
        for key in roots:
            self.object_ref(key)
        return self.out.bytes()

    def object_ref(self, key):
        """One reference; None is a null reference."""
        if key is not None and key in self._indices:
            self.out.int32(self._indices[key])
            return
        index = self._next_index
        self._next_index += 1
        self.out.int32(index)
        if key is None:
            self.out.int32(0)
            return
        self._indices[key] = index
        self.out.int32(class_id(self._class_of(key)))
        self._save(self, key)

    def text(self, text: str):
        if all(ord(c) <= 0xFF for c in text):
            self.out.int32(len(text)).raw(text.encode("latin-1"))
            return
        units = utf16_units(text)
        self.out.int32(-len(units)).raw(b"".join(struct.pack("<H", u) for u in units))
