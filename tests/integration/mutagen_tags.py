#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes and reads ID3v2 and APEv2 tags with mutagen, the peer the integration tests compare
the engine's tag fields with.

  mutagen_tags.py write PATH VERSION ENCODING   VERSION 3 or 4; ENCODING 0 to 3
  mutagen_tags.py read PATH                     prints the fields as JSON
"""
import json
import sys

from mutagen.apev2 import APEv2, error as ApeError
from mutagen.id3 import APIC, COMM, ID3, TALB, TCON, TDRC, TIT2, TPE1, TRCK, TXXX, ID3NoHeaderError

TEXTS = {
    "title": "Tïtle ♫ 𝄞",
    "artist": "Ärtist",
    "album": "Albüm",
    "year": "2004",
    "track": "3/12",
    "comment": "Ç comment",
}


def write(path, version, encoding):
    # ISO-8859-1 cannot hold every character; mutagen would refuse them.
    texts = dict(TEXTS)
    if encoding == 0:
        texts = {k: v.encode("latin-1", "replace").decode("latin-1") for k, v in texts.items()}
    tag = ID3()
    tag.add(TIT2(encoding=encoding, text=[texts["title"]]))
    tag.add(TPE1(encoding=encoding, text=[texts["artist"]]))
    tag.add(TALB(encoding=encoding, text=[texts["album"]]))
    tag.add(TDRC(encoding=encoding, text=[texts["year"]]))
    tag.add(TRCK(encoding=encoding, text=[texts["track"]]))
    tag.add(TCON(encoding=encoding, text=["Jazz"]))
    tag.add(COMM(encoding=encoding, lang="eng", desc="", text=[texts["comment"]]))
    tag.add(TXXX(encoding=encoding, desc="replaygain_track_gain", text=["-6.50 dB"]))
    tag.add(TXXX(encoding=encoding, desc="replaygain_track_peak", text=["0.988235"]))
    tag.add(TXXX(encoding=encoding, desc="replaygain_album_gain", text=["-7.10 dB"]))
    tag.add(APIC(encoding=encoding, mime="image/jpeg", type=3, desc="cover",
                 data=b"\xff\xd8\xff" + bytes(range(256)) * 20))
    tag.save(path, v2_version=version)
    ape = APEv2()
    ape["Title"] = texts["title"]
    ape["Artist"] = texts["artist"]
    ape["REPLAYGAIN_TRACK_GAIN"] = "+1.25 dB"
    ape["REPLAYGAIN_TRACK_PEAK"] = "0.5"
    ape.save(path)


def text(tag, key):
    frame = tag.get(key)
    return " / ".join(str(t) for t in frame.text) if frame is not None else ""


def read(path):
    fields = {}
    try:
        tag = ID3(path)
        fields["version"] = tag.version[1]
        for name, key in (("title", "TIT2"), ("artist", "TPE1"), ("album", "TALB"),
                          ("year", "TDRC"), ("track", "TRCK"), ("genre", "TCON")):
            fields[name] = text(tag, key)
        comments = [f for f in tag.getall("COMM") if f.desc == ""]
        fields["comment"] = " / ".join(comments[0].text) if comments else ""
        for name in ("track_gain", "track_peak", "album_gain"):
            fields["replaygain_" + name] = text(tag, "TXXX:replaygain_" + name)
        pictures = tag.getall("APIC")
        if pictures:
            fields["picture_type"] = int(pictures[0].type)
            fields["picture_size"] = len(pictures[0].data)
    except ID3NoHeaderError:
        pass
    try:
        ape = APEv2(path)
        fields["ape"] = {k.lower(): str(v) for k, v in ape.items() if v.kind == 0}
    except ApeError:
        pass
    print(json.dumps(fields))


if __name__ == "__main__":
    if sys.argv[1] == "write":
        write(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
    else:
        read(sys.argv[2])
