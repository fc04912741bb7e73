"""The surfaces of a planned city, object by object: the ground around it,
the road segments with their lane markings and crossings, the junctions,
each block's raised pavement with its kerb and lot, the buildings, trees and
ramps. Every object keeps its triangles per material; vertices are in world
coordinates."""

from dataclasses import dataclass, field

from .city_plan import FLOOR_HEIGHT
from .models import ShapeBuilder

UP = (0.0, 1.0, 0.0)
# Lengths of one texture repeat, in world units.
ROAD_REPEAT = 100.0
GROUND_REPEAT = 80.0
FACADE_BAY = 80.0  # two window bays across a facade texture
FACADE_STOREYS = 2  # and two floors up it
RAMP_LENGTH, RAMP_WIDTH, RAMP_HEIGHT = 220.0, 100.0, 45.0


@dataclass
class CityObject:
    name: str
    shapes: dict = field(default_factory=dict)  # material name -> ShapeBuilder

    def builder(self, material: str) -> ShapeBuilder:
        return self.shapes.setdefault(material, ShapeBuilder())


def flat(builder: ShapeBuilder, x0, z0, x1, z1, y, repeat):
    """A level rectangle tiled with its texture every repeat units."""
    corners = [(x0, y, z0), (x0, y, z1), (x1, y, z1), (x1, y, z0)]
    builder.polygon(corners, UP, [(x / repeat, z / repeat) for x, _, z in corners])


def road_strip(builder: ShapeBuilder, start, end, centre, width, along_x, repeat):
    """A strip of road from start to end along one axis: u runs across it
    (0 to 1 over its width), v along it every repeat units."""
    low, high = centre - width / 2, centre + width / 2
    across_along = [(low, start), (high, start), (high, end), (low, end)]
    corners = [(b, 0.0, a) if along_x else (a, 0.0, b) for a, b in across_along]
    builder.polygon(corners, UP, [(0, start / repeat), (1, start / repeat), (1, end / repeat), (0, end / repeat)])


def walls(builder: ShapeBuilder, rect, bottom, top, bay, storey):
    """The four outward faces of a box between two heights; u along each
    face every bay units, v down from the top every storey units."""
    x0, z0, x1, z1 = rect
    faces = [((x0, z0), (x1, z0), (0.0, 0.0, -1.0)), ((x1, z0), (x1, z1), (1.0, 0.0, 0.0)),
             ((x1, z1), (x0, z1), (0.0, 0.0, 1.0)), ((x0, z1), (x0, z0), (-1.0, 0.0, 0.0))]
    for (ax, az), (bx, bz), normal in faces:
        length = abs(bx - ax) + abs(bz - az)
        corners = [(ax, top, az), (bx, top, bz), (bx, bottom, bz), (ax, bottom, az)]
        height = (top - bottom) / storey
        builder.polygon(corners, normal, [(0, 0), (length / bay, 0), (length / bay, height), (0, height)])


def ground(plan) -> CityObject:
    """Grass from the city's outer streets to the world's edge, as four bands."""
    s = plan.settings
    low, high = plan.extent
    inner_x = (plan.street_x[0] - s.road_width / 2, plan.street_x[-1] + s.road_width / 2)
    inner_z = (plan.street_z[0] - s.road_width / 2, plan.street_z[-1] + s.road_width / 2)
    thing = CityObject("GROUND")
    grass = thing.builder("Grass")
    flat(grass, low, low, high, inner_z[0], 0.0, GROUND_REPEAT)
    flat(grass, low, inner_z[1], high, high, 0.0, GROUND_REPEAT)
    flat(grass, low, inner_z[0], inner_x[0], inner_z[1], 0.0, GROUND_REPEAT)
    flat(grass, inner_x[1], inner_z[0], high, inner_z[1], 0.0, GROUND_REPEAT)
    return thing


def junction(plan, x, z) -> CityObject:
    half = plan.settings.road_width / 2
    thing = CityObject("JUNCTION")
    flat(thing.builder("Asphalt"), x - half, z - half, x + half, z + half, 0.0, ROAD_REPEAT)
    return thing


def road_segment(plan, name, start, end, centre, along_x) -> CityObject:
    """The road between two junctions: a zebra crossing at each end, lane
    markings between. The name begins "ROAD_", so the game reads the street
    name off it."""
    s = plan.settings
    crossing = s.pavement_width
    thing = CityObject("ROAD_" + name)
    stripes = thing.builder("Crossing")
    road_strip(stripes, start, start + crossing, centre, s.road_width, along_x, crossing)
    road_strip(stripes, end - crossing, end, centre, s.road_width, along_x, crossing)
    road_strip(thing.builder("Road"), start + crossing, end - crossing, centre, s.road_width, along_x,
               ROAD_REPEAT)
    return thing


