// MIDI music through FluidSynth, rendered on demand by the mixer (no
// FluidSynth audio driver: the mixer pulls the samples).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "files/midi_file.h"

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_player_t fluid_player_t;

namespace velmora::media {

inline constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

class MusicSynth {
  public:
    explicit MusicSynth(std::filesystem::path soundFont = kDefaultSoundFont);
    ~MusicSynth();
    MusicSynth(const MusicSynth&) = delete;
    MusicSynth& operator=(const MusicSynth&) = delete;

    // Replaces the piece; false (reason in *why) when the file cannot be
    // read, is no MIDI file, or the soundfont cannot be loaded. The old
    // piece is stopped either way.
    bool play(const std::filesystem::path& file, std::string* why = nullptr);
    // Loads the soundfont now rather than at the first piece (which would
    // hold up the sound card for a moment). False, with the reason, when it
    // cannot be loaded.
    bool loadSoundFont(std::string* why = nullptr);
    void stop();
    bool playing() const { return player_ != nullptr; }
    // How often the piece has started over since play().
    int restarts() const { return restarts_; }

    // Adds count stereo frames of music onto out (interleaved, 44100 Hz).
    // A piece that ends starts over at once.
    void renderAdd(std::int16_t* out, int count);

  private:
    bool startPlayer();
    void deletePlayer();
    void renderBlock(std::int16_t* out, int count);
    bool pieceEnded() const;

    std::filesystem::path soundFont_;
    std::string midiBytes_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_player_t* player_ = nullptr;
    int restarts_ = 0;
};

}  // namespace velmora::media
