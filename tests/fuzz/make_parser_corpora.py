#!/usr/bin/env python3
"""Writes the seed corpora of the score file, MIXER.INI and BMP fuzz targets:
small inputs that reach each reader's branches, sound and damaged alike."""
import os
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
TESTS = os.path.dirname(HERE)

SCORE = {
    "shipped": b"\r\n0\r\n0\r\n0\r\n0\r\n",
    "every_field": b"mofron\r\n12\r\n1\r\n3\r\n4\r\n",
    "negative_best": b"n\r\n-7\r\n1\r\n0\r\n0\r\n",
    "limits": b"n\r\n2147483647\r\n-2147483648\r\n+5\r\n0\r\n",
    "overflow": b"n\r\n2147483648\r\n",
    "letters": b"n\r\nabc\r\n1\r\n",
    "sign_only": b"n\r\n-\r\n",
    "empty": b"",
    "first_line_only": b"\x82\xe0\x82\xd3\x82\xeb\x82\xf1",
    "cr_only": b"n\r5\r6\r7\r8\r",
    "lf_only": b"n\n5\n6\n",
    "blank_lines_and_tabs": b"n\r\n\r\n\t 42 rest of line\r\n\r\n1\r\n",
    "long_token": b"n\r\n" + b"0" * 40 + b"1\r\n2\r\n",
    "nul_bytes": b"a\0b\r\n\x005\r\n",
}

INI = {
    "empty": b"",
    "defaults_named": b"[default]\r\nRemix=1\r\nGoodWavePos=0\r\nWaveBlocks=3\r\n"
                      b"WaveBlockLen=0\r\nSamplesPerSec=11\r\n",
    "device_section": b"[general]\nWaveOutDevice=0\n[Virtual Wave Out]\nRemix=2\n"
                      b"GoodWavePos=1\nWaveBlocks=6\nWaveBlockLen=1001\nSamplesPerSec=44\n",
    "default_rounding": b"[default]\nWaveBlockLen=1001\nWaveBlocks=1\nSamplesPerSec=22\n",
    "limits": b"[default]\nWaveBlocks=9\nWaveBlockLen=100000\n[Virtual Wave Out]\n"
              b"WaveBlockLen=100\nSamplesPerSec=48\n",
    "mapper": b"[general]\nWaveOutDevice=1\n",
    "negative_device": b"[general]\nWaveOutDevice=-1\n",
    "no_such_device": b"[general]\nWaveOutDevice=-7\n",
    "not_compatible": b"[not compatible]\nVirtual Wave Out=1\n",
    "case_and_spaces": b"  [DEFAULT]  \n  wavEBLOCKS =  4 ; note\n# comment\n;comment\n"
                       b"[virtual wave out]\nremix = 2\n",
    "garbage": b"[unterminated\nno equals sign\n=value without key\n[default]\n"
               b"WaveBlocks=4x\nWaveBlockLen=-512\nGoodWavePos=257\n",
    "huge_numbers": b"[default]\nWaveBlocks=99999999999999999999\n"
                    b"WaveBlockLen=-99999999999999999999\nSamplesPerSec=4294967340\n",
    "repeated_keys": b"[default]\nWaveBlocks=2\nWaveBlocks=6\n[default]\nWaveBlocks=5\n",
    "bom_and_cr": b"\xef\xbb\xbf[default]\rWaveBlocks=5\r",
}


def bmp(width, height, bits, rows, palette=b"", compression=0, header=40, top_down=False):
    """A BMP file around the given pixel rows (already padded and encoded)."""
    data = b"".join(rows)
    if header == 12:
        info = struct.pack("<IHHHH", 12, width, height, 1, bits)
    else:
        info = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bits,
                           compression, len(data), 2835, 2835, len(palette) // 4, 0)
    offset = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + info + palette + data


def pad(row):
    return row + b"\0" * (-len(row) % 4)


PAL4 = b"".join(struct.pack("<BBBB", b, g, r, 0)
                for r, g, b in [(0, 0, 0), (255, 0, 0), (0, 255, 0), (0, 0, 255)])
PAL3 = bytes(3 * 3)

BMP = {
    "palette8": bmp(5, 3, 8, [pad(bytes([i % 4 for i in range(y, y + 5)])) for y in range(3)],
                    PAL4),
    "palette4": bmp(6, 2, 4, [pad(b"\x01\x23\x10"), pad(b"\x32\x10\x23")], PAL4),
    "palette1": bmp(9, 2, 1, [pad(b"\xa5\x80"), pad(b"\x5a\x00")], PAL4[:8]),
    "true24": bmp(3, 2, 24, [pad(b"\x00\x00\xff" * 3), pad(b"\xff\x00\x00" * 3)]),
    "true24_top_down": bmp(2, 2, 24, [pad(b"\x10\x20\x30" * 2), pad(b"\x40\x50\x60" * 2)],
                           top_down=True),
    "true32": bmp(2, 1, 32, [b"\x01\x02\x03\x00\x04\x05\x06\x00"]),
    "rle8": bmp(6, 2, 8, [b"\x03\x01\x03\x02\x00\x00", b"\x06\x03\x00\x01"], PAL4,
                compression=1),
    "rle8_delta_and_absolute": bmp(8, 3, 8, [b"\x00\x03\x01\x02\x03\x00", b"\x00\x02\x02\x01",
                                             b"\x02\x01\x00\x00\x00\x01"], PAL4, compression=1),
    "rle4": bmp(6, 1, 4, [b"\x06\x12\x00\x01"], PAL4, compression=2),
    "os2_core": bmp(2, 2, 24, [pad(b"\x01\x02\x03" * 2), pad(b"\x04\x05\x06" * 2)], header=12),
    "short_palette": bmp(4, 1, 8, [pad(b"\x00\x01\x02\xff")], PAL4),
    "truncated_rows": bmp(40, 40, 24, [pad(b"\x7f" * 120)]),
    "huge_claim": bmp(8192, 8192, 8, [b"\0" * 8], PAL4),
    "too_wide": bmp(100000, 1, 24, [b"\0" * 12]),
    "bad_signature": b"BN" + bmp(1, 1, 24, [pad(b"\1\2\3")])[2:],
    "header_only": bmp(1, 1, 24, [])[:30],
}


def write(name, seeds):
    folder = os.path.join(HERE, "corpus", name)
    os.makedirs(folder, exist_ok=True)
    for seed, data in seeds.items():
        with open(os.path.join(folder, seed), "wb") as f:
            f.write(data)
    return folder


write("score_file", SCORE)
write("mixer_ini", INI)
folder = write("bitmap_load", BMP)
# The smallest of the game's own test pictures, as the game reads them.
shutil.copy(os.path.join(TESTS, "game", "data", "embedded", "cry.bmp"),
            os.path.join(folder, "game_picture"))
