"""The spot-the-difference drawings. Each function draws one 240 x 320 drawing; `changed` is True for the
right-hand copy, which differs from the left one in a single spot. The spot lies inside the rectangle the
stage accepts for that picture, given here in the drawing's own pixels (rows from the top):

    differente1  x 30..70,  rows 50..90       differentm1  x 190..220, rows 185..215
    differente2  x 70..95,  rows 60..140      differentm2  x 205..240, rows 100..140
    differente3  x 40..70,  rows 110..140     differentm3  x 205..240, rows 130..170
    differenth1  x 100..140, rows 40..80
    differenth2  x 220..240, rows 140..180
    differenth3  x 10..50,  rows 210..250
"""
from svgkit import (INK, WHITE, CREAM, SKY, SUN, GRASS, LEAF, RED, ORANGE, PINK, PURPLE, BLUE, BROWN, TAN, GREY,
                    light, dark, shine, star_path)
import icons


def frame(s, body, top, bottom):
    return (f'<rect x="0" y="0" width="240" height="320" fill="{s.vgrad(top, bottom)}"/>' + body +
            f'<rect x="1.5" y="1.5" width="237" height="317" rx="8" fill="none" stroke="{INK}" stroke-width="3"/>')


def house(s, x, y, w, roof=RED, wall=CREAM):
    h = w * 0.8
    return (f'<rect x="{x}" y="{y}" width="{w}" height="{h}" fill="{s.grad(wall, 0.1, 0.12)}" stroke="{INK}" stroke-width="2"/>'
            f'<path d="M{x - 8},{y + 2} L{x + w / 2},{y - w * 0.55} L{x + w + 8},{y + 2} Z" fill="{s.grad(roof)}" '
            f'stroke="{INK}" stroke-width="2" stroke-linejoin="round"/>'
            f'<rect x="{x + w * 0.4}" y="{y + h * 0.45}" width="{w * 0.22}" height="{h * 0.55}" fill="{BROWN}" '
            f'stroke="{INK}" stroke-width="1.5"/>'
            f'<rect x="{x + w * 0.1}" y="{y + h * 0.2}" width="{w * 0.2}" height="{w * 0.2}" fill="{SKY}" stroke="{INK}" '
            f'stroke-width="1.5"/><rect x="{x + w * 0.7}" y="{y + h * 0.2}" width="{w * 0.2}" height="{w * 0.2}" '
            f'fill="{SKY}" stroke="{INK}" stroke-width="1.5"/>')


def e1(s, changed):
    # countryside; the sun (x 30..70, rows 50..90) is missing on the right
    b = ""
    if not changed:
        b += f'<circle cx="50" cy="70" r="15" fill="{s.grad(SUN, 0.3, 0.05)}" stroke="{INK}" stroke-width="2"/>'
    b += icons.cloud(s, 170, 80, 70, 30)
    b += f'<path d="M0,200 Q60,170 120,195 T240,185 L240,320 L0,320 Z" fill="{s.grad(GRASS, 0.2, 0.15)}" stroke="{INK}" stroke-width="2"/>'
    b += house(s, 120, 175, 70)
    b += icons.tree(s, 50, 215, 70)
    b += icons.flower(s, 40, 285, 20) + icons.flower(s, 200, 290, 18) + icons.flower(s, 110, 300, 16)
    return frame(s, b, light(SKY, 0.15), light(SKY, 0.6))


def e2(s, changed):
    # park; the red balloon on its string (x 70..95, rows 60..140) is missing on the right
    b = icons.cloud(s, 170, 60, 80, 34)
    b += f'<rect x="0" y="210" width="240" height="110" fill="{s.grad(GRASS, 0.2, 0.15)}"/>'
    b += icons.tree(s, 185, 190, 90) + icons.tree(s, 30, 205, 60)
    b += (f'<rect x="100" y="240" width="90" height="8" rx="3" fill="{BROWN}" stroke="{INK}" stroke-width="1.5"/>'
          f'<rect x="100" y="226" width="90" height="8" rx="3" fill="{BROWN}" stroke="{INK}" stroke-width="1.5"/>'
          f'<line x1="108" y1="248" x2="108" y2="262" stroke="{INK}" stroke-width="3"/>'
          f'<line x1="182" y1="248" x2="182" y2="262" stroke="{INK}" stroke-width="3"/>')
    if not changed:
        b += (f'<path d="M82,100 Q78,120 84,138" stroke="{INK}" stroke-width="1.5" fill="none"/>'
              f'<ellipse cx="82" cy="82" rx="10" ry="14" fill="{s.grad(RED, 0.3, 0.1)}" stroke="{INK}" stroke-width="2"/>'
              f'<path d="M79,96 L85,96 L82,100 Z" fill="{RED}" stroke="{INK}" stroke-width="1"/>' + shine(78, 76, 2.5, 4))
    b += icons.flower(s, 40, 280, 22) + icons.flower(s, 210, 300, 18)
    b += f'<path d="M60,320 Q90,260 120,320 Z" fill="#d9b38c"/>'
    return frame(s, b, light(SKY, 0.2), light(SKY, 0.55))


