// The message window: a notice with one button or a question with two.
#pragma once

#include <QDialog>

#include <initializer_list>

class QLabel;

namespace velmora::ui {

class CompressedImageWidget;
class FlatButton;

class MessageWindow : public QDialog {
    Q_OBJECT

public:
    // `mainWindow` is the window the box is centred over on every show.
    explicit MessageWindow(QWidget* mainWindow = nullptr);

    // A notice; returns when the person pressed the button.
    void showOk(const QString& caption, const QString& text);
    // A question with two buttons; true for the left one. Closing the window
    // from its frame answers as the right button does.
    bool ask(const QString& caption, const QString& text, const QString& left,
             const QString& right);
    // The standard OK / Cancel box; true for OK.
    bool confirm(const QString& caption, const QString& text);

    bool answer() const { return answer_; }
    FlatButton* leftButton() const { return left_; }
    FlatButton* rightButton() const { return right_; }
    QLabel* textLabel() const { return label_; }

protected:
    // Centred here, once the window has its frame, so the outer size counts.
    void showEvent(QShowEvent* event) override;

private:
    void runModal(const QString& caption, const QString& text);

    QWidget* main_;
    CompressedImageWidget* background_;
    QLabel* label_;
    FlatButton* left_;
    FlatButton* right_;
    bool answer_ = false;
};

// Gives the buttons the face colour of the background picture's pixel ten
// pixels left of its top-right corner.
void takeButtonFaceFromBackground(const CompressedImageWidget& background,
                                  std::initializer_list<FlatButton*> buttons);

}  // namespace velmora::ui
