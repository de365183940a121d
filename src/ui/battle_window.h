// The battle window ("戦闘", "水上戦闘" once surface fleets have met): the
// stage on which ground combat is told, a picture with a dialogue box along
// its bottom edge.
#pragma once

#include <QString>
#include <QWidget>

namespace velmora::ui {

class CompressedImageWidget;
class SerifBox;

class BattleWindow : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 785;
    static constexpr int kHeight = 562;
    static constexpr int kBoxTop = 504;

    explicit BattleWindow(QWidget* mainWindow = nullptr);

    // Shown (not modal) and centred over the main window.
    void open();
    // Types one line and returns after the person clicked through it.
    void say(const QString& text);
    // Ends any line still typing and hides the window.
    void finish();
    void setCaption(const QString& caption) { setWindowTitle(caption); }
    // A new game: the window's first caption and an empty box.
    void reset();

    SerifBox* serifBox() const { return box_; }
    CompressedImageWidget* picture() const { return picture_; }

  private:
    QWidget* mainWindow_;
    CompressedImageWidget* picture_;
    SerifBox* box_;
};

}  // namespace velmora::ui
