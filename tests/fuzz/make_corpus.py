#!/usr/bin/env python3
"""Writes the wave loader's seed corpus: small RIFF images, each after one
byte that picks the session's output format (see WaveLoadHarness.h)."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "wave")


def chunk(ident, contents, declared=None, pad=True):
    size = len(contents) if declared is None else declared
    tail = b"\0" if pad and len(contents) % 2 else b""
    return ident + struct.pack("<I", size) + contents + tail


def fmt(channels=1, rate=11025, bits=8, tag=1, extra=b""):
    align = channels * bits // 8
    return chunk(b"fmt ", struct.pack("<HHIIHH", tag, channels, rate, rate * align, align, bits)
                 + extra)


def riff(*chunks, form=b"WAVE"):
    return chunk(b"RIFF", form + b"".join(chunks))


def ramp(n):
    return bytes((i * 37 + 11) % 256 for i in range(n))


SEEDS = {
    "mono8": (0, riff(fmt(), chunk(b"data", ramp(64)))),
    "stereo16_to_stereo22k": (3, riff(fmt(2, 11025, 16), chunk(b"data", ramp(96)))),
    "mono16_8000_to_mono44k": (4, riff(fmt(1, 8000, 16), chunk(b"data", ramp(50)))),
    "stereo8_48k_to_mono22k": (2, riff(fmt(2, 48000, 8), chunk(b"data", ramp(77)))),
    "extras_and_padding": (1, riff(fmt(extra=b"\0\0"), chunk(b"LIST", b"INFOab"),
                                   chunk(b"junk", b"xyz"), chunk(b"data", ramp(33)))),
    "data_before_fmt": (0, riff(chunk(b"data", ramp(8)), fmt())),
    "not_pcm": (0, riff(fmt(tag=3, bits=32), chunk(b"data", ramp(16)))),
    "lying_sizes": (5, riff(fmt(), chunk(b"data", ramp(16), declared=0xFFFFFFF0))),
}

os.makedirs(HERE, exist_ok=True)
for name, (selector, image) in SEEDS.items():
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(bytes([selector]) + image)
