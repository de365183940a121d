// Data the engine hands to the front end for display.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

// Everything the victory window shows. Index 0 is the player's half (left),
// 1 the computer's (right); by-type arrays are indexed by ShipType 1..5.
struct VictoryReport {
    std::string Outcome;  // "プレイヤー側勝利", "プレイヤー側敗北" or "両軍引き分け"
    std::array<std::int32_t, 2> Totals{};          // プレイヤー得点 / コンピュター得点
    std::array<std::int32_t, 2> LandingShown{};    // 揚陸ポイント
    std::array<std::array<std::int32_t, 6>, 2> Sunk{};
    std::array<std::array<std::int32_t, 6>, 2> Damaged{};
    std::array<std::int32_t, 2> CapturePoints{};   // 敵基地制圧得点
    std::array<std::int32_t, 2> AircraftLosses{};  // 航空機損害
    std::array<std::vector<std::string>, 2> SunkNames{};
};

}  // namespace velmora
