#include "orders/formation_session.h"

#include <algorithm>
#include <charconv>

#include "air/air_units.h"
#include "chart/geometry.h"
#include "model/labels.h"
#include "orders/orders.h"

namespace velmora {
namespace {

constexpr std::string_view kConfirmCaption = "確認";
constexpr std::string_view kTargetCaption = "攻撃目標設定";
constexpr std::string_view kTargetQuestion = "攻撃目標を指定してください。";
constexpr std::string_view kTargetListCaption = "目標";
constexpr std::array<std::string_view, 4> kGroupDigits{"１", "２", "３", "４"};

// The whole-number text the player typed; nothing for anything else.
std::optional<int> ParseCount(const std::string& text) {
    int value = 0;
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), last, value);
    if (ec != std::errc() || ptr != last || text.empty()) return std::nullopt;
    return value;
}

bool IsGroupBox(FormationBox box) {
    return box == FormationBox::kFighters || box == FormationBox::kAttackers;
}

}  // namespace

bool IsLaunchHour(int hour) { return hour >= kFirstLaunchHour && hour <= kLastLaunchHour; }

FormationSession::FormationSession(GameState& state, int fleet)
    : state_(state), fleet_(std::clamp(fleet, 0, kFleetCount - 1)) {
    state_.MapMode = kMapModeNormal;
    const TFleet& f = Fleet();
    for (int g = 0; g < kStrikeGroups; ++g) {
        const TAirUnit& unit = f.AirUnits[Slot(g)];
        // Groups in the air keep zero working values: they trade nothing.
        if (unit.State >= kAirOutbound) continue;
        for (std::size_t k = 0; k < 3; ++k) groups_[Slot(g)].Counts[k] = unit.Counts[k];
        groups_[Slot(g)].AttackKind = unit.AttackKind;
    }
    for (std::size_t k = 0; k < 3; ++k) hangar_[k] = f.HangarCounts[k];
    patrol_ = f.CapReady;
    search_ = f.ScoutReady;
    TakeSnapshot();
    for (std::size_t k = 0; k < 3; ++k) {
        pools_[k] = hangar_[k];
        for (const GroupWorking& g : groups_) pools_[k] += g.Counts[k];
    }
    pools_[0] += patrol_;
    pools_[2] += search_;
}

std::size_t FormationSession::Slot(int g) { return static_cast<std::size_t>(std::clamp(g, 0, 3)); }

TFleet& FormationSession::Fleet() const { return state_.FleetTable[static_cast<std::size_t>(fleet_)]; }

int FormationSession::DeckCapacity() const { return DeckStandbyCapacity(Fleet()); }

bool FormationSession::InTheAir(int g) const {
    return Fleet().AirUnits[Slot(g)].State >= kAirOutbound;
}

std::string_view FormationSession::StateText(int g) const {
    return LabelAt(AirStateLabels, Fleet().AirUnits[Slot(g)].State);
}

bool FormationSession::AsksRegroup(int g) const {
    const std::uint8_t s = Fleet().AirUnits[Slot(g)].State;
    return s > kAirServicing && s < kAirOutbound;
}

int& FormationSession::Value(FormationBox box, int g) {
    switch (box) {
        case FormationBox::kFighters: return groups_[Slot(g)].Counts[0];
        case FormationBox::kAttackers: return groups_[Slot(g)].Counts[1];
        case FormationBox::kPatrol: return patrol_;
        case FormationBox::kSearch: break;
    }
    return search_;
}

std::string FormationSession::Prompt(FormationBox box, int g) const {
    const std::string group = "攻撃隊" + std::string(kGroupDigits[Slot(g)]);
    switch (box) {
        case FormationBox::kFighters: return group + "の戦闘機数を入力してください。";
        case FormationBox::kAttackers: return group + "の爆撃機数を入力してください。";
        case FormationBox::kPatrol: return "直掩機数を入力してください。";
        case FormationBox::kSearch: break;
    }
    return "偵察機数を入力してください。";
}

int FormationSession::Maximum(FormationBox box, int g) {
    const int from_hangar = box == FormationBox::kAttackers ? hangar_[1]
                            : box == FormationBox::kSearch  ? hangar_[2]
                                                            : hangar_[0];
    return Value(box, g) + from_hangar;
}

