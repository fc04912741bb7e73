#!/usr/bin/env python3
"""Writes the sound fixtures of the engine tests with the game's own data
writers, and the game's sample sounds as the data build makes them:
tests/engine/audio/make_audio_fixtures.py OUT_FOLDER"""

import math
import pathlib
import struct
import sys

repo = pathlib.Path(__file__).resolve().parents[3]
sys.path.insert(0, str(repo / "tools"))

from databuild import build, music, wav  # noqa: E402
from databuild.pack import write_pack  # noqa: E402

RAMP_FRAMES = 66150   # 1.5 s at 44100 Hz
TONE_SECONDS = 2.5


def write(path: pathlib.Path, data: bytes):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


def ramp_samples():
    """Left = frame mod 30000, right its negative: any frame's place shows in its value."""
    samples = []
    for i in range(RAMP_FRAMES):
        samples += (i % 30000, -(i % 30000))
    return samples


def tone_samples(seconds: float, rate: int, channels: int):
    """A loud 440 Hz sine without fades, so every part of it is far from silence."""
    samples = []
    for i in range(int(seconds * rate)):
        samples += [wav.to_int16(0.7 * math.sin(2 * math.pi * 440 * i / rate))] * channels
    return samples


def chunk(tag: bytes, data: bytes) -> bytes:
    return tag + struct.pack("<I", len(data)) + data


def riff(*chunks: bytes) -> bytes:
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def pcm_format(channels: int, rate: int, bits: int) -> bytes:
    block = channels * bits // 8
    return chunk(b"fmt ", struct.pack("<HHIIHH", 1, channels, rate, rate * block, block, bits))


def wav_files(root: pathlib.Path):
    write(root / "Ramp.WAV", wav.write_wav(ramp_samples(), 44100, 2, 16))
    # 8-bit values 0, 64, 128, 192, 255 as the writer takes them (16-bit range).
    write(root / "Mono8.WAV", wav.write_wav([-32768, -16384, 0, 16384, 32767], 22050, 1, 8))
    write(root / "Short16.WAV", wav.write_wav([1000, -1000, 2000, -2000, 3000, -3000], 44100, 2, 16))
    listed = riff(chunk(b"LIST", b"INFOISFT\x04\x00\x00\x00test"), pcm_format(1, 22050, 16),
                  chunk(b"data", b"\0\0"))
    write(root / "ListFirst.WAV", listed)
    fact = riff(pcm_format(1, 22050, 16), chunk(b"fact", struct.pack("<I", 1)), chunk(b"data", b"\0\0"))
    write(root / "FactFirst.WAV", fact)
    # Promises a million bytes and holds 400.
    long = riff(pcm_format(2, 44100, 16)) + b"data" + struct.pack("<I", 1000000) + bytes(range(200)) * 2
    write(root / "Long.WAV", long)
    write(root / "Empty.WAV", riff(pcm_format(2, 44100, 16), chunk(b"data", b"")))
    write(root / "Deep.WAV", riff(pcm_format(2, 44100, 24), chunk(b"data", bytes(60))))
    write(root / "Compressed.WAV", riff(chunk(b"fmt ", struct.pack("<HHIIHH", 2, 1, 22050, 11025, 512, 4)),
                                        chunk(b"data", bytes(16))))
    write(root / "NotRiff.WAV", b"OggS" + bytes(40))
    write(root / "NotWave.WAV", b"RIFF" + struct.pack("<I", 36) + b"AVI " + pcm_format(1, 22050, 16))
    write(root / "BadFormat.WAV", riff(chunk(b"fmt ", struct.pack("<HHIIHHH", 1, 1, 22050, 44100, 2, 16, 0)),
                                       chunk(b"data", bytes(4))))


def ogg_files(root: pathlib.Path):
    tone = music.encode_ogg(wav.write_wav(tone_samples(TONE_SECONDS, 44100, 2), 44100, 2, 16))
    write(root / "Audio" / "Tone.OGG", tone)
    write(root / "Audio" / "Short.OGG", music.encode_ogg(wav.write_wav(tone_samples(0.2, 22050, 1), 22050, 1, 16)))
    write(root / "Audio" / "NotOgg.OGG", b"RIFF" + bytes(100))
    # The same tone inside the pack, to stream from a compressed member.
    write_pack(root / "Data.DCP", [("Audio\\Packed.OGG", tone), ("Audio\\Click.WAV", wav.write_wav(
        [12000] * 200, 22050, 1, 16))])


def sample_sounds(out: pathlib.Path):
    """The game's own sounds, converted from data/Audio exactly as the data build does."""
    source = repo / "data"
    for path in sorted(p for p in (source / "Audio").rglob("*") if p.is_file()):
        name, data = build.convert(path, path.relative_to(source))
        write(out.joinpath(*name.split("\\")), data)


def main():
    out = pathlib.Path(sys.argv[1])
    wav_files(out / "audio" / "Audio")
    ogg_files(out / "audio")
    sample_sounds(out / "sample")
    (out / "audio.stamp").write_text("written\n")


if __name__ == "__main__":
    main()
