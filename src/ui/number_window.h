// The number input window: a whole number between 0 and a maximum, typed or
// picked with a scroll bar.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QScrollBar;

namespace velmora::ui {

class CompressedImageWidget;
class FlatButton;

class NumberWindow : public QDialog {
    Q_OBJECT

public:
    explicit NumberWindow(QWidget* mainWindow = nullptr);

    // Shows the box with `value` (decimal text) as the start. On OK writes
    // the chosen number into value and returns true; on Cancel leaves value
    // as it was and returns false.
    bool ask(const QString& caption, const QString& prompt, QString& value, int maximum);

    // The number as the box holds it now.
    const QString& workingText() const { return working_; }
    QLineEdit* edit() const { return edit_; }
    QScrollBar* scrollBar() const { return scroll_; }
    FlatButton* okButton() const { return ok_; }
    FlatButton* cancelButton() const { return cancel_; }

protected:
    // Centred here, once the window has its frame, so the outer size counts.
    void showEvent(QShowEvent* event) override;

private:
    void scrolled(int position);
    void edited(const QString& text);

    QWidget* main_;
    CompressedImageWidget* background_;
    QLabel* prompt_;
    QLineEdit* edit_;
    QScrollBar* scroll_;
    FlatButton* ok_;
    FlatButton* cancel_;
    QString working_;
    bool accepted_ = false;
};

}  // namespace velmora::ui
