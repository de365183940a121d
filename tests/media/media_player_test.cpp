#include "media/media_player.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <memory>

#include "media/mixer.h"
#include "media/movie_window.h"
#include "media_fixtures.h"

namespace velmora::media {
namespace {

using testing::Loudness;
using testing::MidiNoteBytes;
using testing::SpinEventLoop;
using testing::WriteBytes;
using testing::WriteLevelCue;

struct Report {
    QString caption;
    QString text;
};

// A scenario folder whose media folders are spelt as on Windows.
class ScenarioMedia : public ::testing::Test {
  protected:
    void SetUp() override {
        QDir root(dir_.path());
        root.mkdir("MIDI");
        root.mkdir("Wave");
        root.mkdir("movie");
        ASSERT_TRUE(WriteLevelCue(path("Wave/Boom.wav"), 0.25f, 2.0));
        ASSERT_TRUE(WriteLevelCue(path("Wave/Shot.WAV"), -0.5f, 0.3));
        WriteBytes(path("MIDI/Theme.mid"), MidiNoteBytes(1.0, 2.0));
    }

    void TearDown() override { qunsetenv("VELMORA_AUDIO_OUT"); }

    std::filesystem::path path(const char* relative) const {
        return std::filesystem::path(dir_.path().toStdString()) / relative;
    }

    std::unique_ptr<MediaPlayer> MakePlayer(bool recording) {
        if (recording) qputenv("VELMORA_AUDIO_OUT", QFile::encodeName(recording_));
        auto player = std::make_unique<MediaPlayer>();
        player->setScenarioFolder(dir_.path());
        player->setErrorReporter([this](const QString& caption, const QString& text) {
            reports_.push_back({caption, text});
        });
        return player;
    }

    // The recorded file as libsndfile reads it, checked to be 44100 Hz
    // stereo 16-bit WAVE.
    std::vector<std::int16_t> ReadRecording() const {
        SF_INFO info{};
        SNDFILE* file = sf_open(QFile::encodeName(recording_).constData(), SFM_READ, &info);
        EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
        if (!file) return {};
        EXPECT_EQ(info.samplerate, 44100);
        EXPECT_EQ(info.channels, 2);
        EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        std::vector<std::int16_t> samples(static_cast<std::size_t>(info.frames) * 2);
        sf_readf_short(file, samples.data(), info.frames);
        sf_close(file);
        return samples;
    }

    QTemporaryDir dir_;
    QString recording_ = QDir(dir_.path()).filePath("session.wav");
    std::vector<Report> reports_;
};

TEST_F(ScenarioMedia, RecordingIsAValidWaveFileAsLongAsThePlay) {
    QElapsedTimer clock;
    clock.start();
    auto player = MakePlayer(true);
    EXPECT_TRUE(player->hasOutput());
    SpinEventLoop(500);
    EXPECT_GT(ReadRecording().size(), 2u * 44100 * 3 / 10) << "valid even before a flush";
    player->flushOutput();
    const double played = static_cast<double>(clock.elapsed()) / 1000;
    const double seconds = static_cast<double>(ReadRecording().size()) / 2 / 44100;
    EXPECT_NEAR(seconds, played, 0.05) << "as much sound as time has passed";

    SpinEventLoop(200);
    player.reset();  // completes the file
    EXPECT_GT(static_cast<double>(ReadRecording().size()) / 2 / 44100, seconds + 0.15);
}

TEST_F(ScenarioMedia, SecondCueCutsOffTheFirstInTheRecording) {
    auto player = MakePlayer(true);
    player->playSoundCue("boom.wav");  // the file is Boom.wav
    SpinEventLoop(300);
    player->playSoundCue("Shot.wav");  // the file is Shot.WAV
    SpinEventLoop(700);
    player->flushOutput();
    auto samples = ReadRecording();

    std::size_t boom = 0, shot = 0, mixed = 0, lastShot = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        int s = samples[i];
        if (std::abs(s - 8192) <= 2) ++boom;
        if (std::abs(s + 16384) <= 2) ++shot, lastShot = i;
        if (std::abs(s + 8192) <= 2) ++mixed;
    }
    EXPECT_GT(boom, 2u * 44100 / 10) << "the first cue played for a while";
    EXPECT_NEAR(static_cast<double>(shot), 2 * 0.3 * 44100, 4);
    EXPECT_EQ(mixed, 0u) << "the two cues never sound together";
    for (std::size_t i = lastShot + 1; i < samples.size(); ++i) {
        ASSERT_EQ(samples[i], 0) << "the first cue came back at sample " << i;
    }
}

TEST_F(ScenarioMedia, MusicIsRecordedFromTheMidiFolder) {
    auto player = MakePlayer(true);
    player->playMusic("THEME.MID");
    SpinEventLoop(700);
    player->flushOutput();
    EXPECT_GT(Loudness(ReadRecording(), 0.1, 0.6), 200.0);
    EXPECT_TRUE(reports_.empty());
}

class CueFolderSpelling : public ScenarioMedia,
                          public ::testing::WithParamInterface<const char*> {};

TEST_P(CueFolderSpelling, MissingCueIsReportedOnceThenStaysSilentAndQuiet) {
    auto player = MakePlayer(true);
    player->setScenarioFolder(dir_.path() + GetParam());
    player->playSoundCue("");
    player->playSoundCue("Nope.wav");
    SpinEventLoop(100);
    player->playSoundCue("Nope.wav");
    player->playSoundCue("Nope.wav");
    SpinEventLoop(200);
    player->flushOutput();

    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].caption, "エラー");
    EXPECT_EQ(reports_[0].text, dir_.path() + "/Wave/Nope.wavがありません。");
    auto samples = ReadRecording();
    EXPECT_GT(samples.size(), 2u * 44100 / 5);
    EXPECT_EQ(Loudness(samples, 0, 10), 0.0);
}

