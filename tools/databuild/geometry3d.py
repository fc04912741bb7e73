"""The little 3D arithmetic the model writers share, in the game's own
conventions: row vectors (a point p becomes p x M), rotation rows 0 to 2,
quaternions (x, y, z, w) turned into matrices as the engine does."""

import math


def add(a, b):
    return tuple(x + y for x, y in zip(a, b))


def sub(a, b):
    return tuple(x - y for x, y in zip(a, b))


def scale(v, s):
    return tuple(x * s for x in v)


def axis_angle(axis, degrees):
    """The quaternion of a turn about a unit axis."""
    half = math.radians(degrees) * 0.5
    s = math.sin(half)
    return (axis[0] * s, axis[1] * s, axis[2] * s, math.cos(half))


IDENTITY_QUATERNION = (0.0, 0.0, 0.0, 1.0)


def quaternion_rows(q):
    """The three rotation rows the engine builds from a unit quaternion."""
    x, y, z, w = q
    return (
        (1 - 2 * y * y - 2 * z * z, 2 * (x * y + w * z), 2 * (x * z - w * y)),
        (2 * (x * y - w * z), 1 - 2 * x * x - 2 * z * z, 2 * (y * z + w * x)),
        (2 * (x * z + w * y), 2 * (y * z - w * x), 1 - 2 * x * x - 2 * y * y),
    )


def rotate(v, rows):
    return tuple(v[0] * rows[0][c] + v[1] * rows[1][c] + v[2] * rows[2][c] for c in range(3))


def matrix(q, position):
    """A 4 x 4 matrix as 16 floats, row by row: rotation rows, then the translation row."""
    rows = quaternion_rows(q)
    return [*rows[0], 0.0, *rows[1], 0.0, *rows[2], 0.0, *position, 1.0]


def bounds(points):
    """(centre, half extents) of the box around the points."""
    low = [min(p[i] for p in points) for i in range(3)]
    high = [max(p[i] for p in points) for i in range(3)]
    centre = tuple((lo + hi) * 0.5 for lo, hi in zip(low, high))
    return centre, tuple(hi - c for hi, c in zip(high, centre))
