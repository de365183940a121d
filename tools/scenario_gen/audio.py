"""Synthesised sound cues for the Wave folder: 16-bit PCM, 22050 Hz, mono.

Every cue is built from a few primitives (filtered noise, swept tones,
envelopes) with a fixed seed, so the files come out the same each time.
"""

import math
import os
import random
import struct

from common import WAVE, write_bytes

RATE = 22050


def wave_file(samples):
    """samples: floats in -1..1. Returns the bytes of a mono 16-bit PCM WAVE file."""
    pcm = struct.pack("<%dh" % len(samples), *(int(max(-1.0, min(1.0, s)) * 32000) for s in samples))
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(pcm)) + pcm
    return b"RIFF" + struct.pack("<I", len(body)) + body


def noise(rng, n):
    return [rng.uniform(-1.0, 1.0) for _ in range(n)]


def lowpass(signal, cutoff):
    """One-pole low-pass; cutoff in Hz, a number or a per-sample list."""
    out = []
    y = 0.0
    for i, x in enumerate(signal):
        c = cutoff[i] if isinstance(cutoff, list) else cutoff
        a = 1.0 - math.exp(-2.0 * math.pi * c / RATE)
        y += a * (x - y)
        out.append(y)
    return out


def highpass(signal, cutoff):
    low = lowpass(signal, cutoff)
    return [x - l for x, l in zip(signal, low)]


def envelope(n, attack, curve=1.0):
    """Linear attack (seconds), then a decay to zero over the rest, shaped by curve."""
    a = max(1, int(attack * RATE))
    env = []
    for i in range(n):
        if i < a:
            env.append(i / a)
        else:
            t = (i - a) / max(1, n - a)
            env.append((1.0 - t) ** curve if t < 1 else 0.0)
    return env


def tone(freqs, shape="sine"):
    """A tone following a per-sample frequency list."""
    phase = 0.0
    out = []
    for f in freqs:
        phase += 2 * math.pi * f / RATE
        if shape == "square":
            out.append(1.0 if math.sin(phase) >= 0 else -1.0)
        elif shape == "saw":
            out.append(((phase / (2 * math.pi)) % 1.0) * 2 - 1)
        else:
            out.append(math.sin(phase))
    return out


def mix(*tracks):
    n = max(len(t) for t in tracks)
    return [sum(t[i] for t in tracks if i < len(t)) for i in range(n)]


def scale(signal, gains):
    if isinstance(gains, (int, float)):
        return [s * gains for s in signal]
    return [s * g for s, g in zip(signal, gains)]


def normalise(signal, peak=0.9):
    top = max(abs(s) for s in signal) or 1.0
    return [s * peak / top for s in signal]


def seconds(t):
    return int(t * RATE)


def attack_run(rng):
    # a jet diving in: noise whose brightness and loudness rise, then a roar past
    n = seconds(1.8)
    cut = [300 + 3500 * (i / n) ** 2 for i in range(n)]
    body = lowpass(noise(rng, n), cut)
    whine = tone([900 + 700 * (i / n) for i in range(n)])
    env = [min(1.0, (i / n) * 1.6) * (1.0 if i < n * 0.85 else (n - i) / (n * 0.15)) for i in range(n)]
    return normalise(scale(mix(body, scale(whine, 0.08)), env))


def explosion(rng):
    n = seconds(2.2)
    rumble = lowpass(lowpass(lowpass(noise(rng, n), 180), 220), 260)
    crack = highpass(noise(rng, seconds(0.15)), 1500)
    boom = tone([70 * math.exp(-3 * i / n) + 30 for i in range(n)])
    env = envelope(n, 0.01, 2.2)
    return normalise(mix(scale(rumble, [e * 3.0 for e in env]), scale(crack, 0.5),
                         scale(boom, [e * 0.7 for e in env])))


