#include "view3d/pure/model_scene.h"

namespace velmora::view3d {

ModelScene::ModelScene(CameraPlacement camera, int width, int height) : camera_(camera) {
    scene_.projection.farZ = 100000;
    scene_.projection.nearZ = 1;
    scene_.projection.fieldOfView = 0.87266463f;
    scene_.projection.aspect =
        width > 0 ? static_cast<float>(height) / static_cast<float>(width) : 1;
    scene_.presets.push_back(InvDestColourPreset());
    scene_.presets.push_back(OneInvSrcColourPreset());
    Light* light = scene_.lights.At(0);
    light->type = LightType::kDirectional;
    light->direction = {0, 0, 1};
    light->diffuse = {1, 1, 1, 1};
    light->specular = {1, 1, 1, 1};
    light->ambient = {0.3f, 0.3f, 0.3f, 1};
    light->enabled = true;
    scene_.camera->SetPosition({0, 50, 200}, &scene_.root);
    if (camera == CameraPlacement::kTilted) {
        scene_.camera->SetOrientation({0, 1, 1}, {0, 0.5f, -0.1f}, &scene_.root);
    } else {
        scene_.camera->SetOrientation({0, 0, 1}, {0, 1, 0}, &scene_.root);
    }
    pool_.reserve(kCapacity);
    for (int i = 0; i < kCapacity; ++i) {
        Frame* f = scene_.root.AddChild();
        f->hidden = true;
        f->culling = true;
        pool_.push_back(f);
    }
}

void ModelScene::Queue(const Model& model, const Mat4& world) {
    for (const ModelObject& object : model.objects) {
        for (const SubObject& part : object.parts) {
            if (used_ >= kCapacity) return;
            if (part.material < 0 || part.material >= static_cast<int>(model.materials.size()))
                continue;
            Frame* f = pool_[static_cast<std::size_t>(used_++)];
            f->hidden = false;
            f->local = world;
            f->mesh = &part.mesh;
            f->material = &model.materials[static_cast<std::size_t>(part.material)];
            f->cullCentre = part.mesh.sphereCentre;
            f->cullRadius = part.mesh.sphereRadius;
        }
    }
}

void ModelScene::EmptyPool() {
    for (int i = 0; i < used_; ++i) {
        Frame* f = pool_[static_cast<std::size_t>(i)];
        f->hidden = true;
        f->mesh = nullptr;
        f->material = nullptr;
    }
    used_ = 0;
}

}  // namespace velmora::view3d
