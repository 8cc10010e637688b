"""Small drawings used in several pictures. Each draws into a box of side `d` centred on (cx, cy)."""
from svgkit import (INK, RED, SUN, PINK, BLUE, LEAF, PURPLE, ORANGE, WHITE, BROWN, GRASS, light, dark,
                    shine, star_path, heart_path)


def apple(s, cx, cy, d):
    r = d * 0.36
    return (f'<path d="M{cx},{cy - r * 0.55} C{cx + r * 1.6},{cy - r * 1.3} {cx + r * 1.5},{cy + r * 1.2} {cx},{cy + r} '
            f'C{cx - r * 1.5},{cy + r * 1.2} {cx - r * 1.6},{cy - r * 1.3} {cx},{cy - r * 0.55} Z" '
            f'fill="{s.grad(RED)}" stroke="{INK}" stroke-width="{d * 0.05:.2f}"/>'
            f'<path d="M{cx},{cy - r * 0.5} L{cx + r * 0.15},{cy - r * 1.25}" stroke="{BROWN}" '
            f'stroke-width="{d * 0.07:.2f}" stroke-linecap="round"/>'
            f'<path d="M{cx + r * 0.15},{cy - r * 1.05} q{r * 0.5},{-r * 0.5} {r * 0.9},{-r * 0.2} '
            f'q{-r * 0.4},{r * 0.5} {-r * 0.9},{r * 0.2} Z" fill="{LEAF}" stroke="{INK}" stroke-width="{d * 0.03:.2f}"/>'
            + shine(cx - r * 0.5, cy - r * 0.2, r * 0.22, r * 0.35))


def star(s, cx, cy, d):
    return (f'<path d="{star_path(cx, cy + d * 0.03, d * 0.46, d * 0.2)}" fill="{s.grad(SUN, 0.2, 0.15)}" '
            f'stroke="{INK}" stroke-width="{d * 0.05:.2f}" stroke-linejoin="round"/>'
            + shine(cx - d * 0.1, cy - d * 0.08, d * 0.07, d * 0.1))


def heart(s, cx, cy, d):
    return (f'<path d="{heart_path(cx, cy, d * 0.42)}" fill="{s.grad(PINK, 0.2, 0.2)}" stroke="{INK}" '
            f'stroke-width="{d * 0.05:.2f}"/>' + shine(cx - d * 0.2, cy - d * 0.15, d * 0.08, d * 0.1))


def fish(s, cx, cy, d):
    return (f'<path d="M{cx - d * 0.42},{cy} C{cx - d * 0.2},{cy - d * 0.3} {cx + d * 0.15},{cy - d * 0.3} '
            f'{cx + d * 0.25},{cy} C{cx + d * 0.15},{cy + d * 0.3} {cx - d * 0.2},{cy + d * 0.3} {cx - d * 0.42},{cy} Z" '
            f'fill="{s.grad(BLUE)}" stroke="{INK}" stroke-width="{d * 0.05:.2f}"/>'
            f'<path d="M{cx + d * 0.2},{cy} L{cx + d * 0.46},{cy - d * 0.22} L{cx + d * 0.46},{cy + d * 0.22} Z" '
            f'fill="{dark(BLUE, 0.1)}" stroke="{INK}" stroke-width="{d * 0.05:.2f}" stroke-linejoin="round"/>'
            f'<circle cx="{cx - d * 0.22}" cy="{cy - d * 0.05}" r="{d * 0.05}" fill="{INK}"/>'
            + shine(cx - d * 0.05, cy - d * 0.12, d * 0.1, d * 0.05))


def leaf(s, cx, cy, d):
    return (f'<path d="M{cx - d * 0.38},{cy + d * 0.38} C{cx - d * 0.45},{cy - d * 0.2} {cx - d * 0.05},{cy - d * 0.45} '
            f'{cx + d * 0.42},{cy - d * 0.42} C{cx + d * 0.45},{cy + d * 0.05} {cx + d * 0.2},{cy + d * 0.45} '
            f'{cx - d * 0.38},{cy + d * 0.38} Z" fill="{s.grad(GRASS)}" stroke="{INK}" stroke-width="{d * 0.05:.2f}"/>'
            f'<path d="M{cx - d * 0.38},{cy + d * 0.38} L{cx + d * 0.3},{cy - d * 0.3}" stroke="{dark(GRASS, 0.35)}" '
            f'stroke-width="{d * 0.04:.2f}"/>')


