#!/usr/bin/env python3
"""Synthesise Keyrook's sounds: 16-bit mono PCM WAV files at 22050 Hz.

Run from anywhere; the files are written next to this script:

    python3 make_sounds.py

Only the standard library is used. The output is deterministic (the noise comes
from a fixed-seed generator), so running the script again gives the same bytes.

Sounds and where the program plays them:
    op       looping menu music (main window, after practice, after the viewer)
    log      looping music of the record viewer
    no       a near-silent blip; playing it ends the looping music
    ok       chime: invader level-up, ten-key batch done, maker conversion saved
    type     key click of every correct key
    miss     low buzz of a counted miss (the reflex game uses it for a hit)
    miss2    mistype in the reflex game
    vanish   sweep of the invader power bomb
    ready    rising cue when the reflex game and the ten-key drill start
    judge    end of a drum roll when the reflex game's time is up
    clear    fanfare: result dialog, reflex level cleared
    unclear  falling tone: reflex level not cleared
    beep     plain beep
"""

import math
import os
import struct
import wave

RATE = 22050
TWO_PI = 2.0 * math.pi
OUT_DIR = os.path.dirname(os.path.abspath(__file__))


# ---------------------------------------------------------------- basics

class Noise:
    """Deterministic white noise in [-1, 1] (32-bit LCG)."""

    def __init__(self, seed=12345):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (1664525 * self.state + 1013904223) & 0xFFFFFFFF
        return (self.state / 2147483648.0) - 1.0


def samples(seconds):
    return int(round(seconds * RATE))


def mix_into(buf, part, start):
    """Add part into buf from sample index start (buf grows if needed)."""
    end = start + len(part)
    if end > len(buf):
        buf.extend([0.0] * (end - len(buf)))
    for i, v in enumerate(part):
        buf[start + i] += v


def note_freq(name):
    """'A4' -> 440.0; sharps as 'C#5'."""
    names = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    semis = names[name[0]]
    rest = name[1:]
    if rest.startswith("#"):
        semis += 1
        rest = rest[1:]
    elif rest.startswith("b"):
        semis -= 1
        rest = rest[1:]
    octave = int(rest)
    return 440.0 * 2.0 ** ((semis + 12 * (octave - 4)) / 12.0)


def envelope(n, attack, release, decay=None, sustain=1.0):
    """Per-sample gain: linear attack, optional exponential decay towards sustain,
    linear release that reaches exactly 0 at the last sample."""
    a = max(1, samples(attack))
    r = max(1, samples(release))
    env = []
    for i in range(n):
        g = 1.0
        if i < a:
            g = i / a
        elif decay:
            t = (i - a) / RATE
            g = sustain + (1.0 - sustain) * math.exp(-t / decay)
        left = n - 1 - i
        if left < r:
            g *= left / r
        env.append(g)
    return env


def tone(freq, seconds, harmonics=((1, 1.0),), attack=0.005, release=0.02,
         decay=None, sustain=1.0, vibrato=0.0, vib_rate=5.5, glide_to=None):
    """A note built from sine partials (k, amplitude), with an envelope.
    glide_to bends the pitch exponentially to that frequency over the note."""
    n = samples(seconds)
    env = envelope(n, attack, release, decay, sustain)
    out = [0.0] * n
    phase = 0.0
    for i in range(n):
        t = i / RATE
        f = freq
        if glide_to:
            f = freq * (glide_to / freq) ** (i / max(1, n - 1))
        if vibrato:
            f *= 1.0 + vibrato * math.sin(TWO_PI * vib_rate * t)
        phase += TWO_PI * f / RATE
        v = 0.0
        for k, amp in harmonics:
            if f * k < RATE * 0.45:
                v += amp * math.sin(k * phase)
        out[i] = v * env[i]
    return out


