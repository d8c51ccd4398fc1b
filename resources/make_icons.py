#!/usr/bin/env python3
"""Draw Panelry's icons and drag cursor and write them as Windows .ico/.cur.

Run from anywhere:  python3 resources/make_icons.py
The files land beside this script.  Only the standard library is used, and
the output is byte-for-byte reproducible.

Every image is stored as a BMP-style entry: a BITMAPINFOHEADER, 32-bit BGRA
pixels (bottom-up) and a 1-bit AND mask (bottom-up, rows padded to 4 bytes),
which is what windres, LoadIcon and LoadImage expect.
"""

import os
import struct
import sys

# ---------------------------------------------------------------------------
# Colours
# ---------------------------------------------------------------------------


def rgb(hexstr, a=1.0):
    hexstr = hexstr.lstrip("#")
    return (int(hexstr[0:2], 16) / 255.0,
            int(hexstr[2:4], 16) / 255.0,
            int(hexstr[4:6], 16) / 255.0,
            a)


OUTLINE = rgb("1b2636")      # frame and tab outlines
ACCENT = rgb("2f7fe8")       # front tab and header strip
ACCENT_LIGHT = rgb("6aa8f7")  # top highlight of the front tab
BACK_TAB = rgb("b4c1d1")     # tabs behind the front one
BACK_TAB_2 = rgb("9eadc0")   # the rearmost tab
PAGE = rgb("ffffff")         # window content
PAGE_SHADE = rgb("e9eef4")   # bottom of the window content
LINE = rgb("c3cedb")         # content lines
SHADOW = rgb("000000", 0.2)

FACE_TOP = rgb("f7f9fb")     # header-bar button face (released)
FACE_BOTTOM = rgb("dce2ea")
FACE_BORDER = rgb("8793a3")
PRESSED_TOP = rgb("b3bdca")  # button face (pushed in)
PRESSED_BOTTOM = rgb("c6cfda")
PRESSED_BORDER = rgb("5f6b7b")
PRESSED_INNER = rgb("97a3b3")  # inner shadow along the top and left edge
GLYPH = rgb("243042")
CLOSE_GLYPH = rgb("b42318")

CURSOR_FILL = rgb("ffffff")
CURSOR_EDGE = rgb("000000")


def mix(c1, c2, t):
    return tuple(c1[i] + (c2[i] - c1[i]) * t for i in range(4))


# ---------------------------------------------------------------------------
# A tiny raster canvas with straight (non-premultiplied) alpha
# ---------------------------------------------------------------------------


class Lines:
    """Lines and outlines from whatever fill_rect the drawing surface has."""

    def hline(self, x0, x1, y, color):
        self.fill_rect(x0, y, x1, y, color)

    def vline(self, x, y0, y1, color):
        self.fill_rect(x, y0, x, y1, color)

    def outline_rect(self, x0, y0, x1, y1, color):
        self.hline(x0, x1, y0, color)
        self.hline(x0, x1, y1, color)
        self.vline(x0, y0, y1, color)
        self.vline(x1, y0, y1, color)


