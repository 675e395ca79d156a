#!/usr/bin/env python3
"""Build the toolbar strip and the window icon from the pixel-art text files.

Usage: python3 tools/make_art.py <art_dir> <out_dir>

Reads <art_dir>/palette.txt, NN-name.txt (NN = 01..23, toolbar images, 16x16),
icon-32.txt and icon-16.txt, and writes <out_dir>/toolbar.bmp and
<out_dir>/vellumox.ico.  See <art_dir>/README.txt for the text format.
Standard library only.  Output is deterministic; on any error nothing is
written and the exit status is non-zero.
"""

import os
import re
import struct
import sys
import tempfile

TOOLBAR_COUNT = 23
TILE = 16
MASK_RGB = (0xC0, 0xC0, 0xC0)
TOOLBAR_NAME = re.compile(r"^(\d\d)-[a-z0-9-]+\.txt$")
ICON_FILES = (("icon-32.txt", 32), ("icon-16.txt", 16))
PALETTE_LINE = re.compile(r"^(\S)\s*=\s*([0-9a-fA-F]{6})\s*(#.*)?$")


class ArtError(Exception):
    pass


def parse_palette_lines(lines, path, first_lineno=1):
    """Parse 'C = rrggbb' lines (blank lines and '#' comments allowed)."""
    palette = {}
    for offset, line in enumerate(lines):
        where = "%s:%d" % (path, first_lineno + offset)
        text = line.strip()
        if not text or text.startswith("#"):
            continue
        m = PALETTE_LINE.match(text)
        if not m:
            raise ArtError("%s: expected 'C = rrggbb', got %r" % (where, line))
        char, hexval = m.group(1), m.group(2)
        if char in "#=":
            raise ArtError("%s: %r cannot be a palette character" % (where, char))
        if char in palette:
            raise ArtError("%s: palette character %r defined twice" % (where, char))
        palette[char] = tuple(int(hexval[i:i + 2], 16) for i in (0, 2, 4))
    return palette


def read_lines(path):
    try:
        with open(path, "r", encoding="ascii", newline=None) as f:
            return f.read().split("\n")
    except (OSError, UnicodeDecodeError) as e:
        raise ArtError("%s: cannot read: %s" % (path, e))


def load_image(path, size, shared):
    """Return a size x size list of rows of RGB tuples."""
    lines = read_lines(path)
    try:
        sep = lines.index("pixels:")
    except ValueError:
        raise ArtError("%s: missing 'pixels:' line" % path)
    palette = dict(shared)
    palette.update(parse_palette_lines(lines[:sep], path))
    rows = lines[sep + 1:]
    while rows and rows[-1] == "":
        rows.pop()
    if len(rows) != size:
        raise ArtError("%s: expected %d pixel rows, found %d" % (path, size, len(rows)))
    image = []
    for y, row in enumerate(rows):
        lineno = sep + 2 + y
        if len(row) != size:
            raise ArtError("%s:%d: expected %d characters, found %d"
                           % (path, lineno, size, len(row)))
        out = []
        for x, ch in enumerate(row):
            if ch not in palette:
                raise ArtError("%s:%d:%d: unknown palette character %r"
                               % (path, lineno, x + 1, ch))
            out.append(palette[ch])
        image.append(out)
    return image


def load_all(art_dir):
    pal_path = os.path.join(art_dir, "palette.txt")
    if os.path.exists(pal_path):
        shared = parse_palette_lines(read_lines(pal_path), pal_path)
    else:
        shared = {}
    numbered = {}
    try:
        names = sorted(os.listdir(art_dir))
    except OSError as e:
        raise ArtError("%s: cannot list: %s" % (art_dir, e))
    for name in names:
        m = TOOLBAR_NAME.match(name)
        if not m:
            continue
        n = int(m.group(1))
        if not 1 <= n <= TOOLBAR_COUNT:
            raise ArtError("%s: image number out of range 01..%02d" % (name, TOOLBAR_COUNT))
        if n in numbered:
            raise ArtError("two art files numbered %02d: %s and %s" % (n, numbered[n], name))
        numbered[n] = name
    missing = [n for n in range(1, TOOLBAR_COUNT + 1) if n not in numbered]
    if missing:
        raise ArtError("%s: missing toolbar art for number(s) %s"
                       % (art_dir, ", ".join("%02d" % n for n in missing)))
    tiles = [load_image(os.path.join(art_dir, numbered[n]), TILE, shared)
             for n in range(1, TOOLBAR_COUNT + 1)]
    icons = [load_image(os.path.join(art_dir, name), size, shared)
             for name, size in ICON_FILES]
    return tiles, icons


def bgr_rows_bottom_up(image, mask_to_black=False):
    """24-bit pixel data, bottom row first, each row padded to 4 bytes."""
    out = bytearray()
    for row in reversed(image):
        line = bytearray()
        for rgb in row:
            if mask_to_black and rgb == MASK_RGB:
                line += b"\0\0\0"
            else:
                line += bytes((rgb[2], rgb[1], rgb[0]))
        line += b"\0" * (-len(line) % 4)
        out += line
    return bytes(out)


def info_header(width, height, image_size):
    # BITMAPINFOHEADER: size, w, h, planes, bpp, BI_RGB, image size, x/y ppm, colours
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, image_size,
                       2835, 2835, 0, 0)


def make_bmp(tiles):
    width, height = TILE * len(tiles), TILE
    strip = [[px for tile in tiles for px in tile[y]] for y in range(height)]
    pixels = bgr_rows_bottom_up(strip)
    offset = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return file_header + info_header(width, height, len(pixels)) + pixels


def and_mask_bottom_up(image):
    """1 bit per pixel, 1 = transparent, rows padded to 4 bytes."""
    out = bytearray()
    for row in reversed(image):
        line = bytearray((len(row) + 7) // 8)
        for x, rgb in enumerate(row):
            if rgb == MASK_RGB:
                line[x // 8] |= 0x80 >> (x % 8)
        line += b"\0" * (-len(line) % 4)
        out += line
    return bytes(out)


def make_ico(icons):
    blobs = []
    for image in icons:
        size = len(image)
        xor = bgr_rows_bottom_up(image, mask_to_black=True)
        mask = and_mask_bottom_up(image)
        blobs.append((size, info_header(size, size * 2, len(xor) + len(mask)) + xor + mask))
    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    offset = 6 + 16 * len(blobs)
    for size, blob in blobs:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 24,
                           len(blob), offset)
        offset += len(blob)
    for _, blob in blobs:
        out += blob
    return bytes(out)


def write_all(out_dir, files):
    """Write every file to a temporary name first, then rename them into place."""
    os.makedirs(out_dir, exist_ok=True)
    temps = []
    try:
        for name, data in files:
            fd, tmp = tempfile.mkstemp(prefix="." + name + ".", dir=out_dir)
            temps.append((tmp, name))
            with os.fdopen(fd, "wb") as f:
                f.write(data)
            os.chmod(tmp, 0o644)
        for tmp, name in temps:
            os.replace(tmp, os.path.join(out_dir, name))
    except BaseException:
        for tmp, _ in temps:
            if os.path.exists(tmp):
                os.unlink(tmp)
        raise


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: %s <art_dir> <out_dir>\n" % argv[0])
        return 2
    art_dir, out_dir = argv[1], argv[2]
    try:
        tiles, icons = load_all(art_dir)
        files = [("toolbar.bmp", make_bmp(tiles)), ("vellumox.ico", make_ico(icons))]
        write_all(out_dir, files)
    except (ArtError, OSError) as e:
        sys.stderr.write("make_art: error: %s\n" % e)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
