"""Intro movies from a short description (JSON: width, height, fps, seconds):
coloured bands that sweep across the picture, so playback is easy to see."""

import json
import math

from .avi import frame_bytes, write_avi

BANDS = [(200, 40, 30), (230, 180, 40), (40, 160, 70), (40, 90, 200)]


def build_movie(source: str) -> bytes:
    description = json.loads(source)
    width, height, fps = description["width"], description["height"], description["fps"]
    count = int(description["seconds"] * fps)
    frames = []
    for n in range(count):
        shift = n * width // count

        def pixel(x, y, shift=shift):
            band = BANDS[((x + shift) * len(BANDS) // width) % len(BANDS)]
            shade = 0.6 + 0.4 * math.sin(math.pi * y / height)
            return tuple(int(c * shade) for c in band)

        frames.append(frame_bytes(pixel, width, height))
    return write_avi(frames, width, height, fps)
