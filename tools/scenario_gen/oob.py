"""Twelve orders of battle per side: the side files j0..j11 / a0..a11 and the fleets' create lines.

Each variant is built from a deployment (where the groups start) and a
composition (which ships and aircraft they take), so that no two variants of
one side are the same game.
"""

import os
import random

from chart import WIDTH, HEIGHT, coastal_base_point, island_by_name
from common import SHIPDATA, write_windows_text
from units import aircraft_index, class_by_name

NO_TYPE = 255
SEA_MARGIN = 16


class Ship:
    def __init__(self, cls, name, supplies=0, resistance=70, fire_control=60, aircraft=(0, 0, 0)):
        self.cls = cls
        self.name = name
        self.supplies = supplies
        self.resistance = resistance
        self.fire_control = fire_control
        self.aircraft = aircraft


class Fleet:
    def __init__(self, index, commander, name, route, stance, position, air_types, ships):
        self.index = index
        self.commander = commander
        self.name = name
        self.route = route
        self.stance = stance
        self.position = position
        self.air_types = air_types
        self.ships = ships

    def side_lines(self):
        lines = []
        for s in self.ships:
            counts = s.aircraft
            lines.append(" ".join(str(v) for v in (
                self.index, s.cls, s.name, s.supplies, s.resistance, s.fire_control,
                counts[0], self.air_types[0], counts[1], self.air_types[1], counts[2], self.air_types[2])))
        return lines

    def create_line(self, variant):
        words = ["create", variant, self.index, self.commander, self.name, self.route, self.stance,
                 self.position[0], self.position[1]] + list(self.air_types) + [NO_TYPE] * 3
        return " ".join(str(w) for w in words)


class NamePool:
    """Hands out invented ship names; every variant starts at its own place in each list."""

    def __init__(self, names, offset):
        self.names = names
        self.next = offset % len(names)
        self.used = set()

    def take(self):
        for _ in range(len(self.names)):
            name = self.names[self.next]
            self.next = (self.next + 1) % len(self.names)
            if name not in self.used:
                self.used.add(name)
                return name
        raise RuntimeError("name pool exhausted")


PLAYER_NAMES = {
    "ヴェルダリス": ["ヴェルダリス", "セラフィナ", "ルシェンヌ", "アルヴィナ"],
    "フィオレスタ": ["フィオレスタ", "ミレイユ", "ソレイナ"],
    "グランディオ": ["グランディオ", "マグナリア", "レグノール"],
    "セリュオン": ["セリュオン", "ティエラン", "ヴィオネル", "カルセイン", "ミルディア", "エレオール"],
    "ラピエル": ["ラピエル", "ソルヴェ", "フィンネル", "パルセ", "ミナレ", "オルミナ", "ヴェイラ",
                 "ユリエ", "ナーヴェ", "リゼル", "テオル", "ピエルナ"],
    "ティルセア": ["ティルセア", "セロフィ", "ウィスタ", "クレイナ", "ハーヴェン", "ルネット"],
    "ポルタナ": ["ポルタナ一号", "ポルタナ二号", "ポルタナ三号", "ポルタナ四号", "ポルタナ五号"],
}

COMPUTER_NAMES = {
    "ドラグニール": ["ドラグニール", "グロムヴァルト", "ヴァルゴール"],
    "ゼムリク": ["ゼムリク", "ストラヴェク", "コルドナ"],
    "グラウベン": ["グラウベン", "ヴォルクス", "ガルデモン"],
    "ストラゴン": ["ストラゴン", "カルディム", "ボルニク", "ザグロム", "ドラヴェン", "ヘルドラン"],
    "ヴィクセル": ["ヴィクセル", "ドルガ", "クラヴェ", "ゴルト", "ヴァシム", "ロスカ", "ベルニク",
                   "スコルダ", "ミラク", "トラヴェン", "グリーザ", "ケスト"],
    "ザリク": ["ザリク", "ハルド", "ヴォズ", "ラズナ", "ドレク", "ズヴェン"],
    "カルゴナ": ["カルゴナ一号", "カルゴナ二号", "カルゴナ三号", "カルゴナ四号", "カルゴナ五号"],
}

PLAYER_COMMANDERS = ["ミレーヌ・ファルク", "オスカ・リンデル", "ユーリ・カッセン", "ティモ・ヴァルト",
                     "ハンナ・ロウエル", "ギデオン・クラウ", "エリク・ソレン", "ナディア・ベルク",
                     "ラウル・ザイデン", "フェリクス・オルム", "アルド・ヴェイン", "イネス・カルヴァ"]
