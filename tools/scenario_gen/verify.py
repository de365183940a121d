"""Reads the written scenario back the way the game does and lists every problem found."""

import os
import re
import struct

from common import MIDI, MODELS, MOVIE, SCENARIO, SHIPDATA, STRAIT, WAVE
from imaging import read_bmp24

COMMANDS = ["talk", "create", "telop", "end", "*", "setpilot", "settype", "setweapon", "wcontinue",
            "setupbgm", "startbgm", "stopbgm", "loadmap", "lcontinue", "graphic", "seteffect", "movie",
            "setcloud", "setvtfuse"]
SPEECH_BREAKERS = ["talk", "create", "telop", "end", "*", "setpilot", "settype", "setweapon", "wcontinue",
                   "setupbgm", "startbgm"]
SECTIONS = ["プロローグ", "スタート", "ターン", "進入", "Exit", "終了"]
INSTALLATION_TYPES = (6, 7)
MAX_SCENARIO_BYTES = 10 * 1024 * 1024


def read_lines(path, problems):
    data = open(path, "rb").read()
    name = os.path.relpath(path, SCENARIO)
    try:
        text = data.decode("cp932")
    except UnicodeDecodeError as e:
        problems.append("%s: not Shift-JIS: %s" % (name, e))
        return []
    if data and not data.endswith(b"\r\n"):
        problems.append("%s: last line has no CR LF" % name)
    if re.search(rb"(?<!\r)\n", data) or re.search(rb"\r(?!\n)", data):
        problems.append("%s: line ends other than CR LF" % name)
    return text.split("\r\n")[:-1] if text.endswith("\r\n") else text.split("\r\n")


def columns(line):
    # the ship and side files keep an empty first column for a leading blank
    parts = re.split(r"[ \r]+", line)
    if parts and parts[-1] == "":
        parts.pop()
    return parts


def number(word):
    return int(word) if re.fullmatch(r"[+-]?\d+", word) else None


def check_unit_files(problems):
    planes = [columns(l) for l in read_lines(os.path.join(SCENARIO, "plane.dat"), problems)]
    ships = [columns(l) for l in read_lines(os.path.join(SCENARIO, "ship.dat"), problems)]
    for i, cols in enumerate(planes):
        if len(cols) != 21:
            problems.append("plane.dat:%d: %d columns, not 21" % (i + 1, len(cols)))
        elif cols[8] not in ("非ステルス", "ステルス", "ビジュアルステルス"):
            problems.append("plane.dat:%d: unknown stealth class %s" % (i + 1, cols[8]))
    for i, cols in enumerate(ships):
        if len(cols) != 25:
            problems.append("ship.dat:%d: %d columns, not 25" % (i + 1, len(cols)))
    plane_keys = [c[1] for c in planes if len(c) > 1]
    for i, cols in enumerate(ships):
        if len(cols) == 25 and cols[23] not in plane_keys:
            problems.append("ship.dat:%d: weapon key %s is not in plane.dat" % (i + 1, cols[23]))
    types = {number(c[0]) for c in ships if c}
    for t in range(1, 8):
        if t not in types:
            problems.append("ship.dat: no class of ship type %d" % t)
    check_text_widths(planes, {1: 255, 2: 30, 4: 30, 6: 30, 8: 30, 9: 50, 10: 30}, "plane.dat", problems)
    check_text_widths(ships, {1: 40, 2: 30, 3: 10, 23: 40, 24: 30}, "ship.dat", problems)
    return planes, ships


def check_text_widths(rows, widths, name, problems):
    for i, cols in enumerate(rows):
        for c, width in widths.items():
            if c < len(cols) and len(cols[c].encode("cp932")) > width:
                problems.append("%s:%d: column %d longer than %d bytes" % (name, i + 1, c, width))


def read_mask(problems):
    result = {}
    for name in ("MAP.Bmp", "BMAP.Bmp"):
        w, h, rgb = read_bmp24(open(os.path.join(SHIPDATA, name), "rb").read())
        if (w, h) != (790, 545):
            problems.append("%s is %dx%d, not 790x545" % (name, w, h))
        result[name] = (w, h, rgb)
    w, h, rgb = result["BMAP.Bmp"]
    colours = {rgb[i:i + 3] for i in range(0, len(rgb), 3)}
    if not colours <= {b"\0\0\0", b"\xff\xff\xff"}:
        problems.append("BMAP.Bmp holds colours other than black and white")
    return lambda x, y: 0 <= x < w and 0 <= y < h and rgb[(y * w + x) * 3:(y * w + x) * 3 + 3] == b"\0\0\0"


