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

    assert bmp[:2] == b"BM", "toolbar.bmp does not start with BM"
    offset, = struct.unpack_from("<I", bmp, 10)
    width, height, planes, bpp, compression = struct.unpack_from("<iiHHI", bmp, 18)
    assert (width, height, bpp, compression) == (368, 16, 24, 0), (width, height, bpp)
    stride = width * 3
    assert len(bmp) == offset + stride * height, "toolbar.bmp has the wrong size"
    for tile in range(23):
        drawn = 0
        for y in range(16):
            row = offset + y * stride
            for x in range(tile * 16, tile * 16 + 16):
                b_, g_, r_ = bmp[row + 3 * x:row + 3 * x + 3]
                drawn += (r_, g_, b_) != MASK
        assert drawn >= 20, "toolbar image %d has only %d drawn pixels" % (tile + 1, drawn)

    reserved, kind, count = struct.unpack_from("<HHH", ico, 0)
    assert (reserved, kind, count) == (0, 1, 2), "vellumox.ico header"
    sizes = []
    for i in range(count):
        w, h, _, _, _, bits, length, where = struct.unpack_from("<BBBBHHII", ico, 6 + 16 * i)
        hdr_w, hdr_h = struct.unpack_from("<ii", ico, where + 4)
        assert (hdr_w, hdr_h, bits) == (w, 2 * h, 24), "icon image %d header" % i
        assert where + length <= len(ico), "icon image %d runs past the file" % i
        sizes.append(w)
    assert sorted(sizes) == [16, 32], "icon sizes %r" % sizes
    return 0


if __name__ == "__main__":
    sys.exit(main())
