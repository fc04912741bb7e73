#!/usr/bin/env python3
"""Writes the fixtures of the game tests with the game's own data writers:
tests/game/make_fixtures.py OUT_FOLDER

- worlds/: the sample world "Maps\\Test.DCW" from data/, a small world
  "Maps\\Small.DCW" whose stage calls are known, world files
  whose headers the loader must refuse, a world with every geometry chunk
  filled ("Maps\\Geometry.DCW"), and damaged copies of it whose counts or
  indices do not fit; the same world with object meshes, props and markers
  ("Maps\\Objects.DCW"), its damaged copies, and worlds of many meshes and
  props ("Maps\\Many.DCW"); a world of movable props on a floor
  ("Maps\\Props.DCW") and damaged copies of its props.
- language/: a language whose content switches turn blood and ragdolls off.
- skies/: skies whose settings files differ in version, length or magic.
- sounds/: hit-sound families for wood and cones only, and ambient families
  of one and of two files.
- vehicles/: the chassis model "Vehicles\\PROBE\\Chassis1.DCM" of a probe car,
  whose parts and tapes the vehicle-type reader measures, and the same car
  without its wheels ("Vehicles\\WHEELLESS").
- catalogue/: the probe car with more tapes as a catalogue entry's models
  ("Vehicles\\PROBE\\Chassis1.DCM", front wheels 8 units high, back wheels 6,
  the camera preset "1.CAM") and as a traffic entry's ("Vehicles\\Traffic\\
  PROBE", wheels 8 high), and a language whose texts 50200 to 50205 give
  the stats of a catalogue's third entry.
"""

import json
import pathlib
import struct
import sys

root = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(root / "tools"))

from databuild import cam, city, dcw, language, models, vks, wav  # noqa: E402
from databuild.binary import BinaryWriter  # noqa: E402


def write(path: pathlib.Path, data: bytes):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


def worlds(out: pathlib.Path):
    maps = out / "worlds" / "Maps"
    # The game module's own probe box, which it loads with the first world.
    write(out / "worlds" / "Models" / "UnitBox.DCM", models.build(root / "data" / "Models" / "UnitBox.model"))
    # The model of the filled world's one decoration with a usable route.
    write(out / "worlds" / "Models" / "C.DCM", models.build(root / "data" / "Models" / "A.model"))
    sample = city.build_city((root / "data" / "Maps" / "Test.city").read_text(encoding="utf-8"))
    write(maps / "Test.DCW", sample)
    write(maps / "Small.DCW", dcw.write_dcw(SMALL_WORLD))
    write(maps / "Nine.DCW", sample[:9])
    write(maps / "Ten.DCW", sample[:10])
    write(maps / "Kind3.DCW", BinaryWriter().raw(b"DC2").int32(0).int32(3).int32(0).bytes() + sample[15:])
    write(maps / "Magic.DCW", b"DC3" + sample[3:])
    geometry_worlds(maps)
    object_worlds(maps)
    prop_worlds(maps)


# Two traffic nodes and one ground object, no render geometry: a world whose
# stage calls are known.
SMALL_WORLD = {
    "collision": {
        "vertices": [
            [
                -500,
                0,
                -500
            ],
            [
                500,
                0,
                -500
            ],
            [
                500,
                0,
                500
            ],
            [
                -500,
                0,
                500
            ]
        ],
        "triangles": [
            [
                0,
                1,
                2,
                0
            ],
            [
                0,
                2,
                3,
                0
            ]
        ]
    },
    "box": {
        "centre": [
            0,
            50,
            0
        ],
        "half": [
            500,
            50,
            500
        ]
    },
    "traffic": [
        {
            "id": 1,
            "position": [
                -200,
                0,
                0
            ],
            "weight": 1.0,
            "links": [
                1
            ],
            "tag": 0
        },
        {
            "id": 2,
            "position": [
                200,
                0,
                0
            ],
            "weight": 1.0,
            "links": [
                0
            ],
            "tag": 0
        }
    ],
    "pedestrians": [
        {
            "position": [
                -200,
                0,
                40
            ],
            "links": [
                1
            ]
        },
        {
            "position": [
                200,
                0,
                40
            ],
            "links": [
                0
            ]
        }
    ],
    "meshes": [
        {
            "box": {
                "centre": [
                    0,
                    0,
                    0
                ],
                "half": [
                    500,
                    0,
                    500
                ]
            },
            "world_space": 1,
            "ranges": []
        }
    ],
    "static_objects": [
        {
            "name": "Ground",
            "position": [
                0,
                0,
                0
            ],
            "mesh": 0
        }
    ],
    "markers": [
        {
            "name": "START",
            "position": [
                0,
                0,
                0
            ],
            "second": [
                0,
                0,
                -100
            ]
        }
    ]
}


