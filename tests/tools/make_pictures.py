#!/usr/bin/env python3
# Pictures in every pixel format the decoder meets, made now (PNG and BMP byte by byte,
# TIFF, GIF and JPEG by ImageMagick), each with what ImageMagick shows of it laid over
# white: DIR/NAME, DIR/NAME.rgb (8-bit RGB rows) and DIR/pictures.txt, a line per
# picture: NAME and the largest difference per channel allowed (-1: the platform cannot
# decode it).   make_pictures.py DIR
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
