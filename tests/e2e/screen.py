#!/usr/bin/env python3
"""Reads what the game showed, from an X window dump ("xwd -silent") or one
of the game's own screenshots (".TGA"), for the end-to-end checks:

    screen.py bar FILE    the longest row of pixels in the loading bar's colour
    screen.py mean FILE   the mean brightness, 0 to 255
    screen.py colours FILE  how many colours it shows
    screen.py city FILE   per cent of sky in the top rows, of ground (road
                          or grass) in the top third and in the band
                          below the middle
    screen.py lit FILE    per cent of the lower half lit by lamps at night
    screen.py signals FILE FILE  how many pixels turned from a red light's
                          colour to a green one's or back
"""

import struct
import sys

BAR_COLOUR = (60, 220, 100)   # data/Menu/LoadingBar.texture
TOLERANCE = 24


def _shift(mask: int) -> int:
    return (mask & -mask).bit_length() - 1


def read_xwd(data: bytes, first_row: float, row_step: int):
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    masks = fields[14:17]
    ncolors = fields[19]
    if bits_per_pixel != 32:
        sys.exit(f"screen.py: {bits_per_pixel} bits per pixel are not read here")
    start = header_size + ncolors * 12
    order = "little" if byte_order == 0 else "big"
    shifts = [_shift(mask) for mask in masks]
    rows = []
    for y in range(int(height * first_row), height, row_step):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * 4]
        values = [int.from_bytes(line[i:i + 4], order) for i in range(0, len(line), 4)]
        rows.append([tuple((v & m) >> s for m, s in zip(masks, shifts)) for v in values])
    return rows


def read_tga(data: bytes, first_row: float, row_step: int):
    width, height = struct.unpack("<HH", data[12:16])
    top_first = data[17] & 0x20
    pixels = data[18:]
    rows = []
    for y in range(int(height * first_row), height, row_step):
        stored = y if top_first else height - 1 - y
        line = pixels[stored * width * 4:(stored + 1) * width * 4]
        rows.append([(line[i + 2], line[i + 1], line[i]) for i in range(0, len(line), 4)])
    return rows


def read(path: str, first_row: float = 0.0, row_step: int = 1):
    """Every row_step-th row from the fraction of the height down."""
    data = open(path, "rb").read()
    reader = read_tga if path.upper().endswith(".TGA") else read_xwd
    return reader(data, first_row, row_step)


def bar_length(rows) -> int:
    longest = 0
    for row in rows:
        run = 0
        for pixel in row:
            if all(abs(c - b) <= TOLERANCE for c, b in zip(pixel, BAR_COLOUR)):
                run += 1
                longest = max(longest, run)
            else:
                run = 0
    return longest


def mean(rows) -> float:
    total = count = 0
    for row in rows:
        for pixel in row[::7]:
            total += sum(pixel)
            count += 3
    return total / max(count, 1)


def colours(rows) -> int:
    return len({pixel for row in rows for pixel in row})


def is_sky(pixel) -> bool:
    r, g, b = pixel
    return b > r + 40 and b > g + 20


def is_ground(pixel) -> bool:
    """Asphalt, kerb and pavement greys, or grass."""
    r, g, b = pixel
    grey = max(pixel) - min(pixel) <= 20 and 30 <= (r + g + b) / 3 <= 200
    grass = g > r + 20 and g > b + 20
    return grey or grass


def share(rows, first: float, last: float, test) -> int:
    height = len(rows)
    pixels = [p for row in rows[int(height * first):int(height * last)] for p in row[::5]]
    return round(100 * sum(1 for p in pixels if test(p)) / max(len(pixels), 1))


def city(rows) -> str:
    return f"{share(rows, 0.0, 0.15, is_sky)} {share(rows, 0.0, 0.33, is_ground)} {share(rows, 0.5, 0.75, is_ground)}"


def is_lamp_lit(pixel) -> bool:
    """Warm light on the night-blue ground."""
    r, g, b = pixel
    return (r + g + b) / 3 > 80 and r >= b


def signal_colour(pixel) -> int:
    """1 for a red light's colour, -1 for a green one's, else 0."""
    r, g, _ = pixel
    return 1 if r > g + 40 else -1 if g > r + 40 else 0


def signal_flips(rows, other_rows) -> int:
    return sum(1 for row, other in zip(rows, other_rows) for a, b in zip(row, other)
               if signal_colour(a) * signal_colour(b) < 0)


def main():
    command, path = sys.argv[1], sys.argv[2]
    if command == "bar":
        # The bar stands at the bottom of the screen.
        print(bar_length(read(path, 0.8)))
        return
    if command == "mean":
        print(round(mean(read(path, 0.0, 7))))
    elif command == "colours":
        print(colours(read(path)))
    elif command == "city":
        print(city(read(path)))
    elif command == "lit":
        print(share(read(path), 0.5, 1.0, is_lamp_lit))
    elif command == "signals":
        print(signal_flips(read(path), read(sys.argv[3])))
    else:
        sys.exit(f"screen.py: unknown command {command}")


if __name__ == "__main__":
    main()