bool FormationSession::PoolsHold(bool count_search) const {
    std::array<long long, 3> used{};
    for (const GroupWorking& g : groups_) {
        for (std::size_t k = 0; k < 3; ++k) used[k] += g.Counts[k];
    }
    const long long on_deck = used[0] + used[1] + used[2] + patrol_;
    used[0] += patrol_;
    if (count_search) used[2] += search_;
    for (std::size_t k = 0; k < 3; ++k) {
        if (used[k] > pools_[k]) return false;
    }
    return DeckCapacity() >= on_deck;
}

void FormationSession::RecountHangar() {
    // Aircraft taken into a box come out of the hangar, and the other way
    // round; groups in the air exchange nothing.
    for (int g = 0; g < kStrikeGroups; ++g) {
        if (InTheAir(g)) continue;
        for (std::size_t k = 0; k < 3; ++k) {
            hangar_[k] += snapshotGroups_[Slot(g)][k] - groups_[Slot(g)].Counts[k];
        }
    }
    hangar_[0] += snapshotPatrol_ - patrol_;
    hangar_[2] += snapshotSearch_ - search_;
}

void FormationSession::TakeSnapshot() {
    for (std::size_t g = 0; g < groups_.size(); ++g) snapshotGroups_[g] = groups_[g].Counts;
    snapshotHangar_ = hangar_;
    snapshotPatrol_ = patrol_;
    snapshotSearch_ = search_;
}

bool FormationSession::EditCount(Frontend& ui, FormationBox box, int g) {
    if (IsGroupBox(box)) {
        if (InTheAir(g)) return false;
        if (AsksRegroup(g)) {
            if (!ui.Confirm(kConfirmCaption, kRegroupQuestion)) return false;
            // The regrouping starts now, whatever the window is left with.
            Fleet().AirUnits[Slot(g)].State = kAirRearming1;
        }
    }
    int& value = Value(box, g);
    const int maximum = Maximum(box, g);
    std::string text = std::to_string(value);
    if (!ui.AskNumber(kFormationCaption, Prompt(box, g), text, maximum)) return false;
    const std::optional<int> typed = ParseCount(text);
    if (!typed || *typed < 0) return false;
    const int old = value;
    // The input window holds the value at the maximum; a front end that
    // does not must not take more than the hangar holds.
    value = std::min(*typed, maximum);
    if (!PoolsHold(true)) {
        value = old;
        return false;
    }
    RecountHangar();
    TakeSnapshot();
    return true;
}

bool FormationSession::ChangeLoad(Frontend& ui, int g, int kind) {
    if (InTheAir(g) || kind < 0 || kind > 1) return false;
    GroupWorking& group = groups_[Slot(g)];
    if (group.AttackKind == kind) return true;
    if (AsksRegroup(g)) {
        if (!ui.Confirm(kConfirmCaption, kRegroupQuestion)) return false;
        Fleet().AirUnits[Slot(g)].State = kAirRearming1;
    }
    group.AttackKind = kind;
    return true;
}

bool FormationSession::Decide() {
    if (!PoolsHold(false)) return false;
    TFleet& f = Fleet();
    for (int g = 0; g < kStrikeGroups; ++g) {
        TAirUnit& unit = f.AirUnits[Slot(g)];
        if (unit.State >= kAirOutbound) continue;
        const GroupWorking& w = groups_[Slot(g)];
        for (std::size_t k = 0; k < 3; ++k) {
            unit.Counts[k] = w.Counts[k];
            unit.AircraftTypes[k] = AircraftTypeByte(f.AirTypes[k]);
        }
        unit.AttackKind = w.AttackKind;
        if (unit.State == kAirIdle && UnitAircraft(unit) > 0) unit.State = kAirServicing;
    }
    for (std::size_t k = 0; k < 3; ++k) f.HangarCounts[k] = hangar_[k];
    f.CapReady = patrol_;
    f.ScoutReady = search_;
    return true;
}

LaunchSession::LaunchSession(GameState& state, int fleet)
    : state_(state), fleet_(std::clamp(fleet, 0, kFleetCount - 1)) {
    state_.MapMode = kMapModeAirRaidTarget;
    const TFleet& f = Fleet();
    origin_ = f.Position;
    for (std::size_t g = 0; g < groups_.size(); ++g) {
        const TAirUnit& unit = f.AirUnits[g];
        if (unit.State < kAirReady) continue;
        for (std::size_t k = 0; k < 3; ++k) groups_[g].Counts[k] = unit.Counts[k];
        groups_[g].AttackKind = unit.AttackKind;
    }
}

TFleet& LaunchSession::Fleet() const { return state_.FleetTable[static_cast<std::size_t>(fleet_)]; }

const GroupWorking& LaunchSession::Group(int g) const {
    return groups_[static_cast<std::size_t>(std::clamp(g, 0, 3))];
}