def fm_bell(freq, seconds, ratio=3.5, index=2.5, decay=0.35, attack=0.002, release=0.03):
    """Two-operator FM bell whose brightness fades with its loudness."""
    n = samples(seconds)
    env = envelope(n, attack, release, decay, 0.0)
    out = [0.0] * n
    for i in range(n):
        t = i / RATE
        idx = index * math.exp(-t / (decay * 0.6))
        out[i] = env[i] * math.sin(TWO_PI * freq * t + idx * math.sin(TWO_PI * freq * ratio * t))
    return out


def noise_burst(seconds, decay, seed=1, attack=0.001, release=0.005, smooth=0.0, highpass=False):
    """Decaying noise; smooth in [0,1) low-passes it, highpass takes differences."""
    n = samples(seconds)
    env = envelope(n, attack, release, decay, 0.0)
    gen = Noise(seed)
    out = [0.0] * n
    prev_in = 0.0
    lp = 0.0
    for i in range(n):
        x = gen.next()
        if highpass:
            x, prev_in = x - prev_in, x
        lp = smooth * lp + (1.0 - smooth) * x
        out[i] = lp * env[i]
    return out


def fade(buf, fade_in=0.003, fade_out=0.01):
    n = len(buf)
    a = min(n, samples(fade_in))
    r = min(n, samples(fade_out))
    for i in range(a):
        buf[i] *= i / a
    for i in range(r):
        buf[n - 1 - i] *= i / r
    return buf


def normalise(buf, peak):
    top = max(abs(v) for v in buf) or 1.0
    g = peak / top
    return [v * g for v in buf]


def write_wav(name, buf):
    path = os.path.join(OUT_DIR, name + ".wav")
    frames = bytearray()
    for v in buf:
        s = int(round(max(-1.0, min(1.0, v)) * 32767))
        frames += struct.pack("<h", s)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(bytes(frames))
    return path


# ---------------------------------------------------------------- instruments

LEAD = ((1, 1.0), (2, 0.32), (3, 0.18), (4, 0.06), (5, 0.05))
SOFT_SQUARE = ((1, 1.0), (3, 0.30), (5, 0.14), (7, 0.07))
BRASS = ((1, 1.0), (2, 0.55), (3, 0.40), (4, 0.25), (5, 0.16), (6, 0.10), (7, 0.06))
TRIANGLE = ((1, 1.0), (3, -1 / 9), (5, 1 / 25), (7, -1 / 49))


def lead_note(name, seconds):
    return tone(note_freq(name), seconds, LEAD, attack=0.012, release=0.05,
                decay=0.35, sustain=0.55, vibrato=0.004)


def pluck(name, seconds, bright=0.25):
    f = note_freq(name)
    return tone(f, seconds, ((1, 1.0), (2, bright), (3, bright * 0.4)),
                attack=0.003, release=0.03, decay=0.18, sustain=0.0)


def bass_note(name, seconds):
    return tone(note_freq(name), seconds, TRIANGLE, attack=0.008, release=0.04,
                decay=0.30, sustain=0.35)


def hat(seconds=0.05, seed=7):
    return noise_burst(seconds, 0.012, seed=seed, highpass=True)


# ---------------------------------------------------------------- loops

def sequence(buf, notes, step, inst, gain, gate=0.92):
    """notes: list of (start_step, length_steps, name); each note ends inside its slot,
    so its envelope is back at zero before the slot is over."""
    for start, length, name in notes:
        part = inst(name, length * step / RATE * gate)
        part = [v * gain for v in part]
        mix_into(buf, part, start * step)


