#!/usr/bin/env python3
"""Writes the unit data of the test scenario under tests/data/fixture.

The files are Shift-JIS with CR LF line ends, as a scenario author on
Windows writes them. Every name is invented. Ship positions are not here:
the scenario script places the fleets. The media files the script names
and the model of every type and class are small stand-ins that pass
velmora-check: a tenth of a second of silence, a one-note MIDI piece, the
movie tests' clip and a one-triangle model.

    python3 tests/data/make_fixture.py
"""

import shutil
import struct
from pathlib import Path

ROOT = Path(__file__).resolve().parent / "fixture"
SHIP_DATA = ROOT / "Fixture" / "ShipData"
VARIANTS = 12

# plane.dat, one type per line, columns 0..20:
# number, key name, anti-air missile, (unused), anti-ship missile,
# missiles per aircraft, ground ordnance, column 7, stealth, description,
# model file, evasion, attack, range, bomb power, bomb accuracy,
# torpedo power, torpedo accuracy, electronic warfare, ASW sensor, ASW power.
AIRCRAFT_TYPES = [
    # index 0: fighter
    [1, "F-7蒼燕", "AAM-3", 0, "なし", 0, "なし", 0, "非ステルス", "艦上戦闘機",
     "f7.mqo", 5, 8, 220, 0, 0, 0, 0, 4, 0, 0],
    # index 1: attack aircraft
    [2, "A-4白隼", "AAM-3", 0, "ASM-2", 2, "五百ポンド爆弾", 0, "非ステルス", "艦上攻撃機",
     "a4.mqo", 3, 3, 180, 6, 60, 8, 55, 3, 0, 0],
    # index 2: search aircraft
    [3, "E-2遠鳴", "なし", 0, "なし", 0, "なし", 0, "非ステルス", "艦上早期警戒機",
     "e2.mqo", 2, 0, 300, 0, 0, 0, 0, 6, 2, 0],
    # index 3: ASW aircraft
    [4, "S-5潮守", "なし", 0, "なし", 0, "対潜爆雷", 0, "非ステルス", "対潜哨戒機",
     "s5.mqo", 2, 0, 250, 2, 40, 0, 0, 2, 8, 6],
    # index 4: the ships' anti-ship missile, named by the classes' weapon key
    [5, "SSM-7", "なし", 0, "七式艦対艦誘導弾", 1, "なし", 0, "ステルス", "艦対艦ミサイル",
     "ssm7.mqo", 4, 10, 150, 12, 70, 0, 0, 3, 0, 0],
]

WEAPON = "SSM-7"

# ship.dat, one class per line, columns 0..24:
# type, class name, class title, class code, electronic warfare, ASW sensor,
# ASW attack (patrol), ASW attack (moving), durability, aircraft capacity,
# deck standby, main gun, main gun range, secondary gun, secondary range,
# missiles, column 16, side armour, deck armour, area defence, point defence,
# speed, recon aircraft, weapon key, model file.
SHIP_CLASSES = [
    [1, "天鷹", "天鷹型航空母艦", "CV", 5, 2, 0, 0, 120, 70, 20, 0, 0, 2, 5,
     0, 0, 4, 6, 8, 12, 30, 4, WEAPON, "tenyo.mqo"],
    [2, "雷峰", "雷峰型戦艦", "BB", 4, 1, 0, 0, 200, 2, 0, 9, 30, 6, 15,
     8, 0, 40, 30, 6, 10, 27, 2, WEAPON, "raiho.mqo"],
    [3, "白嶺", "白嶺型巡洋艦", "CG", 6, 4, 3, 2, 90, 1, 0, 2, 20, 4, 10,
     16, 0, 10, 8, 12, 14, 32, 1, WEAPON, "hakurei.mqo"],
    [4, "霞雲", "霞雲型駆逐艦", "DD", 4, 6, 5, 4, 50, 1, 0, 1, 15, 2, 8,
     8, 0, 4, 2, 6, 10, 34, 0, WEAPON, "kasumo.mqo"],
    [5, "豊浦丸", "豊浦丸型輸送船", "AK", 0, 0, 0, 0, 40, 0, 0, 0, 0, 0, 0,
     0, 0, 1, 1, 0, 2, 16, 0, WEAPON, "toyoura.mqo"],
    [6, "北浜基地", "北浜航空基地", "BASE", 3, 2, 0, 0, 500, 80, 30, 0, 0, 0, 0,
     0, 0, 50, 50, 10, 20, 0, 6, WEAPON, "base.mqo"],
    [7, "岬高射陣地", "岬高射陣地", "AA", 2, 0, 0, 0, 150, 0, 0, 0, 0, 3, 8,
     0, 0, 20, 20, 14, 18, 0, 0, WEAPON, "aa.mqo"],
    [1, "翠鳳", "翠鳳型軽空母", "CVL", 4, 2, 0, 0, 80, 30, 12, 0, 0, 2, 5,
     0, 0, 2, 4, 6, 10, 28, 2, WEAPON, "suiho.mqo"],
]

FIGHTER, ATTACK, SEARCH = 0, 1, 2

DESTROYER_NAMES = ["朝凪", "夕凪", "白波", "青波", "春潮", "秋潮", "若竹", "初霜",
                   "遠雷", "細雪", "夏霞", "冬霞"]
CRUISER_NAMES = ["白嶺", "蒼嶺", "紅嶺", "銀嶺", "玄嶺", "碧嶺"]


