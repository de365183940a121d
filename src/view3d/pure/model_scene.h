// The unit viewer's scene: one light, a camera, and a pool of frames that
// the models of one picture are queued into.
#pragma once

#include "view3d/pure/mqo.h"
#include "view3d/pure/scene.h"

namespace velmora::view3d {

enum class CameraPlacement { kTilted, kLevel };

class ModelScene {
  public:
    static constexpr int kCapacity = 1024;

    // width and height: the picture's size in pixels.
    ModelScene(CameraPlacement camera, int width, int height);

    // Queues every part of the model at the world matrix; parts beyond the
    // capacity are dropped until the pool is emptied.
    void Queue(const Model& model, const Mat4& world);
    int Queued() const { return used_; }
    void EmptyPool();
    DrawList Render() const { return scene_.Render(scene_.root); }
    const Scene& SceneGraph() const { return scene_; }
    CameraPlacement Camera() const { return camera_; }

  private:
    Scene scene_;
    CameraPlacement camera_;
    std::vector<Frame*> pool_;
    int used_ = 0;
};

}  // namespace velmora::view3d
