// The combat report window: one line revealed a character at a time,
// dismissed by a click (or Enter / Space). "早送り" (or Esc) lets the rest
// of the reports of this turn end run without waiting, until
// endFastForward().
#pragma once

#include <QStringList>
#include <QTimer>
#include <QWidget>

class QEventLoop;

namespace velmora::ui {
class FlatButton;
}

namespace velmora::ui {

class BattleMessageWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kRevealMs = 50;

    explicit BattleMessageWindow(QWidget* parent = nullptr);

    using QWidget::show;
    // Shows the text and returns after the person clicked the box (or
    // closed the window).
    void show(const QString& text);

    // The first `count` characters of `message`, whole characters only.
    static QString revealedPart(const QString& message, int count);

    const QString& message() const { return message_; }
    const QString& shownText() const { return shown_; }
    bool isWaiting() const { return waiting_; }
    // The report area, in window coordinates.
    QRect boxRect() const;

    // The rest of the reports go by without waiting for a click.
    void fastForward();
    // Reports wait for the click again (the turn end is over).
    void endFastForward();
    bool isFastForwarding() const { return fastForward_; }
    FlatButton* fastForwardButton() const { return fastForwardButton_; }
    // Every report shown since start-up, in order, fast-forwarded ones too.
    const QStringList& history() const { return history_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void reveal();
    void endWait();

    QTimer timer_;
    QString message_;
    QString shown_;
    int revealCount_ = 0;
    bool waiting_ = false;
    bool fastForward_ = false;
    QStringList history_;
    FlatButton* fastForwardButton_;
    QEventLoop* loop_ = nullptr;
};

}  // namespace velmora::ui
