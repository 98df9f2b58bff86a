#!/usr/bin/env python3
"""Draws the report's images into this folder: GIF, PNG and ICO files.

Only the standard library is used, so the artwork can be redrawn anywhere: shapes are
signed-distance functions in pixel units, filled with analytic anti-aliasing, and the
file encoders (GIF with LZW, PNG with zlib, ICO with 32-bit bitmaps) are written below.
The output is deterministic; run "python3 draw_images.py" after changing a drawing.
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------------------
# Colours and the canvas


def hex_color(text, alpha=1.0):
    text = text.lstrip("#")
    return (int(text[0:2], 16) / 255.0, int(text[2:4], 16) / 255.0,
            int(text[4:6], 16) / 255.0, alpha)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(4))


def vertical_gradient(stops, height):
    """A colour function over y for a list of (position 0..1, colour) stops."""

    def color(_x, y):
        t = y / max(1.0, height - 1.0)
        for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
            if t <= p1:
                return mix(c0, c1, (t - p0) / max(1e-9, p1 - p0))
        return stops[-1][1]

    return color


class Canvas:
    """Straight-alpha RGBA pixels as floats; y grows downwards, pixel centres at +0.5."""

    def __init__(self, width, height, background=(0.0, 0.0, 0.0, 0.0)):
        self.width = width
        self.height = height
        self.pixels = [list(background) for _ in range(width * height)]

    def blend(self, x, y, color, coverage):
        alpha = color[3] * coverage
        if alpha <= 0.0:
            return
        dst = self.pixels[y * self.width + x]
        out_a = alpha + dst[3] * (1.0 - alpha)
        if out_a <= 0.0:
            return
        for i in range(3):
            dst[i] = (color[i] * alpha + dst[i] * dst[3] * (1.0 - alpha)) / out_a
        dst[3] = out_a

    def fill(self, sdf, color, box=None):
        """Fills where sdf(x, y) < 0; color is a tuple or a function of (x, y)."""
        x0, y0, x1, y1 = box if box else (0, 0, self.width, self.height)
        x0, y0 = max(0, int(x0)), max(0, int(y0))
        x1, y1 = min(self.width, int(math.ceil(x1))), min(self.height, int(math.ceil(y1)))
        for y in range(y0, y1):
            for x in range(x0, x1):
                px, py = x + 0.5, y + 0.5
                coverage = 0.5 - sdf(px, py)
                if coverage <= 0.0:
                    continue
                c = color(px, py) if callable(color) else color
                self.blend(x, y, c, min(1.0, coverage))

    def rgba_bytes(self):
        out = bytearray()
        for p in self.pixels:
            out += bytes(int(round(max(0.0, min(1.0, v)) * 255)) for v in p)
        return bytes(out)


# ---------------------------------------------------------------------------------------
# Signed distance functions (negative inside), in pixel units


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def rounded_box(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r

    return sdf


def box(x0, y0, x1, y1):
    return rounded_box(x0, y0, x1, y1, 0.0)


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    return math.hypot(x - ax - t * dx, y - ay - t * dy)


def strokes(segments, width):
    """Round-capped lines of the given width along a list of segments."""
    half = width / 2.0

    def sdf(x, y):
        return min(segment_distance(x, y, *s) for s in segments) - half

    return sdf


def polygon(points):
    def sdf(x, y):
        d = float("inf")
        inside = False
        n = len(points)
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            d = min(d, segment_distance(x, y, ax, ay, bx, by))
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -d if inside else d

    return sdf


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def subtract(shape, cut):
    return lambda x, y: max(shape(x, y), -cut(x, y))


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2.0


def arc_points(cx, cy, rx, ry, a0, a1, steps=None):
    """Points of an elliptical arc, angles in degrees counter-clockwise (y up)."""
    steps = steps or max(6, int(abs(a1 - a0) / 10))
    pts = []
    for i in range(steps + 1):
        a = math.radians(a0 + (a1 - a0) * i / steps)
        pts.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    return pts


def polyline(points):
    return [(a[0], a[1], b[0], b[1]) for a, b in zip(points, points[1:])]


# ---------------------------------------------------------------------------------------
# A small stroke font: glyphs in em units, baseline at 0, y up, cap height 1.


def _glyphs():
    xh = 0.68  # x-height
    g = {}

    def bowl(cx, a0, a1, w=0.62):
        return polyline(arc_points(cx, xh / 2, w / 2, xh / 2, a0, a1))

    g["F"] = (0.62, [(0, 0, 0, 1), (0, 1, 0.6, 1), (0, 0.54, 0.48, 0.54)])
    g["e"] = (0.62, [(0.0, xh / 2, 0.62, xh / 2)] + bowl(0.31, 0, 310))
    g["o"] = (0.62, bowl(0.31, 0, 360))
    g["c"] = (0.58, bowl(0.31, 45, 315))
    g["n"] = (0.58, [(0, 0, 0, xh), (0.58, 0, 0.58, 0.4)] +
              polyline(arc_points(0.29, 0.4, 0.29, xh - 0.4, 180, 0)))
    g["m"] = (0.9, [(0, 0, 0, xh), (0.45, 0, 0.45, 0.42), (0.9, 0, 0.9, 0.42)] +
              polyline(arc_points(0.225, 0.42, 0.225, xh - 0.42, 180, 0)) +
              polyline(arc_points(0.675, 0.42, 0.225, xh - 0.42, 180, 0)))
    g["k"] = (0.56, [(0, 0, 0, 1), (0.54, xh, 0.0, 0.22), (0.17, 0.38, 0.56, 0)])
    g["i"] = (0.0, [(0, 0, 0, xh), (0, 0.93, 0, 0.93)])
    g["v"] = (0.6, [(0, xh, 0.3, 0), (0.3, 0, 0.6, xh)])
    g["y"] = (0.6, [(0, xh, 0.3, 0), (0.6, xh, 0.14, -0.34)])
    g["r"] = (0.4, [(0, 0, 0, xh)] + polyline(arc_points(0.3, 0.38, 0.3, xh - 0.38, 180, 75)))
    g["t"] = (0.42, [(0.14, 0.92, 0.14, 0.14), (0, xh, 0.4, xh)] +
              polyline(arc_points(0.34, 0.14, 0.2, 0.14, 180, 290)))
    g["s"] = (0.52, polyline(arc_points(0.26, xh * 0.75, 0.25, xh * 0.25, 30, 270)) +
              polyline(arc_points(0.26, xh * 0.25, 0.25, xh * 0.25, 90, -150)))
    g[" "] = (0.3, [])
    return g


GLYPHS = _glyphs()


def text_segments(text, left, baseline, size, spacing):
    """Segments (in pixels) of a text; returns them and the right edge."""
    segs = []
    x = left
    for ch in text:
        width, glyph = GLYPHS[ch]
        for ax, ay, bx, by in glyph:
            segs.append((x + ax * size, baseline - ay * size, x + bx * size, baseline - by * size))
        x += width * size + spacing
    return segs, x - spacing


# ---------------------------------------------------------------------------------------
# Encoders


def quantize(pixels, limit):
    """A palette of at most `limit` colours by median cut, and each pixel's index."""
    counts = {}
    for p in pixels:
        counts[p] = counts.get(p, 0) + 1
    colors = list(counts)
    if len(colors) <= limit:
        palette = colors
    else:
        boxes = [colors]
        while len(boxes) < limit:
            boxes.sort(key=lambda b: max(max(c[i] for c in b) - min(c[i] for c in b)
                                         for i in range(3)) if len(b) > 1 else -1)
            widest = boxes.pop()
            if len(widest) < 2:
                boxes.append(widest)
                break
            axis = max(range(3), key=lambda i: max(c[i] for c in widest) -
                       min(c[i] for c in widest))
            widest.sort(key=lambda c: c[axis])
            half = len(widest) // 2
            boxes += [widest[:half], widest[half:]]
        palette = []
        for b in boxes:
            total = sum(counts[c] for c in b)
            palette.append(tuple(
                int(round(sum(c[i] * counts[c] for c in b) / total)) for i in range(3)))
    lookup = {}
    for c in colors:
        lookup[c] = min(range(len(palette)),
                        key=lambda i: sum((c[k] - palette[i][k]) ** 2 for k in range(3)))
    return palette, [lookup[p] for p in pixels]


