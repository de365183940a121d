// "バージョン情報": the title, the version and the credits.
#pragma once

#include <QDialog>

class QLabel;

namespace velmora::ui {

class FlatButton;

class AboutWindow : public QDialog {
    Q_OBJECT

  public:
    explicit AboutWindow(QWidget* mainWindow = nullptr);

    QLabel* titleLabel() const { return title_; }
    QLabel* versionLabel() const { return version_; }
    QLabel* creditsLabel() const { return credits_; }
    FlatButton* okButton() const { return ok_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* mainWindow_;
    QLabel* title_;
    QLabel* version_;
    QLabel* credits_;
    FlatButton* ok_;
};

}  // namespace velmora::ui