def vertex(x, z):
    return [x, 0, z, 0, 1, 0, 0, 0]


# Every chunk of the geometry stages holds records; the markers and objects stay empty.
GEOMETRY_WORLD = {
    "collision": {
        "vertices": [[-100, 0, -100], [100, 0, -100], [100, 0, 100], [-100, 0, 100]],
        "triangles": [[0, 1, 2, 0], [0, 2, 3, 0]],
    },
    "box": {"centre": [0, 10, 0], "half": [100, 10, 100]},
    "traffic": [
        {"id": 11, "position": [0, 0, 0], "weight": 0.5, "links": [1, 2], "tag": 3},
        {"id": 12, "position": [10, 0, 0], "links": [0]},
        {"id": 13, "position": [20, 0, 0], "links": []},
    ],
    "roads": [{"id": 7, "position": [0, 0, 5], "links": [1]}, {"id": 8, "position": [5, 0, 5], "links": [0]}],
    "decoration_routes": [
        {"position": [0, 20, 0], "speed": 2.0, "links": [1]},
        {"position": [10, 20, 0], "speed": 3.0, "links": [2]},
        {"position": [20, 20, 0], "speed": 4.0, "links": [3]},
        {"position": [30, 20, 0], "speed": 5.0, "links": [0]},
    ],
    "decorations": [
        {"model": 2, "route": [0, 1, 2]},
        {"model": 0, "route": [0, 1]},
        {"model": 0, "route": [0, 1, 10001]},
        {"model": 0, "route": [0, 1, 4]},
    ],
    "streaming": {
        "elements": [[0, 0, 2, 0, 0, 0], [0, 12, 2, 0, 3, 0], [0, 24, 1, 0, 5, 0]],
        "vertices": [vertex(0, 0), vertex(1, 0), vertex(0, 1)],
        "indices": [0, 1, 2],
    },
    "geometry": [
        {"elements": [[0, 0, 2, 0, 0, 0]], "vertex_count": 3,
         "streams": [{"dynamic": True, "stride": 12, "data": "00" * 36}], "indices": [0, 1, 2]},
        {"elements": [], "vertex_count": 0, "streams": [], "indices": []},
    ],
    "materials": [{"effect": "dcMesh.DCS", "parameters": [
        {"name": "Tex0", "texture": "Road.DCT"}, {"name": "Shine", "kind": 3, "value": "0000803f"},
        {"name": "Empty", "kind": 0, "value": ""}]}] +
    [{"effect": f"Plain{i}.DCS"} for i in range(10)],
}


def damaged(name, change):
    world = json.loads(json.dumps(GEOMETRY_WORLD))
    change(world)
    return name, dcw.write_dcw(world)


def geometry_worlds(maps: pathlib.Path):
    whole = dcw.write_dcw(GEOMETRY_WORLD)
    write(maps / "Geometry.DCW", whole)
    write(maps / "Cut.DCW", whole[:200])
    cases = [
        damaged("FarVertex.DCW", lambda w: w["collision"]["triangles"].append([0, 1, 4, 0])),
        damaged("FarLink.DCW", lambda w: w["traffic"][1]["links"].append(3)),
        damaged("FarIndex.DCW", lambda w: w["geometry"][0]["indices"].extend([0, 1, 3])),
        damaged("RouteLink.DCW", lambda w: w["decoration_routes"][0]["links"].append(-1)),
    ]
    for name, data in cases:
        write(maps / name, data)
    # A vertex count whose streams the file cannot hold.
    marker = struct.pack("<ii", 3, 1) + b"\x01" + struct.pack("<i", 12)
    write(maps / "HugeCount.DCW", whole.replace(marker, struct.pack("<ii", 0x10000000, 1) + b"\x01" + struct.pack("<i", 12), 1))


