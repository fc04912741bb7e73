"""Missions (.dcScript) from readable sources: "X.mission" under
data/Scripts/ becomes "X.dcScript".

Source form (JSON): {"roots": [node names], "nodes": {name: node}}, where a
node is {"class": runtime class name, its settings by name, "Targets": [node
names], "EditorRect": [left, top, right, bottom]}. A link to null is a null
reference. Settings left out keep the class's defaults:

- dcStartTrigger: "PauseOnStart", "AllowStart", "Multiplay" (0 or 1), "Name"
  and "Description" (language keys), "InternalName", "ImageName" (texts),
  "Sides" ([{"SideIndex", "SideName", "SideVehicles": [texts]}]);
- dcTriggerTarget: "Position" [x, y, z], "Orientation" [x, y, z, w],
  "Subject" (a node name);
- dcScriptClean: "CleanWorld", "CleanScript" (0 or 1);
- dcLoadSky: "Sky" (the folder's name under "Skies");
- dcEnableTrigger, dcDisableTrigger, dcDummyTrigger: the common part only.

Each class writes its own settings first and the common part last.
"""

import json

from .dc2dump import DumpWriter

COMMON = {"class", "Targets", "EditorRect"}


def _start_trigger(out, node):
    w = out.out
    w.raw(bytes([node.get("PauseOnStart", 0), node.get("AllowStart", 0)]))
    w.int32(node.get("Name", 0)).int32(node.get("Description", 0))
    out.text(node.get("InternalName", ""))
    out.text(node.get("ImageName", ""))
    w.raw(bytes([node.get("Multiplay", 0)]))
    sides = node.get("Sides", [])
    w.int32(len(sides))
    for side in sides:
        w.int32(side["SideIndex"]).int32(side["SideName"])
        vehicles = side.get("SideVehicles", [])
        w.int32(len(vehicles))
        for vehicle in vehicles:
            out.text(vehicle)


def _trigger_target(out, node):
    out.out.float32s(node.get("Position", [0.0, 0.0, 0.0]))
    out.out.float32s(node.get("Orientation", [0.0, 0.0, 0.0, 1.0]))
    out.object_ref(node.get("Subject"))


def _script_clean(out, node):
    out.out.raw(bytes([node.get("CleanWorld", 1), node.get("CleanScript", 1)]))


def _load_sky(out, node):
    out.text(node.get("Sky", ""))


def _nothing(out, node):
    pass


# Each class's own settings: the writer and the names it takes.
CLASSES = {
    "dcStartTrigger": (_start_trigger, {"PauseOnStart", "AllowStart", "Name", "Description", "InternalName",
                                        "ImageName", "Multiplay", "Sides"}),
    "dcTriggerTarget": (_trigger_target, {"Position", "Orientation", "Subject"}),
    "dcScriptClean": (_script_clean, {"CleanWorld", "CleanScript"}),
    "dcLoadSky": (_load_sky, {"Sky"}),
    "dcEnableTrigger": (_nothing, set()),
    "dcDisableTrigger": (_nothing, set()),
    "dcDummyTrigger": (_nothing, set()),
}


def _check(nodes, roots, origin):
    def check_link(name, where):
        if name is not None and name not in nodes:
            raise ValueError(f"{origin}: {where} links to {name}, which is no node")

    for root in roots:
        check_link(root, "the root list")
    for name, node in nodes.items():
        kind = node.get("class")
        if kind not in CLASSES:
            raise ValueError(f"{origin}: node {name} has the unknown class {kind}")
        unknown = set(node) - COMMON - CLASSES[kind][1]
        if unknown:
            raise ValueError(f"{origin}: node {name} ({kind}) has no settings {sorted(unknown)}")
        for target in node.get("Targets", []):
            check_link(target, f"node {name}")
        if "Subject" in node:
            check_link(node["Subject"], f"node {name}")


def build_mission(source: str, origin: str = "<mission>") -> bytes:
    mission = json.loads(source)
    nodes = mission["nodes"]
    roots = mission["roots"]
    _check(nodes, roots, origin)

    def save(out, name):
        node = nodes[name]
        CLASSES[node["class"]][0](out, node)
        for edge in node.get("EditorRect", [0, 0, 0, 0]):
            out.out.int32(edge)
        targets = node.get("Targets", [])
        out.out.int32(len(targets))
        for target in targets:
            out.object_ref(target)

    return DumpWriter(lambda name: nodes[name]["class"], save).dump(roots)
