#!/usr/bin/env python3
"""Writes every picture of the game as an SVG file into svg/ (one file per PNG the game loads) and the list
of expected resource files, resources/expected.txt.

Pictures are sized in points: a sprite's pixel size is its hit rectangle in the game, so the sizes below
are chosen against the places the stages put the sprites (see the notes beside each group).
Scene positions have their origin at the lower left; SVG rows start at the top, so a scene point (x, y)
on a full-screen picture is the SVG point (x, 320 - y).
"""
import math
import os
import sys

from svgkit import (Svg, button, shine, star_path, heart_path, light, dark, mix, INK, WHITE, CREAM, SKY, SUN,
                    GRASS, LEAF, RED, ORANGE, PINK, PURPLE, BLUE, BROWN, TAN, GREY)
import icons
from spots import SPOT_PICTURES
from desktop import make_desktop

HERE = os.path.dirname(os.path.abspath(__file__))
ITEMS = []  # (file name, Svg, what it is)


def item(name, svg, what):
    ITEMS.append((name, svg, what))


def sy(y):
    """Scene y to SVG row on a 320-point-high picture."""
    return 320 - y


# ---------------------------------------------------------------- backgrounds

def backdrop(top, bottom, hud=True):
    s = Svg(480, 320)
    s.add(f'<rect width="480" height="320" fill="{s.vgrad(top, bottom)}"/>')
    return s


def hud(s):
    """The calm strip under the time bar and the lives row."""
    s.add(f'<rect x="-10" y="-10" width="500" height="40" rx="10" fill="{INK}" opacity="0.28"/>')