def prop(name, x, collision=1, behaviour=1, half=(5, 5, 5)):
    return {"name": name, "position": [x, 5, 0], "mesh": 1, "collision": collision, "half": list(half),
            "behaviour": behaviour}


# A floor at y = 0 and props on it, each a 10-unit cube standing on the floor:
# five barrels in a touching row from x = 0 to 40, the rest far apart.
PROPS_WORLD = {
    "collision": {
        "vertices": [[-1000, 0, -1000], [1000, 0, -1000], [1000, 0, 1000], [-1000, 0, 1000]],
        "triangles": [[0, 2, 1, 0], [0, 3, 2, 0]],   # facing up
    },
    "box": {"centre": [0, 50, 0], "half": [1000, 50, 1000]},
    "meshes": [{"box": {"half": [1000, 0, 1000]}, "world_space": 1},
               {"box": {"half": [5, 5, 5]}}],
    "static_objects": [{"name": "Floor", "mesh": 0}],
    "dynamic_objects": [prop("DYNAMIC_BARREL_WOOD_" + letter, 10 * i) for i, letter in enumerate("ABCDE")] + [
        prop("dynamic_phonecell_1", 200, collision=3),
        prop("PION_0", 300, collision=0),
        prop("DYNAMIC_PARKMTRA_1", 400, behaviour=2),
        prop("DYNAMIC_LEAF_1", 500, collision=2, behaviour=3),
        prop("BARRICADE_1", 600, collision=2),
        prop("NOVIS_BLOCK", 700, behaviour=0),
        prop("BENCH_DEADLY", 800, behaviour=4),
        prop("PAAL_WOOD_1", -200, behaviour=0),
        prop("TRAFFICLITE001", -300, behaviour=0),
    ],
}


def damaged_props(name, change):
    world = json.loads(json.dumps(PROPS_WORLD))
    change(world["dynamic_objects"])
    return name, dcw.write_dcw(world)


def prop_worlds(maps: pathlib.Path):
    whole = dcw.write_dcw(PROPS_WORLD)
    write(maps / "Props.DCW", whole)
    cases = [
        damaged_props("PropsMesh.DCW", lambda props: props[2].update(mesh=2)),
        damaged_props("PropsHalf.DCW", lambda props: props[2].update(half=[5, -1, 5])),
    ]
    for name, data in cases:
        write(maps / name, data)
    # The last prop ends inside its collision box, the marker count gone too.
    write(maps / "PropsCut.DCW", whole[:-4 - 20])
    without_props = dcw.write_dcw(dict(PROPS_WORLD, dynamic_objects=[], markers=[]))
    props_start = len(without_props) - 8
    # A count the rest of the file cannot hold.
    write(maps / "PropsCount.DCW", whole[:props_start] + struct.pack("<i", 0x10000000) + whole[props_start + 4:])


def light(name, x, y=40):
    return {"name": name, "position": [x, y, 0], "mesh": 1, "collision": 1, "half": [2, 20, 2], "behaviour": 1}


