#!/usr/bin/env python3
"""Draws the pictures of res/images/ from simple shapes.

The generated files are kept in the repository, so a build never needs
Python; run this only after changing a drawing:  python3 make_images.py
Standard library only.
"""

import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "images")

# Classic button face; the caption bar draws the banner with it transparent.
BANNER_KEY = (212, 208, 200)
# Background of the 16-colour button glyphs: the classic button face of a
# 16-colour display, so the glyph looks right even where nothing is masked.
GLYPH16_BACKGROUND = (192, 192, 192)
# Dialog face of current systems, so the logo's edges blend into the dialog.
LOGO_BACKGROUND = (240, 240, 240)

VGA16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


class Canvas:
    """RGBA picture with straight alpha and anti-aliased filled shapes.

    Shapes are drawn by testing SS x SS points inside every pixel, which is
    slow but plenty for pictures of this size.
    """

    SS = 4

    def __init__(self, width, height, background=(0, 0, 0, 0)):
        """background is (r, g, b, alpha)."""
        self.width = width
        self.height = height
        r, g, b, a = background
        self.px = [[(r / 255.0, g / 255.0, b / 255.0, a / 255.0)
                    for _ in range(width)] for _ in range(height)]

    def blend(self, x, y, colour, coverage):
        if coverage <= 0.0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        r, g, b = (c / 255.0 for c in colour[:3])
        sa = (colour[3] / 255.0 if len(colour) > 3 else 1.0) * coverage
        dr, dg, db, da = self.px[y][x]
        oa = sa + da * (1.0 - sa)
        if oa <= 0.0:
            self.px[y][x] = (0.0, 0.0, 0.0, 0.0)
            return
        mix = lambda s, d: (s * sa + d * da * (1.0 - sa)) / oa
        self.px[y][x] = (mix(r, dr), mix(g, dg), mix(b, db), oa)

    def shape(self, inside, bbox, colour):
        """Fills the points (px, py) for which inside(px, py) holds."""
        x0, y0, x1, y1 = bbox
        ss = self.SS
        for y in range(max(0, int(y0) - 1), min(self.height, int(y1) + 2)):
            for x in range(max(0, int(x0) - 1), min(self.width, int(x1) + 2)):
                hits = 0
                for j in range(ss):
                    py = y + (j + 0.5) / ss
                    for i in range(ss):
                        if inside(x + (i + 0.5) / ss, py):
                            hits += 1
                self.blend(x, y, colour, hits / float(ss * ss))

    def rect(self, x0, y0, x1, y1, colour):
        self.shape(lambda px, py: x0 <= px < x1 and y0 <= py < y1,
                   (x0, y0, x1, y1), colour)

    def round_rect(self, x0, y0, x1, y1, radius, colour):
        def inside(px, py):
            if not (x0 <= px < x1 and y0 <= py < y1):
                return False
            cx = min(max(px, x0 + radius), x1 - radius)
            cy = min(max(py, y0 + radius), y1 - radius)
            return (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius
        self.shape(inside, (x0, y0, x1, y1), colour)

    def circle(self, cx, cy, radius, colour):
        self.shape(lambda px, py: (px - cx) ** 2 + (py - cy) ** 2 <= radius * radius,
                   (cx - radius, cy - radius, cx + radius, cy + radius), colour)

    def ellipse(self, cx, cy, rx, ry, colour):
        self.shape(lambda px, py: ((px - cx) / rx) ** 2 + ((py - cy) / ry) ** 2 <= 1.0,
                   (cx - rx, cy - ry, cx + rx, cy + ry), colour)

    def polygon(self, points, colour):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]

        def inside(px, py):
            # Even-odd rule.
            result = False
            n = len(points)
            for k in range(n):
                ax, ay = points[k]
                bx, by = points[(k + 1) % n]
                if (ay > py) != (by > py):
                    if px < ax + (py - ay) * (bx - ax) / (by - ay):
                        result = not result
            return result
        self.shape(inside, (min(xs), min(ys), max(xs), max(ys)), colour)

    def rgba(self, x, y):
        r, g, b, a = self.px[y][x]
        return tuple(int(round(v * 255)) for v in (r, g, b, a))

    def flat_rgb(self, background):
        """Pixels composited over an opaque background colour."""
        rows = []
        for y in range(self.height):
            row = []
            for x in range(self.width):
                r, g, b, a = self.rgba(x, y)
                row.append(tuple((c * a + k * (255 - a) + 127) // 255
                                 for c, k in zip((r, g, b), background)))
            rows.append(row)
        return rows


# --- Writers -----------------------------------------------------------------

def bitmap_info_header(width, height, bpp, image_size, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bpp, 0,
                       image_size, 2835, 2835, colours, 0)


