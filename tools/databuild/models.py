"""The sample models, skeletons and animations, built from short readable
descriptions (JSON) beside each other under data/Models/:

- "X.model" -> mesh "X.DCM". Materials by name ({"shader", "textures":
  {parameter: file}, "values": {parameter: [floats]}}), parts made of shapes
  ({"box": {"centre", "size"}}, {"cylinder": {"centre", "radius",
  "length", "axis", "segments"}} or {"dome": {"radius", "rings",
  "segments"}}, each with an optional "material"; a dome is a sphere seen
  from inside, its texture's v running from the zenith (0) to the horizon
  (1) and staying 1 below it), nodes
  placing parts ({"name", "part", "position", "rotation": [axis, degrees]};
  one node per part at the origin when none are given) and tapes ({"name",
  "position", "second"}). With "skeleton" naming a ".skeleton" source the
  mesh is skinned: every shape names the "bone" its vertices follow and is
  given in the bind pose.
- "X.skeleton" -> skeleton "X.DCSK": a tree of {"name", "head", "tail",
  "children"}; animations move the first child of the last top-level bone
  and everything below it.
- "X.animation" -> animation "X.DCA" for a ".skeleton": keys of {"duration",
  "root": movement of the root, "turns": {bone: [axis, degrees]}}, each turn
  about the bone's head and carried by its children. The last key closes the
  loop.
"""

import json
import math
import pathlib
import struct

from . import dca, dcm, dcsk
from .geometry3d import IDENTITY_QUATERNION, add, axis_angle, bounds, quaternion_rows, rotate, scale, sub

CONVERSIONS = {".model": ".DCM", ".skeleton": ".DCSK", ".animation": ".DCA"}

AXES = {"x": (1.0, 0.0, 0.0), "y": (0.0, 1.0, 0.0), "z": (0.0, 0.0, 1.0)}


def build(path: pathlib.Path) -> bytes:
    source = json.loads(path.read_text(encoding="utf-8"))
    if path.suffix == ".skeleton":
        return dcsk.write_dcsk(skeleton_bones(source))
    if path.suffix == ".animation":
        return build_animation(source, path.parent)
    return build_model(source, path.parent)


# Skeletons

def skeleton_bones(source):
    def make(entry):
        return dcsk.Bone(entry["name"], head=tuple(entry["head"]), tail=tuple(entry["tail"]),
                         children=[make(child) for child in entry.get("children", [])])
    return dcsk.number([make(entry) for entry in source["bones"]])


def load_skeleton(folder: pathlib.Path, name: str):
    return skeleton_bones(json.loads((folder / name).read_text(encoding="utf-8")))


# Animations

def build_animation(source, folder: pathlib.Path) -> bytes:
    top_level = load_skeleton(folder, source["skeleton"])
    root = top_level[-1].children[0]
    bones = list(dcsk.walk([root]))
    keys = []
    for key in source["keys"]:
        turns = key.get("turns", {})
        transforms = []
        for bone in bones:
            axis, degrees = turns.get(bone.name, [[1, 0, 0], 0])
            q = axis_angle(tuple(axis), degrees)
            # A turn about the head: p -> (p - head) R + head.
            position = sub(bone.head, rotate(bone.head, quaternion_rows(q)))
            if bone is root:
                position = add(position, tuple(key.get("root", (0.0, 0.0, 0.0))))
            transforms.append((position, q))
        keys.append((key["duration"], transforms))
    return dca.write_dca([bone.name for bone in bones], keys)


# Meshes

def _faces_along(corners, normal):
    """Whether the fan over the corners faces along the normal (clockwise
    seen from outside, as Direct3D culls)."""
    u, v = sub(corners[1], corners[0]), sub(corners[2], corners[0])
    cross = (u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0])
    return sum(x * y for x, y in zip(cross, normal)) > 0


