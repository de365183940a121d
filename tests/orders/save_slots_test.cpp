#include "orders/save_slots.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "frontend/recording_frontend.h"
#include "orders/orders.h"
#include "scenario/save_game.h"
#include "scenario/setup.h"
#include "scenario/test_support.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using velmora::testing::FixtureFolder;
using velmora::testing::TempFolder;

// A game of the fixture scenario some turns on, saved in slot 2.
class SaveSlotsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RecordingFrontend quiet;
        ASSERT_TRUE(SetupScenario(*played_, quiet, FixtureFolder() / "Fixture" / "fixture.snr", 5));
        played_->Turn = 7;
        played_->Hour = 5;
        played_->FleetTable[0].Position = {222, 111};
        played_->MessageLog = {{7, 5, "敵艦隊発見"}};
        ASSERT_TRUE(SaveGame(*played_, quiet, folder_.path(), 2));
    }

    std::unique_ptr<GameState> played_ = std::make_unique<GameState>();
    std::unique_ptr<GameState> title_ = std::make_unique<GameState>();  // no game yet
    TempFolder folder_;
    RecordingFrontend ui_;
};

// Loading from the title screen sets the saved scenario up first: the class
// tables, the map and the base come from it, not from an empty state.
TEST_F(SaveSlotsTest, LoadFromTheTitleSetsTheScenarioUpFirst) {
    ASSERT_TRUE(OrderLoad(*title_, ui_, folder_.path(), 2));
    EXPECT_EQ(title_->Turn, 7);
    EXPECT_EQ(title_->FleetTable[0].Position, (Point{222, 111}));
    EXPECT_NE(title_->MapMode, kMapModeNoGame);
    EXPECT_EQ(title_->ShipClassTable, played_->ShipClassTable);
    EXPECT_EQ(title_->MapPicture, played_->MapPicture);
    EXPECT_EQ(title_->MessageLog, played_->MessageLog);
    EXPECT_THAT(ui_.CallsOf("MessageOk"), ::testing::IsEmpty());
    // Nothing of the quiet set-up reached the player: no start events.
    EXPECT_THAT(ui_.CallsOf("ConversationOpen"), ::testing::IsEmpty());
}

TEST_F(SaveSlotsTest, ASaveWhoseScenarioIsGoneIsRefusedByNameAndNothingChanges) {
    played_->ScenarioFile = (folder_.path() / "Gone" / "gone.snr").string();
    RecordingFrontend quiet;
    ASSERT_TRUE(SaveGame(*played_, quiet, folder_.path(), 3));
    EXPECT_FALSE(OrderLoad(*title_, ui_, folder_.path(), 3));
    EXPECT_TRUE(*title_ == GameState());
    ASSERT_EQ(ui_.CallsOf("MessageOk").size(), 1u);
    EXPECT_THAT(ui_.CallsOf("MessageOk")[0],
                HasSubstr("MessageOk\tエラー\tセーブのシナリオ " + played_->ScenarioFile));
}

TEST_F(SaveSlotsTest, LabelsSayWhatEachSlotHolds) {
    EXPECT_THAT(SlotLabel(folder_.path(), 2),
                MatchesRegex("セーブ2 — 7ターン 5時 払暁 — Fixture — "
                             "[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}"));
    EXPECT_EQ(SlotLabel(folder_.path(), 1), "セーブ1 — （空き）");
    EXPECT_EQ(SlotLabel(folder_.path(), kAutoSaveSlot), "オートセーブ — （空き）");
}

}  // namespace
}  // namespace velmora
