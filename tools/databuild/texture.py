"""Textures drawn from a short description ("X.texture", JSON) into a .DCT:

    {"generator": "brick", "size": [128, 128], "format": "dxt1", "levels": 0, ...}

"levels" 0 keeps every mip level down to 1 x 1; "lod_bias" is optional. Each
generator reads its own settings (colours as [r, g, b] or [r, g, b, a], 0-255):

- checker: "cell" (pixels), "colors" (two colours).
- asphalt: "base", "grain" (how far a pixel strays), "speckles" (share of
  light stones), "seed".
- brick: "brick" ([width, height]), "mortar" (pixels), "color", "mortar_color",
  "variation", "seed"; every other row is shifted by half a brick.
- sky: "top", "horizon": a vertical gradient, steeper near the horizon.
- concrete: "base", "grain", "seed", and "slab" (pixels; 0 for none): a grey
  noise cut by darker joints into square slabs.
- grass: "base", "grain", "seed": green noise with lighter and darker blades.
- road: "base", "grain", "seed" as asphalt, then paint ("paint" colour):
  "edges" (distance of the two edge lines from the sides, pixels), "line"
  (their width) and a dashed centre line ("dash": share of each texture
  height painted). Across the road is u, along it v.
- stripes: "base", "grain", "seed" as asphalt, then "count" painted stripes
  ("paint") across u, each half a period wide: a pedestrian crossing.
- facade: a wall from another generator ("wall": a description without
  size), with a grid of "windows" ([columns, rows]), each window a "glass"
  rectangle ("window": [width, height] in pixels, centred in its cell, with a
  "frame" colour and "frame_width"). Glass darkens toward its top.
- spot: a round soft spot for particles, halos and decals: "color" at the
  centre, shading to "edge_color" (default the same) at the rim; alpha falls
  from 255 at the centre to 0 at the rim as (1 - r) ** "falloff" (r 0 to 1);
  "grain" (alpha noise, 0-255) with "seed" roughens it.
- band: a band across u for marks laid along v (skid marks): "color", its
  alpha "peak" (0-255) in the middle, falling to 0 over "edge" (share of the
  width) at each side; "grain" with "seed" roughens it along v as well.
- atlas: "background" and "cells": rectangles ("rect": [x, y, w, h]) with a
  "fill", a "border" colour and "border_width", for the menus to cut out.
"""

import json
import random

from .dct import write_dct


def _rgba(colour):
    return tuple(colour) + (255,) * (4 - len(colour))


def _clamp(value: float) -> int:
    return max(0, min(255, int(round(value))))


