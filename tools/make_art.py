#!/usr/bin/env python3
"""Generate the Monitor's tray icons and alert chime.

Everything is drawn from code so the binary resources can be rebuilt
byte-for-byte:

    python3 tools/make_art.py                 # (re)write src/monitor/res/*
    python3 tools/make_art.py --check         # exit 1 if files on disk differ
    python3 tools/make_art.py --preview DIR   # also write PNG previews

Standard library only.
"""

import argparse
import math
import os
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES_DIR = os.path.join(ROOT, "src", "monitor", "res")

# Samples per pixel along each axis when anti-aliasing.
SS = 6

# ---------------------------------------------------------------------------
# Shapes as signed distance functions in "design units": the artwork is laid
# out on a 32x32 grid whatever the output size, so 1 unit = 1 px at 32x32 and
# 0.5 px at 16x16.  Negative distance means inside.
# ---------------------------------------------------------------------------


class Circle:
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r

    def bbox(self):
        return (self.cx - self.r, self.cy - self.r, self.cx + self.r, self.cy + self.r)

    def sd(self, x, y):
        return math.hypot(x - self.cx, y - self.cy) - self.r


class Ellipse:
    """Approximate SDF; exact enough for outlines of a pixel or two."""

    def __init__(self, cx, cy, rx, ry, angle_deg=0.0):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry
        a = math.radians(angle_deg)
        self.c, self.s = math.cos(a), math.sin(a)

    def bbox(self):
        r = max(self.rx, self.ry)
        return (self.cx - r, self.cy - r, self.cx + r, self.cy + r)

    def sd(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        u = dx * self.c + dy * self.s
        v = -dx * self.s + dy * self.c
        k = math.hypot(u / self.rx, v / self.ry)
        if k == 0.0:
            return -min(self.rx, self.ry)
        # First-order correction by the gradient length keeps the outline
        # width even around the long sides.
        gx, gy = u / (self.rx * self.rx), v / (self.ry * self.ry)
        g = math.hypot(gx, gy) / k
        return (k - 1.0) / g if g > 0 else (k - 1.0) * min(self.rx, self.ry)


class Capsule:
    """Segment a-b swept by radius r (round-ended bar)."""

    def __init__(self, ax, ay, bx, by, r):
        self.ax, self.ay, self.bx, self.by, self.r = ax, ay, bx, by, r

    def bbox(self):
        return (min(self.ax, self.bx) - self.r, min(self.ay, self.by) - self.r,
                max(self.ax, self.bx) + self.r, max(self.ay, self.by) + self.r)

    def sd(self, x, y):
        px, py = x - self.ax, y - self.ay
        bx, by = self.bx - self.ax, self.by - self.ay
        bb = bx * bx + by * by
        h = 0.0 if bb == 0 else max(0.0, min(1.0, (px * bx + py * by) / bb))
        return math.hypot(px - bx * h, py - by * h) - self.r


class Polygon:
    def __init__(self, pts):
        self.pts = pts

    def bbox(self):
        xs = [p[0] for p in self.pts]
        ys = [p[1] for p in self.pts]
        return (min(xs), min(ys), max(xs), max(ys))

    def sd(self, x, y):
        pts = self.pts
        d = float("inf")
        inside = False
        n = len(pts)
        for i in range(n):
            ax, ay = pts[i]
            bx, by = pts[(i + 1) % n]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            ee = ex * ex + ey * ey
            h = max(0.0, min(1.0, (wx * ex + wy * ey) / ee)) if ee else 0.0
            d = min(d, math.hypot(wx - ex * h, wy - ey * h))
            if (ay > y) != (by > y):
                if x < ax + (y - ay) * ex / ey:
                    inside = not inside
        return -d if inside else d


class Grown:
    """A shape pushed outwards by w units (used for outlines)."""

    def __init__(self, shape, w):
        self.shape, self.w = shape, w

    def bbox(self):
        x0, y0, x1, y1 = self.shape.bbox()
        return (x0 - self.w, y0 - self.w, x1 + self.w, y1 + self.w)

    def sd(self, x, y):
        return self.shape.sd(x, y) - self.w


class Clip:
    """Intersection of two shapes (e.g. a shine kept inside its body)."""

    def __init__(self, a, b):
        self.a, self.b = a, b

    def bbox(self):
        a, b = self.a.bbox(), self.b.bbox()
        return (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))

    def sd(self, x, y):
        return max(self.a.sd(x, y), self.b.sd(x, y))


