// Small game states for the engine tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frontend/recording_frontend.h"
#include "model/fleet_ops.h"
#include "model/game_state.h"

namespace velmora::testing {

// GameState is large; tests keep it on the heap.
inline std::unique_ptr<GameState> NewState(std::uint64_t seed = 1) {
    auto state = std::make_unique<GameState>();
    state->Random.Seed(seed);
    return state;
}

// Makes class `index` a class of the given type and durability.
inline void SetClass(GameState& state, int index, int ship_type, int durability,
                     std::uint8_t speed = 30, std::string weapon = "") {
    TShip& cls = state.ShipClassTable[static_cast<std::size_t>(index)];
    cls.ClassIndex = ship_type;
    cls.Durability = durability;
    cls.Speed = speed;
    cls.WeaponKey = weapon;
    cls.Name = "class" + std::to_string(index);
    state.ShipClassLast = std::max(state.ShipClassLast, index);
}

// Puts fleet `index` in play with one ship of each listed class.
inline TFleet& PlaceFleet(GameState& state, int index, Point position,
                          const std::vector<int>& classes, std::uint8_t speed = 30) {
    TFleet& fleet = state.FleetTable[static_cast<std::size_t>(index)];
    fleet = TFleet{};
    fleet.Active = 1;
    fleet.Side = index <= kPlayerFleetLast ? state.PlayerSide : state.ComputerSide;
    fleet.Name = "fleet" + std::to_string(index);
    fleet.Position = position;
    fleet.Speed = 255;
    for (std::size_t i = 0; i < classes.size(); ++i) {
        AddShip(state, fleet, classes[i], "ship" + std::to_string(index) + "_" + std::to_string(i),
                {});
    }
    fleet.Speed = speed;
    return fleet;
}

// Waypoints listed oldest first, stored newest first as the route keeps them.
inline void SetRoute(TFleet& fleet, const std::vector<Point>& oldest_first) {
    fleet.RouteLength = static_cast<std::int32_t>(oldest_first.size());
    for (std::size_t i = 0; i < oldest_first.size(); ++i) {
        fleet.Route[oldest_first.size() - 1 - i] = oldest_first[i];
    }
}

inline void FillLand(GameState& state, int x0, int y0, int x1, int y1) {
    for (int x = x0; x <= x1; ++x) {
        for (int y = y0; y <= y1; ++y) state.LandMask.Set(x, y, true);
    }
}

}  // namespace velmora::testing
