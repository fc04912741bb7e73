"""Builds the sample data from data/ into an output folder: "Data.DCP" with
every file, and the files the game needs loose beside it.

- Sources convert by extension: "X.lang" becomes the language file "X.DCL",
  "X.movie" the movie "X.AVI", "X.sound" the sound "X.WAV", "X.music" the
  Ogg Vorbis music "X.OGG", "X.texture" the texture "X.DCT", "X.world" the
  world "X.DCW", "X.city" a generated city, also "X.DCW", "X.mission" the
  mission script "X.dcScript", "X.flare" and "X.lighting" the sky settings
  file "X.VKS"; other files are taken as they are.
- "data/external.txt" names files taken from installed Debian packages
  ("Fonts/HUD Font.TTF = /usr/share/fonts/..."), never committed.
- "data/loose.txt" names the game files that are also written loose; a loose
  file overrides its packed copy.
"""

import argparse
import pathlib
import sys

from . import cam, city, dcc, dcw, language, mission, models, movie, texture, music, txc, vks, wav
from .pack import write_pack

CONTROL_FILES = {"external.txt", "loose.txt"}
# Descriptions whose writer takes the text alone: suffix -> (game extension, writer).
TEXT_CONVERSIONS = {".vehicle": (".DCC", dcc.build), ".catalogue": (".TXC", txc.build),
                    ".camera": (".CAM", cam.build)}


def read_list(path: pathlib.Path):
    if not path.exists():
        return []
    lines = (line.strip() for line in path.read_text(encoding="utf-8").splitlines())
    return [line for line in lines if line and not line.startswith("#")]


def game_name(relative: pathlib.PurePath) -> str:
    return "\\".join(relative.parts)


def convert(path: pathlib.Path, relative: pathlib.PurePath):
    """(game name, bytes) of one source file."""
    if path.suffix == ".lang":
        texts = language.parse_source(path.read_text(encoding="utf-8"), str(path))
        return game_name(relative.with_suffix(".DCL")), language.write_dcl(texts)
    if path.suffix == ".movie":
        return game_name(relative.with_suffix(".AVI")), movie.build_movie(path.read_text(encoding="utf-8"))
    if path.suffix == ".texture":
        return game_name(relative.with_suffix(".DCT")), texture.build_texture(path.read_text(encoding="utf-8"), str(path))
    if path.suffix == ".world":
        return game_name(relative.with_suffix(".DCW")), dcw.build_world(path.read_text(encoding="utf-8"))
    if path.suffix == ".city":
        return game_name(relative.with_suffix(".DCW")), city.build_city(path.read_text(encoding="utf-8"), str(path))
    if path.suffix == ".sound":
        return game_name(relative.with_suffix(".WAV")), wav.build_sound(path.read_text(encoding="utf-8"))
    if path.suffix == ".music":
        try:
            return game_name(relative.with_suffix(".OGG")), music.build_music(path.read_text(encoding="utf-8"))
        except RuntimeError as error:
            sys.exit(f"build-data: {path}: {error}")
    if path.suffix == ".mission":
        return game_name(relative.with_suffix(".dcScript")), mission.build_mission(path.read_text(encoding="utf-8"),
                                                                                  str(path))
    if path.suffix in vks.CONVERSIONS:
        return game_name(relative.with_suffix(vks.CONVERSIONS[path.suffix])), vks.build(
            path.read_text(encoding="utf-8"), path.suffix)
    if path.suffix in TEXT_CONVERSIONS:
        extension, writer = TEXT_CONVERSIONS[path.suffix]
        return game_name(relative.with_suffix(extension)), writer(path.read_text(encoding="utf-8"))
    if path.suffix in models.CONVERSIONS:
        return game_name(relative.with_suffix(models.CONVERSIONS[path.suffix])), models.build(path)
    return game_name(relative), path.read_bytes()


def collect(source: pathlib.Path):
    members = []
    for path in sorted(p for p in source.rglob("*") if p.is_file()):
        relative = path.relative_to(source)
        if len(relative.parts) == 1 and relative.name in CONTROL_FILES:
            continue
        members.append(convert(path, relative))
    for entry in read_list(source / "external.txt"):
        name, _, origin = (part.strip() for part in entry.partition("="))
        origin_path = pathlib.Path(origin)
        if not origin_path.exists():
            sys.exit(f"build-data: {origin} (for {name}) is missing; run tools/setup")
        members.append((name.replace("/", "\\"), origin_path.read_bytes()))
    return members


def build(source: pathlib.Path, out: pathlib.Path):
    members = collect(source)
    names = {name for name, _ in members}
    loose = [name.replace("/", "\\") for name in read_list(source / "loose.txt")]
    for name in loose:
        if name not in names:
            sys.exit(f"build-data: loose.txt names {name}, which no source makes")

    # The output folder is also where the game runs and writes its settings
    # and log, so it is updated in place, never emptied.
    out.mkdir(parents=True, exist_ok=True)
    write_pack(out / "Data.DCP", members)
    by_name = dict(members)
    for name in loose:
        target = out.joinpath(*name.split("\\"))
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(by_name[name])


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--source", type=pathlib.Path, required=True)
    parser.add_argument("--out", type=pathlib.Path, required=True)
    args = parser.parse_args(argv)
    build(args.source, args.out)


if __name__ == "__main__":
    main()