# Street lights over a floor that ends at x = 800: five lamps crowded within
# 75 units, four that are not, one alone, one beyond the floor; traffic
# lights of two crossings, and names the loader must refuse. The traffic
# network's ids differ from the second road network's.
LIGHTS_WORLD = {
    "collision": {
        "vertices": [[-1000, 0, -1000], [800, 0, -1000], [800, 0, 1000], [-1000, 0, 1000]],
        "triangles": [[0, 2, 1, 0], [0, 3, 2, 0]],   # facing up
    },
    "box": {"centre": [0, 50, 0], "half": [1000, 50, 1000]},
    "traffic": [{"id": 5, "position": [0, 0, 0], "links": []}, {"id": 123, "position": [200, 0, 0], "links": []},
                {"id": 7, "position": [250, 0, 0], "links": []}],
    "roads": [{"id": 123, "position": [0, 0, 5], "links": []}],
    "meshes": [{"box": {"half": [1000, 0, 1000]}, "world_space": 1}, {"box": {"half": [2, 20, 2]}}],
    "static_objects": [{"name": "Floor", "mesh": 0}],
    "dynamic_objects": [light("BULB_CROWD" + letter, -500 + 10 * i) for i, letter in enumerate("ABCDE")] +
                       [light("BULB_ROW" + letter, -300 + 30 * i) for i, letter in enumerate("ABCD")] + [
        light("BULB_LONE", 0),
        light("BULB_NOGROUND", 900),
        light("TRAFFICLITE001STATE00BOX123", 200),
        light("TRAFFICLITE001STATE01BOX007", 250),
        light("TRAFFICLITE002STATE00BOX555", 300),
        light("TRAFFICLITE001STATE0XBOX123", 350),
        light("TRAFFICLITE001STATE01BOX12", 400),
        light("TRAFFICLITE001STATE01", 450),
    ],
}


def gore_free_language(out: pathlib.Path):
    write(out / "language" / "Misc" / "English.DCL",
          language.write_dcl({666: "No blood", 6661666: "No ragdoll", 9900606: "PAUSED"}))


def damaged_skies(out: pathlib.Path):
    """Each sky's lights carry their own marks: static intensity 0.5, dynamic
    0.75, fog range 2; the defaults are all 1."""
    static = [{"intensity": 0.5, "ambient": [0.25, 0.25, 0.25, 1.0]}] * 3
    dynamic = [{"intensity": 0.75, "diffuse": [0.5, 0.5, 0.5, 1.0]}] * 3
    fog = {"range": 2.0, "colour": [0.5, 0.5, 0.5, 1.0], "intensity": 0.5}
    flare = vks.write_flare([0.0, 0.6, -0.8])
    lighting = vks.write_lighting(1, static, fog)
    lighting0 = vks.write_lighting(0, static)
    lighting2 = vks.write_lighting(2, static) + lighting[-24:]
    dynamic_lighting = vks.write_lighting(1, dynamic, fog)
    dynamic0 = vks.write_lighting(0, dynamic)
    whole = {"Flare.VKS": flare, "Lighting.VKS": lighting, "DynamicLighting.VKS": dynamic_lighting,
             "CarLights.VKS": b""}
    skies = {
        "Whole": whole,
        "Version0": dict(whole, **{"Lighting.VKS": lighting0, "DynamicLighting.VKS": dynamic0}),
        "Version2": dict(whole, **{"Lighting.VKS": lighting2}),
        "Version2Short": dict(whole, **{"Lighting.VKS": lighting2[:211]}),
        "FogCut": dict(whole, **{"Lighting.VKS": lighting[:234]}),
        "LightsCut": dict(whole, **{"Lighting.VKS": lighting0[:210]}),
        "FlareCut": dict(whole, **{"Flare.VKS": flare[:18]}),
        "NoFlare": {k: v for k, v in whole.items() if k != "Flare.VKS"},
        "BadMagic": dict(whole, **{"Lighting.VKS": b"DC3" + lighting[3:]}),
        "DynamicNine": dict(whole, **{"DynamicLighting.VKS": dynamic_lighting[:9]}),
        "DynamicCut": dict(whole, **{"DynamicLighting.VKS": dynamic_lighting[:210]}),
        "NoDynamic": {k: v for k, v in whole.items() if k != "DynamicLighting.VKS"},
    }
    for sky, files in skies.items():
        for name, content in files.items():
            write(out / "Skies" / sky / name, content)


def sounds(out: pathlib.Path):
    tick = wav.build_sound('{"rate": 11025, "channels": 1, "bits": 16, "seconds": 0.05, '
                           '"waveform": "noise", "volume": 0.5}')
    for name in ("Hit_Wood1", "Hit_Wood2", "Hit_Cone1", "Ambient/Crickets1", "Ambient/Crickets2",
                 "Ambient/Rain1"):
        write(out / "Audio" / (name + ".WAV"), tick)


