#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads the header of every MP3/MP2 file in a folder with mutagen, as a peer of vornik-cli scan:
mutagen finds the first frame, its Xing/Info/VBRI header and the tags, and walks no frames."""
import os
import sys

from mutagen.mp3 import MP3

total = 0
for name in sorted(os.listdir(sys.argv[1])):
    info = MP3(os.path.join(sys.argv[1], name)).info
    total += info.bitrate
print(total)
