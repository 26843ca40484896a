#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Gives an MP3 file an ID3v2 tag holding a front cover of the given size in bytes, as taggers
do: mutagen writes the tag in front of the audio (and keeps an ID3v1 tag at the end)."""
import random
import sys

from mutagen.id3 import APIC, ID3


def main(path, size):
    # Random bytes, as compressed image data is; a JPEG's start marker in front.
    picture = b"\xff\xd8" + random.Random(1).randbytes(size - 2)
    tag = ID3()
    tag.add(APIC(encoding=0, mime="image/jpeg", type=3, desc="", data=picture))
    tag.save(path)


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]))
