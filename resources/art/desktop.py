"""Pictures the desktop adds around the stages: the line that says what to do on each stage, the help
screen, the boxes (alerts, pause, volume), the practice grid's cells, the menu's extra buttons, the
keyboard focus marker and the game's icon.

Everything is drawn like the rest of the game: INK outlines, the top-left gloss, the palette of svgkit
and the marker font. Text is drawn at its size here, so the game never has to stretch it.
"""
from svgkit import (Svg, button, shine, light, dark, mix, INK, WHITE, CREAM, SKY, SUN, GRASS, RED, ORANGE,
                    PURPLE, BLUE, GREY)

# The instruction line of each stage: (picture stem, with mouse and keyboard, with a game controller).
# A controller's left stick tilts as the arrow keys do; its right stick moves a pointer and A presses.
HOW_TO = [
    ("hamburger", "Click the trays from the bottom up", "Press A on the trays from the bottom up"),
    ("samegrim", "Drag the same picture up", "Hold A on the same picture and push it up"),
    ("sparkmove", "Arrow keys tilt: dodge the sparks", "Left stick tilts: dodge the sparks"),
    ("tshirts", "Click the shirts, starting from the left", "Press A on the shirts, starting from the left"),
    ("baseball", "Click RUN to steal second base", "Press A on RUN to steal second base"),
    ("phonenumber", "Type the number on the digit keys", "Press A on the keys to dial the number"),
    ("cardspeed", "Click the card that flies by", "Press A on the card that flies by"),
    ("gameat", "Arrow keys tilt: gobble up all the gum", "Left stick tilts: gobble up all the gum"),
    ("stopcar", "Click every car before it gets away", "Press A on every car before it gets away"),
    ("planttree", "Click PLANT! until no tree is left", "Press A on PLANT! until no tree is left"),
    ("different", "Click the spot where the pictures differ", "Press A where the pictures differ"),
    ("math", "Type the answer, then Enter", "Press A on the keys, then on OK"),
    ("donttouch", "Hands off! Wait for the time to run out", "Hands off! Wait for the time to run out"),
    ("golf", "Arrow keys tilt: roll the ball into the hole", "Left stick tilts: roll the ball into the hole"),
    ("followway", "Drag the walker home, away from the fires", "Hold A: drag the walker home, away from fire"),
    ("xmas", "Click every dark silhouette", "Press A on every dark silhouette"),
]

HOW_TO_WIDTH, HOW_TO_HEIGHT = 360, 22


def how_to_line(text):
    """White marker lettering on a soft dark pill, left-aligned, readable over any background."""
    s = Svg(HOW_TO_WIDTH, HOW_TO_HEIGHT)
    width = min(HOW_TO_WIDTH - 2, 14 + len(text) * 7.6)
    s.add(f'<rect x="1" y="1" width="{width:.1f}" height="{HOW_TO_HEIGHT - 2}" rx="10" fill="{INK}" opacity="0.45"/>')
    s.text(9, 16, text, 15, fill=WHITE, sw=3, anchor="start")
    return s


# The help screen: every key and controller button, as the game handles them.
HELP_ROWS = [
    ("Mouse / right stick, A", "click, tap and drag"),
    ("Arrows, WASD / left stick", "tilt, or pick a button"),
    ("Enter / A", "press the picked button"),
    ("Digits, Backspace, Enter", "type on the keypads"),
    ("Esc, P / Start", "pause (on the menu: quit)"),
    ("M   -   +", "sound off, softer, louder"),
    ("F1   F2   F11", "help, practice, full screen"),
]


def make_help(item):
    s = Svg(480, 320)
    s.add(f'<rect width="480" height="320" fill="{s.vgrad("#3b2f63", "#26204a")}"/>')
    s.add(f'<rect x="18" y="50" width="444" height="232" rx="16" fill="{WHITE}" opacity="0.1" stroke="{SUN}" '
          'stroke-width="2"/>')
    s.text(240, 38, "Keys and buttons", 26, fill=SUN, sw=4)
    for i, (keys, what) in enumerate(HELP_ROWS):
        y = 82 + i * 31
        s.add(f'<rect x="30" y="{y - 19}" width="196" height="26" rx="9" fill="{s.grad(CREAM, 0.2, 0.1)}" '
              f'stroke="{INK}" stroke-width="2"/>')
        s.text(128, y, keys, 15, fill=INK, stroke=None)
        s.text(238, y, what, 15, fill=WHITE, sw=3, anchor="start")
    s.text(240, 306, "Enter, Esc or a click goes back", 15, fill=light(SKY, 0.4), sw=3)
    item("helpbg.png", s, "help screen: every key and controller button")


