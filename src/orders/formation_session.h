// The strike-group window's rules, in the engine: the formation of the
// selected fleet's air arm and the launch of its ready strike groups. The
// Qt window and the orders script drive these sessions and only show and ask.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

inline constexpr std::string_view kFormationCaption = "攻撃隊編成";
inline constexpr std::string_view kLaunchCaption = "攻撃隊選択";
inline constexpr std::string_view kRegroupQuestion = "再編成を行いますか？";
inline constexpr std::string_view kOutOfRangeCaption = "航続距離外";
inline constexpr std::string_view kOutOfRangeText = "航空機の航続距離外です。";
inline constexpr int kStrikeTargetRadius = 16;
// The player's strikes may reach a little past the radius.
inline constexpr int kPlayerRangeAllowance = 10;
inline constexpr int kFirstLaunchHour = 5;
inline constexpr int kLastLaunchHour = 19;
inline constexpr int kMarkerTarget = 25;

// One strike group's working values: fighters, attack and search aircraft,
// and the weapon load (0 anti-ship, 1 anti-ground).
struct GroupWorking {
    std::array<int, 3> Counts{};
    int AttackKind = 0;
    friend bool operator==(const GroupWorking&, const GroupWorking&) = default;
};

// The boxes of the formation window that take a number.
enum class FormationBox { kFighters, kAttackers, kPatrol, kSearch };

class FormationSession {
public:
    // Opens formation mode on fleet `fleet` (which must be a fleet index).
    FormationSession(GameState& state, int fleet);

    int FleetIndex() const { return fleet_; }
    int DeckCapacity() const;
    const GroupWorking& Group(int g) const { return groups_[Slot(g)]; }
    // True while group g (0..3) is out or returning: its counts are covered.
    bool InTheAir(int g) const;
    std::string_view StateText(int g) const;
    const std::array<int, 3>& Hangar() const { return hangar_; }
    int Patrol() const { return patrol_; }
    int Search() const { return search_; }

    // True when editing group g asks the regroup question first.
    bool AsksRegroup(int g) const;
    // The count edit of a box (group g 0..3 for the fighter and attack
    // boxes): regroup question, number input, check, hangar recount.
    // True when the value was taken; a refused value is restored silently.
    bool EditCount(Frontend& ui, FormationBox box, int g = 0);
    // The weapon-load radio group of group g; false when the player kept
    // the old load (the radio group goes back).
    bool ChangeLoad(Frontend& ui, int g, int kind);
    // "決定": true when every check passed and the fleet was written back.
    bool Decide();

private:
    static std::size_t Slot(int g);
    TFleet& Fleet() const;
    int& Value(FormationBox box, int g);
    std::string Prompt(FormationBox box, int g) const;
    int Maximum(FormationBox box, int g);
    bool PoolsHold(bool count_search) const;
    void RecountHangar();
    void TakeSnapshot();

    GameState& state_;
    int fleet_;
    std::array<GroupWorking, 4> groups_{};
    std::array<int, 3> hangar_{};
    int patrol_ = 0;
    int search_ = 0;
    std::array<int, 3> pools_{};
    std::array<std::array<int, 3>, 4> snapshotGroups_{};
    std::array<int, 3> snapshotHangar_{};
    int snapshotPatrol_ = 0;
    int snapshotSearch_ = 0;
};

// One line of the strike target list: its text and the target index
// (a fleet index, or 25 for a contact marker).
struct StrikeTargetEntry {
    std::string Name;
    int Index = 0;
    friend bool operator==(const StrikeTargetEntry&, const StrikeTargetEntry&) = default;
};

class LaunchSession {
public:
    // Opens launch mode on fleet `fleet`: the map waits for the target.
    LaunchSession(GameState& state, int fleet);

    int FleetIndex() const { return fleet_; }
    const GroupWorking& Group(int g) const;
    std::string_view StateText(int g) const;
    std::string_view LoadText(int g) const;
    // The patrol fighters and search aircraft in the air now.
    int PatrolAloft() const;
    int SearchAloft() const;
    bool Selected(int g) const { return selected_[static_cast<std::size_t>(g & 3)]; }
    int LastSelected() const { return lastSelected_; }

    // True when the group can take off now (ready and holding aircraft)
    // and the hour allows a launch, i.e. the button asks its question.
    bool CanSelect(int g) const;
    // The "攻撃" button of group g; true when the group is now selected.
    bool SelectGroup(Frontend& ui, int g);
    // The targets near a map point (the click moved 8 up and left), each in
    // range; out-of-range ones are told. Empty without a selected group.
    std::vector<StrikeTargetEntry> TargetsAt(Frontend& ui, Point p);
    // The map click: lists the targets, lets the player pick one and returns
    // its index; nothing when nothing was listed or the list was cancelled.
    std::optional<int> ChooseStrikeTarget(Frontend& ui, Point p);
    // Sends every selected group at the target, each with its launch clip;
    // the palette is refreshed and the map goes back to normal mode.
    void Launch(Frontend& ui, int target);
    // "決定": ends the wait without a launch.
    void Close();

private:
    TFleet& Fleet() const;

    GameState& state_;
    int fleet_;
    Point origin_;
    std::array<GroupWorking, 4> groups_{};
    std::array<bool, 4> selected_{};
    int lastSelected_ = -1;
};

bool IsLaunchHour(int hour);

}  // namespace velmora
