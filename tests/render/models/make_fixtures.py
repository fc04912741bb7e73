#!/usr/bin/env python3
"""Writes the model fixtures of the renderer tests with the game's own data
writers: tests/render/models/make_fixtures.py OUT_FOLDER

"models" holds, loose under "Models\\", small meshes, skeletons and
animations made for the tests, good and damaged, and in its "Data.DCP" the
game's sample models with the shaders and textures they use, built from
data/ as the data build builds them.
"""

import copy
import pathlib
import struct
import sys

root = pathlib.Path(__file__).resolve().parents[3]
sys.path.insert(0, str(root / "tools"))

from databuild import build, dca, dcm, dcsk, dct  # noqa: E402
from databuild.geometry3d import axis_angle, matrix  # noqa: E402
from databuild.pack import write_pack  # noqa: E402


def write(path: pathlib.Path, data: bytes):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


# Meshes

def quad_vertices():
    """Four vertices of a unit square in the xy plane, 32 bytes each."""
    corners = [(0, 0, 0), (0, 1, 0), (1, 1, 0), (1, 0, 0)]
    return b"".join(dcm.standard_vertex(c, (0, 0, -1), (c[0], c[1])) for c in corners)


def tiny_mesh(version=4) -> dcm.Mesh:
    """One geometry of 4 vertices and 6 indices, two materials, two parts,
    three nodes and two tapes."""
    geometry = dcm.Geometry(4, [(False, dcm.STANDARD_STRIDE, quad_vertices())], [0, 1, 2, 0, 2, 3])
    materials = [
        dcm.Material("dcModel.DCS", [("DiffuseTex", dcm.TEXTURE, "Wood.TGA")]),
        dcm.Material("dcGlass.dcs", [("Tint", 5, struct.pack("<4f", 1, 0.5, 0.25, 1))]),
    ]
    parts = [
        dcm.Part([dcm.Batch(0, 0, 0, 4, 0, 6)], ((0.5, 0.5, 0.0), (0.5, 0.5, 0.0)), "Front"),
        dcm.Part([dcm.Batch(0, 1, 0, 3, 0, 3), dcm.Batch(0, -1, 0, 4, 3, 3)], ((0, 0, 0), (1, 2, 3)), "Back"),
    ]
    nodes = [
        dcm.Node("FRONT", 0, (10, 0, 0), second_name="Front"),
        dcm.Node("BACK", 1, (0, 5, 0), axis_angle((0, 1, 0), 90), (1, 2, 3)),
        dcm.Node("FRONT_2", 0, (0, 0, -4)),
    ]
    tapes = [dcm.Tape("Rocket_1", (1, 2, 3), (0, 0, 1)), dcm.Tape("Exhaust", (0, 0.5, -2), (0, 0, -1))]
    return dcm.Mesh([geometry], materials, parts, nodes, tapes, version, "tiny")