COMPUTER_COMMANDERS = ["ヴィクトル・グラーデ", "ドミトル・ハーゼ", "イゴール・ストラン", "マグナ・レイヴ",
                       "コンラート・ヴェーゼル", "ザハル・モロス", "アレクセイ・ノルヴァ", "ゲルト・ボラン",
                       "ルスラン・ケーデ", "オレグ・ヴィンツ", "スタニス・ドルゴ", "パヴェル・グロム"]

STANCES = ["普通", "攻撃", "防御", "強襲"]

PLAYER_BASE_ISLAND = "リゼッタ島"
COMPUTER_BASE_ISLAND = "ハルヴィク島"
PLAYER_BASE_FLEET = 12
COMPUTER_BASE_FLEET = 19


def sea_point(mask, dist, x, y, rng, spread=12):
    """The nearest point to (x, y) (after a small jitter) that lies at sea, clear of land and edges."""
    x += rng.randint(-spread, spread)
    y += rng.randint(-spread, spread)
    best = None
    for r in range(0, 120):
        for dx in range(-r, r + 1):
            for dy in (-r, r) if abs(dx) != r else range(-r, r + 1):
                px, py = x + dx, y + dy
                if not (30 <= px < WIDTH - 30 and 25 <= py < HEIGHT - 25):
                    continue
                # on odd rows the game's line walk starts 16 pixels to the right: keep that clear too
                shifted = min(px + 16, WIDTH - 1)
                if dist[py][px] >= SEA_MARGIN and dist[py][shifted] >= 4:
                    best = (px, py)
                    break
            if best:
                break
        if best:
            return best
    raise RuntimeError("no sea near %d,%d" % (x, y))


# Starting areas. The player gathers in the south, the computer in the north;
# the strait and its islands lie between them.
PLAYER_DEPLOYMENTS = [
    {"carrier": (330, 500), "surface": (420, 430), "escort": (160, 410), "convoy": (120, 500), "light": (560, 480)},
    {"carrier": (560, 470), "surface": (460, 420), "escort": (700, 395), "convoy": (380, 510), "light": (150, 500)},
    {"carrier": (120, 490), "surface": (220, 400), "escort": (400, 460), "convoy": (60, 420), "light": (520, 500)},
    {"carrier": (450, 500), "surface": (330, 420), "escort": (560, 410), "convoy": (150, 500), "light": (740, 480)},
    {"carrier": (740, 420), "surface": (600, 390), "escort": (520, 470), "convoy": (430, 510), "light": (300, 410)},
    {"carrier": (380, 460), "surface": (110, 380), "escort": (740, 380), "convoy": (560, 510), "light": (170, 510)},
]

COMPUTER_DEPLOYMENTS = [
    {"carrier": (380, 60), "second": (690, 60), "battle": (250, 150), "van": (470, 140), "convoy": (640, 40), "picket": (120, 80)},
    {"carrier": (220, 60), "second": (420, 110), "battle": (660, 160), "van": (330, 150), "convoy": (480, 40), "picket": (740, 90)},
    {"carrier": (660, 170), "second": (310, 70), "battle": (440, 130), "van": (160, 170), "convoy": (700, 50), "picket": (60, 60)},
    {"carrier": (450, 50), "second": (150, 110), "battle": (700, 110), "van": (560, 160), "convoy": (620, 45), "picket": (300, 160)},
    {"carrier": (120, 60), "second": (740, 60), "battle": (400, 160), "van": (260, 110), "convoy": (500, 45), "picket": (660, 170)},
    {"carrier": (300, 110), "second": (480, 60), "battle": (170, 170), "van": (690, 150), "convoy": (740, 40), "picket": (420, 170)},
]


