#!/usr/bin/env python3
"""Writes the fixture scenario's map picture, land mask and script.

  tests/data/fixture/Fixture/ShipData/MAP.Bmp   790 x 545, sea blue, land green
  tests/data/fixture/Fixture/ShipData/BMAP.Bmp  790 x 545, land black, sea white
  tests/data/fixture/Fixture/fixture.snr        Shift-JIS, CRLF

The outputs are committed; run this again after changing it.
"""

import os
import struct

WIDTH, HEIGHT = 790, 545

# Islands (centre x, centre y, radius); every fleet of the script starts at sea.
ISLANDS = [(395, 272, 45), (160, 300, 30), (620, 230, 25)]

# Coast strips (x0, y0, x1, y1) a few pixels off the bases' positions: a base
# stands on the coast, every other fleet at sea.
COASTS = [(630, 50, 705, 56), (690, 504, 765, 510)]

# Fleets of the side files: player 0, 1, 12 (base); computer 13, 14, 15, 24 (base).
FLEETS = [
    # index, commander, name, route, stance, x, y, air types 0..5
    (0, "山本", "第一艦隊", "直進", "普通", 150, 70, (0, 1, 2, 255, 255, 255)),
    (1, "小沢", "第二艦隊", "直進", "攻撃", 300, 60, (0, 1, 2, 255, 255, 255)),
    (12, "基地司令", "基地", "直進", "防御", 640, 60, (0, 1, 2, 255, 255, 255)),
    (13, "ハルゼー", "機動部隊", "迂回", "攻撃", 250, 470, (0, 1, 2, 255, 255, 255)),
    (14, "スプルーアンス", "水上打撃群", "直進", "強襲", 450, 480, (0, 1, 2, 255, 255, 255)),
    (15, "ターナー", "輸送船団", "迂回", "普通", 560, 440, (0, 1, 2, 255, 255, 255)),
    (24, "ニミッツ", "前進基地", "直進", "防御", 700, 500, (0, 1, 2, 255, 255, 255)),
]

SCRIPT_HEAD = """\
* 演習シナリオ
プロローグ:
Talk 司令部
演習海域に敵艦隊が接近しつつある。
全艦隊は直ちに出撃準備に入れ。
end
スタート:
startbgm start.mid
Talk 艦隊司令
全艦、出撃せよ。
end
telop 第一日 演習開始 
seteffect attack.wav bomb.wav hit.wav fire.wav alarm.wav launch.wav land.wav sonar.wav torpedo.wav sink.wav 
movie opening.ogv
setcloud 3
setvtfuse 1.5 1.2
ターン 2:
telop 二日目 敵影あり 
ターン3:
Talk 参謀
敵の索敵機を確認しました。
end
ターン 6 :
startbgm battle.mid
telop 決戦 
進入:
Talk 司令部
増援が到着した。
end
終了: 12
Talk 司令部
演習終了。
end
"""


def is_land(x, y):
    return (any((x - cx) ** 2 + (y - cy) ** 2 <= r * r for cx, cy, r in ISLANDS)
            or any(x0 <= x <= x1 and y0 <= y <= y1 for x0, y0, x1, y1 in COASTS))


def write_bmp(path, palette, index_of):
    """An 8-bit palette bitmap: small, and every reader takes it."""
    row_size = (WIDTH + 3) & ~3
    pixels = bytearray()
    for y in range(HEIGHT - 1, -1, -1):  # bottom-up rows
        row = bytes(index_of(x, y) for x in range(WIDTH))
        pixels += row + b"\0" * (row_size - len(row))
    table = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 54 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 0, len(pixels), 2835, 2835,
                       len(palette), 0)
    with open(path, "wb") as f:
        f.write(header + info + table + pixels)


def create_lines():
    lines = []
    for variant in range(12):
        for index, commander, name, route, stance, x, y, air in FLEETS:
            words = ["create", str(variant), str(index), commander, name, route, stance,
                     str(x + 5 * variant), str(y)] + [str(a) for a in air]
            lines.append(" ".join(words))
    return lines


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = os.path.join(here, "fixture", "Fixture")
    ship_data = os.path.join(folder, "ShipData")
    os.makedirs(ship_data, exist_ok=True)
    for _, _, _, _, _, x, y, _ in FLEETS:
        for variant in range(12):
            assert not is_land(x + 5 * variant, y), (x, y)
    land = lambda x, y: 1 if is_land(x, y) else 0
    write_bmp(os.path.join(ship_data, "MAP.Bmp"), [(20, 60, 150), (40, 140, 60)], land)
    write_bmp(os.path.join(ship_data, "BMAP.Bmp"), [(255, 255, 255), (0, 0, 0)], land)
    text = SCRIPT_HEAD + "\n".join(create_lines()) + "\n"
    with open(os.path.join(folder, "fixture.snr"), "wb") as f:
        f.write(text.replace("\n", "\r\n").encode("cp932"))


if __name__ == "__main__":
    main()