def make_op():
    """Bright, bouncy menu loop in C major: C - Am - F - G, 4 bars at 126 bpm."""
    step = 2625                     # one sixteenth note in samples (126 bpm)
    total = 64 * step               # 4 bars of 4/4: 7.62 s
    buf = [0.0] * total

    melody = [
        # bar 1 (C)
        (0, 2, "E5"), (2, 2, "G5"), (4, 2, "C6"), (6, 2, "G5"),
        (8, 3, "E5"), (11, 1, "F5"), (12, 4, "G5"),
        # bar 2 (Am)
        (16, 2, "A5"), (18, 2, "G5"), (20, 2, "E5"), (22, 2, "C5"),
        (24, 3, "D5"), (27, 1, "E5"), (28, 4, "C5"),
        # bar 3 (F)
        (32, 2, "F5"), (34, 2, "A5"), (36, 2, "C6"), (38, 2, "A5"),
        (40, 3, "G5"), (43, 1, "F5"), (44, 4, "E5"),
        # bar 4 (G), ends on the fifth so the loop falls back to its first E5
        (48, 2, "D5"), (50, 2, "E5"), (52, 2, "F5"), (54, 2, "G5"),
        (56, 2, "B4"), (58, 2, "D5"), (60, 3, "G5"),
    ]
    sequence(buf, melody, step, lead_note, 0.34)

    bass = []
    for bar, (root, fifth) in enumerate([("C3", "G3"), ("A2", "E3"), ("F2", "C3"), ("G2", "D3")]):
        b = bar * 16
        bass += [(b, 3, root), (b + 4, 3, fifth), (b + 8, 3, root), (b + 12, 3, fifth)]
    sequence(buf, bass, step, bass_note, 0.42)

    chords = [("E4", "G4", "C5"), ("E4", "A4", "C5"), ("F4", "A4", "C5"), ("D4", "G4", "B4")]
    for bar, chord in enumerate(chords):
        for off in (2, 6, 10, 14):              # off-beat chord stabs
            for name in chord:
                sequence(buf, [(bar * 16 + off, 2, name)], step, pluck, 0.10, gate=0.8)

    for s in range(0, 64, 2):                   # light eighth-note hats, accented off-beats
        part = hat(0.045, seed=s + 3)
        g = 0.06 if s % 4 == 2 else 0.035
        mix_into(buf, [v * g for v in part], s * step)

    buf = buf[:total]
    return normalise(fade(buf, 0.002, 0.004), 0.30)


def make_log():
    """Calm electric-piano loop for the record viewer: Am9 - Fmaj7 - Dm9 - E7, 2 bars at 90 bpm."""
    step = 3675                     # one sixteenth note in samples (90 bpm)
    total = 32 * step               # 8 beats: 5.33 s
    buf = [0.0] * total

    def ep(name, seconds):
        return fm_bell(note_freq(name), seconds, ratio=1.0, index=1.2, decay=0.55, release=0.05)

    def soft_bass(name, seconds):
        return tone(note_freq(name), seconds, ((1, 1.0), (2, 0.15)), attack=0.02,
                    release=0.12, decay=0.9, sustain=0.4)

    arps = [
        ("A3", ["E4", "G4", "B4", "C5", "B4", "G4", "E4", "G4"]),
        ("F3", ["E4", "A4", "C5", "E5", "C5", "A4", "E4", "A4"]),
        ("D3", ["F4", "A4", "C5", "E5", "C5", "A4", "F4", "A4"]),
        ("E3", ["D4", "G#4", "B4", "D5", "B4", "G#4", "E4", "B3"]),
    ]
    for chord, (root, arp) in enumerate(arps):
        base = chord * 8
        notes = [(base + k, 1, name) for k, name in enumerate(arp)]
        sequence(buf, notes, step, ep, 0.30, gate=1.0)
        sequence(buf, [(base, 8, root)], step, soft_bass, 0.45, gate=0.97)

    # a slow, sparse melody on top
    def bell(name, seconds):
        return fm_bell(note_freq(name), seconds, ratio=3.0, index=1.6, decay=0.5, release=0.06)
    melody = [(0, 6, "C6"), (6, 2, "B5"), (8, 8, "A5"), (16, 4, "A5"), (20, 4, "G5"), (24, 8, "G#5")]
    sequence(buf, melody, step, bell, 0.12, gate=0.98)

    buf = buf[:total]
    return normalise(fade(buf, 0.002, 0.004), 0.28)