def vgrad(top, bottom, y0, y1):
    """Vertical linear gradient between two RGB colours."""

    def f(x, y):
        t = 0.0 if y1 == y0 else max(0.0, min(1.0, (y - y0) / (y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))

    return f


class Layer:
    def __init__(self, shape, paint, alpha=1.0):
        self.shape, self.paint, self.alpha = shape, paint, alpha
        self.box = shape.bbox()

    def colour(self, x, y):
        return self.paint(x, y) if callable(self.paint) else self.paint


# ---------------------------------------------------------------------------
# Rasteriser
# ---------------------------------------------------------------------------


def render(layers, size, flat=False):
    """Return rows of (r, g, b, a) 0..255, straight (not premultiplied) alpha.

    flat=True gives hard edges for systems without alpha blending: each pixel
    takes the colour most of its samples see, so only palette colours appear.
    """
    unit = 32.0 / size
    out = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            votes = {}
            x0, y0 = px * unit, py * unit
            cand = [l for l in layers
                    if l.box[0] - 1 <= x0 + unit and l.box[2] + 1 >= x0
                    and l.box[1] - 1 <= y0 + unit and l.box[3] + 1 >= y0]
            for sy in range(SS):
                y = y0 + (sy + 0.5) * unit / SS
                for sx in range(SS):
                    x = x0 + (sx + 0.5) * unit / SS
                    r = g = b = a = 0.0  # premultiplied
                    top = None
                    for l in cand:
                        if l.shape.sd(x, y) <= 0.0:
                            c = l.colour(x, y)
                            k = l.alpha
                            r = c[0] * k + r * (1 - k)
                            g = c[1] * k + g * (1 - k)
                            b = c[2] * k + b * (1 - k)
                            a = k + a * (1 - k)
                            top = c
                    if flat:
                        key = None if top is None else tuple(int(round(v)) for v in top)
                        votes[key] = votes.get(key, 0) + 1
                    else:
                        acc[0] += r
                        acc[1] += g
                        acc[2] += b
                        acc[3] += a
            if flat:
                # Ties resolved by sort order so output never depends on dicts.
                best = sorted(votes.items(), key=lambda kv: (-kv[1], str(kv[0])))[0][0]
                row.append((0, 0, 0, 0) if best is None else best + (255,))
                continue
            n = SS * SS
            a = acc[3] / n
            if a <= 0.0:
                row.append((0, 0, 0, 0))
                continue
            row.append(tuple(min(255, int(round(v / n / a))) for v in acc[:3])
                       + (int(round(a * 255)),))
        out.append(row)
    return out


# ---------------------------------------------------------------------------
# Artwork
# ---------------------------------------------------------------------------

INK = (52, 30, 16)          # outline
FUR_HI = (226, 164, 92)
FUR_LO = (178, 106, 48)
EAR_HI = (130, 76, 38)
EAR_LO = (92, 50, 22)
MUZ_HI = (255, 244, 222)
MUZ_LO = (232, 208, 170)
NOSE = (28, 22, 22)
WHITE = (255, 255, 255)
COLLAR_HI = (64, 132, 230)
COLLAR_LO = (28, 80, 178)
TAG = (250, 204, 60)
STEEL = (58, 74, 98)
GLASS = (200, 232, 255)
BADGE_HI = (255, 120, 50)
BADGE_LO = (206, 30, 18)
BADGE_INK = (120, 14, 8)

# Flatter colours for systems that cannot blend alpha.
FLAT = {
    FUR_HI: (208, 144, 72), FUR_LO: (208, 144, 72),
    EAR_HI: (112, 64, 32), EAR_LO: (112, 64, 32),
    MUZ_HI: (248, 232, 200), MUZ_LO: (248, 232, 200),
    COLLAR_HI: (40, 100, 208), COLLAR_LO: (40, 100, 208),
}


def outlined(layers, shape, fill, w, ink=INK):
    layers.append(Layer(Grown(shape, w), ink))
    layers.append(Layer(shape, fill))


def dog(size, flat=False, look=0):
    """The watchdog's head: floppy ears, muzzle, blue collar.

    look = -1 / 0 / 1 turns the pupils left / ahead / right.
    """
    small = size <= 16
    px = 32.0 / size            # one output pixel in design units
    w = px                      # outlines are one pixel wide at every size

    def paint(hi, lo, y0, y1):
        if flat:
            return FLAT.get(hi, hi)
        return vgrad(hi, lo, y0, y1)

    L = []
    if small:
        # At 16 px every edge sits on the pixel grid (even design units) so
        # the face stays crisp instead of turning into a smudge.
        ears = (Ellipse(5.5, 14.0, 3.8, 8.0, -15), Ellipse(26.5, 14.0, 3.8, 8.0, 15))
        collar = Polygon([(9, 26), (23, 26), (22, 30), (10, 30)])
        head = Ellipse(16, 14, 10, 10)
        muzzle = Ellipse(16, 20, 6.4, 4.2)
    else:
        ears = (Ellipse(6.5, 14.5, 4.2, 8.6, -18), Ellipse(25.5, 14.5, 4.2, 8.6, 18))
        collar = Polygon([(8.5, 24.0), (23.5, 24.0), (22.5, 29.5), (9.5, 29.5)])
        head = Ellipse(16, 14.5, 9.6, 9.8)
        muzzle = Ellipse(16, 20.0, 6.6, 5.0)

    # Ears first so the head's outline separates them from the face.
    for ear in ears:
        outlined(L, ear, paint(EAR_HI, EAR_LO, 6, 23), w)
    # Collar peeks out under the chin.
    outlined(L, collar, paint(COLLAR_HI, COLLAR_LO, 24, 30), w)
    outlined(L, head, paint(FUR_HI, FUR_LO, 5, 24), w)

    if small:
        L.append(Layer(muzzle, paint(MUZ_HI, MUZ_LO, 16, 25)))
        L.append(Layer(Polygon([(13.2, 16), (18.8, 16), (17.2, 19), (14.8, 19)]), NOSE))
        for ex in (12.0, 20.0):
            L.append(Layer(Circle(ex, 12.0, 2.2), NOSE))
        L.append(Layer(Circle(16, 28, 2.0), TAG))
        return L

    # Light patch on the brow.
    if not flat:
        L.append(Layer(Clip(Ellipse(16, 8.0, 6.0, 3.2), head), (246, 198, 130), 0.55))
    outlined(L, muzzle, paint(MUZ_HI, MUZ_LO, 15, 25), w, ink=(150, 96, 52))
    L.append(Layer(Ellipse(16, 17.4, 3.0, 2.1), NOSE))
    L.append(Layer(Ellipse(15.0, 16.6, 1.1, 0.6), (150, 150, 160)))
    # Mouth: a short line down from the nose splitting into a smile.
    for a, b in (((16, 19), (16, 21.2)), ((16, 21.2), (13.8, 22.2)), ((16, 21.2), (18.2, 22.2))):
        L.append(Layer(Capsule(a[0], a[1], b[0], b[1], 0.45), (120, 70, 40)))
    for ex in (11.8, 20.2):
        L.append(Layer(Ellipse(ex, 12.2, 2.0, 2.4), WHITE))
        cx = ex + look * 0.8
        L.append(Layer(Circle(cx, 12.6, 1.55), NOSE))
        L.append(Layer(Circle(cx - 0.5, 12.0, 0.5), WHITE))
    # Tag on the collar.
    L.append(Layer(Grown(Circle(16, 27.4, 1.8), w * 0.8), (150, 100, 10)))
    L.append(Layer(Circle(16, 27.4, 1.8), TAG))
    return L


def magnifier(size, side):
    """Lens in the lower corner on `side` (-1 left, +1 right)."""
    small = size <= 16
    px = 32.0 / size
    if small:
        # Pixel-centred so lens, ring and outline land on whole pixels.
        cx, cy, r, hand = (9.0 if side < 0 else 23.0), 23.0, 5.0, 1.2
    else:
        cx, cy, r, hand = (8.5 if side < 0 else 23.5), 22.0, 5.4, 1.6
    hx, hy = cx + side * 6.2, cy + 6.2   # handle points down and outwards
    L = []
    L.append(Layer(Capsule(cx, cy, hx, hy, hand + px), INK))
    L.append(Layer(Capsule(cx, cy, hx, hy, hand), (110, 66, 30)))
    ring = Circle(cx, cy, r)
    L.append(Layer(Grown(ring, px), INK))
    L.append(Layer(ring, vgrad((150, 170, 196), STEEL, cy - r, cy + r)))
    glass = Circle(cx, cy, r - (px if small else 1.9))
    L.append(Layer(glass, vgrad((236, 248, 255), (150, 200, 246), cy - r, cy + r), 0.85))
    if small:
        L.append(Layer(Circle(cx - 2.0, cy - 2.0, 1.0), WHITE))
    else:
        L.append(Layer(Clip(Circle(cx - 1.2, cy - 1.4, 1.6), glass), WHITE, 0.9))
    return L


def alert_badge(size):
    """Red-orange disc with a white exclamation mark, lower right."""
    small = size <= 16
    px = 32.0 / size
    L = []
    if small:
        cx, cy, r = 24.0, 24.0, 6.0   # outline lands exactly on pixels 8..15
    else:
        cx, cy, r = 24.5, 24.0, 7.3
    disc = Circle(cx, cy, r)
    L.append(Layer(Grown(disc, px), BADGE_INK))
    L.append(Layer(disc, vgrad(BADGE_HI, BADGE_LO, cy - r, cy + r)))
    if small:
        L.append(Layer(Polygon([(22, 18), (26, 18), (26, 24), (22, 24)]), WHITE))
        L.append(Layer(Polygon([(22, 26), (26, 26), (26, 28), (22, 28)]), WHITE))
    else:
        L.append(Layer(Polygon([(23.0, 18.2), (26.0, 18.2), (25.3, 25.4), (23.7, 25.4)]), WHITE))
        L.append(Layer(Circle(cx, 28.0, 1.5), WHITE))
    return L


ICONS = [
    # (resource file, preview name, builder(size) -> layers, flat)
    ("tray_idle.ico", "idle", lambda s: dog(s), False),
    ("tray_idle_9x.ico", "idle_9x", lambda s: dog(s, flat=True), True),
    ("tray_pass1.ico", "pass1", lambda s: dog(s, look=-1) + magnifier(s, -1), False),
    ("tray_pass2.ico", "pass2", lambda s: dog(s, look=1) + magnifier(s, 1), False),
    ("tray_alert.ico", "alert", lambda s: dog(s) + alert_badge(s), False),
]

# ---------------------------------------------------------------------------
# Encoders
# ---------------------------------------------------------------------------


def and_mask(img):
    """1 = transparent; rows bottom-up, each padded to 32 bits."""
    size = len(img)
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for row in reversed(img):
        bits = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                bits[x >> 3] |= 0x80 >> (x & 7)
        out += bits
    return bytes(out)


def dib_32(img):
    size = len(img)
    hdr = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                      size * size * 4, 0, 0, 0, 0)
    px = bytearray()
    for row in reversed(img):
        for r, g, b, a in row:
            px += bytes((b, g, r, a))
    return hdr + bytes(px) + and_mask(img), 32, 0


