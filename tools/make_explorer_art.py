#!/usr/bin/env python3
"""Generate the Explorer's tab icons, program icon and image-button bitmaps.

    python3 tools/make_explorer_art.py                 # (re)write src/explorer/res/*
    python3 tools/make_explorer_art.py --check         # exit 1 if files on disk differ
    python3 tools/make_explorer_art.py --preview DIR   # also write PNG previews

Standard library only; the shapes and rasteriser come from make_art.py.
"""

import argparse
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_art as art  # noqa: E402
from make_art import Capsule, Circle, Clip, Grown, Layer, Polygon, vgrad  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES_DIR = os.path.join(ROOT, "src", "explorer", "res")

INK = (40, 48, 64)
WHITE = (255, 255, 255)
# The image buttons sit on the dialog face; this grey is mapped to the
# system's face colour when the bitmap is loaded (LR_LOADMAP3DCOLORS).
FACE = (192, 192, 192)


class Box:
    """Rounded rectangle."""

    def __init__(self, x0, y0, x1, y1, r=0.0):
        self.x0, self.y0, self.x1, self.y1, self.r = x0, y0, x1, y1, r

    def bbox(self):
        return (self.x0, self.y0, self.x1, self.y1)

    def sd(self, x, y):
        cx, cy = (self.x0 + self.x1) / 2, (self.y0 + self.y1) / 2
        hx, hy = (self.x1 - self.x0) / 2 - self.r, (self.y1 - self.y0) / 2 - self.r
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(qx, 0), max(qy, 0)) + min(max(qx, qy), 0) - self.r


class Ring:
    def __init__(self, cx, cy, r, w):
        self.cx, self.cy, self.r, self.w = cx, cy, r, w

    def bbox(self):
        e = self.r + self.w
        return (self.cx - e, self.cy - e, self.cx + e, self.cy + e)

    def sd(self, x, y):
        return abs(math.hypot(x - self.cx, y - self.cy) - self.r) - self.w


class Minus:
    """Shape a without shape b."""

    def __init__(self, a, b):
        self.a, self.b = a, b

    def bbox(self):
        return self.a.bbox()

    def sd(self, x, y):
        return max(self.a.sd(x, y), -self.b.sd(x, y))


def outlined(layers, shape, fill, w=1.0, ink=INK):
    layers.append(Layer(Grown(shape, w), ink))
    layers.append(Layer(shape, fill))


def grad(hi, lo, y0=2, y1=30):
    return vgrad(hi, lo, y0, y1)


# --- tab icons -------------------------------------------------------------

def window_frame(layers, body=(250, 250, 250)):
    frame = Box(3, 5, 29, 27, 2)
    outlined(layers, frame, body, 1.2)
    layers.append(Layer(Clip(frame, Box(3, 5, 29, 10.5)), grad((90, 150, 240), (30, 80, 200), 5, 11)))


def icon_startup():
    l = []
    window_frame(l)
    outlined(l, Polygon([(12, 13), (23, 18.5), (12, 24)]), grad((120, 220, 90), (30, 150, 40), 13, 24), 1.0,
             (20, 90, 20))
    return l


def icon_delayed():
    l = []
    face = Circle(16, 16, 12.5)
    outlined(l, face, grad((255, 255, 255), (214, 226, 240)), 1.8, (40, 90, 170))
    for i in range(12):
        a = math.radians(i * 30)
        l.append(Layer(Circle(16 + 9.8 * math.sin(a), 16 - 9.8 * math.cos(a), 0.9), (80, 90, 110)))
    l.append(Layer(Capsule(16, 16, 16, 8, 1.3), INK))
    l.append(Layer(Capsule(16, 16, 21.5, 19, 1.3), INK))
    l.append(Layer(Circle(16, 16, 1.8), (200, 40, 30)))
    return l


def icon_ie_helpers():
    l = []
    globe = Circle(14, 15, 11)
    outlined(l, globe, grad((110, 190, 255), (20, 90, 200)), 1.2, (20, 50, 120))
    for shape in (Ring(14, 15, 5, 0.5), Capsule(3, 15, 25, 15, 0.5), Capsule(14, 4, 14, 26, 0.5)):
        l.append(Layer(Clip(shape, globe), (200, 230, 255), 0.8))
    plug = Box(19, 18, 29, 28, 1.5)
    outlined(l, plug, grad((255, 200, 80), (230, 130, 20), 18, 28), 1.1, (120, 60, 10))
    l.append(Layer(Box(22, 15.5, 23.6, 18.5), (120, 60, 10)))
    l.append(Layer(Box(25, 15.5, 26.6, 18.5), (120, 60, 10)))
    return l


