// The GL picture of the unit viewer. It owns the device, the renderer and
// the model scene; an installed render handler queues the models of each
// picture. Pictures are paced by a timer, so an open view leaves the
// processor free between frames.
#pragma once

#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <QTimer>
#include <functional>
#include <memory>

#include "view3d/pure/model_scene.h"

namespace velmora::view3d {

class Device;
class Renderer;

class ModelView : public QOpenGLWidget {
    Q_OBJECT

  public:
    static constexpr int kFrameIntervalMs = 30;

    // logDirectory: where the device log goes (empty: no log).
    explicit ModelView(const std::string& logDirectory, QWidget* parent = nullptr);
    ~ModelView() override;

    // Replaces the model scene (the camera stays until the next call).
    void createModelScene(CameraPlacement camera);
    ModelScene& modelScene() { return *scene_; }
    // The handler queues one picture's models; an empty one stops drawing.
    void setRenderHandler(std::function<void(ModelScene&)> handler);
    bool drawing() const { return static_cast<bool>(handler_); }
    // Blacks the picture out until the next frame is drawn.
    void blackOut();
    Device* device() const { return device_.get(); }
    long framesDrawn() const { return frames_; }

  signals:
    // A GL call failed: the view has been switched off.
    void failed(const QString& line);

  protected:
    void initializeGL() override;
    void paintGL() override;

  private:
    void contextLost();

    std::unique_ptr<Device> device_;
    std::unique_ptr<Renderer> renderer_;
    std::unique_ptr<ModelScene> scene_;
    std::function<void(ModelScene&)> handler_;
    QTimer timer_;
    QElapsedTimer clock_;
    bool started_ = false;
    bool black_ = true;
    long frames_ = 0;
    qint64 handlerStartMs_ = 0;
    long handlerStartFrames_ = 0;
};

}  // namespace velmora::view3d