def pavement(plan, block) -> CityObject:
    """The block raised to kerb height: kerb faces round it, paving on the
    ring, the lot's own surface inside."""
    s = plan.settings
    x0, z0, x1, z1 = block.rect
    h, w = s.kerb_height, s.pavement_width
    thing = CityObject(f"BLOCK_{block.column}_{block.row}")
    walls(thing.builder("Concrete"), block.rect, 0.0, h, GROUND_REPEAT, GROUND_REPEAT)
    paving = thing.builder("Paving")
    flat(paving, x0, z0, x1, z0 + w, h, GROUND_REPEAT)
    flat(paving, x0, z1 - w, x1, z1, h, GROUND_REPEAT)
    flat(paving, x0, z0 + w, x0 + w, z1 - w, h, GROUND_REPEAT)
    flat(paving, x1 - w, z0 + w, x1, z1 - w, h, GROUND_REPEAT)
    lot = thing.builder("Grass" if block.use == "park" else "Paving")
    flat(lot, x0 + w, z0 + w, x1 - w, z1 - w, h, GROUND_REPEAT)
    for x, z, size in block.trees:
        trunk = size * 0.15
        thing.builder("Brick").box((x, h + size * 0.5, z), (trunk, size, trunk))
        thing.builder("Leaves").box((x, h + size * 1.3, z), (size, size * 0.9, size))
    return thing


def building(index, item) -> CityObject:
    thing = CityObject(f"BUILDING_{index}")
    walls(thing.builder(item.facade), item.rect, item.base, item.top, FACADE_BAY, FACADE_STOREYS * FLOOR_HEIGHT)
    x0, z0, x1, z1 = item.rect
    flat(thing.builder("Roof"), x0, z0, x1, z1, item.top, GROUND_REPEAT)
    return thing


def ramp(index, base, x, z, direction) -> CityObject:
    """A wedge rising toward +x (direction 1) or -x (-1), sides closed."""
    thing = CityObject(f"RAMP_{index}")
    concrete = thing.builder("Concrete")
    low_x, high_x = x - direction * RAMP_LENGTH / 2, x + direction * RAMP_LENGTH / 2
    z0, z1 = z - RAMP_WIDTH / 2, z + RAMP_WIDTH / 2
    top = base + RAMP_HEIGHT
    slope = (-direction * RAMP_HEIGHT, RAMP_LENGTH, 0.0)
    norm = (slope[0] ** 2 + slope[1] ** 2) ** 0.5
    concrete.polygon([(low_x, base, z0), (low_x, base, z1), (high_x, top, z1), (high_x, top, z0)],
                     (slope[0] / norm, slope[1] / norm, 0.0), [(0, 0), (1, 0), (1, 2), (0, 2)])
    concrete.polygon([(high_x, base, z0), (high_x, base, z1), (high_x, top, z1), (high_x, top, z0)],
                     (float(direction), 0.0, 0.0), [(0, 0), (1, 0), (1, 0.5), (0, 0.5)])
    for side_z, sign in ((z0, -1.0), (z1, 1.0)):
        concrete.polygon([(low_x, base, side_z), (high_x, base, side_z), (high_x, top, side_z)],
                         (0.0, 0.0, sign), [(0, 0), (2, 0), (2, 0.5)])
    return thing


def streets(plan):
    """The road segments and junctions of the grid."""
    objects = []
    half = plan.settings.road_width / 2
    for i, x in enumerate(plan.street_x):
        for z in plan.street_z:
            objects.append(junction(plan, x, z))
        for z_start, z_end in zip(plan.street_z, plan.street_z[1:]):
            objects.append(road_segment(plan, plan.street_names_x[i], z_start + half, z_end - half, x, False))
    for k, z in enumerate(plan.street_z):
        for x_start, x_end in zip(plan.street_x, plan.street_x[1:]):
            objects.append(road_segment(plan, plan.street_names_z[k], x_start + half, x_end - half, z, True))
    return objects


def city_objects(plan):
    """Every static object of the city, in file order."""
    objects = [ground(plan)] + streets(plan)
    buildings = ramps = 0
    for block in plan.blocks:
        objects.append(pavement(plan, block))
        for item in block.buildings:
            objects.append(building(buildings, item))
            buildings += 1
        for x, z, direction in block.ramps:
            objects.append(ramp(ramps, plan.settings.kerb_height, x, z, direction))
            ramps += 1
    return objects