INSTANTIATE_TEST_SUITE_P(Folders, CueFolderSpelling, ::testing::Values("", "/"),
                         [](const auto& info) { return info.index == 0 ? "Bare" : "Slashed"; });

TEST_F(ScenarioMedia, MissingMusicIsReportedOnceAndStopsThePiece) {
    auto player = MakePlayer(false);
    player->playMusic("");
    EXPECT_TRUE(reports_.empty()) << "no music in a slot is no error";
    player->playMusic("Theme.mid");
    EXPECT_TRUE(player->mixer().musicPlaying());
    player->playMusic("Gone.mid");
    player->playMusic("Gone.mid");
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].caption, "エラー");
    EXPECT_EQ(reports_[0].text, "\\Midi\\Gone.midがありません。");
    EXPECT_FALSE(player->mixer().musicPlaying());
}

struct BadFileCase {
    const char* name;
    void (MediaPlayer::*play)(const QString&);
    const char* file;     // written under the scenario folder with junk in it
    const char* message;  // first line of the report
    const char* reason;   // a part of the second line
};

void PrintTo(const BadFileCase& c, std::ostream* os) {
    *os << c.name;
}

class UnplayableMedia : public ScenarioMedia, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(UnplayableMedia, IsReportedOnceWithTheReason) {
    const BadFileCase& c = GetParam();
    WriteBytes(path(c.file), "not a sound at all");
    auto player = MakePlayer(false);
    for (int i = 0; i < 3; ++i) (player.get()->*c.play)("bad.dat");
    ASSERT_EQ(reports_.size(), 1u);
    QString expected = QString(c.message).replace("FOLDER", dir_.path());
    EXPECT_TRUE(reports_[0].text.startsWith(expected + "\n(")) << reports_[0].text.toStdString();
    EXPECT_TRUE(reports_[0].text.contains(c.reason)) << reports_[0].text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnplayableMedia,
    ::testing::Values(BadFileCase{"Cue", &MediaPlayer::playSoundCue, "Wave/bad.dat",
                                  "FOLDER/Wave/bad.datがありません。", ""},
                      BadFileCase{"Music", &MediaPlayer::playMusic, "MIDI/bad.dat",
                                  "\\Midi\\bad.datがありません。", "MIDI"}),
    [](const auto& info) { return std::string(info.param.name); });

// Files a scenario may hold that must never be read: each is told once, with
// the reason, and nothing blocks.
struct RefusedFileCase {
    const char* name;
    void (MediaPlayer::*play)(const QString&);
    const char* file;  // under the scenario folder
    std::function<void(const std::filesystem::path&)> make;
    const char* reason;
};

void PrintTo(const RefusedFileCase& c, std::ostream* os) {
    *os << c.name;
}

class RefusedMedia : public ScenarioMedia, public ::testing::WithParamInterface<RefusedFileCase> {};

TEST_P(RefusedMedia, IsReportedOnceWithTheReason) {
    const RefusedFileCase& c = GetParam();
    c.make(path(c.file));
    auto player = MakePlayer(false);
    QString name = QString::fromStdString(std::filesystem::path(c.file).filename().string());
    for (int i = 0; i < 2; ++i) (player.get()->*c.play)(name);
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].caption, "エラー");
    EXPECT_TRUE(reports_[0].text.contains(name)) << reports_[0].text.toStdString();
    EXPECT_TRUE(reports_[0].text.contains(c.reason)) << reports_[0].text.toStdString();
    EXPECT_FALSE(player->mixer().musicPlaying());
    EXPECT_FALSE(player->mixer().cuePlaying());
}

