"""The skeleton format ".DCSK": after "DC2", an int32 (not read), kind 4 and
the version (1 to 4), an int32 (not read) from version 2 on, then the count of
top-level bones and the bone blocks, each followed by its children.

A bone block: the name; from version 2 head and tail, from version 3 a third
point, then the bone's index; from version 4 a body box (centre, half
extents); then the child count. Version 1 files give only names, and the
game numbers the bones in reading order.
"""

from dataclasses import dataclass, field

from .binary import BinaryWriter

SKELETON_KIND = 4
NEWEST_VERSION = 4


@dataclass
class Bone:
    name: str
    index: int = 0
    head: tuple = (0.0, 0.0, 0.0)
    tail: tuple = (0.0, 0.0, 1.0)
    third: tuple = (0.0, 0.0, 0.0)
    box: tuple = ((0.0, 0.0, 0.0), (0.0, 0.0, 0.0))
    children: list = field(default_factory=list)


def _bone(writer, bone, version):
    writer.text(bone.name)
    if version >= 2:
        writer.float32s((*bone.head, *bone.tail))
        if version >= 3:
            writer.float32s(bone.third)
        writer.int32(bone.index)
        if version >= 4:
            writer.float32s((*bone.box[0], *bone.box[1]))
    writer.int32(len(bone.children))
    for child in bone.children:
        _bone(writer, child, version)


def write_dcsk(top_level, version: int = NEWEST_VERSION) -> bytes:
    writer = BinaryWriter().raw(b"DC2").int32(0).int32(SKELETON_KIND).int32(version)
    if version >= 2:
        writer.int32(0)
    writer.int32(len(top_level))
    for bone in top_level:
        _bone(writer, bone, version)
    return writer.bytes()


def walk(bones):
    """Every bone, depth first, parents before children."""
    for bone in bones:
        yield bone
        yield from walk(bone.children)


def number(bones):
    """Indices in reading order, as the game gives version 1 files."""
    for index, bone in enumerate(walk(bones)):
        bone.index = index
    return bones
