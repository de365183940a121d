#include "orders/map_guides.h"

#include <algorithm>

#include "orders/orders.h"
#include "turn/turn_sequence.h"

namespace velmora {

std::vector<MapDrawing> RouteLines(const GameState& state) {
    std::vector<MapDrawing> out;
    for (const TFleet& fleet : state.FleetTable) {
        if (fleet.Active == 0 || fleet.Side != state.PlayerSide) continue;
        const int length = std::clamp(fleet.RouteLength, 0, kRouteSlots);
        if (length == 0) continue;
        MapPolyline line{PenMode::kCopy, kMapRouteColour, {fleet.Position}};
        for (int k = length - 1; k >= 0; --k)
            line.Points.push_back(fleet.Route[static_cast<std::size_t>(k)]);
        out.push_back(std::move(line));
    }
    return out;
}

std::vector<MapDrawing> SelectionMark(const GameState& state) {
    const TFleet* fleet = SelectedFleetRecord(state);
    if (fleet == nullptr || fleet->Active == 0) return {};
    const int x = fleet->Position.X, y = fleet->Position.Y;
    const int r = kMapSymbolSize / 2 + 3;
    return {MapPolyline{
        PenMode::kCopy,
        kMapSelectionColour,
        {{x - r, y - r}, {x + r, y - r}, {x + r, y + r}, {x - r, y + r}, {x - r, y - r}}}};
}

std::string ModeHint(const GameState& state) {
    switch (state.MapMode) {
        case kMapModeNoGame:
            return "「ゲ－ム」→「新規」(Ctrl+N) でシナリオを選ぶと始まります";
        case kMapModeMove:
            return "移動: 地図をクリックして航路点を追加、右クリックで取消 (Esc で通常に戻る)";
        case kMapModeSearch:
            return "航空索敵: 円の中をクリックして索敵区域を切替、右クリックで終了";
        case kMapModeAswSearch:
            return "対潜索敵: 円の中をクリックして区域を切替、右クリックで終了";
        case kMapModeAirRaidTarget:
            return "空襲: 目標をクリックしてください";
        case kMapModeAswTarget:
            return "対潜攻撃: 目標をクリックしてください";
        default:
            return "自艦隊をクリックで選択、敵艦隊をクリックで情報、右クリックでメニュー (F1 "
                   "で操作一覧)";
    }
}

std::string StatusLineText(const GameState& state) {
    if (state.MapMode == kMapModeNoGame) return ModeHint(state);
    std::string text = std::to_string(state.Turn) + "ターン " + std::to_string(state.Hour) + "時 " +
                       std::string(DayPhase(state.Hour));
    if (const TFleet* fleet = SelectedFleetRecord(state); fleet != nullptr && fleet->Active != 0)
        text += " | " + fleet->Name.str();
    return text + " | " + ModeHint(state);
}

}  // namespace velmora
