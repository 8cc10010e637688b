#!/usr/bin/env python3
"""Synthesises the game's sounds into the resources folder given as the first argument:

  win0.wav, win1.wav    two short, different jingles for a won stage (notes made by sox's synth)
  lose0.wav, lose1.wav  two short sounds for a lost stage (sox's synth with pitch slides)
  quintorabgm.mp3       the background music: 16 bars at 120 beats a minute (32 s), encoded by lame

The music loops without a click: every note that rings past the end of the piece is wrapped round to
its start, and the filters run over three copies of the piece of which only the middle one is kept, so
the last sample leads straight into the first.
"""
import array
import math
import os
import random
import subprocess
import sys
import tempfile
import wave

RATE = 44100
HERE = os.path.dirname(os.path.abspath(__file__))


def sox(*args):
    subprocess.run(["sox", "-R", *map(str, args)], check=True)  # -R: same seed, same bytes


def note_freq(name):
    names = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    n = names[name[0]]
    rest = name[1:]
    if rest.startswith("#"):
        n += 1
        rest = rest[1:]
    return 440.0 * 2 ** ((n + 12 * (int(rest) - 4)) / 12)


def jingle(out, notes, tmp, voice="pluck", tail_effects=()):
    """notes: (note name or chord "C5+E5+G5", seconds). Each note is its own sox synth, then joined."""
    parts = []
    for i, (name, dur) in enumerate(notes):
        part = os.path.join(tmp, f"n{i}.wav")
        freqs = [f"{note_freq(n):.2f}" for n in name.split("+")]
        args = []
        for f in freqs:
            args += [voice, f]
        # one synth per chord tone, mixed down; a short fade keeps each note's edges clean
        chord = os.path.join(tmp, f"c{i}.wav")
        sox("-n", "-r", RATE, "-b", 16, "-c", len(freqs), chord, "synth", dur, *args, "gain", "-8")
        sox(chord, "-c", 1, part, "remix", "-", "fade", "0.004", dur, "0.03")
        parts.append(part)
    joined = os.path.join(tmp, "joined.wav")
    sox(*parts, joined)
    sox(joined, "-b", 16, out, "fade", "0", "-0", "0.05", *tail_effects, "channels", 1, "gain", "-n", "-4")


def make_effects(res):
    with tempfile.TemporaryDirectory() as tmp:
        jingle(os.path.join(res, "win0.wav"),
               [("C5", 0.09), ("E5", 0.09), ("G5", 0.09), ("C6", 0.09), ("E6", 0.09), ("G5+C6+E6", 0.45)], tmp,
               tail_effects=("echo", 0.8, 0.7, 70, 0.25))
        jingle(os.path.join(res, "win1.wav"),
               [("G4+B4+D5", 0.14), ("G4+B4+D5", 0.08), ("A4+C5+E5", 0.12), ("C5+E5+G5+C6", 0.55)], tmp,
               voice="square", tail_effects=("lowpass", 3500, "echo", 0.8, 0.7, 90, 0.25))
        # a falling "wah-wah": two sawtooth slides with a wobble
        lose0 = os.path.join(res, "lose0.wav")
        a, b = os.path.join(tmp, "a.wav"), os.path.join(tmp, "b.wav")
        sox("-n", "-r", RATE, "-b", 16, "-c", 1, a, "synth", 0.32, "sawtooth", "392-370", "fade", 0.01, 0.32, 0.05)
        sox("-n", "-r", RATE, "-b", 16, "-c", 1, b, "synth", 0.7, "sawtooth", "349-220", "tremolo", 7, 40,
            "fade", 0.01, 0.7, 0.25)
        sox(a, b, lose0, "lowpass", 1800, "gain", "-n", "-5")
        # a dull "bonk-bonk": two low thuds going down
        lose1 = os.path.join(res, "lose1.wav")
        sox("-n", "-r", RATE, "-b", 16, "-c", 1, a, "synth", 0.22, "sine", "260-180", "fade", 0.003, 0.22, 0.12)
        sox("-n", "-r", RATE, "-b", 16, "-c", 1, b, "synth", 0.5, "sine", "200-110", "fade", 0.003, 0.5, 0.35)
        sox(a, b, lose1, "overdrive", 8, "lowpass", 1200, "gain", "-n", "-4")


# ---------------------------------------------------------------- background music

BPM = 120
BEAT = 60 / BPM
BARS = 16
LENGTH = int(round(BARS * 4 * BEAT * RATE))  # 32 s

CHORDS = ["C", "G", "Am", "F", "C", "G", "F", "G", "Am", "F", "C", "G", "F", "G", "C", "C"]
CHORD_NOTES = {"C": ["C3", "E3", "G3"], "G": ["G2", "B2", "D3"], "Am": ["A2", "C3", "E3"], "F": ["F2", "A2", "C3"]}
SCALE = ["C5", "D5", "E5", "G5", "A5", "C6", "D6", "E6"]