def icon_scheduled():
    l = []
    page = Box(4, 5, 28, 28, 2)
    outlined(l, page, WHITE, 1.2)
    l.append(Layer(Clip(page, Box(4, 5, 28, 11)), grad((240, 90, 70), (190, 30, 20), 5, 11)))
    for ring_x in (10, 22):
        l.append(Layer(Capsule(ring_x, 3, ring_x, 8, 1.2), (90, 90, 100)))
    for row in range(3):
        for col in range(4):
            l.append(Layer(Box(7 + col * 5, 13.5 + row * 4.5, 10 + col * 5, 16.5 + row * 4.5),
                           (120, 140, 170) if (row, col) != (1, 2) else (210, 40, 30)))
    return l


def gear(cx, cy, r, teeth, inner):
    pts = []
    for i in range(teeth * 4):
        a = 2 * math.pi * i / (teeth * 4)
        rr = r if (i % 4) in (0, 1) else r * 0.78
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    return Minus(Polygon(pts), Circle(cx, cy, inner))


def icon_services():
    l = []
    outlined(l, gear(13, 13, 11, 8, 3.6), grad((200, 210, 225), (110, 125, 150), 2, 24), 1.1)
    outlined(l, gear(23, 23, 7, 6, 2.4), grad((255, 210, 90), (210, 140, 20), 16, 30), 1.0, (110, 70, 10))
    return l


def icon_active_tasks():
    l = []
    window_frame(l, (20, 40, 30))
    for i, h in enumerate((5, 9, 7, 12)):
        l.append(Layer(Box(7 + i * 5.2, 25 - h, 10.5 + i * 5.2, 25), grad((140, 255, 120), (30, 170, 40), 12, 25)))
    return l


def icon_cookies():
    l = []
    cookie = Circle(16, 16, 12.5)
    outlined(l, cookie, grad((240, 196, 120), (196, 140, 64)), 1.2, (110, 66, 20))
    for x, y, r in ((11, 11, 2), (19, 9.5, 1.6), (21, 17, 2.1), (12, 20, 1.8), (17, 23, 1.5), (15, 15, 1.2)):
        l.append(Layer(Circle(x, y, r), (90, 50, 20)))
    return l


def icon_file_types():
    l = []
    page = Polygon([(7, 3), (20, 3), (26, 9), (26, 29), (7, 29)])
    outlined(l, page, WHITE, 1.2)
    outlined(l, Polygon([(20, 3), (20, 9), (26, 9)]), (210, 220, 235), 0.8)
    for i in range(3):
        l.append(Layer(Capsule(10, 13 + i * 3.2, 22, 13 + i * 3.2, 0.6), (150, 160, 180)))
    tag = Box(3, 20, 18, 28, 1.5)
    outlined(l, tag, grad((120, 200, 255), (30, 110, 220), 20, 28), 1.0, (20, 60, 140))
    l.append(Layer(Capsule(6.5, 24, 14.5, 24, 0.9), WHITE))
    return l


def icon_hidden():
    l = []
    back = Polygon([(3, 8), (12, 8), (14, 11), (29, 11), (29, 27), (3, 27)])
    outlined(l, back, grad((255, 220, 110), (230, 170, 40), 8, 27), 1.1, (130, 90, 10))
    # A document showing through the folder, drawn half transparent.
    l.append(Layer(Box(9, 4, 23, 20, 1), (255, 255, 255), 0.55))
    front = Polygon([(3, 14), (29, 14), (29, 27), (3, 27)])
    outlined(l, front, grad((255, 230, 140), (240, 180, 50), 14, 27), 1.0, (130, 90, 10))
    eye = Clip(Circle(16, 26, 8.5), Circle(16, 15, 8.5))
    outlined(l, eye, WHITE, 0.9)
    l.append(Layer(Circle(16, 20.5, 2.2), (40, 90, 170)))
    return l