def ship(fleet, cls, name, supplies=0, resistance=3, fire=6, air=(0, 0, 0)):
    """One side-file line: fleet, class, name, supplies, suppression
    resistance, fire control, then count and type of each aircraft category.
    Ships without aircraft name the fleet's types too, so the fleet's patrol
    type stays the fighter whichever ship comes last."""
    return [fleet, cls, name, supplies, resistance, fire,
            air[0], FIGHTER, air[1], ATTACK, air[2], SEARCH]


def destroyers(fleet, first, count):
    return [ship(fleet, "霞雲", DESTROYER_NAMES[(first + k) % len(DESTROYER_NAMES)])
            for k in range(count)]


def player_side(n):
    """Fleet 0 a carrier group, fleet 1 a surface group, fleet 12 the base."""
    lines = [
        ship(0, "天鷹", "天鷹", air=(20 + n, 18 + n, 4)),
        ship(0, "翠鳳", "翠鳳", air=(12, 6 + n % 3, 2)),
        ship(0, "白嶺", CRUISER_NAMES[n % len(CRUISER_NAMES)]),
    ]
    lines += destroyers(0, n, 2)
    lines += [ship(1, "雷峰", "雷峰", fire=8),
              ship(1, "白嶺", CRUISER_NAMES[(n + 1) % len(CRUISER_NAMES)])]
    lines += destroyers(1, n + 2, 2 + n % 2)
    lines += [ship(12, "北浜基地", "北浜基地", supplies=200 + 10 * n, air=(12, 12, 4)),
              ship(12, "岬高射陣地", "岬高射陣地")]
    return lines


def computer_side(n):
    """Fleets 13 (surface), 14 (carrier), 15 (transports) and the base 24,
    whose first ship holds its 300 supplies."""
    lines = [ship(13, "雷峰", "雷峰"),
             ship(13, "白嶺", CRUISER_NAMES[(n + 3) % len(CRUISER_NAMES)])]
    lines += destroyers(13, n + 4, 2)
    lines += [ship(14, "天鷹", "天鷹", air=(18 + n, 20, 4))]
    lines += destroyers(14, n + 6, 1 + n % 2)
    lines += [ship(15, "豊浦丸", f"豊浦丸{k + 1}号", supplies=50) for k in range(2 + n % 3)]
    lines += destroyers(15, n + 8, 1)
    if n == 0:
        # A fleet index the table cannot hold: velmora-check must warn.
        lines += [ship(30, "霞雲", "迷走")]
    lines += [ship(24, "北浜基地", "南岬基地", supplies=300, air=(10, 8, 2)),
              ship(24, "岬高射陣地", "南岬高射陣地")]
    return lines


# The files fixture.snr names (tests/data/make_fixture_maps.py writes it).
CUES = ["attack.wav", "bomb.wav", "hit.wav", "fire.wav", "alarm.wav", "launch.wav", "land.wav",
        "sonar.wav", "torpedo.wav", "sink.wav"]
MUSIC = ["start.mid", "battle.mid"]
MOVIE = "opening.ogv"
MOVIE_SOURCE = Path(__file__).resolve().parent / "media" / "launch.ogv"


def silent_wave(rate=8000, samples=800):
    data = b"\0\0" * samples
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + \
        struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def one_note_midi():
    events = bytes([0x00, 0x90, 60, 64, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00])
    header = b"MThd" + struct.pack(">IHHH", 6, 0, 1, 96)
    return header + b"MTrk" + struct.pack(">I", len(events)) + events


def triangle_model(name):
    lines = ["Metasequoia Document", "Format Text Ver 1.0", "",
             "Material 1 {", '\t"grey" col(0.6 0.6 0.6 1.0) dif(0.8) amb(0.6)', "}",
             f'Object "{name}" {{', "\tvisible 15", "\tshading 1", "\tfacet 59.5",
             "\tvertex 3 {", "\t\t-10.0 0.0 0.0", "\t\t10.0 0.0 0.0", "\t\t0.0 0.0 20.0", "\t}",
             "\tface 1 {", "\t\t3 V(0 1 2) M(0)", "\t}", "}", "Eof"]
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def write_media_and_models():
    for name in CUES:
        (ROOT / "Wave").mkdir(parents=True, exist_ok=True)
        (ROOT / "Wave" / name).write_bytes(silent_wave())
    for name in MUSIC:
        (ROOT / "Midi").mkdir(parents=True, exist_ok=True)
        (ROOT / "Midi" / name).write_bytes(one_note_midi())
    (ROOT / "Movie").mkdir(parents=True, exist_ok=True)
    shutil.copyfile(MOVIE_SOURCE, ROOT / "Movie" / MOVIE)
    models = [row[10] for row in AIRCRAFT_TYPES] + [row[24] for row in SHIP_CLASSES]
    (ROOT / "3Dimage").mkdir(parents=True, exist_ok=True)
    for name in models:
        (ROOT / "3Dimage" / name).write_bytes(triangle_model(Path(name).stem))


def write_lines(path, rows):
    path.parent.mkdir(parents=True, exist_ok=True)
    text = "".join(" ".join(str(v) for v in row) + "\r\n" for row in rows)
    path.write_bytes(text.encode("cp932"))


def main():
    write_lines(ROOT / "plane.dat", AIRCRAFT_TYPES)
    write_lines(ROOT / "ship.dat", SHIP_CLASSES)
    for n in range(VARIANTS):
        write_lines(SHIP_DATA / f"j{n}.dat", player_side(n))
        write_lines(SHIP_DATA / f"a{n}.dat", computer_side(n))
    write_media_and_models()


if __name__ == "__main__":
    main()