def checker(width, height, description):
    cell = description.get("cell", 8)
    colours = [_rgba(c) for c in description.get("colors", [[0, 0, 0], [255, 255, 255]])]
    return [colours[(x // cell + y // cell) % 2] for y in range(height) for x in range(width)]


def asphalt(width, height, description):
    rng = random.Random(description.get("seed", 1))
    base = description.get("base", [70, 70, 74])
    grain = description.get("grain", 20)
    speckles = description.get("speckles", 0.02)
    pixels = []
    for _ in range(width * height):
        shade = rng.uniform(-grain, grain)
        if rng.random() < speckles:
            shade += rng.uniform(40, 90)
        pixels.append(tuple(_clamp(c + shade) for c in base) + (255,))
    return pixels


def brick(width, height, description):
    rng = random.Random(description.get("seed", 1))
    brick_w, brick_h = description.get("brick", [32, 16])
    mortar = description.get("mortar", 2)
    colour = description.get("color", [150, 60, 40])
    mortar_colour = _rgba(description.get("mortar_color", [190, 185, 175]))
    variation = description.get("variation", 25)
    rows = (height + brick_h - 1) // brick_h
    columns = (width + brick_w - 1) // brick_w + 1
    tints = [[rng.uniform(-variation, variation) for _ in range(columns)] for _ in range(rows)]
    pixels = []
    for y in range(height):
        row, inside_y = divmod(y, brick_h)
        shift = brick_w // 2 if row % 2 else 0
        for x in range(width):
            column, inside_x = divmod(x + shift, brick_w)
            if inside_y < mortar or inside_x < mortar:
                pixels.append(mortar_colour)
                continue
            shade = tints[row][column % columns] + rng.uniform(-6, 6)
            pixels.append(tuple(_clamp(c + shade) for c in colour) + (255,))
    return pixels


def sky(width, height, description):
    top = description.get("top", [40, 90, 190])
    horizon = description.get("horizon", [200, 220, 240])
    pixels = []
    for y in range(height):
        t = (y / max(height - 1, 1)) ** 2
        row = tuple(_clamp(a + (b - a) * t) for a, b in zip(top, horizon)) + (255,)
        pixels.extend([row] * width)
    return pixels


def _noise(width, height, description, rng):
    base = description.get("base", [128, 128, 128])
    grain = description.get("grain", 12)
    return [tuple(_clamp(c + shade) for c in base) + (255,)
            for shade in (rng.uniform(-grain, grain) for _ in range(width * height))]


def concrete(width, height, description):
    rng = random.Random(description.get("seed", 1))
    pixels = _noise(width, height, dict({"base": [150, 148, 142], "grain": 10}, **description), rng)
    slab = description.get("slab", 0)
    if slab:
        for y in range(height):
            for x in range(width):
                if x % slab == 0 or y % slab == 0:
                    pixels[y * width + x] = tuple(_clamp(c * 0.7) for c in pixels[y * width + x][:3]) + (255,)
    return pixels


def grass(width, height, description):
    rng = random.Random(description.get("seed", 1))
    pixels = _noise(width, height, dict({"base": [70, 120, 45], "grain": 14}, **description), rng)
    for i in range(width * height // 6):
        index = rng.randrange(width * height)
        tint = rng.choice((-30, 30))
        pixels[index] = tuple(_clamp(c + tint) for c in pixels[index][:3]) + (255,)
    return pixels


def _paint(pixels, width, x0, x1, y0, y1, colour):
    for y in range(y0, y1):
        for x in range(max(x0, 0), min(x1, width)):
            pixels[y * width + x] = colour


def road(width, height, description):
    pixels = asphalt(width, height, description)
    paint = _rgba(description.get("paint", [230, 230, 220]))
    line = description.get("line", 2)
    edge = description.get("edges", 4)
    _paint(pixels, width, edge, edge + line, 0, height, paint)
    _paint(pixels, width, width - edge - line, width - edge, 0, height, paint)
    dash = int(height * description.get("dash", 0.5))
    centre = width // 2
    _paint(pixels, width, centre - line // 2, centre - line // 2 + line, 0, dash, paint)
    return pixels


def stripes(width, height, description):
    pixels = asphalt(width, height, description)
    paint = _rgba(description.get("paint", [230, 230, 220]))
    period = width / description.get("count", 6)
    for stripe in range(description.get("count", 6)):
        x0 = int(stripe * period + period / 4)
        _paint(pixels, width, x0, x0 + int(period / 2), 0, height, paint)
    return pixels


def facade(width, height, description):
    wall = description.get("wall", {})
    if wall.get("generator") not in GENERATORS:
        raise ValueError(f"a facade's wall has no known generator: {wall.get('generator')!r}")
    pixels = GENERATORS[wall["generator"]](width, height, wall)
    columns, rows = description.get("windows", [2, 2])
    window_w, window_h = description.get("window", [width // columns // 2, height // rows // 2])
    glass = description.get("glass", [60, 80, 110])
    frame = _rgba(description.get("frame", [220, 220, 215]))
    edge = description.get("frame_width", 1)
    cell_w, cell_h = width // columns, height // rows
    for row in range(rows):
        for column in range(columns):
            x0 = column * cell_w + (cell_w - window_w) // 2
            y0 = row * cell_h + (cell_h - window_h) // 2
            _paint(pixels, width, x0 - edge, x0 + window_w + edge, y0 - edge, y0 + window_h + edge, frame)
            for y in range(window_h):
                shade = 1.0 - 0.4 * (window_h - y) / window_h
                colour = tuple(_clamp(c * shade) for c in glass) + (255,)
                _paint(pixels, width, x0, x0 + window_w, y0 + y, y0 + y + 1, colour)
    return pixels


def spot(width, height, description):
    rng = random.Random(description.get("seed", 1))
    centre = description.get("color", [255, 255, 255])
    edge = description.get("edge_color", centre)
    falloff = description.get("falloff", 1.0)
    grain = description.get("grain", 0)
    pixels = []
    for y in range(height):
        for x in range(width):
            dx = (x + 0.5) / width * 2.0 - 1.0
            dy = (y + 0.5) / height * 2.0 - 1.0
            r = min(1.0, (dx * dx + dy * dy) ** 0.5)
            colour = tuple(_clamp(a + (b - a) * r) for a, b in zip(centre, edge))
            alpha = 255.0 * (1.0 - r) ** falloff
            if grain and alpha > 0:
                alpha += rng.uniform(-grain, grain)
            pixels.append(colour + (_clamp(alpha),))
    return pixels


def band(width, height, description):
    rng = random.Random(description.get("seed", 1))
    colour = tuple(description.get("color", [0, 0, 0]))
    peak = description.get("peak", 255)
    edge = max(description.get("edge", 0.2), 1e-6)
    grain = description.get("grain", 0)
    pixels = []
    for y in range(height):
        for x in range(width):
            u = (x + 0.5) / width
            alpha = peak * min(1.0, min(u, 1.0 - u) / edge)
            if grain and alpha > 0:
                alpha += rng.uniform(-grain, grain)
            pixels.append(colour + (_clamp(alpha),))
    return pixels


def atlas(width, height, description):
    pixels = [_rgba(description.get("background", [0, 0, 0, 0]))] * (width * height)
    for cell in description.get("cells", []):
        x0, y0, w, h = cell["rect"]
        if x0 < 0 or y0 < 0 or x0 + w > width or y0 + h > height:
            raise ValueError(f"atlas cell {cell['rect']} lies outside {width} x {height}")
        fill, border = _rgba(cell["fill"]), _rgba(cell.get("border", cell["fill"]))
        edge = cell.get("border_width", 0)
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                on_border = min(x - x0, y - y0, x0 + w - 1 - x, y0 + h - 1 - y) < edge
                pixels[y * width + x] = border if on_border else fill
    return pixels


GENERATORS = {"checker": checker, "asphalt": asphalt, "brick": brick, "sky": sky, "atlas": atlas,
              "concrete": concrete, "grass": grass, "road": road, "stripes": stripes, "facade": facade,
              "spot": spot, "band": band}


def render_texture(source: str, origin: str = "<texture>"):
    """The picture a description makes: (format, width, height, RGBA bytes, levels, LOD bias)."""
    description = json.loads(source)
    generator = GENERATORS.get(description.get("generator"))
    if generator is None:
        raise ValueError(f"{origin}: unknown generator {description.get('generator')!r}")
    width, height = description["size"]
    pixels = generator(width, height, description)
    rgba = bytes(channel for pixel in pixels for channel in pixel)
    return description.get("format", "argb32"), width, height, rgba, description.get("levels", 1), description.get("lod_bias", 0.0)


def build_texture(source: str, origin: str = "<texture>") -> bytes:
    fmt, width, height, rgba, levels, lod_bias = render_texture(source, origin)
    return write_dct(fmt, width, height, rgba, levels, lod_bias)