def icon_options():
    l = []
    page = Box(5, 3, 27, 29, 2)
    outlined(l, page, WHITE, 1.2)
    for i in range(3):
        y = 9 + i * 7
        outlined(l, Box(8, y - 2.5, 13, y + 2.5, 0.8), (240, 244, 250), 0.7, (90, 110, 140))
        l.append(Layer(Capsule(15.5, y, 24, y, 0.8), (140, 150, 170)))
        if i != 1:
            l.append(Layer(Capsule(9, y, 10.5, y + 1.8, 0.7), (30, 150, 40)))
            l.append(Layer(Capsule(10.5, y + 1.8, 13.5, y - 3, 0.7), (30, 150, 40)))
    return l


def icon_program():
    l = []
    window_frame(l)
    l.append(Layer(Box(6, 13, 26, 14.2), (180, 190, 205)))
    l.append(Layer(Box(6, 17, 20, 18.2), (180, 190, 205)))
    l.append(Layer(Box(6, 21, 23, 22.2), (180, 190, 205)))
    return l


ICONS = [
    # (file, resource id, builder)
    ("tab_services.ico", 173, icon_services),
    ("tab_startup.ico", 174, icon_startup),
    ("tab_active_tasks.ico", 176, icon_active_tasks),
    ("tab_file_types.ico", 179, icon_file_types),
    ("tab_ie_helpers.ico", 180, icon_ie_helpers),
    ("tab_options.ico", 181, icon_options),
    ("tab_scheduled.ico", 182, icon_scheduled),
    ("tab_cookies.ico", 183, icon_cookies),
    ("tab_hidden.ico", 198, icon_hidden),
    ("tab_delayed.ico", 200, icon_delayed),
    ("program_generic.ico", 115, icon_program),
]


# --- image buttons ---------------------------------------------------------

def help_button(state):
    l = []
    lift = 1.0 if state == "pressed" else 0.0
    hi, lo = ((150, 210, 255), (40, 110, 220)) if state == "hover" else ((110, 180, 255), (20, 80, 190))
    if state == "pressed":
        hi, lo = (70, 130, 220), (10, 50, 140)
    ball = Circle(16, 16 + lift, 12.5)
    outlined(l, ball, grad(hi, lo, 3, 29), 1.2, (10, 40, 110))
    # The question mark: an open arc, a short stem and a dot.
    arc = Minus(Ring(16, 12 + lift, 4.2, 1.7), Polygon([(16, 12 + lift), (6, 18 + lift), (13, 24 + lift)]))
    l.append(Layer(arc, WHITE))
    l.append(Layer(Capsule(17.5, 15.5 + lift, 16, 18.5 + lift, 1.7), WHITE))
    l.append(Layer(Circle(16, 23 + lift, 1.9), WHITE))
    return l


def shield(lift):
    return Polygon([(16, 3 + lift), (27, 7 + lift), (26, 17 + lift), (16, 29 + lift), (6, 17 + lift),
                    (5, 7 + lift)])


def monitor_button(on, state):
    l = []
    lift = 1.0 if state == "pressed" else 0.0
    if on:
        hi, lo = ((140, 240, 120), (30, 160, 40)) if state != "pressed" else ((90, 200, 80), (20, 120, 30))
        if state == "hover":
            hi, lo = (190, 255, 170), (60, 200, 60)
        ink = (10, 80, 20)
    else:
        hi, lo = ((225, 225, 225), (150, 150, 155)) if state != "pressed" else ((190, 190, 190), (120, 120, 125))
        if state == "hover":
            hi, lo = (245, 245, 245), (180, 180, 185)
        ink = (70, 70, 80)
    body = shield(lift)
    outlined(l, body, grad(hi, lo, 3, 29), 1.2, ink)
    # The eye of the watchdog, open when monitoring, shut when not.
    if on:
        eye = Clip(Circle(16, 22 + lift, 9), Circle(16, 10 + lift, 9))
        outlined(l, eye, WHITE, 0.9, ink)
        l.append(Layer(Circle(16, 16 + lift, 2.6), (20, 60, 140)))
    else:
        l.append(Layer(Capsule(9, 16 + lift, 23, 16 + lift, 1.1), ink))
        l.append(Layer(Capsule(8, 7 + lift, 24, 25 + lift, 1.5), (200, 30, 20)))
    return l


