#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>

#include "media/mixer.h"
#include "media/music_synth.h"
#include "media_fixtures.h"

namespace velmora::media {
namespace {

using testing::Loudness;
using testing::MidiNoteBytes;
using testing::WriteBytes;

struct MidiCase {
    const char* name;
    std::string bytes;
    bool playable;
};

void PrintTo(const MidiCase& c, std::ostream* os) {
    *os << c.name;
}

class MidiCheck : public ::testing::TestWithParam<MidiCase> {};

TEST_P(MidiCheck, TellsPlayableFromBroken) {
    std::string why;
    EXPECT_EQ(IsPlayableMidi(GetParam().bytes, &why), GetParam().playable) << why;
    EXPECT_EQ(why.empty(), GetParam().playable);
}

std::string WithByte(std::string bytes, std::size_t at, char value) {
    bytes[at] = value;
    return bytes;
}

// One track holding the events (an end-of-track event is added).
std::string MidiTrack(const std::string& events) {
    std::string track = events + std::string("\x00\xFF\x2F\x00", 4);
    return std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0", 21) +
           static_cast<char>(track.size()) + track;
}

INSTANTIATE_TEST_SUITE_P(
    Events, MidiCheck,
    ::testing::Values(
        MidiCase{"RunningStatus", MidiTrack(std::string("\0\x90\x3C\x40\x10\x3C\0", 7)), true},
        MidiCase{"SysEx", MidiTrack(std::string("\0\xF0\x02\x7E\xF7", 5)), true},
        MidiCase{"DataWithoutStatus", MidiTrack(std::string("\0\x3C\x40", 3)), false},
        MidiCase{"DataByteOver7F", MidiTrack(std::string("\0\x90\x3C\xC0", 4)), false},
        MidiCase{"NoteCutByTrackEnd",
                 std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0\x03\0\x90\x3C", 25), false},
        MidiCase{"TempoOfTwoBytes", MidiTrack(std::string("\0\xFF\x51\x02\x07\xA1", 6)), false},
        MidiCase{"MetaLongerThanTrack", MidiTrack(std::string("\0\xFF\x01\x7F", 4)), false},
        MidiCase{"DeltaOfFiveBytes", MidiTrack(std::string("\x81\x81\x81\x81\x01\xC0\x01", 7)),
                 false},
        MidiCase{"SystemCommonByte", MidiTrack(std::string("\0\xF2\0\0", 4)), false}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Files, MidiCheck,
    ::testing::Values(MidiCase{"Good", MidiNoteBytes(), true}, MidiCase{"Empty", "", false},
                      MidiCase{"WaveFile", "RIFF\x24\x00\x00\x00WAVEfmt ", false},
                      MidiCase{"NoTracks", WithByte(MidiNoteBytes(), 11, 0), false},
                      MidiCase{"ZeroDivision", WithByte(WithByte(MidiNoteBytes(), 12, 0), 13, 0),
                               false},
                      MidiCase{"MoreTracksThanThere", WithByte(MidiNoteBytes(), 11, 2), false},
                      MidiCase{"TrackCutShort", MidiNoteBytes().substr(0, 30), false},
                      MidiCase{"HugeHeaderLength", WithByte(MidiNoteBytes(), 4, '\x7F'), false}),
    [](const auto& info) { return std::string(info.param.name); });

// Seconds from the start to the first clearly audible sample after `from`.
double FirstSoundAfter(const std::vector<std::int16_t>& samples, double from) {
    for (auto i = static_cast<std::size_t>(from * kSampleRate) * kChannels; i < samples.size();
         ++i) {
        if (std::abs(static_cast<int>(samples[i])) > 300)
            return static_cast<double>(i / kChannels) / kSampleRate;
    }
    return -1;
}

class MusicMixing : public ::testing::Test {
  protected:
    void SetUp() override {
        midi_ = dir_.filePath("note.mid").toStdString();
        WriteBytes(midi_, MidiNoteBytes(1.0, 2.0));
    }

    std::vector<std::int16_t> Render(double seconds) {
        std::vector<std::int16_t> out(static_cast<std::size_t>(seconds * kSampleRate) * kChannels);
        mixer_.render(out.data(), static_cast<int>(out.size() / kChannels));
        return out;
    }

    QTemporaryDir dir_;
    std::filesystem::path midi_;
    Mixer mixer_;
};

TEST_F(MusicMixing, PlaysAndStartsOverWhenThePieceEnds) {
    std::string why;
    ASSERT_TRUE(mixer_.playMusic(midi_, &why)) << why;
    auto out = Render(4.5);

    const double firstNote = Loudness(out, 0.2, 0.8);
    EXPECT_GT(firstNote, 200.0);
    EXPECT_LT(Loudness(out, 1.6, 1.95), firstNote * 0.1) << "rest after the note";
    EXPECT_GT(Loudness(out, 2.2, 2.8), firstNote * 0.5) << "the piece started over";
    EXPECT_NEAR(FirstSoundAfter(out, 1.95), 2.0, 0.01) << "restarted within a few milliseconds";
    EXPECT_GT(Loudness(out, 4.2, 4.5), firstNote * 0.5) << "and again";
    EXPECT_EQ(mixer_.musicRestarts(), 2);
    EXPECT_TRUE(mixer_.musicPlaying());
}

TEST_F(MusicMixing, ANewPieceReplacesTheOldOne) {
    ASSERT_TRUE(mixer_.playMusic(midi_));
    Render(0.5);
    std::filesystem::path later = dir_.filePath("late.mid").toStdString();
    WriteBytes(later, MidiNoteBytes(1.0, 2.0, 0.5));  // its note starts after half a second
    ASSERT_TRUE(mixer_.playMusic(later)) << "replaces at once";
    auto out = Render(1.0);
    EXPECT_LT(Loudness(out, 0.1, 0.45), 50.0) << "old note cut off";
    EXPECT_GT(Loudness(out, 0.6, 0.95), 200.0);
}

TEST_F(MusicMixing, BrokenFileStopsTheMusicAndSaysWhy) {
    ASSERT_TRUE(mixer_.playMusic(midi_));
    Render(0.3);
    std::filesystem::path broken = dir_.filePath("broken.mid").toStdString();
    WriteBytes(broken, "MThd garbage");
    std::string why;
    EXPECT_FALSE(mixer_.playMusic(broken, &why));
    EXPECT_FALSE(why.empty());
    EXPECT_FALSE(mixer_.musicPlaying());
    auto out = Render(1.0);
    EXPECT_LT(Loudness(out, 0.2, 1.0), 5.0);
}

TEST_F(MusicMixing, PieceWithoutNotesIsNotLoopedEndlessly) {
    std::filesystem::path empty = dir_.filePath("empty.mid").toStdString();
    std::string track("\x00\xFF\x2F\x00", 4);
    WriteBytes(empty, std::string("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xE0", 14) +
                          std::string("MTrk\x00\x00\x00\x04", 8) + track);
    ASSERT_TRUE(mixer_.playMusic(empty));
    Render(2.5);
    EXPECT_FALSE(mixer_.musicPlaying());
    EXPECT_EQ(mixer_.musicRestarts(), 0);
}

TEST(MusicSoundFont, MissingSoundFontIsAFailureNotACrash) {
    QTemporaryDir dir;
    std::filesystem::path midi = dir.filePath("note.mid").toStdString();
    WriteBytes(midi, MidiNoteBytes());
    Mixer mixer("/nonexistent/none.sf2");
    std::string why;
    EXPECT_FALSE(mixer.playMusic(midi, &why));
    EXPECT_NE(why.find("none.sf2"), std::string::npos);
    std::vector<std::int16_t> out(2000, 1);
    mixer.render(out.data(), 1000);
    EXPECT_EQ(Loudness(out, 0, 1), 0.0);
}

}  // namespace
}  // namespace velmora::media
