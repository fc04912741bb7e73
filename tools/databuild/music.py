"""Music loops from a short description (JSON), encoded as Ogg Vorbis with
Debian's oggenc: the game's streamed ".OGG" music.

    {"rate": 44100, "chord_seconds": 2.0, "volume": 0.5,
     "chords": [["A3", "C4", "E4"], ["F3", "A3", "C4"]], "bass": true}
Each chord's notes are soft sines spread from left to right, each fading in
and out within its chord, so the end joins the start without a click. With
"bass", the first note of every chord also sounds an octave lower, centred.
"""

import json
import math
import re
import shutil
import subprocess

from .wav import to_int16, write_wav

NOTE = re.compile(r"^([A-G])([#b]?)(-?\d)$")
SEMITONES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
ATTACK = 0.08     # seconds
RELEASE = 0.25


def note_frequency(name: str) -> float:
    match = NOTE.match(name)
    if not match:
        raise ValueError(f"{name!r} is not a note such as A4, C#3 or Bb2")
    letter, accidental, octave = match.groups()
    midi = 12 * (int(octave) + 1) + SEMITONES[letter] + {"": 0, "#": 1, "b": -1}[accidental]
    return 440.0 * 2.0 ** ((midi - 69) / 12.0)


def chord_voices(notes, bass: bool):
    """(frequency, level, pan -1..1) of each sounding voice."""
    voices = []
    for index, name in enumerate(notes):
        pan = 0.0 if len(notes) == 1 else -0.8 + 1.6 * index / (len(notes) - 1)
        voices.append((note_frequency(name), 1.0, pan))
    if bass and notes:
        voices.append((note_frequency(notes[0]) / 2.0, 1.2, 0.0))
    return voices


def render(description: dict):
    """Interleaved stereo floats -1 to 1."""
    rate = description["rate"]
    length = int(round(description["chord_seconds"] * rate))
    attack, release = int(ATTACK * rate), int(RELEASE * rate)
    out = []
    for notes in description["chords"]:
        voices = chord_voices(notes, description.get("bass", False))
        scale = description.get("volume", 0.5) / max(1.0, sum(level for _, level, _ in voices))
        gains = [(level * scale * math.sqrt((1 - pan) / 2), level * scale * math.sqrt((1 + pan) / 2))
                 for _, level, pan in voices]
        steps = [2 * math.pi * frequency / rate for frequency, _, _ in voices]
        for i in range(length):
            fade = min(1.0, i / attack, (length - 1 - i) / release)
            left = right = 0.0
            for step, (gain_left, gain_right) in zip(steps, gains):
                value = math.sin(step * i) * fade
                left += value * gain_left
                right += value * gain_right
            out += (left, right)
    return out


def encode_ogg(wav: bytes) -> bytes:
    """Ogg Vorbis of a WAV file; a fixed stream serial keeps builds identical."""
    if not shutil.which("oggenc"):
        raise RuntimeError("oggenc is missing (Debian package vorbis-tools); run tools/setup")
    result = subprocess.run(["oggenc", "--quiet", "--serial", "1", "--quality", "3", "-o", "-", "-"],
                            input=wav, capture_output=True, check=True)
    return result.stdout


def build_music(source: str) -> bytes:
    description = json.loads(source)
    samples = [to_int16(v) for v in render(description)]
    return encode_ogg(write_wav(samples, description["rate"], 2, 16))