std::string MidiWithSystemByte() {
    std::string track = std::string("\x00\x90\x3c\x40\x10\xF4\x00\xFF\x2F\x00", 10);
    return std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60MTrk\0\0\0", 21) +
           static_cast<char>(track.size()) + track;
}

INSTANTIATE_TEST_SUITE_P(
    Files, RefusedMedia,
    ::testing::Values(
        RefusedFileCase{
            "MusicLinkedFromOutside", &MediaPlayer::playMusic, "MIDI/Out.mid",
            [](const std::filesystem::path& p) {
                std::filesystem::create_symlink(
                    std::filesystem::path(VELMORA_TEST_DATA) / "fixture" / "Midi" / "start.mid", p);
            },
            "シナリオフォルダの外にあるファイルは読みません"},
        RefusedFileCase{"MusicFifo", &MediaPlayer::playMusic, "MIDI/Pipe.mid",
                        [](const std::filesystem::path& p) { mkfifo(p.c_str(), 0644); },
                        "通常のファイルではありません"},
        RefusedFileCase{
            "CueLinkedToDevZero", &MediaPlayer::playSoundCue, "Wave/Zero.wav",
            [](const std::filesystem::path& p) { std::filesystem::create_symlink("/dev/zero", p); },
            "シナリオフォルダの外にあるファイルは読みません"},
        RefusedFileCase{"CueTooLarge", &MediaPlayer::playSoundCue, "Wave/Huge.wav",
                        [](const std::filesystem::path& p) {
                            WriteBytes(p, "");
                            std::filesystem::resize_file(p, std::uintmax_t{3} << 30);
                        },
                        "ファイルが大きすぎます"},
        RefusedFileCase{"MidiWithIllegalEvent", &MediaPlayer::playMusic, "MIDI/Bad.mid",
                        [](const std::filesystem::path& p) { WriteBytes(p, MidiWithSystemByte()); },
                        "ファイルに置けないシステムメッセージ 0xF4"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScenarioMedia, NamesOutsideTheScenarioFolderAreRefused) {
    auto player = MakePlayer(false);
    player->playSoundCue("..\\..\\Boom.wav");
    player->playMusic("../MIDI/Theme.mid");
    ASSERT_EQ(reports_.size(), 2u);
    EXPECT_TRUE(reports_[0].text.contains("シナリオフォルダの外"))
        << reports_[0].text.toStdString();
    EXPECT_FALSE(player->mixer().cuePlaying());
    EXPECT_FALSE(player->mixer().musicPlaying());
}

TEST_F(ScenarioMedia, AnotherScenarioGetsItsOwnReports) {
    auto player = MakePlayer(false);
    player->playSoundCue("Nope.wav");
    player->setScenarioFolder(dir_.path() + "/MIDI");
    player->playSoundCue("Nope.wav");
    EXPECT_EQ(reports_.size(), 2u);
}

TEST_F(ScenarioMedia, MissingMovieIsReportedOnceWithoutShowingTheWindow) {
    auto player = MakePlayer(false);
    player->playMovie("", "第一艦隊第1攻撃隊発艦します！");
    player->playMovie("Launch.ogv", "第一艦隊第1攻撃隊発艦します！");
    player->playMovie("Launch.ogv", "第一艦隊第2攻撃隊発艦します！");
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].text, "\\Movie\\Launch.ogvがありません。");
    EXPECT_FALSE(player->movieWindow()->isVisible());
}

TEST(MediaSettings, MuteAndVolumeAreRememberedAndInTheMenu) {
    {
        MediaPlayer player;
        player.setMuted(false);
        player.setVolume(30);
        QWidget window;
        QMenu* menu = player.createSoundMenu(&window);
        EXPECT_EQ(menu->title(), "サウンド");
        ASSERT_EQ(menu->actions().size(), 2);
        QAction* mute = menu->actions()[0];
        EXPECT_EQ(mute->text(), "ミュート");
        EXPECT_EQ(menu->actions()[1]->text(), "音量...");
        EXPECT_TRUE(mute->isCheckable());
        mute->trigger();
        EXPECT_TRUE(player.muted());
        player.setMuted(false);
        EXPECT_FALSE(mute->isChecked()) << "the menu follows the setting";
        mute->trigger();
    }
    MediaPlayer next;
    EXPECT_TRUE(next.muted());
    EXPECT_EQ(next.volume(), 30);
    next.setVolume(400);
    EXPECT_EQ(next.volume(), 100);
}

}  // namespace
}  // namespace velmora::media
