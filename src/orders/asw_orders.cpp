#include "orders/asw_orders.h"

#include <string>
#include <vector>

#include "combat/asw.h"
#include "orders/orders.h"

namespace velmora {
namespace {

constexpr std::string_view kListCaption = "目標";

}  // namespace

bool OrderAswAttack(GameState& state) {
    if (SelectedFleetRecord(state) == nullptr) return false;
    state.MapMode = kMapModeAswTarget;
    return true;
}

std::optional<int> ChooseAswTarget(GameState& state, Frontend& ui, Point p) {
    TFleet* fleet = SelectedFleetRecord(state);
    if (fleet == nullptr) return std::nullopt;
    state.MapMode = kMapModeNormal;
    std::vector<std::string> names;
    std::vector<int> indices;
    for (const AswCandidate& c : AswCandidates(state, *fleet, p)) {
        if (!c.InRange) {
            ui.MessageOk("距離外", "対潜攻撃距離外です。");
            continue;
        }
        names.push_back(c.Name);
        indices.push_back(c.Index);
    }
    if (names.empty()) return std::nullopt;
    const int picked = ui.PickTarget(kListCaption, names);
    if (picked < 0 || picked >= static_cast<int>(indices.size())) return std::nullopt;
    fleet->AswTarget = indices[static_cast<std::size_t>(picked)];
    return fleet->AswTarget;
}

}  // namespace velmora