def write_bmp(path, info, pixels):
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0,
                         14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def bgra_rows(canvas, binary_alpha):
    """Bottom-up BGRA rows. With binary_alpha every pixel is either opaque or
    fully transparent with colour 0, so straight and premultiplied alpha read
    the same: whoever loads the bitmap gets it right either way."""
    out = bytearray()
    for y in reversed(range(canvas.height)):
        for x in range(canvas.width):
            r, g, b, a = canvas.rgba(x, y)
            if binary_alpha:
                if a >= 128:
                    a = 255
                else:
                    r = g = b = a = 0
            out += bytes((b, g, r, a))
    return bytes(out)


def save_bmp32(path, canvas):
    pixels = bgra_rows(canvas, binary_alpha=True)
    write_bmp(path, bitmap_info_header(canvas.width, canvas.height, 32,
                                       len(pixels)), pixels)


def save_bmp24(path, rows):
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    out = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        out += line
    write_bmp(path, bitmap_info_header(width, height, 24, len(out)), bytes(out))


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((p - c) ** 2 for p, c in zip(palette[i], colour)))


def save_bmp4(path, rows):
    height = len(rows)
    width = len(rows[0])
    stride = ((width + 1) // 2 + 3) & ~3
    out = bytearray()
    for row in reversed(rows):
        indices = [nearest(VGA16, c) for c in row]
        if len(indices) % 2:
            indices.append(0)
        line = bytearray((indices[i] << 4) | indices[i + 1]
                         for i in range(0, len(indices), 2))
        line += bytes(stride - len(line))
        out += line
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA16)
    info = bitmap_info_header(width, height, 4, len(out), 16) + palette
    write_bmp(path, info, bytes(out))


