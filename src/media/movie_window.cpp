#include "media/movie_window.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QPalette>
#include <QVideoWidget>

#include "media/clip_player.h"
#include "ui/serif_box.h"
#include "ui/window_placement.h"

namespace velmora::media {

namespace {

// The panels fill the client area; with its frame and caption the window
// is about 332 × 358 on screen.
constexpr QRect kVideoPanel(0, 0, 321, 240);
constexpr QRect kCaptionPanel(0, 240, 321, 81);
constexpr QSize kClientSize(321, 321);

}  // namespace

MovieWindow::MovieWindow(QWidget* mainWindow, bool withSound)
    : QWidget(mainWindow, Qt::Window), mainWindow_(mainWindow) {
    build();
    attachClip(new QtClipPlayer(video_, withSound));
}

MovieWindow::MovieWindow(QWidget* mainWindow, ClipPlayer* clip)
    : QWidget(mainWindow, Qt::Window), mainWindow_(mainWindow) {
    build();
    attachClip(clip);
}

void MovieWindow::build() {
    setWindowTitle(QStringLiteral("映像"));
    // A title without frame buttons: the window ends with the clip or a click.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint);
    setFixedSize(kClientSize);

    video_ = new QVideoWidget(this);
    video_->setGeometry(kVideoPanel);
    QPalette black = video_->palette();
    black.setColor(QPalette::Window, Qt::black);
    video_->setPalette(black);
    video_->setAutoFillBackground(true);

    caption_ = new ui::SerifBox(this);
    caption_->setGeometry(kCaptionPanel);
    caption_->setAutoStop(false);
    connect(caption_, &ui::SerifBox::clicked, this, &MovieWindow::onCaptionClicked);
}

void MovieWindow::attachClip(ClipPlayer* clip) {
    clip_ = clip;
    clip_->setParent(this);
    connect(clip_, &ClipPlayer::finished, this, &MovieWindow::onClipFinished);
    connect(clip_, &ClipPlayer::failed, this, &MovieWindow::onClipFailed);
}

bool MovieWindow::play(const QString& path, const QString& text, QString* failure) {
    failure_.clear();
    open_ = true;
    caption_->ClearText();
    ui::centreOver(this, mainWindow_);
    show();
    ui::centreOver(this, mainWindow_);  // again, now that the frame is known
    clip_->start(path);
    // A clip that fails at once leaves the window closed: nothing to type.
    // The video is drawn by the event loop, so the typing serves it too;
    // otherwise the clip would stand still until the caption is typed.
    if (open_) {
        caption_->setLines(QStringList{text});
        caption_->Play(true);
    }
    if (failure) *failure = failure_;
    return failure_.isEmpty();
}

void MovieWindow::onCaptionClicked() {
    if (!open_) return;
    caption_->NextPage();
    clip_->stop();
    closeWindow();
}

void MovieWindow::onClipFinished() {
    if (!open_) return;
    caption_->NextPage();
    closeWindow();
}

void MovieWindow::onClipFailed(const QString& why) {
    if (!open_) return;
    failure_ = why.isEmpty() ? QStringLiteral("再生できません") : why;
    clip_->stop();
    closeWindow();
}

// Stopping the caption box matters when the clip ends on an early page of a
// long caption: the box would otherwise wait for a click on a hidden window.
void MovieWindow::closeWindow() {
    open_ = false;
    hide();
    caption_->Stop();
}

void MovieWindow::closeEvent(QCloseEvent* event) {
    if (open_) {
        clip_->stop();
        closeWindow();
    }
    event->accept();
}

}  // namespace velmora::media
