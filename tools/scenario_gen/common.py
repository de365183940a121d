"""Shared helpers of the demo scenario generators: output folders and text files."""

import os

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
SCENARIO = os.path.join(ROOT, "scenarios", "demo")
STRAIT = os.path.join(SCENARIO, "Strait")
SHIPDATA = os.path.join(STRAIT, "ShipData")
MIDI = os.path.join(SCENARIO, "Midi")
WAVE = os.path.join(SCENARIO, "Wave")
MOVIE = os.path.join(SCENARIO, "Movie")
MODELS = os.path.join(SCENARIO, "3Dimage")


def ensure_folders():
    for folder in (SCENARIO, STRAIT, SHIPDATA, MIDI, WAVE, MOVIE, MODELS):
        os.makedirs(folder, exist_ok=True)


def write_windows_text(path, lines):
    """Writes lines as a Windows author would: Shift-JIS (CP932), CR LF after every line."""
    data = "".join(line + "\r\n" for line in lines).encode("cp932")
    write_bytes(path, data)


def write_bytes(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
