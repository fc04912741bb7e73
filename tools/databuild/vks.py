"""The settings files of a sky folder ("Skies\\Day"), from short descriptions
(JSON) beside them:

- "Flare.flare" -> "Flare.VKS": {"sun": [x, y, z]}, the direction of the sun
  for the lens flare.
- "X.lighting" -> "X.VKS" ("Lighting.VKS" or "DynamicLighting.VKS"):
  {"version": 1, "lights": three lights, "fog": {"range", "colour",
  "intensity"}}. A light is {"turn": [axis, degrees], "intensity",
  "ambient", "diffuse", "specular"} with RGBA colours 0 to 1; its direction,
  z turned by the inverse of its turn, points at the light, as the shaders
  take "LightDir" (a sun above has a positive turn about x). The fog is
  written only in version 1 (the game reads it only then, and only from
  "Lighting.VKS"); missing values take the game's defaults.
"CarLights.VKS" is an empty flag file, taken as it is.
"""

import json

from .binary import BinaryWriter
from .geometry3d import IDENTITY_QUATERNION, axis_angle

FLARE_FIELD = 0x10000000   # written after the magic, never read
WHITE = [1.0, 1.0, 1.0, 1.0]
DEFAULT_FOG = {"range": 1.0, "colour": WHITE, "intensity": 1.0}
CONVERSIONS = {".flare": ".VKS", ".lighting": ".VKS"}


def write_flare(sun) -> bytes:
    return BinaryWriter().raw(b"DC2").int32(FLARE_FIELD).float32s(sun).bytes()


def light_record(light) -> bytes:
    turn = light.get("turn")
    quaternion = axis_angle(tuple(turn[0]), turn[1]) if turn else IDENTITY_QUATERNION
    writer = BinaryWriter().float32s(quaternion).float32(light.get("intensity", 1.0))
    for colour in ("ambient", "diffuse", "specular"):
        writer.float32s(light.get(colour, WHITE))
    return writer.bytes()


def write_lighting(version: int, lights, fog=None) -> bytes:
    if len(lights) != 3:
        raise ValueError(f"a lighting file holds 3 lights, not {len(lights)}")
    writer = BinaryWriter().raw(b"DC2").int32(version)
    for light in lights:
        writer.raw(light_record(light))
    if version == 1:
        fog = dict(DEFAULT_FOG, **(fog or {}))
        writer.float32(fog["range"]).float32s(fog["colour"]).float32(fog["intensity"])
    return writer.bytes()


def build(source: str, suffix: str) -> bytes:
    description = json.loads(source)
    if suffix == ".flare":
        return write_flare(description["sun"])
    return write_lighting(description.get("version", 1), description["lights"], description.get("fog"))