def lzw_compress(indices, min_code_size):
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, size):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += size
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def reset():
        return {}, end + 1, min_code_size + 1

    table, next_code, code_size = reset()
    emit(clear, code_size)
    current = indices[0]
    for k in indices[1:]:
        key = (current, k)
        if key in table:
            current = table[key]
            continue
        emit(current, code_size)
        if next_code < 4096:
            table[key] = next_code
            next_code += 1
            # The decoder adds each entry one code later, so it widens one code later too.
            if next_code > (1 << code_size) and code_size < 12:
                code_size += 1
        else:
            emit(clear, code_size)
            table, next_code, code_size = reset()
        current = k
    emit(current, code_size)
    emit(end, code_size)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def encode_gif(canvas, matte=None, transparent=False):
    """A GIF89a; pixels under half opacity become the transparent colour when asked, the
    others are composited over the matte colour (the background they are drawn for)."""
    matte = matte or (1.0, 1.0, 1.0, 1.0)
    opaque = []
    clear_mask = []
    for r, g, b, a in canvas.pixels:
        if transparent and a < 0.5:
            clear_mask.append(True)
            opaque.append((0, 0, 0))
            continue
        clear_mask.append(False)
        if transparent:
            a = 1.0 if a >= 0.5 else a
        opaque.append(tuple(
            int(round(max(0.0, min(1.0, c * a + m * (1.0 - a))) * 255))
            for c, m in zip((r, g, b), matte[:3])))
    solid = [p for p, c in zip(opaque, clear_mask) if not c] or [(0, 0, 0)]
    palette, _ = quantize(solid, 255 if transparent else 256)
    lookup = {}
    indices = []
    for p, is_clear in zip(opaque, clear_mask):
        if is_clear:
            indices.append(len(palette))
            continue
        if p not in lookup:
            lookup[p] = min(range(len(palette)),
                            key=lambda i: sum((p[k] - palette[i][k]) ** 2 for k in range(3)))
        indices.append(lookup[p])
    colors = palette + ([(0, 0, 0)] if transparent else [])
    bits = max(1, (len(colors) - 1).bit_length())
    table = b"".join(bytes(c) for c in colors) + b"\0" * (3 * ((1 << bits) - len(colors)))

    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", canvas.width, canvas.height, 0x80 | (bits - 1), 0, 0)
    out += table
    if transparent:
        out += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 0x01, 0, len(palette), 0)
    out += struct.pack("<BHHHHB", 0x2C, 0, 0, canvas.width, canvas.height, 0)
    min_code_size = max(2, bits)
    data = lzw_compress(indices, min_code_size)
    out.append(min_code_size)
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out += b"\x00\x3B"
    return bytes(out)


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def encode_png(canvas):
    raw = canvas.rgba_bytes()
    stride = canvas.width * 4
    rows = b"".join(b"\0" + raw[y * stride:(y + 1) * stride] for y in range(canvas.height))
    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(rows, 9)) + png_chunk(b"IEND", b""))


