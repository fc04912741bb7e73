"""The floor plan of a generated city: a square grid of streets around
blocks, each block a pavement ring around its lot, the lot given to
buildings, an open square or the park. Everything is drawn from one seed, so
the same settings always give the same city.

Lengths are world units (0.1 m); y is up. Street lines run along x and z at
a fixed pitch, centred on the origin.
"""

import random
from dataclasses import dataclass, field

FLOOR_HEIGHT = 35.0


@dataclass(frozen=True)
class CitySettings:
    seed: int = 1
    blocks: tuple = (2, 2)
    block_size: float = 700.0
    road_width: float = 100.0
    lane_offset: float = 25.0
    pavement_width: float = 40.0
    kerb_height: float = 2.0
    margin: float = 300.0
    squares: int = 1
    max_floors: int = 24

    @property
    def pitch(self) -> float:
        return self.block_size + self.road_width


@dataclass
class Building:
    """A box standing on its block: floor corners (x0, z0, x1, z1), base
    height, roof height, facade material name."""
    rect: tuple
    base: float
    top: float
    facade: str


@dataclass
class Block:
    column: int
    row: int
    rect: tuple  # kerb line: (x0, z0, x1, z1)
    use: str  # "buildings", "square" or "park"
    buildings: list = field(default_factory=list)
    trees: list = field(default_factory=list)  # (x, z, crown size)
    ramps: list = field(default_factory=list)  # (x, z, +1 rising toward +x or -1 toward -x)


@dataclass
class CityPlan:
    settings: CitySettings
    street_x: list  # x of the street centre lines running along z
    street_z: list  # z of the street centre lines running along x
    blocks: list
    street_names_x: list
    street_names_z: list

    @property
    def extent(self):
        """(low, high) of the city's ground along x and z, margin included."""
        s = self.settings
        low = min(self.street_x[0], self.street_z[0]) - s.road_width / 2 - s.margin
        high = max(self.street_x[-1], self.street_z[-1]) + s.road_width / 2 + s.margin
        return low, high


FACADES = ("BrickFacade", "ConcreteFacade", "GlassFacade")
STREET_WORDS = ("Harbour", "Mill", "Church", "Station", "Market", "King", "Queen", "Bridge", "Castle", "Garden",
                "Elm", "Oak", "Union", "Canal", "Tower", "River", "North", "South", "Hill", "Park")


def street_lines(count: int, pitch: float):
    return [(i - count / 2) * pitch for i in range(count + 1)]


def street_names(rng: random.Random, count: int, kind: str):
    words = list(STREET_WORDS)
    rng.shuffle(words)
    return [f"{words[i % len(words)]}{' ' + str(i // len(words) + 1) if i >= len(words) else ''} {kind}"
            for i in range(count)]


def _block_uses(rng: random.Random, columns: int, rows: int, squares: int):
    """The park at the middle, a few squares elsewhere, buildings on the rest."""
    uses = {(c, r): "buildings" for c in range(columns) for r in range(rows)}
    park = (columns // 2, rows // 2)
    uses[park] = "park"
    others = [cell for cell in sorted(uses) if cell != park]
    for cell in rng.sample(others, min(squares, len(others))):
        uses[cell] = "square"
    return uses


def _centrality(block: Block, plan_half: float) -> float:
    """1 at the city centre, 0 at its edge."""
    x0, z0, x1, z1 = block.rect
    distance = max(abs(x0 + x1), abs(z0 + z1)) / 2
    return max(0.0, 1.0 - distance / max(plan_half, 1.0))


def _split(low: float, high: float, parts: int, gap: float):
    width = (high - low - gap * (parts - 1)) / parts
    return [(low + i * (width + gap), low + i * (width + gap) + width) for i in range(parts)]


def _fill_buildings(rng: random.Random, block: Block, settings: CitySettings, centrality: float):
    x0, z0, x1, z1 = block.rect
    inset = settings.pavement_width
    columns, rows = rng.randint(1, 3), rng.randint(1, 3)
    gap = rng.choice((0.0, 20.0))
    tallest = 3 + (settings.max_floors - 3) * centrality ** 1.5
    for bx0, bx1 in _split(x0 + inset, x1 - inset, columns, gap):
        for bz0, bz1 in _split(z0 + inset, z1 - inset, rows, gap):
            floors = rng.randint(2, max(2, int(tallest)))
            block.buildings.append(Building((bx0, bz0, bx1, bz1), settings.kerb_height,
                                            settings.kerb_height + floors * FLOOR_HEIGHT, rng.choice(FACADES)))


def _plant_trees(rng: random.Random, block: Block, settings: CitySettings):
    x0, z0, x1, z1 = block.rect
    inset = settings.pavement_width + 40
    for _ in range(12):
        block.trees.append((rng.uniform(x0 + inset, x1 - inset), rng.uniform(z0 + inset, z1 - inset),
                            rng.uniform(35, 60)))


def _place_ramps(block: Block):
    """Two ramps facing each other across the square, for jumps."""
    x0, z0, x1, z1 = block.rect
    cx, cz = (x0 + x1) / 2, (z0 + z1) / 2
    quarter = (x1 - x0) / 4
    block.ramps += [(cx - quarter, cz, 1), (cx + quarter, cz, -1)]


def plan_city(settings: CitySettings) -> CityPlan:
    rng = random.Random(settings.seed)
    columns, rows = settings.blocks
    if columns < 1 or rows < 1:
        raise ValueError(f"a city needs at least one block each way, not {columns} x {rows}")
    street_x, street_z = street_lines(columns, settings.pitch), street_lines(rows, settings.pitch)
    uses = _block_uses(rng, columns, rows, settings.squares)
    half_road = settings.road_width / 2
    plan_half = max(street_x[-1], street_z[-1])
    blocks = []
    for c in range(columns):
        for r in range(rows):
            rect = (street_x[c] + half_road, street_z[r] + half_road, street_x[c + 1] - half_road,
                    street_z[r + 1] - half_road)
            block = Block(c, r, rect, uses[(c, r)])
            if block.use == "buildings":
                _fill_buildings(rng, block, settings, _centrality(block, plan_half))
            elif block.use == "park":
                _plant_trees(rng, block, settings)
            else:
                _place_ramps(block)
            blocks.append(block)
    return CityPlan(settings, street_x, street_z, blocks, street_names(rng, len(street_x), "Street"),
                    street_names(rng, len(street_z), "Road"))
