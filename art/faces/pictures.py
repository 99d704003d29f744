"""The pictures behind and under the lyrics: the default background
(face/defaultbak/bkground1.jpg) and the strip's star-news and ring-back
pictures (face/star.jpg, face/ad.jpg). JPEG, as users' own pictures are."""
import math
import random

from artlib.raster import Canvas, mix


def _add(c, x, y, col, a):
    c.blend(x, y, col, a)


def default_background(w=288, h=360):
    """A dark stage: night sky, a violet glow, three spotlight beams, a few
    stars and an equaliser skyline. Kept dark: lyrics are drawn over it."""
    c = Canvas(w, h)
    top, mid, low = (10, 12, 34), (34, 22, 66), (6, 6, 12)
    for y in range(h):
        t = y / (h - 1)
        row = mix(top, mid, t / 0.55) if t < 0.55 else mix(mid, low, (t - 0.55) / 0.45)
        c.rect((0, y, w, y + 1), row)
    gx, gy, gr = w * 0.5, h * 0.3, w * 0.75
    glow = (120, 80, 200)
    for y in range(h):
        for x in range(w):
            d = math.hypot(x - gx, (y - gy) * 1.2) / gr
            if d < 1:
                _add(c, x, y, glow, 0.35 * (1 - d) ** 2)
    # Spotlight beams from above the top edge.
    beam = (150, 170, 240)
    for angle in (-0.42, 0.0, 0.38):
        ox, oy = w * 0.5 + angle * w * 0.9, -20
        for y in range(h):
            spread = 6 + y * 0.22
            cx = ox + math.tan(angle * -0.9) * (y - oy)
            fade = max(0.0, 1 - y / (h * 0.85))
            x0, x1 = int(cx - spread * 2), int(cx + spread * 2) + 1
            for x in range(max(0, x0), min(w, x1)):
                e = abs(x - cx) / spread
                if e < 2:
                    _add(c, x, y, beam, 0.13 * fade * (1 - e / 2) ** 1.5)
    rnd = random.Random(7)
    for _ in range(70):
        x, y = rnd.randrange(w), rnd.randrange(int(h * 0.5))
        b = rnd.uniform(0.35, 0.9)
        _add(c, x, y, (255, 255, 255), b)
        if b > 0.8:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                _add(c, x + dx, y + dy, (200, 210, 255), 0.35)
    # Equaliser skyline along the bottom, with a faint reflection.
    bars = 24
    bw = w / bars
    base = int(h * 0.86)
    for i in range(bars):
        level = 0.25 + 0.75 * abs(math.sin(i * 0.63) * math.cos(i * 0.21 + 0.4))
        bh = int(level * h * 0.22)
        x0, x1 = int(i * bw + 1), int((i + 1) * bw - 1)
        for y in range(base - bh, base):
            t = (base - y) / max(1, bh)
            col = mix((40, 200, 200), (130, 240, 150), t)
            for x in range(x0, x1):
                if (base - y) % 4 != 0:
                    _add(c, x, y, col, 0.55)
        for y in range(base + 1, min(h, base + 1 + bh // 3)):
            a = 0.18 * (1 - (y - base) / max(1, bh / 3))
            for x in range(x0, x1):
                _add(c, x, y, (40, 200, 200), a)
    return c


def _star_points(cx, cy, outer, inner, turn=-math.pi / 2):
    pts = []
    for k in range(10):
        r = outer if k % 2 == 0 else inner
        a = turn + k * math.pi / 5
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def star_news(w=120, h=90):
    c = Canvas(w, h)
    c.vgradient((0, 0, w, h), (18, 22, 58), (6, 8, 20))
    cx, cy = w / 2, h / 2 + 2
    for y in range(h):
        for x in range(w):
            d = math.hypot(x - cx, y - cy) / 48
            if d < 1:
                _add(c, x, y, (255, 200, 90), 0.35 * (1 - d) ** 2)
    c.polygon(_star_points(cx, cy, 32, 13), (250, 206, 92))
    c.polygon(_star_points(cx - 1, cy - 2, 20, 8), (255, 236, 160), 0.7)
    rnd = random.Random(3)
    for _ in range(18):
        x, y = rnd.uniform(4, w - 4), rnd.uniform(4, h - 4)
        if math.hypot(x - cx, y - cy) > 36:
            c.polygon(_star_points(x, y, rnd.uniform(1.8, 3.2), 0.9), (255, 240, 200), 0.85)
    return c


def ring_back(w=120, h=90):
    c = Canvas(w, h)
    c.vgradient((0, 0, w, h), (10, 46, 44), (4, 14, 16))
    # A phone with a note on its screen, and the sound going out of it.
    px0, py0, px1, py1 = 40, 14, 68, 80
    c.polygon([(px0 + 3, py0), (px1 - 3, py0), (px1, py0 + 3), (px1, py1 - 3), (px1 - 3, py1),
               (px0 + 3, py1), (px0, py1 - 3), (px0, py0 + 3)], (30, 36, 44))
    c.frame((px0 + 1, py0 + 1, px1 - 1, py1 - 1), (120, 220, 200))
    c.rect((px0 + 4, py0 + 8, px1 - 4, py1 - 14), (24, 110, 100))
    c.disc((px0 + px1) / 2, py1 - 7, 2.5, (120, 220, 200))
    nx, ny = (px0 + px1) / 2 - 4, py0 + 20
    c.disc(nx, ny + 16, 3.6, (250, 250, 220))
    c.polygon([(nx + 2.4, ny), (nx + 4, ny), (nx + 4, ny + 16), (nx + 2.4, ny + 16)], (250, 250, 220))
    c.polygon([(nx + 4, ny), (nx + 10, ny + 4), (nx + 10, ny + 7), (nx + 4, ny + 3.5)], (250, 250, 220))
    for k, r in enumerate((10, 17, 24)):
        a = 0.9 - k * 0.22
        for side in (-1, 1):
            cx = px1 + 4 if side > 0 else px0 - 4
            pts_out, pts_in = [], []
            for s in range(13):
                ang = -0.7 + 1.4 * s / 12
                pts_out.append((cx + side * (r + 1.5) * math.cos(ang), 46 + (r + 1.5) * math.sin(ang)))
                pts_in.append((cx + side * r * math.cos(ang), 46 + r * math.sin(ang)))
            c.polygon(pts_out + pts_in[::-1], (140, 240, 210), a)
    return c


def pictures():
    return [
        ('face/defaultbak/bkground1.jpg', default_background()),
        ('face/star.jpg', star_news()),
        ('face/ad.jpg', ring_back()),
    ]