# ---------------------------------------------------------------- effects

def make_no():
    """Playing this ends the background loop, so it is barely audible."""
    buf = tone(1318.5, 0.05, ((1, 1.0),), attack=0.005, release=0.03)
    return normalise(buf, 0.03)


def make_type():
    """A tiny key click: a short noise tick over a quick high blip."""
    click = noise_burst(0.045, 0.006, seed=21, highpass=True, smooth=0.3)
    blip = tone(2200.0, 0.045, ((1, 1.0),), attack=0.0005, release=0.01, decay=0.008, sustain=0.0)
    buf = [c * 0.6 + b * 0.5 for c, b in zip(click, blip)]
    return normalise(fade(buf, 0.0005, 0.005), 0.26)


def make_miss():
    """Low buzz: two detuned soft squares beating against each other."""
    a = tone(110.0, 0.22, SOFT_SQUARE, attack=0.004, release=0.05, decay=0.12, sustain=0.3)
    b = tone(116.5, 0.22, SOFT_SQUARE, attack=0.004, release=0.05, decay=0.12, sustain=0.3)
    buf = [x + y for x, y in zip(a, b)]
    return normalise(fade(buf), 0.40)


def make_miss2():
    """Another miss: two short falling buzz blips."""
    buf = []
    first = tone(196.0, 0.09, SOFT_SQUARE, attack=0.003, release=0.03, glide_to=170.0)
    second = tone(147.0, 0.13, SOFT_SQUARE, attack=0.003, release=0.05, glide_to=120.0)
    mix_into(buf, first, 0)
    mix_into(buf, second, samples(0.11))
    return normalise(fade(buf), 0.27)


def make_beep():
    buf = tone(880.0, 0.15, ((1, 1.0), (2, 0.08)), attack=0.005, release=0.03)
    return normalise(buf, 0.25)


def make_ok():
    """A two-note chime, a fourth apart."""
    buf = []
    mix_into(buf, fm_bell(note_freq("E6"), 0.55, ratio=2.0, index=1.5, decay=0.25), 0)
    mix_into(buf, fm_bell(note_freq("A6"), 0.75, ratio=2.0, index=1.2, decay=0.32), samples(0.11))
    return normalise(fade(buf, 0.001, 0.02), 0.42)


def make_ready():
    """Rising cue: a quick upward arpeggio ending on a held note."""
    buf = []
    names = ["C5", "E5", "G5"]
    for k, name in enumerate(names):
        mix_into(buf, tone(note_freq(name), 0.10, LEAD, attack=0.004, release=0.02), samples(0.09 * k))
    top = tone(note_freq("C6"), 0.38, LEAD, attack=0.006, release=0.12, decay=0.25,
               sustain=0.5, vibrato=0.006)
    mix_into(buf, top, samples(0.27))
    sweep = tone(400.0, 0.30, ((1, 1.0),), attack=0.01, release=0.05, glide_to=1600.0)
    mix_into(buf, [v * 0.15 for v in sweep], 0)
    return normalise(fade(buf), 0.36)


def make_vanish():
    """Sweep: a falling whoosh of filtered noise with a falling tone inside it."""
    n = samples(0.75)
    gen = Noise(77)
    env = envelope(n, 0.01, 0.2, 0.25, 0.0)
    out = [0.0] * n
    lp = 0.0
    phase = 0.0
    for i in range(n):
        frac = i / (n - 1)
        smooth = 0.30 + 0.65 * frac          # the noise gets darker as it falls
        lp = smooth * lp + (1.0 - smooth) * gen.next()
        f = 1800.0 * (0.08 ** frac)          # 1800 Hz down to about 140 Hz
        phase += TWO_PI * f / RATE
        out[i] = env[i] * (0.7 * lp + 0.35 * math.sin(phase))
    return normalise(fade(out), 0.42)