def confetti(s, n, seed, colors, area=(0, 40, 480, 280), r=(2, 4)):
    import random
    rnd = random.Random(seed)
    for _ in range(n):
        x = rnd.uniform(area[0], area[2])
        y = rnd.uniform(area[1], area[3])
        c = rnd.choice(colors)
        s.add(f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{rnd.uniform(*r):.1f}" fill="{c}" opacity="0.35"/>')


def hills(s, y, color, amp=18, phase=0.0):
    pts = [f"M-10,{y}"]
    for x in range(0, 500, 20):
        pts.append(f"L{x},{y - amp * (0.5 + 0.5 * math.sin(x / 60 + phase)):.1f}")
    pts.append("L490,330 L-10,330 Z")
    s.add(f'<path d="{" ".join(pts)}" fill="{s.grad(color, 0.15, 0.15)}" stroke="{dark(color, 0.3)}" stroke-width="2"/>')


def sun_disc(s, cx, cy, r):
    for i in range(12):
        a = math.radians(i * 30)
        s.add(f'<line x1="{cx + (r + 5) * math.cos(a):.1f}" y1="{cy + (r + 5) * math.sin(a):.1f}" '
              f'x2="{cx + (r + 14) * math.cos(a):.1f}" y2="{cy + (r + 14) * math.sin(a):.1f}" stroke="{SUN}" '
              f'stroke-width="4" stroke-linecap="round"/>')
    s.add(f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{s.grad(SUN, 0.3, 0.05)}" stroke="{INK}" stroke-width="2"/>')


def make_logo():
    s = backdrop(light(SKY, 0.2), light(PURPLE, 0.2))
    confetti(s, 60, 1, [SUN, PINK, WHITE, ORANGE], (0, 0, 480, 320), (3, 7))
    s.add(f'<path d="{star_path(240, 150, 150, 70, 12)}" fill="{SUN}" opacity="0.35"/>')
    s.text(243, 175, "Quintora", 88, fill=INK, stroke=None, extra='opacity="0.3"')
    s.text(240, 170, "Quintora", 88, fill=s.grad(ORANGE, 0.5, 0.05), stroke=INK, sw=7)
    s.text(240, 220, "five seconds, sixteen games", 22, fill=WHITE, stroke=INK, sw=4)
    for i, c in enumerate([RED, ORANGE, SUN, GRASS, BLUE]):
        s.add(f'<circle cx="{180 + 30 * i}" cy="255" r="9" fill="{s.grad(c)}" stroke="{INK}" stroke-width="2"/>')
    item("logo.png", s, "title card shown while the menu starts (fades in and out)")


def make_mainbg():
    s = backdrop(light(SKY, 0.1), light(SKY, 0.6))
    sun_disc(s, 420, 70, 30)
    s.add(icons.cloud(s, 90, 60, 110, 50), icons.cloud(s, 300, 40, 80, 36))
    hills(s, 250, GRASS, 20)
    hills(s, 285, dark(GRASS, 0.1), 14, 2.0)
    s.text(243, 123, "Quintora", 64, fill=INK, stroke=None, extra='opacity="0.3"')
    s.text(240, 120, "Quintora", 64, fill=s.grad(ORANGE, 0.5, 0.05), stroke=INK, sw=5)
    s.text(360, 152, "pick your level!", 20, fill=WHITE, stroke=INK, sw=4)
    # little arrows pointing at the three level buttons' staircase
    s.add(f'<path d="M330,165 q-40,10 -60,25" fill="none" stroke="{WHITE}" stroke-width="3" stroke-dasharray="6 5"/>')
    item("mainbg.png", s, "main menu background")


def make_board():
    s = backdrop("#3b2f63", "#26204a")
    confetti(s, 40, 3, [SUN, PINK, SKY], (0, 0, 480, 320), (1, 3))
    s.text(16, 25, "Records", 24, fill=SUN, anchor="start", sw=4)
    # one panel per level; the rows of names and times are drawn by the game at y = 240, 130, 30
    for i, (lvl, col) in enumerate([("Amateur", GRASS), ("Pro", ORANGE), ("Legend", RED)]):
        top = sy(240) - 30 + i * 110 - 8  # panel around the row's labels
        y0 = [sy(240), sy(130), sy(30)][i]
        s.add(f'<rect x="12" y="{y0 - 26}" width="456" height="44" rx="12" fill="{WHITE}" opacity="0.12" '
              f'stroke="{col}" stroke-width="2"/>')
        s.add(f'<rect x="14" y="{y0 - 48}" width="{len(lvl) * 11 + 20}" height="20" rx="8" fill="{s.grad(col)}" '
              f'stroke="{INK}" stroke-width="1.5"/>')
        s.text(24 + len(lvl) * 5.5, y0 - 33, lvl, 14, fill=WHITE, sw=3)
        for mx, medal, label in ((22, SUN, "1"), (248, "#d9dde3", "2")):
            s.add(f'<circle cx="{mx}" cy="{y0 - 4}" r="8" fill="{s.grad(medal, 0.3, 0.1)}" stroke="{INK}" stroke-width="1.5"/>')
            s.text(mx, y0, label, 11, fill=INK, stroke=None)
        s.add(f'<line x1="240" y1="{y0 - 20}" x2="240" y2="{y0 + 12}" stroke="{WHITE}" stroke-width="1" opacity="0.3"/>')
    item("board.png", s, "records screen background with a panel for each level")


def make_worldrankingbg():
    s = backdrop("#1f3a6b", "#2a1f4f")
    confetti(s, 40, 7, [SUN, SKY, WHITE], (0, 0, 480, 320), (1, 3))
    # a faint globe behind the list: the rows of names and times (white, y = 250 down in steps of 30,
    # columns at x = 50, 200, 350, 400) are drawn by the game and scroll over it
    cx, cy, r = 240, 175, 120
    globe = f'fill="none" stroke="{SKY}" stroke-width="2" opacity="0.22"'
    s.add(f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{SKY}" opacity="0.08"/>',
          f'<circle cx="{cx}" cy="{cy}" r="{r}" {globe}/>')
    for k in (0.35, 0.7):
        s.add(f'<ellipse cx="{cx}" cy="{cy}" rx="{r * k:.1f}" ry="{r}" {globe}/>')
    for dy in (-0.7, -0.35, 0, 0.35, 0.7):
        half = r * math.sqrt(1 - dy * dy)
        s.add(f'<line x1="{cx - half:.1f}" y1="{cy + dy * r:.1f}" x2="{cx + half:.1f}" y2="{cy + dy * r:.1f}" {globe}/>')
    # the calm strip behind the tabs and the menu button at y = 290, and the panel the rows stand on
    s.add(f'<rect x="-10" y="-10" width="500" height="58" rx="10" fill="{INK}" opacity="0.35"/>',
          f'<rect x="10" y="56" width="460" height="258" rx="14" fill="{INK}" opacity="0.22" '
          f'stroke="{SKY}" stroke-width="1.5" stroke-opacity="0.35"/>')
    for x in (88, 312):  # thin rules between rank, name and the time with its country
        s.add(f'<line x1="{x}" y1="64" x2="{x}" y2="306" stroke="{WHITE}" stroke-width="1" opacity="0.12"/>')
    item("worldrankingbg.png", s, "world ranking background: a globe behind the panel the rows scroll on")


# ---------------------------------------------------------------- menu and screen buttons

def make_buttons():
    # Menu: Amateur (150,150), Pro (200,90), Legend (300,50), records (40,30), touch square 5.
    # 34 high leaves 6 points between the Pro and Legend rows, more than the touch square.
    item("abt.png", button(156, 34, GRASS, "Amateur", 21), "menu button: start at the Amateur level")
    item("pbt.png", button(156, 34, ORANGE, "Pro", 21), "menu button: start at the Pro level")
    item("lbt.png", button(156, 34, RED, "Legend", 21), "menu button: start at the Legend level")
    item("rbt.png", button(72, 40, BLUE, "Records", 15, r=10), "menu button: open the records")
    # Records screen: main menu (300,290) and world ranking (400,290); 88 wide leaves 12 points between.
    item("mainmenubt.png", button(88, 34, GRASS, "Menu", 17, r=10), "records screen: back to the main menu")
    item("worldrankingbt.png", button(88, 34, BLUE, "World", 17, r=10), "records screen: open the world ranking")
    nf = Svg(320, 34)
    nf.add(f'<rect x="2" y="2" width="315" height="29" rx="8" fill="{CREAM}" stroke="{INK}" stroke-width="2.5"/>',
           f'<rect x="6" y="5" width="307" height="6" rx="3" fill="{INK}" opacity="0.12"/>')
    item("namefield.png", nf, "records screen: the box behind the typed name")
    # World ranking tabs at (90,290), (220,290), (350,290) and menu at (450,290), touch square 10.
    for key, label in (("a", "Amateur"), ("p", "Pro"), ("l", "Legend")):
        on = button(110, 36, SUN, label, 18, r=12, text_fill=INK)
        on.add(f'<path d="{star_path(12, 12, 7, 3)}" fill="{ORANGE}" stroke="{INK}" stroke-width="1"/>')
        item(f"{key}bton.png", on, f"world ranking: the {label} tab, selected")
        off = button(110, 36, mix(GREY, BLUE, 0.25), label, 18, r=12, text_fill=light(GREY, 0.5))
        item(f"{key}btoff.png", off, f"world ranking: the {label} tab, not selected")
    item("wmainbt.png", button(50, 36, GRASS, "Menu", 13, r=10), "world ranking: back to the main menu")


# ---------------------------------------------------------------- the frame of every stage

def make_frame():
    # timedown at (215,304) 400 x 14; timeup at (215,303) 420 x 18 covers it (x 5..425, y 294..312) and,
    # moved to (-226,303), lies wholly left of the screen (x -436..-16).
    td = Svg(400, 14)
    td.add(f'<rect x="1" y="1" width="398" height="12" rx="6" fill="{dark(RED, 0.35)}" stroke="{INK}" stroke-width="2"/>')
    for x in range(12, 396, 16):
        td.add(f'<line x1="{x}" y1="4" x2="{x - 5}" y2="10" stroke="{RED}" stroke-width="3" opacity="0.7"/>')
    item("timedown.png", td, "time bar track, uncovered as time runs out")
    tu = Svg(420, 18)
    tu.add(f'<rect x="1" y="1" width="418" height="16" rx="6" fill="{tu.vgrad(light(GRASS, 0.45), dark(GRASS, 0.15))}" '
           f'stroke="{INK}" stroke-width="2"/>',
           f'<rect x="6" y="3.5" width="408" height="4" rx="2" fill="#ffffff" opacity="0.55"/>')
    for x in range(20, 410, 24):
        tu.add(f'<circle cx="{x}" cy="11" r="2" fill="{dark(GRASS, 0.3)}" opacity="0.5"/>')
    item("timeup.png", tu, "time bar: the time left, slides off to the left over five seconds")
    # lives at x = 380 + 20 i: 18 wide keeps 2 points between hearts and the last one inside the screen
    lf = Svg(18, 18)
    lf.add(f'<path d="{heart_path(9, 9.2, 7.6)}" fill="{lf.grad(RED, 0.3, 0.1)}" stroke="{INK}" stroke-width="1.6"/>',
           shine(6, 6.5, 1.8, 2.4, 0.7))
    item("life.png", lf, "one life in the lives row")
    wins = [("GREAT!", SUN), ("NICE!", GRASS), ("SUPER!", ORANGE), ("YES!", SKY), ("CLEAR!", PINK)]
    loses = [("OOPS!", RED), ("MISS!", PURPLE), ("NO!", dark(RED, 0.1)), ("TOO BAD", GREY), ("OUCH!", ORANGE)]
    for i, (word, accent) in enumerate(wins):
        item(f"gamewin{i}.png", result_panel(word, "You won this stage", True, accent), f"result picture: won ({word})")
    for i, (word, accent) in enumerate(loses):
        item(f"gamelose{i}.png", result_panel(word, "You lost a life", False, accent), f"result picture: lost ({word})")


def result_panel(word, sub, won, accent):
    s = Svg(300, 150)
    base = "#2fa84f" if won else "#c0392b"
    s.add(f'<rect x="9" y="11" width="286" height="134" rx="24" fill="{INK}" opacity="0.4"/>',
          f'<rect x="5" y="6" width="286" height="134" rx="24" fill="{s.grad(base, 0.25, 0.2)}" stroke="{WHITE}" '
          f'stroke-width="5"/>',
          f'<rect x="2.5" y="3.5" width="291" height="139" rx="26" fill="none" stroke="{INK}" stroke-width="2"/>',
          f'<rect x="18" y="14" width="260" height="26" rx="13" fill="#ffffff" opacity="0.2"/>')
    if won:
        for cx, cy, r in ((40, 38, 20), (262, 42, 16), (258, 112, 11)):
            s.add(f'<path d="{star_path(cx, cy, r, r * 0.45)}" fill="{SUN}" stroke="{INK}" stroke-width="2" '
                  'stroke-linejoin="round"/>')
    else:
        for cx, cy, r in ((40, 40, 14), (262, 108, 11)):
            s.add(f'<path d="M{cx - r},{cy - r} L{cx + r},{cy + r} M{cx + r},{cy - r} L{cx - r},{cy + r}" stroke="{INK}" '
                  f'stroke-width="9" stroke-linecap="round"/>',
                  f'<path d="M{cx - r},{cy - r} L{cx + r},{cy + r} M{cx + r},{cy - r} L{cx - r},{cy + r}" stroke="{WHITE}" '
                  f'stroke-width="5" stroke-linecap="round"/>')
    size = 58 if len(word) <= 6 else 50
    s.text(150, 92, word, size, fill=accent if accent != base else WHITE, stroke=INK, sw=8)
    s.text(150, 124, sub, 19, fill=WHITE, stroke=INK, sw=4)
    return s


# ---------------------------------------------------------------- hamburger

FILL_KINDS = [  # (kind number, file stem, word on the tray, tray colour)
    (1, "hamvar2", "patty", BROWN),
    (2, "hamvar1", "lettuce", LEAF),
    (3, "hamtomato", "tomato", RED),
    (4, "hamcheese", "cheese", "#f2b705"),
]


def filling(s, stem, cx, cy, scale=1.0):
    """One layer of the burger, about 112 x 16 at scale 1, centred on (cx, cy)."""
    w = 112 * scale
    h = 16 * scale
    x0 = cx - w / 2
    sw = max(1.2, 2 * scale)
    if stem == "hamvar2":  # meat patty
        out = (f'<rect x="{x0}" y="{cy - h / 2}" width="{w}" height="{h}" rx="{h / 2}" fill="{s.grad("#7b4a26", 0.2, 0.25)}" '
               f'stroke="{INK}" stroke-width="{sw}"/>')
        for i in range(6):
            x = x0 + w * (0.12 + i * 0.15)
            out += (f'<line x1="{x}" y1="{cy - h * 0.2}" x2="{x + w * 0.06}" y2="{cy + h * 0.05}" stroke="#4a2a12" '
                    f'stroke-width="{sw}" stroke-linecap="round"/>')
        return out + shine(x0 + w * 0.2, cy - h * 0.25, w * 0.12, h * 0.12, 0.3)
    if stem == "hamvar1":  # lettuce, wavy
        pts = [f"M{x0 - 2 * scale},{cy}"]
        n = 10
        for i in range(n + 1):
            x = x0 + w * i / n
            pts.append(f"Q{x - w / n / 2:.1f},{cy - h * 0.85:.1f} {x:.1f},{cy - h * 0.3:.1f}")
        for i in range(n, -1, -1):
            x = x0 + w * i / n
            pts.append(f"Q{x + w / n / 2:.1f},{cy + h * 0.75:.1f} {x:.1f},{cy + h * 0.35:.1f}")
        return (f'<path d="{" ".join(pts)} Z" fill="{s.grad("#5cc93b", 0.2, 0.15)}" stroke="{INK}" stroke-width="{sw}" '
                'stroke-linejoin="round"/>')
    if stem == "hamtomato":  # three slices
        out = ""
        for i in range(3):
            x = x0 + w * (0.18 + i * 0.32)
            out += (f'<ellipse cx="{x}" cy="{cy}" rx="{w * 0.17}" ry="{h * 0.46}" fill="{s.grad(RED, 0.15, 0.1)}" '
                    f'stroke="{INK}" stroke-width="{sw}"/>'
                    f'<ellipse cx="{x}" cy="{cy}" rx="{w * 0.1}" ry="{h * 0.22}" fill="{light(RED, 0.35)}"/>')
        return out
    # cheese: a square slice seen edge-on, with corners hanging down
    return (f'<path d="M{x0},{cy - h * 0.35} L{x0 + w},{cy - h * 0.35} L{x0 + w - 4 * scale},{cy + h * 0.45} '
            f'L{x0 + w * 0.82},{cy + h * 0.1} L{x0 + w * 0.18},{cy + h * 0.1} L{x0 + 4 * scale},{cy + h * 0.45} Z" '
            f'fill="{s.grad("#ffd23f", 0.2, 0.1)}" stroke="{INK}" stroke-width="{sw}" stroke-linejoin="round"/>'
            f'<circle cx="{x0 + w * 0.35}" cy="{cy - h * 0.08}" r="{1.6 * scale}" fill="#e0a800"/>'
            f'<circle cx="{x0 + w * 0.6}" cy="{cy - h * 0.1}" r="{1.3 * scale}" fill="#e0a800"/>')


def bun_top(s, cx, cy, w, h, sw=2):
    x0 = cx - w / 2
    out = (f'<path d="M{x0},{cy + h * 0.45} C{x0},{cy - h * 0.55} {x0 + w},{cy - h * 0.55} {x0 + w},{cy + h * 0.45} Z" '
           f'fill="{s.grad(TAN, 0.25, 0.15)}" stroke="{INK}" stroke-width="{sw}"/>')
    for fx, fy in ((0.3, 0.0), (0.45, -0.2), (0.6, -0.05), (0.72, 0.15), (0.22, 0.22), (0.5, 0.18)):
        out += (f'<ellipse cx="{x0 + w * fx}" cy="{cy + h * fy}" rx="{w * 0.02 + 0.6}" ry="{h * 0.04 + 0.5}" '
                f'fill="{CREAM}" stroke="{dark(TAN, 0.3)}" stroke-width="0.6"/>')
    return out + shine(x0 + w * 0.3, cy - h * 0.15, w * 0.12, h * 0.12, 0.35)


def make_burger():
    s = backdrop("#ffe8c2", "#ffc98a")
    hud(s)
    # counter top and two plates, under the order (x=145) and the player's burger (x=365)
    s.add(f'<rect x="0" y="{sy(70)}" width="480" height="70" fill="{s.vgrad("#c98b52", "#9b6235")}"/>',
          f'<rect x="0" y="{sy(70)}" width="480" height="5" fill="#7a4a25"/>')
    for cx, title, col in ((145, "ORDER", RED), (365, "YOUR BURGER", BLUE)):
        s.add(f'<ellipse cx="{cx}" cy="{sy(104)}" rx="80" ry="14" fill="{WHITE}" stroke="{INK}" stroke-width="2"/>',
              f'<ellipse cx="{cx}" cy="{sy(106)}" rx="60" ry="8" fill="{INK}" opacity="0.08"/>')
        s.add(f'<rect x="{cx - 62}" y="{sy(92)}" width="124" height="21" rx="9" fill="{s.grad(col)}" '
              f'stroke="{INK}" stroke-width="2"/>')
        s.text(cx, sy(92) + 16, title, 15, fill=WHITE, sw=3)
    s.add(f'<path d="M255,{sy(170)} l14,0 l0,-10 l16,18 l-16,18 l0,-10 l-14,0 Z" fill="{SUN}" stroke="{INK}" '
          'stroke-width="2" stroke-linejoin="round"/>')
    item("hambg.png", s, "hamburger stage background: order on the left, your burger on the right")
    for kind, stem, word, col in FILL_KINDS:
        f = Svg(116, 20)
        f.add(filling(f, stem, 58, 10))
        item(f"{stem}.png", f, f"burger filling: {word}")
        item(f"{stem}table.png", tray(stem, word, col), f"hamburger tray: {word}")
    item("hamtoptable.png", tray("top", "top bun", TAN), "hamburger tray: top bun (never the right answer)")
    top = Svg(124, 42)
    top.add(bun_top(top, 62, 22, 120, 36))
    item("hamtop.png", top, "top bun")
    bot = Svg(120, 26)
    bot.add(f'<path d="M2,6 L118,6 L118,12 C118,24 2,24 2,12 Z" fill="{bot.grad(TAN, 0.15, 0.2)}" stroke="{INK}" '
            'stroke-width="2"/>', f'<rect x="4" y="7.5" width="112" height="3" fill="{CREAM}" opacity="0.8"/>')
    item("hambottom.png", bot, "bottom bun")


def tray(stem, word, col):
    # trays at x = 80, 180, 270, 360, 440 (y = 30) with a 20-point touch square: 56 wide leaves 24 points
    # between the closest two (360 and 440)
    s = Svg(56, 50)
    s.add(f'<rect x="2.5" y="3.5" width="51" height="44" rx="9" fill="{INK}" opacity="0.3"/>',
          f'<rect x="1" y="1.5" width="51" height="45" rx="9" fill="{s.grad(light(col, 0.55), 0.3, 0.1)}" '
          f'stroke="{INK}" stroke-width="2"/>',
          f'<rect x="5" y="5" width="43" height="27" rx="6" fill="{WHITE}" stroke="{dark(col, 0.1)}" stroke-width="1.5"/>')
    if stem == "top":
        s.add(bun_top(s, 26.5, 19, 36, 16, 1.4))
    else:
        for dy in (-5, 1, 7):
            s.add(filling(s, stem, 26.5, 18.5 + dy, 0.34))
    s.text(26.5, 43.5, word, 10.5 if len(word) < 7 else 9.5, fill=WHITE, stroke=INK, sw=2.4)
    return s


# ---------------------------------------------------------------- same picture

def make_samegrim():
    s = backdrop("#d8f3ff", "#b5e3f7")
    hud(s)
    confetti(s, 30, 5, [WHITE, PINK, SUN], (0, 40, 480, 320))
    s.add(f'<rect x="70" y="{sy(240)}" width="290" height="80" rx="14" fill="{WHITE}" opacity="0.55" stroke="{SKY}" '
          'stroke-width="2" stroke-dasharray="8 6"/>')
    s.add(f'<rect x="48" y="{sy(112)}" width="404" height="44" rx="14" fill="{s.grad(light(PURPLE, 0.5))}" '
          f'stroke="{INK}" stroke-width="2"/>')
    item("samegrimbg.png", s, "same-picture stage background")
    for i, draw in enumerate(icons.SAME_ICONS):
        # small pictures at x = 75 + 50 i (y = 90), touch square 20: 28 wide leaves 22 points between
        sm = Svg(28, 28)
        sm.add(f'<rect x="1" y="1" width="25.5" height="25.5" rx="6" fill="{CREAM}" stroke="{INK}" stroke-width="1.6"/>',
               draw(sm, 13.8, 13.8, 22))
        item(f"samegrimsmall{i + 1}.png", sm, f"same-picture: small picture {i + 1} ({draw.__name__})")
        # large pictures at x = 120 + 60 i (y = 200), dropped with a 20-point square: 38 wide leaves 22
        lg = Svg(38, 38)
        lg.add(f'<rect x="2.5" y="3" width="34" height="34" rx="8" fill="{INK}" opacity="0.3"/>',
               f'<rect x="1" y="1" width="34" height="34" rx="8" fill="{WHITE}" stroke="{INK}" stroke-width="2"/>',
               draw(lg, 18, 18, 30))
        item(f"samegrim{i + 1}.png", lg, f"same-picture: large picture {i + 1} ({draw.__name__})")
    x = Svg(30, 30)
    for col, w in ((INK, 9), (RED, 5)):
        x.add(f'<path d="M6,6 L24,24 M24,6 L6,24" stroke="{col}" stroke-width="{w}" stroke-linecap="round"/>')
    item("samex.png", x, "same-picture: cross over a small picture that is not in play")


# ---------------------------------------------------------------- arithmetic

def keycap(w, h, label, size, col=CREAM, text=INK):
    s = Svg(w, h)
    s.add(f'<rect x="2.5" y="3" width="{w - 4}" height="{h - 4}" rx="8" fill="{INK}" opacity="0.35"/>',
          f'<rect x="1" y="1" width="{w - 4}" height="{h - 4}" rx="8" fill="{s.grad(col, 0.3, 0.12)}" stroke="{INK}" '
          'stroke-width="2"/>',
          f'<rect x="5" y="4" width="{w - 12}" height="{(h - 4) * 0.3}" rx="4" fill="#ffffff" opacity="0.35"/>')
    s.text((w - 2) / 2, (h - 2) / 2 + size * 0.36, label, size, fill=text, stroke=None if text == INK else INK,
           sw=size * 0.12)
    return s


def make_math():
    s = backdrop("#2f6b4f", "#24533d")
    s.add(f'<rect x="8" y="40" width="464" height="130" rx="10" fill="#2a5e45" stroke="#8b5a2b" stroke-width="8"/>')
    for i in range(14):
        s.add(f'<path d="M{30 + i * 33},{70 + (i * 37) % 80} q8,-3 16,1" stroke="#ffffff" stroke-width="1" '
              'opacity="0.12" fill="none"/>')
    hud(s)
    s.add(f'<rect x="14" y="{sy(135)}" width="346" height="122" rx="12" fill="#ffffff" opacity="0.1"/>')
    s.text(420, sy(110), "=?", 40, fill=SUN, stroke=None, extra='opacity="0.35"')
    item("mathbg.png", s, "arithmetic stage background (a chalkboard)")
    # keys at x = 50 + 50 i (y = 100 and 50), touch square 5: 42 x 42 leaves 8 points between keys
    for i in range(10):
        digit = (i + 1) % 10
        item(f"mathnumber{i + 1}.png", keycap(42, 42, str(digit), 26), f"arithmetic key: digit {digit}")
    item("mathok.png", keycap(60, 42, "OK", 22, GRASS, WHITE), "arithmetic: OK key")
    item("mathdel.png", keycap(60, 42, "DEL", 20, RED, WHITE), "arithmetic: delete key")


# ---------------------------------------------------------------- don't touch

def make_donttouch():
    s = backdrop("#ffdd55", "#ffb347")
    for i in range(-8, 30):
        s.add(f'<path d="M{i * 30},320 l40,-40 l15,0 l-40,40 Z" fill="{INK}" opacity="0.08"/>')
    hud(s)
    s.text(243, 137, "DON'T", 78, fill=INK, stroke=None, extra='opacity="0.3"')
    s.text(240, 134, "DON'T", 78, fill=RED, stroke=WHITE, sw=8)
    s.text(240, 214, "TOUCH!", 78, fill=RED, stroke=WHITE, sw=8)
    # a crossed-out hand
    cx, cy = 400, 240
    s.add(f'<circle cx="{cx}" cy="{cy}" r="46" fill="{WHITE}" stroke="{RED}" stroke-width="9"/>',
          f'<path d="M{cx - 12},{cy + 30} l0,-40 q0,-8 7,-8 q7,0 7,8 l0,-14 q0,-8 7,-8 q7,0 7,8 l0,18 q10,-4 12,6 '
          f'l-4,34 q-2,10 -14,10 l-14,0 q-8,0 -8,-14 Z" fill="{PINK}" stroke="{INK}" stroke-width="2.5"/>',
          f'<line x1="{cx - 32}" y1="{cy - 32}" x2="{cx + 32}" y2="{cy + 32}" stroke="{RED}" stroke-width="9"/>')
    item("dontouch.png", s, "don't-touch stage: the whole picture, telling the player not to touch")


# ---------------------------------------------------------------- golf

def make_golf():
    s = backdrop("#7ccf5a", "#58ab3c")
    for i in range(0, 480, 48):
        s.add(f'<rect x="{i}" y="0" width="24" height="320" fill="#ffffff" opacity="0.06"/>')
    hud(s)
    s.add(f'<ellipse cx="50" cy="{sy(270)}" rx="34" ry="16" fill="#8fe06a" stroke="#4e9a32" stroke-width="2"/>')
    s.add(f'<ellipse cx="430" cy="{sy(50)}" rx="64" ry="40" fill="#a8ec86" stroke="#4e9a32" stroke-width="2"/>')
    for x, y in ((20, 180), (455, 200), (460, 120), (20, 60)):
        s.add(icons.tree(s, x, y, 40, "#2e8b3a"))
    item("golfbg.png", s, "golf stage background: tee at top left, green at bottom right")
    b = Svg(14, 14)
    b.add(f'<circle cx="6.8" cy="6.8" r="5.8" fill="{b.grad(WHITE, 0, 0.15)}" stroke="{INK}" stroke-width="1.4"/>',
          f'<circle cx="5" cy="5" r="1.6" fill="#ffffff"/>', f'<circle cx="8.5" cy="8" r="0.7" fill="{GREY}"/>',
          f'<circle cx="6.5" cy="9.3" r="0.7" fill="{GREY}"/>')
    item("golfball.png", b, "golf ball (small enough to steer)")
    h = Svg(40, 40)
    h.add(f'<circle cx="20" cy="21" r="18" fill="{h.grad("#a8ec86", 0.2, 0.15)}" stroke="#3d8a27" stroke-width="2"/>',
          f'<ellipse cx="20" cy="26" rx="8" ry="5.5" fill="{INK}"/>',
          f'<line x1="20" y1="26" x2="20" y2="3" stroke="{INK}" stroke-width="2"/>',
          f'<path d="M20,3 L34,7 L20,12 Z" fill="{RED}" stroke="{INK}" stroke-width="1.2" stroke-linejoin="round"/>')
    item("golfhole.png", h, "golf hole with its flag")
    bk = Svg(90, 56)
    bk.add(f'<path d="M8,30 C4,10 30,2 50,6 C75,2 88,18 84,32 C88,48 60,54 42,50 C20,56 2,46 8,30 Z" '
           f'fill="{bk.grad("#f3dc9b", 0.2, 0.12)}" stroke="#b8944a" stroke-width="2.5"/>')
    for x, y in ((25, 22), (40, 35), (58, 20), (66, 38), (30, 42)):
        bk.add(f'<path d="M{x},{y} q4,-3 8,0" stroke="#c9a65a" stroke-width="1.2" fill="none"/>')
    item("golfb.png", bk, "golf bunker (slows the ball)")
    # The hazard's rectangles lie at (-47..+23, -51.5..+28.5) and (-47..-17, -52..-12) from the sprites'
    # centres: a 94 x 104 picture whose pond fills its lower-left 70 x 80 covers both.
    hz = Svg(94, 104)
    hz.add(f'<rect x="0.5" y="24" width="69.5" height="79.5" rx="10" fill="#8a6f4e"/>',
           f'<rect x="4" y="27.5" width="62.5" height="72.5" rx="8" fill="{hz.grad("#2f8fd8", 0.3, 0.15)}"/>',
           f'<path d="M12,45 q8,-5 16,0 t16,0" stroke="#ffffff" stroke-width="2" fill="none" opacity="0.6"/>',
           f'<path d="M22,70 q8,-5 16,0 t16,0" stroke="#ffffff" stroke-width="2" fill="none" opacity="0.6"/>',
           f'<path d="M10,88 q6,-4 12,0" stroke="#ffffff" stroke-width="2" fill="none" opacity="0.6"/>',
           f'<rect x="0.5" y="24" width="69.5" height="79.5" rx="10" fill="none" stroke="{INK}" stroke-width="1.5"/>')
    item("golfh.png", hz, "golf water hazard (pond in the lower-left of the picture)")


# ---------------------------------------------------------------- follow the way

FW_ROUTES = {
    1: [(80, 250), (110, 95), (300, 70), (440, 40)],
    2: [(50, 270), (410, 270), (410, 150), (60, 150), (60, 35), (440, 40)],
    3: [(40, 250), (30, 55), (150, 50), (150, 205), (290, 205), (290, 50), (425, 50), (430, 180)],
}


def make_followway():
    for lvl, route in FW_ROUTES.items():
        s = backdrop(["#c9f29b", "#b5e8ff", "#e9d5ff"][lvl - 1], ["#a6e07a", "#8fd3f5", "#cfb4f5"][lvl - 1])
        confetti(s, 40, 10 + lvl, [WHITE, GRASS, SUN], (0, 40, 480, 320))
        hud(s)
        d = "M" + " L".join(f"{x},{sy(y)}" for x, y in route)
        s.add(f'<path d="{d}" fill="none" stroke="#d9a066" stroke-width="36" stroke-linejoin="round" '
              'stroke-linecap="round"/>',
              f'<path d="{d}" fill="none" stroke="#f0c58c" stroke-width="28" stroke-linejoin="round" '
              'stroke-linecap="round"/>',
              f'<path d="{d}" fill="none" stroke="#ffffff" stroke-width="3" stroke-dasharray="8 10" '
              'stroke-linejoin="round" stroke-linecap="round" opacity="0.8"/>')
        item(f"fw{lvl}bg.png", s, f"follow-the-way background, level {lvl}, with the way drawn")
    ch = Svg(28, 28)
    ch.add(f'<circle cx="13.5" cy="13.5" r="12" fill="{ch.grad("#ffcf9e", 0.2, 0.15)}" stroke="{INK}" stroke-width="2"/>',
           f'<path d="M2.5,12 C3,1 24,1 24.5,12 C20,7 8,7 2.5,12 Z" fill="{BLUE}" stroke="{INK}" stroke-width="1.5"/>',
           f'<circle cx="9.5" cy="14" r="1.7" fill="{INK}"/><circle cx="17.5" cy="14" r="1.7" fill="{INK}"/>',
           f'<path d="M9,18.5 q4.5,4 9,0" stroke="{INK}" stroke-width="1.6" fill="none" stroke-linecap="round"/>',
           shine(8, 6, 3, 1.5, 0.5))
    item("fwch.png", ch, "follow-the-way: the character you drag")
    hs = Svg(44, 44)
    hs.add(f'<rect x="7" y="19" width="30" height="22" fill="{hs.grad(CREAM, 0.1, 0.15)}" stroke="{INK}" stroke-width="2"/>',
           f'<path d="M2,21 L22,3 L42,21 Z" fill="{hs.grad(RED)}" stroke="{INK}" stroke-width="2" stroke-linejoin="round"/>',
           f'<rect x="18" y="28" width="9" height="13" fill="{BROWN}" stroke="{INK}" stroke-width="1.5"/>',
           f'<rect x="10" y="24" width="6" height="6" fill="{SKY}" stroke="{INK}" stroke-width="1.2"/>',
           f'<rect x="29" y="24" width="6" height="6" fill="{SKY}" stroke="{INK}" stroke-width="1.2"/>')
    item("fwhouse.png", hs, "follow-the-way: the house to reach")
    item("fws4.png", fire_block(36, 150), "follow-the-way obstacle: an upright wall of fire")
    item("fwgaro6.png", fire_block(330, 52), "follow-the-way obstacle: a long crosswise wall of fire")
    item("fw1center.png", fire_block(100, 100), "follow-the-way obstacle: a bonfire square in the middle")


def fire_block(w, h):
    """A stone trough full of flames filling the whole picture, so the hit rectangle is all fire."""
    s = Svg(w, h)
    s.add(f'<rect x="1" y="1" width="{w - 2}" height="{h - 2}" rx="6" fill="{s.grad("#8d6e63", 0.2, 0.3)}" '
          f'stroke="{INK}" stroke-width="2"/>',
          f'<rect x="5" y="5" width="{w - 10}" height="{h - 10}" rx="4" fill="{s.vgrad("#ffe14d", "#ff5a1f", "fire")}"/>')
    import random
    rnd = random.Random(w * 1000 + h)
    step = 14
    if w >= h:
        for x in range(8, w - 6, step):
            fh = rnd.uniform(0.45, 0.8) * (h - 10)
            s.add(f'<path d="M{x - 6},{h - 6} C{x - 8},{h - 6 - fh * 0.5} {x},{h - 6 - fh * 0.6} {x + 1},{h - 6 - fh} '
                  f'C{x + 3},{h - 6 - fh * 0.5} {x + 8},{h - 6 - fh * 0.4} {x + 7},{h - 6} Z" fill="{RED}" opacity="0.75"/>')
    else:
        for y in range(10, h - 6, step):
            fw = rnd.uniform(0.5, 0.85) * (w - 10)
            s.add(f'<path d="M{w / 2 - fw / 2},{y + 6} C{w / 2 - fw / 2},{y - 2} {w / 2},{y} {w / 2},{y - 8} '
                  f'C{w / 2 + 2},{y} {w / 2 + fw / 2},{y - 2} {w / 2 + fw / 2},{y + 6} Z" fill="{RED}" opacity="0.75"/>')
    s.add(f'<rect x="5" y="5" width="{w - 10}" height="{min(6, h * 0.1)}" rx="3" fill="#ffffff" opacity="0.35"/>')
    return s


# ---------------------------------------------------------------- plant the trees

def make_planttree():
    s = backdrop("#aee6ff", "#dff6ff")
    hud(s)
    s.add(f'<rect x="0" y="{sy(135)}" width="480" height="135" fill="{s.vgrad("#9c6b3e", "#7a4e2a")}"/>')
    hills(s, sy(135), GRASS, 6)
    for i in range(30):
        s.add(f'<ellipse cx="{(i * 53) % 470 + 8}" cy="{sy(20 + (i * 37) % 100)}" rx="6" ry="2" fill="#5e3a1c" '
              'opacity="0.5"/>')
    s.add(f'<rect x="360" y="{sy(215)}" width="80" height="80" rx="10" fill="{s.grad(TAN, 0.2, 0.2)}" stroke="{INK}" '
          'stroke-width="2"/>', f'<rect x="396" y="{sy(135)}" width="8" height="30" fill="{BROWN}"/>')
    s.text(400, sy(215) + 74, "trees left", 13, fill=WHITE, sw=3)
    item("ptbg.png", s, "plant-the-trees background: a field and a sign for the count")
    b = Svg(120, 60)
    b.add(f'<rect x="3" y="4" width="114" height="53" rx="16" fill="{INK}" opacity="0.35"/>',
          f'<rect x="1" y="1" width="114" height="53" rx="16" fill="{b.grad(GRASS, 0.35, 0.15)}" stroke="{INK}" '
          'stroke-width="2.5"/>', f'<rect x="8" y="5" width="100" height="14" rx="7" fill="#ffffff" opacity="0.3"/>',
          icons.tree(b, 24, 27, 34, LEAF))
    b.text(72, 37, "PLANT!", 24, fill=WHITE)
    item("pttouch.png", b, "plant-the-trees: the button to tap")
    t = Svg(30, 40)
    t.add(f'<rect x="12.5" y="24" width="5" height="14" fill="{BROWN}" stroke="{INK}" stroke-width="1.4"/>',
          f'<path d="M15,2 L27,18 L21,18 L28,28 L2,28 L9,18 L3,18 Z" fill="{t.grad("#3fae49", 0.3, 0.2)}" '
          f'stroke="{INK}" stroke-width="1.6" stroke-linejoin="round"/>', shine(11, 14, 2.5, 4, 0.3))
    item("pttree.png", t, "plant-the-trees: a planted tree")


# ---------------------------------------------------------------- stop the car

def car_body(s, x, y, w, h, col, wreck=False):
    out = (f'<path d="M{x + 2},{y + h * 0.72} L{x + 2},{y + h * 0.45} Q{x + 4},{y + h * 0.35} {x + w * 0.18},{y + h * 0.33} '
           f'L{x + w * 0.3},{y + 3} L{x + w * 0.72},{y + 3} L{x + w * 0.86},{y + h * 0.33} Q{x + w - 2},{y + h * 0.36} '
           f'{x + w - 2},{y + h * 0.5} L{x + w - 2},{y + h * 0.72} Z" fill="{s.grad(col, 0.3, 0.15)}" stroke="{INK}" '
           'stroke-width="2" stroke-linejoin="round"/>')
    if not wreck:
        out += (f'<path d="M{x + w * 0.33},{y + 6} L{x + w * 0.48},{y + 6} L{x + w * 0.48},{y + h * 0.33} '
                f'L{x + w * 0.25},{y + h * 0.33} Z" fill="{light(SKY, 0.4)}" stroke="{INK}" stroke-width="1.3"/>'
                f'<path d="M{x + w * 0.52},{y + 6} L{x + w * 0.7},{y + 6} L{x + w * 0.8},{y + h * 0.33} '
                f'L{x + w * 0.52},{y + h * 0.33} Z" fill="{light(SKY, 0.4)}" stroke="{INK}" stroke-width="1.3"/>'
                f'<circle cx="{x + 5}" cy="{y + h * 0.5}" r="2.2" fill="{SUN}"/>')
    for wx in (0.24, 0.76):
        out += (f'<circle cx="{x + w * wx}" cy="{y + h * 0.74}" r="{h * 0.2}" fill="#333" stroke="{INK}" stroke-width="1.5"/>'
                f'<circle cx="{x + w * wx}" cy="{y + h * 0.74}" r="{h * 0.08}" fill="{GREY}"/>')
    return out


def make_stopcar():
    s = backdrop("#9ad8ff", "#c8ecff")
    hud(s)
    s.add(f'<rect x="0" y="{sy(250)}" width="480" height="250" fill="#5a5f6b"/>')
    for y in (74, 124, 174, 224):
        s.add(f'<line x1="0" y1="{sy(y)}" x2="480" y2="{sy(y)}" stroke="#ffffff" stroke-width="3" '
              'stroke-dasharray="26 18" opacity="0.7"/>')
    s.add(f'<rect x="0" y="{sy(250)}" width="480" height="8" fill="#c7c9cf"/>',
          f'<rect x="0" y="{sy(8)}" width="480" height="8" fill="#c7c9cf"/>')
    for y in range(8, 250, 20):  # the finish line on the left that no car may reach
        s.add(f'<rect x="4" y="{sy(y) - 10}" width="10" height="10" fill="{RED if (y // 20) % 2 else WHITE}"/>')
    s.add(f'<rect x="0" y="40" width="480" height="{sy(250) - 40}" fill="{s.vgrad("#8fd16a", "#6fb84c")}"/>')
    for x in range(290, 480, 24):
        s.add(icons.flower(s, x, sy(256), 10))
    item("stopcarbg.png", s, "stop-the-car background: a wide road with a line on the left")
    # cars run 530 points in 1 to 3 s and are hit against their rectangle of the last 0.1 s tick, so a car
    # 76 long still overlaps that rectangle by 23 points at the fastest pace
    c = Svg(76, 36)
    c.add(car_body(c, 0, 0, 74, 34, RED))
    item("car.png", c, "stop-the-car: a car driving left")
    w = Svg(80, 40)
    w.add(f'<g transform="translate(2,3) rotate(4 38 18)">' + car_body(w, 0, 0, 74, 34, "#7b7f88", wreck=True) + '</g>',
          f'<path d="M22,16 l6,-8 l5,7 l6,-9 l4,9" stroke="{INK}" stroke-width="2" fill="none"/>',
          icons.cloud(w, 54, 10, 40, 18, "#d0d0d0", 1.5),
          f'<path d="{star_path(16, 10, 9, 4, 6)}" fill="{SUN}" stroke="{INK}" stroke-width="1.3"/>')
    item("breakcar.png", w, "stop-the-car: a stopped, wrecked car drawn over the car")


# ---------------------------------------------------------------- christmas

XMAS = [  # (index, size w x h, what); positions are fixed by the stage: see the notes on widths
    (0, (56, 70), "Christmas tree"), (1, (48, 48), "star"), (2, (44, 56), "snowman"), (3, (44, 44), "present"),
    (4, (22, 44), "candle"), (5, (22, 44), "candy cane"), (6, (22, 44), "stocking"), (7, (40, 40), "bell"),
    (8, (40, 40), "bauble"), (9, (40, 46), "gingerbread man"), (10, (60, 50), "Santa's hat"),
    (11, (70, 44), "sleigh"), (12, (50, 50), "wreath"),
]


def xmas_picture(i, w, h):
    s = Svg(w, h)
    sw = 2
    cx = w / 2
    if i == 0:
        s.add(f'<rect x="{cx - 5}" y="{h - 14}" width="10" height="12" fill="{BROWN}" stroke="{INK}" stroke-width="{sw}"/>',
              f'<path d="M{cx},6 L{cx + 16},24 L{cx + 10},24 L{cx + 22},40 L{cx + 14},40 L{cx + 26},57 L{cx - 26},57 '
              f'L{cx - 14},40 L{cx - 22},40 L{cx - 10},24 L{cx - 16},24 Z" fill="{s.grad("#2e9e48", 0.3, 0.2)}" '
              f'stroke="{INK}" stroke-width="{sw}" stroke-linejoin="round"/>',
              f'<path d="{star_path(cx, 8, 7, 3)}" fill="{SUN}" stroke="{INK}" stroke-width="1.2"/>')
        for bx, by, c in ((-8, 30, RED), (7, 36, BLUE), (-12, 50, SUN), (12, 50, PINK), (0, 45, ORANGE)):
            s.add(f'<circle cx="{cx + bx}" cy="{by}" r="3" fill="{c}" stroke="{INK}" stroke-width="1"/>')
    elif i == 1:
        s.add(f'<path d="{star_path(24, 25.5, 22, 9.5)}" fill="{s.grad(SUN, 0.2, 0.1)}" stroke="{INK}" stroke-width="{sw}" '
              'stroke-linejoin="round"/>', shine(19, 19, 3, 4.5, 0.6))
    elif i == 2:
        s.add(f'<circle cx="22" cy="39" r="15" fill="{s.grad(WHITE, 0, 0.12)}" stroke="{INK}" stroke-width="{sw}"/>',
              f'<circle cx="22" cy="17" r="10" fill="{s.grad(WHITE, 0, 0.12)}" stroke="{INK}" stroke-width="{sw}"/>',
              f'<rect x="14" y="2" width="16" height="8" fill="{INK}"/><rect x="10" y="9" width="24" height="3" fill="{INK}"/>',
              f'<path d="M22,18 l7,2 l-7,1 Z" fill="{ORANGE}"/><circle cx="18.5" cy="15" r="1.3" fill="{INK}"/>'
              f'<circle cx="25" cy="15" r="1.3" fill="{INK}"/>',
              f'<path d="M12,26 q10,5 20,0 l0,4 q-10,5 -20,0 Z" fill="{RED}" stroke="{INK}" stroke-width="1"/>')
    elif i == 3:
        s.add(f'<rect x="3" y="14" width="37" height="27" rx="3" fill="{s.grad(BLUE)}" stroke="{INK}" stroke-width="{sw}"/>',
              f'<rect x="1" y="9" width="41" height="8" rx="2" fill="{s.grad(BLUE, 0.4, 0.05)}" stroke="{INK}" stroke-width="{sw}"/>',
              f'<rect x="18" y="9" width="7" height="32" fill="{SUN}" stroke="{INK}" stroke-width="1.2"/>',
              f'<path d="M21.5,9 C12,0 6,6 21.5,9 C37,6 31,0 21.5,9 Z" fill="{SUN}" stroke="{INK}" stroke-width="1.5"/>')
    elif i == 4:
        s.add(f'<rect x="5" y="17" width="11" height="25" rx="2" fill="{s.grad(RED)}" stroke="{INK}" stroke-width="{sw}"/>',
              f'<path d="M10.5,2 C16,9 15,15 10.5,15 C6,15 5,9 10.5,2 Z" fill="{s.vgrad(SUN, ORANGE)}" stroke="{INK}" '
              'stroke-width="1.3"/>')
    elif i == 5:
        s.add(f'<path d="M14,42 L14,12 A6,6 0 0 0 3,12" fill="none" stroke="{INK}" stroke-width="8.5" stroke-linecap="round"/>',
              f'<path d="M14,42 L14,12 A6,6 0 0 0 3,12" fill="none" stroke="{WHITE}" stroke-width="5.5" stroke-linecap="round"/>',
              f'<path d="M14,42 L14,12 A6,6 0 0 0 3,12" fill="none" stroke="{RED}" stroke-width="5.5" '
              'stroke-dasharray="4 4" stroke-linecap="butt"/>')
    elif i == 6:
        s.add(f'<path d="M5,4 L17,4 L17,28 L20,34 Q21,42 12,42 L5,42 Q1,42 1,37 Q1,32 5,30 Z" fill="{s.grad(RED)}" '
              f'stroke="{INK}" stroke-width="{sw}" stroke-linejoin="round"/>',
              f'<rect x="3" y="2" width="16" height="7" rx="2" fill="{WHITE}" stroke="{INK}" stroke-width="1.5"/>')
    elif i == 7:
        s.add(f'<path d="M20,5 C30,5 30,18 32,26 L36,31 L4,31 L8,26 C10,18 10,5 20,5 Z" fill="{s.grad(SUN, 0.2, 0.15)}" '
              f'stroke="{INK}" stroke-width="{sw}" stroke-linejoin="round"/>',
              f'<circle cx="20" cy="34" r="4" fill="{ORANGE}" stroke="{INK}" stroke-width="1.5"/>',
              f'<path d="M14,5 q6,-6 12,0" stroke="{RED}" stroke-width="3" fill="none"/>', shine(15, 14, 2, 4, 0.6))
    elif i == 8:
        s.add(f'<rect x="16" y="2" width="8" height="6" fill="{GREY}" stroke="{INK}" stroke-width="1.4"/>',
              f'<circle cx="20" cy="23" r="15.5" fill="{s.grad(PURPLE, 0.3, 0.1)}" stroke="{INK}" stroke-width="{sw}"/>',
              f'<path d="M5,21 q15,8 30,0" stroke="{SUN}" stroke-width="3" fill="none"/>', shine(14, 16, 3.5, 4.5, 0.55))
    elif i == 9:
        s.add(f'<path d="M20,3 a7,7 0 0 1 5,12 l11,3 a3,3 0 0 1 -1,6 l-9,-1 l6,18 a3,3 0 0 1 -6,2 l-6,-11 l-6,11 '
              f'a3,3 0 0 1 -6,-2 l6,-18 l-9,1 a3,3 0 0 1 -1,-6 l11,-3 a7,7 0 0 1 5,-12 Z" fill="{s.grad("#c27a3a")}" '
              f'stroke="{INK}" stroke-width="{sw}" stroke-linejoin="round"/>',
              f'<circle cx="17.5" cy="9" r="1.2" fill="{INK}"/><circle cx="22.5" cy="9" r="1.2" fill="{INK}"/>',
              f'<circle cx="20" cy="22" r="1.5" fill="{WHITE}"/><circle cx="20" cy="28" r="1.5" fill="{WHITE}"/>')
    elif i == 10:
        s.add(f'<path d="M6,38 C10,16 30,2 50,10 C42,14 40,24 44,38 Z" fill="{s.grad(RED)}" stroke="{INK}" '
              f'stroke-width="{sw}" stroke-linejoin="round"/>',
              f'<rect x="3" y="36" width="46" height="11" rx="5.5" fill="{WHITE}" stroke="{INK}" stroke-width="{sw}"/>',
              f'<circle cx="51" cy="12" r="6.5" fill="{WHITE}" stroke="{INK}" stroke-width="{sw}"/>')
    elif i == 11:
        s.add(f'<path d="M8,10 L50,10 Q58,10 58,20 L58,26 L14,26 Q6,26 6,16 Z" fill="{s.grad(RED)}" stroke="{INK}" '
              f'stroke-width="{sw}" stroke-linejoin="round"/>',
              f'<path d="M4,36 L58,36 Q68,36 66,26" fill="none" stroke="{INK}" stroke-width="3.5" stroke-linecap="round"/>',
              f'<path d="M4,36 L58,36 Q68,36 66,26" fill="none" stroke="{SUN}" stroke-width="1.8" stroke-linecap="round"/>',
              f'<line x1="20" y1="26" x2="20" y2="36" stroke="{INK}" stroke-width="2.5"/>'
              f'<line x1="46" y1="26" x2="46" y2="36" stroke="{INK}" stroke-width="2.5"/>',
              f'<rect x="14" y="4" width="12" height="8" rx="2" fill="{GRASS}" stroke="{INK}" stroke-width="1.4"/>',
              f'<rect x="28" y="2" width="10" height="10" rx="2" fill="{SUN}" stroke="{INK}" stroke-width="1.4"/>')
    elif i == 12:
        s.add(f'<circle cx="25" cy="25" r="18" fill="none" stroke="{INK}" stroke-width="13"/>',
              f'<circle cx="25" cy="25" r="18" fill="none" stroke="{s.grad("#2e9e48", 0.3, 0.2)}" stroke-width="9.5"/>')
        for k in range(8):
            a = math.radians(k * 45)
            s.add(f'<circle cx="{25 + 18 * math.cos(a):.1f}" cy="{25 + 18 * math.sin(a):.1f}" r="2.3" fill="{RED}"/>')
        s.add(f'<path d="M25,41 l-7,7 M25,41 l7,7" stroke="{RED}" stroke-width="3.5" stroke-linecap="round"/>',
              f'<circle cx="25" cy="41" r="3.5" fill="{RED}" stroke="{INK}" stroke-width="1.2"/>')
    return s


def make_xmas():
    s = backdrop("#1d3b6e", "#3f6fb0")
    for k in range(70):
        x, y = (k * 97) % 480, (k * 61) % 280 + 40
        s.add(f'<circle cx="{x}" cy="{y}" r="{1 + k % 3}" fill="#ffffff" opacity="0.6"/>')
    s.add(f'<path d="M0,{sy(30)} Q120,{sy(45)} 240,{sy(30)} T480,{sy(30)} L480,320 L0,320 Z" fill="#eef6ff"/>')
    hud(s)
    # a soft pale patch under each picture so that the black silhouettes stand out on the night sky
    for idx, (w, h), _ in XMAS:
        x, y = XMAS_POS[idx]
        s.add(f'<ellipse cx="{x}" cy="{sy(y)}" rx="{w / 2 + 6}" ry="{h / 2 + 5}" fill="#ffffff" opacity="0.55"/>')
    item("xmasclick.png", s, "Christmas stage background: a snowy night with a light patch behind each picture")
    for idx, (w, h), what in XMAS:
        item(f"xmas{idx}.png", xmas_picture(idx, w, h), f"Christmas picture {idx}: {what}")


XMAS_POS = {0: (80, 240), 1: (410, 240), 2: (60, 140), 3: (120, 140), 4: (380, 140), 5: (410, 140), 6: (440, 140),
            7: (30, 50), 8: (80, 50), 9: (130, 50), 10: (240, 120), 11: (360, 60), 12: (440, 60)}


# ---------------------------------------------------------------- sparks and gum (tilt stages)

def kid(s, cx, cy, shirt):
    return (f'<rect x="{cx - 9}" y="{cy + 2}" width="18" height="16" rx="6" fill="{s.grad(shirt)}" stroke="{INK}" stroke-width="1.8"/>'
            f'<rect x="{cx - 8}" y="{cy + 16}" width="6" height="7" fill="{INK}"/><rect x="{cx + 2}" y="{cy + 16}" '
            f'width="6" height="7" fill="{INK}"/>'
            f'<circle cx="{cx}" cy="{cy - 7}" r="9.5" fill="{s.grad("#ffcf9e", 0.2, 0.15)}" stroke="{INK}" stroke-width="1.8"/>'
            f'<circle cx="{cx - 3.5}" cy="{cy - 7.5}" r="1.4" fill="{INK}"/><circle cx="{cx + 3.5}" cy="{cy - 7.5}" r="1.4" '
            f'fill="{INK}"/><path d="M{cx - 3},{cy - 3} q3,2.5 6,0" stroke="{INK}" stroke-width="1.3" fill="none"/>'
            f'<path d="M{cx - 9.5},{cy - 8} C{cx - 9},{cy - 19} {cx + 9},{cy - 19} {cx + 9.5},{cy - 8} '
            f'C{cx + 4},{cy - 12} {cx - 4},{cy - 12} {cx - 9.5},{cy - 8} Z" fill="{BROWN}" stroke="{INK}" stroke-width="1.3"/>')


def make_tilt():
    s = backdrop("#6d7fb8", "#b7c6ee")
    for k in range(6):
        s.add(icons.cloud(s, 40 + k * 85, 70 + (k % 2) * 18, 90, 34, "#dfe6f7", 1.5))
    hills(s, sy(60), GRASS, 10)
    hud(s)
    item("sparkmovebg.png", s, "dodge-the-sparks background: a stormy sky over a meadow")
    p = Svg(28, 40)
    p.add(kid(p, 14, 17, BLUE))
    item("sparkmovesplayer.png", p, "dodge-the-sparks: the player's figure")
    c = Svg(70, 40)
    c.add(icons.cloud(c, 35, 21, 66, 34, "#ffffff", 2),
          f'<circle cx="27" cy="22" r="1.8" fill="{INK}"/><circle cx="41" cy="22" r="1.8" fill="{INK}"/>',
          f'<path d="M29,28 q5,-3 10,0" stroke="{INK}" stroke-width="1.5" fill="none"/>')
    item("sparkmovecloud.png", c, "dodge-the-sparks: a thundercloud (white, so it can be tinted red)")
    sp = Svg(16, 36)
    sp.add(f'<path d="M10,1 L2,19 L8,19 L4,35 L14,14 L8,14 L13,1 Z" fill="{sp.grad(SUN, 0.2, 0.1)}" stroke="{INK}" '
           'stroke-width="1.5" stroke-linejoin="round"/>')
    item("sparkmovespark.png", sp, "dodge-the-sparks: a falling spark")
    g = backdrop("#fff0f6", "#ffd6e8")
    for k in range(0, 480, 40):
        for j in range(0, 320, 40):
            if (k // 40 + j // 40) % 2 == 0:
                g.add(f'<rect x="{k}" y="{j}" width="40" height="40" fill="#ffffff" opacity="0.5"/>')
    hud(g)
    item("gameatbg.png", g, "gum-eating background: a picnic cloth")
    pl = Svg(40, 40)
    pl.add(f'<circle cx="19.5" cy="20.5" r="17.5" fill="{pl.grad(GRASS, 0.3, 0.15)}" stroke="{INK}" stroke-width="2"/>',
           f'<path d="M9,22 Q19.5,36 30,22 Z" fill="#7a1f2b" stroke="{INK}" stroke-width="1.6"/>',
           f'<rect x="14" y="22" width="4" height="4" fill="{WHITE}"/><rect x="21" y="22" width="4" height="4" fill="{WHITE}"/>',
           f'<circle cx="13" cy="13" r="4.5" fill="{WHITE}" stroke="{INK}" stroke-width="1.3"/>'
           f'<circle cx="26" cy="13" r="4.5" fill="{WHITE}" stroke="{INK}" stroke-width="1.3"/>',
           f'<circle cx="14" cy="13.5" r="2" fill="{INK}"/><circle cx="27" cy="13.5" r="2" fill="{INK}"/>')
    item("gameatplayer.png", pl, "gum-eating: the hungry figure")
    gm = Svg(22, 16)
    gm.add(f'<path d="M1,8 L4,3 L4,13 Z" fill="{BLUE}" stroke="{INK}" stroke-width="1"/>'
           f'<path d="M21,8 L18,3 L18,13 Z" fill="{BLUE}" stroke="{INK}" stroke-width="1"/>',
           f'<rect x="4" y="2" width="14" height="12" rx="3" fill="{gm.grad(PINK, 0.2, 0.1)}" stroke="{INK}" stroke-width="1.4"/>',
           shine(8, 5.5, 2.5, 1.5, 0.6))
    item("gameatgam.png", gm, "gum-eating: a piece of gum")


# ---------------------------------------------------------------- flying cards

CARDS = [(1, "heart", RED), (2, "spade", BLUE), (3, "club", "#2e9e48"), (4, "diamond", ORANGE), (5, "star", PURPLE)]


def suit(s, kind, cx, cy, r, col):
    g = s.grad(col, 0.3, 0.1)
    if kind == "heart":
        return f'<path d="{heart_path(cx, cy, r)}" fill="{g}" stroke="{INK}" stroke-width="{r * 0.12:.2f}"/>'
    if kind == "spade":
        return (f'<path d="M{cx},{cy - r} C{cx + r * 0.6},{cy - r * 0.4} {cx + r * 1.1},{cy} {cx + r * 0.9},{cy + r * 0.4} '
                f'C{cx + r * 0.7},{cy + r * 0.8} {cx + r * 0.2},{cy + r * 0.7} {cx + r * 0.05},{cy + r * 0.45} '
                f'L{cx + r * 0.3},{cy + r} L{cx - r * 0.3},{cy + r} L{cx - r * 0.05},{cy + r * 0.45} '
                f'C{cx - r * 0.2},{cy + r * 0.7} {cx - r * 0.7},{cy + r * 0.8} {cx - r * 0.9},{cy + r * 0.4} '
                f'C{cx - r * 1.1},{cy} {cx - r * 0.6},{cy - r * 0.4} {cx},{cy - r} Z" fill="{g}" stroke="{INK}" '
                f'stroke-width="{r * 0.12:.2f}" stroke-linejoin="round"/>')
    if kind == "club":
        out = f'<path d="M{cx - r * 0.1},{cy} L{cx - r * 0.35},{cy + r} L{cx + r * 0.35},{cy + r} L{cx + r * 0.1},{cy} Z" fill="{g}" stroke="{INK}" stroke-width="{r * 0.1:.2f}"/>'
        for dx, dy in ((0, -0.45), (-0.48, 0.12), (0.48, 0.12)):
            out += (f'<circle cx="{cx + r * dx}" cy="{cy + r * dy}" r="{r * 0.42}" fill="{g}" stroke="{INK}" '
                    f'stroke-width="{r * 0.12:.2f}"/>')
        return out
    if kind == "diamond":
        return (f'<path d="M{cx},{cy - r} L{cx + r * 0.75},{cy} L{cx},{cy + r} L{cx - r * 0.75},{cy} Z" fill="{g}" '
                f'stroke="{INK}" stroke-width="{r * 0.12:.2f}" stroke-linejoin="round"/>')
    return (f'<path d="{star_path(cx, cy + r * 0.08, r, r * 0.45)}" fill="{g}" stroke="{INK}" '
            f'stroke-width="{r * 0.12:.2f}" stroke-linejoin="round"/>')


def make_cards():
    s = backdrop("#1f7a4d", "#145c39")
    s.add(f'<rect x="10" y="40" width="460" height="272" rx="26" fill="none" stroke="#f2c14e" stroke-width="3" opacity="0.6"/>')
    hud(s)
    s.add(f'<rect x="0" y="{sy(240)}" width="480" height="80" fill="#ffffff" opacity="0.07"/>')
    item("cardspeedbg.png", s, "flying-card background: a card table")
    # row at x = 60 + 90 i (y = 70), touch square 5: 64 wide leaves 26 points between cards; the flying
    # copy starts at x = 560 and ends at x = -80, both off screen even turned (half diagonal 55)
    for n, kind, col in CARDS:
        c = Svg(64, 88)
        c.add(f'<rect x="2.5" y="3" width="60" height="84" rx="8" fill="{INK}" opacity="0.35"/>',
              f'<rect x="1" y="1" width="60" height="84" rx="8" fill="{c.grad(WHITE, 0, 0.08)}" stroke="{INK}" stroke-width="2"/>',
              f'<rect x="5" y="5" width="52" height="76" rx="5" fill="none" stroke="{col}" stroke-width="3"/>',
              suit(c, kind, 31, 44, 19, col), suit(c, kind, 13, 15, 5, col), suit(c, kind, 49, 71, 5, col))
        item(f"cardspeed{n}.png", c, f"flying-card: card {n} ({kind})")


# ---------------------------------------------------------------- phone number

def make_phone():
    s = backdrop("#d9e4f5", "#b8c9e6")
    hud(s)
    s.add(f'<rect x="100" y="{sy(250)}" width="340" height="80" rx="14" fill="#f5fff0" stroke="{INK}" stroke-width="3"/>',
          f'<rect x="106" y="{sy(246)}" width="328" height="10" rx="5" fill="#ffffff"/>',
          f'<rect x="95" y="{sy(172)}" width="380" height="160" rx="20" fill="{s.grad("#3c4a66", 0.1, 0.2)}" '
          f'stroke="{INK}" stroke-width="3"/>')
    px, py = 47, sy(215)
    s.add(f'<path d="M{px - 30},{py + 18} L{px - 22},{py - 6} L{px + 22},{py - 6} L{px + 30},{py + 18} Z" '
          f'fill="{s.grad(RED)}" stroke="{INK}" stroke-width="2" stroke-linejoin="round"/>',
          f'<path d="M{px - 34},{py - 12} Q{px},{py - 30} {px + 34},{py - 12} L{px + 30},{py - 2} L{px + 18},{py - 6} '
          f'L{px + 16},{py - 12} Q{px},{py - 18} {px - 16},{py - 12} L{px - 18},{py - 6} L{px - 30},{py - 2} Z" '
          f'fill="{s.grad(RED, 0.4, 0.1)}" stroke="{INK}" stroke-width="2" stroke-linejoin="round"/>',
          f'<circle cx="{px}" cy="{py + 7}" r="7" fill="{CREAM}" stroke="{INK}" stroke-width="1.5"/>')
    item("phonenumberbg.png", s, "phone-number background: a display above a keypad")
    # keys at x = 140 + 75 d (y = 130 and 50), touch square 5: 64 x 56 leaves 11 and 24 points between
    for d in range(10):
        k = Svg(64, 56)
        k.add(f'<rect x="3" y="4" width="59" height="50" rx="14" fill="#000000" opacity="0.35"/>',
              f'<rect x="1" y="1" width="59" height="50" rx="14" fill="{k.grad("#e9eef7", 0.3, 0.12)}" stroke="{INK}" '
              'stroke-width="2"/>', f'<rect x="8" y="5" width="45" height="12" rx="6" fill="#ffffff" opacity="0.6"/>')
        k.text(30.5, 38, str(d), 32, fill=INK, stroke=None)
        item(f"phonenumber{d}.png", k, f"phone keypad: digit {d}")
    ok = Svg(28, 46)
    ok.add(f'<rect x="1" y="1" width="26" height="44" rx="8" fill="{GRASS}" opacity="0.35" stroke="{dark(GRASS, 0.2)}" '
           'stroke-width="2"/>',
           f'<path d="M6,36 l6,6 l11,-13" stroke="{INK}" stroke-width="5" fill="none" stroke-linecap="round" '
           'stroke-linejoin="round"/>',
           f'<path d="M6,36 l6,6 l11,-13" stroke="{GRASS}" stroke-width="3" fill="none" stroke-linecap="round" '
           'stroke-linejoin="round"/>')
    item("phonenumberok.png", ok, "phone number: tick laid over a dialled digit")


# ---------------------------------------------------------------- base stealing

def make_baseball():
    s = backdrop("#6cc24a", "#4ea233")
    hud(s)
    home, first, second, third = (240, 40), (400, 150), (240, 260), (80, 150)
    pts = " ".join(f"{x},{sy(y)}" for x, y in (home, first, second, third))
    s.add(f'<polygon points="{pts}" fill="#d9a066" stroke="#b07a40" stroke-width="26" stroke-linejoin="round"/>',
          f'<polygon points="{pts}" fill="#6cc24a" opacity="0.9"/>',
          f'<polygon points="{pts}" fill="none" stroke="#ffffff" stroke-width="2.5"/>',
          f'<circle cx="240" cy="{sy(170)}" r="24" fill="#d9a066" stroke="#b07a40" stroke-width="2"/>')
    for x, y in (first, third):
        s.add(f'<rect x="{x - 8}" y="{sy(y) - 8}" width="16" height="16" fill="{WHITE}" stroke="{INK}" stroke-width="1.5" '
              f'transform="rotate(45 {x} {sy(y)})"/>')
    s.add(f'<path d="M420,{sy(170)} L240,{sy(260)}" stroke="{SUN}" stroke-width="3" stroke-dasharray="4 8" opacity="0.8"/>')
    item("baseballbg.png", s, "base-stealing background: the diamond seen from above")
    hp = Svg(30, 30)
    hp.add(f'<path d="M3,3 L27,3 L27,16 L15,27 L3,16 Z" fill="{WHITE}" stroke="{INK}" stroke-width="2" stroke-linejoin="round"/>')
    item("baseballhome.png", hp, "home plate")
    # Runner 54 x 40 from (420,170) in steps of (-12,+6); second base 96 x 44 at (240,260): they first
    # meet after 9 taps (dx 72 < 75, dy 36 < 42). The 14-point ball meets the base from y = 231 on, at
    # 70% of the eased throw: 2.05 s, 2.4 s and 3.1 s after the pitch at the three levels.
    tb = Svg(96, 44)
    tb.add(f'<ellipse cx="48" cy="22" rx="47" ry="21" fill="{tb.grad("#e0ab6e", 0.15, 0.12)}" stroke="#b07a40" stroke-width="2"/>',
           f'<rect x="38" y="12" width="20" height="20" fill="{WHITE}" stroke="{INK}" stroke-width="2" '
           'transform="rotate(45 48 22)"/>')
    item("baseballtwo.png", tb, "second base with its patch of dirt (the runner's goal)")
    pit = Svg(40, 44)
    pit.add(kid(pit, 20, 20, RED), f'<circle cx="31" cy="26" r="5" fill="{BROWN}" stroke="{INK}" stroke-width="1.3"/>')
    item("baseballpit.png", pit, "the pitcher")
    bat = Svg(36, 44)
    bat.add(f'<line x1="28" y1="30" x2="34" y2="4" stroke="{BROWN}" stroke-width="4.5" stroke-linecap="round"/>',
            kid(bat, 16, 20, BLUE))
    item("baseballbat.png", bat, "the batter")
    item("baseballrun.png", button(80, 50, RED, "RUN!", 24, r=14), "base stealing: the run button")
    st = Svg(54, 40)
    st.add(icons.cloud(st, 44, 30, 18, 12, "#e8d2b0", 1.2), icons.cloud(st, 49, 21, 12, 9, "#e8d2b0", 1),
           f'<g transform="rotate(-15 24 22)">' + kid(st, 24, 19, "#2e9e48") + '</g>',
           f'<path d="M10,22 l-8,-6 M12,27 l-9,2" stroke="{INK}" stroke-width="3" stroke-linecap="round"/>')
    item("baseballsteal.png", st, "base stealing: the runner")
    ball = Svg(14, 14)
    ball.add(f'<circle cx="6.8" cy="6.8" r="5.8" fill="{ball.grad(WHITE, 0, 0.15)}" stroke="{INK}" stroke-width="1.4"/>',
             f'<path d="M3,3.5 q3,3.3 0,6.6 M10.6,3.5 q-3,3.3 0,6.6" stroke="{RED}" stroke-width="1" fill="none"/>')
    item("baseballball.png", ball, "the baseball")


# ---------------------------------------------------------------- t-shirts

SHIRTS = [(0, RED, "plain"), (1, BLUE, "striped"), (2, "#2e9e48", "star"), (3, SUN, "dotted"), (4, PURPLE, "heart")]


def shirt(s, cx, cy, w, col, pattern):
    k = w / 90
    d = (f"M{cx - 18 * k},{cy - 38 * k} L{cx - 42 * k},{cy - 26 * k} L{cx - 44 * k},{cy - 8 * k} L{cx - 30 * k},{cy - 6 * k} "
         f"L{cx - 30 * k},{cy + 38 * k} L{cx + 30 * k},{cy + 38 * k} L{cx + 30 * k},{cy - 6 * k} L{cx + 44 * k},{cy - 8 * k} "
         f"L{cx + 42 * k},{cy - 26 * k} L{cx + 18 * k},{cy - 38 * k} Q{cx},{cy - 24 * k} {cx - 18 * k},{cy - 38 * k} Z")
    cid = f"clip{pattern}{int(w)}"
    out = f'<clipPath id="{cid}"><path d="{d}"/></clipPath>'
    out += f'<path d="{d}" fill="{s.grad(col, 0.3, 0.15)}"/>'
    inner = ""
    if pattern == "striped":
        for y in range(-30, 40, 12):
            inner += f'<rect x="{cx - 50 * k}" y="{cy + y * k}" width="{100 * k}" height="{5 * k}" fill="#ffffff" opacity="0.9"/>'
    elif pattern == "star":
        inner += f'<path d="{star_path(cx, cy + 10 * k, 18 * k, 8 * k)}" fill="{SUN}" stroke="{INK}" stroke-width="{1.5 * k + 0.4:.2f}"/>'
    elif pattern == "dotted":
        for x in range(-36, 40, 14):
            for y in range(-30, 40, 14):
                inner += f'<circle cx="{cx + (x + (y // 14 % 2) * 7) * k}" cy="{cy + y * k}" r="{3.6 * k}" fill="{ORANGE}"/>'
    elif pattern == "heart":
        inner += f'<path d="{heart_path(cx, cy + 10 * k, 14 * k)}" fill="{PINK}" stroke="{INK}" stroke-width="{1.5 * k + 0.4:.2f}"/>'
    else:
        inner += f'<rect x="{cx - 30 * k}" y="{cy + 26 * k}" width="{60 * k}" height="{5 * k}" fill="{dark(col, 0.2)}"/>'
    out += f'<g clip-path="url(#{cid})">{inner}</g>'
    out += f'<path d="{d}" fill="none" stroke="{INK}" stroke-width="{max(1.4, 2.2 * k):.2f}" stroke-linejoin="round"/>'
    return out


def make_tshirts():
    s = backdrop("#fff3d6", "#ffe0a8")
    hud(s)
    s.add(f'<line x1="0" y1="{sy(252)}" x2="480" y2="{sy(252)}" stroke="{BROWN}" stroke-width="4"/>')
    for x in range(60, 520, 115):
        s.add(f'<path d="M{x - 6},{sy(252) - 4} l0,14 M{x + 6},{sy(252) - 4} l0,14" stroke="{TAN}" stroke-width="5"/>')
    s.add(f'<rect x="225" y="{sy(58)}" width="250" height="56" rx="14" fill="#ffffff" opacity="0.6" stroke="{TAN}" '
          'stroke-width="2"/>')
    item("tshirtsbg.png", s, "T-shirt stage background: a washing line")
    # shirts every 115 points (90 wide); buttons at x = 250 + 50 i with a 10-point touch square: 38 wide
    for i, col, pattern in SHIRTS:
        t = Svg(90, 84)
        t.add(shirt(t, 45, 42, 86, col, pattern))
        item(f"tshirts{i}.png", t, f"T-shirt kind {i}: {pattern}")
        b = Svg(38, 38)
        b.add(f'<circle cx="19.5" cy="20" r="17" fill="{INK}" opacity="0.3"/>',
              f'<circle cx="18.5" cy="18.5" r="17" fill="{b.grad(WHITE, 0, 0.1)}" stroke="{INK}" stroke-width="2"/>',
              shirt(b, 18.5, 19.5, 30, col, pattern))
        item(f"tshirts{i}small.png", b, f"T-shirt button for kind {i} ({pattern})")


# ---------------------------------------------------------------- spot the difference

def make_spots():
    for name, draw, what in SPOT_PICTURES:
        s = Svg(480, 320)
        s.add(f'<g>{draw(s, False)}</g>', f'<g transform="translate(240,0)">{draw(s, True)}</g>')
        item(name, s, f"spot-the-difference picture: {what}")


# ---------------------------------------------------------------- frame-rate digits

def make_fps():
    s = Svg(192, 24)
    for i, ch in enumerate("./0123456789"):
        s.text(i * 16 + 8, 20, ch, 20, fill=WHITE, stroke=INK, sw=3)
    item("fps_images.png", s, "frame-rate counter digits: 12 cells of 16 x 24 holding ./0123456789")


def main():
    outdir = os.path.join(HERE, "svg")
    os.makedirs(outdir, exist_ok=True)
    for make in (make_logo, make_mainbg, make_board, make_worldrankingbg, make_buttons, make_frame, make_burger, make_samegrim, make_math,
                 make_donttouch, make_golf, make_followway, make_planttree, make_stopcar, make_xmas, make_tilt,
                 make_cards, make_phone, make_baseball, make_tshirts, make_spots, make_fps):
        make()
    make_desktop(item)
    names = [n for n, _, _ in ITEMS]
    assert len(names) == len(set(names)), "a picture is made twice"
    for old in os.listdir(outdir):
        if old.endswith(".svg") and old[:-4] + ".png" not in names:
            os.remove(os.path.join(outdir, old))
    for name, svg, _ in ITEMS:
        with open(os.path.join(outdir, name[:-4] + ".svg"), "w") as f:
            f.write(svg.render())
    with open(os.path.join(HERE, "pictures.tsv"), "w") as f:
        f.write("# file\twidth\theight\twhat it is\n")
        for name, svg, what in ITEMS:
            f.write(f"{name}\t{svg.w}\t{svg.h}\t{what}\n")
    print(f"{len(ITEMS)} pictures written to {outdir}", file=sys.stderr)


if __name__ == "__main__":
    main()
