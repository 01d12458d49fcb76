#!/usr/bin/env python3
"""Draws the program's icons and menu pictures and writes them as .ico/.bmp.

The pictures come from the character grids in src/res/pictures/src/*.txt and
from the drawing code below (the clock's larger sizes and the 32 x 32
setup box).
Output goes to src/res/pictures/.  The output only depends on the sources, so
running the script again gives byte-identical files.

    python3 scripts/make-pictures.py           write the files
    python3 scripts/make-pictures.py --check   compare the files on disk with
                                               what the sources give, and check
                                               that no picture is blank
"""

import argparse
import math
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PICTURES = os.path.join(ROOT, "src", "res", "pictures")
SOURCES = os.path.join(PICTURES, "src")

# The 16-colour Windows palette, in its usual index order.
VGA = [
    (0, 0, 0),        # 0 black
    (128, 0, 0),      # 1 maroon
    (0, 128, 0),      # 2 green
    (128, 128, 0),    # 3 olive
    (0, 0, 128),      # 4 navy
    (128, 0, 128),    # 5 purple
    (0, 128, 128),    # 6 teal
    (192, 192, 192),  # 7 silver
    (128, 128, 128),  # 8 grey
    (255, 0, 0),      # 9 red
    (0, 255, 0),      # 10 lime
    (255, 255, 0),    # 11 yellow
    (0, 0, 255),      # 12 blue
    (255, 0, 255),    # 13 magenta
    (0, 255, 255),    # 14 aqua
    (255, 255, 255),  # 15 white
]

# Letters used in the grid files.  '.' is transparent (in icons) or the
# background (in the menu bitmap).
LETTERS = {
    "K": VGA[0], "r": VGA[1], "g": VGA[2], "o": VGA[3],
    "n": VGA[4], "p": VGA[5], "t": VGA[6], "s": VGA[7],
    "d": VGA[8], "R": VGA[9], "G": VGA[10], "Y": VGA[11],
    "B": VGA[12], "M": VGA[13], "A": VGA[14], "W": VGA[15],
}


def palette256():
    """VGA colours, then a 6x6x6 colour cube, then 24 greys."""
    pal = list(VGA)
    levels = (0, 51, 102, 153, 204, 255)
    for r in levels:
        for g in levels:
            for b in levels:
                pal.append((r, g, b))
    for i in range(24):
        v = 8 + 10 * i
        pal.append((v, v, v))
    assert len(pal) == 256
    return pal


PAL256 = palette256()


# ---------------------------------------------------------------- pictures

class Picture:
    """A w x h grid of (r, g, b) colours; None marks a transparent pixel."""

    def __init__(self, w, h):
        self.w = w
        self.h = h
        self.px = [[None] * w for _ in range(h)]

    def get(self, x, y):
        return self.px[y][x]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def mirrored(self):
        out = Picture(self.w, self.h)
        out.px = [list(reversed(row)) for row in self.px]
        return out

    def colours(self):
        return {c for row in self.px for c in row if c is not None}

    def count(self, keep=lambda c: c is not None):
        return sum(1 for row in self.px for c in row if keep(c))


def read_grids(filename):
    """Reads '== name' sections of equally long rows; '#' lines are comments."""
    grids = {}
    name = None
    with open(os.path.join(SOURCES, filename), encoding="utf-8") as f:
        for lineno, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if line.startswith("#") or not line.strip():
                continue
            if line.startswith("== "):
                name = line[3:].strip()
                if name in grids:
                    raise SystemExit("%s:%d: %s defined twice" % (filename, lineno, name))
                grids[name] = []
                continue
            if name is None:
                raise SystemExit("%s:%d: row before any '== name'" % (filename, lineno))
            grids[name].append(line)
    for name, rows in grids.items():
        widths = {len(r) for r in rows}
        if len(widths) != 1:
            raise SystemExit("%s: %s has rows of different lengths %s"
                             % (filename, name, sorted(widths)))
    return grids