def encode_ico(canvases):
    """An icon of 32-bit bitmaps (with their AND masks, for old shells)."""
    images = []
    for c in canvases:
        raw = c.rgba_bytes()
        pixels = bytearray()
        for y in reversed(range(c.height)):
            for x in range(c.width):
                r, g, b, a = raw[(y * c.width + x) * 4:(y * c.width + x) * 4 + 4]
                pixels += bytes((b, g, r, a))
        mask_stride = ((c.width + 31) // 32) * 4
        mask = bytearray()
        for y in reversed(range(c.height)):
            row = bytearray(mask_stride)
            for x in range(c.width):
                if raw[(y * c.width + x) * 4 + 3] < 128:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        header = struct.pack("<IiiHHIIiiII", 40, c.width, c.height * 2, 1, 32, 0,
                             len(pixels) + len(mask), 0, 0, 0, 0)
        images.append(header + bytes(pixels) + bytes(mask))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.width % 256, c.height % 256, 0, 0, 1, 32, len(data),
                           offset)
        offset += len(data)
    for data in images:
        out += data
    return bytes(out)


def encode_bmp(canvas, key, matte):
    """A 24-bit Windows bitmap for TransparentBlt: pixels that are nearly transparent take the
    exact key colour, the others are composited over the matte (the window's background)."""
    key_rgb = tuple(int(round(k * 255)) for k in key[:3])
    stride = (canvas.width * 3 + 3) // 4 * 4
    rows = bytearray()
    for y in reversed(range(canvas.height)):
        row = bytearray()
        for x in range(canvas.width):
            r, g, b, a = canvas.pixels[y * canvas.width + x]
            if a < 0.04:
                rgb = key_rgb
            else:
                rgb = tuple(int(round(max(0.0, min(1.0, c * a + m * (1.0 - a))) * 255))
                            for c, m in zip((r, g, b), matte[:3]))
                if rgb == key_rgb:  # would vanish: one step off the key
                    rgb = (rgb[0], rgb[1], rgb[2] - 1)
            row += bytes((rgb[2], rgb[1], rgb[0]))
        rows += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(rows),
                       2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return header + info + bytes(rows)


