// The one mix of everything the game plays: the looping music piece and the
// latest sound cue, scaled by the volume. Pulled by whatever output is in
// use (the sound card, a WAVE file, or a test) without any event loop.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "files/wave_decoder.h"
#include "media/music_synth.h"

namespace velmora::media {

class Mixer {
  public:
    explicit Mixer(std::filesystem::path soundFont = kDefaultSoundFont);

    // Replaces the music; false (reason in *why) when it cannot be played,
    // in which case no music plays.
    bool playMusic(const std::filesystem::path& file, std::string* why = nullptr);
    void stopMusic();
    bool loadSoundFont(std::string* why = nullptr);
    bool musicPlaying() const;
    int musicRestarts() const;

    // Starts the cue from its beginning, cutting off the cue still playing.
    void playCue(std::shared_ptr<const DecodedSound> cue);
    bool cuePlaying() const;

    void setVolume(int percent);  // clamped to 0..100
    void setMuted(bool muted);

    // Writes count stereo frames (2 × count samples, 44100 Hz) into frames.
    void render(std::int16_t* frames, int count);

  private:
    void addCue(std::int16_t* frames, int count);
    void applyGain(std::int16_t* frames, int count) const;

    // The sound card may pull from its own thread.
    mutable std::mutex mutex_;
    MusicSynth music_;
    std::shared_ptr<const DecodedSound> cue_;
    int cueFrame_ = 0;
    int volume_ = 100;
    bool muted_ = false;
};

}  // namespace velmora::media
