// Draws a scene's draw list with GL: the queues in order, blend presets,
// one directional light, material colours and texture stage 0.
#pragma once

#include <QOpenGLShaderProgram>
#include <map>
#include <memory>

#include "view3d/gl/resources.h"
#include "view3d/pure/scene.h"

namespace velmora::view3d {

class Device;

class Renderer {
  public:
    explicit Renderer(Device& device);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Draws into the bound framebuffer; seconds drives texture scrolling.
    void Draw(const DrawList& list, const Scene& scene, double seconds);
    // Frees the GPU copies of meshes and pictures not drawn for a while.
    void ForgetUnused();
    int CachedMeshes() const { return static_cast<int>(meshes_.size()); }

  private:
    struct GpuMesh {
        std::unique_ptr<VertexBuffer> vertices;
        std::unique_ptr<IndexBuffer> indices;
        int lastFrame = 0;
    };
    struct GpuTexture {
        std::unique_ptr<Texture> texture;
        int lastFrame = 0;
    };
    void Create();
    void Free();
    GpuMesh& MeshFor(const Mesh& mesh);
    Texture* TextureFor(const Picture& picture);
    void ApplyPreset(const BlendPreset& preset);
    void DrawItem(const struct DrawItem& item, const Scene& scene, double seconds);

    Device& device_;
    int id_;
    std::unique_ptr<QOpenGLShaderProgram> program_;
    unsigned vao_ = 0;
    std::map<std::uint64_t, GpuMesh> meshes_;
    std::map<std::uint64_t, GpuTexture> textures_;
    int frame_ = 0;
    int appliedPreset_ = -1;
};

}  // namespace velmora::view3d