def from_grid(rows, slots=None, size=None):
    """Turns a grid into a Picture.  slots maps the digit placeholders to
    letters; size, if given, is the (w, h) the grid must have."""
    h = len(rows)
    w = len(rows[0])
    if size is not None and (w, h) != size:
        raise SystemExit("grid is %dx%d, expected %dx%d" % (w, h, size[0], size[1]))
    pic = Picture(w, h)
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if slots and ch in slots:
                ch = slots[ch]
            if ch == ".":
                continue
            if ch not in LETTERS:
                raise SystemExit("unknown colour letter %r" % ch)
            pic.px[y][x] = LETTERS[ch]
    return pic


# ---------------------------------------------------------------- drawing

def disc_mask(w, h, cx, cy, r):
    """Pixels whose centres lie within r of (cx, cy)."""
    return {(x, y) for y in range(h) for x in range(w)
            if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r}


def polygon_mask(w, h, points):
    """Pixels whose centres lie inside the polygon (even-odd rule)."""
    mask = set()
    n = len(points)
    for y in range(h):
        py = y + 0.5
        for x in range(w):
            px = x + 0.5
            inside = False
            for i in range(n):
                x0, y0 = points[i]
                x1, y1 = points[(i + 1) % n]
                if (y0 > py) != (y1 > py):
                    xc = x0 + (py - y0) * (x1 - x0) / (y1 - y0)
                    if px < xc:
                        inside = not inside
            if inside:
                mask.add((x, y))
    return mask


def border(mask):
    """The pixels of mask that have a side neighbour outside it."""
    return {(x, y) for (x, y) in mask
            if not {(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)} <= mask}


def fill(pic, mask, colour):
    for x, y in mask:
        pic.set(x, y, colour)


def segment_distance(px, py, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    t = ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (x0 + t * dx), py - (y0 + t * dy))


def mix(a, b, t):
    return tuple(a[i] * (1 - t) + b[i] * t for i in range(3))


def nearest(palette, c):
    best = None
    for i, p in enumerate(palette):
        d = (p[0] - c[0]) ** 2 + (p[1] - c[1]) ** 2 + (p[2] - c[2]) ** 2
        if best is None or d < best[0]:
            best = (d, i)
    return best[1]


def render(w, h, scene, samples):
    """Samples scene(x, y) -> colour or None on a samples x samples grid in
    each pixel.  A pixel is opaque when at least half its samples are, and
    gets the mean of those samples."""
    pic = Picture(w, h)
    for y in range(h):
        for x in range(w):
            hits = []
            for j in range(samples):
                for i in range(samples):
                    c = scene(x + (i + 0.5) / samples, y + (j + 0.5) / samples)
                    if c is not None:
                        hits.append(c)
            if hits and 2 * len(hits) >= samples * samples:
                pic.px[y][x] = tuple(sum(c[k] for c in hits) / len(hits) for k in range(3))
    return pic


