#include "ui/about_window.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/flat_button.h"
#include "ui/fonts.h"
#include "ui/window_look.h"

namespace velmora::ui {

AboutWindow::AboutWindow(QWidget* mainWindow)
    : QDialog(mainWindow),
      mainWindow_(mainWindow),
      title_(new QLabel(QStringLiteral("Velmora"), this)),
      // The space between the words is a full-width one.
      version_(new QLabel(QStringLiteral("Version　1.00"), this)),
      credits_(new QLabel(QStringLiteral("Velmora developers"), this)),
      ok_(new FlatButton(QStringLiteral("OK"), this)) {
    applyWindowLook(this);
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(true);

    title_->setFont(uiFont(kPMincho, 24));
    title_->setAlignment(Qt::AlignCenter);
    version_->setAlignment(Qt::AlignCenter);

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    auto* panelLayout = new QVBoxLayout(panel);
    credits_->setAlignment(Qt::AlignCenter);
    panelLayout->addWidget(credits_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(version_);
    layout->addWidget(panel);
    layout->addLayout(buttons);
    colourButtons({ok_});
    resize(320, 220);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    placeOver(this, mainWindow_);
}

}  // namespace velmora::ui
