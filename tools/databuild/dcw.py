"""The world format ".DCW", written from a description ("X.world", JSON).

After "DC2", an int32 (not read), kind 4 and an int32 (not read) come the
chunks in file order, without chunk headers: collision vertices and
triangles, the world box, the traffic and second road networks, the
pedestrian and decoration route networks, the decoration objects, the
streaming geometry with the count of geometry records, the geometry
records, the materials, object meshes, static and dynamic objects, and the
markers. Lists are led by an int32 count; texts are an int32 length and
8-bit characters. Every key of the description is optional and defaults to
an empty list:

    {"collision": {"vertices": [[x, y, z], ...], "triangles": [[a, b, c, object], ...]},
     "box": {"centre": [x, y, z], "half": [x, y, z]},
     "traffic": [{"id", "position", "weight", "links": [node, ...], "tag"}], "roads": [...],
     "pedestrians": [{"position", "links"}],
     "decoration_routes": [{"position", "speed", "links"}],
     "decorations": [{"model": letter index, "route": [node, ...]}],
     "streaming": {"elements": [[stream, offset, type, method, usage, index], ...],
                   "vertices": [[px, py, pz, nx, ny, nz, u, v], ...], "indices": [...]},
     "geometry": [{"elements", "vertex_count", "streams": [{"dynamic", "stride", "data": hex or bytes}], "indices"}],
     "materials": [{"effect", "parameters": [{"name", "texture"} or {"name", "kind", "value": hex}]}],
     "meshes": [{"box": {...}, "world_space", "ranges": [[geometry, material, first vertex,
                 vertex count, first index, index count], ...]}],
     "static_objects": [{"name", "position", "rotation": [x, y, z, w], "mesh"}],
     "dynamic_objects": [{"name", "position", "rotation", "mesh", "collision",
                          "half" (when collision is not 0), "behaviour"}],
     "markers": [{"name", "position", "second"}]}
"""

import json

from .binary import BinaryWriter

WORLD_KIND = 4
TEXTURE_PARAMETER = 1
IDENTITY_QUATERNION = (0.0, 0.0, 0.0, 1.0)
ZERO = (0.0, 0.0, 0.0)


def _counted(out: BinaryWriter, items, write_item):
    out.int32(len(items))
    for item in items:
        write_item(out, item)


def _ints(out: BinaryWriter, values):
    for value in values:
        out.int32(value)


def _links(out: BinaryWriter, node):
    links = node.get("links", [])
    out.int32(len(links))
    _ints(out, links)


def _road_node(out: BinaryWriter, node):
    out.int32(node.get("id", 0)).float32s(node["position"]).float32(node.get("weight", 1.0))
    _links(out, node)
    out.int32(node.get("tag", 0))


def _pedestrian_node(out: BinaryWriter, node):
    out.float32s(node["position"])
    _links(out, node)


def _route_node(out: BinaryWriter, node):
    out.float32s(node["position"]).float32(node.get("speed", 0.0))
    _links(out, node)


def _decoration(out: BinaryWriter, decoration):
    out.int32(decoration.get("model", 0))
    route = decoration.get("route", [])
    out.int32(len(route))
    _ints(out, route)


def _element(out: BinaryWriter, element):
    stream, offset, kind, method, usage, index = element
    out.raw(bytes([stream & 0xFF, stream >> 8, offset & 0xFF, offset >> 8, kind, method, usage, index]))


def _streaming_vertex(out: BinaryWriter, vertex):
    if len(vertex) != 8:
        raise ValueError(f"a streaming vertex has 8 floats, not {len(vertex)}")
    out.float32s(vertex)


def _geometry_record(out: BinaryWriter, record):
    _counted(out, record.get("elements", []), _element)
    vertex_count = record.get("vertex_count", 0)
    out.int32(vertex_count)
    streams = record.get("streams", [])
    out.int32(len(streams))
    for stream in streams:
        data = stream.get("data", b"")
        data = bytes.fromhex(data) if isinstance(data, str) else bytes(data)
        if len(data) != stream["stride"] * vertex_count:
            raise ValueError(f"a stream of stride {stream['stride']} holds {vertex_count} vertices")
        out.raw(bytes([1 if stream.get("dynamic") else 0])).int32(stream["stride"]).raw(data)
    indices = record.get("indices", [])
    out.int32(len(indices))
    _ints(out, indices)


def _parameter(out: BinaryWriter, parameter):
    out.text(parameter["name"])
    if "texture" in parameter:
        out.int32(TEXTURE_PARAMETER).text(parameter["texture"])
        return
    value = bytes.fromhex(parameter.get("value", ""))
    out.int32(parameter["kind"]).int32(len(value)).raw(value)


def _material(out: BinaryWriter, material):
    out.text(material["effect"])
    _counted(out, material.get("parameters", []), _parameter)


def _box(out: BinaryWriter, box):
    out.float32s(box.get("centre", ZERO)).float32s(box.get("half", ZERO))


def _mesh(out: BinaryWriter, mesh):
    _box(out, mesh.get("box", {}))
    out.int32(1 if mesh.get("world_space") else 0)
    ranges = mesh.get("ranges", [])
    out.int32(len(ranges))
    for draw_range in ranges:
        _ints(out, draw_range)


def _placement(out: BinaryWriter, item):
    out.text(item["name"]).text(item.get("unused", ""))
    out.float32s(item.get("position", ZERO)).float32s(item.get("rotation", IDENTITY_QUATERNION))
    out.float32s(ZERO)
    out.int32(item.get("mesh", 0))


def _static_object(out: BinaryWriter, item):
    _placement(out, item)
    out.raw(bytes(8))


def _dynamic_object(out: BinaryWriter, item):
    _placement(out, item)
    collision = item.get("collision", 0)
    out.int32(collision)
    if collision != 0:
        out.float32s(ZERO).float32s(item["half"]).int32(item.get("behaviour", 0))


def _marker(out: BinaryWriter, marker):
    out.text(marker["name"]).float32s(marker["position"]).float32s(marker.get("second", ZERO))


def write_dcw(world) -> bytes:
    out = BinaryWriter().raw(b"DC2").int32(0).int32(WORLD_KIND).int32(0)
    collision = world.get("collision", {})
    _counted(out, collision.get("vertices", []), lambda o, v: o.float32s(v))
    _counted(out, collision.get("triangles", []), _ints)
    _box(out, world.get("box", {}))
    _counted(out, world.get("traffic", []), _road_node)
    _counted(out, world.get("roads", []), _road_node)
    _counted(out, world.get("pedestrians", []), _pedestrian_node)
    _counted(out, world.get("decoration_routes", []), _route_node)
    _counted(out, world.get("decorations", []), _decoration)
    streaming = world.get("streaming", {})
    _counted(out, streaming.get("elements", []), _element)
    _counted(out, streaming.get("vertices", []), _streaming_vertex)
    _counted(out, streaming.get("indices", []), lambda o, i: o.int32(i))
    # The record count closes the streaming chunk; the records follow it.
    geometry = world.get("geometry", [])
    out.int32(len(geometry))
    for record in geometry:
        _geometry_record(out, record)
    _counted(out, world.get("materials", []), _material)
    _counted(out, world.get("meshes", []), _mesh)
    _counted(out, world.get("static_objects", []), _static_object)
    _counted(out, world.get("dynamic_objects", []), _dynamic_object)
    _counted(out, world.get("markers", []), _marker)
    return out.bytes()


def build_world(source: str) -> bytes:
    return write_dcw(json.loads(source))
