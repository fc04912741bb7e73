"""A city generated from a few settings ("X.city", JSON) into a world
description for the ".DCW" writer:

    {"seed": 7, "blocks": [8, 8], "squares": 2, "max_floors": 24}

"blocks" is the city's size in blocks each way; the other settings of
`CitySettings` (block size, road and pavement widths, kerb height, margin)
may be given too. The same settings always give the same file.

Render geometry is kept per material in geometry records of at most 65,536
vertices, so the game can draw every record with 16-bit indices. Each static
object owns the ranges of its surfaces, and the collision triangles of its
solid surfaces carry its index, so a contact tells which road, pavement,
building or ramp was hit ("ROAD_" names give the street's name). Props
along the pavements (barrels, phone cells, parking meters, cones, benches)
are dynamic objects with meshes of their own (city_props), and so are the
street lamps and the traffic lights at the crossings (city_lights).
"""

import json
import struct

from . import dcm, dcw
from .city_geometry import city_objects
from .city_lights import city_lights
from .city_markers import city_markers
from .city_networks import decoration_routes, pedestrian_network, road_network, traffic_network
from .city_plan import CitySettings, plan_city
from .city_props import city_props
from .geometry3d import bounds

MAX_RECORD_VERTICES = 65536
SHADER = "dcMesh.DCS"
RAW_VALUE = 5
# Material name -> (texture, solid: whether cars collide with it).
MATERIALS = {
    "Road": ("Road.DCT", True),
    "Crossing": ("Crossing.DCT", True),
    "Asphalt": ("Asphalt.DCT", True),
    "Paving": ("Paving.DCT", True),
    "Concrete": ("Concrete.DCT", True),
    "Grass": ("Grass.DCT", True),
    "BrickFacade": ("BrickFacade.DCT", True),
    "ConcreteFacade": ("ConcreteFacade.DCT", True),
    "GlassFacade": ("GlassFacade.DCT", True),
    "Roof": ("Concrete.DCT", True),
    "Brick": ("Brick.DCT", True),
    "Leaves": ("Grass.DCT", False),
}
SKY_CLEARANCE = 200.0


def _floats(*values) -> str:
    return struct.pack("<%df" % len(values), *values).hex()


def _material(texture):
    return {"effect": SHADER, "parameters": [
        {"name": "Tex0", "texture": texture},
        {"name": "MatDiffuse", "kind": RAW_VALUE, "value": _floats(1.0, 1.0, 1.0, 1.0)},
        {"name": "MatEmissive", "kind": RAW_VALUE, "value": _floats(0.0, 0.0, 0.0, 0.0)}]}


class GeometryPacker:
    """Fills one run of geometry records per material and hands out ranges."""

    def __init__(self):
        self.records = []  # {"material", "vertices": [bytes], "indices": [int]}
        self.open = {}  # material index -> record index

    def place(self, material: int, shape):
        count = len(shape.vertices)
        if count > MAX_RECORD_VERTICES:
            raise ValueError(f"one surface of {count} vertices does not fit a geometry record")
        record = self.open.get(material)
        if record is None or len(self.records[record]["vertices"]) + count > MAX_RECORD_VERTICES:
            record = self.open[material] = len(self.records)
            self.records.append({"vertices": [], "indices": []})
        target = self.records[record]
        first_vertex, first_index = len(target["vertices"]), len(target["indices"])
        target["vertices"] += [dcm.standard_vertex(*vertex) for vertex in shape.vertices]
        target["indices"] += [first_vertex + i for i in shape.indices]
        return [record, material, first_vertex, count, first_index, len(shape.indices)]

    def description(self):
        return [{"elements": dcm.STANDARD_ELEMENTS, "vertex_count": len(record["vertices"]),
                 "streams": [{"dynamic": False, "stride": dcm.STANDARD_STRIDE,
                              "data": b"".join(record["vertices"])}],
                 "indices": record["indices"]} for record in self.records]


def _collision(objects):
    vertices, triangles = [], []
    for index, thing in enumerate(objects):
        for name, shape in thing.shapes.items():
            if not MATERIALS[name][1]:
                continue
            base = len(vertices)
            vertices += [list(position) for position, _, _ in shape.vertices]
            for i in range(0, len(shape.indices), 3):
                triangles.append([base + shape.indices[i], base + shape.indices[i + 1], base + shape.indices[i + 2],
                                  index])
    return {"vertices": vertices, "triangles": triangles}


MATERIAL_INDEX = {name: i for i, name in enumerate(MATERIALS)}


def _meshes_and_objects(objects, packer):
    meshes, statics = [], []
    for thing in objects:
        ranges = [packer.place(MATERIAL_INDEX[name], thing.shapes[name])
                  for name in MATERIALS if name in thing.shapes]
        points = [position for shape in thing.shapes.values() for position, _, _ in shape.vertices]
        centre, half = bounds(points)
        meshes.append({"box": {"centre": list(centre), "half": list(half)}, "world_space": 1, "ranges": ranges})
        statics.append({"name": thing.name, "mesh": len(meshes) - 1})
    return meshes, statics


def _world_box(plan, collision, routes):
    low, high = plan.extent
    top = max([v[1] for v in collision["vertices"]] + [node["position"][1] for node in routes]) + SKY_CLEARANCE
    return {"centre": [(low + high) / 2, top / 2, (low + high) / 2], "half": [(high - low) / 2, top / 2,
                                                                              (high - low) / 2]}


def generate(settings: CitySettings):
    """The world description of the city the settings give."""
    plan = plan_city(settings)
    objects = city_objects(plan)
    packer = GeometryPacker()
    meshes, statics = _meshes_and_objects(objects, packer)
    prop_meshes, props = city_props(plan, packer, MATERIAL_INDEX, len(meshes))
    traffic = traffic_network(plan)
    light_meshes, lights = city_lights(plan, traffic, packer, MATERIAL_INDEX, len(meshes) + len(prop_meshes))
    collision = _collision(objects)
    routes, decorations = decoration_routes(plan)
    return {
        "collision": collision,
        "box": _world_box(plan, collision, routes),
        "traffic": traffic,
        "roads": road_network(plan),
        "pedestrians": pedestrian_network(plan),
        "decoration_routes": routes,
        "decorations": decorations,
        "streaming": {"elements": dcm.STANDARD_ELEMENTS},
        "geometry": packer.description(),
        "materials": [_material(texture) for texture, _ in MATERIALS.values()],
        "meshes": meshes + prop_meshes + light_meshes,
        "static_objects": statics,
        "dynamic_objects": props + lights,
        "markers": city_markers(plan),
    }


def settings_from(source: str) -> CitySettings:
    values = json.loads(source)
    unknown = sorted(set(values) - set(CitySettings.__dataclass_fields__))
    if unknown:
        raise ValueError(f"unknown city settings {', '.join(unknown)}")
    if "blocks" in values:
        values["blocks"] = tuple(values["blocks"])
    return CitySettings(**values)


def build_city(source: str, origin: str = "<city>") -> bytes:
    try:
        return dcw.write_dcw(generate(settings_from(source)))
    except ValueError as error:
        raise ValueError(f"{origin}: {error}") from error