def mesh(half, ranges):
    return {"box": {"centre": [0, 0, 0], "half": half}, "ranges": ranges}


# The geometry world with props on its record and its streaming data, and
# markers: the collision triangles belong to the road piece "ROAD_Main".
OBJECT_WORLD = dict(GEOMETRY_WORLD, **{
    "meshes": [
        mesh([300, 1, 1], [[0, 0, 0, 3, 0, 3]]),
        mesh([300.5, 0, 0], [[-1, -1, 0, 3, 0, 3]]),
        mesh([100, 50, 0], [[0, 1, 0, 3, 0, 3], [-1, 2, 0, 3, 0, 3]]),
        mesh([0, 0, 200.5], []),
    ],
    "static_objects": [
        {"name": "ROAD_Main", "mesh": 0},
        {"name": "road_x", "mesh": 0, "position": [0, 0, 50]},
        {"name": "NOVIS_wall", "mesh": 1},
        {"name": "Kiosk", "mesh": 2, "position": [10, 0, 0], "rotation": [0, 0.70710678, 0, 0.70710678]},
    ],
    "markers": [
        {"name": "SOUND_NIGHT_Crickets", "position": [0, 0, 0], "second": [10, 0, 0]},
        {"name": "SOUND_Rain", "position": [50, 0, 0], "second": [50, 0, 30]},
        {"name": "DROPPOINT Hospital", "position": [0, 5, 0]},
        {"name": "DROPPOINT", "position": [0, 5, 0]},
        {"name": "droppoint  ", "position": [0, 5, 0]},
        {"name": "DROPPOINT", "position": [5000, 0, 5000]},
    ],
})


def damaged_objects(name, change):
    world = json.loads(json.dumps(OBJECT_WORLD))
    change(world)
    return name, dcw.write_dcw(world)


def object_worlds(maps: pathlib.Path):
    write(maps / "Objects.DCW", dcw.write_dcw(OBJECT_WORLD))
    write(maps / "Lights.DCW", dcw.write_dcw(LIGHTS_WORLD))
    cases = [
        damaged_objects("FarMesh.DCW", lambda w: w["static_objects"].append({"name": "X", "mesh": 4})),
        damaged_objects("FarMaterial.DCW", lambda w: w["meshes"][0]["ranges"].append([0, 11, 0, 3, 0, 3])),
        damaged_objects("FarRecord.DCW", lambda w: w["meshes"][0]["ranges"].append([2, 0, 0, 3, 0, 3])),
        damaged_objects("LongRange.DCW", lambda w: w["meshes"][0]["ranges"].append([0, 0, 0, 3, 1, 3])),
        damaged_objects("StreamRange.DCW", lambda w: w["meshes"][1]["ranges"].append([-1, 0, 2, 2, 0, 3])),
    ]
    for name, data in cases:
        write(maps / name, data)
    many = dict(GEOMETRY_WORLD, meshes=[mesh([1, 1, 1], [])] * 1500,
                static_objects=[{"name": f"P{i}", "mesh": i} for i in range(1000)])
    write(maps / "Many.DCW", dcw.write_dcw(many))