def make_boxes(item):
    """The pieces of every alert (the pause box among them): a 300-wide box cut in three, so that it
    stretches only where its sides run straight, and its buttons for one, two or a stack of answers."""
    face = mix(BLUE, PURPLE, 0.4)  # flat, so that the three pieces meet without a seam
    top = Svg(300, 20)
    top.add(f'<rect x="3" y="3" width="294" height="40" rx="16" fill="{face}" stroke="{INK}" stroke-width="3"/>',
            f'<rect x="12" y="7" width="276" height="8" rx="4" fill="#ffffff" opacity="0.3"/>')
    item("alerttop.png", top, "alert box: its top edge")
    mid = Svg(300, 4)
    mid.add(f'<rect x="3" y="-10" width="294" height="30" fill="{face}" stroke="{INK}" stroke-width="3"/>')
    item("alertmiddle.png", mid, "alert box: its middle, repeated by stretching to the height of the text")
    bottom = Svg(300, 20)
    bottom.add(f'<rect x="3" y="-23" width="294" height="40" rx="16" fill="{face}" stroke="{INK}" stroke-width="3"/>',
               f'<rect x="10" y="11" width="280" height="3" rx="1.5" fill="{INK}" opacity="0.2"/>')
    item("alertbottom.png", bottom, "alert box: its bottom edge")
    item("alertbt.png", button(131, 38, SUN, "", 18, r=12), "alert box: the face of one of two buttons side by side")
    item("alertbtwide.png", button(272, 38, SUN, "", 18, r=12), "alert box: the face of a button alone on its row")


def make_volume(item):
    for name, word in (("volumepanel.png", "Volume"), ("soundoffpanel.png", "Sound off")):
        s = Svg(194, 62)
        s.add(f'<rect x="3" y="3" width="186" height="54" rx="14" fill="{INK}" opacity="0.35" transform="translate(1.5,1.8)"/>',
              f'<rect x="3" y="3" width="186" height="54" rx="14" fill="{s.grad(mix(BLUE, PURPLE, 0.4), 0.25, 0.1)}" '
              f'stroke="{INK}" stroke-width="2.5"/>',
              f'<rect x="10" y="6" width="172" height="9" rx="4.5" fill="#ffffff" opacity="0.3"/>')
        s.text(96, 28, word, 18, fill=WHITE, sw=3)
        item(name, s, f"volume indicator: the panel, saying \"{word}\"")
    for name, col, what in (("volumeon.png", SUN, "lit"), ("volumeoff.png", mix(GREY, BLUE, 0.3), "dark")):
        s = Svg(14, 16)
        s.add(f'<rect x="1" y="1" width="12" height="14" rx="4" fill="{s.grad(col, 0.3, 0.1)}" stroke="{INK}" '
              'stroke-width="1.5"/>', shine(5, 5, 2.5, 2, 0.5))
        item(name, s, f"volume indicator: one step of the volume, {what}")


def make_replay_marks(item):
    s = Svg(24, 24)
    s.add(f'<rect x="1.5" y="1.5" width="21" height="21" rx="6" fill="{s.grad(SUN, 0.35, 0.1)}" stroke="{INK}" '
          'stroke-width="1.8"/>',
          f'<path d="M9,6.5 L17.5,12 L9,17.5 Z" fill="{INK}" stroke="{INK}" stroke-width="1.5" stroke-linejoin="round"/>',
          shine(8, 6, 4, 2, 0.45))
    item("watchbt.png", s, "records screen: watch the run behind a record")
    s = Svg(18, 18)
    s.add(f'<circle cx="9" cy="9" r="7.6" fill="{s.grad(GRASS, 0.35, 0.1)}" stroke="{INK}" stroke-width="1.5"/>',
          f'<path d="M5,9.3 L8,12.2 L13,6.2" fill="none" stroke="{WHITE}" stroke-width="2.4" '
          'stroke-linecap="round" stroke-linejoin="round"/>')
    item("verifiedmark.png", s, "world ranking: a run the score server verified by playing it again")


