"""Camera presets from a short description (JSON, "X.camera"), written as
the game's ".CAM" files (version 1, with the field of view):

    {"offset": [0, 8, 0], "turns": [[[1, 0, 0], -12], [[0, 1, 0], 180]],
     "distance": 55, "turn_rate": 6, "show_target": true,
     "full_rotation": false, "fov": 75}
- offset: the focus point in the target's frame.
- turns: the eye's turn against that frame, as [axis, degrees] turns applied
  one after the other. The eye stands "distance" along the turned third axis
  from the focus and looks back at it. Without "full_rotation" the frame is
  the target's heading turned half a turn, so its third axis points forward.
"""

import json

from .binary import BinaryWriter
from .geometry3d import IDENTITY_QUATERNION, axis_angle

VERSION = 1


def then(first, second):
    """The turn by first, then by second: the Hamilton product second x first."""
    x1, y1, z1, w1 = first
    x2, y2, z2, w2 = second
    return (w2 * x1 + x2 * w1 + y2 * z1 - z2 * y1,
            w2 * y1 - x2 * z1 + y2 * w1 + z2 * x1,
            w2 * z1 + x2 * y1 - y2 * x1 + z2 * w1,
            w2 * w1 - x2 * x1 - y2 * y1 - z2 * z1)


def write_cam(preset: dict) -> bytes:
    rotation = IDENTITY_QUATERNION
    for axis, degrees in preset.get("turns", []):
        rotation = then(rotation, axis_angle(tuple(axis), degrees))
    writer = BinaryWriter().raw(b"DC2").int32(VERSION)
    writer.float32s(preset.get("offset", (0.0, 0.0, 0.0))).float32s(rotation)
    writer.float32(preset.get("distance", 100.0)).float32(preset.get("turn_rate", 1.0))
    writer.raw(bytes([int(preset.get("show_target", True)), int(preset.get("full_rotation", False))]))
    return writer.float32(preset.get("fov", 75.0)).bytes()


def build(source: str) -> bytes:
    return write_cam(json.loads(source))
