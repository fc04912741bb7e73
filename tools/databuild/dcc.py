"""Vehicle types from a short description (JSON, "X.vehicle"), written as the
game's ".DCC" files of version 6, the newest, which holds every field:

    {"display_index": 0, "gear_ratios": [-3.2, 0, 3.2, 2.1, 1.5],
     "final_drive": 3.5, "drive_efficiency": 0.8, "torque_curve": [150, 200],
     "mass": 1000, ...}
- gear_ratios: by gear + 1: reverse, neutral, then the forward gears, whose
  number becomes the gear count.
- torque_curve: the engine's torque at 0, 500, 1000, ... rpm.
Every other field of FIELDS may be left out and then takes its default.
"""

import json

from .binary import BinaryWriter

VERSION = 6
# In file order after the torque curve; "info_mass" defaults to "mass".
FIELDS = [
    ("torque_scale", 1.0), ("rolling_resistance", 0.0), ("air_drag", 0.0), ("angular_damping", 0.0),
    ("tuning_a", 0.0), ("mass", 1.0), ("tuning_d", 0.0), ("tuning_e", 0.0),
    ("brake_force", 1.0), ("wheel_soft_erp", 0.0), ("wheel_soft_cfm", 0.0), ("max_steer_angle", 0.66),
    ("engine1_pitch_rpm", 6000.0), ("engine2_pitch_rpm", 6000.0), ("crossfade_low_rpm", 3000.0),
    ("crossfade_high_rpm", 6000.0), ("crossfade_low_mix", 0.0), ("crossfade_high_mix", 1.0),
    ("tuning_b", 0.0), ("tuning_c", 0.001), ("info_a", 3.2), ("info_b", 7.8), ("info_c", 322.0),
    ("info_mass", None),
]
FORWARD_GEARS_FROM = 2   # gear_ratios[0] is reverse, [1] neutral


def write_dcc(vehicle: dict) -> bytes:
    ratios = vehicle["gear_ratios"]
    if len(ratios) <= FORWARD_GEARS_FROM:
        raise ValueError("a vehicle needs reverse, neutral and at least one forward gear")
    torque = vehicle["torque_curve"]
    if not torque:
        raise ValueError("a vehicle needs at least one torque sample")
    writer = BinaryWriter().raw(b"DC2").int32(0).int32(0).int32(VERSION)
    writer.int32(vehicle.get("display_index", 0)).int32(len(ratios) - FORWARD_GEARS_FROM)
    writer.int32(len(ratios)).float32s(ratios)
    writer.float32(vehicle["final_drive"]).float32(vehicle["drive_efficiency"])
    writer.int32(len(torque)).float32s(torque)
    for field, default in FIELDS:
        if default is None:
            default = vehicle.get("mass", 1.0)
        writer.float32(vehicle.get(field, default))
    return writer.int32(vehicle.get("info_d", 1)).bytes()


def build(source: str) -> bytes:
    return write_dcc(json.loads(source))
