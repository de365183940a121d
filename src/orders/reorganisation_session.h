// The working state of the fleet reorganisation window ("艦隊再編"): which two
// fleets it shows, the list lines last clicked, the moves between them and
// what happens when it closes. Moves change FleetTable at once; closing only
// settles Active, the new fleet's position and, with "決定", the names.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "air/fleet_reorganisation.h"
#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// The four name boxes: commander and name of the left and the right fleet.
struct ReorganisationNames {
    std::string LeftCommander;
    std::string LeftName;
    std::string RightCommander;
    std::string RightName;
    friend bool operator==(const ReorganisationNames&, const ReorganisationNames&) = default;
};

class ReorganisationSession {
  public:
    // "分離" on the selected fleet: nothing when no fleet is selected or no
    // free slot exists.
    static std::optional<ReorganisationSession> Split(const GameState& state);
    // "合流" on the selected fleet: asks for the partner in the choice list.
    static std::optional<ReorganisationSession> Join(const GameState& state, Frontend& ui);

    explicit ReorganisationSession(ReorganisationPair pair, bool split)
        : pair_(pair), split_(split) {}

    int LeftFleet() const { return pair_.Left; }
    int RightFleet() const { return pair_.Right; }
    bool IsSplit() const { return split_; }

    // The ship names of each list, in slot order.
    std::vector<std::string> LeftShips(const GameState& state) const;
    std::vector<std::string> RightShips(const GameState& state) const;

    // The boxes on opening. At a split the right boxes keep what they held,
    // so the right names are taken from `previous`.
    ReorganisationNames OpeningNames(const GameState& state,
                                     const ReorganisationNames& previous) const;

    // A click on a list line remembers it; moves do not change the picks.
    void PickLeft(int row) { leftPick_ = row; }
    void PickRight(int row) { rightPick_ = row; }
    int LeftPick() const { return leftPick_; }
    int RightPick() const { return rightPick_; }

    // ">" (or a double click in the left list) and "<": moves the picked
    // ship. False, and nothing changes, when the pick names no ship or the
    // destination is full (30 ships or 6 carriers).
    bool MoveRight(GameState& state);
    bool MoveLeft(GameState& state);

    // "決定": stores the boxes (each cut to 30 bytes) as the fleets' names.
    void Decide(GameState& state, const ReorganisationNames& names) const;

    // After the window has closed, whichever way; the palette and the map
    // are refreshed.
    void Close(GameState& state, Frontend& ui) const;

  private:
    bool Move(GameState& state, int pick, int source, int destination);

    ReorganisationPair pair_;
    bool split_ = false;
    int leftPick_ = -1;
    int rightPick_ = -1;
};

}  // namespace velmora