def save_ico(path, canvases):
    images = []
    for c in canvases:
        xor = bgra_rows(c, binary_alpha=False)
        mask_stride = ((c.width + 31) // 32) * 4
        mask = bytearray()
        for y in reversed(range(c.height)):
            line = bytearray(mask_stride)
            for x in range(c.width):
                if c.rgba(x, y)[3] == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            mask += line
        # An icon image's header counts the colour and mask halves in height.
        info = bitmap_info_header(c.width, c.height * 2, 32,
                                  len(xor) + len(mask))
        images.append((c.width, c.height, info + xor + bytes(mask)))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for w, h, data in images:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32,
                           len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


# --- Drawings ----------------------------------------------------------------

def document_glyph(dark, mid, light, size=16):
    """A page with a folded corner and three lines of text, drawn on a 16-unit
    grid at `size` pixels, so that larger screens get a sharp picture."""
    k = size / 16
    c = Canvas(size, size)

    def pts(points):
        return [(x * k, y * k) for x, y in points]

    c.polygon(pts([(2, 0), (10, 0), (14, 4), (14, 16), (2, 16)]), dark)
    c.polygon(pts([(3, 1), (9, 1), (9, 5), (13, 5), (13, 15), (3, 15)]), light)
    c.polygon(pts([(10, 1.4), (12.6, 4), (10, 4)]), mid)
    for y in (7, 9, 11, 13):
        c.rect(5 * k, y * k, (12 if y != 13 else 9) * k, (y + 1) * k, mid)
    return c


RED = ((128, 0, 0), (255, 0, 0), (255, 255, 255))
GREEN = ((0, 128, 0), (0, 200, 0), (255, 255, 255))


def window_symbol(c, box, title, body, line, lines):
    """A small document window: shadow, title bar, body and lines of text.

    box is (x0, y0, x1, y1) in whole pixels; lines is the text line pitch in
    pixels, 0 for none.
    """
    x0, y0, x1, y1 = box
    unit = max(1, (x1 - x0) // 24)
    title_height = max(2, (y1 - y0) * 3 // 10)
    c.rect(x0 + unit, y0 + unit, x1 + unit, y1 + unit, (0, 0, 0, 60))
    c.rect(x0, y0, x1, y1, title)
    c.rect(x0 + unit, y0 + title_height, x1 - unit, y1 - unit, body)
    if not lines:
        return
    top = y0 + title_height + lines - unit
    k = 0
    while top + unit <= y1 - 2 * unit:
        right = x1 - unit * (3 + (k % 3) * 3)
        c.rect(x0 + 2 * unit, top, right, top + unit, line)
        top += lines
        k += 1


def logo_canvas(size, background):
    """Stacked document windows gathered in a frame with a button strip.

    Drawn on a 48-unit grid, snapped to whole pixels, so the icon sizes and
    the logo share one design; the smallest size leaves the details out.
    """
    def p(units):
        return int(round(units * size / 48.0))

    c = Canvas(size, size, background)
    navy = (24, 52, 110)
    c.round_rect(p(1), p(1), p(47), p(47), max(1, p(4)), navy)
    c.rect(p(3), p(6), p(45), p(45), (226, 232, 242))
    if size > 16:
        c.rect(p(5), p(2), p(12), p(4), (255, 255, 255))
        c.rect(p(40), p(2), p(43), p(4), (220, 70, 60))
    pitch = 0 if size <= 16 else max(2, p(3))
    # Three hosted windows, back to front.
    windows = (((150, 160, 180), (190, 190, 200)),
               ((90, 120, 170), (170, 180, 200)),
               ((52, 104, 196), (200, 40, 40)))
    for k, (title, line) in enumerate(windows):
        x, y = 6 + 5 * k, 9 + 4 * k
        window_symbol(c, (p(x), p(y), p(x + 24), p(y + 20)), title,
                      (255, 255, 255), line, pitch)
    # Window taskbar: one button per hosted window, the active one green.
    c.rect(p(3), p(39), p(45), p(45), (133, 133, 133))
    marks = ((200, 40, 40), (200, 40, 40), (30, 160, 60))
    for k, mark in enumerate(marks):
        bx = 5 + 10 * k
        c.rect(p(bx), p(40.5), p(bx + 8.5), p(43.5), (236, 233, 226))
        if size > 16:
            c.rect(p(bx + 1), p(41), p(bx + 3), p(43), mark)
    return c


def about_logo():
    """246 x 245. The dialog shows the middle of it at real size and may cut
    the border off, so the design stays in the centre."""
    c = Canvas(246, 245, LOGO_BACKGROUND + (255,))
    design = logo_canvas(150, (0, 0, 0, 0))
    ox, oy = (246 - 150) // 2, (245 - 150) // 2
    for y in range(150):
        for x in range(150):
            r, g, b, a = design.rgba(x, y)
            if a:
                c.blend(ox + x, oy + y, (r, g, b), a / 255.0)
    return c.flat_rgb(LOGO_BACKGROUND)


# 5 x 7 capitals for the banner's word.
FONT = {
    "D": ["1110", "1001", "1001", "1001", "1001", "1001", "1110"],
    "O": ["0110", "1001", "1001", "1001", "1001", "1001", "0110"],
    "N": ["1001", "1101", "1101", "1011", "1011", "1001", "1001"],
    "A": ["0110", "1001", "1001", "1111", "1001", "1001", "1001"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "E": ["1111", "1000", "1000", "1110", "1000", "1000", "1111"],
}


def text(c, word, x, y, scale, colour):
    for ch in word:
        rows = FONT[ch]
        for j, row in enumerate(rows):
            for i, bit in enumerate(row):
                if bit == "1":
                    c.rect(x + i * scale, y + j * scale,
                           x + (i + 1) * scale, y + (j + 1) * scale, colour)
        x += (len(rows[0]) + 1) * scale


def heart(c, cx, cy, r, colour):
    c.circle(cx - r * 0.55, cy, r * 0.62, colour)
    c.circle(cx + r * 0.55, cy, r * 0.62, colour)
    c.polygon([(cx - r * 1.12, cy + r * 0.22), (cx + r * 1.12, cy + r * 0.22),
               (cx, cy + r * 1.45)], colour)


def coin(c, cx, cy, r):
    c.ellipse(cx, cy + r * 0.12, r, r * 0.95, (150, 110, 20))
    c.circle(cx, cy, r, (232, 184, 48))
    c.circle(cx, cy, r * 0.78, (248, 212, 96))
    c.rect(cx - r * 0.12, cy - r * 0.5, cx + r * 0.12, cy + r * 0.5,
           (190, 140, 30))


def donate_banner():
    """199 x 80; the key colour is drawn transparent by the caption bar."""
    c = Canvas(199, 80, BANNER_KEY + (255,))
    coin(c, 24, 56, 13)
    coin(c, 74, 54, 11)
    heart(c, 50, 30, 22, (150, 20, 30))
    heart(c, 50, 30, 19, (214, 38, 52))
    c.ellipse(40, 22, 5, 3.5, (240, 120, 130))
    text(c, "DONATE", 96, 26, 3, (120, 20, 30))
    c.rect(96, 52, 190, 54, (120, 20, 30))
    return c.flat_rgb(BANNER_KEY)


def main():
    os.makedirs(OUT, exist_ok=True)
    red = document_glyph(*RED)
    green = document_glyph(*GREEN)
    save_bmp32(os.path.join(OUT, "window_button.bmp"), red)
    save_bmp32(os.path.join(OUT, "window_checked.bmp"), green)
    save_bmp4(os.path.join(OUT, "window_button_16color.bmp"),
              red.flat_rgb(GLYPH16_BACKGROUND))
    save_bmp4(os.path.join(OUT, "window_checked_16color.bmp"),
              green.flat_rgb(GLYPH16_BACKGROUND))
    for size in (24, 32):
        save_bmp32(os.path.join(OUT, "window_button_%d.bmp" % size), document_glyph(*RED, size=size))
        save_bmp32(os.path.join(OUT, "window_checked_%d.bmp" % size), document_glyph(*GREEN, size=size))
    save_bmp24(os.path.join(OUT, "donate_banner.bmp"), donate_banner())
    save_bmp24(os.path.join(OUT, "about_logo.bmp"), about_logo())
    save_ico(os.path.join(OUT, "vantrel.ico"),
             [logo_canvas(n, (0, 0, 0, 0)) for n in (16, 32, 48)])


if __name__ == "__main__":
    main()
