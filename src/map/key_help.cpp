#include "map/key_help.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/window_look.h"

namespace velmora::map {

KeyHelpWindow::KeyHelpWindow(QWidget* mainWindow)
    : QDialog(mainWindow), mainWindow_(mainWindow), table_(new QTableWidget(this)) {
    ui::applyWindowLook(this);
    setWindowTitle(QStringLiteral("操作一覧"));
    auto* intro = new QLabel(
        QStringLiteral(
            "命令はパレットのボタン、メニュー、キーのどれからでも出せます。\n"
            "地図: 自艦隊をクリックで選択、敵艦隊をクリックで情報、右クリックでメニュー。\n"
            "字幕と会話: クリックでページを表示、Esc または右クリックで飛ばします。"),
        this);
    intro->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    table_->setColumnCount(2);
    table_->setHorizontalHeaderLabels({QStringLiteral("命令"), QStringLiteral("キー")});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setStyleSheet(QStringLiteral("QTableWidget { color: white; background: black; }"));
    auto* close = new QPushButton(QStringLiteral("閉じる"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(table_, 1);
    layout->addWidget(close, 0, Qt::AlignRight);
    resize(520, 560);
}

void KeyHelpWindow::showFor(const QList<QAction*>& actions) {
    table_->setRowCount(0);
    for (QAction* action : actions) {
        if (action->shortcuts().isEmpty()) continue;
        QStringList keys;
        for (const QKeySequence& key : action->shortcuts())
            keys << key.toString(QKeySequence::NativeText);
        const int row = table_->rowCount();
        table_->insertRow(row);
        table_->setItem(row, 0, new QTableWidgetItem(action->text()));
        table_->setItem(row, 1, new QTableWidgetItem(keys.join(QStringLiteral(" / "))));
    }
    ui::placeOver(this, mainWindow_);
    show();
    raise();
    activateWindow();
}

}  // namespace velmora::map
