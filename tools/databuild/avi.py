"""Uncompressed AVI movies: one video stream of 24-bit frames, which the
system's own DirectShow filters play without any codec."""

import struct

AVIF_HASINDEX = 0x10
AVIIF_KEYFRAME = 0x10


def chunk(fourcc: bytes, data: bytes) -> bytes:
    padding = b"\0" if len(data) % 2 else b""
    return fourcc + struct.pack("<I", len(data)) + data + padding


def riff_list(kind: bytes, fourcc: bytes, data: bytes) -> bytes:
    return kind + struct.pack("<I", len(data) + 4) + fourcc + data


def frame_bytes(pixels, width: int, height: int) -> bytes:
    """pixels(x, y) -> (r, g, b) with y = 0 at the top; AVI rows run bottom up, BGR, 4-byte aligned."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = pixels(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (stride - len(row))
        rows.append(bytes(row))
    return b"".join(rows)


def write_avi(frames, width: int, height: int, fps: int) -> bytes:
    """frames: a list of frame byte strings from frame_bytes."""
    frame_size = len(frames[0])
    main_header = struct.pack(
        "<10I4I", 1000000 // fps, frame_size * fps, 0, AVIF_HASINDEX, len(frames), 0, 1, frame_size,
        width, height, 0, 0, 0, 0)
    stream_header = struct.pack(
        "<4s4sIHHIIIIIIIi4h", b"vids", b"DIB ", 0, 0, 0, 0, 1, fps, 0, len(frames), frame_size, -1 & 0xFFFFFFFF,
        0, 0, 0, width, height)
    bitmap_info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, frame_size, 0, 0, 0, 0)
    stream_list = riff_list(b"LIST", b"strl", chunk(b"strh", stream_header) + chunk(b"strf", bitmap_info))
    header_list = riff_list(b"LIST", b"hdrl", chunk(b"avih", main_header) + stream_list)

    movie = b""
    index = b""
    for data in frames:
        offset = 4 + len(movie)   # from the "movi" fourcc
        movie += chunk(b"00db", data)
        index += struct.pack("<4sIII", b"00db", AVIIF_KEYFRAME, offset, len(data))
    movie_list = riff_list(b"LIST", b"movi", movie)
    return riff_list(b"RIFF", b"AVI ", header_list + movie_list + chunk(b"idx1", index))
