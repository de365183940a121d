#include "media/media_player.h"

#include <QAction>
#include <QInputDialog>
#include <QMenu>
#include <QSettings>
#include <QWidget>
#include <algorithm>
#include <cstdio>

#include "files/paths.h"
#include "media/audio_output.h"
#include "media/clip_player.h"
#include "media/mixer.h"
#include "media/movie_window.h"

namespace velmora::media {

namespace {

constexpr const char* kMutedKey = "sound/muted";
constexpr const char* kVolumeKey = "sound/volume";

QSettings Settings() {
    return QSettings(QStringLiteral("Velmora"), QStringLiteral("Velmora"));
}

void ReportToStderr(const QString& caption, const QString& text) {
    std::fprintf(stderr, "%s: %s\n", caption.toLocal8Bit().constData(),
                 text.toLocal8Bit().constData());
}

bool EndsWithSeparator(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'));
}

}  // namespace

MediaPlayer::MediaPlayer(QWidget* mainWindow, QObject* parent)
    : QObject(parent),
      mainWindow_(mainWindow),
      mixer_(std::make_unique<Mixer>()),
      reportError_(ReportToStderr) {
    QSettings settings = Settings();
    muted_ = settings.value(QLatin1String(kMutedKey), false).toBool();
    volume_ = std::clamp(settings.value(QLatin1String(kVolumeKey), 100).toInt(), 0, 100);
    applyLevel();
    openOutput();
}

MediaPlayer::~MediaPlayer() {
    // A window without a main window to own it is ours.
    if (movieWindow_ && !movieWindow_->parent()) delete movieWindow_;
}

void MediaPlayer::openOutput() {
    QString why;
    const QString recording = qEnvironmentVariable("VELMORA_AUDIO_OUT");
    if (!recording.isEmpty()) {
        waveFile_ = std::make_unique<WaveFileOutput>(*mixer_, recording);
        if (!waveFile_->start(&why)) {
            waveFile_.reset();
            goSilent(why);
        }
        return;
    }
    if (qEnvironmentVariableIntValue("VELMORA_NO_AUDIO_DEVICE") == 1) {
        goSilent(QStringLiteral("VELMORA_NO_AUDIO_DEVICE is set"));
        return;
    }
    soundCard_ = std::make_unique<SoundCardOutput>(*mixer_);
    if (!soundCard_->start(&why)) {
        soundCard_.reset();
        goSilent(why);
        return;
    }
    mixer_->loadSoundFont();  // a failure is told with the first piece
    connect(soundCard_.get(), &SoundCardOutput::failed, this, [this](const QString& reason) {
        // Not deleted inside its own signal.
        soundCard_.release()->deleteLater();
        goSilent(reason);
    });
}

void MediaPlayer::goSilent(const QString& why) {
    static bool told = false;
    if (told) return;
    told = true;
    std::fprintf(stderr, "velmora: %s; the game goes on without sound\n",
                 why.toLocal8Bit().constData());
}

bool MediaPlayer::hasOutput() const {
    return soundCard_ || waveFile_;
}

void MediaPlayer::setScenarioFolder(const QString& folder) {
    if (folder == folder_) return;
    folder_ = folder;
    // Another scenario may well have the files this one lacked.
    failedMusic_.clear();
    failedCues_.clear();
    failedMovies_.clear();
    cueCache_.clear();
}

void MediaPlayer::setErrorReporter(ErrorReporter reporter) {
    reportError_ = reporter ? std::move(reporter) : ErrorReporter(ReportToStderr);
}

std::optional<std::filesystem::path> MediaPlayer::resolve(const QString& subFolder,
                                                          const QString& file, FileKind kind,
                                                          QString* why) const {
    why->clear();
    if (folder_.isEmpty()) return std::nullopt;
    const std::filesystem::path root(folder_.toStdString());
    const std::string name = (subFolder + QLatin1Char('\\') + file).toStdString();
    FileProblem problem;
    auto found = LocateScenarioFile(root, root, name, kind, &problem);
    // A missing file is told by the message alone; a refused one says why.
    if (!found && problem.reason != kMissingFileMessage) {
        *why = QString::fromStdString(problem.reason);
    }
    return found;
}

void MediaPlayer::reportOnce(QSet<QString>& failed, const QString& file, const QString& text,
                             const QString& why) {
    if (failed.contains(file)) return;
    failed.insert(file);
    reportError_(QStringLiteral("エラー"),
                 why.isEmpty() ? text : text + QStringLiteral("\n(") + why + QLatin1Char(')'));
}

QString MediaPlayer::cueMissingText(const QString& file) const {
    QString folder = folder_;
    if (!EndsWithSeparator(folder)) folder += QLatin1Char('/');
    return folder + QStringLiteral("Wave/") + file + QStringLiteral("がありません。");
}

void MediaPlayer::playMusic(const QString& file) {
    if (file.isEmpty()) return;
    // The old piece stops first, as when the new one plays.
    mixer_->stopMusic();
    if (failedMusic_.contains(file)) return;
    const QString text = QStringLiteral("\\Midi\\") + file + QStringLiteral("がありません。");
    QString why;
    auto path = resolve(QStringLiteral("Midi"), file, FileKind::kMusic, &why);
    if (!path) {
        reportOnce(failedMusic_, file, text, why);
        return;
    }
    std::string reason;
    if (!mixer_->playMusic(*path, &reason)) {
        reportOnce(failedMusic_, file, text, QString::fromStdString(reason));
    }
}

std::shared_ptr<const DecodedSound> MediaPlayer::loadCue(const std::filesystem::path& path,
                                                         QString* why) {
    const QString key = QString::fromStdString(path.string());
    if (auto cached = cueCache_.value(key)) return cached;
    std::string reason;
    auto decoded = DecodeSoundFile(path, &reason);
    if (!decoded) {
        *why = QString::fromStdString(reason);
        return nullptr;
    }
    auto sound = std::make_shared<const DecodedSound>(std::move(*decoded));
    cueCache_.insert(key, sound);
    return sound;
}

void MediaPlayer::playSoundCue(const QString& file) {
    if (file.isEmpty() || failedCues_.contains(file)) return;
    QString why;
    auto path = resolve(QStringLiteral("Wave"), file, FileKind::kCue, &why);
    std::shared_ptr<const DecodedSound> cue;
    if (path) cue = loadCue(*path, &why);
    if (!cue) {
        reportOnce(failedCues_, file, cueMissingText(file), why);
        return;
    }
    mixer_->playCue(std::move(cue));
}

MovieWindow* MediaPlayer::movieWindow() {
    if (!movieWindow_) movieWindow_ = new MovieWindow(mainWindow_, soundCard_ != nullptr);
    return movieWindow_;
}

void MediaPlayer::playMovie(const QString& file, const QString& text) {
    if (file.isEmpty() || failedMovies_.contains(file)) return;
    const QString message = QStringLiteral("\\Movie\\") + file + QStringLiteral("がありません。");
    QString why;
    auto path = resolve(QStringLiteral("Movie"), file, FileKind::kClip, &why);
    if (!path) {
        reportOnce(failedMovies_, file, message, why);
        return;
    }
    MovieWindow* window = movieWindow();
    window->clipPlayer()->setVolume(volume_, muted_);
    if (!window->play(QString::fromStdString(path->string()), text, &why)) {
        reportOnce(failedMovies_, file, message, why);
    }
}

void MediaPlayer::applyLevel() {
    mixer_->setMuted(muted_);
    mixer_->setVolume(volume_);
    if (movieWindow_) movieWindow_->clipPlayer()->setVolume(volume_, muted_);
}

void MediaPlayer::setMuted(bool muted) {
    if (muted == muted_) return;
    muted_ = muted;
    Settings().setValue(QLatin1String(kMutedKey), muted_);
    applyLevel();
    emit mutedChanged(muted_);
}

void MediaPlayer::setVolume(int percent) {
    volume_ = std::clamp(percent, 0, 100);
    Settings().setValue(QLatin1String(kVolumeKey), volume_);
    applyLevel();
}

QMenu* MediaPlayer::createSoundMenu(QWidget* parent) {
    auto* menu = new QMenu(QStringLiteral("サウンド"), parent);
    QAction* mute = menu->addAction(QStringLiteral("ミュート"));
    mute->setCheckable(true);
    mute->setChecked(muted_);
    connect(mute, &QAction::toggled, this, &MediaPlayer::setMuted);
    connect(this, &MediaPlayer::mutedChanged, mute, &QAction::setChecked);
    QAction* level = menu->addAction(QStringLiteral("音量..."));
    connect(level, &QAction::triggered, this, [this, parent] { askVolume(parent); });
    return menu;
}

void MediaPlayer::askVolume(QWidget* parent) {
    bool ok = false;
    int chosen = QInputDialog::getInt(parent, QStringLiteral("音量"),
                                      QStringLiteral("音量 (0～100):"), volume_, 0, 100, 1, &ok);
    if (ok) setVolume(chosen);
}

void MediaPlayer::flushOutput() {
    if (waveFile_) waveFile_->flush();
}

}  // namespace velmora::media
