#!/usr/bin/env python3
"""Prints the sound and music volumes kept in a settings file "Config.VKS",
each with two decimals, for the end-to-end checks:

    settings_volumes.py FILE   ->   "0.60 0.60"
"""

import struct
import sys

VERSION = 0x10000001


def main() -> None:
    data = open(sys.argv[1], "rb").read()
    if data[:3] != b"DC2" or struct.unpack_from("<i", data, 3)[0] != VERSION:
        sys.exit("settings_volumes.py: not a settings file")
    mode_length = struct.unpack_from("<i", data, 7)[0]
    # After the video mode text: five int32 video options, then the two volumes.
    sound, music = struct.unpack_from("<2f", data, 11 + mode_length + 5 * 4)
    print(f"{sound:.2f} {music:.2f}")


if __name__ == "__main__":
    main()
