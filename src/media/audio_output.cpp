#include "media/audio_output.h"

#include <sndfile.h>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <memory>
#include <vector>

namespace velmora::media {

namespace {

constexpr int kBytesPerFrame = kChannels * static_cast<int>(sizeof(std::int16_t));
// What the mixer offers the sink at a time; the sink keeps its own buffer
// size (a small forced one stalls some servers for seconds at the start).
constexpr int kOfferedFrames = 4096;
constexpr int kFileTickMs = 20;
constexpr int kRenderChunkFrames = 4096;

QAudioFormat MixFormat() {
    QAudioFormat format;
    format.setSampleRate(kSampleRate);
    format.setChannelCount(kChannels);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

}  // namespace

MixerDevice::MixerDevice(Mixer& mixer, QObject* parent) : QIODevice(parent), mixer_(mixer) {}

qint64 MixerDevice::bytesAvailable() const {
    return qint64{kOfferedFrames} * kBytesPerFrame + QIODevice::bytesAvailable();
}

qint64 MixerDevice::readData(char* data, qint64 maxSize) {
    auto frames = static_cast<int>(std::min<qint64>(maxSize / kBytesPerFrame, 1 << 20));
    mixer_.render(reinterpret_cast<std::int16_t*>(data), frames);
    return qint64{frames} * kBytesPerFrame;
}

qint64 MixerDevice::writeData(const char*, qint64) {
    return -1;
}

// The sink and the device it pulls from, both in the audio thread.
class SinkWorker : public QObject {
    Q_OBJECT
  public:
    explicit SinkWorker(Mixer& mixer) : device_(new MixerDevice(mixer, this)) {}
    ~SinkWorker() override {
        if (sink_) sink_->stop();
    }

    bool open(const QAudioDevice& output, QString* why) {
        sink_ = std::make_unique<QAudioSink>(output, MixFormat());
        connect(sink_.get(), &QAudioSink::stateChanged, this, &SinkWorker::onStateChanged);
        device_->open(QIODevice::ReadOnly);
        sink_->start(device_);
        if (sink_->error() == QAudio::NoError) return true;
        *why = QStringLiteral("the audio device would not start");
        sink_.reset();
        return false;
    }

  signals:
    void failed(const QString& why);

  private:
    void onStateChanged(QAudio::State state) {
        if (state != QAudio::StoppedState || !sink_) return;
        QAudio::Error error = sink_->error();
        if (error == QAudio::NoError) return;
        emit failed(error == QAudio::OpenError
                        ? QStringLiteral("the audio device could not be opened")
                        : QStringLiteral("the audio device stopped working"));
    }

    MixerDevice* device_;
    std::unique_ptr<QAudioSink> sink_;
};

SoundCardOutput::SoundCardOutput(Mixer& mixer, QObject* parent) : QObject(parent), mixer_(mixer) {
    thread_.setObjectName(QStringLiteral("velmora audio"));
}

SoundCardOutput::~SoundCardOutput() {
    stopThread();
}

bool SoundCardOutput::start(QString* why) {
    QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull()) {
        *why = QStringLiteral("no audio output device");
        return false;
    }
    if (!output.isFormatSupported(MixFormat())) {
        *why = QStringLiteral("the audio device does not take 44100 Hz stereo 16-bit sound");
        return false;
    }
    thread_.start();
    worker_ = new SinkWorker(mixer_);
    worker_->moveToThread(&thread_);
    connect(worker_, &SinkWorker::failed, this, &SoundCardOutput::failed);
    bool started = false;
    QMetaObject::invokeMethod(
        worker_, [&] { started = worker_->open(output, why); }, Qt::BlockingQueuedConnection);
    if (!started) stopThread();
    return started;
}

// The sink is stopped and deleted in the thread it lives in.
void SoundCardOutput::stopThread() {
    if (worker_) {
        QMetaObject::invokeMethod(
            worker_, [this] { delete worker_; }, Qt::BlockingQueuedConnection);
        worker_ = nullptr;
    }
    thread_.quit();
    thread_.wait();
}

WaveFileOutput::WaveFileOutput(Mixer& mixer, QString path, QObject* parent)
    : QObject(parent), mixer_(mixer), path_(std::move(path)) {
    timer_.setInterval(kFileTickMs);
    connect(&timer_, &QTimer::timeout, this, &WaveFileOutput::renderUntilNow);
}

WaveFileOutput::~WaveFileOutput() {
    if (!file_) return;
    renderUntilNow();
    sf_close(file_);
}

bool WaveFileOutput::start(QString* why) {
    SF_INFO info{};
    info.samplerate = kSampleRate;
    info.channels = kChannels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    file_ = sf_open(path_.toLocal8Bit().constData(), SFM_WRITE, &info);
    if (!file_) {
        *why = path_ + QStringLiteral(": ") + QString::fromLocal8Bit(sf_strerror(nullptr));
        return false;
    }
    // The header follows every write, so a session that is killed still
    // leaves a valid file.
    sf_command(file_, SFC_SET_UPDATE_HEADER_AUTO, nullptr, SF_TRUE);
    clock_.start();
    timer_.start();
    return true;
}

void WaveFileOutput::renderUntilNow() {
    if (!file_) return;
    const long long due = clock_.elapsed() * kSampleRate / 1000;
    std::vector<std::int16_t> chunk(static_cast<std::size_t>(kRenderChunkFrames) * kChannels);
    while (framesWritten_ < due) {
        auto n = static_cast<int>(std::min<long long>(kRenderChunkFrames, due - framesWritten_));
        mixer_.render(chunk.data(), n);
        sf_writef_short(file_, chunk.data(), n);
        framesWritten_ += n;
    }
}

void WaveFileOutput::flush() {
    if (!file_) return;
    renderUntilNow();
    sf_command(file_, SFC_UPDATE_HEADER_NOW, nullptr, 0);
    sf_write_sync(file_);
}

}  // namespace velmora::media

#include "audio_output.moc"
