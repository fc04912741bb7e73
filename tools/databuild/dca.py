"""The animation format ".DCA", in its two layouts. Both start with "DC2".

Layout A: the int32 0x100000, the track count and names, the key count, then
per key its duration and one 4 x 4 matrix (16 floats, row by row) per track.

Layout B: an int32 other than 0x100000 (not read), the version 0x100000, an
int32 (not read), the full length, a float (not read), the track count, per
track its name and 28 bytes (not read), the key count, then per key its
duration and per track a position (3 floats) and a rotation (x, y, z, w).

A key's transform places its bone in its parent's space; the last key only
closes the loop.
"""

from .binary import BinaryWriter

DCA_VERSION = 0x100000
LAYOUT_B_MARK = 1   # any first int32 but DCA_VERSION selects layout B


def write_dca_matrices(tracks, keys) -> bytes:
    """Layout A. keys: (duration, [16 floats per track])."""
    writer = BinaryWriter().raw(b"DC2").int32(DCA_VERSION).int32(len(tracks))
    for name in tracks:
        writer.text(name)
    writer.int32(len(keys))
    for duration, matrices in keys:
        writer.float32(duration)
        for m in matrices:
            writer.float32s(m)
    return writer.bytes()


def write_dca(tracks, keys, full_length=None) -> bytes:
    """Layout B. keys: (duration, [(position, rotation) per track]); the full
    length defaults to the sum of the durations."""
    if full_length is None:
        full_length = sum(duration for duration, _ in keys)
    writer = BinaryWriter().raw(b"DC2").int32(LAYOUT_B_MARK).int32(DCA_VERSION).int32(0)
    writer.float32(full_length).float32(0.0).int32(len(tracks))
    for name in tracks:
        writer.text(name).raw(bytes(28))
    writer.int32(len(keys))
    for duration, transforms in keys:
        writer.float32(duration)
        for position, rotation in transforms:
            writer.float32s((*position, *rotation))
    return writer.bytes()
