"""The mesh format ".DCM", static and skinned.

After "DC2", an int32 (not read), kind 3, the version (4 the newest), an int32
(not read) and a label text come the geometry, material, part, node and tape
blocks, each list led by its int32 count. Static geometry carries vertex
elements and raw vertex bytes per stream; skinned geometry carries 36-byte
vertices bound to one bone each (position, bone index as a float, normal,
texture coordinates). Version 0 of a skinned file has no part section: each
node carries its own batches. Texts are an int32 length and 8-bit characters.
"""

import struct
from dataclasses import dataclass, field

from .binary import BinaryWriter

MESH_KIND = 3
NEWEST_VERSION = 4

# Direct3D 9 declaration values.
FLOAT2 = 1
FLOAT3 = 2
USAGE_POSITION = 0
USAGE_NORMAL = 3
USAGE_TEXCOORD = 5
# Position, normal, texture coordinates in stream 0: the layout skinning writes.
STANDARD_ELEMENTS = [(0, 0, FLOAT3, 0, USAGE_POSITION, 0), (0, 12, FLOAT3, 0, USAGE_NORMAL, 0),
                     (0, 24, FLOAT2, 0, USAGE_TEXCOORD, 0)]
STANDARD_STRIDE = 32
SKIN_STRIDE = 36
TEXTURE = 1


@dataclass
class Geometry:
    """streams: (dynamic, stride, vertex bytes) per stream."""
    vertex_count: int
    streams: list
    indices: list
    elements: list = field(default_factory=lambda: list(STANDARD_ELEMENTS))


@dataclass
class SkinGeometry:
    """streams: per stream a list of (position, bone, normal, (u, v)) vertices."""
    vertex_count: int
    streams: list
    indices: list
    stride: int = SKIN_STRIDE
    elements: list = field(default_factory=lambda: list(STANDARD_ELEMENTS))


@dataclass
class Material:
    """params: (name, TEXTURE, file name) or (name, kind, bytes)."""
    shader: str
    params: list = field(default_factory=list)


@dataclass
class Batch:
    geometry: int
    material: int
    first_vertex: int
    vertex_count: int
    first_index: int
    index_count: int


@dataclass
class Part:
    batches: list
    bounds: tuple = ((0.0, 0.0, 0.0), (0.0, 0.0, 0.0))
    label: str = ""


@dataclass
class Node:
    name: str
    part: int
    position: tuple = (0.0, 0.0, 0.0)
    rotation: tuple = (0.0, 0.0, 0.0, 1.0)
    third: tuple = (0.0, 0.0, 0.0)
    second_name: str = ""


@dataclass
class Tape:
    name: str
    position: tuple
    second: tuple = (0.0, 0.0, 1.0)


@dataclass
class Mesh:
    geometry: list
    materials: list
    parts: list
    nodes: list
    tapes: list = field(default_factory=list)
    version: int = NEWEST_VERSION
    label: str = ""


def standard_vertex(position, normal, uv) -> bytes:
    return struct.pack("<8f", *position, *normal, *uv)


def _elements(writer, elements):
    writer.int32(len(elements))
    for element in elements:
        writer.raw(struct.pack("<HHBBBB", *element))


def _indices(writer, indices):
    writer.int32(len(indices))
    for index in indices:
        writer.int32(index)


def _geometry(writer, geometry):
    _elements(writer, geometry.elements)
    writer.int32(geometry.vertex_count)
    writer.int32(len(geometry.streams))
    for dynamic, stride, data in geometry.streams:
        writer.raw(bytes([1 if dynamic else 0])).int32(stride).raw(data)
    _indices(writer, geometry.indices)


def _skin_geometry(writer, geometry):
    _elements(writer, geometry.elements)
    writer.int32(geometry.vertex_count)
    writer.int32(len(geometry.streams))
    for vertices in geometry.streams:
        writer.raw(b"\0").int32(geometry.stride)
        for position, bone, normal, uv in vertices:
            writer.raw(struct.pack("<9f", *position, bone, *normal, *uv))
    _indices(writer, geometry.indices)


def _material(writer, material):
    writer.text(material.shader).int32(len(material.params))
    for name, kind, value in material.params:
        writer.text(name).int32(kind)
        if kind == TEXTURE:
            writer.text(value)
        else:
            writer.int32(len(value)).raw(value)


def _batches(writer, batches):
    writer.int32(len(batches))
    for b in batches:
        for value in (b.geometry, b.material, b.first_vertex, b.vertex_count, b.first_index, b.index_count):
            writer.int32(value)


def _node_head(writer, node):
    writer.text(node.name)
    writer.float32s((*node.position, *node.rotation, *node.third))
    writer.int32(0).text(node.second_name)


def write_dcm(mesh: Mesh) -> bytes:
    skinned = any(isinstance(g, SkinGeometry) for g in mesh.geometry)
    writer = BinaryWriter().raw(b"DC2").int32(0).int32(MESH_KIND).int32(mesh.version).int32(0).text(mesh.label)
    writer.int32(len(mesh.geometry))
    for geometry in mesh.geometry:
        (_skin_geometry if skinned else _geometry)(writer, geometry)
    writer.int32(len(mesh.materials))
    for material in mesh.materials:
        _material(writer, material)
    if skinned and mesh.version == 0:
        writer.int32(len(mesh.nodes))
        for node in mesh.nodes:
            _node_head(writer, node)
            _batches(writer, mesh.parts[node.part].batches)
    else:
        writer.int32(len(mesh.parts))
        for part in mesh.parts:
            if mesh.version >= 4:
                writer.float32s((*part.bounds[0], *part.bounds[1]))
            if mesh.version >= 3:
                writer.text(part.label)
            _batches(writer, part.batches)
        writer.int32(len(mesh.nodes))
        for node in mesh.nodes:
            _node_head(writer, node)
            writer.int32(node.part)
            if not skinned or mesh.version >= 2:
                writer.int32(0)
    writer.int32(len(mesh.tapes))
    for tape in mesh.tapes:
        writer.text(tape.name)
        writer.float32s((*tape.position, *tape.second))
    return writer.bytes()
