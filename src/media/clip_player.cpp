#include "media/clip_player.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>
#include <QVideoWidget>

namespace velmora::media {

QtClipPlayer::QtClipPlayer(QVideoWidget* display, bool withSound, QObject* parent)
    : ClipPlayer(parent), player_(new QMediaPlayer(this)) {
    player_->setVideoOutput(display);
    if (withSound) {
        audio_ = new QAudioOutput(this);
        player_->setAudioOutput(audio_);
    }
    connect(player_, &QMediaPlayer::mediaStatusChanged, this, &QtClipPlayer::onStatusChanged);
    connect(player_, &QMediaPlayer::errorOccurred, this, &QtClipPlayer::onError);
}

void QtClipPlayer::start(const QString& path) {
    active_ = true;
    player_->stop();
    player_->setSource(QUrl::fromLocalFile(path));
    player_->play();
}

void QtClipPlayer::stop() {
    active_ = false;
    player_->stop();
}

void QtClipPlayer::setVolume(int percent, bool muted) {
    if (!audio_) return;
    audio_->setVolume(static_cast<float>(percent) / 100.0f);
    audio_->setMuted(muted);
}

void QtClipPlayer::onStatusChanged() {
    if (!active_) return;
    QMediaPlayer::MediaStatus status = player_->mediaStatus();
    if (status == QMediaPlayer::EndOfMedia) {
        active_ = false;
        emit finished();
    } else if (status == QMediaPlayer::InvalidMedia) {
        active_ = false;
        emit failed(player_->errorString());
    }
}

void QtClipPlayer::onError() {
    if (!active_ || player_->error() == QMediaPlayer::NoError) return;
    active_ = false;
    player_->stop();
    emit failed(player_->errorString());
}

}  // namespace velmora::media
