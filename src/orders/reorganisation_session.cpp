#include "orders/reorganisation_session.h"

#include <algorithm>

#include "orders/orders.h"

namespace velmora {
namespace {

std::vector<std::string> ShipNames(const TFleet& fleet) {
    std::vector<std::string> names;
    const int count = std::clamp(fleet.ShipCount, 0, kShipSlots);
    for (int i = 0; i < count; ++i) names.push_back(fleet.Ships[static_cast<std::size_t>(i)].Name.str());
    return names;
}

bool HasShips(const TFleet& fleet) { return fleet.ShipCount > 0; }

}  // namespace

std::optional<ReorganisationSession> ReorganisationSession::Split(const GameState& state) {
    const TFleet* selected = SelectedFleetRecord(state);
    if (selected == nullptr) return std::nullopt;
    const auto pair = SplitFleet(state, state.SelectedFleet);
    if (!pair) return std::nullopt;
    return ReorganisationSession(*pair, true);
}

std::optional<ReorganisationSession> ReorganisationSession::Join(const GameState& state,
                                                                 Frontend& ui) {
    if (SelectedFleetRecord(state) == nullptr) return std::nullopt;
    const auto pair = JoinFleets(state, ui, state.SelectedFleet);
    if (!pair) return std::nullopt;
    return ReorganisationSession(*pair, false);
}

std::vector<std::string> ReorganisationSession::LeftShips(const GameState& state) const {
    return ShipNames(state.Fleet(pair_.Left));
}

std::vector<std::string> ReorganisationSession::RightShips(const GameState& state) const {
    return ShipNames(state.Fleet(pair_.Right));
}

ReorganisationNames ReorganisationSession::OpeningNames(
    const GameState& state, const ReorganisationNames& previous) const {
    const TFleet& left = state.Fleet(pair_.Left);
    ReorganisationNames names = previous;
    names.LeftCommander = left.Commander.str();
    names.LeftName = left.Name.str();
    if (!split_) {
        const TFleet& right = state.Fleet(pair_.Right);
        names.RightCommander = right.Commander.str();
        names.RightName = right.Name.str();
    }
    return names;
}

bool ReorganisationSession::Move(GameState& state, int pick, int source, int destination) {
    if (!CanMoveShip(state, state.Fleet(source), pick, state.Fleet(destination))) return false;
    return MoveShipWithAircraft(state, pick, source, destination);
}

bool ReorganisationSession::MoveRight(GameState& state) {
    return Move(state, leftPick_, pair_.Left, pair_.Right);
}

bool ReorganisationSession::MoveLeft(GameState& state) {
    return Move(state, rightPick_, pair_.Right, pair_.Left);
}

void ReorganisationSession::Decide(GameState& state, const ReorganisationNames& names) const {
    TFleet& left = state.Fleet(pair_.Left);
    TFleet& right = state.Fleet(pair_.Right);
    left.Commander = names.LeftCommander;
    left.Name = names.LeftName;
    right.Commander = names.RightCommander;
    right.Name = names.RightName;
}

void ReorganisationSession::Close(GameState& state, Frontend& ui) const {
    TFleet& left = state.Fleet(pair_.Left);
    TFleet& right = state.Fleet(pair_.Right);
    if (HasShips(right)) {
        right.Active = 1;
        right.Position = left.Position;
    } else {
        right.Active = 0;
    }
    if (HasShips(left)) {
        left.Active = 1;
    } else {
        left.Active = 0;
        state.SelectedFleet = static_cast<std::uint8_t>(FirstPlayerFleet(state));
    }
    // The fleet tree shows the new fleet and the names at once.
    ui.RefreshPalette();
    ui.RedrawMap();
}

}  // namespace velmora
