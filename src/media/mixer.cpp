#include "media/mixer.h"

#include <algorithm>
#include <cstring>

namespace velmora::media {

Mixer::Mixer(std::filesystem::path soundFont) : music_(std::move(soundFont)) {}

bool Mixer::playMusic(const std::filesystem::path& file, std::string* why) {
    std::lock_guard lock(mutex_);
    return music_.play(file, why);
}

bool Mixer::loadSoundFont(std::string* why) {
    std::lock_guard lock(mutex_);
    return music_.loadSoundFont(why);
}

void Mixer::stopMusic() {
    std::lock_guard lock(mutex_);
    music_.stop();
}

bool Mixer::musicPlaying() const {
    std::lock_guard lock(mutex_);
    return music_.playing();
}

int Mixer::musicRestarts() const {
    std::lock_guard lock(mutex_);
    return music_.restarts();
}

void Mixer::playCue(std::shared_ptr<const DecodedSound> cue) {
    std::lock_guard lock(mutex_);
    cue_ = std::move(cue);
    cueFrame_ = 0;
}

bool Mixer::cuePlaying() const {
    std::lock_guard lock(mutex_);
    return cue_ != nullptr;
}

void Mixer::setVolume(int percent) {
    std::lock_guard lock(mutex_);
    volume_ = std::clamp(percent, 0, 100);
}

void Mixer::setMuted(bool muted) {
    std::lock_guard lock(mutex_);
    muted_ = muted;
}

void Mixer::render(std::int16_t* frames, int count) {
    if (count <= 0) return;
    std::lock_guard lock(mutex_);
    std::memset(frames, 0, sizeof(std::int16_t) * static_cast<std::size_t>(count) * kChannels);
    music_.renderAdd(frames, count);
    addCue(frames, count);
    applyGain(frames, count);
}

void Mixer::addCue(std::int16_t* frames, int count) {
    if (!cue_) return;
    int n = std::min(count, cue_->frameCount() - cueFrame_);
    const std::int16_t* in = cue_->samples.data() + static_cast<std::size_t>(cueFrame_) * kChannels;
    for (int i = 0; i < n * kChannels; ++i) {
        frames[i] = static_cast<std::int16_t>(std::clamp(frames[i] + in[i], -32768, 32767));
    }
    cueFrame_ += n;
    if (cueFrame_ >= cue_->frameCount()) cue_.reset();
}

void Mixer::applyGain(std::int16_t* frames, int count) const {
    if (!muted_ && volume_ == 100) return;
    int gain = muted_ ? 0 : volume_;
    for (int i = 0; i < count * kChannels; ++i) {
        frames[i] = static_cast<std::int16_t>(frames[i] * gain / 100);
    }
}

}  // namespace velmora::media
