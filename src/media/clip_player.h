// The movie window's clip player. The window talks to this interface so
// that its logic can be driven without a video back end.
#pragma once

#include <QObject>
#include <QString>

class QAudioOutput;
class QMediaPlayer;
class QVideoWidget;

namespace velmora::media {

class ClipPlayer : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    // Starts the clip from its beginning; completion and failure come later
    // as signals.
    virtual void start(const QString& path) = 0;
    virtual void stop() = 0;
    virtual void setVolume(int percent, bool muted) = 0;

  signals:
    void finished();
    void failed(const QString& why);
};

// Qt Multimedia (GStreamer) playback into a video widget; sound only when
// the machine has an audio output.
class QtClipPlayer : public ClipPlayer {
    Q_OBJECT
  public:
    QtClipPlayer(QVideoWidget* display, bool withSound, QObject* parent = nullptr);
    void start(const QString& path) override;
    void stop() override;
    void setVolume(int percent, bool muted) override;

  private:
    void onStatusChanged();
    void onError();

    QMediaPlayer* player_;
    QAudioOutput* audio_ = nullptr;
    bool active_ = false;  // between start() and its end, so each clip reports once
};

}  // namespace velmora::media