def add_note(buf, start, dur, freq, amp, shape="tri", decay=4.0):
    """Adds one note; samples past the end wrap to the start so the piece loops seamlessly."""
    n = int(dur * RATE)
    s0 = int(start * RATE)
    attack = int(0.006 * RATE)
    phase_step = freq / RATE
    ph = 0.0
    for i in range(n):
        env = min(1.0, i / attack) * math.exp(-decay * i / RATE)
        if i > n - 400:
            env *= (n - i) / 400
        if shape == "tri":
            v = 4 * abs(ph - 0.5) - 1
        elif shape == "square":
            v = 0.6 if ph < 0.5 else -0.6
        else:
            v = math.sin(2 * math.pi * ph)
        buf[(s0 + i) % LENGTH] += amp * env * v
        ph += phase_step
        if ph >= 1:
            ph -= 1


def add_kick(buf, start):
    s0 = int(start * RATE)
    ph = 0.0
    for i in range(int(0.18 * RATE)):
        t = i / RATE
        f = 50 + 90 * math.exp(-t * 30)
        ph += f / RATE
        buf[(s0 + i) % LENGTH] += 0.5 * math.exp(-t * 18) * math.sin(2 * math.pi * ph)


def add_hat(buf, start, rnd, amp=0.07):
    s0 = int(start * RATE)
    prev = 0.0
    for i in range(int(0.05 * RATE)):
        x = rnd.uniform(-1, 1)
        hp = x - prev  # a crude high pass keeps it bright
        prev = x
        buf[(s0 + i) % LENGTH] += amp * math.exp(-i / RATE * 90) * hp


def compose():
    rnd = random.Random(7)
    buf = [0.0] * LENGTH
    motif = [0, 2, 4, 3, 2, 4, 5, 4]  # a four-bar phrase in scale steps, varied per bar below
    for bar, chord in enumerate(CHORDS):
        t0 = bar * 4 * BEAT
        root = CHORD_NOTES[chord][0]
        # bass: bouncing root and octave on the eighths
        for k in range(8):
            name = root if k % 2 == 0 else root[:-1] + str(int(root[-1]) + 1)
            add_note(buf, t0 + k * BEAT / 2, BEAT / 2 * 0.9, note_freq(name), 0.22, "tri", 6)
        # chords: off-beat stabs
        for k in (1, 3):
            for name in CHORD_NOTES[chord]:
                up = name[:-1] + str(int(name[-1]) + 1)
                add_note(buf, t0 + k * BEAT + BEAT / 2, BEAT * 0.4, note_freq(up), 0.06, "square", 9)
        # drums
        for k in range(4):
            if k in (0, 2):
                add_kick(buf, t0 + k * BEAT)
            add_hat(buf, t0 + k * BEAT + BEAT / 2, rnd)
        # melody: the motif shifted to fit the chord, with a rest at the end of each second bar
        shift = {"C": 0, "G": 1, "Am": 2, "F": 1}[chord]
        steps = motif if bar % 4 < 2 else list(reversed(motif))
        for k, step in enumerate(steps):
            if bar % 2 == 1 and k >= 6:
                continue
            idx = min(len(SCALE) - 1, (step + shift + (bar // 4) % 2) % len(SCALE))
            length = BEAT / 2 if k % 4 != 3 else BEAT
            add_note(buf, t0 + k * BEAT / 2, length * 0.95, note_freq(SCALE[idx]), 0.13, "square", 3.5)
    return buf


def write_wav(path, samples):
    peak = max(1e-9, max(abs(x) for x in samples))
    data = array.array("h", (int(32000 * x / peak) for x in samples))
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data.tobytes())


def make_music(res):
    with tempfile.TemporaryDirectory() as tmp:
        one = os.path.join(tmp, "one.wav")
        three = os.path.join(tmp, "three.wav")
        mid = os.path.join(tmp, "mid.wav")
        write_wav(one, compose())
        # effects with memory (filter, echo) run over three copies; keeping the middle copy makes the end
        # of the piece flow into its start
        sox(one, one, one, three, "lowpass", 6000, "echo", 0.8, 0.5, 180, 0.18, "gain", "-n", "-3")
        sox(three, mid, "trim", f"{LENGTH}s", f"{LENGTH}s")
        out = os.path.join(res, "quintorabgm.mp3")
        subprocess.run(["lame", "--quiet", "-V", "5", "-m", "m", "--tt", "Quintora", "--ta", "Quintora",
                        mid, out], check=True)
    with open(os.path.join(HERE, "music_length.txt"), "w") as f:
        f.write(f"{LENGTH / RATE:.1f} s\n")


def main(res):
    make_effects(res)
    make_music(res)
    print("sounds written", file=sys.stderr)


if __name__ == "__main__":
    main(sys.argv[1])
