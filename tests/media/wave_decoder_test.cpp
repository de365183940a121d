#include "files/wave_decoder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>

#include "media_fixtures.h"

namespace velmora::media {
namespace {

using testing::Sine;
using testing::WriteBytes;
using testing::WriteSound;

struct WaveCase {
    const char* name;
    int format;
    int channels;
    int rate;
    int tolerance;  // in 16-bit steps; 8-bit sound is coarse
};

void PrintTo(const WaveCase& c, std::ostream* os) {
    *os << c.name;
}

class WaveDecoding : public ::testing::TestWithParam<WaveCase> {
  protected:
    QTemporaryDir dir_;
};

// A 441 Hz tone, left and right in opposite phase so that a swapped or
// dropped channel shows.
float Tone(int frame, int channel, int rate) {
    float v = Sine(frame, rate, 441.0, 0.5f);
    return channel == 0 ? v : -v;
}

TEST_P(WaveDecoding, GivesTheToneAsStereoAt44100) {
    const WaveCase& c = GetParam();
    std::filesystem::path path = dir_.filePath("tone.wav").toStdString();
    const int frames = c.rate / 2;
    ASSERT_TRUE(WriteSound(path, c.format, c.channels, c.rate, frames,
                           [&](int f, int ch) { return Tone(f, ch, c.rate); }));

    std::string why;
    auto sound = DecodeSoundFile(path, &why);
    ASSERT_TRUE(sound) << why;
    EXPECT_NEAR(sound->frameCount(), kSampleRate / 2, 2);
    for (int f = 0; f < sound->frameCount() - 2; f += 37) {
        float expectedLeft = Sine(f, kSampleRate, 441.0, 0.5f) * 32767.0f;
        float expectedRight = c.channels == 1 ? expectedLeft : -expectedLeft;
        ASSERT_NEAR(sound->samples[f * 2], expectedLeft, c.tolerance) << "frame " << f;
        ASSERT_NEAR(sound->samples[f * 2 + 1], expectedRight, c.tolerance) << "frame " << f;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WaveDecoding,
    ::testing::Values(WaveCase{"Pcm8", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 2, 44100, 300},
                      WaveCase{"Pcm16", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, 2},
                      WaveCase{"Pcm24", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, 44100, 2},
                      WaveCase{"Pcm32", SF_FORMAT_WAV | SF_FORMAT_PCM_32, 2, 44100, 2},
                      WaveCase{"Float", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 44100, 2},
                      WaveCase{"Mono16", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100, 2},
                      // Resampled linearly: the error of a 441 Hz tone stays small.
                      WaveCase{"Mono8At22050", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 22050, 400},
                      WaveCase{"Pcm16At11025", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 11025, 250},
                      WaveCase{"Pcm16At48000", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 48000, 60}),
    [](const auto& info) { return std::string(info.param.name); });

struct BrokenCase {
    const char* name;
    std::string bytes;
};

void PrintTo(const BrokenCase& c, std::ostream* os) {
    *os << c.name;
}

class BrokenWave : public ::testing::TestWithParam<BrokenCase> {
  protected:
    QTemporaryDir dir_;
};

TEST_P(BrokenWave, IsRefusedWithAReason) {
    std::filesystem::path path = dir_.filePath("broken.wav").toStdString();
    WriteBytes(path, GetParam().bytes);
    std::string why;
    EXPECT_FALSE(DecodeSoundFile(path, &why));
    EXPECT_FALSE(why.empty());
}

std::string HeaderOnly() {
    // A RIFF header whose format chunk breaks off.
    return std::string("RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00", 22);
}

std::string ZeroChannels() {
    std::string b("RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00", 20);
    b += std::string("\x01\x00\x00\x00\x44\xAC\x00\x00\x88\x58\x01\x00\x02\x00\x10\x00", 16);
    b += std::string("data\x00\x00\x00\x00", 8);
    return b;
}

INSTANTIATE_TEST_SUITE_P(Files, BrokenWave,
                         ::testing::Values(BrokenCase{"Empty", ""},
                                           BrokenCase{"NotSound", "this is a text file\n"},
                                           BrokenCase{"HeaderCutShort", HeaderOnly()},
                                           BrokenCase{"ZeroChannels", ZeroChannels()}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(WaveDecodingFailure, MissingFileGivesAReason) {
    std::string why;
    EXPECT_FALSE(DecodeSoundFile("/nonexistent/none.wav", &why));
    EXPECT_FALSE(why.empty());
}

TEST(WaveDecodingTruncated, DataCutShortPlaysWhatIsThere) {
    QTemporaryDir dir;
    std::filesystem::path path = dir.filePath("cut.wav").toStdString();
    ASSERT_TRUE(WriteSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, 44100,
                           [](int f, int) { return Sine(f, 44100, 441.0, 0.5f); }));
    std::filesystem::resize_file(path, 44 + 4 * 1000);
    std::string why;
    auto sound = DecodeSoundFile(path, &why);
    ASSERT_TRUE(sound) << why;
    EXPECT_EQ(sound->frameCount(), 1000);
}

}  // namespace
}  // namespace velmora::media
