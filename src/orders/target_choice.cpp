#include "orders/target_choice.h"

#include <algorithm>

#include "model/fleet_ops.h"
#include "orders/fleet_info.h"

namespace velmora {

namespace {

// "目標艦種" item -> TargetGroup of the attack rules.
constexpr std::array<int, kTargetShipTypeItems.size()> kGroupOfItem{2, 1, 3, 4, 5, 9, 10, 11, 6, 7};

}  // namespace

std::optional<int> TargetGroupForItem(int item) {
    if (item < 0 || item >= static_cast<int>(kGroupOfItem.size())) return std::nullopt;
    return kGroupOfItem[static_cast<std::size_t>(item)];
}

std::optional<int> ItemForTargetGroup(int group) {
    auto it = std::find(kGroupOfItem.begin(), kGroupOfItem.end(), group);
    if (it == kGroupOfItem.end()) return std::nullopt;
    return static_cast<int>(it - kGroupOfItem.begin());
}

std::optional<int> RequestForItem(int item) {
    if (item < 0 || item >= static_cast<int>(kTargetCountItems.size())) return std::nullopt;
    return item + 1;
}

std::optional<int> ItemForRequest(int request) {
    if (request < 1 || request > static_cast<int>(kTargetCountItems.size())) return std::nullopt;
    return request - 1;
}

TargetChoiceSession::TargetChoiceSession(const TAirUnit& attack)
    : group_(attack.TargetGroup), requests_(attack.TargetRequest) {}

std::optional<int> TargetChoiceSession::SelectedTypeItem() const {
    return ItemForTargetGroup(group_);
}

std::optional<int> TargetChoiceSession::SelectedCountItem(int g) const {
    if (g < 0 || g >= kRequestGroups) return std::nullopt;
    return ItemForRequest(requests_[static_cast<std::size_t>(g)]);
}

void TargetChoiceSession::ChooseTypeItem(int item) {
    if (auto group = TargetGroupForItem(item)) group_ = *group;
}

void TargetChoiceSession::ChooseCountItem(int g, int item) {
    if (g < 0 || g >= kRequestGroups) return;
    if (auto request = RequestForItem(item)) requests_[static_cast<std::size_t>(g)] = *request;
}

int TargetChoiceSession::Request(int g) const {
    if (g < 0 || g >= static_cast<int>(requests_.size())) return 0;
    return requests_[static_cast<std::size_t>(g)];
}

void TargetChoiceSession::Apply(TAirUnit& attack) const {
    attack.TargetGroup = group_;
    attack.TargetRequest = requests_;
}

namespace {

std::string PositionText(const Point& p) {
    return "X:" + std::to_string(p.X) + "Y:" + std::to_string(p.Y);
}

std::string CountText(int n) {
    return std::to_string(n);
}

// A record from a broken file may hold any level; show what 0..4 allow.
int ShownLevel(const TFleet& fleet) {
    return std::clamp(fleet.DetectLevel, 0, 4);
}

}  // namespace

std::vector<SearchInfoLine> SearchInfoLines(const GameState& state, const TFleet& fleet) {
    const int level = ShownLevel(fleet);
    std::vector<SearchInfoLine> lines;
    for (std::string_view label : kSearchInfoLabels) {
        lines.push_back({std::string(label), std::string(kUnknown)});
    }
    auto set = [&lines](std::string_view label, std::string value) {
        for (SearchInfoLine& line : lines) {
            if (line.Label == label) line.Value = std::move(value);
        }
    };
    set("索敵レベル", std::to_string(level));
    if (level < 1) return lines;

    set("秘匿名", fleet.Designation.str());
    set("位置", PositionText(fleet.Position));
    if (level < 2) return lines;

    const ShipTypeCounts counts = CountShipsByType(state, fleet);
    set("総隻数", CountText(counts.Ships));
    if (level < 3) {
        set("空母", counts.Of(kCarrier) > 0 ? "伴う" : "伴わない");
        return lines;
    }

    set("戦艦", CountText(counts.Of(kBattleship)));
    set("空母", CountText(counts.Of(kCarrier)));
    set("巡洋艦", CountText(counts.Of(kCruiser)));
    set("駆逐艦", CountText(counts.Of(kDestroyer)));
    set("輸送船", CountText(counts.Of(kTransport)));
    if (level < 4) return lines;

    const bool base = FleetHasInstallation(state, fleet);
    set("防衛側揚陸ポイント", CountText(base ? LandingPointsOf(fleet, fleet.Side) : 0));
    set("侵攻側揚陸ポイント", CountText(LandingPointsOf(fleet, OtherSide(state, fleet.Side))));
    return lines;
}

bool SearchInfoOffersDetail(const TFleet& fleet) {
    return fleet.DetectLevel >= 4;
}

}  // namespace velmora