def _perpendicular(axis):
    p = (axis[1], axis[2], axis[0]) if abs(axis[0]) < 0.9 else (0.0, 1.0, 0.0)
    q = (axis[1] * p[2] - axis[2] * p[1], axis[2] * p[0] - axis[0] * p[2], axis[0] * p[1] - axis[1] * p[0])
    return p, q


class ShapeBuilder:
    """Vertices as (position, normal, (u, v)) and triangle corners as indices."""

    def __init__(self):
        self.vertices = []
        self.indices = []

    def polygon(self, corners, normal, uvs):
        """A convex polygon, as a fan of triangles facing along the normal."""
        if not _faces_along(corners, normal):
            corners, uvs = corners[::-1], uvs[::-1]
        first = len(self.vertices)
        for corner, uv in zip(corners, uvs):
            self.vertices.append((corner, normal, uv))
        for i in range(1, len(corners) - 1):
            self.indices += [first, first + i, first + i + 1]

    def box(self, centre, size, inward=False):
        half = scale(size, 0.5)
        facing = -1.0 if inward else 1.0
        for axis in range(3):
            for sign in (-1.0, 1.0):
                normal = tuple(sign * facing if i == axis else 0.0 for i in range(3))
                u_axis, v_axis = [i for i in range(3) if i != axis]
                corners = []
                for du, dv in ((-1, -1), (-1, 1), (1, 1), (1, -1)):
                    p = [0.0, 0.0, 0.0]
                    p[axis] = sign * half[axis]
                    p[u_axis] = du * half[u_axis]
                    p[v_axis] = dv * half[v_axis]
                    corners.append(add(centre, tuple(p)))
                self.polygon(corners, normal, [(0, 1), (0, 0), (1, 0), (1, 1)])

    def cylinder(self, centre, radius, length, axis, segments):
        a = AXES[axis]
        p, q = _perpendicular(a)
        ends = [add(centre, scale(a, -length * 0.5)), add(centre, scale(a, length * 0.5))]
        ring = [add(scale(p, math.cos(2 * math.pi * i / segments) * radius),
                    scale(q, math.sin(2 * math.pi * i / segments) * radius)) for i in range(segments)]
        for i in range(segments):
            j = (i + 1) % segments
            mid = 2 * math.pi * (i + 0.5) / segments
            normal = add(scale(p, math.cos(mid)), scale(q, math.sin(mid)))
            corners = [add(ends[0], ring[i]), add(ends[1], ring[i]), add(ends[1], ring[j]), add(ends[0], ring[j])]
            u0, u1 = i / segments, (i + 1) / segments
            self.polygon(corners, normal, [(u0, 1), (u0, 0), (u1, 0), (u1, 1)])
        for end, sign in ((ends[0], -1.0), (ends[1], 1.0)):
            normal = scale(a, sign)
            angles = [2 * math.pi * i / segments for i in range(segments)]
            self.polygon([add(end, r) for r in ring], normal,
                         [(0.5 + 0.5 * math.cos(t), 0.5 + 0.5 * math.sin(t)) for t in angles])

    def dome(self, radius, rings, segments):
        def point(ring, segment):
            elevation = math.pi / 2 - math.pi * ring / rings
            azimuth = 2 * math.pi * segment / segments
            return (radius * math.cos(elevation) * math.cos(azimuth), radius * math.sin(elevation),
                    radius * math.cos(elevation) * math.sin(azimuth))

        def v(ring):
            return min(2.0 * ring / rings, 1.0)

        for ring in range(rings):
            for segment in range(segments):
                corners = [point(ring, segment), point(ring + 1, segment), point(ring + 1, segment + 1),
                           point(ring, segment + 1)]
                u0, u1 = segment / segments, (segment + 1) / segments
                uvs = [(u0, v(ring)), (u0, v(ring + 1)), (u1, v(ring + 1)), (u1, v(ring))]
                # The pole's corners meet; the quad is a triangle there.
                if ring == 0:
                    corners, uvs = corners[1:], uvs[1:]
                elif ring == rings - 1:
                    corners, uvs = corners[:2] + corners[3:], uvs[:2] + uvs[3:]
                middle = scale(add(corners[0], corners[len(corners) // 2]), 0.5)
                self.polygon(corners, scale(middle, -1.0 / max(math.sqrt(sum(c * c for c in middle)), 1e-6)), uvs)

    def add_shape(self, shape):
        if "box" in shape:
            box = shape["box"]
            self.box(tuple(box["centre"]), tuple(box["size"]), box.get("inward", False))
        elif "dome" in shape:
            d = shape["dome"]
            self.dome(d["radius"], d.get("rings", 16), d.get("segments", 24))
        else:
            c = shape["cylinder"]
            self.cylinder(tuple(c["centre"]), c["radius"], c["length"], c.get("axis", "y"), c.get("segments", 12))


# Colours every material carries unless its source gives its own: the
# fixed-function techniques light the surface with them, and a material
# without them would start from zero and draw black.
DEFAULT_MATERIAL_VALUES = {"MatDiffuse": [1.0, 1.0, 1.0, 1.0], "MatEmissive": [0.0, 0.0, 0.0, 0.0]}


def _materials(source):
    names = list(source["materials"])
    materials = []
    for name in names:
        entry = source["materials"][name]
        values = dict(DEFAULT_MATERIAL_VALUES, **entry.get("values", {}))
        params = [(param, dcm.TEXTURE, file) for param, file in entry.get("textures", {}).items()]
        params += [(param, 5, struct.pack("<%df" % len(floats), *floats)) for param, floats in values.items()]
        materials.append(dcm.Material(entry["shader"], params))
    return names, materials


def _rotation(node):
    if "rotation" not in node:
        return IDENTITY_QUATERNION
    axis, degrees = node["rotation"]
    return axis_angle(tuple(axis), degrees)


def build_model(source, folder: pathlib.Path) -> bytes:
    material_names, materials = _materials(source)
    bone_index = {}
    if "skeleton" in source:
        bone_index = {bone.name: bone.index for bone in dcsk.walk(load_skeleton(folder, source["skeleton"]))}
    part_names = list(source["parts"])
    vertices, indices, parts = [], [], []
    for part_name in part_names:
        batches, points = [], []
        for material in range(len(materials)):
            shapes = [s for s in source["parts"][part_name] if s.get("material", material_names[0]) ==
                      material_names[material]]
            if not shapes:
                continue
            first_vertex, first_index = len(vertices), len(indices)
            for shape in shapes:
                builder = ShapeBuilder()
                builder.add_shape(shape)
                base = len(vertices)
                bone = bone_index.get(shape.get("bone"), 0)
                vertices += [(v, bone) for v in builder.vertices]
                indices += [base + i for i in builder.indices]
            points += [v[0][0] for v in vertices[first_vertex:]]
            batches.append(dcm.Batch(0, material, first_vertex, len(vertices) - first_vertex, first_index,
                                     len(indices) - first_index))
        parts.append(dcm.Part(batches, bounds(points), part_name))
    if bone_index:
        stream = [(position, float(bone), normal, uv) for (position, normal, uv), bone in vertices]
        geometry = dcm.SkinGeometry(len(vertices), [stream], indices)
    else:
        data = b"".join(dcm.standard_vertex(*vertex) for vertex, _ in vertices)
        geometry = dcm.Geometry(len(vertices), [(False, dcm.STANDARD_STRIDE, data)], indices)
    node_sources = source.get("nodes") or [{"name": name, "part": name} for name in part_names]
    nodes = [dcm.Node(node["name"], part_names.index(node["part"]), tuple(node.get("position", (0, 0, 0))),
                      _rotation(node)) for node in node_sources]
    tapes = [dcm.Tape(tape["name"], tuple(tape["position"]), tuple(tape.get("second", (0, 0, 1))))
             for tape in source.get("tapes", [])]
    return dcm.write_dcm(dcm.Mesh([geometry], materials, parts, nodes, tapes))
