"""Texture files (.DCT), as the game's texture loader reads them.

Layout (little-endian): "DC2", int32 version 2, int32 frame count 1, float
LOD bias, 4 unused bytes, int32 image width and height, 4 unused bytes, a
format code byte, int32 level count, int32 width and height of level 0; then
per level an int32 byte count and the level's rows, with the int32 width and
height of the next level between two levels. Each level halves the one
before, down to 1.

Pixels are given as RGBA rows (4 bytes a pixel, top row first) and stored in
Direct3D's byte order: A8R8G8B8 as B, G, R, A; R8G8B8 as B, G, R; DXT1, DXT3
and DXT5 as rows of 4 x 4 blocks.
"""

import struct

from .binary import BinaryWriter

VERSION = 2

# Format name -> (code in the file, bytes per pixel or per 4 x 4 block, block format?)
FORMATS = {
    "argb32": (0, 4, False),
    "rgb24": (5, 3, False),
    "dxt1": (8, 8, True),
    "dxt3": (9, 16, True),
    "dxt5": (10, 16, True),
}


def level_layout(fmt: str, width: int, height: int):
    """(bytes of a row, rows) of one level: for DXT, rows of 4 x 4 blocks."""
    _, unit, block = FORMATS[fmt]
    if block:
        return (width + 3) // 4 * unit, (height + 3) // 4
    return width * unit, height


def level_sizes(width: int, height: int, count: int):
    sizes = [(width, height)]
    while len(sizes) < count:
        w, h = sizes[-1]
        sizes.append((max(w // 2, 1), max(h // 2, 1)))
    return sizes


def full_level_count(width: int, height: int) -> int:
    count, edge = 1, max(width, height)
    while edge > 1:
        edge //= 2
        count += 1
    return count


def halve(rgba: bytes, width: int, height: int) -> bytes:
    """The next mip level: each pixel the mean of the 2 x 2 (or fewer) it covers."""
    w2, h2 = max(width // 2, 1), max(height // 2, 1)
    out = bytearray(w2 * h2 * 4)
    for y in range(h2):
        ys = {min(2 * y, height - 1), min(2 * y + 1, height - 1)}
        for x in range(w2):
            xs = {min(2 * x, width - 1), min(2 * x + 1, width - 1)}
            for c in range(4):
                total = sum(rgba[(sy * width + sx) * 4 + c] for sy in ys for sx in xs)
                out[(y * w2 + x) * 4 + c] = (total + len(xs) * len(ys) // 2) // (len(xs) * len(ys))
    return bytes(out)


def encode_level(fmt: str, width: int, height: int, rgba: bytes) -> bytes:
    if len(rgba) != width * height * 4:
        raise ValueError(f"{width} x {height} RGBA pixels need {width * height * 4} bytes, not {len(rgba)}")
    if fmt == "argb32":
        return bytes(b for i in range(0, len(rgba), 4) for b in (rgba[i + 2], rgba[i + 1], rgba[i], rgba[i + 3]))
    if fmt == "rgb24":
        return bytes(b for i in range(0, len(rgba), 4) for b in (rgba[i + 2], rgba[i + 1], rgba[i]))
    encode_block = {"dxt1": _dxt1_block, "dxt3": _dxt3_block, "dxt5": _dxt5_block}[fmt]
    out = bytearray()
    for by in range(0, height, 4):
        for bx in range(0, width, 4):
            # Pixels beyond the edge of a small level repeat the last row or column.
            block = [rgba[(min(by + y, height - 1) * width + min(bx + x, width - 1)) * 4:][:4]
                     for y in range(4) for x in range(4)]
            out += encode_block(block)
    return bytes(out)


def write_dct(fmt: str, width: int, height: int, rgba: bytes, levels: int = 1, lod_bias: float = 0.0,
              image_size=None) -> bytes:
    """A .DCT of the picture with its first `levels` mip levels (0: all of them)."""
    code = FORMATS[fmt][0]
    count = levels or full_level_count(width, height)
    if not 1 <= count <= full_level_count(width, height):
        raise ValueError(f"a {width} x {height} texture cannot have {count} levels")
    image_width, image_height = image_size or (width, height)
    out = BinaryWriter().raw(b"DC2").int32(VERSION).int32(1).float32(lod_bias).int32(0)
    out.int32(image_width).int32(image_height).int32(0).raw(struct.pack("<b", code))
    out.int32(count).int32(width).int32(height)
    sizes = level_sizes(width, height, count)
    for index, (w, h) in enumerate(sizes):
        data = encode_level(fmt, w, h, rgba)
        out.int32(len(data)).raw(data)
        if index + 1 < count:
            out.int32(sizes[index + 1][0]).int32(sizes[index + 1][1])
            rgba = halve(rgba, w, h)
    return out.bytes()


# Block compression: each 4 x 4 block keeps two RGB565 end colours and, per
# pixel, which of the four colours on the line between them is nearest.

def _rgb565(pixel) -> int:
    r, g, b = pixel[0], pixel[1], pixel[2]
    return ((r * 31 + 127) // 255) << 11 | ((g * 63 + 127) // 255) << 5 | (b * 31 + 127) // 255


def _expand565(value: int):
    r, g, b = value >> 11 & 31, value >> 5 & 63, value & 31
    return (r * 255 + 15) // 31, (g * 255 + 31) // 63, (b * 255 + 15) // 31


def _colour_block(block) -> bytes:
    luminance = [p[0] * 3 + p[1] * 6 + p[2] for p in block]
    c0 = _rgb565(block[luminance.index(max(luminance))])
    c1 = _rgb565(block[luminance.index(min(luminance))])
    if c0 < c1:
        c0, c1 = c1, c0
    if c0 == c1:
        return struct.pack("<HHI", c0, c1, 0)
    e0, e1 = _expand565(c0), _expand565(c1)
    palette = [e0, e1, tuple((2 * a + b) // 3 for a, b in zip(e0, e1)), tuple((a + 2 * b) // 3 for a, b in zip(e0, e1))]
    indices = 0
    for i, p in enumerate(block):
        nearest = min(range(4), key=lambda k: sum((p[c] - palette[k][c]) ** 2 for c in range(3)))
        indices |= nearest << (2 * i)
    return struct.pack("<HHI", c0, c1, indices)


def _dxt1_block(block) -> bytes:
    return _colour_block(block)


def _dxt3_block(block) -> bytes:
    alpha = 0
    for i, p in enumerate(block):
        alpha |= (p[3] * 15 + 127) // 255 << (4 * i)
    return struct.pack("<Q", alpha) + _colour_block(block)


def _dxt5_block(block) -> bytes:
    values = [p[3] for p in block]
    a0, a1 = max(values), min(values)
    if a0 == a1:
        return bytes([a0, a1]) + bytes(6) + _colour_block(block)
    palette = [a0, a1] + [((7 - k) * a0 + k * a1) // 7 for k in range(1, 7)]
    indices = 0
    for i, value in enumerate(values):
        nearest = min(range(8), key=lambda k: abs(value - palette[k]))
        indices |= nearest << (3 * i)
    return bytes([a0, a1]) + indices.to_bytes(6, "little") + _colour_block(block)