class Canvas(Lines):
    def __init__(self, w, h):
        self.w = w
        self.h = h
        self.px = [[(0.0, 0.0, 0.0, 0.0) for _ in range(w)] for _ in range(h)]

    def blend(self, x, y, color, cover=1.0):
        """Composite color over pixel (x, y) with the given coverage."""
        if not (0 <= x < self.w and 0 <= y < self.h) or cover <= 0:
            return
        sr, sg, sb, sa = color
        sa *= min(cover, 1.0)
        dr, dg, db, da = self.px[y][x]
        oa = sa + da * (1.0 - sa)
        if oa <= 0:
            self.px[y][x] = (0.0, 0.0, 0.0, 0.0)
            return
        f = da * (1.0 - sa)
        self.px[y][x] = ((sr * sa + dr * f) / oa,
                         (sg * sa + dg * f) / oa,
                         (sb * sa + db * f) / oa,
                         oa)

    def put(self, x, y, color):
        """Replace a pixel outright (no compositing)."""
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = color

    def clear(self, x, y):
        self.put(x, y, (0.0, 0.0, 0.0, 0.0))

    def get(self, x, y):
        return self.px[y][x]

    def fill_rect(self, x0, y0, x1, y1, color):
        """Fill the inclusive pixel rectangle [x0..x1] x [y0..y1]."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.blend(x, y, color)

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        for y in range(y0, y1 + 1):
            t = 0.0 if y1 == y0 else (y - y0) / (y1 - y0)
            c = mix(top, bottom, t)
            for x in range(x0, x1 + 1):
                self.blend(x, y, c)

    def shifted(self, dx, dy):
        out = Canvas(self.w, self.h)
        for y in range(self.h):
            for x in range(self.w):
                sx, sy = x - dx, y - dy
                if 0 <= sx < self.w and 0 <= sy < self.h:
                    out.px[y][x] = self.px[sy][sx]
        return out

    def draw_over(self, other):
        for y in range(self.h):
            for x in range(self.w):
                c = other.px[y][x]
                if c[3] > 0:
                    self.blend(x, y, c)


# ---------------------------------------------------------------------------
# Program icon: a window frame with tabs along its top edge
# ---------------------------------------------------------------------------


def tab(c, x0, y0, x1, y1, fill, top_fill=None, open_bottom=False):
    """A tab with 1-pixel rounded top corners and a dark outline.

    x0..x1, y0..y1 is the outline box (inclusive).  With open_bottom the
    bottom outline is left out so the tab flows into what lies below it.
    """
    if top_fill is None:
        c.fill_rect(x0 + 1, y0 + 1, x1 - 1, y1, fill)
    else:
        c.vgradient(x0 + 1, y0 + 1, x1 - 1, y1, top_fill, fill)
    c.hline(x0 + 1, x1 - 1, y0, OUTLINE)
    c.vline(x0, y0 + 1, y1, OUTLINE)
    c.vline(x1, y0 + 1, y1, OUTLINE)
    if not open_bottom:
        c.hline(x0, x1, y1, OUTLINE)


class Resized(Lines):
    """A canvas seen through a design grid of another size: each design
    pixel range becomes the whole pixels it covers, and a stroke keeps one
    width wherever it lies, so straight edges stay crisp at any size."""

    def __init__(self, canvas, design):
        self.c = canvas
        self.s = canvas.w / float(design)

    def _at(self, v):
        return int(v * self.s + 0.5)

    def _span(self, v0, v1):
        start = self._at(v0)
        return start, start + max(1, self._at(v1 - v0 + 1)) - 1

    def fill_rect(self, x0, y0, x1, y1, color):
        (a, b), (c, d) = self._span(x0, x1), self._span(y0, y1)
        self.c.fill_rect(a, c, b, d, color)

    def vgradient(self, x0, y0, x1, y1, top, bottom):
        (a, b), (c, d) = self._span(x0, x1), self._span(y0, y1)
        self.c.vgradient(a, c, b, d, top, bottom)

    def clear(self, x, y):
        (a, b), (c, d) = self._span(x, x), self._span(y, y)
        for yy in range(c, d + 1):
            for xx in range(a, b + 1):
                self.c.clear(xx, yy)


def app_icon(n):
    """The 32-pixel design at n pixels (24 and 48 for 150 %, 64 for 200 %)."""
    c = Canvas(n, n)
    draw_app_icon_32(Resized(c, 32))
    return c


def app_icon_32():
    c = Canvas(32, 32)
    draw_app_icon_32(c)
    return c


def draw_app_icon_32(c):
    # soft drop shadow, so the white page stays distinct on light task bars
    c.fill_rect(2, 11, 31, 31, SHADOW)
    c.clear(31, 11)
    c.clear(2, 31)
    # frame body
    c.fill_rect(1, 10, 30, 30, PAGE)
    c.vgradient(2, 20, 29, 29, PAGE, PAGE_SHADE)
    # header strip joined to the front tab
    c.fill_rect(2, 11, 29, 12, ACCENT)
    c.outline_rect(1, 10, 30, 30, OUTLINE)
    # rear tabs first, then the front tab on top of them
    tab(c, 19, 5, 28, 10, BACK_TAB_2)
    tab(c, 11, 5, 20, 10, BACK_TAB)
    tab(c, 2, 2, 12, 10, ACCENT, ACCENT_LIGHT, open_bottom=True)
    c.fill_rect(3, 10, 11, 10, ACCENT)
    # a few lines of content
    c.hline(5, 24, 16, LINE)
    c.hline(5, 20, 19, LINE)
    c.hline(5, 26, 22, LINE)
    c.hline(5, 17, 25, LINE)


def app_icon_16():
    c = Canvas(16, 16)
    c.fill_rect(1, 6, 15, 15, SHADOW)
    c.clear(15, 6)
    c.clear(1, 15)
    c.fill_rect(0, 5, 14, 14, PAGE)
    c.vgradient(1, 9, 13, 13, PAGE, PAGE_SHADE)
    c.fill_rect(1, 6, 13, 6, ACCENT)
    c.outline_rect(0, 5, 14, 14, OUTLINE)
    tab(c, 10, 2, 14, 5, BACK_TAB_2)
    tab(c, 6, 2, 10, 5, BACK_TAB)
    tab(c, 1, 0, 6, 5, ACCENT, ACCENT_LIGHT, open_bottom=True)
    c.fill_rect(2, 5, 5, 5, ACCENT)
    c.hline(3, 10, 9, LINE)
    c.hline(3, 8, 11, LINE)
    return c


# ---------------------------------------------------------------------------
# Header-bar buttons (16x16)
# ---------------------------------------------------------------------------


def button_face(pressed):
    c = Canvas(16, 16)
    if pressed:
        c.vgradient(1, 1, 14, 14, PRESSED_TOP, PRESSED_BOTTOM)
        c.hline(1, 14, 1, PRESSED_INNER)
        c.vline(1, 1, 14, PRESSED_INNER)
        border = PRESSED_BORDER
    else:
        c.vgradient(1, 1, 14, 14, FACE_TOP, FACE_BOTTOM)
        border = FACE_BORDER
    c.hline(1, 14, 0, border)
    c.hline(1, 14, 15, border)
    c.vline(0, 1, 14, border)
    c.vline(15, 1, 14, border)
    # rounded corners: a faint corner pixel instead of a hard one
    for x, y in ((0, 0), (15, 0), (0, 15), (15, 15)):
        c.blend(x, y, border, 0.3)
    return c


def button(glyph_fn, pressed):
    face = button_face(pressed)
    glyph = Canvas(16, 16)
    glyph_fn(glyph)
    if pressed:
        glyph = glyph.shifted(1, 1)
    face.draw_over(glyph)
    return face


def glyph_close(c):
    # a crisp x: two pixels per row on each diagonal, rows 4..11,
    # mirror-symmetric about x = 8
    for y in range(4, 12):
        for x in (y, y + 1, 15 - y, 16 - y):
            c.put(x, y, CLOSE_GLYPH)


def glyph_minimize(c):
    c.fill_rect(4, 10, 11, 11, GLYPH)


def glyph_release(c):
    # a window frame, open at its top-right corner, with a 2-pixel title bar
    c.fill_rect(2, 5, 6, 6, GLYPH)     # title bar, left part only
    c.vline(2, 5, 13, GLYPH)
    c.hline(2, 10, 13, GLYPH)
    c.vline(10, 10, 13, GLYPH)
    # an arrow from inside the frame out through the open corner
    for x in range(6, 13):
        c.put(x, 16 - x, GLYPH)
        c.put(x + 1, 16 - x, GLYPH)
    c.fill_rect(9, 3, 13, 4, GLYPH)    # arrowhead, top leg
    c.fill_rect(12, 3, 13, 7, GLYPH)   # arrowhead, right leg


# ---------------------------------------------------------------------------
# Header-bar buttons at 125 %, 150 % and 200 % (20, 24 and 32 pixels)
#
# The same drawings as the 16-pixel ones, described in 16-unit space and
# redrawn at each size rather than stretched: straight edges are snapped to
# whole pixels so they stay crisp, diagonals are antialiased.
# ---------------------------------------------------------------------------


class Scaled:
    """Draws 16-unit shapes onto an n-pixel canvas."""

    def __init__(self, canvas):
        self.c = canvas
        self.s = canvas.w / 16.0

    def px(self, units):
        return int(round(units * self.s))

    def rect(self, x0, y0, x1, y1, color):
        """The unit box [x0, x1) x [y0, y1), at least one pixel each way."""
        px0, py0 = self.px(x0), self.px(y0)
        # the width from the unit width, so equal strokes stay equal
        px1 = px0 + max(1, self.px(x1 - x0))
        py1 = py0 + max(1, self.px(y1 - y0))
        self.c.fill_rect(px0, py0, px1 - 1, py1 - 1, color)

    def stroke(self, x0, y0, x1, y1, width, color):
        """A round-ended line of the given unit width, 4 x 4 samples a pixel."""
        s = self.s
        ax, ay, bx, by = x0 * s, y0 * s, x1 * s, y1 * s
        half = width * s / 2.0
        dx, dy = bx - ax, by - ay
        length2 = dx * dx + dy * dy
        lo_x = int(min(ax, bx) - half) - 1
        hi_x = int(max(ax, bx) + half) + 1
        lo_y = int(min(ay, by) - half) - 1
        hi_y = int(max(ay, by) + half) + 1
        for y in range(lo_y, hi_y + 1):
            for x in range(lo_x, hi_x + 1):
                hits = 0
                for sy in range(4):
                    for sx in range(4):
                        px = x + (sx + 0.5) / 4.0
                        py = y + (sy + 0.5) / 4.0
                        t = ((px - ax) * dx + (py - ay) * dy) / length2
                        t = max(0.0, min(1.0, t))
                        ex, ey = ax + t * dx - px, ay + t * dy - py
                        if ex * ex + ey * ey <= half * half:
                            hits += 1
                if hits:
                    self.c.blend(x, y, color, hits / 16.0)


def scaled_button_face(n, pressed):
    c = Canvas(n, n)
    b = max(1, n // 16)                # border width: 2 pixels from 200 %
    last = n - 1
    if pressed:
        c.vgradient(b, b, last - b, last - b, PRESSED_TOP, PRESSED_BOTTOM)
        c.fill_rect(b, b, last - b, 2 * b - 1, PRESSED_INNER)
        c.fill_rect(b, b, 2 * b - 1, last - b, PRESSED_INNER)
        border = PRESSED_BORDER
    else:
        c.vgradient(b, b, last - b, last - b, FACE_TOP, FACE_BOTTOM)
        border = FACE_BORDER
    c.fill_rect(b, 0, last - b, b - 1, border)
    c.fill_rect(b, last - b + 1, last - b, last, border)
    c.fill_rect(0, b, b - 1, last - b, border)
    c.fill_rect(last - b + 1, b, last, last - b, border)
    for x0, y0 in ((0, 0), (last - b + 1, 0), (0, last - b + 1), (last - b + 1, last - b + 1)):
        c.fill_rect(x0, y0, x0 + b - 1, y0 + b - 1, mix(border, (0, 0, 0, 0), 0.7))
    return c


def scaled_glyph_close(d):
    d.stroke(4.7, 4.7, 11.3, 11.3, 1.5, CLOSE_GLYPH)
    d.stroke(11.3, 4.7, 4.7, 11.3, 1.5, CLOSE_GLYPH)


def scaled_glyph_minimize(d):
    d.rect(4, 10, 12, 12, GLYPH)


def scaled_glyph_release(d):
    d.rect(2, 5, 7, 7, GLYPH)          # title bar, left part only
    d.rect(2, 5, 3, 14, GLYPH)
    d.rect(2, 13, 11, 14, GLYPH)
    d.rect(10, 10, 11, 14, GLYPH)
    d.stroke(6.8, 10.2, 12.2, 4.8, 1.4, GLYPH)
    d.rect(9, 3, 14, 5, GLYPH)         # arrowhead, top leg
    d.rect(12, 3, 14, 8, GLYPH)        # arrowhead, right leg


SCALED_GLYPHS = {
    glyph_close: scaled_glyph_close,
    glyph_minimize: scaled_glyph_minimize,
    glyph_release: scaled_glyph_release,
}


def button_sizes(glyph_fn, pressed):
    """The face at every size the header asks for, 16 pixels first."""
    images = [button(glyph_fn, pressed)]
    for n in (20, 24, 32):
        face = scaled_button_face(n, pressed)
        glyph = Canvas(n, n)
        SCALED_GLYPHS[glyph_fn](Scaled(glyph))
        if pressed:
            glyph = glyph.shifted(max(1, n // 16), max(1, n // 16))
        face.draw_over(glyph)
        images.append(face)
    return images


# ---------------------------------------------------------------------------
# Drag cursor (32x32, hotspot at the arrow tip)
# ---------------------------------------------------------------------------

# The pointer, tip at (0, 0): '#' edge, '.' fill, ' ' transparent.
ARROW = [
    "#",
    "##",
    "#.#",
    "#..#",
    "#...#",
    "#....#",
    "#.....#",
    "#......#",
    "#.......#",
    "#........#",
    "#.........#",
    "#......#####",
    "#...#..#",
    "#..##..#",
    "#.#  #..#",
    "##   #..#",
    "      #..#",
    "      #..#",
    "       ##",
]


def arrow_canvas():
    """A 32 x 32 cursor canvas with the pointer arrow at its top left."""
    c = Canvas(32, 32)
    for y, row in enumerate(ARROW):
        for x, ch in enumerate(row):
            if ch == "#":
                c.put(x, y, CURSOR_EDGE)
            elif ch == ".":
                c.put(x, y, CURSOR_FILL)
    return c


def drag_cursor():
    c = arrow_canvas()
    # the dragged tab, below and to the right of the arrow: a small tab
    # with rounded top corners, a soft shadow and a caption: a little
    # window icon followed by a line of text
    x0, y0, x1, y1 = 13, 19, 28, 27
    c.fill_rect(x0 + 2, y0 + 2, x1 + 1, y1 + 1, rgb("000000", 0.3))
    c.vgradient(x0 + 1, y0 + 1, x1 - 1, y1 - 1, ACCENT_LIGHT, ACCENT)
    c.hline(x0 + 1, x1 - 1, y0, OUTLINE)
    c.hline(x0, x1, y1, OUTLINE)
    c.vline(x0, y0 + 1, y1, OUTLINE)
    c.vline(x1, y0 + 1, y1, OUTLINE)
    c.fill_rect(x0 + 3, y0 + 3, x0 + 5, y0 + 5, PAGE)
    c.hline(x0 + 7, x1 - 3, y0 + 4, PAGE)
    return c


def drag_out_cursor():
    """The drag cursor over no pane: the tab becomes a window of its own
    where it is dropped, so a small window stands below the arrow."""
    c = arrow_canvas()
    x0, y0, x1, y1 = 12, 17, 29, 29
    c.fill_rect(x0 + 2, y0 + 2, x1 + 1, y1 + 1, rgb("000000", 0.3))
    c.fill_rect(x0 + 1, y0 + 4, x1 - 1, y1 - 1, PAGE)
    c.vgradient(x0 + 1, y0 + 1, x1 - 1, y0 + 3, ACCENT_LIGHT, ACCENT)
    c.hline(x0, x1, y0, OUTLINE)
    c.hline(x0, x1, y1, OUTLINE)
    c.vline(x0, y0, y1, OUTLINE)
    c.vline(x1, y0, y1, OUTLINE)
    c.hline(x0 + 1, x1 - 1, y0 + 4, OUTLINE)
    return c


# ---------------------------------------------------------------------------
# .ico / .cur writer
# ---------------------------------------------------------------------------


def to_byte(v):
    return max(0, min(255, int(round(v * 255))))


def dib(canvas):
    """BITMAPINFOHEADER + BGRA pixels + AND mask, both bottom-up."""
    w, h = canvas.w, canvas.h
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((w + 31) // 32) * 4
    for y in range(h - 1, -1, -1):
        row_mask = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = canvas.get(x, y)
            ab = to_byte(a)
            if ab == 0:
                xor += b"\0\0\0\0"
                row_mask[x >> 3] |= 0x80 >> (x & 7)
            else:
                xor += bytes((to_byte(b), to_byte(g), to_byte(r), ab))
        mask += row_mask
    data = header + bytes(xor) + bytes(mask)
    return data


def icon_file(images, hotspots=None):
    """images: canvases. hotspots: per-image (x, y) to make a .cur instead."""
    kind = 2 if hotspots else 1
    out = bytearray(struct.pack("<HHH", 0, kind, len(images)))
    blobs = [dib(img) for img in images]
    offset = 6 + 16 * len(images)
    for i, (img, blob) in enumerate(zip(images, blobs)):
        if hotspots:
            f1, f2 = hotspots[i]
        else:
            f1, f2 = 1, 32  # planes, bits per pixel
        out += struct.pack("<BBBBHHII", img.w & 0xFF, img.h & 0xFF, 0, 0,
                           f1, f2, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outputs = {
        "panelry.ico": icon_file([app_icon_16(), app_icon(24), app_icon_32(), app_icon(48),
                                   app_icon(64)]),
        "close.ico": icon_file(button_sizes(glyph_close, False)),
        "close_pressed.ico": icon_file(button_sizes(glyph_close, True)),
        "release.ico": icon_file(button_sizes(glyph_release, False)),
        "release_pressed.ico": icon_file(button_sizes(glyph_release, True)),
        "minimize.ico": icon_file(button_sizes(glyph_minimize, False)),
        "minimize_pressed.ico": icon_file(button_sizes(glyph_minimize, True)),
        "drag.cur": icon_file([drag_cursor()], hotspots=[(0, 0)]),
        "drag_out.cur": icon_file([drag_out_cursor()], hotspots=[(0, 0)]),
    }
    for name, data in outputs.items():
        with open(os.path.join(here, name), "wb") as f:
            f.write(data)
        print("wrote", os.path.join("resources", name), len(data), "bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
