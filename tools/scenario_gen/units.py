"""Aircraft types (plane.dat) and ship classes (ship.dat) of the Velmora Strait scenario.

Figures are chosen against the combat rules: ranges in map pixels (the chart is
790 x 545, the fleets start some 330 pixels apart), speeds in pixels per turn,
evasion and attack power on the 1..6 dice of air combat, accuracies in percent.
"""

import os

from common import SCENARIO, write_windows_text

NONE_TEXT = "なし"
NO_ANTI_SHIP = "対艦兵装なし"


class Aircraft:
    COLUMNS = 21

    def __init__(self, kind, key, air_missile, anti_ship, per_aircraft, ordnance, crew, stealth,
                 description, model, evasion, attack, radius, bomb_power, bomb_accuracy,
                 torpedo_power, torpedo_accuracy, electronic, asw_sensor, asw_power):
        self.kind = kind
        self.key = key
        self.air_missile = air_missile
        self.anti_ship = anti_ship
        self.per_aircraft = per_aircraft
        self.ordnance = ordnance
        self.crew = crew
        self.stealth = stealth
        self.description = description
        self.model = model
        self.figures = (evasion, attack, radius, bomb_power, bomb_accuracy,
                        torpedo_power, torpedo_accuracy, electronic, asw_sensor, asw_power)

    def columns(self):
        return [str(self.kind), self.key, self.air_missile, "0", self.anti_ship,
                str(self.per_aircraft), self.ordnance, str(self.crew), self.stealth,
                self.description, self.model] + [str(v) for v in self.figures]


# Kind codes in column 0: 1 fighter, 2 attack aircraft, 3 search aircraft, 4 ASW patrol, 9 missile.
AIRCRAFT = [
    # Southern Concord (the player)
    Aircraft(1, "SCF-7アルヴェン", "LMA-9ラムダ", NO_ANTI_SHIP, 0, "小型誘導爆弾", 1, "非ステルス",
             "南方連合の艦上制空戦闘機", "scf7_alven.mqo", 5, 3, 230, 8, 30, 0, 0, 2, 0, 0),
    Aircraft(1, "SCF-9ゼファール", "LMA-11シグマ", NO_ANTI_SHIP, 0, "小型誘導爆弾", 1, "ステルス",
             "南方連合の艦上ステルス戦闘機", "scf9_zephal.mqo", 6, 3, 250, 8, 35, 0, 0, 3, 0, 0),
    Aircraft(2, "SCA-4トリスタ", "自衛用LMA-5", "空対艦ミサイルAVM-5", 2, "精密誘導爆弾", 2, "非ステルス",
             "南方連合の艦上攻撃機", "sca4_trista.mqo", 3, 1, 260, 22, 40, 0, 0, 2, 0, 0),
    Aircraft(2, "SCA-6ノクスティア", "自衛用LMA-5", "空対艦ミサイルAVM-5", 2, "精密誘導爆弾", 2, "ビジュアルステルス",
             "南方連合の艦上ステルス攻撃機", "sca6_noxtia.mqo", 4, 1, 240, 24, 42, 0, 0, 3, 0, 0),
    Aircraft(3, "SCE-2ルクス", NONE_TEXT, NO_ANTI_SHIP, 0, NONE_TEXT, 3, "非ステルス",
             "南方連合の艦上早期警戒機", "sce2_lux.mqo", 2, 0, 300, 0, 0, 0, 0, 5, 1, 0),
    Aircraft(4, "SCP-3マーレン", NONE_TEXT, NO_ANTI_SHIP, 0, "対潜爆雷", 8, "非ステルス",
             "南方連合の陸上対潜哨戒機", "scp3_maren.mqo", 2, 0, 320, 12, 30, 20, 40, 4, 8, 6),
    # Northern Pact (the computer)
    Aircraft(1, "NPF-31ドラヴィク", "VZ-6ドロム", NO_ANTI_SHIP, 0, "小型誘導爆弾", 1, "非ステルス",
             "北洋同盟の艦上戦闘機", "npf31_dravik.mqo", 5, 3, 220, 8, 30, 0, 0, 2, 0, 0),
    Aircraft(1, "NPF-40カズィム", "VZ-9クシャル", NO_ANTI_SHIP, 0, "小型誘導爆弾", 1, "ステルス",
             "北洋同盟の艦上ステルス戦闘機", "npf40_kazym.mqo", 6, 4, 240, 8, 30, 0, 0, 3, 0, 0),
    Aircraft(2, "NPB-12グラディム", "自衛用VZ-6", "空対艦ミサイルVRK-9", 2, "無誘導爆弾", 2, "非ステルス",
             "北洋同盟の艦上攻撃機", "npb12_gradim.mqo", 3, 1, 250, 22, 38, 0, 0, 2, 0, 0),
    Aircraft(3, "NPR-5ヴィジル", NONE_TEXT, NO_ANTI_SHIP, 0, NONE_TEXT, 3, "非ステルス",
             "北洋同盟の艦上偵察機", "npr5_vigil.mqo", 2, 0, 300, 0, 0, 0, 0, 5, 1, 0),
    Aircraft(4, "NPP-8ソナリス", NONE_TEXT, NO_ANTI_SHIP, 0, "対潜爆雷", 9, "非ステルス",
             "北洋同盟の陸上対潜哨戒機", "npp8_sonaris.mqo", 2, 0, 320, 12, 30, 20, 40, 4, 8, 6),
    # Ship-launched anti-ship missiles, named by the classes' weapon keys
    Aircraft(9, "AVM-3", NONE_TEXT, "艦対艦ミサイルAVM-3", 1, "高性能炸薬弾頭", 0, "非ステルス",
             "南方連合の艦対艦誘導弾", "avm3_missile.mqo", 1, 0, 120, 20, 45, 0, 0, 0, 0, 0),
    Aircraft(9, "VRK-17", NONE_TEXT, "艦対艦ミサイルVRK-17", 1, "半徹甲弾頭", 0, "非ステルス",
             "北洋同盟の艦対艦誘導弾", "vrk17_missile.mqo", 1, 0, 130, 22, 42, 0, 0, 0, 0, 0),
]