def player_variant(v, mask, dist):
    rng = random.Random(1000 + v)
    names = {k: NamePool(n, v * 3) for k, n in PLAYER_NAMES.items()}
    deploy = PLAYER_DEPLOYMENTS[v % 6]
    commanders = PLAYER_COMMANDERS[v:] + PLAYER_COMMANDERS[:v]
    stealthy = v % 3 == 1
    fighter = aircraft_index("SCF-9ゼファール" if stealthy else "SCF-7アルヴェン")
    attack = aircraft_index("SCA-6ノクスティア" if v % 4 == 3 else "SCA-4トリスタ")
    search = aircraft_index("SCE-2ルクス")
    patrol = aircraft_index("SCP-3マーレン")
    air = [fighter, attack, search]
    fleets = []

    def ships(cls, count, **kw):
        return [Ship(cls, names[cls].take(), **kw) for _ in range(count)]

    # First fleet: the carrier group, sometimes with a second carrier
    loads = [(24, 24, 6), (28, 20, 6), (20, 28, 6), (26, 22, 8)][v % 4]
    group = [Ship("ヴェルダリス", names["ヴェルダリス"].take(), resistance=65, fire_control=55, aircraft=loads)]
    if v in (2, 7, 10):
        group.append(Ship("フィオレスタ", names["フィオレスタ"].take(), resistance=60, fire_control=50,
                          aircraft=(16, 10, 4)))
    group += ships("セリュオン", 1 + v % 2, resistance=75, fire_control=75)
    group += ships("ラピエル", 2 + (v % 3), resistance=70, fire_control=65)
    fleets.append(Fleet(0, commanders[0], "第一機動艦隊", "直行", STANCES[v % 2],
                        sea_point(mask, dist, *deploy["carrier"], rng), air, group))

    # Second fleet: the surface striking force
    group = []
    if v % 3 != 2:
        group += ships("グランディオ", 1 + (v == 5), resistance=80, fire_control=80)
    group += ships("セリュオン", 1 + (v % 3 == 2), resistance=75, fire_control=75)
    group += ships("ラピエル", 2 + v % 2, resistance=70, fire_control=65)
    fleets.append(Fleet(1, commanders[1], "第二艦隊", "迂回" if v % 4 == 1 else "直行", STANCES[(v + 1) % 4],
                        sea_point(mask, dist, *deploy["surface"], rng), air, group))

    # Third fleet: the destroyer squadron that hunts submarines and screens the straits
    group = ships("ティルセア", 2 + v % 2, resistance=70, fire_control=60) + ships("ラピエル", 1, resistance=70,
                                                                                 fire_control=65)
    fleets.append(Fleet(2, commanders[2], "第三水雷戦隊", "直行", "防御",
                        sea_point(mask, dist, *deploy["escort"], rng), air, group))

    # Fourth fleet: a landing convoy in half of the variants, to take the northern base
    if v % 2 == 0:
        group = ships("ポルタナ", 2 + v % 3, supplies=100 + 20 * (v % 4), resistance=50, fire_control=30)
        group += ships("ラピエル", 1, resistance=70, fire_control=65)
        fleets.append(Fleet(3, commanders[3], "第四揚陸戦隊", "迂回", "普通",
                            sea_point(mask, dist, *deploy["convoy"], rng), air, group))

    # Fifth fleet: a light carrier group in a third of the variants
    if v % 3 == 0:
        group = [Ship("フィオレスタ", names["フィオレスタ"].take(), resistance=60, fire_control=50,
                      aircraft=(18, 10, 4))]
        group += ships("ティルセア", 2, resistance=70, fire_control=60)
        fleets.append(Fleet(4, commanders[4], "第五護衛艦隊", "直行", "防御",
                            sea_point(mask, dist, *deploy["light"], rng), air, group))

    # The base on its island, supplies on the airfield, patrol aircraft as its search arm
    base_point = coastal_base_point(mask, island_by_name(PLAYER_BASE_ISLAND), 0)
    group = [Ship("南方航空基地", "リゼッタ基地", supplies=260 + 20 * (v % 5), resistance=85, fire_control=70,
                  aircraft=(20 + 2 * (v % 3), 16, 8)),
             Ship("南方防空陣地", "リゼッタ防空陣地", resistance=85, fire_control=70)]
    fleets.append(Fleet(PLAYER_BASE_FLEET, commanders[5], "リゼッタ基地", "直行", "防御", base_point,
                        [fighter, aircraft_index("SCA-4トリスタ"), patrol], group))
    return fleets