def dib_8(img, palette):
    """Palettised image; transparent pixels use index 0 (black) under the mask."""
    size = len(img)
    index = {c: i for i, c in enumerate(palette)}
    hdr = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 8, 0,
                      size * size, 0, 0, 256, 0)
    pal = bytearray()
    for i in range(256):
        r, g, b = palette[i] if i < len(palette) else (0, 0, 0)
        pal += bytes((b, g, r, 0))
    px = bytearray()
    for row in reversed(img):
        for r, g, b, a in row:   # 8-bit rows of 16/32 px are already 4-aligned
            px.append(index[(r, g, b)] if a >= 128 else 0)
    return hdr + bytes(pal) + bytes(px) + and_mask(img), 8, 0


def ico(entries):
    """entries: list of (size, (dib bytes, bpp, colour count))."""
    head = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    dirs, blobs = b"", b""
    for size, (blob, bpp, ncol) in entries:
        dirs += struct.pack("<BBBBHHII", size % 256, size % 256, ncol, 0, 1, bpp,
                            len(blob), offset)
        blobs += blob
        offset += len(blob)
    return head + dirs + blobs


def png(img, scale=1):
    h = len(img) * scale
    w = len(img[0]) * scale
    raw = bytearray()
    for row in img:
        line = bytearray(b"\x00")
        for p in row:
            line += bytes(p) * scale
        raw += bytes(line) * scale

    def chunk(t, d):
        return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