def e3(s, changed):
    # beach; the boat's sail (x 40..70, rows 110..140) is missing on the right
    b = f'<circle cx="190" cy="60" r="22" fill="{s.grad(SUN, 0.3, 0.05)}" stroke="{INK}" stroke-width="2"/>'
    b += f'<rect x="0" y="150" width="240" height="90" fill="{s.vgrad("#3fa9f5", "#1f78c8")}"/>'
    for y in (170, 195, 220):
        b += f'<path d="M10,{y} q10,-5 20,0 t20,0 M130,{y + 8} q10,-5 20,0 t20,0" stroke="#ffffff" stroke-width="2" fill="none" opacity="0.7"/>'
    b += (f'<path d="M30,146 L80,146 L72,156 L38,156 Z" fill="{s.grad(BROWN)}" stroke="{INK}" stroke-width="2"/>'
          f'<line x1="55" y1="146" x2="55" y2="108" stroke="{INK}" stroke-width="2"/>')
    if not changed:
        b += f'<path d="M57,112 L68,138 L57,138 Z" fill="{s.grad(RED, 0.3, 0.1)}" stroke="{INK}" stroke-width="1.8" stroke-linejoin="round"/>'
    b += f'<path d="M0,240 Q120,220 240,245 L240,320 L0,320 Z" fill="{s.grad("#f5d98b", 0.2, 0.1)}" stroke="{INK}" stroke-width="2"/>'
    b += (f'<path d="M150,290 L200,250 L210,262 Z" fill="{PINK}" stroke="{INK}" stroke-width="1.5"/>'
          f'<line x1="190" y1="258" x2="178" y2="300" stroke="{INK}" stroke-width="2.5"/>')
    b += f'<path d="{star_path(60, 285, 12, 5)}" fill="{ORANGE}" stroke="{INK}" stroke-width="1.5"/>'
    return frame(s, b, light(SKY, 0.3), light(SKY, 0.7))


def m1(s, changed):
    # a kitchen table; the cup (x 190..220, rows 185..215) is red on the left, green on the right
    b = f'<rect x="0" y="0" width="240" height="170" fill="{s.vgrad("#fff1c1", "#ffe08a")}"/>'
    b += (f'<rect x="30" y="30" width="90" height="80" fill="{light(SKY, 0.4)}" stroke="{INK}" stroke-width="3"/>'
          f'<line x1="75" y1="30" x2="75" y2="110" stroke="{INK}" stroke-width="2"/>'
          f'<line x1="30" y1="70" x2="120" y2="70" stroke="{INK}" stroke-width="2"/>')
    b += f'<circle cx="185" cy="60" r="22" fill="{WHITE}" stroke="{INK}" stroke-width="2.5"/><path d="M185,60 L185,45 M185,60 L196,64" stroke="{INK}" stroke-width="2"/>'
    b += f'<rect x="0" y="215" width="240" height="20" fill="{s.grad(BROWN, 0.3, 0.1)}" stroke="{INK}" stroke-width="2"/>'
    b += f'<rect x="20" y="235" width="12" height="85" fill="{BROWN}" stroke="{INK}" stroke-width="2"/><rect x="208" y="235" width="12" height="85" fill="{BROWN}" stroke="{INK}" stroke-width="2"/>'
    b += f'<ellipse cx="80" cy="212" rx="40" ry="7" fill="{WHITE}" stroke="{INK}" stroke-width="2"/>'
    b += icons.apple(s, 65, 196, 26) + icons.apple(s, 92, 198, 24)
    b += f'<path d="M130,214 L140,175 L160,175 L170,214 Z" fill="{light(BLUE, 0.4)}" stroke="{INK}" stroke-width="2"/>'
    cup = RED if not changed else "#2e9e48"
    b += (f'<rect x="194" y="192" width="18" height="21" rx="3" fill="{s.grad(cup)}" stroke="{INK}" stroke-width="1.8"/>'
          f'<path d="M212,197 q5.5,0 5.5,6 q0,6 -5.5,6" stroke="{INK}" stroke-width="2" fill="none"/>')
    b += f'<rect x="0" y="235" width="240" height="85" fill="#c9a27a" opacity="0.5"/>'
    return frame(s, b, "#fff1c1", "#c9a27a")