def computer_variant(v, mask, dist):
    rng = random.Random(2000 + v)
    names = {k: NamePool(n, v * 5) for k, n in COMPUTER_NAMES.items()}
    deploy = COMPUTER_DEPLOYMENTS[v % 6]
    commanders = COMPUTER_COMMANDERS[v:] + COMPUTER_COMMANDERS[:v]
    fighter = aircraft_index("NPF-40カズィム" if v % 4 == 2 else "NPF-31ドラヴィク")
    attack = aircraft_index("NPB-12グラディム")
    search = aircraft_index("NPR-5ヴィジル")
    patrol = aircraft_index("NPP-8ソナリス")
    air = [fighter, attack, search]
    fleets = []

    def ships(cls, count, **kw):
        return [Ship(cls, names[cls].take(), **kw) for _ in range(count)]

    # Fleet 13: the main carrier group
    loads = [(24, 26, 6), (26, 24, 6), (22, 28, 6)][v % 3]
    group = [Ship("ドラグニール", names["ドラグニール"].take(), resistance=65, fire_control=55, aircraft=loads)]
    group += ships("ストラゴン", 1 + (v % 4 == 0), resistance=75, fire_control=70)
    group += ships("ヴィクセル", 2 + v % 3, resistance=70, fire_control=60)
    fleets.append(Fleet(13, commanders[0], "北洋第一機動部隊", "迂回" if v % 3 == 1 else "直行",
                        STANCES[(v + 1) % 4], sea_point(mask, dist, *deploy["carrier"], rng), air, group))

    # Fleet 14: a second carrier group, or an air cruiser group
    if v % 2 == 0:
        group = [Ship("ドラグニール", names["ドラグニール"].take(), resistance=65, fire_control=55,
                      aircraft=(22, 24, 6))]
    else:
        group = [Ship("ゼムリク", names["ゼムリク"].take(), resistance=65, fire_control=60, aircraft=(14, 10, 4))]
    group += ships("ザリク", 2 + (v % 4 == 3), resistance=70, fire_control=55)
    fleets.append(Fleet(14, commanders[1], "北洋第二機動部隊", "直行", STANCES[v % 4],
                        sea_point(mask, dist, *deploy["second"], rng), air, group))

    # Fleet 15: the battle line
    group = ships("グラウベン", 1 + (v % 5 == 4), resistance=80, fire_control=80)
    group += ships("ストラゴン", 1 + v % 2, resistance=75, fire_control=70)
    group += ships("ヴィクセル", 2, resistance=70, fire_control=60)
    fleets.append(Fleet(15, commanders[2], "北洋水上打撃群", "直行", "攻撃",
                        sea_point(mask, dist, *deploy["battle"], rng), air, group))

    # Fleet 16: the vanguard of cruisers and destroyers (absent in a quarter of the variants)
    if v % 4 != 1:
        group = ships("ストラゴン", 1, resistance=75, fire_control=70)
        group += ships("ヴィクセル", 1 + v % 3, resistance=70, fire_control=60)
        group += ships("ザリク", 1, resistance=70, fire_control=55)
        fleets.append(Fleet(16, commanders[3], "北洋前衛戦隊", "迂回" if v % 2 else "直行", "強襲" if v % 5 == 0 else "攻撃",
                            sea_point(mask, dist, *deploy["van"], rng), air, group))

    # Fleet 17: the supply convoy that sails for the northern base
    group = ships("カルゴナ", 2 + v % 3, supplies=90 + 15 * (v % 4), resistance=50, fire_control=30)
    group += ships("ザリク", 1, resistance=70, fire_control=55)
    fleets.append(Fleet(17, commanders[4], "北洋輸送船団", "直行", "防御",
                        sea_point(mask, dist, *deploy["convoy"], rng), air, group))

    # Fleet 18: a picket of destroyers in some variants
    if v % 3 == 2:
        group = ships("ヴィクセル", 2, resistance=70, fire_control=60)
        fleets.append(Fleet(18, commanders[5], "北洋哨戒隊", "直行", "普通",
                            sea_point(mask, dist, *deploy["picket"], rng), air, group))

    base_point = coastal_base_point(mask, island_by_name(COMPUTER_BASE_ISLAND), 180)
    group = [Ship("北方要塞基地", "ハルヴィク要塞", supplies=280 + 20 * (v % 4), resistance=85, fire_control=70,
                  aircraft=(20, 18 + 2 * (v % 3), 8)),
             Ship("北方防空陣地", "ハルヴィク防空陣地", resistance=85, fire_control=70)]
    fleets.append(Fleet(COMPUTER_BASE_FLEET, commanders[6], "ハルヴィク要塞", "直行", "防御", base_point,
                        [aircraft_index("NPF-31ドラヴィク"), attack, patrol], group))
    return fleets


VARIANTS = 12


def build_orders(mask, dist):
    """{('j'|'a', variant): [Fleet]} for all twenty-four orders of battle."""
    orders = {}
    for v in range(VARIANTS):
        orders[("j", v)] = player_variant(v, mask, dist)
        orders[("a", v)] = computer_variant(v, mask, dist)
    return orders


def write_side_files(orders):
    for (side, v), fleets in orders.items():
        lines = [line for fleet in fleets for line in fleet.side_lines()]
        write_windows_text(os.path.join(SHIPDATA, "%s%d.dat" % (side, v)), lines)


def create_lines(orders):
    lines = []
    for side in ("j", "a"):
        for v in range(VARIANTS):
            lines += [fleet.create_line(v) for fleet in orders[(side, v)]]
    return lines


def check_capacities(orders):
    for fleets in orders.values():
        for fleet in fleets:
            for ship in fleet.ships:
                if sum(ship.aircraft) > class_by_name(ship.cls).capacity:
                    raise ValueError("%s carries more aircraft than it holds" % ship.name)