# ---------------------------------------------------------------------------
# Chime
# ---------------------------------------------------------------------------

RATE = 22050


def chime():
    """Two bell-like notes a fifth apart (A5 then E6), overlapping a little."""
    dur = 0.55
    n = int(RATE * dur)
    notes = [(0.00, 880.0, 0.55), (0.16, 1318.51, 0.60)]  # start s, Hz, level
    partials = [(1.0, 1.0), (2.0, 0.28), (3.0, 0.08)]       # ratio, weight
    wsum = sum(wt for _, wt in partials)
    fade_in, fade_out = int(0.006 * RATE), int(0.06 * RATE)
    data = bytearray()
    for i in range(n):
        t = i / RATE
        v = 0.0
        for start, f, lvl in notes:
            u = t - start
            if u < 0:
                continue
            attack = min(1.0, u / 0.008)   # per-note soft onset avoids clicks
            for ratio, wt in partials:
                # Higher partials die away faster, as on a struck bar.
                env = math.exp(-u * (7.0 + 6.0 * (ratio - 1)))
                v += lvl * attack * env * wt / wsum * math.sin(2 * math.pi * f * ratio * u)
        g = 1.0
        if i < fade_in:
            g = i / fade_in
        elif i >= n - fade_out:
            g = 0.5 - 0.5 * math.cos(math.pi * (n - 1 - i) / fade_out)
        s = int(round(v * g * 0.85 * 32767))
        data += struct.pack("<h", max(-32767, min(32767, s)))
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = (b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
            + b"data" + struct.pack("<I", len(data)) + bytes(data))
    return b"RIFF" + struct.pack("<I", len(body)) + body


