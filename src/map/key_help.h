// The help window (F1): every command with its key, read from the actions
// themselves so the list never disagrees with the menus.
#pragma once

#include <QDialog>
#include <QList>

class QAction;
class QTableWidget;

namespace velmora::map {

class KeyHelpWindow : public QDialog {
    Q_OBJECT

  public:
    explicit KeyHelpWindow(QWidget* mainWindow);

    // Lists the actions that have a key, in the given order, and shows the window.
    void showFor(const QList<QAction*>& actions);

    QTableWidget* table() const { return table_; }

  private:
    QWidget* mainWindow_;
    QTableWidget* table_;
};

}  // namespace velmora::map
