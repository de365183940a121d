#include "turn/turn_events.h"

#include <gtest/gtest.h>

#include "support/state_fixture.h"

namespace velmora {
namespace {

using testing::NewState;

using Lines = std::vector<std::string>;

class TurnEvents : public ::testing::Test {
  protected:
    void SetUp() override {
        state = NewState();
        state->Turn = 4;
    }
    TEData& Event() { return state->EventTable[4]; }
    TTelop& Telop() { return state->TelopTable[4]; }
    void AddCaptions(const Lines& lines) {
        for (const auto& line : lines) Telop().Lines[Telop().LineCount++] = line;
    }
    void AddTalk(const std::string& speaker, const std::string& speech) {
        Event().SpeakerName[static_cast<std::size_t>(Event().LineCount)] = speaker;
        Event().SpeechText[static_cast<std::size_t>(Event().LineCount)] = speech;
        ++Event().LineCount;
    }
    std::unique_ptr<GameState> state;
    RecordingFrontend frontend;
};

TEST_F(TurnEvents, PlaysMusicCaptionsThenConversation) {
    Event().MusicFile = "battle.mid";
    AddCaptions({"一九四二年", "珊瑚海", "開戦"});
    AddTalk("山本", "出撃せよ。");
    AddTalk("南雲", "了解。");
    RunTurnEvents(*state, frontend);
    EXPECT_EQ(
        frontend.Transcript(),
        (Lines{"PlayMusic\tbattle.mid", "ShowCaptionLine\t一九四二年", "ShowCaptionLine\t珊瑚海",
               "ShowCaptionLine\t開戦", "EndCaptionSequence", "ConversationOpen",
               "SayText\t山本\\r出撃せよ。", "SayText\t南雲\\r了解。", "ConversationClose"}));
    EXPECT_EQ(state->EventIndex, 4);
    EXPECT_EQ(state->TalkCursor, 2);
    EXPECT_EQ(state->TelopTick, 0);
    EXPECT_EQ(Telop().NextLine, 3);
}

TEST_F(TurnEvents, CaptionsShownOnceOnlyWaitWhenPlayedAgain) {
    AddCaptions({"一", "二"});
    RunTurnEvents(*state, frontend);
    frontend.ClearTranscript();
    RunTurnEvents(*state, frontend);
    EXPECT_EQ(frontend.Transcript(), (Lines{"EndCaptionSequence"}));
    EXPECT_EQ(Telop().NextLine, 2);
}

TEST_F(TurnEvents, MusicOnlyReturnsAtOnce) {
    Event().MusicFile = "calm.mid";
    RunTurnEvents(*state, frontend);
    EXPECT_EQ(frontend.Transcript(), (Lines{"PlayMusic\tcalm.mid"}));
}

TEST_F(TurnEvents, OtherSlotsAndTurnsPastTheTablesPlayNothing) {
    Event().MusicFile = "battle.mid";
    AddCaptions({"一"});
    AddTalk("山本", "出撃せよ。");
    for (int turn : {3, 5, kEventSlots, 500, -1}) {
        state->Turn = turn;
        RunTurnEvents(*state, frontend);
        EXPECT_EQ(state->EventIndex, turn);
    }
    EXPECT_TRUE(frontend.Transcript().empty());
}

TEST_F(TurnEvents, BrokenCountsStayInsideTheSlot) {
    Telop().LineCount = 255;
    Event().LineCount = 5000;
    state->TelopTick = 77;  // a stray timer value from a broken save
    RunTurnEvents(*state, frontend);
    EXPECT_EQ(frontend.CallsOf("ShowCaptionLine").size(), static_cast<std::size_t>(kTelopLines));
    EXPECT_EQ(frontend.CallsOf("EndCaptionSequence").size(), 1u);
    EXPECT_EQ(frontend.CallsOf("SayText").size(), static_cast<std::size_t>(kConversationLines));
    EXPECT_EQ(state->TelopTick, 0);
}

TEST_F(TurnEvents, ConversationGoesOnFromTheTalkCursor) {
    AddTalk("A", "1");
    AddTalk("B", "2");
    AddTalk("C", "3");
    state->EventIndex = 4;
    state->TalkCursor = 2;
    RunConversation(*state, frontend);
    EXPECT_EQ(frontend.Transcript(),
              (Lines{"ConversationOpen", "SayText\tC\\r3", "ConversationClose"}));
    state->EventIndex = 999;
    frontend.ClearTranscript();
    RunConversation(*state, frontend);
    EXPECT_TRUE(frontend.Transcript().empty());
}

}  // namespace
}  // namespace velmora
