// The combat report window: one line revealed a character at a time,
// dismissed by a click.
#pragma once

#include <QTimer>
#include <QWidget>

class QEventLoop;

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

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void reveal();
    void endWait();

    QTimer timer_;
    QString message_;
    QString shown_;
    int revealCount_ = 0;
    bool waiting_ = false;
    QEventLoop* loop_ = nullptr;
};

}  // namespace velmora::ui