def moon(s, cx, cy, d):
    r = d * 0.42
    return (f'<path d="M{cx + r * 0.3},{cy - r} A{r},{r} 0 1 0 {cx + r * 0.3},{cy + r} '
            f'A{r * 0.75},{r * 0.75} 0 1 1 {cx + r * 0.3},{cy - r} Z" fill="{s.grad(PURPLE)}" stroke="{INK}" '
            f'stroke-width="{d * 0.05:.2f}"/>' + shine(cx - r * 0.55, cy - r * 0.3, r * 0.12, r * 0.25))


def mushroom(s, cx, cy, d):
    return (f'<rect x="{cx - d * 0.13}" y="{cy - d * 0.02}" width="{d * 0.26}" height="{d * 0.4}" rx="{d * 0.08}" '
            f'fill="#fff0d0" stroke="{INK}" stroke-width="{d * 0.05:.2f}"/>'
            f'<path d="M{cx - d * 0.44},{cy + d * 0.04} C{cx - d * 0.44},{cy - d * 0.5} {cx + d * 0.44},{cy - d * 0.5} '
            f'{cx + d * 0.44},{cy + d * 0.04} Z" fill="{s.grad(ORANGE)}" stroke="{INK}" stroke-width="{d * 0.05:.2f}"/>'
            f'<circle cx="{cx - d * 0.15}" cy="{cy - d * 0.18}" r="{d * 0.07}" fill="{WHITE}"/>'
            f'<circle cx="{cx + d * 0.17}" cy="{cy - d * 0.12}" r="{d * 0.06}" fill="{WHITE}"/>')


def flower(s, cx, cy, d):
    out = []
    for i in range(5):
        import math
        a = math.radians(-90 + i * 72)
        px, py = cx + d * 0.24 * math.cos(a), cy + d * 0.24 * math.sin(a)
        out.append(f'<circle cx="{px:.2f}" cy="{py:.2f}" r="{d * 0.18:.2f}" fill="{s.grad(light(PURPLE, 0.35))}" '
                   f'stroke="{INK}" stroke-width="{d * 0.04:.2f}"/>')
    out.append(f'<circle cx="{cx}" cy="{cy}" r="{d * 0.14}" fill="{SUN}" stroke="{INK}" stroke-width="{d * 0.04:.2f}"/>')
    return "".join(out)


def tree(s, cx, cy, d, color=LEAF):
    """A round-topped tree standing on (cx, cy + d/2)."""
    return (f'<rect x="{cx - d * 0.08}" y="{cy + d * 0.1}" width="{d * 0.16}" height="{d * 0.4}" fill="{BROWN}" '
            f'stroke="{INK}" stroke-width="{d * 0.04:.2f}"/>'
            f'<circle cx="{cx}" cy="{cy - d * 0.1}" r="{d * 0.3}" fill="{s.grad(color)}" stroke="{INK}" '
            f'stroke-width="{d * 0.04:.2f}"/>' + shine(cx - d * 0.1, cy - d * 0.2, d * 0.09, d * 0.06, 0.35))


def cloud(s, cx, cy, w, h, color=WHITE, sw=2):
    return (f'<path d="M{cx - w * 0.42},{cy + h * 0.35} C{cx - w * 0.55},{cy + h * 0.35} {cx - w * 0.55},{cy - h * 0.1} '
            f'{cx - w * 0.3},{cy - h * 0.05} C{cx - w * 0.3},{cy - h * 0.5} {cx + w * 0.05},{cy - h * 0.55} '
            f'{cx + w * 0.1},{cy - h * 0.2} C{cx + w * 0.3},{cy - h * 0.45} {cx + w * 0.55},{cy - h * 0.1} '
            f'{cx + w * 0.42},{cy + h * 0.1} C{cx + w * 0.55},{cy + h * 0.2} {cx + w * 0.5},{cy + h * 0.38} '
            f'{cx + w * 0.38},{cy + h * 0.35} Z" fill="{s.grad(color, 0.2, 0.08)}" stroke="{INK}" stroke-width="{sw}" '
            f'stroke-linejoin="round"/>')


SAME_ICONS = [apple, star, heart, fish, leaf, moon, mushroom, flower]
