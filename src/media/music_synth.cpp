#include "media/music_synth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "files/midi_file.h"
#include "files/paths.h"

namespace velmora::media {

namespace {

// Short enough that a restart lands within a few milliseconds of the end.
constexpr int kBlockFrames = 64;

void SetWhy(std::string* why, std::string text) {
    if (why) *why = std::move(text);
}

// FluidSynth's warnings (missing presets and the like) are not the
// player's business; errors still reach stderr.
void QuietFluidSynthLog() {
    static bool done = false;
    if (done) return;
    done = true;
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
}

}  // namespace

MusicSynth::MusicSynth(std::filesystem::path soundFont) : soundFont_(std::move(soundFont)) {}

MusicSynth::~MusicSynth() {
    deletePlayer();
    if (synth_) delete_fluid_synth(synth_);
    if (settings_) delete_fluid_settings(settings_);
}

bool MusicSynth::loadSoundFont(std::string* why) {
    if (synth_) return true;
    QuietFluidSynthLog();
    settings_ = new_fluid_settings();
    if (!settings_) {
        SetWhy(why, "FluidSynthを初期化できません");
        return false;
    }
    fluid_settings_setnum(settings_, "synth.sample-rate", 44100.0);
    fluid_settings_setstr(settings_, "player.timing-source", "sample");
    synth_ = new_fluid_synth(settings_);
    if (!synth_ || fluid_synth_sfload(synth_, soundFont_.c_str(), 1) == FLUID_FAILED) {
        if (synth_) delete_fluid_synth(synth_);
        synth_ = nullptr;
        delete_fluid_settings(settings_);
        settings_ = nullptr;
        SetWhy(why, "音色ファイル " + soundFont_.string() + " を読めません");
        return false;
    }
    return true;
}

bool MusicSynth::play(const std::filesystem::path& file, std::string* why) {
    stop();
    FileProblem problem;
    auto bytes = ReadLimitedFile(file, FileKind::kMusic, &problem);
    if (!bytes) {
        SetWhy(why, problem.reason);
        return false;
    }
    if (!IsPlayableMidi(*bytes, why) || !loadSoundFont(why)) return false;
    midiBytes_ = std::move(*bytes);
    restarts_ = 0;
    if (!startPlayer()) {
        SetWhy(why, "MIDIファイルを再生できません");
        midiBytes_.clear();
        return false;
    }
    return true;
}

void MusicSynth::stop() {
    deletePlayer();
    midiBytes_.clear();
    if (synth_) fluid_synth_system_reset(synth_);
}

bool MusicSynth::startPlayer() {
    deletePlayer();
    player_ = new_fluid_player(synth_);
    if (!player_) return false;
    if (fluid_player_add_mem(player_, midiBytes_.data(), midiBytes_.size()) != FLUID_OK ||
        fluid_player_play(player_) != FLUID_OK) {
        deletePlayer();
        return false;
    }
    return true;
}

void MusicSynth::deletePlayer() {
    if (!player_) return;
    fluid_player_stop(player_);
    delete_fluid_player(player_);
    player_ = nullptr;
}

void MusicSynth::renderBlock(std::int16_t* out, int count) {
    std::int16_t block[kBlockFrames * 2];
    fluid_synth_write_s16(synth_, count, block, 0, 2, block, 1, 2);
    for (int i = 0; i < count * 2; ++i) {
        int sum = out[i] + block[i];
        out[i] = static_cast<std::int16_t>(std::clamp(sum, -32768, 32767));
    }
}

void MusicSynth::renderAdd(std::int16_t* out, int count) {
    for (int done = 0; done < count;) {
        if (!player_) return;  // a stopped piece has been silenced already
        if (pieceEnded()) {
            if (fluid_player_get_total_ticks(player_) > 0 && startPlayer()) {
                ++restarts_;
            } else {
                deletePlayer();  // nothing to loop
                return;
            }
        }
        int n = std::min(kBlockFrames, count - done);
        renderBlock(out + done * 2, n);
        done += n;
    }
}

// The player itself reports the end only after a grace period for ringing
// notes; the piece is over as soon as its last tick has passed.
bool MusicSynth::pieceEnded() const {
    if (fluid_player_get_status(player_) == FLUID_PLAYER_DONE) return true;
    int total = fluid_player_get_total_ticks(player_);
    return total > 0 && fluid_player_get_current_tick(player_) >= total;
}

}  // namespace velmora::media
