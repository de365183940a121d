"""Three original pieces for the Midi folder, written as Standard MIDI Files (type 1, General MIDI).

prologue.mid  a calm theme for the start (D major, 72 bpm)
night.mid     a quiet theme for the hours of darkness (A minor, 60 bpm)
battle.mid    a tense theme for the fighting by day (D minor, 138 bpm)
victory.mid   a fanfare for the end of the scenario (C major, 104 bpm)

Each piece is a chord progression with parts laid over it: pads, arpeggios,
a melody drawn from chord and scale tones with a fixed seed, bass and drums.
"""

import os
import random
import struct

from common import MIDI, write_bytes

PPQ = 480
BAR = PPQ * 4
DRUMS = 9

NOTE = {"C": 0, "C#": 1, "Db": 1, "D": 2, "D#": 3, "Eb": 3, "E": 4, "F": 5, "F#": 6, "Gb": 6,
        "G": 7, "G#": 8, "Ab": 8, "A": 9, "A#": 10, "Bb": 10, "B": 11}


def chord_tones(name):
    """'Dm' -> pitch classes of the triad (root first)."""
    minor = name.endswith("m")
    root = NOTE[name[:-1] if minor else name]
    return [root, (root + (3 if minor else 4)) % 12, (root + 7) % 12]


def near(pitch_class, around):
    """The pitch of a pitch class closest to `around`."""
    base = around - (around % 12) + pitch_class
    return min((base - 12, base, base + 12), key=lambda p: abs(p - around))


class Track:
    def __init__(self, name, channel, program):
        self.name = name
        self.channel = channel
        self.program = program
        self.notes = []  # (start, duration, pitch, velocity)

    def add(self, start, duration, pitch, velocity):
        self.notes.append((start, max(1, duration), max(0, min(127, pitch)), max(1, min(127, velocity))))