def check_side_files(ships, planes, problems):
    class_type = {c[1]: number(c[0]) for c in ships if len(c) > 1}
    fleets = {}
    for side in ("j", "a"):
        for v in range(12):
            name = "%s%d.dat" % (side, v)
            lines = read_lines(os.path.join(SHIPDATA, name), problems)
            if not lines:
                problems.append("%s is empty" % name)
            for n, line in enumerate(lines, 1):
                cols = columns(line)
                if len(cols) != 12:
                    problems.append("%s:%d: %d columns, not 12" % (name, n, len(cols)))
                    continue
                f = number(cols[0])
                low, high = (0, 12) if side == "j" else (13, 24)
                if f is None or not low <= f <= high:
                    problems.append("%s:%d: fleet index %s outside %d..%d" % (name, n, cols[0], low, high))
                    continue
                if cols[1] not in class_type:
                    problems.append("%s:%d: class %s is not in ship.dat" % (name, n, cols[1]))
                    continue
                for c in (7, 9, 11):
                    t = number(cols[c])
                    if t is None or not (0 <= t < len(planes) or t == 255):
                        problems.append("%s:%d: aircraft type %s does not exist" % (name, n, cols[c]))
                ship = {"type": class_type[cols[1]], "supplies": number(cols[3]), "name": cols[2], "cls": cols[1]}
                fleets.setdefault((side, v, f), []).append(ship)
    for key, fleet in fleets.items():
        if len(fleet) > 41:
            problems.append("%s%d.dat: fleet %d has %d ships" % (key[0], key[1], key[2], len(fleet)))
        if any(s["type"] in INSTALLATION_TYPES for s in fleet) and not fleet[0]["supplies"]:
            problems.append("%s%d.dat: base fleet %d has no supplies on its first ship" % key)
    for side in ("j", "a"):
        for v in range(12):
            kinds = {s["type"] for (s_, v_, f), fl in fleets.items() if s_ == side and v_ == v for s in fl}
            for t in ((1, 3, 4, 6, 7) if side == "j" else (1, 2, 3, 4, 5, 6, 7)):
                if t not in kinds:
                    problems.append("%s%d.dat: no ship of type %d" % (side, v, t))
    return fleets


def split_words(line):
    """Word splitting of the script: stored words and the final word."""
    parts = re.split(r"[ \r]+", line)
    return parts[:-1], parts[-1]