def make_judge():
    """A snare roll that swells, closed by a low drum hit and a crash."""
    buf = []
    roll_len = 0.95
    hits = 30
    for k in range(hits):
        start = roll_len * k / hits
        g = 0.25 + 0.75 * (k / (hits - 1)) ** 1.5
        snare = noise_burst(0.06, 0.018, seed=100 + k, smooth=0.4)
        body = tone(185.0, 0.06, ((1, 1.0), (2, 0.3)), attack=0.001, release=0.01,
                    decay=0.02, sustain=0.0)
        hit = [n * 0.55 + d * 0.35 for n, d in zip(snare, body)]
        mix_into(buf, [v * g for v in hit], samples(start))
    end = samples(roll_len)
    kick = tone(110.0, 0.40, ((1, 1.0), (2, 0.2)), attack=0.002, release=0.1,
                decay=0.12, sustain=0.0, glide_to=55.0)
    mix_into(buf, [v * 0.9 for v in kick], end)
    crash = noise_burst(0.50, 0.16, seed=999, highpass=True)
    mix_into(buf, [v * 0.45 for v in crash], end)
    return normalise(fade(buf, 0.001, 0.03), 0.45)


def make_clear():
    """Bright fanfare: G-C-E pick-up, then a held C major chord."""
    buf = []

    def horn(name, seconds, gain=1.0):
        part = tone(note_freq(name), seconds, BRASS, attack=0.015, release=0.06,
                    decay=0.5, sustain=0.7, vibrato=0.004)
        return [v * gain for v in part]

    for k, name in enumerate(["G4", "C5", "E5"]):
        mix_into(buf, horn(name, 0.12), samples(0.13 * k))
    mix_into(buf, horn("G5", 0.12), samples(0.39))
    chord_at = samples(0.53)
    for name, g in (("C5", 0.55), ("E5", 0.5), ("G5", 0.5), ("C6", 0.65)):
        held = tone(note_freq(name), 0.92, BRASS, attack=0.02, release=0.35,
                    decay=0.6, sustain=0.55, vibrato=0.006)
        mix_into(buf, [v * g for v in held], chord_at)
    sparkle = fm_bell(note_freq("C7"), 0.6, ratio=2.0, index=1.0, decay=0.2)
    mix_into(buf, [v * 0.25 for v in sparkle], chord_at)
    return normalise(fade(buf, 0.002, 0.03), 0.45)


def make_unclear():
    """Falling tone: three sinking steps, the last sliding down."""
    buf = []

    def voice(freq, seconds, glide_to=None):
        return tone(freq, seconds, SOFT_SQUARE, attack=0.02, release=0.08,
                    vibrato=0.01 if glide_to else 0.004, vib_rate=6.0, glide_to=glide_to)

    mix_into(buf, voice(note_freq("G4"), 0.24), 0)
    mix_into(buf, voice(note_freq("F#4"), 0.24), samples(0.26))
    mix_into(buf, voice(note_freq("F4"), 0.62, glide_to=note_freq("C4")), samples(0.52))
    return normalise(fade(buf, 0.002, 0.05), 0.25)


# ---------------------------------------------------------------- main

SOUNDS = [
    ("op", make_op), ("log", make_log), ("no", make_no), ("ok", make_ok),
    ("type", make_type), ("vanish", make_vanish), ("ready", make_ready),
    ("judge", make_judge), ("clear", make_clear), ("unclear", make_unclear),
    ("miss", make_miss), ("miss2", make_miss2), ("beep", make_beep),
]


def main():
    for name, maker in SOUNDS:
        buf = maker()
        path = write_wav(name, buf)
        print("%-8s %6.3f s  %s" % (name, len(buf) / RATE, os.path.basename(path)))


if __name__ == "__main__":
    main()
