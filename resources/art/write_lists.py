#!/usr/bin/env python3
"""Writes resources/expected.txt (every file the game loads, checked by the resources test) and
resources/MANIFEST.md (what each file is), from pictures.tsv, sounds.tsv and the files themselves."""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    return struct.unpack(">II", head[16:24])


def wav_seconds(path):
    import wave
    with wave.open(path) as w:
        return w.getnframes() / w.getframerate()


def read_tsv(name):
    rows = []
    with open(os.path.join(HERE, name)) as f:
        for line in f:
            if line.startswith("#") or not line.strip():
                continue
            rows.append(line.rstrip("\n").split("\t"))
    return rows


def main(res):
    pictures = read_tsv("pictures.tsv")
    sounds = read_tsv("sounds.tsv")
    with open(os.path.join(res, "expected.txt"), "w") as f:
        f.write("# Every resource file the game loads, one a line; checked by tests/resources.\n")
        f.write("# Written by art/build.sh: change the art sources, not this list.\n")
        for name, *_ in pictures:
            f.write(name + "\n")
        for name, *_ in sounds:
            f.write(name + "\n")
        f.write("fonts/fonts.txt\nfonts/YuseiMagic-Regular.ttf\n")
    out = ["# Resources", "",
           "Every file the game loads, by file name (the game looks them up in this folder). One pixel is one",
           "point: a picture's size is its sprite's hit rectangle in the game.", "",
           "## Licence", "",
           "All pictures and sounds here were made for this project: the pictures are drawn as SVG in `art/`",
           "and rendered with `art/build.sh`, the sounds are synthesised by `art/sounds.py`. They are",
           "released under the same terms as the rest of the project.", "",
           "The font `fonts/YuseiMagic-Regular.ttf` is not ours: it is Yusei Magic (a permanent-marker",
           "style face, copyright 2020 The Yusei Magic Project Authors), copied from Debian's",
           "`fonts-yusei-magic` package and licensed under the SIL Open Font License 1.1; its licence text is",
           "`fonts/YuseiMagic-LICENSE.txt`. It stands in for the font the game asks for as \"Marker Felt\",",
           "draws all of ASCII and also U+2169 (the arithmetic stage's multiplication sign).",
           "`fonts/fonts.txt` maps font names to files.", "",
           "## Regenerating", "",
           "`resources/art/build.sh` rebuilds every picture, sound and both lists from the sources; it needs",
           "the Debian packages in `scripts/packages-art.txt`. Building and running the game need none of them.",
           "", "## Pictures", "", "| File | Size (px) | What it is |", "|---|---|---|"]
    for name, w, h, what in pictures:
        pw, ph = png_size(os.path.join(res, name))
        if (pw, ph) != (int(w), int(h)):
            sys.exit(f"{name}: rendered {pw}x{ph}, drawn {w}x{h}")
        out.append(f"| {name} | {w} x {h} | {what} |")
    out += ["", "## Sounds", "", "| File | Length | What it is |", "|---|---|---|"]
    for name, what in sounds:
        path = os.path.join(res, name)
        length = f"{wav_seconds(path):.2f} s" if name.endswith(".wav") else "see sounds.py"
        if name.endswith(".mp3"):
            length = read_mp3_note(res)
        out.append(f"| {name} | {length} | {what} |")
    out += ["", "## Fonts", "", "| File | What it is |", "|---|---|",
            "| fonts/YuseiMagic-Regular.ttf | Yusei Magic, SIL Open Font License 1.1 (see above) |",
            "| fonts/YuseiMagic-LICENSE.txt | its copyright and licence, as Debian ships them |",
            "| fonts/fonts.txt | font names to files: \"Marker Felt\" and the fallback |", ""]
    with open(os.path.join(res, "MANIFEST.md"), "w") as f:
        f.write("\n".join(out))


def read_mp3_note(res):
    try:
        with open(os.path.join(HERE, "music_length.txt")) as f:
            return f.read().strip()
    except OSError:
        return "?"


if __name__ == "__main__":
    main(sys.argv[1])
