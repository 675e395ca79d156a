#!/usr/bin/env python3
"""Check tools/make_art.py: deterministic, well-formed BMP/ICO, no blank tiles."""

import os
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOOL = os.path.join(ROOT, "tools", "make_art.py")
ART = os.path.join(ROOT, "src", "resources", "art")
MASK = (0xC0, 0xC0, 0xC0)


def build(out_dir):
    subprocess.run([sys.executable, TOOL, ART, out_dir], check=True)
    with open(os.path.join(out_dir, "toolbar.bmp"), "rb") as f:
        bmp = f.read()
    with open(os.path.join(out_dir, "vellumox.ico"), "rb") as f:
        ico = f.read()
    return bmp, ico


def main():
    with tempfile.TemporaryDirectory() as a, tempfile.TemporaryDirectory() as b:
        first, second = build(a), build(b)
    assert first == second, "make_art.py output differs between runs"
    bmp, ico = first
    # 23 tiles of 16 x 16 at 24 bits, none of them blank (a button with no picture).
    offset, = struct.unpack_from("<I", bmp, 10)
    assert bmp[:2] == b"BM" and struct.unpack_from("<iiHH", bmp, 18)[::3] == (368, 24), "toolbar.bmp header"
    for tile in range(23):
        drawn = sum(tuple(bmp[offset + y * 1104 + 3 * x:offset + y * 1104 + 3 * x + 3])[::-1] != MASK
                    for y in range(16) for x in range(tile * 16, tile * 16 + 16))
        assert drawn >= 20, "toolbar image %d has only %d drawn pixels" % (tile + 1, drawn)
    # Two icon images, 16 and 32 pixels.
    assert sorted(ico[6 + 16 * i] for i in range(ico[4])) == [16, 32], "icon sizes"
    return 0


if __name__ == "__main__":
    sys.exit(main())
