"""The vehicle writers: a ".DCC" reads back field by field as the game walks
version 6, a ".CAM" holds its 49 bytes with the eye where its turns put it,
a ".TXC" stores what reads back to the given numbers, and the sample data
makes every file of both cars."""

import json
import pathlib
import struct
import sys
import unittest

root = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(root / "tools"))

from databuild import build, cam, dcc, txc  # noqa: E402
from databuild.geometry3d import quaternion_rows  # noqa: E402


class Reader:
    def __init__(self, data: bytes):
        self.data, self.at = data, 0

    def take(self, fmt):
        size = struct.calcsize(fmt)
        if self.at + size > len(self.data):
            raise ValueError(f"the file ends at {len(self.data)}, {size} bytes wanted at {self.at}")
        self.at += size
        return struct.unpack_from(fmt, self.data, self.at - size)

    def floats(self, n):
        return list(self.take("<%df" % n))

    def int(self):
        return self.take("<i")[0]


class VehicleTypeFile(unittest.TestCase):
    def test_version_6_reads_back_to_its_last_byte(self):
        vehicle = {"display_index": 3, "gear_ratios": [-3.0, 0.0, 3.0, 2.0, 1.0], "final_drive": 3.5,
                   "drive_efficiency": 0.75, "torque_curve": [100, 200, 150], "mass": 1200.0, "info_d": 4}
        r = Reader(dcc.write_dcc(vehicle))
        self.assertEqual(r.take("<3s")[0], b"DC2")
        r.take("<2i")
        self.assertEqual([r.int() for _ in range(3)], [6, 3, 3])   # version, display index, gears
        self.assertEqual(r.floats(r.int()), vehicle["gear_ratios"])
        self.assertEqual(r.floats(2), [3.5, 0.75])
        self.assertEqual(r.floats(r.int()), [100, 200, 150])
        numbers = r.floats(len(dcc.FIELDS))
        self.assertEqual(numbers[5], 1200.0)    # mass
        self.assertEqual(numbers[-1], 1200.0)   # the info mass follows it
        self.assertAlmostEqual(numbers[11], 0.66, places=6)   # default steering lock
        self.assertEqual(r.int(), 4)
        self.assertEqual(r.at, len(r.data))

    def test_a_vehicle_without_forward_gears_or_torque_is_refused(self):
        for broken in ({"gear_ratios": [-3, 0], "torque_curve": [1]}, {"gear_ratios": [-3, 0, 3], "torque_curve": []}):
            with self.assertRaises(ValueError):
                dcc.write_dcc(dict(broken, final_drive=1, drive_efficiency=1))


class CameraPresetFile(unittest.TestCase):
    def test_the_eye_stands_behind_and_above_after_its_turns(self):
        data = cam.write_cam({"offset": [0, 8, 0], "turns": [[[1, 0, 0], -30], [[0, 1, 0], 180]], "distance": 50})
        self.assertEqual(len(data), 49)
        r = Reader(data)
        self.assertEqual(r.take("<3s")[0], b"DC2")
        self.assertEqual(r.int(), 1)
        self.assertEqual(r.floats(3), [0, 8, 0])
        third = quaternion_rows(tuple(r.floats(4)))[2]
        for got, wanted in zip(third, (0.0, 0.5, -0.866025)):
            self.assertAlmostEqual(got, wanted, places=5)
        self.assertEqual(r.floats(2), [50, 1])
        self.assertEqual(r.take("<2B"), (1, 0))
        self.assertEqual(r.floats(1), [75])


class CatalogueFile(unittest.TestCase):
    def test_stored_numbers_read_back_to_the_given_ones(self):
        values = [float(i) for i in range(1, 17)]
        entry = {"display_name": "Probe", "values": values, "front_wheels": [[-6, 3, -10], [6, 3, -10]],
                 "rear_wheels": [[-6, 3, 10], [6, 3, 10]],
                 "rear_lamps": [{"position": [1, 2, 3], "colour": [-1, 0, 127]}]}
        r = Reader(txc.write_txc(entry))
        self.assertEqual(r.take("<3si")[0:2], (b"TX ", 48))
        self.assertEqual(r.take("<i5s2B")[1], b"Probe")
        self.assertAlmostEqual(r.floats(1)[0] * 1.5, 1.0, places=6)
        self.assertEqual(r.floats(7), values[1:8])
        self.assertEqual(r.int(), 9)
        v10, v11, v15 = r.floats(3)
        r.take("<B")
        v14, v16, v12, v13 = r.floats(4)
        for got, wanted in ((v10, 10), (v11 * 1.5, 11), (v15 * 0.1, 15), (v14 * 0.2, 14), (v16, 16), (v12 * 5, 12),
                            (v13, 13)):
            self.assertAlmostEqual(got, wanted, places=5)
        r.floats(3)
        for _ in range(2):
            self.assertEqual(r.int(), 1)
            r.floats(6)
        self.assertEqual([r.int()], [0])
        self.assertEqual(r.int(), 1)
        self.assertEqual(r.floats(3), [1, 2, 3])
        self.assertEqual(r.take("<3b"), (-1, 0, 127))
        self.assertEqual(r.int(), 0)
        self.assertEqual(r.at, len(r.data))


class SampleCars(unittest.TestCase):
    def test_both_cars_come_with_every_file(self):
        names = {name for name, _ in build.collect(root / "data")}
        for car in ("KESTREL", "POLICE"):
            wanted = [f"Vehicles\\{car}.DCC", f"Vehicles\\{car}.TXC", f"Vehicles\\{car}\\Chassis1.DCM",
                      f"Vehicles\\{car}\\Stuk.DCM", f"Vehicles\\{car}\\FrontWheel.DCM",
                      f"Vehicles\\{car}\\BackWheel.DCM", f"Vehicles\\{car}\\C1.DCT"]
            wanted += [f"Vehicles\\{car}\\{d}.CAM" for d in range(10)]
            wanted += [f"Vehicles\\{car}\\{s}.WAV" for s in ("Engine_1", "Engine_2", "Skid", "Gear", "Horn", "Idle",
                                                             "Engine", "Slip")]
            self.assertEqual([name for name in wanted if name not in names], [], car)
        self.assertEqual(sorted(n for n in names if n.startswith("Audio\\Crash")),
                         [f"Audio\\Crash{d}_1.WAV" for d in range(6)])

    def test_the_cars_differ_in_weight_and_handling(self):
        folder = root / "data" / "Vehicles"
        cars = [json.loads((folder / f"{car}.vehicle").read_text()) for car in ("KESTREL", "POLICE")]
        for field in ("mass", "max_steer_angle", "brake_force"):
            self.assertNotEqual(cars[0][field], cars[1][field], field)


if __name__ == "__main__":
    unittest.main()
