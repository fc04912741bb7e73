"""Language files (.DCL): texts by int32 key, stored with the engine's
reversible running-difference scramble.

Source form (UTF-8 text): one "key = text" per line; blank lines and lines
starting with "#" are skipped. Texts keep their inner blanks; trailing blanks
are dropped by the game when it loads them.
"""

from .binary import BinaryWriter, utf16_units

NARROW_TEXTS = 0
WIDE_TEXTS = 1


def parse_source(source: str, origin: str = "<text>"):
    texts = {}
    for number, line in enumerate(source.splitlines(), start=1):
        stripped = line.strip()
        if not stripped or stripped.startswith("#"):
            continue
        key, separator, text = line.partition("=")
        if not separator:
            raise ValueError(f"{origin}:{number}: expected 'key = text'")
        key = int(key.strip())
        if key in texts:
            raise ValueError(f"{origin}:{number}: key {key} given twice")
        texts[key] = text.strip()
    return texts


def encode(units, mask):
    """The inverse of the game's decoder, for texts of two or more units.

    The decoder flips even positions (mask - v), subtracts the previous
    decoded unit, and starts from the flipped last unit; one unit alone always
    decodes to zero, so callers pad one-unit texts with a zero the game trims.
    """
    n = len(units)
    if n == 0:
        return []
    if n == 1:
        raise ValueError("a one-unit text cannot be stored")
    flip = lambda i, v: (mask - v) & mask if i % 2 == 0 else v & mask
    encoded = [0] * n
    for i in range(1, n):
        encoded[i] = flip(i, (units[i] + units[i - 1]) & mask)
    start = flip(n - 1, encoded[n - 1])
    encoded[0] = flip(0, (units[0] + start) & mask)
    return encoded


def stored_units(text: str, wide: bool):
    units = utf16_units(text) if wide else [ord(c) for c in text]
    if len(units) == 1:
        units.append(0)
    return units


def write_dcl(texts: dict) -> bytes:
    """A .DCL file of the texts, 8-bit when every text is ASCII."""
    wide = any(ord(c) > 0x7F for text in texts.values() for c in text)
    out = BinaryWriter().dc2_header(0, 0)
    out.int32(WIDE_TEXTS if wide else NARROW_TEXTS).int32(len(texts))
    for key in sorted(texts):
        units = stored_units(texts[key], wide)
        out.int32(key)
        if wide:
            out.wide_text(encode(units, 0xFFFF))
        else:
            out.text(encode(units, 0xFF))
    return out.bytes()
