"""The scenario script strait.snr: story, turn events, media names and the create lines."""

import os

from common import STRAIT, write_windows_text

LAST_TURN = 48

MUSIC_CALM = "prologue.mid"
MUSIC_NIGHT = "night.mid"
MUSIC_BATTLE = "battle.mid"
MUSIC_VICTORY = "victory.mid"

# Ten cue names in the order of the seteffect words: 1 attack run, 2 explosion,
# 5 impact and 6 defensive fire are the ones the battle rules play.
EFFECTS = ["attack_run.wav", "explosion.wav", "launch.wav", "alarm.wav", "impact.wav",
           "defensive_fire.wav", "radar_ping.wav", "splash.wav", "sonar.wav", "jet_pass.wav"]
MOVIE = "launch.ogv"

ADMIRAL = "連合艦隊司令長官アドリアン・ヴェスト"
CHIEF = "参謀長リディア・ホルン"
INTEL = "情報参謀カイ・ミルナー"
BASE_CHIEF = "リゼッタ基地司令エミール・ドナト"
OBSERVER = "沿岸監視哨"


def telop(*words):
    # Up to five words; the trailing blank keeps the last word in its own slot.
    assert 1 <= len(words) <= 5
    return "telop " + " ".join(words) + " "


def talk(speaker, *speech):
    return ["Talk " + speaker] + list(speech)


def conversation(*turns):
    lines = []
    for speaker, speech in turns:
        lines += talk(speaker, *speech)
    return lines + ["end"]


def script_lines(create_lines):
    lines = ["*ヴェルモラ海峡海戦", ""]

    lines += ["プロローグ:",
              telop("ヴェルモラ海は", "南北ふたつの陣営を", "隔てる内海である"),
              telop("北洋同盟は", "海峡の南に", "進出をはかり"),
              telop("南方連合は", "リゼッタ島を拠点に", "これを迎え撃つ"),
              ""]

    lines += ["スタート:",
              "startbgm " + MUSIC_CALM,
              telop("七月十四日", "午前一時"),
              telop("ヴェルモラ海峡", "南口"),
              telop("南方連合艦隊", "出撃"),
              ]
    lines += conversation(
        (ADMIRAL, ["諸君、北洋同盟の艦隊がハルヴィク島を発ったとの報告が入った。",
                   "敵はヴァレン島とエスケラ島の間の海峡を抜け、リゼッタ基地を衝くつもりだろう。"]),
        (CHIEF, ["敵の主力は空母を中心とした機動部隊です。水上打撃群と輸送船団も続いていると見られます。",
                 "夜明けまでは攻撃隊を発艦できません。まずは索敵機を放ち、敵の位置をつかみましょう。"]),
        (INTEL, ["海峡の中央にはザイラス島があり、水路は東西ともに狭くなっています。",
                 "大艦隊が海峡を抜けるには時間がかかるはずです。島陰を使えば待ち伏せも可能です。"]),
        (BASE_CHIEF, ["リゼッタ基地の航空隊はいつでも出撃できます。物資も十分に蓄えてあります。",
                      "ただし基地が敵の手に落ちれば、我々の負けです。守りは固めておきます。"]),
        (ADMIRAL, ["よろしい。海峡を守り抜き、機会があればハルヴィク要塞を奪い取る。",
                   "全艦隊、行動を開始せよ。"]),
    )
    lines += ["",
              "seteffect " + " ".join(EFFECTS) + " ",
              "movie " + MOVIE,
              "setcloud 4",
              "setvtfuse 1.2 1.0",
              "wcontinue strait.snr",
              "lcontinue strait.snr",
              ""]

    lines += ["進入:"] + create_lines + [""]

    lines += ["ターン3:"]
    lines += conversation(
        (OBSERVER, ["こちらエスケラ島北岬の監視哨。北の水平線に複数の艦影を認む。",
                    "艦種は不明、なお南下中と思われる。"]),
        (CHIEF, ["敵の前衛でしょう。索敵の方位を北へ向けてください。"]),
    )
    lines += [""]

    lines += ["ターン5:",
              "startbgm " + MUSIC_BATTLE,
              telop("午前五時", "払暁"),
              telop("攻撃隊の", "発艦が", "可能となった"),
              ]
    lines += conversation(
        (ADMIRAL, ["夜が明けた。敵を見つけ次第、攻撃隊を送り込め。"]),
        (CHIEF, ["敵の直掩機に注意してください。戦闘機の護衛を十分につけることを勧めます。"]),
    )
    lines += [""]

    lines += ["ターン12:"]
    lines += conversation(
        (INTEL, ["正午の状況をまとめます。敵の輸送船団はハルヴィク要塞へ物資を運び込もうとしています。",
                 "輸送船を沈めれば、要塞の守りは薄くなるはずです。"]),
        (ADMIRAL, ["揚陸戦隊があれば、要塞の沖まで進めて物資を揚げさせよ。"]),
    )
    lines += [""]

    lines += ["ターン19:",
              "startbgm " + MUSIC_NIGHT,
              telop("午後七時", "薄暮"),
              telop("夜間は", "攻撃隊を", "発艦できない"),
              ]
    lines += conversation(
        (CHIEF, ["日が沈みました。夜のうちに艦隊の配置を整えておきましょう。",
                 "敵の機動部隊は夜間に南へ動くことが多いようです。"]),
    )
    lines += [""]

    lines += ["ターン25:",
              telop("七月十五日", "午前一時"),
              ""]

    lines += ["ターン29:",
              "startbgm " + MUSIC_BATTLE,
              telop("午前五時", "二日目の", "夜明け"),
              ]
    lines += conversation(
        (ADMIRAL, ["二日目の朝だ。今日こそ決着をつける。"]),
        (BASE_CHIEF, ["基地の滑走路は復旧済みです。航空隊、発進準備よし。"]),
    )
    lines += [""]

    lines += ["ターン40:"]
    lines += conversation(
        (INTEL, ["敵の残存艦隊が海峡の北で再集結しつつあります。最後の攻勢に出るつもりでしょう。"]),
        (ADMIRAL, ["ここが正念場だ。一隻たりとも海峡を通すな。"]),
    )
    lines += [""]

    lines += ["ターン43:",
              "startbgm " + MUSIC_NIGHT,
              telop("午後七時", "二日目の", "薄暮"),
              ]
    lines += conversation(
        (CHIEF, ["二度目の夜です。残る時間はわずか、戦果を確かめつつ艦隊をまとめましょう。"]),
    )
    lines += [""]

    lines += ["ターン47:",
              telop("作戦終了まで", "あと一時間"),
              ""]

    lines += ["ターン48:",
              "startbgm " + MUSIC_VICTORY,
              telop("七月十五日", "深夜"),
              telop("ヴェルモラ海峡の", "戦いは", "終わった"),
              ""]

    lines += ["終了: %d" % LAST_TURN,
              telop("ヴェルモラ海峡海戦", "完"),
              ]
    return lines


def write_script(create_lines):
    write_windows_text(os.path.join(STRAIT, "strait.snr"), script_lines(create_lines))
