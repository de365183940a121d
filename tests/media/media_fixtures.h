// Sound files made by the tests themselves, and ways to look at sound.
#pragma once

#include <sndfile.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "files/wave_decoder.h"

namespace velmora::media::testing {

// value(frame, channel) in -1..1, written with the given libsndfile format.
template <typename Fn>
bool WriteSound(const std::filesystem::path& path, int format, int channels, int rate, int frames,
                Fn value) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    std::vector<float> samples(static_cast<std::size_t>(frames) * channels);
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) samples[f * channels + c] = value(f, c);
    }
    sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    return true;
}

// A cue of constant level, easy to tell apart in a mix.
inline bool WriteLevelCue(const std::filesystem::path& path, float level, double seconds) {
    return WriteSound(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, kSampleRate,
                      static_cast<int>(seconds * kSampleRate), [level](int, int) { return level; });
}

inline float Sine(int frame, int rate, double hz, float amplitude) {
    return amplitude * static_cast<float>(std::sin(2.0 * std::numbers::pi * hz * frame / rate));
}

// Variable-length quantity of a MIDI delta time.
inline void PutDelta(std::string& out, std::uint32_t ticks) {
    std::string bytes(1, static_cast<char>(ticks & 0x7F));
    while ((ticks >>= 7) != 0)
        bytes.insert(bytes.begin(), static_cast<char>(0x80 | (ticks & 0x7F)));
    out += bytes;
}

// A one-track MIDI file at 120 beats a minute (960 ticks a second): after
// leadSeconds of silence a square lead note held for noteSeconds, then rest
// until pieceSeconds.
inline std::string MidiNoteBytes(double noteSeconds = 1.0, double pieceSeconds = 2.0,
                                 double leadSeconds = 0.0) {
    const auto leadTicks = static_cast<std::uint32_t>(leadSeconds * 960);
    const auto noteTicks = static_cast<std::uint32_t>(noteSeconds * 960);
    const auto restTicks =
        static_cast<std::uint32_t>((pieceSeconds - noteSeconds - leadSeconds) * 960);
    std::string track;
    PutDelta(track, 0);
    track += "\xC0\x50";  // lead 1 (square): sustains, stops quickly
    PutDelta(track, leadTicks);
    track += "\x90\x45\x7F";
    PutDelta(track, noteTicks);
    track += std::string("\x80\x45\x00", 3);
    PutDelta(track, restTicks);
    track += std::string("\xFF\x2F\x00", 3);

    auto be32 = [](std::uint32_t v) {
        return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 8), static_cast<char>(v)};
    };
    std::string file = "MThd" + be32(6) + std::string("\x00\x00\x00\x01\x01\xE0", 6);
    file += "MTrk" + be32(static_cast<std::uint32_t>(track.size())) + track;
    return file;
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Mean absolute sample value of stereo frames [from, to).
inline double Loudness(const std::vector<std::int16_t>& samples, double fromSeconds,
                       double toSeconds) {
    auto from = static_cast<std::size_t>(fromSeconds * kSampleRate) * kChannels;
    auto to =
        std::min(samples.size(), static_cast<std::size_t>(toSeconds * kSampleRate) * kChannels);
    if (to <= from) return 0.0;
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += std::abs(static_cast<int>(samples[i]));
    return sum / static_cast<double>(to - from);
}

inline void SpinEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace velmora::media::testing
