#!/usr/bin/env python3
# Pictures in every pixel format the decoder meets, made now (PNG and BMP byte by byte,
# TIFF, GIF and JPEG by ImageMagick), each with what ImageMagick shows of it laid over
# white: DIR/NAME, DIR/NAME.rgb (8-bit RGB rows) and DIR/pictures.txt, a line per
# picture: NAME and the largest difference per channel allowed (-1: the platform cannot
# decode it). Then hostile files in DIR/hostile/, listed in DIR/hostile.txt with what
# opening them must give: shown (with only its own pixels), toolarge or damaged.
#   make_pictures.py DIR
import os, struct, subprocess, sys, zlib

out = sys.argv[1]
W, H = 19, 13  # odd: every depth pads its rows
ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
ALPHAS = [0, 255, 128, 37, 255, 200]  # clear, opaque and between


def sample(x, y, c, depth):  # every level of small depths, low bytes that matter at 16
    return (x * 3449 + y * 9241 + c * 17011 if depth == 16 else x * 37 + y * 71 + c * 101 if depth == 8 else
            x + 3 * y + c) % (1 << depth)


def packed(values, depth):  # big-endian samples, the first in the high bits, the last byte filled with 0
    bits = "".join(format(v, f"0{depth}b") for v in values)
    return int(bits + "0" * (-len(bits) % 8), 2).to_bytes(-(-len(bits) // 8), "big")


def png(kind, depth, interlace=False, gamma=False, trns=False):
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[kind]
    alpha = lambda x, y: [ALPHAS[(x + y) % 6] * (257 if depth == 16 else 1)] if kind in (4, 6) else []
    px = lambda x, y: [sample(x, y, c, depth) for c in range(channels - (kind in (4, 6)))] + alpha(x, y)
    raw = b"".join(b"\0" + packed([s for x in range(x0, W, dx) for s in px(x, y)], depth)
                   for x0, y0, dx, dy in (ADAM7 if interlace else [(0, 0, 1, 1)]) if x0 < W for y in range(y0, H, dy))
    # tRNS: two clear entries of a palette; a grey or RGB colour that occurs
    clear = bytes([0, 128]) if kind == 3 else packed([sample(1, 1, c, depth) for c in range(channels)], 16)
    return b"\x89PNG\r\n\x1a\n" + b"".join(packed([len(body)], 32) + name + body + packed([zlib.crc32(name + body)], 32)
                                        for name, body, wanted in [
        (b"IHDR", struct.pack(">IIBBBBB", W, H, depth, kind, 0, 0, interlace), 1), (b"gAMA", struct.pack(">I", 45455), gamma),
        (b"PLTE", bytes((i * 97 + c * 55) % 256 for i in range(1 << depth) for c in range(3)), kind == 3),
        (b"tRNS", clear, trns), (b"IDAT", zlib.compress(raw), 1), (b"IEND", b"", 1)] if wanted)


def bmp(bits, topdown=False, masks=(), rle=False):
    colours = 1 << bits if bits <= 8 else 0
    table = b"".join(bytes([i * 53 % 256, i * 97 % 256, (i * 29 + 60) % 256, 0]) for i in range(colours))
    # 24 and 32 bits: a fourth byte that only an alpha mask makes alpha
    value = lambda x, y: sample(x, y, 0, min(bits, 16)) << 8 * (bits > 16) | (sample(x, y, 1, 8) if bits > 16 else 0) | (
        ALPHAS[(x + y) % 6] << 24 if bits == 32 and masks else 0)
    def row(v):  # RLE: runs of one index (RLE4: two alternating), an end of line after each row
        if rle:
            return b"".join(bytes([min(2, W - x), v[x] << 4 | v[x + 1]] if bits == 4 else [1, v[x]])
                            for x in range(0, W, 1 + (bits == 4))) + b"\0\0"
        r = packed(v[:W], bits) if bits <= 8 else b"".join(p.to_bytes(bits // 8, "little") for p in v[:W])
        return r + bytes(-len(r) % 4)
    rows = [row([value(x, y) for x in range(W)] + [0]) for y in range(H)]
    pixels = b"".join(rows if topdown else rows[::-1]) + (b"\0\1" if rle else b"")
    header = 108 if len(masks) == 4 else 40
    info = struct.pack("<IiiHHIIiiII", header, W, -H if topdown else H, 1, bits, (2 if bits == 4 else 1) if rle else
                       3 if masks else 0, len(pixels), 2835, 2835, colours, 0) + struct.pack(f"<{len(masks)}I", *masks)
    info += bytes(max(0, header - len(info)))
    offset = 14 + len(info) + len(table)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + table + pixels


def magick(source, *options):  # ImageMagick turns a picture made here (or its own) into another format
    made = ["-size", f"{W}x{H}", source] if ":" in source else [os.path.join(out, source)]
    return lambda path: subprocess.run(["convert", *made, *options, path], check=True)


# name, how it is made, the largest difference allowed per channel (-1: refused); 16 bits
# to 8 and alpha over white round apart by a step or two.
rows = [(f"png{kind}-{depth}{'-i' * i}{'-g' * g}{'-t' * t}.png", png(kind, depth, i, g, t),
         (depth == 16) + (kind in (4, 6) or t) * (1 + (depth == 16)))
        for kind, depths in [(0, [1, 2, 4, 8, 16]), (4, [8, 16]), (2, [8, 16]), (6, [8, 16]), (3, [1, 2, 4, 8])]
        for depth in depths for i, g, t in [(0, 0, 0), (1, 0, 0), (0, 1, 0)] + [(0, 0, 1)] * (kind in (0, 2, 3))]
rows += [(f"bmp{bits}{'-top' * top}.bmp", bmp(bits, top), 0) for bits in [1, 4, 8, 16, 24, 32] for top in [0, 1]]
rows += [("bmp16-565.bmp", bmp(16, masks=[0xF800, 0x7E0, 0x1F]), 0), ("bmp16-555.bmp", bmp(16, masks=[0x7C00, 0x3E0, 0x1F]), 0),
         ("bmp32-masks.bmp", bmp(32, masks=[0xFF0000, 0xFF00, 0xFF]), 0),
         ("bmp32-alpha.bmp", bmp(32, masks=[0xFF0000, 0xFF00, 0xFF, 0xFF000000]), 1),
         ("bmp4-rle.bmp", bmp(4, rle=True), 0), ("bmp8-rle.bmp", bmp(8, rle=True), 0),
         # masks other than 565, 555 and 8 bits a channel: Wine's decoder names no pixel format
         ("bmp16-444.bmp", bmp(16, masks=[0xF00, 0xF0, 0xF]), -1), ("bmp32-1010.bmp", bmp(32, masks=[0x3FF00000, 0xFFC00, 0x3FF]), -1)]
rows += [(f"tif-{src[:-4]}.tif", magick(src, "-endian", "LSB", "-compress", "none", *opts), close) for src, opts, close in [
    ("png0-8.png", [], 0), ("png0-16.png", [], 1), ("png2-8.png", [], 0), ("png2-16.png", [], 1),
    ("png3-8.png", ["-type", "Palette"], 0), ("png6-8.png", ["-type", "TrueColorAlpha"], 1)]]
rows += [("gif.gif", magick("png3-8.png"), 0), ("gif-t.gif", magick("png3-8-t.png"), 0),
         ("gif-i.gif", magick("png3-8.png", "-interlace", "GIF"), 0)]
# JPEG decoders round apart, and rebuild halved colour detail each their own way
rows += [(f"jpg-{name}.jpg", magick("gradient:orange-navy", "-quality", "90", *opts), close) for name, opts, close in [
    ("grey", ["-colorspace", "gray"], 2), ("cmyk", ["-colorspace", "cmyk"], 2), ("progressive", ["-interlace", "JPEG"], 2),
    ("420", ["-sampling-factor", "2x2"], 8), ("444", ["-sampling-factor", "1x1"], 2)]]

os.makedirs(out, exist_ok=True)
for name, made, close in rows:
    (path := os.path.join(out, name)), made(path) if callable(made) else open(path, "wb").write(made)
    subprocess.run(["convert", path + "[0]", "-background", "white", "-alpha", "remove", "-alpha", "off", "-depth", "8",
                    "rgb:" + path + ".rgb"], check=True)
with open(os.path.join(out, "pictures.txt"), "w") as f:
    f.writelines(f"{name} {close}\n" for name, _, close in rows)

# Hostile files: sizes hidden deep or lying, RLE data that leaves pixels undefined,
# indices past the colour table, GIF frames beyond their screen.
def segments(marker, count=5):  # about 320 KB of full-length segments
    return (b"\xff" + marker + b"\xff\xff" + b"c" * 0xFFFD) * count


def sof(width, height):
    return b"\xff\xc0\x00\x11\x08" + struct.pack(">HH", height, width) + b"\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01"


def indexed(bits, rle, pixels, entries, width=W, height=H):  # a BMP whose table holds no magenta
    table = b"".join(bytes([i * 40 % 256, 200 - i * 30 % 200, i * 70 % 256, 0]) for i in range(entries))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, rle, len(pixels), 2835, 2835, entries, 0)
    return b"BM" + struct.pack("<IHHI", 54 + len(table) + len(pixels), 0, 0, 54 + len(table)) + info + table + pixels


def lzw_run(pixels):  # index 0 throughout, code size 2: strings of 1, 2, 3... pixels, cleared before the table fills
    out, acc, nacc, width, free, longest = bytearray(), 0, 0, 3, 6, 1
    def put(code):
        nonlocal acc, nacc
        acc, nacc = acc | code << nacc, nacc + width
        while nacc >= 8: out.append(acc & 255); acc >>= 8; nacc -= 8
    put(4)
    while pixels:
        take = min(pixels, longest)
        put(0 if take == 1 else take + 4)
        pixels, free, longest = pixels - take, free + 1, longest + 1
        if free - 1 == 1 << width and width < 12: width += 1
        if free >= 4000 and pixels: put(4); width, free, longest = 3, 6, 1
    put(5), put(0)
    return b"".join(bytes([len(out[i:i + 255])]) + out[i:i + 255] for i in range(0, len(out), 255)) + b"\0"


def gif(frames, side):  # a 100 x 100 screen, frames of one colour with real data (30000 x 30000: 609 KB)
    frame = b"\x21\xf9\x04\x00\x00\x00\x00\x00,\0\0\0\0" + struct.pack("<HH", side, side) + b"\x00\x02" + lzw_run(side * side)
    return b"GIF89a" + struct.pack("<HH", 100, 100) + b"\x80\x00\x00" + bytes(6) + frame * frames + b";"


def chunk(name, body):
    return struct.pack(">I", len(body)) + name + body + struct.pack(">I", zlib.crc32(name + body))


jpeg = open(os.path.join(out, "jpg-444.jpg"), "rb").read()
hostile = [
    ("jpeg-deep.jpg", jpeg[:2] + segments(b"\xfe") + jpeg[2:], "shown"),
    ("jpeg-deep-huge.jpg", b"\xff\xd8" + segments(b"\xfe") + sof(65500, 65500) + bytes(4096), "toolarge"),
    ("jpeg-deep-limit.jpg", b"\xff\xd8" + segments(b"\xe1") + sof(8192, 8192) + b"\xff\xd9", "damaged"),
    ("jpeg-no-frame.jpg", b"\xff\xd8" + segments(b"\xfe", 1) + b"\xff\xda\x00\x02\xff\xd9", "damaged"),
    ("rle8-ends-early.bmp", indexed(8, 1, b"\x05\x01\x00\x00\x03\x02", 4), "shown"),
    ("rle8-jumps-past.bmp", indexed(8, 1, b"\x04\x03\x00\x02\x01\x40\x09\x01", 4), "shown"),
    ("rle4-end-only.bmp", indexed(4, 2, b"\x00\x01", 16), "shown"),
    ("rle8-short-table.bmp", indexed(8, 1, bytes(b for i in range(0, 256, 20) for b in (19, i, 0, 0)) + b"\0\1", 2), "shown"),
    ("bmp8-short-table.bmp", indexed(8, 0, bytes(range(256)) * 2, 3, 20, 25), "shown"),
    ("gif-big-frame.gif", gif(1, 30000), "toolarge"),
    ("gif-many-frames.gif", gif(20, 8000), "toolarge"),
    ("png-lies.png", png(2, 8)[:8] + chunk(b"IHDR", struct.pack(">IIBBBBB", 8000, 8000, 8, 2, 0, 0, 0)) + png(2, 8)[33:], "damaged"),
    ("tiff-lies.tif", b"II*\0\x08\0\0\0\x02\0" + struct.pack("<HHII", 256, 4, 1, 60000) + struct.pack("<HHII", 257, 4, 1, 60000), "toolarge"),
    ("bmp-lies.bmp", bmp(24)[:18] + struct.pack("<ii", 4000, 4000) + bmp(24)[26:], "damaged"),
    ("bmp-huge.bmp", bmp(24)[:18] + struct.pack("<ii", 30000, 30000) + bmp(24)[26:], "toolarge"),
]
os.makedirs(os.path.join(out, "hostile"), exist_ok=True)
# opened before each: its colour must not come back in a hostile file's pixels
magenta = b"\xff\x00\xff\x00" * 64 * 127
open(os.path.join(out, "magenta.bmp"), "wb").write(b"BM" + struct.pack("<IHHIIiiHHIIiiII", 54 + len(magenta), 0, 0, 54, 40, 64,
                                                                     127, 1, 32, 0, len(magenta), 2835, 2835, 0, 0) + magenta)
for name, made, _ in hostile:
    open(os.path.join(out, "hostile", name), "wb").write(made)
with open(os.path.join(out, "hostile.txt"), "w") as f:
    f.writelines(f"{name} {expected}\n" for name, _, expected in hostile)
