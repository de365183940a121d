// Small states for the combat tests: weapon and aircraft types, ship
// classes with their defences, and the four cue files.
#pragma once

#include <string>
#include <vector>

#include "support/state_fixture.h"

namespace velmora::testing {

// A type named `name` (and shown so); the test sets what else it needs.
inline AircraftType& SetType(GameState& state, int index, const std::string& name) {
    AircraftType& t = state.AircraftTypeTable[static_cast<std::size_t>(index)];
    t.Name = name;
    t.DisplayName = name;
    t.StealthClass = "非ステルス";
    state.AircraftTypeCount = std::max(state.AircraftTypeCount, index + 1);
    return t;
}

// A class with a name, its type, durability and area defence.
inline void SetDefendedClass(GameState& state, int index, int ship_type, int durability,
                             int area_defence, const std::string& name) {
    SetClass(state, index, ship_type, durability);
    TShip& cls = state.ShipClassTable[static_cast<std::size_t>(index)];
    cls.AreaDefence = area_defence;
    cls.Name = name;
}

inline void SetCues(GameState& state) {
    state.EffectFile[1] = "run.wav";
    state.EffectFile[2] = "boom.wav";
    state.EffectFile[5] = "hit.wav";
    state.EffectFile[6] = "fire.wav";
}

// The texts of the battle messages, in order.
inline std::vector<std::string> BattleLines(const RecordingFrontend& frontend) {
    std::vector<std::string> lines;
    for (const std::string& call : frontend.CallsOf("ShowBattleMessage")) {
        lines.push_back(call.substr(std::string("ShowBattleMessage\t").size()));
    }
    return lines;
}

inline int CountContaining(const std::vector<std::string>& lines, const std::string& part) {
    int n = 0;
    for (const std::string& line : lines) n += line.find(part) != std::string::npos ? 1 : 0;
    return n;
}

}  // namespace velmora::testing
