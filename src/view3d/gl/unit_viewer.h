// The unit viewer: shown over the map in its place. A fleet's ships stand
// on rings by type and turn; a ship or an aircraft type turns alone with its
// data strip. The fleet tree on the right picks fleets and ships.
#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "model/game_state.h"
#include "view3d/pure/model_scene.h"
#include "view3d/pure/viewer_logic.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class QFrame;
class QPushButton;

namespace velmora::view3d {

class ModelView;

class UnitViewer : public QWidget {
    Q_OBJECT

  public:
    UnitViewer(GameState& state, const std::string& logDirectory, QWidget* parent = nullptr);
    ~UnitViewer() override;

    // "エラー" messages (missing models, a failed GL call) go through this.
    void setMessageHandler(std::function<void(const QString&, const QString&)> handler) {
        message_ = std::move(handler);
    }

    // The palette's "艦隊情報".
    void showOwnFleetView();
    // "詳細" of the search information window.
    void showFleetDetailView(int fleet);
    // Strikes and encounters.
    void showBattleFleetView(int fleet);
    // Combat reports.
    void showShipModel(int classIndex);
    void showAircraftModel(int type);
    // Stops drawing and gives the place back to the map.
    void endView();
    // The popup's "キャンセル": ends the view, frees the fleet's models and
    // hides the tree.
    void closeOwnFleetView();
    // Before another game replaces this one: every view closes and the next
    // scene starts with the tilted camera.
    void newGame();

    // What tests and the screenshots look at.
    ModelView* modelView() const { return view_; }
    QTreeWidget* tree() const { return tree_; }
    QFrame* shipStrip() const { return shipStrip_; }
    QFrame* aircraftStrip() const { return aircraftStrip_; }
    QPushButton* aircraftButton(int k) const {
        return aircraftButtons_[static_cast<std::size_t>(k)];
    }
    QPushButton* shipBackButton() const { return shipBack_; }
    QPushButton* aircraftBackButton() const { return aircraftBack_; }
    QString shipValue(const QString& caption) const;
    QString aircraftValue(const QString& caption) const;
    int viewSpin() const { return viewSpin_; }
    int loadedShipModels() const { return static_cast<int>(shipModels_.size()); }
    // The tree position of an item (fleet nodes and ships in tree order).
    int nodePosition(QTreeWidgetItem* item) const;
    void selectNode(int position);
    void doubleClickSelected();

  protected:
    // Right clicks reach the map below (its popup menu closes the view);
    // others stay here, where they would hit a map nobody sees.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    using ModelPtr = std::unique_ptr<Model>;
    bool ensureView();
    void setRenderHandler(std::function<void(ModelScene&)> handler);
    void blackOutView();
    void createModelScene(CameraPlacement camera);
    void buildStrips();
    void showViewer();
    ModelPtr loadModel(const std::string& file, const char* missingMessage);
    void loadFleetModels(int fleet);
    void releaseFleetModels();
    void installFleetView();
    void installModelView(const Model* model);
    void renderFleet(ModelScene& scene);
    void fillTree(const FleetTree& tree);
    void selectionChanged();
    void showShipPanel(int fleet, int slot);
    void showAircraftPanel(int type);
    void aircraftBack();
    void shipBack();
    void fillLines(std::map<QString, QLabel*>& values, const std::vector<StripLine>& lines);
    void reportFailure(const QString& line);

    GameState& state_;
    std::function<void(const QString&, const QString&)> message_;
    std::string logDirectory_;
    ModelView* view_ = nullptr;
    bool glMissing_ = false;
    QTreeWidget* tree_;
    QFrame* shipStrip_;
    QFrame* aircraftStrip_;
    std::map<QString, QLabel*> shipValues_;
    std::map<QString, QLabel*> aircraftValues_;
    std::vector<QPushButton*> aircraftButtons_;
    QPushButton* shipBack_ = nullptr;
    QPushButton* aircraftBack_ = nullptr;

    FleetTree fleetTree_;
    std::vector<ModelPtr> shipModels_;  // one per ship slot of the loaded fleet
    ModelPtr shipModel_;
    ModelPtr aircraftModel_;
    int viewedFleet_ = 0;
    int viewSpin_ = 0;
    int selectedNode_ = 0;
    bool shipSelected_ = false;
    bool building_ = false;
    std::vector<int> aircraftButtonTypes_{255, 255, 255};
};

}  // namespace velmora::view3d
