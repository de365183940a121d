// The visible map (790 x 545): the title picture before a game, then the
// back buffer of the last redraw with the overlay drawn straight onto it.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include "model/game_state.h"
#include "orders/map_composition.h"
#include "orders/orders.h"

namespace velmora::map {

class MapView : public QWidget {
    Q_OBJECT

  public:
    explicit MapView(const GameState& state, QWidget* parent = nullptr);

    // Composes the map from the state; the overlay starts empty.
    void redraw();
    // Paints the overlay items added since the last call.
    void flushOverlay();
    // The caption screen: black, one white line centred by bytes.
    void showCaptionLine(const QString& line);
    // Back to the title picture (before a game).
    void showTitle();
    // A black picture: the title is gone while a new game is set up.
    void showBlank();

    MapOverlay& overlay() { return overlay_; }
    // What the player sees, in map pixels.
    const QImage& picture() const { return image_; }
    bool showingTitle() const { return showingTitle_; }

    QSize sizeHint() const override { return {kMapWidth, kMapHeight}; }

  signals:
    void pressed(MouseButton button, Point at, QPoint globalPos);
    void moved(Point at);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void loadMapPicture();
    static Point mapPoint(const QPointF& widgetPos);

    const GameState& state_;
    QImage mapPicture_;
    std::string mapPicturePath_;
    QImage image_;
    MapOverlay overlay_;
    std::size_t painted_ = 0;
    bool showingTitle_ = true;
};

}  // namespace velmora::map