def clock_picture(size):
    """The clock face for the 32 and 48 pixel icons: black edge, blue rim,
    white dial with twelve ticks, hands at about ten past ten.  The 48 pixel
    one is shaded and smoothed for its 256-colour palette."""
    smooth = size >= 48
    half = size / 2.0               # the dial fills the square
    R = half - 0.5
    rim = 0.17 * R                  # width of the blue rim
    dial = R - rim
    white, black, navy = VGA[15], VGA[0], VGA[4]

    # Marks on the dial: (angle in degrees clockwise from 12, inner radius,
    # outer radius, width, colour), then the hands.
    marks = []
    for i in range(12):
        major = i % 3 == 0
        if smooth:
            marks.append((i * 30, dial * (0.70 if major else 0.80), dial * 0.93,
                          2.6 if major else 1.4, black if major else navy))
        elif major:
            marks.append((i * 30, dial * 0.70, dial * 0.92, 2.0, black))
        else:
            marks.append((i * 30, dial * 0.78, dial * 0.92, 1.1, navy))
    hands = [
        (305, -0.12 * dial, 0.52 * dial, 3.2 if smooth else 2.2, black),   # hour
        (60, -0.12 * dial, 0.80 * dial, 2.2 if smooth else 1.2, black),    # minute
    ]
    if smooth:
        hands.append((200, -0.20 * dial, 0.85 * dial, 1.0, VGA[9]))       # second

    def ends(angle, r0, r1):
        a = math.radians(angle)
        sx, sy = math.sin(a), -math.cos(a)
        return (half + sx * r0, half + sy * r0, half + sx * r1, half + sy * r1)

    strokes = [(ends(a, r0, r1), wd, col) for a, r0, r1, wd, col in marks + hands]
    hub = 0.09 * dial if smooth else 1.2

    def scene(x, y):
        dx, dy = x - half, y - half
        d = math.hypot(dx, dy)
        if d > R + 0.5:
            return None
        if d > R + 0.5 - (1.6 if smooth else 1.0):
            return black
        if d > dial:
            if not smooth:
                return VGA[12]
            # light from the top left
            t = (dx + dy) / (2 * R) * 0.5 + 0.5
            return mix((90, 140, 255), (0, 0, 150), t)
        if d > dial - (1.2 if smooth else 1.0):
            return navy
        for (x0, y0, x1, y1), wd, col in strokes:
            if segment_distance(x, y, x0, y0, x1, y1) <= wd / 2:
                return col
        if d <= hub:
            return VGA[9] if smooth else black
        if smooth:
            t = min(1.0, math.hypot(dx + 0.3 * dial, dy + 0.3 * dial) / (1.6 * dial))
            return mix(white, (200, 205, 215), t * t)
        return white

    pic = render(size, size, scene, 4 if smooth else 1)
    if not smooth:
        # a clean one-pixel black edge all round
        fill(pic, border({(x, y) for y in range(size) for x in range(size)
                          if pic.px[y][x] is not None}), black)
    return pic


def setup_picture():
    """The 32 x 32 setup picture: an open box seen from above the front
    right, with a green arrow pointing down into it."""
    size = 32
    pic = Picture(size, size)
    # (points, fill colour); each shape gets its own black edge, so faces
    # that touch are split by a line.  Later shapes cover earlier ones.
    opening = [(2, 16), (8, 10), (31, 10), (25, 16)]
    front = [(2, 16), (25, 16), (25, 31), (2, 31)]
    side = [(25, 16), (31, 10), (31, 25), (25, 31)]
    arrow = [(11, 0), (21, 0), (21, 7), (27, 7), (16, 18), (5, 7), (11, 7)]
    for points, colour in [(opening, VGA[1]), (front, VGA[11]), (side, VGA[3])]:
        m = polygon_mask(size, size, points)
        fill(pic, m, colour)
        fill(pic, border(m), VGA[0])
    # a strip of tape down the front
    tape = polygon_mask(size, size, [(11, 17), (16, 17), (16, 30), (11, 30)])
    fill(pic, tape, VGA[3])
    m = polygon_mask(size, size, arrow)
    fill(pic, m, VGA[10])
    # the arrow's right-hand part in shadow
    fill(pic, {(x, y) for (x, y) in m if x >= 18}, VGA[2])
    fill(pic, border(m), VGA[0])
    return pic


# ---------------------------------------------------------------- file formats

