"""An RGB canvas with the few drawing operations the skins need.

Colours are (r, g, b) tuples of 0..255. Rectangles are (x0, y0, x1, y1) with
the right and bottom edges excluded, as in GDI.
"""
import math


def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    t = 0.0 if t < 0 else 1.0 if t > 1 else t
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def scale(c, f):
    return tuple(max(0, min(255, int(round(v * f)))) for v in c)


class Canvas:
    def __init__(self, width, height, color=(0, 0, 0)):
        self.width = width
        self.height = height
        self.px = bytearray(bytes(color) * (width * height))

    # ---- pixels ---------------------------------------------------------------
    def get(self, x, y):
        i = (y * self.width + x) * 3
        return (self.px[i], self.px[i + 1], self.px[i + 2])

    def set(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            i = (y * self.width + x) * 3
            self.px[i:i + 3] = bytes(c)

    def blend(self, x, y, c, a):
        """Paints c over the pixel with coverage a (0..1)."""
        if a <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        if a >= 1:
            self.set(x, y, c)
            return
        self.set(x, y, mix(self.get(x, y), c, a))

    # ---- areas ----------------------------------------------------------------
    def rect(self, r, c):
        x0, y0, x1, y1 = self._clip(r)
        row = bytes(c) * (x1 - x0)
        for y in range(y0, y1):
            i = (y * self.width + x0) * 3
            self.px[i:i + len(row)] = row

    def fill(self, c):
        self.rect((0, 0, self.width, self.height), c)

    def vgradient(self, r, top, bottom):
        x0, y0, x1, y1 = self._clip(r)
        span = max(1, r[3] - r[1] - 1)
        for y in range(y0, y1):
            self.rect((x0, y, x1, y + 1), mix(top, bottom, (y - r[1]) / span))

    def hgradient(self, r, left, right):
        x0, y0, x1, y1 = self._clip(r)
        span = max(1, r[2] - r[0] - 1)
        for x in range(x0, x1):
            self.rect((x, y0, x + 1, y1), mix(left, right, (x - r[0]) / span))

    def frame(self, r, c):
        """A one-pixel outline just inside r."""
        x0, y0, x1, y1 = r
        self.rect((x0, y0, x1, y0 + 1), c)
        self.rect((x0, y1 - 1, x1, y1), c)
        self.rect((x0, y0, x0 + 1, y1), c)
        self.rect((x1 - 1, y0, x1, y1), c)

    def bevel(self, r, light, dark):
        """Raised edge: light on top and left, dark on bottom and right."""
        x0, y0, x1, y1 = r
        self.rect((x0, y0, x1, y0 + 1), light)
        self.rect((x0, y0, x0 + 1, y1), light)
        self.rect((x0, y1 - 1, x1, y1), dark)
        self.rect((x1 - 1, y0, x1, y1), dark)

    def hline(self, x0, x1, y, c):
        self.rect((x0, y, x1, y + 1), c)

    def vline(self, x, y0, y1, c):
        self.rect((x, y0, x + 1, y1), c)

    def blit(self, src, x, y):
        for sy in range(src.height):
            ty = y + sy
            if not 0 <= ty < self.height:
                continue
            for sx in range(src.width):
                self.set(x + sx, ty, src.get(sx, sy))

    # ---- shapes, anti-aliased by 4 x 4 sub-samples ------------------------------
    def polygon(self, points, c, alpha=1.0):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        x0, x1 = max(0, int(math.floor(min(xs)))), min(self.width, int(math.ceil(max(xs))))
        y0, y1 = max(0, int(math.floor(min(ys)))), min(self.height, int(math.ceil(max(ys))))
        subs = [(i + 0.5) / 4 for i in range(4)]
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = 0
                for sy in subs:
                    for sx in subs:
                        if _inside(points, x + sx, y + sy):
                            hits += 1
                if hits:
                    self.blend(x, y, c, alpha * hits / 16)

    def disc(self, cx, cy, r, c, alpha=1.0):
        x0, x1 = max(0, int(cx - r - 1)), min(self.width, int(cx + r + 2))
        y0, y1 = max(0, int(cy - r - 1)), min(self.height, int(cy + r + 2))
        subs = [(i + 0.5) / 4 for i in range(4)]
        for y in range(y0, y1):
            for x in range(x0, x1):
                hits = sum(1 for sy in subs for sx in subs
                           if (x + sx - cx) ** 2 + (y + sy - cy) ** 2 <= r * r)
                if hits:
                    self.blend(x, y, c, alpha * hits / 16)

    def line(self, x0, y0, x1, y1, width, c, alpha=1.0):
        """A straight stroke of the given width, as a polygon."""
        dx, dy = x1 - x0, y1 - y0
        n = math.hypot(dx, dy) or 1.0
        ox, oy = -dy / n * width / 2, dx / n * width / 2
        self.polygon([(x0 + ox, y0 + oy), (x1 + ox, y1 + oy), (x1 - ox, y1 - oy), (x0 - ox, y0 - oy)],
                     c, alpha)

    def _clip(self, r):
        x0, y0, x1, y1 = r
        return (max(0, x0), max(0, y0), min(self.width, x1), min(self.height, y1))


def _inside(points, x, y):
    inside = False
    n = len(points)
    j = n - 1
    for i in range(n):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside
