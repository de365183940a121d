// The message log window ("メッセージ履歴"): every message and report line the
// game has shown, with its turn and hour, newest at the bottom. It stays
// open beside the map and follows the log as lines arrive.
#pragma once

#include <QWidget>
#include <vector>

#include "model/game_state.h"

class QPlainTextEdit;

namespace velmora::ui {

class MessageLogWindow : public QWidget {
    Q_OBJECT

  public:
    explicit MessageLogWindow(QWidget* mainWindow);

    // Shows the log (all of it) and brings the window up.
    void showLog(const std::vector<LogEntry>& log);
    // Brings the shown text up to date with the log, when open.
    void follow(const std::vector<LogEntry>& log);

    QPlainTextEdit* text() const { return text_; }

  private:
    void fill(const std::vector<LogEntry>& log);

    QWidget* mainWindow_;
    QPlainTextEdit* text_;
    std::size_t shown_ = 0;
    LogEntry lastShown_;
};

}  // namespace velmora::ui
