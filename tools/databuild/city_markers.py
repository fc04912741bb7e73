"""The named points of a generated city: where the test mission starts,
delivery points on the pavements (the game names each after the street it
faces), and ambient sounds (birds over the park, the hum of the streets at
the centre), each heard within the distance to its second point."""

DROP_POINTS = 4            # at most, on blocks of buildings spread over the city
BIRDS_REACH = 150.0
TRAFFIC_REACH = 600.0


def start_marker(plan):
    """On the lane heading +x along the middle street, mid-block, facing along it."""
    s = plan.settings
    z = plan.street_z[len(plan.street_z) // 2] - s.lane_offset
    x = (plan.street_x[0] + plan.street_x[1]) / 2
    return {"name": "START", "position": [x, 0.0, z], "second": [x + 100.0, 0.0, z]}


def drop_points(plan):
    """Mid-way along the south kerb of every few blocks of buildings, on the pavement."""
    s = plan.settings
    built = [block for block in plan.blocks if block.use == "buildings"]
    step = max(len(built) // DROP_POINTS, 1)
    points = []
    for block in built[::step][:DROP_POINTS]:
        x0, z0, x1, _ = block.rect
        position = [(x0 + x1) / 2, s.kerb_height, z0 + s.pavement_width / 2]
        points.append({"name": "DROPPOINT", "position": position, "second": position})
    return points


def ambient_sounds(plan):
    sounds = []
    for block in plan.blocks:
        if block.use == "park":
            x0, z0, x1, z1 = block.rect
            centre = [(x0 + x1) / 2, 20.0, (z0 + z1) / 2]
            sounds.append({"name": "SOUND_Birds", "position": centre,
                           "second": [centre[0] + BIRDS_REACH, centre[1], centre[2]]})
    middle_x = (plan.street_x[0] + plan.street_x[-1]) / 2
    middle_z = (plan.street_z[0] + plan.street_z[-1]) / 2
    sounds.append({"name": "SOUND_Traffic", "position": [middle_x, 10.0, middle_z],
                   "second": [middle_x + TRAFFIC_REACH, 10.0, middle_z]})
    return sounds


def city_markers(plan):
    return [start_marker(plan)] + drop_points(plan) + ambient_sounds(plan)