def check_script(fleets, is_land, plane_count, problems, positions, speeds):
    path = os.path.join(STRAIT, "strait.snr")
    lines = read_lines(path, problems)
    talk_mode = False
    creates = set()
    last_turn = None
    music, effects, movie = set(), [], None
    for n, raw in enumerate(lines, 1):
        line = raw.lstrip(" \t")
        low = line.lower()
        where = "strait.snr:%d" % n
        if talk_mode and not any(w in low for w in SPEECH_BREAKERS):
            if any(w in low for w in COMMANDS):
                problems.append("%s: speech holds a command word that is taken as speech" % where)
            continue
        hits = [w for w in COMMANDS if w in low]
        sections = [w for w in SECTIONS if w in line and ":" in line]
        if talk_mode and hits not in (["talk"], ["end"]):
            problems.append("%s: speech line holds %s" % (where, hits))
        if len(hits) > 1:
            problems.append("%s: line triggers several commands %s" % (where, hits))
        if len(sections) > 1:
            problems.append("%s: line opens several sections %s" % (where, sections))
        if sections and hits:
            problems.append("%s: section header also holds %s" % (where, hits))
        for s in sections:
            if s == "ターン":
                head = line[line.index("ターン") + 3:line.index(":")].replace(" ", "")
                if number(head) is None:
                    problems.append("%s: turn header %s is not a number" % (where, head))
            if s == "終了":
                last_turn = number(split_words(line.replace(":", "", 1))[1])
                if last_turn is None or not 36 <= last_turn <= 72:
                    problems.append("%s: last turn %s not in 36..72" % (where, last_turn))
        if not hits:
            continue
        words, final = split_words(line)
        cmd = hits[0]
        if cmd == "talk":
            talk_mode = True
        elif cmd == "end":
            talk_mode = False
            if line.strip() != "end":
                problems.append("%s: end line holds more than the command" % where)
        elif cmd == "create":
            if len(words) != 14 or not final:
                problems.append("%s: create line has %d words, not 15" % (where, len(words) + 1))
                continue
            v, f = number(words[1]), number(words[2])
            x, y = number(words[7]), number(words[8])
            if None in (v, f, x, y) or not 0 <= v <= 11 or not 0 <= f <= 24:
                problems.append("%s: bad variant, fleet or position" % where)
                continue
            side = "j" if f <= 12 else "a"
            creates.add((side, v, f))
            fleet = fleets.get((side, v, f))
            if fleet is None:
                problems.append("%s: fleet %d of variant %d has no ships" % (where, f, v))
                continue
            base = any(s["type"] in INSTALLATION_TYPES for s in fleet)
            positions.append((side, f, (x, y), min(speeds[s["cls"]] for s in fleet), base))
            if base:
                near_sea = any(not is_land(x + dx, y + dy) for dx in range(-7, 8) for dy in range(-7, 8))
                if not is_land(x, y) or not near_sea:
                    problems.append("%s: base %d is not on a coast (%d, %d)" % (where, f, x, y))
            else:
                clear = all(not is_land(x + dx, y + dy) for dx in range(-10, 11) for dy in range(-10, 11))
                if not clear:
                    problems.append("%s: fleet %d does not start in open sea (%d, %d)" % (where, f, x, y))
            if side == "j" and y < 250 or side == "a" and y > 250:
                problems.append("%s: fleet %d starts on the wrong side of the strait" % (where, f))
            for w in words[9:] + [final]:
                t = number(w)
                if t is None or not (0 <= t < plane_count or t == 255):
                    problems.append("%s: aircraft type %s does not exist" % (where, w))
        elif cmd == "telop":
            if len(words) > 6:
                problems.append("%s: caption of more than five words" % where)
        elif cmd == "startbgm":
            music.add(final)
        elif cmd == "seteffect":
            effects = words[1:11]
            if len(effects) != 10 or final:
                problems.append("%s: seteffect needs ten names and a trailing blank" % where)
        elif cmd == "movie":
            movie = final
    if talk_mode:
        problems.append("strait.snr: a conversation is never closed with end")
    if last_turn is None:
        problems.append("strait.snr: no end section")
    for key in fleets:
        if key not in creates:
            problems.append("strait.snr: no create line for fleet %d of %s%d.dat" % (key[2], key[0], key[1]))
    for name in music:
        if not os.path.isfile(os.path.join(MIDI, name)):
            problems.append("strait.snr: music %s does not exist" % name)
    for name in effects:
        if not os.path.isfile(os.path.join(WAVE, name)):
            problems.append("strait.snr: cue %s does not exist" % name)
    if not movie or not os.path.isfile(os.path.join(MOVIE, movie)):
        problems.append("strait.snr: movie %s does not exist" % movie)
    return music, effects, movie


def midi_seconds(data):
    """Walks every track of a Standard MIDI File; returns its length in seconds (one tempo assumed)."""
    if data[:4] != b"MThd":
        raise ValueError("no MThd header")
    _, tracks, division = struct.unpack(">HHH", data[8:14])
    pos, tempo, longest = 14, 500000, 0
    for _ in range(tracks):
        if data[pos:pos + 4] != b"MTrk":
            raise ValueError("track chunk missing")
        end = pos + 8 + struct.unpack(">I", data[pos + 4:pos + 8])[0]
        pos, ticks, status = pos + 8, 0, 0
        while pos < end:
            delta = 0
            while True:
                byte = data[pos]
                pos += 1
                delta = (delta << 7) | (byte & 0x7F)
                if byte < 0x80:
                    break
            ticks += delta
            if data[pos] >= 0x80:
                status = data[pos]
                pos += 1
            if status == 0xFF:
                kind, length = data[pos], data[pos + 1]
                if kind == 0x51:
                    tempo = int.from_bytes(data[pos + 2:pos + 5], "big")
                pos += 2 + length
            elif status >> 4 in (0xC, 0xD):
                pos += 1
            elif status >> 4 in (0x8, 0x9, 0xA, 0xB, 0xE):
                pos += 2
            else:
                raise ValueError("unexpected status byte %x" % status)
        if pos != end or data[end - 3:end] != b"\xff\x2f\x00":
            raise ValueError("track does not end with its end-of-track event")
        longest = max(longest, ticks)
    return longest * tempo / 1e6 / division