def m2(s, changed):
    # a street; the traffic light at the right (x 205..240, rows 100..140) shows red on the left, green on the right
    b = ""
    for x, w, h, c in ((10, 60, 190, "#f4a261"), (75, 70, 230, "#e9c46a"), (150, 50, 170, "#8ecae6")):
        b += f'<rect x="{x}" y="{260 - h}" width="{w}" height="{h}" fill="{s.grad(c, 0.2, 0.15)}" stroke="{INK}" stroke-width="2"/>'
        for wy in range(270 - h, 240, 26):
            for wx in range(x + 8, x + w - 12, 18):
                b += f'<rect x="{wx}" y="{wy}" width="10" height="12" fill="{light(SKY, 0.5)}" stroke="{INK}" stroke-width="1"/>'
    b += f'<rect x="0" y="260" width="240" height="60" fill="#5a5f6b"/><rect x="0" y="256" width="240" height="6" fill="#c7c9cf"/>'
    b += f'<line x1="0" y1="292" x2="240" y2="292" stroke="#ffffff" stroke-width="3" stroke-dasharray="18 12"/>'
    b += (f'<line x1="222" y1="140" x2="222" y2="258" stroke="{INK}" stroke-width="4"/>'
          f'<rect x="212" y="102" width="20" height="36" rx="5" fill="#333" stroke="{INK}" stroke-width="2"/>')
    top, bottom = (RED, "#555") if not changed else ("#555", "#3ddc5a")
    b += f'<circle cx="222" cy="112" r="6" fill="{top}"/><circle cx="222" cy="128" r="6" fill="{bottom}"/>'
    b += icons.cloud(s, 60, 40, 60, 26)
    b += f'<g transform="translate(40,268)">{car_side(s, BLUE)}</g>'
    return frame(s, b, light(SKY, 0.3), light(SKY, 0.6))


def car_side(s, col):
    return (f'<path d="M2,18 L2,10 L14,9 L22,1 L46,1 L56,9 L66,11 L66,18 Z" fill="{s.grad(col)}" stroke="{INK}" '
            f'stroke-width="2" stroke-linejoin="round"/><circle cx="16" cy="19" r="5" fill="#333"/>'
            f'<circle cx="52" cy="19" r="5" fill="#333"/><rect x="26" y="4" width="16" height="6" fill="{light(SKY, 0.5)}"/>')


def fish_at(s, x, y, size, body, tail):
    return (f'<path d="M{x - size},{y} C{x - size * 0.5},{y - size * 0.7} {x + size * 0.4},{y - size * 0.7} {x + size * 0.6},{y} '
            f'C{x + size * 0.4},{y + size * 0.7} {x - size * 0.5},{y + size * 0.7} {x - size},{y} Z" fill="{s.grad(body)}" '
            f'stroke="{INK}" stroke-width="1.8"/>'
            f'<path d="M{x + size * 0.5},{y} L{x + size * 1.1},{y - size * 0.5} L{x + size * 1.1},{y + size * 0.5} Z" '
            f'fill="{tail}" stroke="{INK}" stroke-width="1.8" stroke-linejoin="round"/>'
            f'<circle cx="{x - size * 0.55}" cy="{y - size * 0.1}" r="{size * 0.12}" fill="{INK}"/>')


