#include "ui/message_window.h"

#include "ui/compressed_image.h"
#include "ui/flat_button.h"
#include "ui/fonts.h"
#include "ui/window_placement.h"

#include <QLabel>
#include <QShowEvent>
#include <QMessageBox>

namespace velmora::ui {
namespace {

const QSize kButtonSize{75, 25};
constexpr int kButtonTop = 48;
constexpr int kOkLeft = 80;
constexpr int kAskLeft = 16;
constexpr int kRightLeft = 208;

}  // namespace

void takeButtonFaceFromBackground(const CompressedImageWidget& background,
                                  std::initializer_list<FlatButton*> buttons) {
    const QImage& picture = background.picture();
    const QPoint probe(picture.width() - 10, 0);
    if (!picture.valid(probe)) return;
    const QColor face = picture.pixelColor(probe);
    for (FlatButton* button : buttons) button->setFaceColour(face);
}

MessageWindow::MessageWindow(QWidget* mainWindow)
    : QDialog(mainWindow,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      main_(mainWindow),
      background_(new CompressedImageWidget(this)),
      label_(new QLabel(this)),
      left_(new FlatButton(QStringLiteral("OK"), this)),
      right_(new FlatButton(QStringLiteral("Cancel"), this)) {
    setModal(true);
    setFont(uiFont(kPGothic, 9));
    setFixedSize(clientSizeFor(300, 115));
    background_->loadResource(QStringLiteral(":/backgrounds/message.vci"));
    background_->move(0, 0);
    // The strip the picture leaves uncovered continues its shadowed edge.
    if (const QImage& picture = background_->picture(); !picture.isNull()) {
        QPalette shade = palette();
        shade.setColor(QPalette::Window, picture.pixelColor(picture.width() - 1, picture.height() - 1));
        setPalette(shade);
        setAutoFillBackground(true);
    }

    label_->move(8, 8);
    label_->setFixedWidth(width() - 16);
    label_->setMaximumHeight(kButtonTop - 10);
    label_->setWordWrap(true);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label_->setAttribute(Qt::WA_TranslucentBackground);
    QPalette ink = label_->palette();
    ink.setColor(QPalette::WindowText, Qt::white);
    label_->setPalette(ink);

    left_->resize(kButtonSize);
    right_->resize(kButtonSize);
    right_->move(kRightLeft, kButtonTop);
    connect(left_, &QPushButton::clicked, this, [this] {
        answer_ = true;
        accept();
    });
    connect(right_, &QPushButton::clicked, this, [this] {
        answer_ = false;
        reject();
    });
}

void MessageWindow::runModal(const QString& caption, const QString& text) {
    label_->setText(text);
    label_->adjustSize();
    label_->setFixedWidth(width() - 16);
    setWindowTitle(caption);
    takeButtonFaceFromBackground(*background_, {left_, right_});
    left_->setFocus();
    exec();
}

void MessageWindow::showOk(const QString& caption, const QString& text) {
    left_->move(kOkLeft, kButtonTop);
    right_->hide();
    right_->setEnabled(false);
    runModal(caption, text);
}

bool MessageWindow::ask(const QString& caption, const QString& text, const QString& left,
                        const QString& right) {
    left_->move(kAskLeft, kButtonTop);
    right_->show();
    right_->setEnabled(true);
    left_->setText(left);
    right_->setText(right);
    // Closed from the frame: neither button was pressed; answer no.
    answer_ = false;
    runModal(caption, text);
    left_->setText(QStringLiteral("OK"));
    right_->setText(QStringLiteral("Cancel"));
    return answer_;
}

bool MessageWindow::confirm(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                    main_);
    box.setFont(uiFont(kPGothic, 9));
    box.setDefaultButton(QMessageBox::Ok);
    box.adjustSize();
    centreOver(&box, main_);
    return box.exec() == QMessageBox::Ok;
}

void MessageWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOver(this, main_);
}

}  // namespace velmora::ui