def aircraft_index(key):
    for i, a in enumerate(AIRCRAFT):
        if a.key == key:
            return i
    raise KeyError(key)


class ShipClass:
    COLUMNS = 25

    def __init__(self, ship_type, name, title, code, electronic, asw_sensor, asw_patrol, asw_moving,
                 durability, capacity, deck_standby, main_gun, main_range, second_gun, second_range,
                 missiles, value16, side_armour, deck_armour, area, point, speed, recon, weapon, model):
        self.ship_type = ship_type
        self.name = name
        self.title = title
        self.code = code
        self.numbers = (electronic, asw_sensor, asw_patrol, asw_moving, durability, capacity,
                        deck_standby, main_gun, main_range, second_gun, second_range, missiles,
                        value16, side_armour, deck_armour, area, point, speed, recon)
        self.weapon = weapon
        self.model = model
        self.capacity = capacity
        self.speed = speed

    def columns(self):
        return ([str(self.ship_type), self.name, self.title, self.code]
                + [str(v) for v in self.numbers] + [self.weapon, self.model])


PLAIN = "非ステルス"
STEALTHY = "ステルス"

#                    type name            title           code    EW sen pat mov  dur cap stb  mg rng sg rng msl v16 sa da  AD  PD spd rec weapon    model
SHIP_CLASSES = [
    ShipClass(1, "ヴェルダリス", "正規空母", PLAIN, 3, 2, 0, 0, 320, 60, 30, 0, 0, 2, 8, 0, 1, 40, 50, 6, 8, 24, 4, "AVM-3", "verdalis_cv.mqo"),
    ShipClass(1, "フィオレスタ", "軽空母", PLAIN, 2, 2, 0, 0, 220, 32, 18, 0, 0, 2, 8, 0, 1, 20, 30, 4, 6, 26, 2, "AVM-3", "fioresta_cvl.mqo"),
    ShipClass(2, "グランディオ", "ミサイル戦艦", PLAIN, 3, 2, 2, 1, 400, 0, 0, 6, 40, 4, 15, 12, 2, 90, 70, 14, 10, 22, 2, "AVM-3", "grandio_bb.mqo"),
    ShipClass(3, "セリュオン", "防空巡洋艦", STEALTHY, 4, 4, 3, 2, 180, 0, 0, 2, 20, 2, 10, 8, 3, 30, 20, 18, 8, 28, 2, "AVM-3", "seryuon_cg.mqo"),
    ShipClass(4, "ラピエル", "汎用駆逐艦", STEALTHY, 2, 5, 4, 3, 110, 0, 0, 1, 15, 2, 8, 6, 4, 10, 10, 8, 6, 30, 1, "AVM-3", "rapiel_dd.mqo"),
    ShipClass(4, "ティルセア", "対潜駆逐艦", PLAIN, 2, 8, 6, 5, 100, 0, 0, 1, 15, 2, 8, 4, 4, 10, 10, 6, 6, 30, 2, "AVM-3", "tilseia_dd.mqo"),
    ShipClass(5, "ポルタナ", "高速輸送船", PLAIN, 0, 0, 0, 0, 70, 0, 0, 0, 0, 1, 5, 0, 5, 5, 5, 0, 2, 18, 0, "AVM-3", "portana_ap.mqo"),
    ShipClass(6, "南方航空基地", "航空基地", PLAIN, 4, 3, 0, 0, 600, 80, 40, 0, 0, 0, 0, 16, 6, 120, 100, 12, 8, 10, 6, "AVM-3", "south_base.mqo"),
    ShipClass(7, "南方防空陣地", "防空陣地", PLAIN, 3, 0, 0, 0, 200, 0, 0, 0, 0, 4, 12, 0, 7, 80, 60, 40, 16, 10, 0, "AVM-3", "south_aa_site.mqo"),
    ShipClass(1, "ドラグニール", "正規空母", PLAIN, 3, 2, 0, 0, 340, 60, 30, 0, 0, 2, 8, 0, 1, 45, 50, 6, 8, 22, 4, "VRK-17", "dragnir_cv.mqo"),
    ShipClass(1, "ゼムリク", "航空巡洋艦", PLAIN, 3, 3, 1, 1, 260, 28, 16, 2, 25, 2, 10, 8, 1, 40, 40, 8, 6, 24, 2, "VRK-17", "zemrik_cvh.mqo"),
    ShipClass(2, "グラウベン", "重ミサイル戦艦", PLAIN, 3, 2, 1, 1, 420, 0, 0, 8, 45, 4, 15, 16, 2, 100, 80, 12, 10, 20, 2, "VRK-17", "grauben_bb.mqo"),
    ShipClass(3, "ストラゴン", "ミサイル巡洋艦", PLAIN, 3, 3, 2, 2, 190, 0, 0, 2, 20, 2, 10, 12, 3, 35, 25, 14, 8, 26, 2, "VRK-17", "stragon_cg.mqo"),
    ShipClass(4, "ヴィクセル", "駆逐艦", PLAIN, 2, 4, 4, 3, 105, 0, 0, 1, 15, 2, 8, 8, 4, 10, 10, 6, 6, 30, 1, "VRK-17", "vixel_dd.mqo"),
    ShipClass(4, "ザリク", "護衛駆逐艦", PLAIN, 2, 6, 5, 4, 95, 0, 0, 1, 15, 2, 8, 4, 4, 10, 10, 8, 6, 28, 1, "VRK-17", "zarik_dd.mqo"),
    ShipClass(5, "カルゴナ", "揚陸輸送船", PLAIN, 0, 0, 0, 0, 75, 0, 0, 0, 0, 1, 5, 0, 5, 5, 5, 0, 2, 16, 0, "VRK-17", "kargona_ap.mqo"),
    ShipClass(6, "北方要塞基地", "要塞基地", PLAIN, 4, 3, 0, 0, 650, 80, 40, 0, 0, 0, 0, 16, 6, 130, 110, 12, 8, 10, 6, "VRK-17", "north_base.mqo"),
    ShipClass(7, "北方防空陣地", "防空陣地", PLAIN, 3, 0, 0, 0, 210, 0, 0, 0, 0, 4, 12, 0, 7, 80, 60, 40, 16, 10, 0, "VRK-17", "north_aa_site.mqo"),
]


def class_by_name(name):
    for c in SHIP_CLASSES:
        if c.name == name:
            return c
    raise KeyError(name)


def write_unit_files():
    write_windows_text(os.path.join(SCENARIO, "plane.dat"), [" ".join(a.columns()) for a in AIRCRAFT])
    write_windows_text(os.path.join(SCENARIO, "ship.dat"), [" ".join(c.columns()) for c in SHIP_CLASSES])