def m3(s, changed):
    # an aquarium; the small fish at the right (x 205..240, rows 130..170) has a purple tail on the right
    b = ""
    for x in (20, 60, 110, 160):
        b += f'<path d="M{x},320 q-10,-40 5,-70 q12,-25 0,-55" stroke="#2e9e48" stroke-width="6" fill="none" stroke-linecap="round"/>'
    b += f'<path d="M0,290 Q120,270 240,295 L240,320 L0,320 Z" fill="{s.grad("#f5d98b", 0.2, 0.1)}" stroke="{INK}" stroke-width="2"/>'
    b += fish_at(s, 90, 90, 26, ORANGE, ORANGE) + fish_at(s, 60, 200, 18, PINK, PINK)
    b += fish_at(s, 150, 250, 16, SUN, SUN)
    b += fish_at(s, 220, 150, 11, ORANGE, ORANGE if not changed else PURPLE)
    for y, x, r in ((40, 180, 5), (60, 190, 4), (78, 184, 3), (200, 120, 4), (180, 130, 3)):
        b += f'<circle cx="{x}" cy="{y}" r="{r}" fill="#ffffff" opacity="0.7" stroke="{INK}" stroke-width="0.8"/>'
    b += f'<path d="M140,295 l10,-20 l10,20 Z" fill="{GREY}" stroke="{INK}" stroke-width="1.5"/>'
    return frame(s, b, "#6fd3f7", "#1f78c8")


def h1(s, changed):
    # space; the planet (x 100..140, rows 40..80) has a ring on the left only
    b = ""
    for k in range(40):
        x, y = (k * 53) % 230 + 5, (k * 71) % 310 + 5
        if not (95 <= x <= 145 and 35 <= y <= 85):
            b += f'<circle cx="{x}" cy="{y}" r="{1 + k % 2}" fill="#ffffff" opacity="0.8"/>'
    b += f'<circle cx="120" cy="60" r="11" fill="{s.grad(ORANGE, 0.3, 0.1)}" stroke="{INK}" stroke-width="1.8"/>'
    if not changed:
        b += f'<ellipse cx="120" cy="60" rx="18" ry="5" fill="none" stroke="{SUN}" stroke-width="2.5" transform="rotate(-20 120 60)"/>'
    b += f'<circle cx="60" cy="180" r="34" fill="{s.grad(BLUE, 0.3, 0.15)}" stroke="{INK}" stroke-width="2"/>'
    b += f'<path d="M40,165 q10,-8 20,0 q8,10 20,4" stroke="#2e9e48" stroke-width="7" fill="none" stroke-linecap="round"/>'
    b += (f'<g transform="rotate(30 170 230)"><path d="M170,190 C185,205 185,245 180,260 L160,260 C155,245 155,205 170,190 Z" '
          f'fill="{s.grad(WHITE, 0, 0.15)}" stroke="{INK}" stroke-width="2"/><circle cx="170" cy="222" r="7" fill="{SKY}" '
          f'stroke="{INK}" stroke-width="1.5"/><path d="M160,260 L150,275 L162,266 M180,260 L190,275 L178,266" '
          f'fill="{RED}" stroke="{INK}" stroke-width="1.5"/><path d="M163,262 L170,285 L177,262 Z" fill="{ORANGE}"/></g>')
    b += f'<circle cx="200" cy="40" r="14" fill="{light(GREY, 0.3)}" stroke="{INK}" stroke-width="1.5"/>'
    b += f'<path d="{star_path(40, 290, 8, 3)}" fill="{SUN}"/>'
    return frame(s, b, "#1b1f4b", "#3a2d6e")


