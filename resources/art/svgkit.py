"""Small helpers shared by the picture sources: the palette, shading and the SVG document wrapper.

Every picture uses the same light: it comes from the top left, so fills run from a lighter tone at the
top left to a darker one at the bottom right, highlights sit on the upper left and shadows fall to the
lower right.
"""

INK = "#2d3047"       # outlines and dark lettering
WHITE = "#ffffff"
CREAM = "#fff6e0"
SKY = "#5bc0eb"
SUN = "#fde74c"
GRASS = "#9bc53d"
LEAF = "#4caf50"
RED = "#e55934"
ORANGE = "#fa7921"
PINK = "#f49ac2"
PURPLE = "#8e6ccf"
BLUE = "#3a86ff"
BROWN = "#a0522d"
TAN = "#e8b86d"
GREY = "#9aa5b1"
FONT = "Yusei Magic"


def _rgb(c):
    c = c.lstrip("#")
    return [int(c[i:i + 2], 16) for i in (0, 2, 4)]


def _hex(v):
    return "#" + "".join(f"{max(0, min(255, round(x))):02x}" for x in v)


def mix(c1, c2, t):
    a, b = _rgb(c1), _rgb(c2)
    return _hex([x + (y - x) * t for x, y in zip(a, b)])


def light(c, t=0.3):
    return mix(c, WHITE, t)


def dark(c, t=0.2):
    return mix(c, "#000000", t)


class Svg:
    """One picture: a canvas of w x h pixels (one pixel is one point in the game)."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.defs = {}
        self.body = []

    def grad(self, color, t1=0.35, t2=0.18):
        """Id of a fill running from light (top left) to dark (bottom right) in the given colour."""
        gid = "g" + color.lstrip("#") + f"{int(t1 * 100)}{int(t2 * 100)}"
        if gid not in self.defs:
            self.defs[gid] = (f'<linearGradient id="{gid}" x1="0" y1="0" x2="0.35" y2="1">'
                              f'<stop offset="0" stop-color="{light(color, t1)}"/>'
                              f'<stop offset="1" stop-color="{dark(color, t2)}"/></linearGradient>')
        return f"url(#{gid})"

    def vgrad(self, top, bottom, gid=None):
        gid = gid or ("v" + top.lstrip("#") + bottom.lstrip("#"))
        if gid not in self.defs:
            self.defs[gid] = (f'<linearGradient id="{gid}" x1="0" y1="0" x2="0" y2="1">'
                              f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/>'
                              f'</linearGradient>')
        return f"url(#{gid})"

    def shadow(self):
        if "sh" not in self.defs:
            self.defs["sh"] = ('<filter id="sh" x="-20%" y="-20%" width="140%" height="140%">'
                               f'<feDropShadow dx="1.2" dy="1.6" stdDeviation="0.8" flood-color="{INK}" '
                               'flood-opacity="0.35"/></filter>')
        return 'filter="url(#sh)"'

    def add(self, *parts):
        self.body.extend(parts)
        return self

    def text(self, x, y, s, size, fill=WHITE, stroke=INK, sw=None, anchor="middle", extra=""):
        sw = size * 0.14 if sw is None else sw
        s = s.replace("&", "&amp;").replace("<", "&lt;")
        stroke_attr = (f' stroke="{stroke}" stroke-width="{sw:.1f}" stroke-linejoin="round" paint-order="stroke"'
                       if stroke else "")
        self.body.append(f'<text x="{x}" y="{y}" font-family="{FONT}" font-size="{size}" text-anchor="{anchor}" '
                         f'fill="{fill}"{stroke_attr} {extra}>{s}</text>')
        return self

    def render(self):
        defs = "".join(self.defs.values())
        return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{self.w}" height="{self.h}" '
                f'viewBox="0 0 {self.w} {self.h}">\n'
                + (f"<defs>{defs}</defs>\n" if defs else "")
                + "\n".join(self.body) + "\n</svg>\n")


def shine(x, y, rx, ry, op=0.45):
    """The highlight the top-left light leaves on a rounded surface."""
    return f'<ellipse cx="{x}" cy="{y}" rx="{rx}" ry="{ry}" fill="#ffffff" opacity="{op}"/>'


def button(w, h, color, label, size, r=None, text_fill=WHITE, pad=2.5):
    """A raised, rounded button with its label."""
    s = Svg(w, h)
    r = h / 2 - pad if r is None else r
    x0, y0, bw, bh = pad, pad, w - 2 * pad - 1.5, h - 2 * pad - 1.5
    s.add(f'<rect x="{x0 + 1.5}" y="{y0 + 1.8}" width="{bw}" height="{bh}" rx="{r}" fill="{INK}" opacity="0.35"/>',
          f'<rect x="{x0}" y="{y0}" width="{bw}" height="{bh}" rx="{r}" fill="{s.grad(color)}" '
          f'stroke="{INK}" stroke-width="2"/>',
          f'<rect x="{x0 + 4}" y="{y0 + 3}" width="{bw - 8}" height="{bh * 0.38}" rx="{max(1, min(r, bh * 0.19))}" '
          f'fill="#ffffff" opacity="0.3"/>')
    s.text(x0 + bw / 2, y0 + bh / 2 + size * 0.36, label, size, fill=text_fill,
           stroke=WHITE if text_fill == INK else INK)
    return s


def star_path(cx, cy, r1, r2, n=5, rot=-90):
    import math
    pts = []
    for i in range(2 * n):
        r = r1 if i % 2 == 0 else r2
        a = math.radians(rot + i * 180 / n)
        pts.append(f"{cx + r * math.cos(a):.2f},{cy + r * math.sin(a):.2f}")
    return "M" + " L".join(pts) + " Z"


def heart_path(cx, cy, s):
    """A heart about 2s wide and 1.9s tall centred on (cx, cy)."""
    return (f"M{cx},{cy + s * 0.95} C{cx - s * 0.2},{cy + s * 0.7} {cx - s},{cy + s * 0.25} {cx - s},{cy - s * 0.3} "
            f"C{cx - s},{cy - s * 0.85} {cx - s * 0.35},{cy - s * 1.05} {cx},{cy - s * 0.55} "
            f"C{cx + s * 0.35},{cy - s * 1.05} {cx + s},{cy - s * 0.85} {cx + s},{cy - s * 0.3} "
            f"C{cx + s},{cy + s * 0.25} {cx + s * 0.2},{cy + s * 0.7} {cx},{cy + s * 0.95} Z")