def launch(rng):
    # a missile leaving its cell: ignition thump, then a hissing rush falling away
    n = seconds(1.6)
    hiss = highpass(noise(rng, n), 900)
    rush = lowpass(noise(rng, n), [2500 - 1800 * i / n for i in range(n)])
    thump = scale(tone([90 - 40 * i / seconds(0.3) for i in range(seconds(0.3))]), envelope(seconds(0.3), 0.005, 3))
    env = [min(1.0, i / seconds(0.05)) * math.exp(-1.6 * i / n) for i in range(n)]
    return normalise(mix(scale(mix(scale(hiss, 0.5), rush), env), scale(thump, 0.9)))


def alarm(_rng):
    # general quarters: a two-tone horn, three times
    out = []
    for _ in range(3):
        for f in (660, 880):
            part = tone([f] * seconds(0.22), "square")
            out += scale(lowpass(part, 2500), envelope(len(part), 0.01, 0.3))
        out += [0.0] * seconds(0.08)
    return normalise(out, 0.45)


def impact(rng):
    n = seconds(1.1)
    crack = highpass(noise(rng, n), 1200)
    metal = mix(tone([430] * n), scale(tone([1110] * n), 0.5), scale(tone([1870] * n), 0.3))
    debris = lowpass(noise(rng, n), 900)
    return normalise(mix(scale(crack, envelope(n, 0.002, 8)), scale(metal, envelope(n, 0.002, 4)),
                         scale(debris, [0.6 * e for e in envelope(n, 0.05, 1.5)])))


def defensive_fire(rng):
    # close-in guns: fast bursts of short cracks
    out = []
    for burst in range(3):
        for _ in range(14):
            shot = seconds(0.025)
            out += scale(lowpass(noise(rng, shot), 2600), envelope(shot, 0.001, 2))
            out += [0.0] * seconds(0.012)
        out += [0.0] * seconds(0.12 + 0.04 * burst)
    return normalise(mix(out, scale(lowpass(noise(rng, len(out)), 150), 0.15)))


def radar_ping(_rng):
    out = []
    for k in range(2):
        n = seconds(0.35)
        out += scale(tone([1480] * n), [0.8 * e for e in envelope(n, 0.005, 3)])
        out += [0.0] * seconds(0.15 if k == 0 else 0.05)
    return normalise(out, 0.6)


def splash(rng):
    n = seconds(1.3)
    spray = lowpass(noise(rng, n), [4000 - 3000 * i / n for i in range(n)])
    plunge = lowpass(noise(rng, n), 300)
    return normalise(mix(scale(spray, envelope(n, 0.02, 2)), scale(plunge, envelope(n, 0.01, 3))))


def sonar(_rng):
    # an active sonar pulse and its fainter echo
    n = seconds(0.6)
    ping = scale(tone([1020] * n), envelope(n, 0.004, 2.5))
    echo = scale(ping, 0.3)
    gap = [0.0] * seconds(0.45)
    return normalise(lowpass(ping + gap + echo + [0.0] * seconds(0.2), 3000), 0.6)


def jet_pass(rng):
    # a fly-by: loudness swells and falls, pitch drops as the aircraft passes
    n = seconds(2.4)
    centre = n / 2
    body = lowpass(noise(rng, n), [800 + 2400 * math.exp(-((i - centre) / (n * 0.18)) ** 2) for i in range(n)])
    whine = tone([1300 - 500 * math.tanh((i - centre) / (n * 0.08)) for i in range(n)])
    env = [math.exp(-((i - centre) / (n * 0.22)) ** 2) for i in range(n)]
    return normalise(scale(mix(body, scale(whine, 0.07)), env))


CUES = {
    "attack_run.wav": attack_run,
    "explosion.wav": explosion,
    "launch.wav": launch,
    "alarm.wav": alarm,
    "impact.wav": impact,
    "defensive_fire.wav": defensive_fire,
    "radar_ping.wav": radar_ping,
    "splash.wav": splash,
    "sonar.wav": sonar,
    "jet_pass.wav": jet_pass,
}


def write_cues(names):
    for i, name in enumerate(names):
        rng = random.Random(500 + i)
        write_bytes(os.path.join(WAVE, name), wave_file(CUES[name](rng)))