def note_button():
    l = []
    page = Polygon([(6, 3), (26, 3), (26, 22), (19, 29), (6, 29)])
    outlined(l, page, grad((255, 250, 190), (245, 225, 120)), 1.1, (120, 100, 30))
    outlined(l, Polygon([(26, 22), (19, 22), (19, 29)]), (230, 200, 90), 0.8, (120, 100, 30))
    for i in range(4):
        l.append(Layer(Capsule(9, 9 + i * 3.5, 23 - (i == 3) * 6, 9 + i * 3.5, 0.6), (150, 130, 60)))
    return l


BITMAPS = [
    # (file, resource id, builder)
    ("help.bmp", 133, lambda: help_button("normal")),
    ("help_pressed.bmp", 134, lambda: help_button("pressed")),
    ("help_hover.bmp", 135, lambda: help_button("hover")),
    ("monitor_on.bmp", 154, lambda: monitor_button(True, "normal")),
    ("monitor_pressed.bmp", 155, lambda: monitor_button(True, "pressed")),
    ("monitor_on_hover.bmp", 156, lambda: monitor_button(True, "hover")),
    ("monitor_off.bmp", 158, lambda: monitor_button(False, "normal")),
    ("monitor_off_hover.bmp", 159, lambda: monitor_button(False, "hover")),
    ("monitor_off_pressed.bmp", 160, lambda: monitor_button(False, "pressed")),
    ("note.bmp", 193, note_button),
]


def on_face(img):
    def blend(p):
        k = p[3] / 255.0
        return tuple(int(round(c * k + f * (1 - k))) for c, f in zip(p[:3], FACE)) + (255,)
    return [[blend(p) for p in row] for row in img]


def bmp_8(img):
    """Palettised bitmap file; the face grey keeps its exact value so it can be remapped."""
    step = 1
    while True:
        def q(c):
            return c if c == FACE else tuple(min(255, (v // step) * step + step // 2) for v in c)
        cols = sorted({q(p[:3]) for row in img for p in row})
        if len(cols) <= 256:
            break
        step *= 2
    index = {c: i for i, c in enumerate(cols)}
    h, w = len(img), len(img[0])
    stride = (w + 3) & ~3
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in cols) + b"\0" * 4 * (256 - len(cols))
    px = bytearray()
    for row in reversed(img):
        line = bytearray(index[q(p[:3])] for p in row)
        px += line + b"\0" * (stride - w)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(px), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(pal)
    head = struct.pack("<2sIHHI", b"BM", offset + len(px), 0, 0, offset)
    return head + info + pal + bytes(px)


def build():
    files, previews = {}, {}
    for fname, _, builder in ICONS:
        imgs = {s: art.render(builder(), s) for s in (32, 16)}
        files[fname] = art.ico([(s, art.dib_32(imgs[s])) for s in (32, 16)])
        previews[fname[:-4] + "_32"] = imgs[32]
        previews[fname[:-4] + "_16"] = imgs[16]
    for fname, _, builder in BITMAPS:
        img = on_face(art.render(builder(), 22))
        files[fname] = bmp_8(img)
        previews[fname[:-4]] = img
    return files, previews


def sheet(previews):
    names = sorted(previews)
    scale = 3
    cell = 32 * scale + 8
    cols = 6
    rows = (len(names) + cols - 1) // cols
    img = [[(212, 208, 200, 255)] * (cols * cell) for _ in range(rows * cell)]
    for i, name in enumerate(names):
        src = previews[name]
        k = scale * 32 // len(src)
        ox, oy = (i % cols) * cell + 4, (i // cols) * cell + 4
        for y in range(len(src) * k):
            for x in range(len(src) * k):
                r, g, b, a = src[y // k][x // k]
                al = a / 255.0
                img[oy + y][ox + x] = tuple(int(round(c * al + d * (1 - al)))
                                            for c, d in zip((r, g, b), (212, 208, 200))) + (255,)
    return img


def main(argv=None):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--check", action="store_true", help="compare with the files on disk instead of writing them")
    ap.add_argument("--preview", metavar="DIR", help="write PNG previews to DIR")
    ap.add_argument("--out", default=RES_DIR, help="resource directory")
    args = ap.parse_args(argv)

    files, previews = build()
    status = art.write_resources(files, args.out, args.check)
    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        with open(os.path.join(args.preview, "explorer_sheet.png"), "wb") as f:
            f.write(art.png(sheet(previews)))
    return status


if __name__ == "__main__":
    sys.exit(main())