def make_menu_buttons(item):
    item("practicebt.png", button(88, 34, ORANGE, "Practice", 16, r=10), "menu button: practise one stage")
    item("quitbt.png", button(60, 30, RED, "Quit", 15, r=10), "menu button: leave the game (after asking)")
    item("helpbt.png", button(34, 34, SKY, "?", 22), "menu button: the help screen with every key")
    item("playagainbt.png", button(110, 32, ORANGE, "Play again", 16, r=10),
         "records screen: a new run of the level just played")
    item("practicecell.png", button(108, 38, mix(BLUE, PURPLE, 0.3), "", 15, r=11),
         "practice grid: the face of a stage's button (the game letters the stage's name on it)")
    item("practicebackbt.png", button(120, 30, GRASS, "Main Menu", 16, r=10), "practice grid: back to the main menu")
    for w, h, what in FOCUS_SIZES:
        item(f"focus{w}x{h}.png", focus_ring(w, h), f"keyboard focus: the ring around {what} that Enter presses")


# The buttons the keyboard can reach, by size: its focus ring is 6 points wider on every side.
FOCUS_SIZES = [(156, 34, "a level button of the menu"), (72, 40, "the menu's records button"),
               (88, 34, "the menu's practice button"), (34, 34, "the menu's help button"),
               (60, 30, "the menu's quit button"), (108, 38, "a stage of the practice grid"),
               (110, 36, "a level of the practice grid"), (120, 30, "the practice grid's way back")]


def focus_ring(w, h):
    s = Svg(w + 12, h + 12)
    r = min(h / 2 + 4, 16)
    s.add(f'<rect x="2.5" y="2.5" width="{w + 7}" height="{h + 7}" rx="{r}" fill="none" stroke="{INK}" stroke-width="5"/>',
          f'<rect x="2.5" y="2.5" width="{w + 7}" height="{h + 7}" rx="{r}" fill="none" stroke="{SUN}" stroke-width="3"/>')
    return s


# The icon: one mark drawn for each size, with outlines that stay a pixel or more wide at 16 px.
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def icon(size):
    s = Svg(size, size)
    k = size / 48
    sw = max(1.0, 2.2 * k)
    s.add(f'<g transform="scale({k})">'
          f'<rect x="2" y="2" width="44" height="44" rx="11" fill="{s.grad(ORANGE, 0.45, 0.1)}" '
          f'stroke="{INK}" stroke-width="{sw / k:.2f}"/>'
          # a Q: a bold ring with its tail, open enough to read as a letter at 16 px
          f'<circle cx="22" cy="22" r="11.5" fill="none" stroke="{INK}" stroke-width="{7 + 2 * sw / k:.2f}"/>'
          f'<path d="M29,29 L38,38" stroke="{INK}" stroke-width="{7 + 2 * sw / k:.2f}" stroke-linecap="round"/>'
          f'<circle cx="22" cy="22" r="11.5" fill="none" stroke="{WHITE}" stroke-width="7"/>'
          f'<path d="M29,29 L38,38" stroke="{WHITE}" stroke-width="7" stroke-linecap="round"/>'
          + (shine(14, 10, 8, 3, 0.35) if size >= 32 else "") + '</g>')
    return s


def make_icons(item):
    for size in ICON_SIZES:
        item(f"icon{size}.png", icon(size), f"the game's icon at {size} x {size} (window, desktop entry, package)")


def make_desktop(item):
    for stem, mouse, pad in HOW_TO:
        item(f"howto{stem}.png", how_to_line(mouse), f"what to do on the stage, with mouse and keyboard: {mouse}")
        item(f"howto{stem}pad.png", how_to_line(pad), f"what to do on the stage, with a game controller: {pad}")
    make_help(item)
    make_boxes(item)
    make_volume(item)
    make_menu_buttons(item)
    make_replay_marks(item)
    make_icons(item)
