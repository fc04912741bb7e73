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


GENERATORS = {"checker": checker, "asphalt": asphalt, "brick": brick, "sky": sky, "atlas": atlas}


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
