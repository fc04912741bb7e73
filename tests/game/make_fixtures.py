#!/usr/bin/env python3
"""Writes the fixtures of the game tests with the game's own data writers:
tests/game/make_fixtures.py OUT_FOLDER

- worlds/: the sample world "Maps\\Test.DCW" from data/, and world files
  whose headers the loader must refuse.
- language/: a language whose content switches turn blood and ragdolls off.
- skies/: skies whose settings files differ in version, length or magic.
- sounds/: hit-sound families for wood and cones only, and ambient families
  of one and of two files.
"""

import pathlib
import sys

root = pathlib.Path(__file__).resolve().parents[2]
sys.path.insert(0, str(root / "tools"))

from databuild import dcw, language, vks, wav  # noqa: E402
from databuild.binary import BinaryWriter  # noqa: E402


def write(path: pathlib.Path, data: bytes):
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(data)


def worlds(out: pathlib.Path):
    maps = out / "worlds" / "Maps"
    sample = dcw.build_world((root / "data" / "Maps" / "Test.world").read_text(encoding="utf-8"))
    write(maps / "Test.DCW", sample)
    write(maps / "Nine.DCW", sample[:9])
    write(maps / "Ten.DCW", sample[:10])
    write(maps / "Kind3.DCW", BinaryWriter().raw(b"DC2").int32(0).int32(3).int32(0).bytes() + sample[15:])
    write(maps / "Magic.DCW", b"DC3" + sample[3:])


def gore_free_language(out: pathlib.Path):
    write(out / "language" / "Misc" / "English.DCL",
          language.write_dcl({666: "No blood", 6661666: "No ragdoll", 9900606: "PAUSED"}))


def damaged_skies(out: pathlib.Path):
    """Each sky's lights carry their own marks: static intensity 0.5, dynamic
    0.75, fog range 2; the defaults are all 1."""
    static = [{"intensity": 0.5, "ambient": [0.25, 0.25, 0.25, 1.0]}] * 3
    dynamic = [{"intensity": 0.75, "diffuse": [0.5, 0.5, 0.5, 1.0]}] * 3
    fog = {"range": 2.0, "colour": [0.5, 0.5, 0.5, 1.0], "intensity": 0.5}
    flare = vks.write_flare([0.0, 0.6, -0.8])
    lighting = vks.write_lighting(1, static, fog)
    lighting0 = vks.write_lighting(0, static)
    lighting2 = vks.write_lighting(2, static) + lighting[-24:]
    dynamic_lighting = vks.write_lighting(1, dynamic, fog)
    dynamic0 = vks.write_lighting(0, dynamic)
    whole = {"Flare.VKS": flare, "Lighting.VKS": lighting, "DynamicLighting.VKS": dynamic_lighting,
             "CarLights.VKS": b""}
    skies = {
        "Whole": whole,
        "Version0": dict(whole, **{"Lighting.VKS": lighting0, "DynamicLighting.VKS": dynamic0}),
        "Version2": dict(whole, **{"Lighting.VKS": lighting2}),
        "Version2Short": dict(whole, **{"Lighting.VKS": lighting2[:211]}),
        "FogCut": dict(whole, **{"Lighting.VKS": lighting[:234]}),
        "LightsCut": dict(whole, **{"Lighting.VKS": lighting0[:210]}),
        "FlareCut": dict(whole, **{"Flare.VKS": flare[:18]}),
        "NoFlare": {k: v for k, v in whole.items() if k != "Flare.VKS"},
        "BadMagic": dict(whole, **{"Lighting.VKS": b"DC3" + lighting[3:]}),
        "DynamicNine": dict(whole, **{"DynamicLighting.VKS": dynamic_lighting[:9]}),
        "DynamicCut": dict(whole, **{"DynamicLighting.VKS": dynamic_lighting[:210]}),
        "NoDynamic": {k: v for k, v in whole.items() if k != "DynamicLighting.VKS"},
    }
    for sky, files in skies.items():
        for name, content in files.items():
            write(out / "Skies" / sky / name, content)


def sounds(out: pathlib.Path):
    tick = wav.build_sound('{"rate": 11025, "channels": 1, "bits": 16, "seconds": 0.05, '
                           '"waveform": "noise", "volume": 0.5}')
    for name in ("Hit_Wood1", "Hit_Wood2", "Hit_Cone1", "Ambient/Crickets1", "Ambient/Crickets2",
                 "Ambient/Rain1"):
        write(out / "Audio" / (name + ".WAV"), tick)


def main():
    out = pathlib.Path(sys.argv[1])
    worlds(out)
    gore_free_language(out)
    damaged_skies(out / "skies")
    sounds(out / "sounds")
    (out / "written").write_text("game fixtures\n")


if __name__ == "__main__":
    main()
