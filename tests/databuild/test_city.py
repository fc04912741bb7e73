"""The generated city: the same seed gives the same file, its networks hang
together inside the world box, every index stays within its table, and the
written ".DCW" reads back chunk by chunk to its last byte."""

import pathlib
import re
import struct
import sys
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "tools"))

from databuild import city, city_plan  # noqa: E402
from databuild.city_plan import CitySettings  # noqa: E402
from databuild.geometry3d import quaternion_rows  # noqa: E402

SIZES = [(1, 1), (2, 2), (3, 2), (6, 6)]


class WorldReader:
    """Reads a ".DCW" the way the game's loader walks it, into plain counts
    and records, without any help from the writer."""

    def __init__(self, data: bytes):
        self.data, self.at = data, 0

    def take(self, size):
        if self.at + size > len(self.data):
            raise ValueError(f"the file ends at {len(self.data)}, {size} bytes wanted at {self.at}")
        self.at += size
        return self.data[self.at - size:self.at]

    def ints(self, n):
        return list(struct.unpack("<%di" % n, self.take(4 * n)))

    def int(self):
        return self.ints(1)[0]

    def floats(self, n):
        return list(struct.unpack("<%df" % n, self.take(4 * n)))

    def text(self):
        return self.take(self.int()).decode("latin-1")

    def counted(self, read_one):
        return [read_one() for _ in range(self.int())]

    def links(self):
        return self.ints(self.int())

    def road_node(self):
        node_id, position, weight = self.int(), self.floats(3), self.floats(1)
        return {"id": node_id, "position": position, "weight": weight, "links": self.links(), "tag": self.int()}

    def geometry_record(self):
        elements = self.counted(lambda: self.take(8))
        vertex_count = self.int()
        streams = []
        for _ in range(self.int()):
            dynamic, stride = self.take(1)[0], self.int()
            streams.append((dynamic, stride, self.take(stride * vertex_count)))
        return {"elements": elements, "vertex_count": vertex_count, "streams": streams, "indices": self.links()}

    def parameter(self):
        name, kind = self.text(), self.int()
        return (name, self.text()) if kind == 1 else (name, self.take(self.int()))

    def placement(self):
        placed = {"name": self.text(), "unused": self.text(), "position": self.floats(3),
                  "rotation": self.floats(4)}
        self.take(12)
        placed["mesh"] = self.int()
        return placed

    def static_object(self):
        placed = self.placement()
        self.take(8)
        return placed

    def dynamic_object(self):
        placed = self.placement()
        placed["collision"] = self.int()
        if placed["collision"] != 0:
            placed["half"] = self.floats(6)[3:]
            placed["behaviour"] = self.int()
        return placed

    def read(self):
        if self.take(3) != b"DC2":
            raise ValueError("no DC2 magic")
        _, kind, _ = self.ints(3)
        world = {"kind": kind}
        world["collision_vertices"] = self.counted(lambda: self.floats(3))
        world["triangles"] = self.counted(lambda: self.ints(4))
        world["box"] = self.floats(6)
        world["traffic"] = self.counted(self.road_node)
        world["roads"] = self.counted(self.road_node)
        world["pedestrians"] = self.counted(lambda: {"position": self.floats(3), "links": self.links()})
        world["routes"] = self.counted(lambda: {"position": self.floats(3), "speed": self.floats(1),
                                                "links": self.links()})
        world["decorations"] = self.counted(lambda: {"model": self.int(), "route": self.links()})
        world["streaming_elements"] = self.counted(lambda: self.take(8))
        world["streaming_vertices"] = self.counted(lambda: self.floats(8))
        world["streaming_indices"] = self.links()
        world["geometry"] = self.counted(self.geometry_record)
        world["materials"] = self.counted(lambda: {"effect": self.text(),
                                                   "parameters": self.counted(self.parameter)})
        world["meshes"] = self.counted(lambda: {"box": self.floats(6), "world_space": self.int(),
                                                "ranges": self.counted(lambda: self.ints(6))})
        world["static_objects"] = self.counted(self.static_object)
        world["dynamic_objects"] = self.counted(self.dynamic_object)
        world["markers"] = self.counted(lambda: {"name": self.text(), "position": self.floats(3),
                                                 "second": self.floats(3)})
        world["rest"] = len(self.data) - self.at
        return world


