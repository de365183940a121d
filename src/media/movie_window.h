// The movie window: the launch clip in its video panel with the typed
// caption below it. Shown non-modally; play() waits in the caption box.
#pragma once

#include <QString>
#include <QWidget>

class QVideoWidget;

namespace velmora::ui {
class SerifBox;
}

namespace velmora::media {

class ClipPlayer;

class MovieWindow : public QWidget {
    Q_OBJECT
  public:
    // Plays clips through Qt Multimedia.
    MovieWindow(QWidget* mainWindow, bool withSound);
    // Plays clips through the given player, which the window takes over.
    MovieWindow(QWidget* mainWindow, ClipPlayer* clip);

    // Shows the window centred over the main window, starts the clip and
    // types the text; returns when the caption box has stopped. False, with
    // the reason, when the clip could not be played (the window is then
    // closed at once).
    bool play(const QString& path, const QString& text, QString* failure = nullptr);

    ui::SerifBox* captionBox() const { return caption_; }
    QVideoWidget* videoPanel() const { return video_; }
    ClipPlayer* clipPlayer() const { return clip_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void build();
    void attachClip(ClipPlayer* clip);
    void onCaptionClicked();
    void onClipFinished();
    void onClipFailed(const QString& why);
    void closeWindow();

    QWidget* mainWindow_;
    QVideoWidget* video_ = nullptr;
    ui::SerifBox* caption_ = nullptr;
    ClipPlayer* clip_ = nullptr;
    bool open_ = false;
    QString failure_;
};

}  // namespace velmora::media
