#include "scenario/script.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "scenario/test_support.h"

namespace velmora {
namespace {

using testing::TempFolder;

class ScriptTest : public ::testing::Test {
  protected:
    // Reads the lines as a script with the given variants.
    void Parse(const std::vector<std::string>& lines, int n1 = 0, int n2 = 0) {
        path_ = folder_.WriteShiftJis("s.snr", lines);
        ParseScenarioScript(*state_, path_, n1, n2, diag_);
    }
    const TEData& Event(int slot) const {
        return state_->EventTable[static_cast<std::size_t>(slot)];
    }
    const TTelop& Telop(int slot) const {
        return state_->TelopTable[static_cast<std::size_t>(slot)];
    }
    const TFleet& Fleet(int i) const { return state_->FleetTable[static_cast<std::size_t>(i)]; }

    TempFolder folder_;
    std::filesystem::path path_;
    std::unique_ptr<GameState> state_ = std::make_unique<GameState>();
    Diagnostics diag_;
};

class TurnHeaderTest : public ScriptTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(TurnHeaderTest, SelectsTheTurnSlotWithOrWithoutBlanks) {
    Parse({GetParam(), "telop 見出し "});
    EXPECT_EQ(Telop(3).LineCount, 1);
    EXPECT_EQ(Telop(3).Lines[0], "見出し    ");
}

INSTANTIATE_TEST_SUITE_P(Headers, TurnHeaderTest,
                         ::testing::Values("ターン 3 :", "ターン3:", "  ターン3: 会敵",
                                           "ターン 3:"));

TEST_F(ScriptTest, SectionsSelectTheirSlots) {
    Parse({"プロローグ:", "startbgm p.mid", "スタート:", "startbgm s.mid",
           "進入:", "startbgm e.mid", "終了: 12", "startbgm x.mid"});
    EXPECT_EQ(Event(kPrologueSlot).MusicFile, "p.mid");
    EXPECT_EQ(Event(kStartSlot).MusicFile, "s.mid");
    EXPECT_EQ(Event(kEntrySlot).MusicFile, "e.mid");
    EXPECT_EQ(Event(kEndSlot).MusicFile, "x.mid");
    EXPECT_EQ(state_->LastTurn, 12);
}

// Section k and then command k, for k = 0..18: "talk" (0) acts before the
// turn header (2) switches the slot, "startbgm" (10) after it.
TEST_F(ScriptTest, ActionsOfOneLineRunInTableOrder) {
    Parse({"ターン4: Talk 艦長", "end", "ターン5: startbgm m.mid"});
    EXPECT_EQ(Event(0).LineCount, 1);
    EXPECT_EQ(Event(4).LineCount, 0);
    EXPECT_EQ(Event(5).MusicFile, "m.mid");
}

TEST_F(ScriptTest, ConversationCollectsSpeechUntilEnd) {
    Parse(
        {"スタート:", "Talk 艦長", "敵艦見ゆ。", "  全艦戦闘配置。", "end", "これは台詞ではない"});
    ASSERT_EQ(Event(1).LineCount, 1);
    EXPECT_EQ(Event(1).SpeakerName[0], "艦長");
    EXPECT_EQ(Event(1).SpeechText[0], "敵艦見ゆ。全艦戦闘配置。");
}

TEST_F(ScriptTest, SpeakerFollowsTalkInAnyLetterCase) {
    Parse({"スタート:", "talk 副 長", "はい。", "end", "TALK 砲術長", "撃て。", "end"});
    ASSERT_EQ(Event(1).LineCount, 2);
    EXPECT_EQ(Event(1).SpeakerName[0], "副長");
    EXPECT_EQ(Event(1).SpeakerName[1], "砲術長");
}

struct TalkBreakCase {
    const char* line;
    const char* speech_kept;
};

void PrintTo(const TalkBreakCase& c, std::ostream* os) {
    *os << c.line;
}

class TalkBreakTest : public ScriptTest, public ::testing::WithParamInterface<TalkBreakCase> {};

// "end" or "*" anywhere in a line, even inside a word, makes it a command.
TEST_P(TalkBreakTest, LineWithCommandWordIsNotSpeech) {
    Parse({"スタート:", "Talk 艦長", "一行目。", GetParam().line, "二行目。"});
    EXPECT_EQ(Event(1).SpeechText[0], GetParam().speech_kept);
}

INSTANTIATE_TEST_SUITE_P(
    Words, TalkBreakTest,
    ::testing::Values(TalkBreakCase{"週末はweekendです", "一行目。"},  // ends talk mode
                      TalkBreakCase{"星*印", "一行目。二行目。"},      // a label; talk goes on
                      TalkBreakCase{"普通の台詞", "一行目。普通の台詞二行目。"}));

struct TelopCase {
    const char* line;
    const char* caption;
};

void PrintTo(const TelopCase& c, std::ostream* os) {
    *os << "\"" << c.line << "\"";
}

class TelopTest : public ScriptTest, public ::testing::WithParamInterface<TelopCase> {};

TEST_P(TelopTest, CaptionJoinsWordSlotsOneToFive) {
    Parse({"スタート:", GetParam().line});
    ASSERT_EQ(Telop(1).LineCount, 1);
    EXPECT_EQ(Telop(1).Lines[0], GetParam().caption);
}

INSTANTIATE_TEST_SUITE_P(Words, TelopTest,
                         ::testing::Values(TelopCase{"telop 第一 第二", "第一  第二  "},
                                           TelopCase{"telop a b c d e", "a b c d "},
                                           TelopCase{"telop a b c d e ", "a b c d e"},
                                           TelopCase{"telop  a   b ", "a b   "}));

TEST_F(ScriptTest, TelopDoesNotReuseEarlierWords) {
    Parse({"スタート:", "telop 1 2 3 4 5 6 ", "telop x "});
    EXPECT_EQ(Telop(1).Lines[1], "x    ");
}

struct CreateCase {
    int fleet;
    int n1;
    int n2;
    bool created;
};

void PrintTo(const CreateCase& c, std::ostream* os) {
    *os << "fleet " << c.fleet << " n1 " << c.n1 << " n2 " << c.n2;
}

class CreateTest : public ScriptTest, public ::testing::WithParamInterface<CreateCase> {};

TEST_P(CreateTest, LineAppliesOnlyToItsSidesVariant) {
    const CreateCase& c = GetParam();
    Parse({"create 5 " + std::to_string(c.fleet) + " 山本 第四艦隊 迂回 攻撃 120 80 1 2 3 4 5 6"},
          c.n1, c.n2);
    const TFleet& f = Fleet(c.fleet);
    if (!c.created) {
        EXPECT_EQ(f.Commander.str(), "");
        return;
    }
    EXPECT_EQ(f.Commander.str(), "山本");
    EXPECT_EQ(f.Name.str(), "第四艦隊");
    EXPECT_EQ(f.Detour, 1);
    EXPECT_EQ(f.Stance, 1);
    EXPECT_EQ(f.Position, (Point{120, 80}));
    EXPECT_EQ(f.AirTypes, (std::array<std::int32_t, 6>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(f.CapType, 1);
    EXPECT_EQ(f.AirUnits[5].AircraftTypes[2], 3);
    EXPECT_EQ(f.Ships[40].AircraftTypesAboard[1], 2);
    EXPECT_EQ(f.Active, 0);  // the side file brings it into play
}

INSTANTIATE_TEST_SUITE_P(Variants, CreateTest,
                         ::testing::Values(CreateCase{3, 5, 0, true}, CreateCase{3, 0, 5, false},
                                           CreateCase{14, 0, 5, true},
                                           CreateCase{14, 5, 0, false}));

TEST_F(ScriptTest, CreateDefaultsForMissingWords) {
    Parse({"create 0 2 将 艦隊 直進 謎 x y 7 z"});
    const TFleet& f = Fleet(2);
    EXPECT_EQ(f.Detour, 0);
    EXPECT_EQ(f.Stance, 0);  // an unknown stance word leaves it
    EXPECT_EQ(f.Position, (Point{0, 0}));
    EXPECT_EQ(f.AirTypes[0], 7);
    EXPECT_EQ(f.AirTypes[1], 255);
    EXPECT_EQ(f.AirUnits[0].AircraftTypes[1], 255);
}

TEST_F(ScriptTest, CreateWithFleetOutsideTableIsSkippedWithWarning) {
    Parse({"プロローグ:", "create 0 30 将 艦隊 直進 普通 1 1 0 0 0 0 0 0",
           "create 0 -1 将 艦隊 直進 普通 1 1 0 0 0 0 0 0"});
    ASSERT_EQ(diag_.WarningCount(), 2);
    EXPECT_EQ(diag_.Findings()[0].file, path_.string());
    EXPECT_EQ(diag_.Findings()[0].line, 2);
    EXPECT_EQ(diag_.Findings()[1].line, 3);
    for (const TFleet& f : state_->FleetTable) EXPECT_EQ(f.Commander.str(), "");
}

TEST_F(ScriptTest, SetVtFuseSetsOnlyPositiveFactors) {
    for (TFleet& f : state_->FleetTable) f.VtFuseFactor = 1.0;
    Parse({"setvtfuse 1.5 0"});
    EXPECT_DOUBLE_EQ(Fleet(0).VtFuseFactor, 1.5);
    EXPECT_DOUBLE_EQ(Fleet(12).VtFuseFactor, 1.5);
    EXPECT_DOUBLE_EQ(Fleet(13).VtFuseFactor, 1.0);
    EXPECT_DOUBLE_EQ(Fleet(24).VtFuseFactor, 1.0);
}

TEST_F(ScriptTest, SetEffectTenthNameNeedsTrailingBlank) {
    const std::string names = "seteffect e1 e2 e3 e4 e5 e6 e7 e8 e9 e10";
    Parse({"settype w1 w2 w3 w4 w5 w6 w7 w8 w9 old10 w11", names});
    EXPECT_EQ(state_->EffectFile[1], "e1");
    EXPECT_EQ(state_->EffectFile[9], "e9");
    EXPECT_EQ(state_->EffectFile[10], "old10");  // the word an earlier line left in slot 10

    Parse({names + " "});
    EXPECT_EQ(state_->EffectFile[10], "e10");
}

TEST_F(ScriptTest, OtherCommandsStoreTheirWords) {
    Parse({"movie op.ogv", "wcontinue next.snr", "lcontinue lose.snr", "setupbgm title.mid",
           "* 名前", "Graphic title.bmp"});
    EXPECT_EQ(state_->MovieFile, "op.ogv");
    EXPECT_EQ(state_->ContinueInfo.WinNext, "next.snr");
    EXPECT_EQ(state_->ContinueInfo.LoseNext, "lose.snr");
    EXPECT_EQ(state_->Script.SetupMusic, "title.mid");
    EXPECT_EQ(state_->Script.Label, " 名前");
    EXPECT_EQ(state_->Script.PictureName, "Graphic title.bmp");
}

TEST_F(ScriptTest, SetCloudLaysOutStormCells) {
    Parse({"setcloud 1"});
    EXPECT_EQ(state_->StormCells[0].Active, 1);
    EXPECT_EQ(state_->StormCells[11].Active, 0);
}

struct NumberCase {
    std::vector<std::string> lines;
    int line;
    const char* word;
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << c.word;
}

class NotANumberTest : public ScriptTest, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(NotANumberTest, StopsWithFileLineAndWord) {
    const NumberCase& c = GetParam();
    try {
        Parse(c.lines);
        FAIL() << "no error";
    } catch (const ScenarioError& e) {
        EXPECT_EQ(e.file(), path_.string());
        EXPECT_EQ(e.line(), c.line);
        EXPECT_EQ(e.message(), std::string("数値ではありません: ") + c.word);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Words, NotANumberTest,
    ::testing::Values(NumberCase{{"プロローグ:", "ターン三:"}, 2, "三"},
                      NumberCase{{"終了: 十二"}, 1, "十二"},
                      NumberCase{{"", "", "create x 1 a b c d 1 1 0 0 0 0 0 0"}, 3, "x"}));

TEST_F(ScriptTest, ConversationBeyondCapacityIsSkippedWithWarning) {
    std::vector<std::string> lines{"スタート:"};
    for (int i = 0; i < kConversationLines + 1; ++i) {
        lines.push_back("Talk 話者" + std::to_string(i));
        lines.push_back("台詞" + std::to_string(i));
    }
    Parse(lines);
    EXPECT_EQ(Event(1).LineCount, kConversationLines);
    EXPECT_EQ(Event(1).SpeechText[kConversationLines - 1], "台詞100");
    EXPECT_EQ(diag_.WarningCount(), 1);
}

TEST_F(ScriptTest, CaptionsBeyondCapacityAreSkippedWithWarning) {
    std::vector<std::string> lines{"スタート:"};
    for (int i = 0; i < kTelopLines + 2; ++i) lines.push_back("telop 行" + std::to_string(i) + " ");
    Parse(lines);
    EXPECT_EQ(Telop(1).LineCount, kTelopLines);
    EXPECT_EQ(diag_.WarningCount(), 2);
}

TEST_F(ScriptTest, TurnSectionPastLastSlotIsSkippedWithWarning) {
    Parse({"ターン130:", "Talk 艦長", "台詞", "end", "telop 字幕 ", "startbgm m.mid",
           "ターン4:", "telop 四 "});
    ASSERT_EQ(diag_.WarningCount(), 1);
    EXPECT_EQ(diag_.Findings()[0].line, 1);
    for (const TEData& e : state_->EventTable) EXPECT_EQ(e.LineCount, 0);
    EXPECT_EQ(Telop(4).LineCount, 1);
    EXPECT_EQ(Telop(0).LineCount, 0);
}

// Lines built from keywords and stray words in random order: the reader
// either stops with a ScenarioError or stores what fits, never more.
TEST_F(ScriptTest, ScrambledScriptsNeverOverrunTheTables) {
    const std::vector<std::string> pieces{
        "Talk", "talk", "end", "*", "telop", "create", "seteffect", "setvtfuse", "setcloud",
        "startbgm", "movie", "ターン", "プロローグ", "終了", ":", " ", "  ", "\t", "0", "7",
        "13", "24", "25", "-3", "120", "999", "1.5", "x", "艦隊", "\xef\xbc\x9a"};
    std::mt19937 pick(12345);
    for (int round = 0; round < 40; ++round) {
        std::vector<std::string> lines;
        for (int l = 0; l < 300; ++l) {
            std::string line;
            int words = static_cast<int>(pick() % 8);
            for (int w = 0; w < words; ++w) line += pieces[pick() % pieces.size()];
            lines.push_back(line);
        }
        state_ = std::make_unique<GameState>();
        try {
            Parse(lines, 0, 0);
        } catch (const ScenarioError& e) {
            EXPECT_GT(e.line(), 0);
        }
        for (const TEData& e : state_->EventTable) EXPECT_LE(e.LineCount, kConversationLines);
        for (const TTelop& t : state_->TelopTable) EXPECT_LE(t.LineCount, kTelopLines);
    }
}

TEST_F(ScriptTest, EmptyScriptChangesNothing) {
    Parse({});
    EXPECT_TRUE(*state_ == GameState());
}

TEST_F(ScriptTest, MissingFileThrows) {
    EXPECT_THROW(ParseScenarioScript(*state_, folder_.path() / "none.snr", 0, 0, diag_),
                 ScenarioError);
}

}  // namespace
}  // namespace velmora