def written(blocks, seed=5):
    return city.dcw.write_dcw(city.generate(CitySettings(seed=seed, blocks=blocks)))


def reachable(nodes, start=0, reverse=False):
    successors = [[] for _ in nodes]
    for i, node in enumerate(nodes):
        for j in node["links"]:
            if reverse:
                successors[j].append(i)
            else:
                successors[i].append(j)
    seen, todo = {start}, [start]
    while todo:
        for j in successors[todo.pop()]:
            if j not in seen:
                seen.add(j)
                todo.append(j)
    return seen


def inside(box, position, slack=1e-3):
    centre, half = box[:3], box[3:]
    return all(abs(p - c) <= h + slack for p, c, h in zip(position, centre, half))


class CityTest(unittest.TestCase):
    def test_the_seed_alone_decides_the_file(self):
        self.assertEqual(written((3, 2), seed=9), written((3, 2), seed=9))
        self.assertNotEqual(written((3, 2), seed=9), written((3, 2), seed=10))

    def test_the_written_file_reads_back_to_its_last_byte(self):
        for blocks in SIZES:
            with self.subTest(blocks=blocks):
                description = city.generate(CitySettings(seed=2, blocks=blocks))
                world = WorldReader(city.dcw.write_dcw(description)).read()
                self.assertEqual(world["kind"], 4)
                self.assertEqual(world["rest"], 0)
                for key, read_key in (("traffic", "traffic"), ("roads", "roads"), ("pedestrians", "pedestrians"),
                                      ("decoration_routes", "routes"), ("geometry", "geometry"),
                                      ("materials", "materials"), ("meshes", "meshes"),
                                      ("static_objects", "static_objects"), ("dynamic_objects", "dynamic_objects")):
                    self.assertEqual(len(world[read_key]), len(description[key]), key)
                self.assertEqual(len(world["triangles"]), len(description["collision"]["triangles"]))
                names = [m["name"] for m in world["markers"]]
                self.assertEqual(names[0], "START")
                self.assertEqual(names[-2:], ["SOUND_Birds", "SOUND_Traffic"])

    def test_delivery_points_stand_within_reach_of_a_street(self):
        settings = CitySettings(seed=2, blocks=(4, 3))
        plan = city_plan.plan_city(settings)
        points = [m for m in city.generate(settings)["markers"] if m["name"] == "DROPPOINT"]
        self.assertTrue(points)
        # The game looks for the street's name within 100 units of the point.
        reach = settings.road_width / 2 + settings.pavement_width
        self.assertLess(reach, 100.0)
        for point in points:
            x, _, z = point["position"]
            nearest = min([abs(x - sx) for sx in plan.street_x] + [abs(z - sz) for sz in plan.street_z])
            self.assertLessEqual(nearest, reach)

    def test_every_index_lies_within_its_table(self):
        for blocks in SIZES:
            with self.subTest(blocks=blocks):
                world = WorldReader(written(blocks)).read()
                vertices, statics = len(world["collision_vertices"]), len(world["static_objects"])
                for a, b, c, owner in world["triangles"]:
                    self.assertTrue(all(0 <= v < vertices for v in (a, b, c)))
                    self.assertTrue(0 <= owner < statics)
                for name in ("traffic", "roads", "pedestrians", "routes"):
                    for node in world[name]:
                        self.assertTrue(all(0 <= j < len(world[name]) for j in node["links"]), name)
                for decoration in world["decorations"]:
                    self.assertGreaterEqual(len(decoration["route"]), 3)
                    self.assertTrue(all(0 <= j < len(world["routes"]) for j in decoration["route"]))
                for record in world["geometry"]:
                    # Records stay within what 16-bit indices address.
                    self.assertLessEqual(record["vertex_count"], 65536)
                    self.assertEqual(len(record["indices"]) % 3, 0)
                for mesh in world["meshes"]:
                    for geometry, material, first_vertex, vertex_count, first_index, index_count in mesh["ranges"]:
                        record = world["geometry"][geometry]
                        self.assertLess(material, len(world["materials"]))
                        self.assertLessEqual(first_vertex + vertex_count, record["vertex_count"])
                        self.assertLessEqual(first_index + index_count, len(record["indices"]))
                        used = record["indices"][first_index:first_index + index_count]
                        self.assertTrue(all(first_vertex <= i < first_vertex + vertex_count for i in used))
                for placed in world["static_objects"] + world["dynamic_objects"]:
                    self.assertLess(placed["mesh"], len(world["meshes"]))

    def test_the_networks_hang_together_inside_the_world_box(self):
        for blocks in SIZES:
            with self.subTest(blocks=blocks):
                world = WorldReader(written(blocks)).read()
                for name in ("traffic", "roads", "pedestrians"):
                    nodes = world[name]
                    self.assertTrue(nodes, name)
                    # Every node can be reached from every other, following the links.
                    self.assertEqual(len(reachable(nodes)), len(nodes), name)
                    self.assertEqual(len(reachable(nodes, reverse=True)), len(nodes), name)
                    self.assertTrue(all(inside(world["box"], node["position"]) for node in nodes), name)
                for node in world["routes"]:
                    self.assertTrue(inside(world["box"], node["position"]))
                    self.assertEqual(len(node["links"]), 1)
                for position in world["collision_vertices"]:
                    self.assertTrue(inside(world["box"], position))

    def test_traffic_keeps_to_the_right_of_each_street(self):
        settings = CitySettings(seed=4, blocks=(2, 2))
        plan, nodes = city.plan_city(settings), city.generate(settings)["traffic"]
        lanes = 0
        for node in nodes:
            x, _, z = node["position"]
            for j in node["links"]:
                nx, _, nz = nodes[j]["position"]
                # Along a lane one coordinate stays; its right-hand side is -z
                # heading +x and +x heading +z (y up, z ahead). A turn back at
                # a corner crosses from one lane to the other.
                if abs(nx - x) + abs(nz - z) <= 2 * settings.lane_offset:
                    continue
                if z == nz:
                    street = min(plan.street_z, key=lambda line: abs(line - z))
                    self.assertAlmostEqual(z - street, -settings.lane_offset * (1 if nx > x else -1))
                    lanes += 1
                elif x == nx:
                    street = min(plan.street_x, key=lambda line: abs(line - x))
                    self.assertAlmostEqual(x - street, settings.lane_offset * (1 if nz > z else -1))
                    lanes += 1
        self.assertGreater(lanes, 0)

    def test_the_city_has_its_parts(self):
        description = city.generate(CitySettings(seed=1, blocks=(4, 4), squares=2))
        names = [placed["name"] for placed in description["static_objects"]]
        self.assertTrue(any(name.startswith("ROAD_") and name.endswith(("Street", "Road")) for name in names))
        for prefix in ("GROUND", "JUNCTION", "BLOCK_", "BUILDING_", "RAMP_"):
            self.assertTrue(any(name.startswith(prefix) for name in names), prefix)
        plan = city.plan_city(CitySettings(seed=1, blocks=(4, 4), squares=2))
        self.assertEqual(sorted(block.use for block in plan.blocks).count("park"), 1)
        self.assertEqual(sorted(block.use for block in plan.blocks).count("square"), 2)
        heights = {round(b.top) for block in plan.blocks for b in block.buildings}
        self.assertGreater(len(heights), 3)

    def test_props_of_every_kind_stand_on_the_pavements(self):
        settings = CitySettings(seed=1, blocks=(4, 4), squares=2)
        world = WorldReader(city.dcw.write_dcw(city.generate(settings))).read()
        plan = city.plan_city(settings)
        kinds = {"DYNAMIC_BARREL_WOOD": 1, "DYNAMIC_PHONECELL": 1, "DYNAMIC_PARKMTRA": 1, "PION": 1, "BENCH": 0}
        seen = set()
        for prop in world["dynamic_objects"]:
            if prop["name"].startswith(("BULB_", "TRAFFICLITE")):
                continue
            kind = next(k for k in kinds if prop["name"].startswith(k + "_"))
            seen.add(kind)
            self.assertEqual((prop["collision"], prop["behaviour"]), (1, kinds[kind]), prop["name"])
            mesh = world["meshes"][prop["mesh"]]
            # Centred on its own origin, not stored in world space, its box the prop's.
            self.assertEqual(mesh["box"][:3], [0.0, 0.0, 0.0])
            self.assertEqual(mesh["world_space"], 0)
            self.assertEqual(mesh["box"][3:], prop["half"])
            x, y, z = prop["position"]
            self.assertAlmostEqual(y - prop["half"][1], settings.kerb_height, places=4)
            # On the pavement ring of a block, inside its kerb line.
            on = [b for b in plan.blocks if b.rect[0] < x < b.rect[2] and b.rect[1] < z < b.rect[3]]
            self.assertEqual(len(on), 1, prop["name"])
            x0, z0, x1, z1 = on[0].rect
            self.assertLess(min(x - x0, x1 - x, z - z0, z1 - z), settings.pavement_width)
        self.assertEqual(seen, set(kinds))

    def test_street_lights_hang_over_the_streets_and_name_their_lanes(self):
        settings = CitySettings(seed=1, blocks=(4, 4))
        description = city.generate(settings)
        traffic = description["traffic"]
        by_id = {node["id"]: node for node in traffic}
        lights = [o for o in description["dynamic_objects"] if o["name"].startswith(("BULB_", "TRAFFICLITE"))]
        signals = [o for o in lights if o["name"].startswith("TRAFFICLITE")]
        self.assertEqual(len(lights) - len(signals), 4 * 4 * 4 * 2)   # two on each block side
        self.assertEqual(len(signals), 3 * 3 * 4)   # a light per lane at each crossing of four streets
        for light in lights:
            with self.subTest(light=light["name"]):
                rows = quaternion_rows(light["rotation"])
                arm = tuple(-c for c in rows[2])   # the arm reaches along the object's -z
                position = light["position"]
                match = re.fullmatch(r"TRAFFICLITE(\d{3})STATE(\d{2})BOX(\d{3})", light["name"])
                if match is None:
                    # Out over the street, away from the block the post stands on.
                    self.assertTrue(light["name"].startswith("BULB_"))
                    bulb_height = position[1] - 8.0
                    self.assertTrue(0 < bulb_height < 100)
                    plan = city.plan_city(settings)
                    block = next(b for b in plan.blocks if b.rect[0] <= position[0] <= b.rect[2] and
                                 b.rect[1] <= position[2] <= b.rect[3])
                    middle = ((block.rect[0] + block.rect[2]) / 2, (block.rect[1] + block.rect[3]) / 2)
                    self.assertGreater(arm[0] * (position[0] - middle[0]) + arm[2] * (position[2] - middle[1]), 0)
                    continue
                lane_end = by_id[int(match.group(3))]
                heading = lane_end["arrives"][1]
                self.assertEqual(int(match.group(2)), 0 if heading[0] else 1)
                # The lane it rules lies beyond the end of its arm.
                to_lane = (lane_end["position"][0] - position[0], lane_end["position"][2] - position[2])
                self.assertGreater(arm[0] * to_lane[0] + arm[2] * to_lane[1], 0)

    def test_a_city_four_times_as_large_still_fits_16_bit_records(self):
        description = city.generate(CitySettings(seed=7, blocks=(16, 16)))
        self.assertTrue(all(record["vertex_count"] <= 65536 for record in description["geometry"]))
        self.assertEqual(len(reachable(description["traffic"])), len(description["traffic"]))

    def test_bad_settings_are_refused_naming_the_file(self):
        for source, message in (('{"blocks": [0, 3]}', "at least one block"),
                                ('{"seed": 1, "colour": "red"}', "unknown city settings colour")):
            with self.subTest(source=source):
                with self.assertRaises(ValueError) as refused:
                    city.build_city(source, "Maps/Bad.city")
                self.assertIn("Maps/Bad.city: ", str(refused.exception))
                self.assertIn(message, str(refused.exception))

if __name__ == "__main__":
    unittest.main()
