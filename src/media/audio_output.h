// Where the mixer's sound goes: the sound card (QAudioSink pulling from the
// mixer) or, for recording play sessions, a WAVE file written in real time.
#pragma once

#include <QElapsedTimer>
#include <QIODevice>
#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>

#include "media/mixer.h"

typedef struct sf_private_tag SNDFILE;

namespace velmora::media {

// Hands the sink as many mixed bytes as it asks for; never runs dry.
class MixerDevice : public QIODevice {
    Q_OBJECT
  public:
    MixerDevice(Mixer& mixer, QObject* parent = nullptr);
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

  protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

  private:
    Mixer& mixer_;
};

// Pulls the mix into a QAudioSink on a thread of its own, so that the music
// goes on while the window thread is busy (typing a caption serves no
// events).
class SoundCardOutput : public QObject {
    Q_OBJECT
  public:
    SoundCardOutput(Mixer& mixer, QObject* parent = nullptr);
    ~SoundCardOutput() override;
    // False, with the reason, when there is no device or it will not start.
    bool start(QString* why);

  signals:
    // The device stopped with an error while playing.
    void failed(const QString& why);

  private:
    void stopThread();

    Mixer& mixer_;
    QThread thread_;
    class SinkWorker* worker_ = nullptr;  // lives in thread_
};

// Renders the mix into a 44100 Hz stereo 16-bit WAVE file, as much audio as
// real time has passed, so a ten-second session gives ten seconds of sound.
class WaveFileOutput : public QObject {
    Q_OBJECT
  public:
    WaveFileOutput(Mixer& mixer, QString path, QObject* parent = nullptr);
    ~WaveFileOutput() override;
    bool start(QString* why);
    // Renders up to now and brings the file's header up to date.
    void flush();

  private:
    void renderUntilNow();

    Mixer& mixer_;
    QString path_;
    SNDFILE* file_ = nullptr;
    QTimer timer_;
    QElapsedTimer clock_;
    long long framesWritten_ = 0;
};

}  // namespace velmora::media
