// The rules behind the target windows: the attack-target choice (which ship
// group to aim at and how many ships of each group), and what the player
// has learned about an enemy fleet at each detection level.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/game_state.h"
#include "model/ship_counts.h"

namespace velmora {

// Radio items of the "目標艦種" group, in order.
inline constexpr std::array<std::string_view, 10> kTargetShipTypeItems{
    "戦艦",
    "空母",
    "巡洋艦",
    "駆逐艦",
    "輸送船",
    "戦艦及び巡洋艦",
    "第一巡洋艦、第二駆逐艦",
    "第一戦艦、第二巡洋艦、第三駆逐艦",
    "地上基地",
    "対空陣地"};

// Radio items of the three ship-count groups; item i requests i + 1 ships,
// and "任意" (9) leaves the number to the attack.
inline constexpr std::array<std::string_view, 9> kTargetCountItems{
    "一艦", "ニ艦", "三艦", "四艦", "五艦", "六艦", "七艦", "八艦", "任意"};

// Captions of the three ship-count groups (first, second, third target).
inline constexpr std::array<std::string_view, 3> kTargetCountCaptions{
    "第一攻撃目標艦艇数", "第二攻撃目標艦定数", "第三攻撃目標艦艇数"};

// "目標状態": shown for the player's benefit; it does not reach the attack.
inline constexpr std::array<std::string_view, 3> kTargetStateItems{"任意", "未損傷艦", "損傷艦"};

// The TargetGroup an item of "目標艦種" aims at; nothing for a bad item.
std::optional<int> TargetGroupForItem(int item);
// The "目標艦種" item that shows a TargetGroup; nothing when no item does.
std::optional<int> ItemForTargetGroup(int group);
// Request value of a ship-count item: item + 1; nothing for a bad item.
std::optional<int> RequestForItem(int item);
// The ship-count item that shows a request value; nothing when none does.
std::optional<int> ItemForRequest(int request);

// The working values of the attack-target window. It opens on the attack
// record's group and requests and writes them back when the player decides.
class TargetChoiceSession {
  public:
    static constexpr int kRequestGroups = 3;

    explicit TargetChoiceSession(const TAirUnit& attack);

    // The selected "目標艦種" item; nothing when the record's group has none.
    std::optional<int> SelectedTypeItem() const;
    // The selected item of ship-count group g (0..2); nothing when the
    // request has no item (or g is out of range).
    std::optional<int> SelectedCountItem(int g) const;

    // Clicks: bad items and groups are ignored.
    void ChooseTypeItem(int item);
    void ChooseCountItem(int g, int item);

    int TargetGroup() const { return group_; }
    int Request(int g) const;

    // Writes the group and the requests into the record.
    void Apply(TAirUnit& attack) const;

  private:
    int group_;
    std::array<std::int32_t, 9> requests_;
};

// One line of the search information window.
struct SearchInfoLine {
    std::string Label;
    std::string Value;
};

inline constexpr std::string_view kUnknown = "不明";

// The rows of the search information window, in order.
inline constexpr std::array<std::string_view, 11> kSearchInfoLabels{"秘匿名",
                                                                    "位置",
                                                                    "索敵レベル",
                                                                    "総隻数",
                                                                    "戦艦",
                                                                    "空母",
                                                                    "巡洋艦",
                                                                    "駆逐艦",
                                                                    "輸送船",
                                                                    "防衛側揚陸ポイント",
                                                                    "侵攻側揚陸ポイント"};

// What the player knows about an enemy fleet (or contact marker), by its
// DetectLevel, one line per row of kSearchInfoLabels. Whatever the level
// does not reveal reads "不明".
std::vector<SearchInfoLine> SearchInfoLines(const GameState& state, const TFleet& fleet);

// True when the level reveals enough for the fleet's detail view ("詳細").
bool SearchInfoOffersDetail(const TFleet& fleet);

}  // namespace velmora
