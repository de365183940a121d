#include "ui/message_log_window.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include "orders/message_log.h"
#include "ui/window_look.h"

namespace velmora::ui {

MessageLogWindow::MessageLogWindow(QWidget* mainWindow)
    : QWidget(mainWindow,
              Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      mainWindow_(mainWindow),
      text_(new QPlainTextEdit(this)) {
    applyWindowLook(this);
    setWindowTitle(QStringLiteral("メッセージ履歴"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    text_->setStyleSheet(QStringLiteral("QPlainTextEdit { color: white; background: black; }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(text_);
    resize(560, 360);
}

void MessageLogWindow::showLog(const std::vector<LogEntry>& log) {
    fill(log);
    if (!isVisible()) placeOver(this, mainWindow_);
    show();
    raise();
}

void MessageLogWindow::follow(const std::vector<LogEntry>& log) {
    if (!isVisible()) return;
    // A loaded game or a new one has another log: start over.
    if (log.size() < shown_ || (shown_ > 0 && !(log[shown_ - 1] == lastShown_))) {
        fill(log);
        return;
    }
    for (std::size_t i = shown_; i < log.size(); ++i)
        text_->appendPlainText(fromEngineText(MessageLogLine(log[i])));
    shown_ = log.size();
    if (shown_ > 0) lastShown_ = log.back();
}

void MessageLogWindow::fill(const std::vector<LogEntry>& log) {
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(log.size()));
    for (const LogEntry& entry : log) lines << fromEngineText(MessageLogLine(entry));
    text_->setPlainText(lines.join(QLatin1Char('\n')));
    shown_ = log.size();
    lastShown_ = log.empty() ? LogEntry{} : log.back();
    text_->verticalScrollBar()->setValue(text_->verticalScrollBar()->maximum());
}

}  // namespace velmora::ui