def h2(s, changed):
    # a farm; a chick sits on the fence post at the right edge (x 220..240, rows 140..180) on the left only
    b = icons.cloud(s, 70, 50, 70, 30)
    b += f'<rect x="0" y="180" width="240" height="140" fill="{s.grad(GRASS, 0.2, 0.15)}"/>'
    b += (f'<rect x="40" y="110" width="100" height="80" fill="{s.grad(RED, 0.2, 0.15)}" stroke="{INK}" stroke-width="2"/>'
          f'<path d="M32,112 L90,70 L148,112 Z" fill="{s.grad(dark(RED, 0.3))}" stroke="{INK}" stroke-width="2"/>'
          f'<rect x="75" y="140" width="30" height="50" fill="{WHITE}" stroke="{INK}" stroke-width="2"/>'
          f'<path d="M75,140 L105,190 M105,140 L75,190" stroke="{RED}" stroke-width="3"/>')
    for x in (160, 190, 226):
        b += f'<rect x="{x - 4}" y="176" width="8" height="40" fill="{TAN}" stroke="{INK}" stroke-width="1.5"/>'
    b += f'<rect x="150" y="186" width="88" height="6" fill="{TAN}" stroke="{INK}" stroke-width="1.2"/>'
    b += f'<rect x="150" y="202" width="88" height="6" fill="{TAN}" stroke="{INK}" stroke-width="1.2"/>'
    if not changed:
        b += (f'<circle cx="229" cy="168" r="6.5" fill="{s.grad(SUN, 0.2, 0.1)}" stroke="{INK}" stroke-width="1.4"/>'
              f'<path d="M235,166 l3.5,2 l-3.5,2 Z" fill="{ORANGE}"/><circle cx="231.5" cy="165.5" r="1.2" fill="{INK}"/>')
    b += (f'<ellipse cx="70" cy="260" rx="28" ry="16" fill="{WHITE}" stroke="{INK}" stroke-width="2"/>'
          f'<circle cx="45" cy="252" r="10" fill="{WHITE}" stroke="{INK}" stroke-width="2"/>'
          f'<circle cx="62" cy="258" r="5" fill="{INK}"/><circle cx="82" cy="264" r="6" fill="{INK}"/>'
          f'<line x1="55" y1="274" x2="55" y2="290" stroke="{INK}" stroke-width="3"/>'
          f'<line x1="85" y1="274" x2="85" y2="290" stroke="{INK}" stroke-width="3"/>')
    b += icons.flower(s, 180, 280, 20) + icons.flower(s, 130, 300, 16)
    return frame(s, b, light(SKY, 0.2), light(SKY, 0.6))


def h3(s, changed):
    # a town at night; one window of the low house at the left (x 10..50, rows 210..250) is dark on the right
    b = f'<circle cx="190" cy="50" r="20" fill="{light(SUN, 0.5)}" stroke="{INK}" stroke-width="1.5"/>'
    for k in range(20):
        b += f'<circle cx="{(k * 47) % 230 + 5}" cy="{(k * 29) % 120 + 10}" r="1.3" fill="#ffffff" opacity="0.8"/>'
    b += f'<rect x="80" y="90" width="70" height="200" fill="{s.grad("#4b5a8a", 0.15, 0.2)}" stroke="{INK}" stroke-width="2"/>'
    b += f'<rect x="160" y="140" width="70" height="150" fill="{s.grad("#5c4b8a", 0.15, 0.2)}" stroke="{INK}" stroke-width="2"/>'
    for x0, y0, cols, rows in ((88, 100, 3, 9), (168, 150, 3, 6)):
        for r in range(rows):
            for c in range(cols):
                lit = (r * 3 + c * 5 + x0) % 4 != 0
                b += (f'<rect x="{x0 + c * 20}" y="{y0 + r * 20}" width="12" height="12" '
                      f'fill="{SUN if lit else "#2b2f4a"}" stroke="{INK}" stroke-width="1"/>')
    b += f'<rect x="6" y="200" width="68" height="90" fill="{s.grad("#6b4a3a", 0.15, 0.2)}" stroke="{INK}" stroke-width="2"/>'
    b += f'<path d="M2,202 L40,175 L78,202 Z" fill="{s.grad("#3a2d4e")}" stroke="{INK}" stroke-width="2"/>'
    for i, (x, y) in enumerate(((16, 216), (50, 216), (16, 250), (50, 250))):
        lit = not (changed and i == 0)
        b += f'<rect x="{x}" y="{y}" width="14" height="14" fill="{SUN if lit else "#2b2f4a"}" stroke="{INK}" stroke-width="1.2"/>'
    b += f'<rect x="0" y="290" width="240" height="30" fill="#3a3f4b"/>'
    return frame(s, b, "#101a3a", "#2a3a6a")


SPOT_PICTURES = [
    ("differente1.png", e1, "countryside (the sun)"),
    ("differente2.png", e2, "park (the balloon)"),
    ("differente3.png", e3, "beach (the boat's sail)"),
    ("differentm1.png", m1, "kitchen (the colour of the cup)"),
    ("differentm2.png", m2, "street (the traffic light)"),
    ("differentm3.png", m3, "aquarium (the small fish's tail)"),
    ("differenth1.png", h1, "space (the planet's ring)"),
    ("differenth2.png", h2, "farm (the chick on the fence post)"),
    ("differenth3.png", h3, "town at night (one window)"),
]
