"""The path networks of a planned city, as node lists whose links are
indices into the same list:

- traffic: one lane each way on every street, driven on the right; each
  lane a chain of nodes from one junction to the next, and at a junction
  every lane arriving links to every lane leaving except the way back
  (allowed at the grid's corners). The nodes where lanes arrive at a
  junction carry "arrives" (the junction and the lane's heading); those
  arriving at crossings of four streets take the lowest ids, which traffic
  lights name in three digits;
- roads: the street grid itself, one node per junction, linked both ways;
- pedestrians: round each block on the middle of its pavement, and across
  the streets on the zebra crossings to the next block's corners;
- decoration routes: loops in the sky, one round the city and one over the
  park, each node linked to the next.
"""

import math

# A lane node every this many units at most between the junctions.
LANE_NODE_SPACING = 250.0
LANE_SPEED_WEIGHT = 1.0
SKY_LOOP_NODES = 12
BLIMP_HEIGHT, BLIMP_SPEED = 900.0, 120.0
BIRD_HEIGHT, BIRD_SPEED = 250.0, 160.0


def _right_of(direction):
    """The right-hand side of a heading on the ground (x right, z ahead)."""
    dx, dz = direction
    return dz, -dx


class Network:
    def __init__(self):
        self.nodes = []

    def add(self, position, **fields) -> int:
        self.nodes.append(dict(fields, position=[float(c) for c in position], links=[]))
        return len(self.nodes) - 1

    def link(self, a: int, b: int, both_ways=False):
        if b not in self.nodes[a]["links"]:
            self.nodes[a]["links"].append(b)
        if both_ways:
            self.link(b, a)


def _junctions(plan):
    return {(i, k): (x, z) for i, x in enumerate(plan.street_x) for k, z in enumerate(plan.street_z)}


def _neighbours(plan, i, k):
    for di, dk in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        if 0 <= i + di < len(plan.street_x) and 0 <= k + dk < len(plan.street_z):
            yield i + di, k + dk


def traffic_network(plan):
    s = plan.settings
    net = Network()
    junctions = _junctions(plan)
    arriving, leaving = {}, {}  # junction -> lane end nodes
    for a, (ax, az) in sorted(junctions.items()):
        for b in _neighbours(plan, *a):
            bx, bz = junctions[b]
            direction = ((bx > ax) - (bx < ax), (bz > az) - (bz < az))
            rx, rz = _right_of(direction)
            start = (ax + direction[0] * s.road_width / 2 + rx * s.lane_offset,
                     az + direction[1] * s.road_width / 2 + rz * s.lane_offset)
            length = abs(bx - ax) + abs(bz - az) - s.road_width
            steps = max(1, int(-(-length // LANE_NODE_SPACING)))
            chain = [net.add((start[0] + direction[0] * length * t / steps, 0.0,
                              start[1] + direction[1] * length * t / steps),
                             weight=LANE_SPEED_WEIGHT, tag=0)
                     for t in range(steps + 1)]
            for here, ahead in zip(chain, chain[1:]):
                net.link(here, ahead)
            leaving.setdefault(a, []).append((b, chain[0]))
            arriving.setdefault(b, []).append((a, chain[-1]))
            net.nodes[chain[-1]]["arrives"] = (b, direction)
    for junction, lanes_in in arriving.items():
        # A corner of the grid allows turning back too, or the lanes round a
        # single block would be two loops that never meet.
        corner = len(leaving[junction]) <= 2
        for came_from, end in lanes_in:
            for going_to, start in leaving[junction]:
                if corner or going_to != came_from:
                    net.link(end, start)
    _number_arrivals_first(net.nodes)
    return net.nodes


def _number_arrivals_first(nodes):
    """Lanes arriving at crossings of four streets first, then the other
    arrivals, then the rest."""
    arrivals = {}
    for node in nodes:
        if "arrives" in node:
            arrivals[node["arrives"][0]] = arrivals.get(node["arrives"][0], 0) + 1

    def rank(i):
        junction = nodes[i].get("arrives", (None,))[0]
        return (0 if arrivals.get(junction, 0) >= 4 else 1 if junction is not None else 2, i)

    order = sorted(range(len(nodes)), key=rank)
    for number, index in enumerate(order, start=1):
        nodes[index]["id"] = number


def road_network(plan):
    net = Network()
    junctions = _junctions(plan)
    index = {}
    for key, (x, z) in sorted(junctions.items()):
        index[key] = net.add((x, 0.0, z), id=len(net.nodes) + 1, weight=1.0, tag=0)
    for key in sorted(junctions):
        for other in _neighbours(plan, *key):
            net.link(index[key], index[other])
    return net.nodes


def pedestrian_network(plan):
    s = plan.settings
    net = Network()
    inset = s.pavement_width / 2
    corners = {}  # (block column, row, corner x side, corner z side) -> node
    for block in plan.blocks:
        x0, z0, x1, z1 = block.rect
        xs, zs = (x0 + inset, (x0 + x1) / 2, x1 - inset), (z0 + inset, (z0 + z1) / 2, z1 - inset)
        ring = [(0, 0), (1, 0), (2, 0), (2, 1), (2, 2), (1, 2), (0, 2), (0, 1)]
        nodes = [net.add((xs[i], s.kerb_height, zs[k])) for i, k in ring]
        for here, ahead in zip(nodes, nodes[1:] + nodes[:1]):
            net.link(here, ahead, both_ways=True)
        for (i, k), node in zip(ring, nodes):
            if i != 1 and k != 1:
                corners[(block.column, block.row, i // 2, k // 2)] = node
    for (column, row, side_x, side_z), node in corners.items():
        across_x = corners.get((column + 1, row, 0, side_z)) if side_x == 1 else None
        across_z = corners.get((column, row + 1, side_x, 0)) if side_z == 1 else None
        for other in (across_x, across_z):
            if other is not None:
                net.link(node, other, both_ways=True)
    return net.nodes


def _sky_loop(net, centre, radius, height, speed):
    loop = [net.add((centre[0] + radius * math.cos(2 * math.pi * i / SKY_LOOP_NODES), height,
                     centre[1] + radius * math.sin(2 * math.pi * i / SKY_LOOP_NODES)), speed=speed)
            for i in range(SKY_LOOP_NODES)]
    for here, ahead in zip(loop, loop[1:] + loop[:1]):
        net.link(here, ahead)
    return loop


def decoration_routes(plan):
    """(route nodes, decorations): a blimp round the city, birds over the park."""
    net = Network()
    low, high = plan.extent
    blimp = _sky_loop(net, (0.0, 0.0), (high - low) * 0.3, BLIMP_HEIGHT, BLIMP_SPEED)
    park = next(block for block in plan.blocks if block.use == "park")
    x0, z0, x1, z1 = park.rect
    _sky_loop(net, ((x0 + x1) / 2, (z0 + z1) / 2), (x1 - x0) * 0.35, BIRD_HEIGHT, BIRD_SPEED)
    return net.nodes, [{"model": 0, "route": blimp}]
