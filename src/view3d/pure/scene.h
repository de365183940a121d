// The scene library: frames with meshes, culled against the view volume and
// sorted into queues for drawing. Drawing itself belongs to the device layer,
// which walks the draw list this produces.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "view3d/pure/matrix.h"

namespace velmora::view3d {

struct Colour {
    float r = 0, g = 0, b = 0, a = 0;
};

enum class BlendFactor {
    kZero,
    kOne,
    kSrcColour,
    kInvSrcColour,
    kSrcAlpha,
    kInvSrcAlpha,
    kDestColour,
    kInvDestColour
};

struct BlendPreset {
    bool translucent = false;
    bool alphaTest = false;  // passes when alpha > reference
    bool blending = false;
    BlendFactor source = BlendFactor::kOne;
    BlendFactor destination = BlendFactor::kZero;
};

// Presets 0..5, which every scene has.
std::vector<BlendPreset> StandardBlendPresets();
// Presets 6 and 7 of the unit viewer's model scene.
BlendPreset InvDestColourPreset();
BlendPreset OneInvSrcColourPreset();

// A decoded picture: 32-bit pixels, A R G B from the high byte down, rows top
// first. Each texture has an ID that the device layer keys its copy by.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint64_t id = 0;
    std::string name;
};
std::uint64_t NextResourceKey();

struct TextureStage {
    std::shared_ptr<const Picture> picture;
    int blendMode = 0;
    int addressMode = 0;
    int filterMode = 0;
    // Coordinate scroll in units per 8 seconds.
    float scrollU = 0, scrollV = 0;
};

struct Material {
    std::string name;
    Colour diffuse{1, 1, 1, 1};
    Colour ambient{1, 1, 1, 1};
    Colour emissive{0, 0, 0, 0};
    Colour specular{1, 1, 1, 1};
    float power = 0;
    int blendMode = 2;
    int shadingMode = 0;
    int lightingMode = 0;
    std::array<TextureStage, 8> stages;

    bool HasTexture() const;
};

// The preset a material is drawn with: blending without any texture falls
// back to opaque, and an opaque material that is see-through blends.
int EffectivePreset(const Material& material);

// Vertex layout flags of a mesh, in the order the fields are stored.
enum VertexFields : unsigned {
    kVertexBlend = 1,    // one float weight and four byte indices
    kVertexNormal = 2,   // three floats
    kVertexColour = 4,   // 32-bit ARGB
    kVertexTexture = 8,  // u, v
};
int VertexStride(unsigned fields);

struct Mesh {
    unsigned fields = 0;
    int stride = 12;
    std::vector<std::uint8_t> vertices;
    std::vector<std::uint16_t> indices;
    Vec3 boxMin, boxMax;
    Vec3 sphereCentre;
    float sphereRadius = 0;
    std::uint64_t id = NextResourceKey();

    int VertexCount() const { return stride > 0 ? static_cast<int>(vertices.size()) / stride : 0; }
    int TriangleCount() const { return static_cast<int>(indices.size() / 3); }
    Vec3 Position(int vertex) const;
    void ComputeBounds();
    // Reorders the triangles so that each shares an edge with the one before
    // where it can, which keeps the vertex cache warm.
    void OptimiseTriangleOrder();
};

class Frame;

// What a frame's callback decides about it.
enum class FrameVisibility { kHidden, kDrawn, kDrawnWithoutCulling };

class Frame {
  public:
    Frame() = default;
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    Frame* AddChild();
    Frame* Parent() const { return parent_; }
    const std::vector<std::unique_ptr<Frame>>& Children() const { return children_; }
    void ClearChildren() { children_.clear(); }
    // Ancestors, root first.
    std::vector<const Frame*> Ancestors() const;

    Mat4 local = Mat4::Identity();
    Mat4 second = Mat4::Identity();
    bool secondEnabled = false;
    bool hidden = false;
    bool absolute = false;
    bool culling = false;
    bool overlay = false;
    Vec3 cullCentre;
    float cullRadius = 0;
    const Mesh* mesh = nullptr;
    const Material* material = nullptr;
    int blendPreset = 0;
    std::function<FrameVisibility(const Frame&)> callback;

    Mat4 World() const;
    Mat4 InverseWorld() const { return World().RigidInverse(); }
    // Rows of the rotation: normalise(up x direction), up, direction, given
    // in the reference frame's space (nullptr: world). The position stays.
    void SetOrientation(Vec3 direction, Vec3 up, const Frame* reference);
    void SetPosition(Vec3 position, const Frame* reference);
    void SetMatrix(const Mat4& matrix, const Frame* reference);

  private:
    Frame* parent_ = nullptr;
    std::vector<std::unique_ptr<Frame>> children_;
};

enum class LightType { kPoint = 1, kSpot = 2, kDirectional = 3 };

struct Light {
    LightType type = LightType::kDirectional;
    Colour diffuse{1, 1, 1, 1};
    Colour specular{0, 0, 0, 0};
    Colour ambient{0, 0, 0, 0};
    Vec3 direction{0, 0, 1};
    Vec3 position;
    bool enabled = false;
};

class LightGroup {
  public:
    explicit LightGroup(int count) : lights_(static_cast<std::size_t>(count > 0 ? count : 0)) {}
    int Count() const { return static_cast<int>(lights_.size()); }
    // Light n; an index outside the group is logged as an error and gives
    // nullptr.
    Light* At(int n);
    const std::vector<Light>& Lights() const { return lights_; }

  private:
    std::vector<Light> lights_;
};

struct DrawItem {
    const Mesh* mesh = nullptr;
    const Material* material = nullptr;
    Mat4 world;
    int preset = 0;
    float depth = 0;  // view-space z of the mesh's sphere centre
};

struct DrawList {
    Mat4 view;
    Mat4 projection;
    std::vector<DrawItem> opaque;
    std::vector<DrawItem> translucent;  // farthest first when sorted
    std::vector<DrawItem> overlay;
};

struct Projection {
    float farZ = 10000;
    float nearZ = 0.01f;
    float aspect = 1;                     // client height / width
    float fieldOfView = 3.14159265f / 2;  // vertical
    Mat4 Matrix() const;
};

class Scene {
  public:
    Scene();

    Frame root;
    Frame* camera;
    Projection projection;
    std::vector<BlendPreset> presets = StandardBlendPresets();
    bool sortTranslucent = true;
    LightGroup lights{1};

    // True when a sphere given in view space lies at least partly inside the
    // view volume.
    bool SphereVisible(Vec3 centre, float radius) const;
    // Culls and sorts everything below top as seen from the camera.
    DrawList Render(const Frame& top) const;

  private:
    void Visit(const Frame& frame, const Mat4& view, bool cull, DrawList& out) const;
};

}  // namespace velmora::view3d
