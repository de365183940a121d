// Music, sound cues and movie clips of a scenario. Names resolve inside the
// scenario's "Midi", "Wave" and "Movie" folders, case-insensitively. A file
// that is missing or cannot be played is reported once and from then on
// skipped; the game never ends over a sound.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "files/paths.h"
#include "files/wave_decoder.h"

class QMenu;
class QWidget;

namespace velmora::media {

class Mixer;
class MovieWindow;
class SoundCardOutput;
class WaveFileOutput;

class MediaPlayer : public QObject {
    Q_OBJECT
  public:
    using ErrorReporter = std::function<void(const QString& caption, const QString& text)>;

    // Reads VELMORA_AUDIO_OUT (record to a WAVE file instead of the sound
    // card) and VELMORA_NO_AUDIO_DEVICE (play silently), and the remembered
    // mute and volume.
    explicit MediaPlayer(QWidget* mainWindow = nullptr, QObject* parent = nullptr);
    ~MediaPlayer() override;

    void setScenarioFolder(const QString& folder);
    QString scenarioFolder() const { return folder_; }

    // Replaces the looping music; an empty name does nothing.
    void playMusic(const QString& file);
    // Starts a cue, cutting off the one still playing; an empty name does
    // nothing.
    void playSoundCue(const QString& file);
    // Plays the clip with its typed caption; returns when the caption box has
    // stopped. An empty name does nothing.
    void playMovie(const QString& file, const QString& text);

    // Where the "エラー" messages go; by default to stderr.
    void setErrorReporter(ErrorReporter reporter);

    void setMuted(bool muted);
    bool muted() const { return muted_; }
    void setVolume(int percent);  // 0..100
    int volume() const { return volume_; }

    // "サウンド": "ミュート" and "音量...".
    QMenu* createSoundMenu(QWidget* parent);

    // With VELMORA_AUDIO_OUT: renders up to now and completes the file's
    // header, so the file is valid while the program goes on.
    void flushOutput();

    // False when sound goes nowhere (no device and no file).
    bool hasOutput() const;
    Mixer& mixer() { return *mixer_; }
    MovieWindow* movieWindow();

  signals:
    void mutedChanged(bool muted);

  private:
    void openOutput();
    void goSilent(const QString& why);
    std::optional<std::filesystem::path> resolve(const QString& subFolder, const QString& file,
                                                 FileKind kind, QString* why) const;
    std::shared_ptr<const DecodedSound> loadCue(const std::filesystem::path& path, QString* why);
    void reportOnce(QSet<QString>& failed, const QString& file, const QString& text,
                    const QString& why);
    QString cueMissingText(const QString& file) const;
    void applyLevel();
    void askVolume(QWidget* parent);

    QWidget* mainWindow_;
    QString folder_;
    std::unique_ptr<Mixer> mixer_;
    std::unique_ptr<SoundCardOutput> soundCard_;
    std::unique_ptr<WaveFileOutput> waveFile_;
    QPointer<MovieWindow> movieWindow_;  // the main window may delete it first
    ErrorReporter reportError_;
    bool muted_ = false;
    int volume_ = 100;
    QSet<QString> failedMusic_;
    QSet<QString> failedCues_;
    QSet<QString> failedMovies_;
    QHash<QString, std::shared_ptr<const DecodedSound>> cueCache_;
};

}  // namespace velmora::media