def rows_bottom_up(pic, index_of, bpp):
    """Packs the picture's rows, last row first, each padded to 4 bytes."""
    out = bytearray()
    per_byte = 8 // bpp
    stride = ((pic.w * bpp + 31) // 32) * 4
    for y in range(pic.h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(pic.w):
            v = index_of(pic.px[y][x])
            shift = (per_byte - 1 - x % per_byte) * bpp
            row[x // per_byte] |= v << shift
        out += row
    return bytes(out)


def palette_bytes(palette):
    return b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)


def exact_index(palette):
    lookup = {tuple(p): i for i, p in enumerate(palette)}

    def index_of(c):
        if c is None:
            return 0
        key = tuple(int(v) for v in c)
        if key not in lookup:
            raise SystemExit("colour %r is not in the 16-colour palette" % (key,))
        return lookup[key]
    return index_of


def nearest_index(palette):
    cache = {}

    def index_of(c):
        if c is None:
            return 0
        key = tuple(int(round(v)) for v in c)
        if key not in cache:
            cache[key] = nearest(palette, key)
        return cache[key]
    return index_of


def icon_image(pic, bpp):
    """One icon image: header, palette, colour bits, then the AND mask
    (1 = transparent; transparent pixels are black in the colour bits)."""
    if bpp == 4:
        palette, index_of = VGA, exact_index(VGA)
    elif bpp == 8:
        palette, index_of = PAL256, nearest_index(PAL256)
    else:
        raise ValueError(bpp)
    colour = rows_bottom_up(pic, index_of, bpp)
    mask = rows_bottom_up(pic, lambda c: 1 if c is None else 0, 1)
    header = struct.pack("<IiiHHIIiiII", 40, pic.w, pic.h * 2, 1, bpp, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + palette_bytes(palette) + colour + mask


def ico_file(images):
    """images: list of (Picture, bits per pixel)."""
    datas = [icon_image(p, bpp) for p, bpp in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for (pic, bpp), data in zip(images, datas):
        out += struct.pack("<BBBBHHII", pic.w % 256, pic.h % 256,
                           16 if bpp == 4 else 0, 0, 1, bpp, len(data), offset)
        offset += len(data)
    return out + b"".join(datas)


def bmp_file(pic):
    """A 4-bit bottom-up BMP with the 16-colour palette."""
    bits = rows_bottom_up(pic, exact_index(VGA), 4)
    info = struct.pack("<IiiHHIIiiII", 40, pic.w, pic.h, 1, 4, 0, len(bits),
                       2835, 2835, 16, 16)
    offset = 14 + len(info) + 16 * 4
    head = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return head + info + palette_bytes(VGA) + bits


# ---------------------------------------------------------------- the pictures

BELL_COLOURS = {
    # body, shadow side and rim, highlight
    "yellow": {"1": "Y", "2": "o", "3": "W"},
    "magenta": {"1": "M", "2": "p", "3": "W"},
    "red": {"1": "R", "2": "r", "3": "W"},
    "olive": {"1": "o", "2": "d", "3": "s"},
}

# The sizes the bells and menu pictures are made in besides 16: 125, 150 and
# 200 %.  Every size comes from the same 16-pixel grid, so one change of a
# picture changes them all.
LARGER_SIDES = (20, 24, 32)


def doubled(pic):
    """The picture at twice its size by Scale2x: each pixel becomes four, and
    where two neighbours of a corner agree the corner takes their colour, so
    diagonals stay lines instead of stairs of blocks."""
    out = Picture(pic.w * 2, pic.h * 2)

    def at(x, y):
        x = min(max(x, 0), pic.w - 1)
        y = min(max(y, 0), pic.h - 1)
        return pic.px[y][x]

    for y in range(pic.h):
        for x in range(pic.w):
            p = at(x, y)
            a, b, c, d = at(x, y - 1), at(x + 1, y), at(x - 1, y), at(x, y + 1)
            corners = [p, p, p, p]
            if c == a and c != d and a != b:
                corners[0] = a
            if a == b and a != c and b != d:
                corners[1] = b
            if d == c and d != b and c != a:
                corners[2] = c
            if b == d and b != a and d != c:
                corners[3] = d
            for n, colour in enumerate(corners):
                out.px[2 * y + n // 2][2 * x + n % 2] = colour
    return out


def enlarged(pic, w, h):
    """The picture at w x h (up to twice its size), sampled from its Scale2x
    enlargement; only the picture's own colours are used."""
    big = doubled(pic)
    out = Picture(w, h)
    for y in range(h):
        for x in range(w):
            out.px[y][x] = big.px[int((y + 0.5) * big.h / h)][int((x + 0.5) * big.w / w)]
    return out


def in_every_size(pic):
    return [(pic, 4)] + [(enlarged(pic, side, side), 4) for side in LARGER_SIDES]


MENU_ORDER = ["menu_save", "menu_clock", "menu_exit", "menu_datetime", "menu_lock",
              "menu_properties", "menu_list", "menu_add", "menu_bell", "menu_help"]
MENU_CELL = (16, 15)


# The menu pictures' cells at 125, 150 and 200 %, as the clock loads them.
LARGER_MENU_CELLS = {"menu20.bmp": (20, 19), "menu24.bmp": (24, 23), "menu32.bmp": (32, 30)}


def menu_picture(grids, cell_size=MENU_CELL):
    w, h = cell_size
    sheet = Picture(w * len(MENU_ORDER), h)
    for n, name in enumerate(MENU_ORDER):
        if "s" in "".join(grids[name]):
            raise SystemExit("%s uses light grey, which is the menu's transparent colour" % name)
        cell = from_grid(grids[name], size=MENU_CELL)
        if cell_size != MENU_CELL:
            cell = enlarged(cell, w, h)
        for y in range(h):
            for x in range(w):
                sheet.px[y][n * w + x] = cell.px[y][x] or VGA[7]
    return sheet


def build():
    """Returns {file name: (bytes, [pictures, for checking])}."""
    bells = read_grids("bells.txt")
    notice = read_grids("notice.txt")
    clock16 = read_grids("clock16.txt")
    setup16 = read_grids("setup16.txt")
    menu = read_grids("menu.txt")
    sq = (16, 16)

    def bell(colour, grid="bell"):
        return from_grid(bells[grid], BELL_COLOURS[colour], sq)

    # The swings: the drawn tilt leans left; its mirror leans right.
    tilted = from_grid(bells["bell_tilted"], BELL_COLOURS["yellow"], sq)
    c16 = from_grid(clock16["clock16"], size=sq)
    c32 = clock_picture(32)
    c48 = clock_picture(48)

    icons = {
        "clock.ico": [(c32, 4), (c16, 4), (c48, 8)],
        "clock_small.ico": [(c16, 4)],
        "setup.ico": [(setup_picture(), 4), (from_grid(setup16["setup16"], size=sq), 4)],
        "notice.ico": [(from_grid(notice["notice"], size=sq), 4)],
        "bell_swing_a.ico": in_every_size(tilted),
        "bell_swing_b.ico": in_every_size(tilted.mirrored()),
        "bell_upright.ico": in_every_size(bell("yellow")),
        "bell_magenta.ico": in_every_size(bell("magenta")),
        "bell_red.ico": in_every_size(bell("red")),
        "bell_red_strokes.ico": in_every_size(bell("red", "bell_strokes")),
        "bell_olive.ico": in_every_size(bell("olive")),
    }
    files = {name: (ico_file(images), [p for p, _ in images]) for name, images in icons.items()}
    sheet = menu_picture(menu)
    files["menu.bmp"] = (bmp_file(sheet), [sheet])
    for name, cell in LARGER_MENU_CELLS.items():
        larger = menu_picture(menu, cell)
        files[name] = (bmp_file(larger), [larger])
    return files


def blank_problems(name, pics):
    """Every picture, and every menu cell, must show a real drawing."""
    problems = []
    for pic in pics:
        if name.startswith("menu"):
            w, h = LARGER_MENU_CELLS.get(name, MENU_CELL)
            for n in range(pic.w // w):
                cell = [pic.px[y][n * w + x] for y in range(h) for x in range(w)]
                ink = [c for c in cell if c != VGA[7]]
                if len(ink) < 0.25 * w * h or len(set(ink)) < 2:
                    problems.append("%s: picture %d is nearly empty" % (name, n))
        else:
            opaque = pic.count()
            if opaque < 0.3 * pic.w * pic.h or len(pic.colours()) < 3:
                problems.append("%s: the %dx%d image is nearly empty" % (name, pic.w, pic.h))
    return problems


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--check", action="store_true",
                    help="do not write; fail if the files differ from the sources")
    ap.add_argument("--out", default=PICTURES, help="output folder")
    args = ap.parse_args()

    files = build()
    problems = []
    for name, (data, pics) in sorted(files.items()):
        problems += blank_problems(name, pics)
        path = os.path.join(args.out, name)
        if args.check:
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        problems.append("%s differs from what the sources give" % name)
            except FileNotFoundError:
                problems.append("%s is missing" % name)
        else:
            with open(path, "wb") as f:
                f.write(data)
    for p in problems:
        print(p, file=sys.stderr)
    if problems:
        return 1
    if not args.check:
        print("wrote %d files to %s" % (len(files), args.out))
    return 0


if __name__ == "__main__":
    sys.exit(main())