# ---------------------------------------------------------------------------------------
# The drawings

WHITE = hex_color("ffffff")
PAGE = hex_color("ffffff")
HEADER_STOPS = [(0.0, hex_color("2d5a8c")), (0.55, hex_color("1d3f66")),
                (1.0, hex_color("142f4f"))]
HEADER_HEIGHT = 64
FOX = hex_color("e8832a")
FOX_DARK = hex_color("b85d14")
BOX_FILL = hex_color("eef3f9")
BOX_EDGE = hex_color("a9bdd3")


def draw_emblem(canvas, x0, y0, size):
    """The product mark: an amber rounded tile with two pointed ears and a white F."""
    s = size / 32.0
    tile = rounded_box(x0 + 1 * s, y0 + 5 * s, x0 + 31 * s, y0 + 31 * s, 6 * s)
    ears = union(polygon([(x0 + 3 * s, y0 + 12 * s), (x0 + 7 * s, y0 + 0.5 * s),
                          (x0 + 14 * s, y0 + 8 * s)]),
                 polygon([(x0 + 29 * s, y0 + 12 * s), (x0 + 25 * s, y0 + 0.5 * s),
                          (x0 + 18 * s, y0 + 8 * s)]))
    body = union(tile, ears)
    shade = vertical_gradient([(0.0, hex_color("f4a24d")), (1.0, FOX_DARK)], size)
    canvas.fill(body, lambda x, y: shade(x, y - y0), (x0, y0, x0 + size, y0 + size))
    inner = union(polygon([(x0 + 6 * s, y0 + 9 * s), (x0 + 7.5 * s, y0 + 4.5 * s),
                           (x0 + 10.5 * s, y0 + 8 * s)]),
                  polygon([(x0 + 26 * s, y0 + 9 * s), (x0 + 24.5 * s, y0 + 4.5 * s),
                           (x0 + 21.5 * s, y0 + 8 * s)]))
    canvas.fill(inner, hex_color("fbe3c8"), (x0, y0, x0 + size, y0 + size))
    stem = max(1.6, 3.6 * s)
    letter = strokes([(x0 + 12 * s, y0 + 27 * s, x0 + 12 * s, y0 + 13 * s),
                      (x0 + 12 * s, y0 + 13 * s, x0 + 22 * s, y0 + 13 * s),
                      (x0 + 12 * s, y0 + 19.5 * s, x0 + 19.5 * s, y0 + 19.5 * s)], stem)
    canvas.fill(letter, WHITE, (x0, y0, x0 + size, y0 + size))


def header_background(width):
    c = Canvas(width, HEADER_HEIGHT)
    c.fill(lambda x, y: -1.0, vertical_gradient(HEADER_STOPS, HEADER_HEIGHT))
    return c


def draw_logo():
    c = header_background(300)
    draw_emblem(c, 14, 12, 40)
    title, _ = text_segments("Fennock", 68, 40, 26, 4.5)
    subtitle, _ = text_segments("system inventory", 68, 55, 10.5, 1.6)
    c.fill(strokes(title, 4.0), WHITE, (60, 4, 300, 50))
    c.fill(strokes(subtitle, 1.35), hex_color("f6b470"), (60, 42, 300, 62))
    return c


# The progress window's background and the colour its banner treats as transparent.
WINDOW_BACKGROUND = (210 / 255.0, 224 / 255.0, 236 / 255.0, 1.0)
BANNER_KEY = (210 / 255.0, 224 / 255.0, 237 / 255.0, 1.0)


def draw_banner():
    """The progress window's banner: the mark and the product name in the window's blues."""
    title, right = text_segments("Fennock", 41, 26, 18, 2.6)
    subtitle, _ = text_segments("system inventory", 41, 37, 7.6, 1.1)
    width = int(math.ceil(right + 3))
    c = Canvas(width, 40)
    draw_emblem(c, 1, 4, 32)
    c.fill(strokes(title, 2.7), hex_color("1d3f66"), (36, 0, width, 30))
    c.fill(strokes(subtitle, 1.05), FOX_DARK, (36, 26, width, 40))
    return c


