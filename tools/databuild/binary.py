"""Little-endian writing of the engine's file formats.

Strings take the reader's forms: an int32 length and one byte per character
(read back with sign extension, so 8-bit texts are ASCII), or an int32 length
in characters and UTF-16LE.
"""

import struct


class BinaryWriter:
    def __init__(self):
        self._parts = []

    def raw(self, data: bytes):
        self._parts.append(bytes(data))
        return self

    def int32(self, value: int):
        return self.raw(struct.pack("<i", value))

    def uint32(self, value: int):
        return self.raw(struct.pack("<I", value))

    def float32(self, value: float):
        return self.raw(struct.pack("<f", value))

    def float32s(self, values):
        values = tuple(values)
        return self.raw(struct.pack("<%df" % len(values), *values))

    def text(self, units):
        """int32 count, then the low 8 bits of each unit (a str or a list of code units)."""
        codes = [ord(c) for c in units] if isinstance(units, str) else list(units)
        self.int32(len(codes))
        return self.raw(bytes(c & 0xFF for c in codes))

    def wide_text(self, units):
        """int32 count in characters, then UTF-16LE code units."""
        codes = utf16_units(units) if isinstance(units, str) else list(units)
        self.int32(len(codes))
        return self.raw(b"".join(struct.pack("<H", c & 0xFFFF) for c in codes))

    def dc2_header(self, kind: int, version: int):
        """The "DC2" magic and the two int32 fields most data files begin with."""
        return self.raw(b"DC2").int32(kind).int32(version)

    def bytes(self) -> bytes:
        return b"".join(self._parts)


def utf16_units(text: str):
    data = text.encode("utf-16-le")
    return list(struct.unpack("<%dH" % (len(data) // 2), data))
