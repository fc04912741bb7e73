"""Sound effects from a short description (JSON), written as RIFF WAVE files
of PCM samples: the game's ".WAV" sounds.

A description names the format and one voice:
    {"rate": 22050, "channels": 1, "bits": 16, "seconds": 0.03,
     "waveform": "sine", "frequency": 2000, "harmonics": [[2, 0.5]],
     "volume": 0.8, "attack": 0.001, "release": 0.02, "loop": false, "seed": 1}
- waveform: "sine", "square", "saw" or "noise" (white noise from the seed).
- harmonics: further sines as [multiple of the frequency, level] pairs.
- attack, release: linear fades at the start and the end, in seconds.
- loop: the frequency is nudged so that a whole number of cycles fills the
  sound, which then repeats without a click (no fades are applied).
"""

import json
import math
import random
import struct

WAVEFORMS = ("sine", "square", "saw", "noise")


def write_wav(samples, rate: int, channels: int, bits: int) -> bytes:
    """samples: interleaved integers in the 16-bit range; 8-bit files store them unsigned."""
    if bits == 16:
        data = struct.pack("<%dh" % len(samples), *samples)
    elif bits == 8:
        data = bytes((s >> 8) + 128 for s in samples)
    else:
        raise ValueError(f"{bits}-bit samples cannot be written")
    block_align = channels * bits // 8
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * block_align, block_align, bits)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    if len(data) % 2:
        body += b"\0"
    return b"RIFF" + struct.pack("<I", len(body)) + body


def to_int16(value: float) -> int:
    return max(-32768, min(32767, int(round(value * 32767))))


def oscillator(waveform: str, phase: float, rng: random.Random) -> float:
    """One period per unit of phase, -1 to 1."""
    cycle = phase % 1.0
    if waveform == "sine":
        return math.sin(2 * math.pi * cycle)
    if waveform == "square":
        return 1.0 if cycle < 0.5 else -1.0
    if waveform == "saw":
        return 2.0 * cycle - 1.0
    return rng.uniform(-1.0, 1.0)


def envelope(i: int, count: int, attack: int, release: int) -> float:
    level = 1.0
    if attack > 0 and i < attack:
        level = i / attack
    if release > 0 and i >= count - release:
        level = min(level, (count - 1 - i) / release)
    return level


def render(description: dict):
    """The description's samples as floats -1 to 1, one per frame."""
    rate = description["rate"]
    count = int(round(description["seconds"] * rate))
    waveform = description.get("waveform", "sine")
    if waveform not in WAVEFORMS:
        raise ValueError(f"unknown waveform {waveform!r}")
    frequency = description.get("frequency", 440.0)
    looping = description.get("loop", False)
    if looping:
        frequency = max(1, round(frequency * count / rate)) * rate / count
    partials = [(1.0, 1.0)] + [tuple(h) for h in description.get("harmonics", [])]
    scale = description.get("volume", 1.0) / sum(level for _, level in partials)
    attack = 0 if looping else int(description.get("attack", 0.0) * rate)
    release = 0 if looping else int(description.get("release", 0.0) * rate)
    rng = random.Random(description.get("seed", 0))

    frames = []
    for i in range(count):
        t = i * frequency / rate
        value = sum(level * oscillator(waveform if multiple == 1.0 else "sine", t * multiple, rng)
                    for multiple, level in partials)
        frames.append(value * scale * envelope(i, count, attack, release))
    return frames


def build_sound(source: str) -> bytes:
    description = json.loads(source)
    channels = description.get("channels", 1)
    frames = render(description)
    samples = [to_int16(v) for v in frames for _ in range(channels)]
    return write_wav(samples, description["rate"], channels, description.get("bits", 16))
