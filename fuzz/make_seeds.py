#!/usr/bin/env python3
"""Writes the fuzzers' seed corpora into corpus/<target>/.

Every seed is made here, from fixed random seeds, so running this again gives
the same files. Usage: fuzz/make_seeds.py [corpus-dir]
"""
import os
import random
import struct
import sys

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def put(target, name, data):
    folder = os.path.join(OUT, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("latin-1")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- list files: the sprite and sound lists -----------------------------------
def list_seeds():
    t = "fuzz_list_file"
    put(t, "sprites_lf", "Data\\silver.png\nData\\gold.png\nData\\board.png\n")
    put(t, "sounds_crlf", "Data\\tick.wav\r\nData\\clack.wav\r\n\r\nData\\whoosh.wav")
    put(t, "empty_lines", "\n\n\na\n\n")
    put(t, "long_1500", "L" * 1500 + "\nafter\n")
    put(t, "exact_1023", "E" * 1023 + "\n" + "F" * 2046 + "\r\nlast")
    put(t, "cr_at_piece_end", "C" * 1022 + "\r\n" + "D" * 1023 + "\r")
    put(t, "nul_inside", "ab\0cd\nx\0\n\0\n" + "N" * 1020 + "\0" + "M" * 10 + "\n")
    put(t, "lone_cr", "a\rb\r\rc\n\r")


# --- rectangle packer: the bytes are decoded by FuzzedDataProvider ------------
def packer_seeds():
    rng = random.Random(5301)
    for n in (16, 64, 256, 1024):
        put("fuzz_rect_packer", "random_%d" % n, bytes(rng.randrange(256) for _ in range(n)))
    rng = random.Random(5101)
    for n in (8, 48, 200, 600):
        put("fuzz_sprite_packing", "random_%d" % n, bytes(rng.randrange(256) for _ in range(n)))

# --- fonts: small TrueType files built from scratch -----------------------------
def _checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(">%dI" % (len(data) // 4), data)) & 0xFFFFFFFF


def _simple_glyph(contours):
    """A glyph of straight-edged closed contours, every point on the curve."""
    points = [p for c in contours for p in c]
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    out = struct.pack(">hhhhh", len(contours), min(xs), min(ys), max(xs), max(ys))
    end = -1
    for c in contours:
        end += len(c)
        out += struct.pack(">H", end)
    out += struct.pack(">H", 0)                     # no instructions
    out += bytes([0x01] * len(points))              # on curve, 16-bit deltas
    px = py = 0
    dx = b""
    dy = b""
    for x, y in points:
        dx += struct.pack(">h", x - px)
        dy += struct.pack(">h", y - py)
        px, py = x, y
    out = out + dx + dy
    return out + b"\0" * (len(out) % 2)


def _composite_glyph(component, dx, dy):
    # ARG_1_AND_2_ARE_WORDS | ARGS_ARE_XY_VALUES
    return struct.pack(">hhhhhHHhh", -1, 0, 0, 600, 700, 0x0003, component, dx, dy)


def _box(x0, y0, x1, y1):
    return [(x0, y0), (x0, y1), (x1, y1), (x1, y0)]


def make_font(glyphs, cmap, units=1000):
    """glyphs: list of (glyf bytes, advance); cmap: {code: glyph index}."""
    n = len(glyphs)
    glyf = b""
    loca = []
    for data, _ in glyphs:
        loca.append(len(glyf))
        glyf += data
    loca.append(len(glyf))
    tables = {}
    tables[b"glyf"] = glyf
    tables[b"loca"] = b"".join(struct.pack(">H", o // 2) for o in loca)
    tables[b"head"] = struct.pack(">IIIIHHqqhhhhHHhhh", 0x00010000, 0x00010000, 0, 0x5F0F3CF5,
                                  0x000B, units, 0, 0, -100, -300, 1100, 900, 0, 8, 2, 0, 0)
    tables[b"hhea"] = struct.pack(">IhhhHhhhhhhhhhhhH", 0x00010000, 900, -300, 0,
                                  max(a for _, a in glyphs), 0, 0, 1100, 1, 0, 0, 0, 0, 0, 0, 0, n)
    tables[b"maxp"] = struct.pack(">IHHHHHHHHHHHHHH", 0x00010000, n, 64, 4, 64, 4, 2, 0, 0, 0, 0, 0, 0, 1, 1)
    tables[b"hmtx"] = b"".join(struct.pack(">Hh", a, 0) for _, a in glyphs)
    tables[b"post"] = struct.pack(">IIhhIIIII", 0x00030000, 0, -100, 50, 0, 0, 0, 0, 0)
    # cmap format 4, one segment per code, then the closing 0xFFFF segment.
    codes = sorted(cmap)
    segs = [(c, c, (cmap[c] - c) & 0xFFFF) for c in codes] + [(0xFFFF, 0xFFFF, 1)]
    segx2 = 2 * len(segs)
    log = len(segs).bit_length() - 1
    sub = struct.pack(">HHHHHHH", 4, 16 + 8 * len(segs), 0, segx2, 2 << log, log, segx2 - (2 << log))
    sub += b"".join(struct.pack(">H", e) for _, e, _ in segs) + struct.pack(">H", 0)
    sub += b"".join(struct.pack(">H", s) for s, _, _ in segs)
    sub += b"".join(struct.pack(">H", d) for _, _, d in segs)
    sub += b"\0\0" * len(segs)
    tables[b"cmap"] = struct.pack(">HHHHI", 0, 1, 3, 1, 12) + sub

    tags = sorted(tables)
    log = len(tags).bit_length() - 1
    header = struct.pack(">IHHHH", 0x00010000, len(tags), 16 << log, log, 16 * len(tags) - (16 << log))
    offset = 12 + 16 * len(tags)
    records = b""
    body = b""
    for tag in tags:
        data = tables[tag]
        records += struct.pack(">4sIII", tag, _checksum(data), offset + len(body), len(data))
        body += data + b"\0" * (-len(data) % 4)
    return header + records + body


def font_seeds():
    t = "fuzz_font"
    notdef = (b"", 500)
    space = (b"", 300)
    letter = (_simple_glyph([_box(50, 0, 550, 700), _box(150, 100, 450, 600)]), 600)
    bar = (_simple_glyph([_box(100, -250, 250, 750)]), 350)
    wide = (_simple_glyph([_box(0, 300, 1050, 400)]), 1100)
    tri = (_simple_glyph([[(0, 0), (300, 700), (600, 0)]]), 650)
    put(t, "one_glyph", make_font([notdef, letter], {0x41: 1}))
    put(t, "latin", make_font([notdef, space, letter, bar, wide, tri],
                              {0x20: 1, 0x41: 2, 0x67: 3, 0x70: 3, 0x2D: 4, 0x56: 5, 0xE9: 2, 0x2014: 4}))
    put(t, "composite", make_font([notdef, letter, (_composite_glyph(1, 100, -50), 700)],
                                  {0x41: 1, 0x42: 2, 0xFFFE: 1}))
    put(t, "no_glyphs", make_font([notdef], {}))
    put(t, "bitmap_40px.bdf", make_bdf(40))


def make_bdf(pixels):
    """A bitmap font (BDF) with one strike of the given pixel size: FreeType
    hands its glyphs over as 1-bit bitmaps, not rendered outlines."""
    glyphs = []   # (name, code, width, height, x offset, y offset, advance)
    glyphs.append(("space", 0x20, 0, 0, 0, 0, pixels // 3))
    glyphs.append(("A", 0x41, 13, pixels * 3 // 4, 1, 0, 16))
    glyphs.append(("g", 0x67, 9, pixels * 3 // 4, 1, -pixels // 5, 12))
    glyphs.append(("eacute", 0xE9, 17, 3, 0, pixels // 2, 18))
    glyphs.append(("dash", 0x2014, pixels, 2, 0, pixels // 3, pixels))
    lines = ["STARTFONT 2.1",
             "FONT -vesk-seed-medium-r-normal--%d-%d-72-72-p-%d-iso10646-1" % (pixels, pixels * 10, pixels * 6),
             "SIZE %d 72 72" % pixels,
             "FONTBOUNDINGBOX %d %d 0 %d" % (pixels, pixels, -pixels // 5),
             "STARTPROPERTIES 3",
             "FONT_ASCENT %d" % (pixels - pixels // 5),
             "FONT_DESCENT %d" % (pixels // 5),
             "PIXEL_SIZE %d" % pixels,
             "ENDPROPERTIES",
             "CHARS %d" % len(glyphs)]
    for name, code, w, h, x, y, adv in glyphs:
        lines += ["STARTCHAR " + name, "ENCODING %d" % code, "SWIDTH %d 0" % (adv * 1000 // pixels),
                  "DWIDTH %d 0" % adv, "BBX %d %d %d %d" % (w, h, x, y), "BITMAP"]
        row_bytes = (w + 7) // 8
        for j in range(h):
            bits = "".join("1" if (i + j) % 3 else "0" for i in range(w)) + "0" * (row_bytes * 8 - w)
            lines.append("".join("%02X" % int(bits[k:k + 8], 2) for k in range(0, len(bits), 8)))
        lines.append("ENDCHAR")
    lines.append("ENDFONT")
    return "\n".join(lines) + "\n"


# --- position notation ------------------------------------------------------
def notation_seeds():
    t = "fuzz_notation"
    put(t, "start", "---/----/-----/----/--- g 0")
    put(t, "opening", "-g1-/----/--s2--/----/--- g 0")
    put(t, "middle", "g2-s13/g1s1--/-g3s2-g1/s1--g2/--s1 s 1")
    put(t, "finished", "g1g1g1/s2---/-----/----/s1s1s1 g 2")
    put(t, "bad_row", "---/---/-----/----/--- g 0")
    put(t, "bad_count", "g0--/----/-----/----/--- g 0")
    put(t, "too_many", "g19g1-/----/-----/----/--- s 0")


def main():
    notation_seeds()
    list_seeds()
    packer_seeds()
    font_seeds()


if __name__ == "__main__":
    main()
