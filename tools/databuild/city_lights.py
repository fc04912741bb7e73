"""The street lights of a generated city, written as the world's dynamic
objects:

- lamp posts ("BULB_n") along every block side at the kerb, their arm (the
  post's -z) reaching over the street, the bulb 8 below and 4 out from the
  post's origin at the arm's root, as the game hangs a lamp's halo;
- traffic lights at every junction where four streets meet, one per lane
  arriving, on the pavement corner to the lane's right, the lamp head on an
  arm over the lane. Their names say the crossing, the state (0 for lanes
  along x, 1 along z) and the lane's end node:
  "TRAFFICLITE%03dSTATE%02dBOX%03d". The lamps of the head hang 1.3 above
  the pole's origin and 8 out along -z, 5.5 apart."""

from .city_props import SOLID, box_part, cylinder_part, part_mesh
from .geometry3d import axis_angle, quaternion_rows

KNOCKED_LOOSE = 1
LAMPS_PER_SIDE = 2
LAMP_SPACING = 440.0   # between the two lamps of a block side, clear of the props between
LAMP_HEIGHT = 45.0     # of the arm's root above the pavement
LAMP_INSET = 4.0       # from the kerb line onto the pavement
LAMP_PARTS = (
    cylinder_part("Roof", (0, -LAMP_HEIGHT / 2, 0), 1.0, LAMP_HEIGHT),
    box_part("Roof", (0, 0, -3), (1.5, 1.5, 6)),
    box_part("GlassFacade", (0, -6.5, -4), (5, 2, 5)),
)
SIGNAL_HEIGHT = 30.0   # of the pole's origin above the pavement
SIGNAL_SETBACK = 12.0  # from the junction's edge back along the lane
SIGNAL_INSET = 6.0     # from the kerb line onto the pavement
SIGNAL_PARTS = (
    cylinder_part("Roof", (0, -SIGNAL_HEIGHT / 2 + 6, 0), 1.2, SIGNAL_HEIGHT + 12),
    box_part("Roof", (0, 10, -4), (1.5, 1.5, 8)),
    box_part("Asphalt", (0, 1.3, -8), (5, 17, 3)),
)
MOST_NODE_ID = 999     # three digits in the name


def _turn_with_z(direction):
    """The quaternion of the turn about y that lays the object's z along
    the direction on the ground (a unit grid direction)."""
    for degrees in (0.0, 90.0, 180.0, 270.0):
        turn = axis_angle((0.0, 1.0, 0.0), degrees)
        z_row = quaternion_rows(turn)[2]
        if abs(z_row[0] - direction[0]) < 1e-6 and abs(z_row[2] - direction[1]) < 1e-6:
            return list(turn)
    raise ValueError(f"no quarter turn lays z along {direction}")


def _light(name, position, z_along, mesh, half):
    return {"name": name, "position": list(position), "rotation": _turn_with_z(z_along), "mesh": mesh,
            "collision": SOLID, "half": list(half), "behaviour": KNOCKED_LOOSE}


def _lamps(plan, mesh, half):
    """Two per block side, the arm over the street: the post's -z points
    away from the block."""
    s = plan.settings
    y = s.kerb_height + LAMP_HEIGHT
    number = 0
    for block in plan.blocks:
        x0, z0, x1, z1 = block.rect
        cx, cz = (x0 + x1) / 2, (z0 + z1) / 2
        for i in range(LAMPS_PER_SIDE):
            offset = (i - (LAMPS_PER_SIDE - 1) / 2) * LAMP_SPACING
            for position, outwards in (((cx + offset, y, z0 + LAMP_INSET), (0, -1)),
                                       ((cx + offset, y, z1 - LAMP_INSET), (0, 1)),
                                       ((x0 + LAMP_INSET, y, cz + offset), (-1, 0)),
                                       ((x1 - LAMP_INSET, y, cz + offset), (1, 0))):
                yield _light(f"BULB_{number}", position, (-outwards[0], -outwards[1]), mesh, half)
                number += 1


def _signals(plan, traffic, mesh, half):
    """One per lane arriving at a crossing of four streets."""
    s = plan.settings
    crossings = {}
    for node in traffic:
        if "arrives" in node:
            crossings.setdefault(node["arrives"][0], []).append(node)
    y = s.kerb_height + SIGNAL_HEIGHT
    for key, lanes in sorted(crossings.items()):
        if len(lanes) < 4:
            continue
        i, k = key
        jx, jz = plan.street_x[i], plan.street_z[k]
        for node in lanes:
            if node["id"] > MOST_NODE_ID:
                raise ValueError(f"traffic node id {node['id']} does not fit a traffic light's name")
            dx, dz = node["arrives"][1]
            rx, rz = dz, -dx   # the lane's right
            back = s.road_width / 2 + SIGNAL_SETBACK
            aside = s.road_width / 2 + SIGNAL_INSET
            position = (jx - dx * back + rx * aside, y, jz - dz * back + rz * aside)
            state = 0 if dx else 1
            name = f"TRAFFICLITE{_crossing_number(plan, key):03d}STATE{state:02d}BOX{node['id']:03d}"
            yield _light(name, position, (rx, rz), mesh, half)


def _crossing_number(plan, key):
    i, k = key
    return i * len(plan.street_z) + k


def city_lights(plan, traffic, packer, material_index, first_mesh: int):
    """The lights' two meshes (to follow the others, from first_mesh on) and
    the dynamic objects that place them."""
    lamp_mesh, lamp_half = part_mesh(LAMP_PARTS, packer, material_index, centred=False)
    signal_mesh, signal_half = part_mesh(SIGNAL_PARTS, packer, material_index, centred=False)
    objects = list(_lamps(plan, first_mesh, lamp_half)) + list(_signals(plan, traffic, first_mesh + 1, signal_half))
    return [lamp_mesh, signal_mesh], objects