# ---------------------------------------------------------------------------


def build():
    """Return ({file name: bytes}, {preview name: (size, image)})."""
    files, previews = {}, {}
    for fname, pname, builder, flat in ICONS:
        imgs = {s: render(builder(s), s, flat=flat) for s in (32, 16)}
        entries = [(s, dib_32(imgs[s])) for s in (32, 16)]
        if flat:
            # Old shells pick the entry nearest the display depth; give them
            # a palettised copy as well.
            cols = sorted({p[:3] for s in imgs for row in imgs[s] for p in row if p[3] >= 128})
            assert len(cols) <= 256
            pal = [(0, 0, 0)] + [c for c in cols if c != (0, 0, 0)]
            entries = [(s, dib_8(imgs[s], pal)) for s in (32, 16)] + entries
        files[fname] = ico(entries)
        for s in (16, 32):
            previews["%s_%d" % (pname, s)] = imgs[s]
    files["alert.wav"] = chime()
    return files, previews


def sheet(previews):
    """All icons on backgrounds they will really sit on, 1x and 4x."""
    backs = [(58, 110, 165), (15, 139, 235), (212, 208, 200), (255, 255, 255)]
    names = [p for _, p, _, _ in ICONS]
    cell = 40
    scale = 4
    big = 32 * scale + 8
    w = cell * len(backs) * 2 + big * 2
    img = [[(255, 255, 255, 255)] * w for _ in range(len(names) * big)]

    def blit(src, ox, oy, bg, k=1):
        n = len(src)
        for y in range(n * k):
            for x in range(n * k):
                r, g, b, a = src[y // k][x // k]
                al = a / 255.0
                img[oy + y][ox + x] = tuple(int(round(c * al + d * (1 - al)))
                                            for c, d in zip((r, g, b), bg)) + (255,)

    for row, name in enumerate(names):
        oy = row * big
        x = 0
        for bg in backs:
            for yy in range(oy, oy + big):
                for xx in range(x, x + cell * 2):
                    img[yy][xx] = bg + (255,)
            blit(previews[name + "_16"], x + 4, oy + 8, bg)
            blit(previews[name + "_32"], x + 28, oy + 8, bg)
            x += cell * 2
        for s, k in ((16, scale * 2), (32, scale)):
            bg = (15, 139, 235)
            for yy in range(oy, oy + big):
                for xx in range(x, x + big):
                    img[yy][xx] = bg + (255,)
            blit(previews["%s_%d" % (name, s)], x + 4, oy + 4, bg, k)
            x += big
    return img


def write_resources(files, out, check):
    """Writes the files into `out`, or with `check` compares them; 1 when any differs."""
    status = 0
    for name in sorted(files):
        path = os.path.join(out, name)
        if check:
            try:
                with open(path, "rb") as f:
                    same = f.read() == files[name]
            except OSError:
                same = False
            if not same:
                print("differs: %s" % path)
                status = 1
        else:
            os.makedirs(out, exist_ok=True)
            with open(path, "wb") as f:
                f.write(files[name])
            print("wrote %s (%d bytes)" % (path, len(files[name])))
    return status


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--check", action="store_true",
                    help="compare with the files on disk instead of writing them")
    ap.add_argument("--preview", metavar="DIR", help="write PNG previews to DIR")
    ap.add_argument("--out", default=RES_DIR, help="resource directory")
    args = ap.parse_args(argv)

    files, previews = build()
    status = write_resources(files, args.out, args.check)

    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        for name, img in sorted(previews.items()):
            with open(os.path.join(args.preview, name + ".png"), "wb") as f:
                f.write(png(img))
            with open(os.path.join(args.preview, name + "_x8.png"), "wb") as f:
                f.write(png(img, 8))
        with open(os.path.join(args.preview, "sheet.png"), "wb") as f:
            f.write(png(sheet(previews)))
        print("previews in %s" % args.preview)
    return status


if __name__ == "__main__":
    sys.exit(main())