def draw_nav_bar():
    c = Canvas(4, 30)
    c.fill(lambda x, y: -1.0, vertical_gradient(
        [(0.0, hex_color("f3f6fa")), (0.5, hex_color("dde6f0")), (1.0, hex_color("c3d1e0"))],
        30))
    c.fill(box(0, 29, 4, 30), hex_color("8fa7c1"))
    return c


def draw_hard_disk():
    c = Canvas(20, 20)
    c.fill(rounded_box(2, 5, 18, 15, 2), vertical_gradient(
        [(0.0, hex_color("dfe5ec")), (1.0, hex_color("8493a5"))], 20))
    c.fill(subtract(rounded_box(2, 5, 18, 15, 2), rounded_box(3, 6, 17, 14, 1.2)),
           hex_color("4a5868"))
    c.fill(box(3.5, 11.5, 16.5, 12.5), hex_color("6d7b8c"))
    c.fill(circle(14.5, 8.8, 1.4), hex_color("3ccf4e"))
    c.fill(box(4.5, 8, 10, 9.4), hex_color("5b6a7b"))
    return c


def draw_help():
    c = Canvas(20, 20)
    c.fill(circle(10, 10, 8.6), vertical_gradient(
        [(0.0, hex_color("7fd16e")), (1.0, hex_color("2f8f24"))], 20))
    c.fill(ring(10, 10, 8.6, 1.0), hex_color("24701b"))
    hook = polyline([(7.2, 7.6)] + [
        (10 + 2.8 * math.cos(math.radians(a)), 7.6 - 2.8 * math.sin(math.radians(a)))
        for a in range(170, -91, -20)] + [(10, 12.2)])
    c.fill(strokes(hook, 2.1), WHITE)
    c.fill(circle(10, 15.2, 1.25), WHITE)
    return c


def draw_corner(top, left):
    """One corner of the intro box's 1-pixel rounded frame, on the white page."""
    size = 10
    c = Canvas(size, size)
    c.fill(lambda x, y: -1.0, PAGE)
    cx = size if left else 0
    cy = size if top else 0
    c.fill(circle(cx, cy, size), BOX_EDGE)
    c.fill(circle(cx, cy, size - 1), BOX_FILL)
    return c


def draw_arrow_button():
    c = Canvas(16, 16)
    c.fill(circle(8, 8, 7.3), vertical_gradient(
        [(0.0, hex_color("6aa7e8")), (1.0, hex_color("1f5fa8"))], 16))
    c.fill(ring(8, 8, 7.3, 0.9), hex_color("18487f"))
    c.fill(polygon([(6, 4), (11.5, 8), (6, 12)]), WHITE)
    return c


def draw_external_link():
    c = Canvas(12, 12)
    frame = polyline([(6.0, 2.5), (2.0, 2.5), (2.0, 10.0), (9.5, 10.0), (9.5, 6.0)])
    c.fill(strokes(frame, 1.2), hex_color("3b6ea5"))
    c.fill(strokes([(5.5, 6.5, 10.6, 1.4)], 1.3), hex_color("3b6ea5"))
    c.fill(polygon([(7.0, 0.8), (11.2, 0.8), (11.2, 5.0)]), hex_color("3b6ea5"))
    return c


def draw_badge(kind):
    """The change icons: a green plus, a red minus and a blue pair of turning arrows."""
    c = Canvas(14, 14)
    tops = {"add": ("6fd35f", "2e8f22", "256f1b"), "del": ("f07a6a", "c22d1d", "8f1d12"),
            "ref": ("74b1ec", "2465b3", "1a4b86")}
    light, dark, edge = tops[kind]
    c.fill(circle(7, 7, 6.4), vertical_gradient(
        [(0.0, hex_color(light)), (1.0, hex_color(dark))], 14))
    c.fill(ring(7, 7, 6.4, 0.9), hex_color(edge))
    if kind == "add":
        c.fill(strokes([(7, 3.6, 7, 10.4), (3.6, 7, 10.4, 7)], 2.0), WHITE)
    elif kind == "del":
        c.fill(strokes([(3.6, 7, 10.4, 7)], 2.0), WHITE)
    else:
        # Two opposed arrows: an item that stayed but changed.
        c.fill(strokes([(3.4, 5.0, 9.2, 5.0), (4.8, 9.0, 10.6, 9.0)], 1.4), WHITE)
        c.fill(polygon([(8.6, 2.6), (11.4, 5.0), (8.6, 7.4)]), WHITE)
        c.fill(polygon([(5.4, 6.6), (2.6, 9.0), (5.4, 11.4)]), WHITE)
    return c


