#include "files/wave_decoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "files/paths.h"

namespace velmora::media {

namespace {

// Cues are short; a huge file is cut rather than filling the memory.
constexpr sf_count_t kMaxSourceFrames = sf_count_t{10} * 60 * 192000;

struct SndFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndFilePtr = std::unique_ptr<SNDFILE, SndFileCloser>;

void SetWhy(std::string* why, std::string text) {
    if (why) *why = std::move(text);
}

// Mono is doubled; more than two channels keep the first two.
std::vector<float> ToStereo(const std::vector<float>& interleaved, int channels) {
    std::size_t frames = interleaved.size() / static_cast<std::size_t>(channels);
    std::vector<float> stereo(frames * kChannels);
    for (std::size_t f = 0; f < frames; ++f) {
        const float* in = &interleaved[f * static_cast<std::size_t>(channels)];
        stereo[f * 2] = in[0];
        stereo[f * 2 + 1] = channels > 1 ? in[1] : in[0];
    }
    return stereo;
}

// libsndfile reads from memory through these.
struct MemoryFile {
    std::string_view bytes;
    sf_count_t at = 0;
};

sf_count_t MemoryLength(void* user) {
    return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size());
}

sf_count_t MemorySeek(sf_count_t offset, int whence, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const auto size = static_cast<sf_count_t>(file->bytes.size());
    sf_count_t base = whence == SEEK_CUR ? file->at : whence == SEEK_END ? size : 0;
    sf_count_t target = base + offset;
    if (target < 0 || target > size) return -1;
    file->at = target;
    return file->at;
}

sf_count_t MemoryRead(void* out, sf_count_t count, void* user) {
    auto* file = static_cast<MemoryFile*>(user);
    const auto size = static_cast<sf_count_t>(file->bytes.size());
    sf_count_t n = std::clamp<sf_count_t>(size - file->at, 0, std::max<sf_count_t>(count, 0));
    std::memcpy(out, file->bytes.data() + file->at, static_cast<std::size_t>(n));
    file->at += n;
    return n;
}

sf_count_t MemoryWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t MemoryTell(void* user) {
    return static_cast<MemoryFile*>(user)->at;
}

int PcmBits(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_PCM_S8:
        case SF_FORMAT_PCM_U8:
            return 8;
        case SF_FORMAT_PCM_16:
            return 16;
        case SF_FORMAT_PCM_24:
            return 24;
        case SF_FORMAT_PCM_32:
            return 32;
        default:
            return 0;
    }
}

std::int16_t ToInt16(float value) {
    float scaled = std::clamp(value, -1.0f, 1.0f) * 32767.0f;
    return static_cast<std::int16_t>(std::lround(scaled));
}

}  // namespace

std::vector<float> ResampleStereo(const std::vector<float>& frames, int fromRate, int toRate) {
    if (fromRate == toRate || frames.empty()) return frames;
    const std::size_t inFrames = frames.size() / kChannels;
    const auto outFrames = static_cast<std::size_t>(
        (static_cast<long double>(inFrames) * toRate + fromRate - 1) / fromRate);
    std::vector<float> out(outFrames * kChannels);
    const double step = static_cast<double>(fromRate) / toRate;
    for (std::size_t o = 0; o < outFrames; ++o) {
        double position = static_cast<double>(o) * step;
        auto i = static_cast<std::size_t>(position);
        if (i >= inFrames) i = inFrames - 1;
        std::size_t next = std::min(i + 1, inFrames - 1);
        auto t = static_cast<float>(position - static_cast<double>(i));
        for (int c = 0; c < kChannels; ++c) {
            float a = frames[i * kChannels + c];
            float b = frames[next * kChannels + c];
            out[o * kChannels + c] = a + (b - a) * t;
        }
    }
    return out;
}

std::optional<DecodedSound> DecodeSoundFile(const std::filesystem::path& path, std::string* why) {
    FileProblem problem;
    std::optional<std::string> bytes = ReadLimitedFile(path, FileKind::kCue, &problem);
    if (!bytes) {
        SetWhy(why, problem.reason);
        return std::nullopt;
    }
    return DecodeSound(*bytes, why);
}

std::optional<DecodedSound> DecodeSound(std::string_view bytes, std::string* why) {
    MemoryFile memory{bytes};
    SF_VIRTUAL_IO io{MemoryLength, MemorySeek, MemoryRead, MemoryWrite, MemoryTell};
    SF_INFO info{};
    SndFilePtr file(sf_open_virtual(&io, SFM_READ, &info, &memory));
    if (!file) {
        SetWhy(why, sf_strerror(nullptr));
        return std::nullopt;
    }
    if (info.channels < 1 || info.samplerate < 1 || info.frames < 1) {
        SetWhy(why, "音のデータがありません");
        return std::nullopt;
    }
    sf_count_t wanted = std::min(info.frames, kMaxSourceFrames);
    std::vector<float> interleaved(static_cast<std::size_t>(wanted) *
                                   static_cast<std::size_t>(info.channels));
    sf_count_t got = sf_readf_float(file.get(), interleaved.data(), wanted);
    if (got < 1) {
        SetWhy(why, sf_strerror(file.get()));
        return std::nullopt;
    }
    interleaved.resize(static_cast<std::size_t>(got) * static_cast<std::size_t>(info.channels));

    std::vector<float> stereo =
        ResampleStereo(ToStereo(interleaved, info.channels), info.samplerate, kSampleRate);
    DecodedSound sound;
    sound.sourceBits = PcmBits(info.format);
    sound.samples.reserve(stereo.size());
    for (float v : stereo) sound.samples.push_back(ToInt16(v));
    return sound;
}

}  // namespace velmora::media
