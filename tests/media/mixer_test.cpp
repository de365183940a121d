#include "media/mixer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace velmora::media {
namespace {

std::shared_ptr<const DecodedSound> Level(std::int16_t value, int frames) {
    auto sound = std::make_shared<DecodedSound>();
    sound->samples.assign(static_cast<std::size_t>(frames) * kChannels, value);
    return sound;
}

class CueMixing : public ::testing::Test {
  protected:
    std::vector<std::int16_t> Render(int frames) {
        std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * kChannels, 12345);
        mixer_.render(out.data(), frames);
        return out;
    }

    Mixer mixer_;
};

TEST_F(CueMixing, NothingPlayingIsSilence) {
    for (std::int16_t s : Render(512)) ASSERT_EQ(s, 0);
}

TEST_F(CueMixing, CuePlaysToItsEndThenSilence) {
    mixer_.playCue(Level(1000, 300));
    auto out = Render(500);
    EXPECT_EQ(out[0], 1000);
    EXPECT_EQ(out[299 * 2 + 1], 1000);
    EXPECT_EQ(out[300 * 2], 0);
    EXPECT_FALSE(mixer_.cuePlaying());
}

TEST_F(CueMixing, ASecondCueCutsTheFirstOff) {
    mixer_.playCue(Level(1000, 4000));
    Render(1000);
    mixer_.playCue(Level(-3000, 200));
    auto out = Render(1000);
    EXPECT_EQ(out[0], -3000) << "the first cue is not mixed in";
    EXPECT_EQ(out[199 * 2], -3000);
    for (std::size_t i = 200 * 2; i < out.size(); ++i) ASSERT_EQ(out[i], 0) << "first cue resumed";
}

TEST_F(CueMixing, SameCueAgainStartsFromItsBeginning) {
    auto ramp = std::make_shared<DecodedSound>();
    for (int f = 0; f < 100; ++f)
        ramp->samples.insert(ramp->samples.end(), 2, static_cast<std::int16_t>(f));
    mixer_.playCue(ramp);
    Render(60);
    mixer_.playCue(ramp);
    EXPECT_EQ(Render(1)[0], 0);
}

struct LevelCase {
    int volume;
    bool muted;
    std::int16_t expected;
};

void PrintTo(const LevelCase& c, std::ostream* os) {
    *os << "volume " << c.volume << (c.muted ? " muted" : "");
}

class CueLevel : public ::testing::TestWithParam<LevelCase> {};

TEST_P(CueLevel, VolumeAndMuteScaleTheMix) {
    Mixer mixer;
    mixer.setVolume(GetParam().volume);
    mixer.setMuted(GetParam().muted);
    mixer.playCue(Level(20000, 10));
    std::int16_t out[2];
    mixer.render(out, 1);
    EXPECT_EQ(out[0], GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Levels, CueLevel,
                         ::testing::Values(LevelCase{100, false, 20000},
                                           LevelCase{50, false, 10000}, LevelCase{0, false, 0},
                                           LevelCase{100, true, 0},
                                           LevelCase{250, false, 20000},  // clamped to 100
                                           LevelCase{-5, false, 0}));

}  // namespace
}  // namespace velmora::media