def vlq(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.append(0x80 | (value & 0x7F))
        value >>= 7
    return bytes(reversed(out))


def chunk(events):
    """events: (tick, order, bytes); returns an MTrk chunk with delta times."""
    data = bytearray()
    now = 0
    for tick, _, body in sorted(events, key=lambda e: (e[0], e[1])):
        data += vlq(tick - now) + body
        now = tick
    data += b"\x00\xff\x2f\x00"
    return b"MTrk" + struct.pack(">I", len(data)) + bytes(data)


def meta_text(kind, text):
    raw = text.encode("ascii")
    return bytes([0xFF, kind]) + vlq(len(raw)) + raw


def smf(title, tempo_bpm, tracks, length):
    conductor = [(0, 0, meta_text(0x03, title)),
                 (0, 1, b"\xff\x58\x04\x04\x02\x18\x08"),
                 (0, 2, b"\xff\x51\x03" + struct.pack(">I", int(60_000_000 / tempo_bpm))[1:]),
                 (length, 3, meta_text(0x01, "fine"))]
    chunks = [chunk(conductor)]
    for t in tracks:
        ev = [(0, 0, meta_text(0x03, t.name))]
        if t.channel != DRUMS:
            ev.append((0, 1, bytes([0xC0 | t.channel, t.program])))
        ev.append((0, 2, bytes([0xB0 | t.channel, 7, 100])))
        ev.append((0, 3, bytes([0xB0 | t.channel, 91, 48])))  # some reverb
        for start, dur, pitch, vel in t.notes:
            ev.append((start + dur, 4, bytes([0x80 | t.channel, pitch, 0])))
            ev.append((start, 5, bytes([0x90 | t.channel, pitch, vel])))
        chunks.append(chunk(ev))
    header = b"MThd" + struct.pack(">IHHH", 6, 1, len(chunks), PPQ)
    return header + b"".join(chunks)


def pad(track, progression, low, velocity, bar_fraction=1):
    step = BAR // bar_fraction
    for i, name in enumerate(progression):
        for k in range(bar_fraction):
            start = i * BAR + k * step
            for j, pc in enumerate(chord_tones(name)):
                track.add(start, step - 10, near(pc, low + 5 * j), velocity)


def arpeggio(track, progression, low, velocity, per_bar=8, rng=None):
    step = BAR // per_bar
    shape = [0, 1, 2, 3, 2, 1, 2, 3]
    for i, name in enumerate(progression):
        tones = chord_tones(name)
        pitches = [near(tones[0], low), near(tones[1], low + 4), near(tones[2], low + 7), near(tones[0], low + 12)]
        for k in range(per_bar):
            accent = 12 if k == 0 else 0
            jitter = rng.randint(-4, 4) if rng else 0
            track.add(i * BAR + k * step, step, pitches[shape[k % 8]], velocity + accent + jitter)


def bass(track, progression, low, velocity, pattern=((0, 4),)):
    """pattern: (beat, length in beats) pairs, all on the chord root."""
    for i, name in enumerate(progression):
        root = near(chord_tones(name)[0], low)
        for beat, beats in pattern:
            track.add(i * BAR + int(beat * PPQ), int(beats * PPQ) - 20, root, velocity)


RHYTHMS_CALM = [[(0, 2), (2, 1), (3, 1)], [(0, 3), (3, 1)], [(0, 1), (1, 1), (2, 2)], [(0, 4)],
                [(0, 1.5), (1.5, 0.5), (2, 2)]]
RHYTHMS_DRIVE = [[(0, 1), (1, 0.5), (1.5, 0.5), (2, 1), (3, 1)], [(0, 2), (2, 1), (3, 0.5), (3.5, 0.5)],
                 [(0, 0.5), (0.5, 0.5), (1, 1), (2, 2)], [(0, 3), (3, 1)]]
RHYTHMS_FANFARE = [[(0, 0.75), (0.75, 0.25), (1, 1), (2, 2)], [(0, 1), (1, 1), (2, 1), (3, 1)],
                   [(0, 2), (2, 0.75), (2.75, 0.25), (3, 1)], [(0, 4)]]


def melody(track, progression, scale, centre, velocity, rhythms, rng, rest_every=4):
    """A line that moves by step or leap to chord tones, with phrase-end rests."""
    pitch = centre
    for i, name in enumerate(progression):
        tones = chord_tones(name)
        rhythm = rhythms[rng.randrange(len(rhythms))]
        if (i + 1) % rest_every == 0:
            rhythm = [(0, 3)]  # hold the phrase's last note, breathe on beat four
        for k, (beat, beats) in enumerate(rhythm):
            on_beat = beat == int(beat) and int(beat) % 2 == 0
            if on_beat or rng.random() < 0.5:
                target = near(tones[rng.randrange(3)], pitch + rng.choice((-3, -2, 2, 3, 5, -5)))
            else:
                steps = [p for p in range(pitch - 3, pitch + 4) if p % 12 in scale and p != pitch]
                target = rng.choice(steps)
            # keep the line in its register
            while target > centre + 9:
                target -= 12
            while target < centre - 8:
                target += 12
            pitch = target
            track.add(i * BAR + int(beat * PPQ), int(beats * PPQ) - 30, pitch, velocity + (10 if k == 0 else 0))


def drum_kit(track, bars, rng, fill_every=4, march=False):
    kick, snare, hat, crash, tom_hi, tom_lo = 36, 38, 42, 49, 48, 45
    for b in range(bars):
        start = b * BAR
        if b % (fill_every * 2) == 0:
            track.add(start, PPQ, crash, 100)
        fill = (b + 1) % fill_every == 0
        for eighth in range(8):
            t = start + eighth * PPQ // 2
            if fill and eighth >= 4:
                track.add(t, PPQ // 4, (tom_hi, tom_hi, tom_lo, tom_lo)[eighth - 4], 96 + rng.randint(-6, 6))
                continue
            if eighth in (0, 4) or (not march and eighth == 5 and rng.random() < 0.4):
                track.add(t, PPQ // 4, kick, 104)
            if eighth in (2, 6):
                track.add(t, PPQ // 4, snare, 98)
            if march and eighth in (3, 7):
                track.add(t, PPQ // 8, snare, 60)
            track.add(t, PPQ // 8, hat, 60 + (14 if eighth % 2 == 0 else 0))


def timpani(track, progression, low, velocity, rolls_every=8):
    for i, name in enumerate(progression):
        root = near(chord_tones(name)[0], low)
        track.add(i * BAR, PPQ, root, velocity)
        if (i + 1) % rolls_every == 0:
            for k in range(8):
                track.add(i * BAR + 2 * PPQ + k * PPQ // 4, PPQ // 4, root, velocity - 30 + 6 * k)


D_MAJOR = {2, 4, 6, 7, 9, 11, 1}
D_MINOR = {2, 4, 5, 7, 9, 10, 0, 1}
C_MAJOR = {0, 2, 4, 5, 7, 9, 11}


def prologue():
    rng = random.Random(71)
    a = ["D", "Bm", "G", "A", "D", "F#m", "G", "A"]
    b = ["Bm", "G", "D", "A", "G", "D", "Em", "A"]
    progression = a + b + a + b + ["G", "A", "D", "D"]
    strings = Track("Strings", 0, 48)
    harp = Track("Harp", 1, 46)
    flute = Track("Flute", 2, 73)
    oboe = Track("Oboe", 4, 68)
    contrabass = Track("Contrabass", 3, 43)
    pad(strings, progression, 54, 58)
    arpeggio(harp, progression, 62, 54, rng=rng)
    first, second = progression[:16], progression[16:]
    melody(flute, first, D_MAJOR, 76, 70, RHYTHMS_CALM, rng)
    shifted = Track("tmp", 0, 0)
    melody(shifted, second, D_MAJOR, 72, 68, RHYTHMS_CALM, rng)
    for start, dur, pitch, vel in shifted.notes:
        oboe.add(start + 16 * BAR, dur, pitch, vel)
    bass(contrabass, progression, 38, 64, ((0, 2), (2, 2)))
    length = len(progression) * BAR
    return smf("Velmora Strait - Prologue", 72, [strings, harp, flute, oboe, contrabass], length)


def battle():
    rng = random.Random(138)
    a = ["Dm", "Dm", "Bb", "C", "Dm", "Dm", "Gm", "A"]
    b = ["Gm", "Gm", "Dm", "Dm", "Bb", "C", "A", "A"]
    progression = a + a + b + a + b + a + ["Bb", "C", "Dm", "Dm", "Bb", "A", "Dm", "Dm"]
    ostinato = Track("Low strings", 0, 48)
    brass = Track("Brass", 1, 61)
    horns = Track("Horns", 2, 60)
    timp = Track("Timpani", 3, 47)
    low = Track("Contrabass", 4, 43)
    drums = Track("Drums", DRUMS, 0)
    figure = [0, 0, 12, 0, 3, 0, 1, 0]
    for i, name in enumerate(progression):
        root = near(chord_tones(name)[0], 45)
        for k in range(8):
            ostinato.add(i * BAR + k * PPQ // 2, PPQ // 2 - 20, root + figure[k], 76 + (12 if k % 4 == 0 else 0))
        for beat in (0, 1.5, 3):
            for j, pc in enumerate(chord_tones(name)):
                brass.add(i * BAR + int(beat * PPQ), PPQ // 2, near(pc, 58 + 4 * j), 84 if beat == 0 else 70)
    melody(horns, progression[8:], D_MINOR, 67, 80, RHYTHMS_DRIVE, rng)
    horns.notes = [(s + 8 * BAR, d, p, v) for s, d, p, v in horns.notes]
    timpani(timp, progression, 45, 96)
    bass(low, progression, 33, 86, ((0, 1.5), (1.5, 1), (2.5, 1.5)))
    drum_kit(drums, len(progression), rng)
    length = len(progression) * BAR
    return smf("Velmora Strait - Battle", 138, [ostinato, brass, horns, timp, low, drums], length)


def victory():
    rng = random.Random(104)
    a = ["C", "F", "G", "C", "Am", "F", "G", "G"]
    b = ["F", "G", "Em", "Am", "F", "C", "G", "C"]
    progression = a + b + a + b + ["F", "G", "C", "C"] + ["F", "G", "C", "C"]
    trumpet = Track("Trumpet", 0, 56)
    horns = Track("Horns", 1, 60)
    strings = Track("Strings", 2, 48)
    timp = Track("Timpani", 3, 47)
    trombone = Track("Trombone", 4, 57)
    drums = Track("Snare", DRUMS, 0)
    melody(trumpet, progression, C_MAJOR, 72, 88, RHYTHMS_FANFARE, rng)
    for s, d, p, v in trumpet.notes:
        # horns double the trumpet a third or sixth below
        below = [q for q in range(p - 9, p - 2) if q % 12 in C_MAJOR]
        horns.add(s, d, below[len(below) // 2], v - 18)
    pad(strings, progression, 55, 62, bar_fraction=2)
    timpani(timp, progression, 45, 92, rolls_every=8)
    bass(trombone, progression, 40, 80, ((0, 1), (1, 1), (2, 2)))
    drum_kit(drums, len(progression), rng, fill_every=8, march=True)
    length = len(progression) * BAR
    return smf("Velmora Strait - Victory", 104, [trumpet, horns, strings, timp, trombone, drums], length)


A_MINOR = {9, 11, 0, 2, 4, 5, 7}


def night():
    rng = random.Random(60)
    a = ["Am", "Am", "F", "G", "Am", "Em", "F", "E"]
    b = ["F", "G", "C", "Am", "Dm", "Am", "E", "E"]
    progression = a + b + a + ["F", "E", "Am", "Am"]
    pad_track = Track("Warm pad", 0, 89)
    clarinet = Track("Clarinet", 1, 71)
    harp = Track("Harp", 2, 46)
    cello = Track("Cello", 3, 42)
    pad(pad_track, progression, 52, 76)
    melody(clarinet, progression[4:], A_MINOR, 69, 92, RHYTHMS_CALM, rng)
    clarinet.notes = [(s + 4 * BAR, d, p, v) for s, d, p, v in clarinet.notes]
    arpeggio(harp, progression, 57, 66, per_bar=4, rng=rng)
    bass(cello, progression, 40, 80, ((0, 4),))
    length = len(progression) * BAR
    return smf("Velmora Strait - Night", 60, [pad_track, clarinet, harp, cello], length)


PIECES = {"prologue.mid": prologue, "night.mid": night, "battle.mid": battle, "victory.mid": victory}


def write_pieces():
    for name, compose in PIECES.items():
        write_bytes(os.path.join(MIDI, name), compose())
