// WAVE cues decoded once into the mixer's own format: 44100 Hz, stereo,
// signed 16-bit, interleaved.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::media {

inline constexpr int kSampleRate = 44100;
inline constexpr int kChannels = 2;

struct DecodedSound {
    std::vector<std::int16_t> samples;  // left, right, left, right, ...
    int sourceBits = 0;                 // 8, 16, 24 or 32 for PCM files, 0 otherwise
    int frameCount() const { return static_cast<int>(samples.size() / kChannels); }
};

// Reads any sound file libsndfile knows (PCM of 8, 16, 24 or 32 bits, float),
// mixes it to stereo and resamples it to 44100 Hz. Nothing, with the reason
// in *why, when the file cannot be read or holds no sound.
// The file is read as a cue (a regular file within the cue size limit).
std::optional<DecodedSound> DecodeSoundFile(const std::filesystem::path& path,
                                            std::string* why = nullptr);

// The same from the file's bytes.
std::optional<DecodedSound> DecodeSound(std::string_view bytes, std::string* why = nullptr);

// Linear resampling of interleaved stereo float frames from one rate to
// another; also used for any rate a file happens to have.
std::vector<float> ResampleStereo(const std::vector<float>& frames, int fromRate, int toRate);

}  // namespace velmora::media
