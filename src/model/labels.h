// The game's fixed vocabulary, indexed by the codes stored in the records.
#pragma once

#include <array>
#include <string_view>

namespace velmora {

inline constexpr std::array<std::string_view, 8> ShipTypeLabels{
    "", "空母", "戦艦", "巡洋艦", "駆逐艦", "輸送船", "基地", "対空砲"};

inline constexpr std::array<std::string_view, 13> FleetNameLabels{
    "第一艦隊",   "第二艦隊",   "第三艦隊",   "第四艦隊",   "第五艦隊",
    "第六艦隊",   "第一潜水隊", "第二潜水隊", "第三潜水隊", "第四潜水隊",
    "第五潜水隊", "第六潜水隊", "基地"};

inline constexpr std::array<std::string_view, 6> LoadoutLabels{
    "対艦装備", "対地装備", "対艦装備", "対地装備", "索敵装備", "CAP装備"};

inline constexpr std::array<std::string_view, 8> AirStateLabels{
    "通常", "整備中", "発進準備完了", "兵装転換中1", "兵装転換中2", "出撃中", "帰還中", "破壊"};

inline constexpr std::array<std::string_view, 4> DeckStateLabels{
    "通常状態", "着艦不能", "発艦不能", "発着不能"};

inline constexpr std::array<std::string_view, 47> IrohaTable{
    "イ", "ロ", "ハ", "ニ", "ホ", "ヘ", "ト", "チ", "リ", "ヌ", "ル", "ヲ", "ワ", "カ", "ヨ", "タ",
    "レ", "ソ", "ツ", "ネ", "ナ", "ラ", "ム", "ウ", "ヰ", "ノ", "オ", "ク", "ヤ", "マ", "ケ", "フ",
    "コ", "エ", "テ", "ア", "サ", "キ", "ユ", "メ", "ミ", "シ", "ヱ", "ヒ", "モ", "セ", "ス"};

inline constexpr std::array<std::string_view, 19> ScriptSectionWords{
    "プロローグ", "スタート", "ターン", "進入", "Exit", "終了"};

inline constexpr std::array<std::string_view, 19> ScriptCommandWords{
    "talk",      "create",   "telop",    "end",     "*",         "setpilot", "settype",
    "setweapon", "wcontinue", "setupbgm", "startbgm", "stopbgm",  "loadmap",  "lcontinue",
    "Graphic",   "seteffect", "movie",    "setcloud", "setvtfuse"};

// Bounds-checked lookup: a code outside the table has no text.
template <std::size_t N>
std::string_view LabelAt(const std::array<std::string_view, N>& table, long index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) return {};
    return table[static_cast<std::size_t>(index)];
}

// Takes the next designation letter: a counter of 47 or more wraps to 0
// first, wherever a designation is given.
struct GameState;
std::string_view TakeDesignation(GameState& state);

}  // namespace velmora
