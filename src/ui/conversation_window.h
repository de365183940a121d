// The conversation window: scenario dialogue typed out in a text box.
#pragma once

#include <QWidget>
#include <functional>

namespace velmora::ui {

class SerifBox;

class ConversationWindow : public QWidget {
    Q_OBJECT

public:
    explicit ConversationWindow(QWidget* parent = nullptr);

    // Shows the window with an empty box; it stays open for all lines of
    // one conversation.
    void open();
    // Types one line and returns after the person clicked through it.
    void sayText(const QString& text);
    // Hides the window, ending any line still typing.
    void close();
    // A right click on the box asks for the whole conversation to be skipped.
    void setSkipRequested(std::function<void()> handler) { skipRequested_ = std::move(handler); }

    SerifBox* serifBox() const { return box_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    SerifBox* box_;
    std::function<void()> skipRequested_;
};

}  // namespace velmora::ui
