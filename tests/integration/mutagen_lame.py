#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Prints, as JSON, the Lame tag of an MP3 file as mutagen reads it: the independent reading
that the integration tests compare the engine's fields with."""
import io
import json
import sys

from mutagen.mp3 import MP3
from mutagen.mp3._util import XingHeader


def main(path):
    data = open(path, "rb").read()
    info = MP3(path).info  # raises on a file mutagen cannot read as MP3
    # mutagen finds the first frame itself; its Xing reader wants the bytes from the magic on.
    positions = [p for p in (data.find(b"Xing"), data.find(b"Info")) if p >= 0]
    if not positions:
        print(json.dumps(None))
        return
    header = XingHeader(io.BytesIO(data[min(positions) :]))
    lame = header.lame_header
    fields = {
        "frames": header.frames,
        "bytes": header.bytes,
        "vbr_scale": header.vbr_scale,
        "lame_version": header.lame_version_desc,
    }
    for name in ("length", "encoder_settings", "track_gain", "track_peak", "album_gain"):
        fields[name] = getattr(info, name)
    if lame is not None:
        for name in (
            "vbr_method", "lowpass_filter", "encoding_flags", "ath_type", "bitrate",
            "encoder_delay_start", "encoder_padding_end", "noise_shaping", "stereo_mode",
            "unwise_setting_used", "source_sample_frequency_enum", "mp3_gain", "preset_used",
            "music_length", "music_crc", "header_crc",
        ):
            fields[name] = getattr(lame, name)
    print(json.dumps(fields))


if __name__ == "__main__":
    main(sys.argv[1])