# Wheels 8 units high, a body from y 2 to 10 whose bottom the wheels' height
# (y 3) raises; rocket tapes 1 and 3 without 2, a mine tape in lower case.
PROBE_CAR = {
    "materials": {"Paint": {"shader": "dcMesh.DCS"}},
    "parts": {
        "CAR_BODY": [{"box": {"centre": [0, 5, 0], "size": [10, 6, 30]}}],
        "CAR_CABIN": [{"box": {"centre": [0, 9, 2], "size": [8, 2, 10]}}],
        "WHEEL": [{"cylinder": {"centre": [0, 0, 0], "radius": 4, "length": 2, "axis": "x", "segments": 8}}],
    },
    "nodes": [
        {"name": "CAR_BODY", "part": "CAR_BODY"},
        {"name": "CAR_CABIN", "part": "CAR_CABIN"},
        {"name": "WHEEL_1", "part": "WHEEL", "position": [-6, 3, -10]},
        {"name": "WHEEL_2", "part": "WHEEL", "position": [6, 3, -10]},
        {"name": "WHEEL_3", "part": "WHEEL", "position": [-6, 3, 10]},
        {"name": "WHEEL_4", "part": "WHEEL", "position": [6, 3, 10]},
    ],
    "tapes": [
        {"name": "Rocket_1", "position": [-4, 10, 0], "second": [-4, 10, -5]},
        {"name": "ROCKET_3", "position": [4, 10, 0], "second": [4, 15, 0]},
        {"name": "ROCKET_99999999999", "position": [0, 10, 0], "second": [0, 10, -1]},
        {"name": "mine", "position": [0, 2, 15]},
        {"name": "DRIVER", "position": [-2, 6, 0]},
        {"name": "HEADLIGHT_L", "position": [-3, 5, -15]},
        {"name": "HEADLIGHT_R", "position": [3, 5, -15]},
        {"name": "COP_BLUE", "position": [0, 11, 0], "second": [0, 11, 3]},
    ],
}


def vehicles(out: pathlib.Path):
    write(out / "Vehicles" / "PROBE" / "Chassis1.DCM", models.build_model(PROBE_CAR, root / "data" / "Models"))
    wheelless = dict(PROBE_CAR, nodes=[node for node in PROBE_CAR["nodes"] if node["part"] != "WHEEL"])
    write(out / "Vehicles" / "WHEELLESS" / "Chassis1.DCM", models.build_model(wheelless, root / "data" / "Models"))


# The probe car with the tapes only the catalogue reads, and more mounts.
CATALOGUE_CAR = dict(PROBE_CAR, tapes=PROBE_CAR["tapes"] + [
    {"name": "CarSelectCam", "position": [30, 10, -40], "second": [30, 10, -41]},
    {"name": "DOORPOS2", "position": [-7, 2, 3]},
    {"name": "FLAMER1", "position": [0, 4, -16], "second": [0, 4, -20]},
    {"name": "FLAMER2", "position": [0, 5, -16], "second": [0, 5, -20]},
    {"name": "TRAIL_1", "position": [-5, 8, 15]},
    {"name": "CHAINGUN", "position": [0, 7, -15], "second": [0, 7, -19]},
    {"name": "BOOST1", "position": [-3, 3, 15]},
    {"name": "COP_RED_1", "position": [-2, 11, 0], "second": [-2, 11, 4]},
    {"name": "MISSILE", "position": [0, 12, 0], "second": [0, 12, -2]},
])


def wheel(radius):
    return {"materials": {"Tyre": {"shader": "dcMesh.DCS"}},
            "parts": {"WHEEL": [{"cylinder": {"centre": [0, 0, 0], "radius": radius, "length": 2, "axis": "x",
                                              "segments": 8}}]}}


def catalogue(out: pathlib.Path):
    folder = root / "data" / "Models"
    street = out / "Vehicles" / "PROBE"
    write(street / "Chassis1.DCM", models.build_model(CATALOGUE_CAR, folder))
    write(street / "FrontWheel.DCM", models.build_model(wheel(4), folder))
    write(street / "BackWheel.DCM", models.build_model(wheel(3), folder))
    write(street / "1.CAM", cam.write_cam({"offset": [0, 8, 0], "distance": 55, "turn_rate": 6,
                                           "show_target": False, "full_rotation": True}))
    traffic = out / "Vehicles" / "Traffic" / "PROBE"
    write(traffic / "Chassis1.DCM", models.build_model(CATALOGUE_CAR, folder))
    write(traffic / "Wheel.DCM", models.build_model(wheel(4), folder))
    write(out / "Misc" / "English.DCL", language.write_dcl({50200: "7 fast", 50201: "1.5", 50205: "-2.25"}))


def main():
    out = pathlib.Path(sys.argv[1])
    worlds(out)
    gore_free_language(out)
    damaged_skies(out / "skies")
    sounds(out / "sounds")
    vehicles(out / "vehicles")
    catalogue(out / "catalogue")
    (out / "written").write_text("game fixtures\n")


if __name__ == "__main__":
    main()

