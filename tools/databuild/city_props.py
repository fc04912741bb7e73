"""The movable props along a generated city's pavements: wooden barrels,
phone cells, parking meters, cones and benches, written as the world's
dynamic objects. The game reads the surface sound off the start of a prop's
name ("DYNAMIC_BARREL_WOOD" sounds "Hit_Wood", "PION" "Hit_Cone"; a bench
is none of its words and sounds "Hit_Light").

Each kind has one mesh in its own coordinates, centred on the origin, so a
prop knocked loose tumbles about its middle; a prop stands on the paving,
its centre half its height above the kerb, a little inside the kerb line,
turned to face the street."""

import random
from dataclasses import dataclass

from .geometry3d import axis_angle, bounds, sub
from .models import ShapeBuilder

SOLID = 1  # collision kind: meets cars, bullets, explosions and other props
STILL, LOOSE = 0, 1  # behaviours: stays put; knocked loose by what hits it
KERB_INSET = 8.0  # from the kerb line onto the pavement
SPACING = 90.0  # between props along one side of a block
PROPS_PER_SIDE = 3


@dataclass(frozen=True)
class PropKind:
    prefix: str
    parts: tuple  # (material, "box" or "cylinder", centre, size) in the prop's coordinates
    behaviour: int


def cylinder_part(material, centre, radius, height):
    return (material, "cylinder", centre, (radius, height))


def box_part(material, centre, size):
    return (material, "box", centre, size)


KINDS = (
    PropKind("DYNAMIC_BARREL_WOOD", (cylinder_part("Brick", (0, 0, 0), 6.0, 16.0),), LOOSE),
    PropKind("DYNAMIC_PHONECELL", (box_part("GlassFacade", (0, -1.5, 0), (12, 27, 12)),
                                   box_part("Concrete", (0, 13.5, 0), (13, 3, 13))), LOOSE),
    PropKind("DYNAMIC_PARKMTRA", (cylinder_part("Concrete", (0, -2.5, 0), 1.0, 9.0),
                                  box_part("ConcreteFacade", (0, 4.5, 0), (3, 5, 2))), LOOSE),
    PropKind("PION", (cylinder_part("Crossing", (0, 0, 0), 2.5, 7.0),), LOOSE),
    PropKind("BENCH", (box_part("Brick", (0, 1.5, 0), (24, 2, 8)), box_part("Concrete", (-10, -2.5, 0), (2, 6, 7)),
                       box_part("Concrete", (10, -2.5, 0), (2, 6, 7))), STILL),
)


def _shape(kind, centre, size):
    builder = ShapeBuilder()
    if kind == "box":
        builder.box(centre, size)
    else:
        radius, height = size
        builder.cylinder(centre, radius, height, "y", 10)
    return builder


def part_mesh(parts, packer, material_index, centred=True):
    """The mesh of the parts, moved to centre its box on the origin unless
    the parts' own origin is wanted, and the box's half extents."""
    shapes = [(material, _shape(shape, centre, size)) for material, shape, centre, size in parts]
    if centred:
        middle, _ = bounds([position for _, builder in shapes for position, _, _ in builder.vertices])
        shapes = [(material, _shape(shape, sub(centre, middle), size)) for material, shape, centre, size in parts]
    ranges = [packer.place(material_index[material], builder) for material, builder in shapes]
    centre, half = bounds([position for _, builder in shapes for position, _, _ in builder.vertices])
    return {"box": {"centre": list(centre), "half": list(half)}, "world_space": 0, "ranges": ranges}, half


def _pavement_spots(plan):
    """(x, z, degrees to face the street) along the four sides of every block."""
    s = plan.settings
    for block in plan.blocks:
        x0, z0, x1, z1 = block.rect
        cx, cz = (x0 + x1) / 2, (z0 + z1) / 2
        offsets = [(i - (PROPS_PER_SIDE - 1) / 2) * SPACING for i in range(PROPS_PER_SIDE)]
        for offset in offsets:
            yield cx + offset, z0 + KERB_INSET, 180.0
            yield cx + offset, z1 - KERB_INSET, 0.0
            yield x0 + KERB_INSET, cz + offset, 270.0
            yield x1 - KERB_INSET, cz + offset, 90.0


def city_props(plan, packer, material_index, first_mesh: int):
    """The props' meshes (to follow the city's, from first_mesh on) and the
    dynamic objects that place them."""
    rng = random.Random(plan.settings.seed * 7919 + 17)
    meshes, halves = [], []
    for kind in KINDS:
        mesh, half = part_mesh(kind.parts, packer, material_index)
        meshes.append(mesh)
        halves.append(half)
    props = []
    kerb = plan.settings.kerb_height
    for number, (x, z, degrees) in enumerate(_pavement_spots(plan)):
        k = rng.randrange(len(KINDS))
        kind, half = KINDS[k], halves[k]
        props.append({"name": f"{kind.prefix}_{number}", "position": [x, kerb + half[1], z],
                      "rotation": list(axis_angle((0.0, 1.0, 0.0), degrees)), "mesh": first_mesh + k,
                      "collision": SOLID, "half": list(half), "behaviour": kind.behaviour})
    return meshes, props