def check_media(music, effects, movie, problems):
    for name in music:
        path = os.path.join(MIDI, name)
        if os.path.isfile(path):
            data = open(path, "rb").read()
            if data[:4] != b"MThd" or struct.unpack(">H", data[8:10])[0] != 1:
                problems.append("Midi/%s is not a type 1 MIDI file" % name)
                continue
            try:
                if midi_seconds(data) < 60:
                    problems.append("Midi/%s is shorter than a minute" % name)
            except (ValueError, IndexError) as e:
                problems.append("Midi/%s is broken: %s" % (name, e))
    for name in effects:
        path = os.path.join(WAVE, name)
        if os.path.isfile(path):
            data = open(path, "rb").read()
            if data[:4] != b"RIFF" or data[8:12] != b"WAVE" or struct.unpack("<H", data[20:22])[0] != 1 \
                    or struct.unpack("<H", data[34:36])[0] != 16:
                problems.append("Wave/%s is not 16-bit PCM WAVE" % name)
    if movie and os.path.isfile(os.path.join(MOVIE, movie)):
        data = open(os.path.join(MOVIE, movie), "rb").read()
        if data[:4] != b"OggS" or b"\x80theora" not in data[:200]:
            problems.append("Movie/%s is not Ogg Theora" % movie)
        if len(data) >= 1024 * 1024:
            problems.append("Movie/%s is 1 MiB or more" % movie)


def check_model(name, problems):
    path = os.path.join(MODELS, name)
    if not os.path.isfile(path):
        problems.append("3Dimage/%s does not exist" % name)
        return
    lines = read_lines(path, problems)
    if len(lines) < 3 or lines[0].lower() != "metasequoia document" or lines[1].lower() != "format text ver 1.0":
        problems.append("3Dimage/%s: wrong header" % name)
        return
    if lines[-1] != "Eof":
        problems.append("3Dimage/%s: does not end with Eof" % name)
    materials = 0
    vertices = 0
    for line in lines:
        tokens = line.split()
        if not tokens:
            continue
        if tokens[0] == "Material":
            materials = int(tokens[1])
        if tokens[0] == "vertex":
            vertices = int(tokens[1])
        m = re.search(r'tex\("([^"]+)"\)', line)
        if m and not os.path.isfile(os.path.join(MODELS, m.group(1))):
            problems.append("3Dimage/%s: texture %s does not exist" % (name, m.group(1)))
        m = re.match(r"\s*(\d+) V\(([\d ]+)\)(?: M\((\d+)\))?", line)
        if m:
            corners = [int(v) for v in m.group(2).split()]
            if int(m.group(1)) not in (3, 4) or len(corners) != int(m.group(1)):
                problems.append("3Dimage/%s: face with %s corners" % (name, m.group(1)))
            if any(c >= vertices for c in corners) or (m.group(3) and int(m.group(3)) >= materials):
                problems.append("3Dimage/%s: face refers outside its object" % name)


def check_routes(create_positions, is_land, problems):
    """Every moving fleet can sail to the far side: computer fleets to the south edge, the player's
    to the computer's base (the mask read back from BMAP.Bmp, the game's movement rules)."""
    import routes
    mask = [[is_land(x, y) for x in range(790)] for y in range(545)]
    base = next(pos for side, f, pos, speed, is_base in create_positions if side == "a" and is_base)
    for side, f, (x, y), speed, is_base in create_positions:
        if is_base:
            continue
        goal = (x, 540) if side == "a" else base
        if routes.sail(mask, (x, y), goal, speed, 70) is None:
            problems.append("strait.snr: fleet %d at (%d, %d) cannot reach (%d, %d)" % (f, x, y, goal[0], goal[1]))


def check_scenario(with_routes=True):
    problems = []
    planes, ships = check_unit_files(problems)
    is_land = read_mask(problems)
    fleets = check_side_files(ships, planes, problems)
    positions = []
    music, effects, movie = check_script(fleets, is_land, len(planes), problems, positions,
                                         {c[1]: number(c[21]) for c in ships if len(c) == 25})
    if with_routes:
        check_routes(positions, is_land, problems)
    check_media(music, effects, movie, problems)
    for cols in planes:
        if len(cols) == 21:
            check_model(cols[10], problems)
    for cols in ships:
        if len(cols) == 25:
            check_model(cols[24], problems)
    total = sum(os.path.getsize(os.path.join(d, f)) for d, _, files in os.walk(SCENARIO) for f in files)
    if total >= MAX_SCENARIO_BYTES:
        problems.append("the scenario takes %d bytes, more than 10 MiB" % total)
    return problems


if __name__ == "__main__":
    found = check_scenario()
    for p in found:
        print(p)
    print("%d problems" % len(found))