def skin_mesh(version=4, bone=1.0, stride=dcm.SKIN_STRIDE, count=4) -> dcm.Mesh:
    corners = [(0, 0, 0), (0, 1, 0), (1, 1, 0), (1, 0, 0)] * (count // 4)
    vertices = [(c, bone if i == 2 else 0.0, (0, 0, -1), (c[0], c[1])) for i, c in enumerate(corners)]
    geometry = dcm.SkinGeometry(len(vertices), [vertices], [0, 1, 2, 0, 2, 3], stride)
    materials = [dcm.Material("dcskin.dcs", [("DiffuseTex", dcm.TEXTURE, "Skin.TGA")]),
                 dcm.Material("DCSKIN_ALPHA.DCS"), dcm.Material("dcOther.DCS")]
    parts = [dcm.Part([dcm.Batch(0, 0, 0, 4, 0, 6)], ((0.5, 0.5, 0), (0.5, 0.5, 0)), "Body")]
    nodes = [dcm.Node("BODY", 0, (0, 0, 0))]
    return dcm.Mesh([geometry], materials, parts, nodes, [dcm.Tape("Hand", (1, 1, 0))], version)


def damaged_mesh(change) -> bytes:
    mesh = tiny_mesh()
    change(mesh)
    return dcm.write_dcm(mesh)


def meshes(folder: pathlib.Path):
    write(folder / "Tiny.DCM", dcm.write_dcm(tiny_mesh()))
    write(folder / "TinyV3.DCM", dcm.write_dcm(tiny_mesh(3)))
    write(folder / "TinyV2.DCM", dcm.write_dcm(tiny_mesh(2)))
    good = dcm.write_dcm(tiny_mesh())
    write(folder / "Short.DCM", good[:9])
    write(folder / "BadMagic.DCM", b"DC3" + good[3:])
    write(folder / "NotMesh.DCM", good[:7] + struct.pack("<i", 4) + good[11:])
    write(folder / "Truncated.DCM", good[:len(good) - 30])

    def set_batch(**fields):
        return lambda mesh: mesh.parts[1].batches.__setitem__(0, dcm.Batch(**{**vars(mesh.parts[1].batches[0]),
                                                                              **fields}))

    def set_geometry(**fields):
        return lambda mesh: [setattr(mesh.geometry[0], k, v) for k, v in fields.items()]

    damaged = {
        "BatchMaterial": set_batch(material=2),
        "BatchMaterialLow": set_batch(material=-2),
        "BatchGeometry": set_batch(geometry=1),
        "BatchVertices": set_batch(first_vertex=2, vertex_count=3),
        "BatchIndices": set_batch(first_index=4, index_count=3),
        "NegativeRange": set_batch(first_index=-3),
        "IndexValue": set_geometry(indices=[0, 1, 2, 0, 2, 4]),
        "NegativeIndex": set_geometry(indices=[0, 1, 2, 0, 2, -1]),
        "ShortStride": set_geometry(streams=[(False, 24, bytes(24 * 4))]),
        "ElementStream": set_geometry(elements=[(1, 0, dcm.FLOAT3, 0, dcm.USAGE_POSITION, 0)]),
        "ElementType": set_geometry(elements=[(0, 0, 17, 0, dcm.USAGE_POSITION, 0)]),
        "VertexCount": set_geometry(vertex_count=0x7FFFFFF),
        "NodePart": lambda mesh: setattr(mesh.nodes[2], "part", 2),
        "NegativeNodePart": lambda mesh: setattr(mesh.nodes[2], "part", -1),
    }
    for name, change in damaged.items():
        write(folder / f"Bad{name}.DCM", damaged_mesh(change))
    # Counts far beyond the file: materials, then batches.
    materials_at = good.index(b"dcModel.DCS") - 8
    write(folder / "BadMaterialCount.DCM", good[:materials_at] + struct.pack("<i", 0x10000000) + good[materials_at + 4:])

    write(folder / "SkinTiny.DCM", dcm.write_dcm(skin_mesh()))
    write(folder / "SkinV1.DCM", dcm.write_dcm(skin_mesh(1)))
    write(folder / "SkinLegacy.DCM", dcm.write_dcm(skin_mesh(0)))
    write(folder / "SkinFraction.DCM", dcm.write_dcm(skin_mesh(bone=2.9)))
    write(folder / "SkinBadBone.DCM", dcm.write_dcm(skin_mesh(bone=100.0)))
    write(folder / "SkinNegativeBone.DCM", dcm.write_dcm(skin_mesh(bone=-1.0)))
    write(folder / "SkinShortStride.DCM", dcm.write_dcm(skin_mesh(stride=32)))
    write(folder / "SkinLongStride.DCM", dcm.write_dcm(skin_mesh(stride=40)))
    write(folder / "SkinFullRing.DCM", dcm.write_dcm(skin_mesh(count=65536)))
    write(folder / "SkinOverRing.DCM", dcm.write_dcm(skin_mesh(count=65540)))


# Skeletons

def chain():
    """A top-level bone and the root below it, whose child points along +x:
    a bind frame that is not the identity."""
    arm = dcsk.Bone("Arm", head=(0, 0, 1), tail=(1, 0, 1))
    root_bone = dcsk.Bone("Root", head=(0, 0, 0), tail=(0, 0, 1), children=[arm])
    return dcsk.number([dcsk.Bone("Top", head=(0, 0, 0), tail=(0, 0, -1), children=[root_bone])])


def nested(depth) -> bytes:
    """A version-1 chain of bones, each the only child of the one before."""
    header = dcsk.write_dcsk([], 1)[:-4] + struct.pack("<i", 1)
    bone = struct.pack("<i", 1) + b"B" + struct.pack("<i", 1)
    leaf = struct.pack("<i", 1) + b"L" + struct.pack("<i", 0)
    return header + bone * depth + leaf


def skeletons(folder: pathlib.Path):
    write(folder / "Chain.DCSK", dcsk.write_dcsk(chain()))
    # A version-1 root with two children, and the same tree with its own numbering.
    three = [dcsk.Bone("Top", children=[dcsk.Bone("Root", children=[dcsk.Bone("a"), dcsk.Bone("b")])])]
    write(folder / "V1.DCSK", dcsk.write_dcsk(dcsk.number(copy.deepcopy(three)), 1))
    stored = dcsk.number(copy.deepcopy(three))
    for bone, index in zip(dcsk.walk(stored), (3, 1, 0, 2)):
        bone.index = index
    write(folder / "V2.DCSK", dcsk.write_dcsk(stored, 2))
    boxed = chain()
    boxed[0].children[0].children[0].box = ((0, 0, 0.5), (0.1, 0.1, 0.5))
    write(folder / "BodyBox.DCSK", dcsk.write_dcsk(boxed))

    good = dcsk.write_dcsk(chain())
    write(folder / "BadShort.DCSK", good[:9])
    write(folder / "BadMagic.DCSK", b"DCX" + good[3:])
    write(folder / "BadKind.DCSK", good[:7] + struct.pack("<i", 3) + good[11:])
    write(folder / "BadVersion.DCSK", good[:11] + struct.pack("<i", 5) + good[15:])
    write(folder / "BadTruncated.DCSK", good[:len(good) - 10])
    write(folder / "BadTooMany.DCSK", dcsk.write_dcsk([dcsk.Bone("Top", children=[dcsk.Bone("Root", children=[
        dcsk.Bone(f"B{i}") for i in range(99)])])], 1))
    write(folder / "BadDeep.DCSK", nested(3000))
    duplicate = chain()
    duplicate[0].children[0].children[0].index = 1
    write(folder / "BadDuplicateIndex.DCSK", dcsk.write_dcsk(duplicate))
    outside = chain()
    outside[0].children[0].children[0].index = 7
    write(folder / "BadIndexRange.DCSK", dcsk.write_dcsk(outside))
    write(folder / "BadNoRoot.DCSK", dcsk.write_dcsk(dcsk.number([dcsk.Bone("A", children=[dcsk.Bone("B")]),
                                                                  dcsk.Bone("C")])))
    count_at = 19
    write(folder / "BadChildCount.DCSK", good[:count_at] + struct.pack("<i", 0x7FFFFFFF) + good[count_at + 4:])


# Animations

def identity_keys(durations, tracks):
    return [(d, [matrix((0, 0, 0, 1), (0, 0, 0))] * tracks) for d in durations]


def chain_animation(keys):
    """Keys of (duration, root position, arm rotation) for the chain's tracks."""
    converted = [(d, [(root, (0, 0, 0, 1)), ((0, 0, 0), arm)]) for d, root, arm in keys]
    return dca.write_dca(["Root", "Arm"], converted)


def animations(folder: pathlib.Path):
    turn = axis_angle((0, 1, 0), 90)
    three = [(0.5, [matrix(turn, (1, 2, 3))]), (0.5, [matrix((0, 0, 0, 1), (3, 2, 1))]),
             (0.25, [matrix((0, 0, 0, 1), (5, 5, 5))])]
    write(folder / "ThreeKeys.DCA", dca.write_dca_matrices(["Track"], three))
    write(folder / "Run.DCA", dca.write_dca_matrices(["Track"], three))
    write(folder / "LayoutB.DCA", dca.write_dca(["First", "Second"], [
        (0.5, [((0, 0, 0), (0, 0, 0, 1)), ((1, 1, 1), (0, 0, 0, 1))]),
        (1.0, [((2, 0, 0), (0, 0, 0, 1)), ((1, 1, 1), (0, 0, 0, 1))]),
        (0.75, [((4, 0, 0), (0, 0, 0, 1)), ((1, 1, 1), (0, 0, 0, 1))])], full_length=3.0))

    good = dca.write_dca_matrices(["Track"], three)
    write(folder / "BadShort.DCA", good[:9])
    write(folder / "BadMagic.DCA", b"DCX" + good[3:])
    write(folder / "BadVersion.DCA", b"DC2" + struct.pack("<ii", 1, 0x200000) + bytes(20))
    write(folder / "BadTruncated.DCA", good[:len(good) - 20])
    write(folder / "BadZeroDuration.DCA", dca.write_dca_matrices(["Track"], identity_keys([0.5, 0.0, 0.5], 1)))
    write(folder / "BadNegativeDuration.DCA", dca.write_dca_matrices(["Track"], identity_keys([0.5, -1.0], 1)))
    write(folder / "BadNoKeys.DCA", dca.write_dca(["Track"], [], full_length=1.0))
    write(folder / "BadTrackCount.DCA", good[:7] + struct.pack("<i", 0x7FFFFFFF) + good[11:])
    write(folder / "BadKeyCount.DCA", dca.write_dca_matrices(["Track"], [])[:-4] + struct.pack("<i", 1000) +
          struct.pack("<17f", *([0.5] + [0.0] * 16)))

    # For the chain skeleton: the bind pose; the arm turned a quarter about z
    # at its head; the root moving 2 units along z per loop; and poses.
    rest = (0, 0, 0, 1)
    write(folder / "Bind.DCA", chain_animation([(0.5, (0, 0, 0), rest), (0.5, (0, 0, 0), rest)]))
    quarter = axis_angle((0, 0, 1), 90)
    # A turn about the arm's head (0, 0, 1) is a turn about the z axis through it: no move needed.
    write(folder / "Bend.DCA", chain_animation([(0.5, (0, 0, 0), quarter), (0.5, (0, 0, 0), quarter)]))
    write(folder / "Move.DCA", chain_animation([(0.5, (0, 0, 0), rest), (0.5, (0, 0, 1), rest),
                                                (0.5, (0, 0, 2), rest)]))
    write(folder / "TwoSeconds.DCA", chain_animation([(1.0, (0, 0, 0), rest), (0.5, (1, 0, 0), rest),
                                                      (0.5, (2, 0, 0), rest)]))
    write(folder / "PoseA.DCA", chain_animation([(1.0, (0, 0, 0), rest), (1.0, (0, 0, 0), rest)]))
    write(folder / "PoseB.DCA", chain_animation([(1.0, (2, 0, 0), rest), (1.0, (2, 0, 0), rest)]))
    write(folder / "Steps.DCA", chain_animation([(0.5, (0, 0, 0), rest), (0.5, (1, 0, 0), rest),
                                                 (0.5, (2, 0, 0), rest), (0.5, (3, 0, 0), rest)]))
    write(folder / "OneKey.DCA", chain_animation([(0.5, (1, 0, 0), rest)]))


def sample(out: pathlib.Path):
    """The game's own models, with the shaders and textures they draw with,
    as the data build makes them, in the pack."""
    members = []
    for folder in ("Models", "Shaders", "Textures"):
        source = root / "data"
        for path in sorted(p for p in (source / folder).rglob("*") if p.is_file()):
            members.append(build.convert(path, path.relative_to(source)))
    write_pack(out / "Data.DCP", members)


def textures(folder: pathlib.Path):
    """A material's texture, its shininess map and a variant for the suffix "_Red"."""
    for name, size in (("Wood", 4), ("Wood_S", 2), ("Wood_Red", 8)):
        write(folder / f"{name}.DCT", dct.write_dct("argb32", size, size, bytes(range(4 * size * size))))


def main():
    out = pathlib.Path(sys.argv[1]) / "models"
    folder = out / "Models"
    meshes(folder)
    skeletons(folder)
    animations(folder)
    textures(out / "Textures")
    sample(out)
    (pathlib.Path(sys.argv[1]) / "models.stamp").write_text("written\n")


if __name__ == "__main__":
    main()