std::string_view LaunchSession::StateText(int g) const {
    return LabelAt(AirStateLabels, Fleet().AirUnits[static_cast<std::size_t>(std::clamp(g, 0, 3))].State);
}

std::string_view LaunchSession::LoadText(int g) const {
    return LabelAt(LoadoutLabels,
                   Fleet().AirUnits[static_cast<std::size_t>(std::clamp(g, 0, 3))].AttackKind);
}

int LaunchSession::PatrolAloft() const { return AircraftAloft(Fleet().CapLaunched, state_.Turn); }
int LaunchSession::SearchAloft() const { return AircraftAloft(Fleet().ScoutLaunched, state_.Turn); }

bool LaunchSession::CanSelect(int g) const {
    if (g < 0 || g >= kStrikeGroups) return false;
    const TAirUnit& unit = Fleet().AirUnits[static_cast<std::size_t>(g)];
    return unit.State == kAirReady && UnitAircraft(unit) > 0 && IsLaunchHour(state_.Hour);
}

bool LaunchSession::SelectGroup(Frontend& ui, int g) {
    if (g < 0 || g >= kStrikeGroups) return false;
    const TAirUnit& unit = Fleet().AirUnits[static_cast<std::size_t>(g)];
    bool& selected = selected_[static_cast<std::size_t>(g)];
    if (UnitAircraft(unit) <= 0 || unit.State != kAirReady) {
        selected = false;
        return false;
    }
    // Strikes fly by day only.
    if (!IsLaunchHour(state_.Hour)) return selected;
    if (ui.MessageAsk(kTargetCaption, kTargetQuestion, "OK", "Cancel")) {
        selected = true;
        lastSelected_ = g;
    }
    return selected;
}

std::vector<StrikeTargetEntry> LaunchSession::TargetsAt(Frontend& ui, Point p) {
    std::vector<StrikeTargetEntry> list;
    // Without a chosen group there is nothing to send and no range to test.
    if (lastSelected_ < 0) return list;
    const TFleet& own = Fleet();
    const int radius = StrikeRange(state_, own.AirUnits[static_cast<std::size_t>(lastSelected_)]);
    const bool in_range = radius + kPlayerRangeAllowance >= MapDistance(origin_, p);
    auto consider = [&](const TFleet& f, int index) {
        if (f.Active == 0 || f.Side == own.Side || f.DetectLevel < 1 ||
            MapDistance(f.Position, p) > kStrikeTargetRadius) {
            return;
        }
        if (in_range) {
            list.push_back({f.Designation.str(), index});
        } else {
            ui.MessageOk(kOutOfRangeCaption, kOutOfRangeText);
        }
    };
    for (int i = 0; i < kFleetCount; ++i) consider(state_.FleetTable[static_cast<std::size_t>(i)], i);
    for (const TFleet& marker : state_.ContactTable) consider(marker, kMarkerTarget);
    return list;
}

std::optional<int> LaunchSession::ChooseStrikeTarget(Frontend& ui, Point p) {
    const std::vector<StrikeTargetEntry> list = TargetsAt(ui, p);
    if (list.empty()) return std::nullopt;
    std::vector<std::string> names;
    for (const StrikeTargetEntry& e : list) names.push_back(e.Name);
    const int picked = ui.PickTarget(kTargetListCaption, names);
    if (picked < 0 || picked >= static_cast<int>(list.size())) return std::nullopt;
    state_.PickedTarget = list[static_cast<std::size_t>(picked)].Index;
    return state_.PickedTarget;
}

void LaunchSession::Launch(Frontend& ui, int target) {
    TFleet& f = Fleet();
    for (std::size_t g = 0; g < selected_.size(); ++g) {
        TAirUnit& unit = f.AirUnits[g];
        // A turn end while the window waited may have changed the group.
        if (!selected_[g] || unit.State != kAirReady || UnitAircraft(unit) <= 0) continue;
        unit.StrikeTarget = static_cast<std::uint8_t>(std::clamp(target, 0, 255));
        unit.State = kAirOutbound;
        const int n = f.LaunchCounter + 1;
        ui.PlayMovie(state_.MovieFile, f.Name.str() + "第" + std::to_string(n) + "攻撃隊発艦します！");
        ++f.LaunchCounter;
    }
    selected_.fill(false);
    ui.RefreshPalette();
    state_.MapMode = kMapModeNormal;
}

void LaunchSession::Close() { state_.MapMode = kMapModeNormal; }

}  // namespace velmora