LIGHTS = {"red": ("ff5a4a", "d41a0c", "5a1a16"), "yellow": ("ffe15a", "e8b000", "5a4a14"),
          "green": ("6ef070", "14b82a", "174a1e")}


def draw_traffic_light(lit):
    """A signal head with three lamps; only the named one is lit, with a glow."""
    w, h = 18, 42
    c = Canvas(w, h)
    c.fill(rounded_box(1, 1, w - 1, h - 1, 5), vertical_gradient(
        [(0.0, hex_color("4a4f55")), (1.0, hex_color("23272b"))], h))
    c.fill(subtract(rounded_box(1, 1, w - 1, h - 1, 5), rounded_box(2, 2, w - 2, h - 2, 4)),
           hex_color("15181b"))
    for i, name in enumerate(("red", "yellow", "green")):
        cy = 8.5 + i * 12.5
        light, deep, off = LIGHTS[name]
        if name == lit:
            c.fill(circle(9, cy, 6.2), hex_color(light, 0.45))
            lamp = lambda x, y, cy=cy, light=light, deep=deep: mix(
                hex_color(light), hex_color(deep), math.hypot(x - 8, y - (cy - 1.5)) / 6.0)
            c.fill(circle(9, cy, 4.8), lamp)
            c.fill(circle(7.6, cy - 1.6, 1.4), hex_color("ffffff", 0.8))
        else:
            c.fill(circle(9, cy, 4.8), hex_color(off))
            c.fill(ring(9, cy, 4.8, 0.8), hex_color("101214"))
    return c


def draw_page_icon(size):
    c = Canvas(size, size)
    draw_emblem(c, 0, 0, size)
    return c


def draw_overlay():
    c = Canvas(2, 2)
    c.fill(lambda x, y: -1.0, hex_color("808080"))
    return c


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    header_mid = vertical_gradient(HEADER_STOPS, HEADER_HEIGHT)(0, HEADER_HEIGHT / 2)

    header = header_background(8)
    logo = draw_logo()
    files = {
        "gray.gif": encode_gif(draw_overlay()),
        "hd_20x20.gif": encode_gif(draw_hard_disk(), hex_color("e4ebf3"), True),
        "headerBGBlueGrad.png": encode_png(header),
        "help_green_20.gif": encode_gif(draw_help(), hex_color("e4ebf3"), True),
        "mirk.ico": encode_ico([draw_page_icon(16), draw_page_icon(32), draw_page_icon(48)]),
        "navBarBG.png": encode_png(draw_nav_bar()),
        "header_inventory.gif": encode_gif(logo, header_mid),
        "RoundRectTopLeft.gif": encode_gif(draw_corner(True, True)),
        "RoundRectTopRight.gif": encode_gif(draw_corner(True, False)),
        "RoundRectBottomLeft.gif": encode_gif(draw_corner(False, True)),
        "RoundRectBottomRight.gif": encode_gif(draw_corner(False, False)),
        "blue_arrow.gif": encode_gif(draw_arrow_button(), PAGE, True),
        "externalLink.png": encode_png(draw_external_link()),
        "add.gif": encode_gif(draw_badge("add"), PAGE, True),
        "del.gif": encode_gif(draw_badge("del"), PAGE, True),
        "ref.gif": encode_gif(draw_badge("ref"), PAGE, True),
        "red.gif": encode_gif(draw_traffic_light("red"), PAGE, True),
        "yellow.gif": encode_gif(draw_traffic_light("yellow"), PAGE, True),
        "green.gif": encode_gif(draw_traffic_light("green"), PAGE, True),
    }
    # The program's own icon and the progress window's banner.
    files["fennock.ico"] = encode_ico([draw_page_icon(16), draw_page_icon(32), draw_page_icon(48)])
    files["banner.bmp"] = encode_bmp(draw_banner(), BANNER_KEY, WINDOW_BACKGROUND)
    for name, data in sorted(files.items()):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
