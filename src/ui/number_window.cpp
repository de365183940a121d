#include "ui/number_window.h"

#include "ui/compressed_image.h"
#include "ui/flat_button.h"
#include "ui/fonts.h"
#include "ui/message_window.h"
#include "ui/window_placement.h"

#include <QLabel>
#include <QShowEvent>
#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>

namespace velmora::ui {
namespace {

const QSize kButtonSize{75, 25};
constexpr int kFieldWidth = 193;

// The typed text as a number, or -1 for anything that is not one.
int typedNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : -1;
}

}  // namespace

NumberWindow::NumberWindow(QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                              Qt::WindowTitleHint),
      main_(mainWindow),
      background_(new CompressedImageWidget(this)),
      prompt_(new QLabel(this)),
      edit_(new QLineEdit(this)),
      scroll_(new QScrollBar(Qt::Horizontal, this)),
      ok_(new FlatButton(QStringLiteral("OK"), this)),
      cancel_(new FlatButton(QStringLiteral("Cancel"), this)) {
    setModal(true);
    setFont(uiFont(kPGothic, 9));
    setFixedSize(clientSizeFor(249, 140));
    background_->loadResource(QStringLiteral(":/backgrounds/number.vci"));
    background_->move(0, 0);

    prompt_->move(24, 8);
    prompt_->setFixedWidth(width() - 32);
    prompt_->setAttribute(Qt::WA_TranslucentBackground);
    QPalette ink = prompt_->palette();
    ink.setColor(QPalette::WindowText, Qt::white);
    prompt_->setPalette(ink);

    edit_->setGeometry(24, 32, kFieldWidth, 21);
    QPalette field = edit_->palette();
    field.setColor(QPalette::Base, Qt::black);
    field.setColor(QPalette::Text, Qt::white);
    edit_->setPalette(field);

    scroll_->setGeometry(24, 56, kFieldWidth, 17);
    scroll_->setMinimum(0);
    // Steel tones, so the bar sits in the panel rather than on it.
    QPalette steel = scroll_->palette();
    steel.setColor(QPalette::Window, QColor(0x1A, 0x28, 0x3A));
    steel.setColor(QPalette::Base, QColor(0x1A, 0x28, 0x3A));
    steel.setColor(QPalette::Button, QColor(0x5A, 0x78, 0x9E));
    steel.setColor(QPalette::ButtonText, Qt::white);
    steel.setColor(QPalette::WindowText, Qt::white);
    steel.setColor(QPalette::Light, QColor(0x7C, 0x92, 0xB0));
    steel.setColor(QPalette::Dark, QColor(0x08, 0x0E, 0x18));
    steel.setColor(QPalette::Mid, QColor(0x2E, 0x44, 0x62));
    steel.setColor(QPalette::Shadow, QColor(0x08, 0x0E, 0x18));
    scroll_->setPalette(steel);

    ok_->resize(kButtonSize);
    ok_->move(48, 80);
    cancel_->resize(kButtonSize);
    cancel_->move(144, 80);

    connect(scroll_, &QScrollBar::valueChanged, this, &NumberWindow::scrolled);
    connect(edit_, &QLineEdit::textEdited, this, &NumberWindow::edited);
    connect(ok_, &QPushButton::clicked, this, [this] {
        accepted_ = true;
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        accepted_ = false;
        reject();
    });
}

void NumberWindow::scrolled(int position) {
    working_ = QString::number(position);
    edit_->setText(working_);
}

void NumberWindow::edited(const QString& text) {
    const int value = typedNumber(text);
    if (value < 0) return;
    working_ = QString::number(value);
    scroll_->setValue(value);
    // The scroll bar clamps to 0..maximum; when it was already at the
    // clamped position it reports no change, so write the number back here.
    if (scroll_->value() != value) scrolled(scroll_->value());
}

bool NumberWindow::ask(const QString& caption, const QString& prompt, QString& value, int maximum) {
    working_ = value;
    accepted_ = false;
    setWindowTitle(caption);
    prompt_->setText(prompt);
    scroll_->setMaximum(std::max(0, maximum));
    scroll_->setValue(std::max(0, typedNumber(value)));
    edit_->setText(value);
    takeButtonFaceFromBackground(*background_, {ok_, cancel_});
    edit_->setFocus();
    edit_->selectAll();
    exec();
    if (!accepted_) return false;
    value = working_;
    return true;
}

void NumberWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOver(this, main_);
}

}  // namespace velmora::ui
