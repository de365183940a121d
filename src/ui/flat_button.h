// The flat push button used on most windows: a caption on a plain face.
#pragma once

#include <QColor>
#include <QPushButton>

namespace velmora::ui {

class FlatButton : public QPushButton {
    Q_OBJECT

public:
    explicit FlatButton(const QString& caption = QString(), QWidget* parent = nullptr);

    void setFaceColour(const QColor& colour);
    QColor faceColour() const { return face_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor face_;
};

}  // namespace velmora::ui
