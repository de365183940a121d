#include "view3d/pure/scene.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

#include "view3d/pure/debug_log.h"

namespace velmora::view3d {

std::uint64_t NextResourceKey() {
    static std::atomic<std::uint64_t> next{1};
    return next++;
}

std::vector<BlendPreset> StandardBlendPresets() {
    using F = BlendFactor;
    return {
        {false, false, false, F::kOne, F::kZero},
        {true, false, true, F::kSrcAlpha, F::kOne},
        {true, false, true, F::kSrcAlpha, F::kInvSrcAlpha},
        {true, false, true, F::kZero, F::kInvSrcColour},
        {true, false, true, F::kZero, F::kSrcColour},
        {false, true, false, F::kOne, F::kZero},
    };
}

BlendPreset InvDestColourPreset() {
    return {true, false, true, BlendFactor::kInvDestColour, BlendFactor::kInvSrcColour};
}

BlendPreset OneInvSrcColourPreset() {
    return {true, false, true, BlendFactor::kOne, BlendFactor::kInvSrcColour};
}

bool Material::HasTexture() const {
    return std::any_of(stages.begin(), stages.end(),
                       [](const TextureStage& s) { return s.picture != nullptr; });
}

int EffectivePreset(const Material& material) {
    if (material.blendMode == 2 && !material.HasTexture()) {
        return material.diffuse.a < 0.9999f ? 2 : 0;
    }
    if (material.blendMode == 0 && material.diffuse.a < 0.9999f) return 2;
    return material.blendMode;
}

int VertexStride(unsigned fields) {
    int stride = 12;
    if (fields & kVertexBlend) stride += 8;
    if (fields & kVertexNormal) stride += 12;
    if (fields & kVertexColour) stride += 4;
    if (fields & kVertexTexture) stride += 8;
    return stride;
}

// ---------------------------------------------------------------- meshes

Vec3 Mesh::Position(int vertex) const {
    Vec3 p;
    std::memcpy(
        &p, vertices.data() + static_cast<std::size_t>(vertex) * static_cast<std::size_t>(stride),
        12);
    return p;
}

void Mesh::ComputeBounds() {
    const int n = VertexCount();
    if (n == 0) {
        boxMin = boxMax = sphereCentre = {};
        sphereRadius = 0;
        return;
    }
    boxMin = boxMax = Position(0);
    for (int i = 1; i < n; ++i) {
        const Vec3 p = Position(i);
        boxMin = {std::min(boxMin.x, p.x), std::min(boxMin.y, p.y), std::min(boxMin.z, p.z)};
        boxMax = {std::max(boxMax.x, p.x), std::max(boxMax.y, p.y), std::max(boxMax.z, p.z)};
    }
    sphereCentre = (boxMin + boxMax) * 0.5f;
    sphereRadius = Length(boxMax - boxMin) * 0.5f;
}

namespace {

constexpr std::size_t kSearchWindow = 512;

bool SharesEdge(const std::uint16_t* a, const std::uint16_t* b) {
    int shared = 0;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            if (a[i] == b[j]) ++shared;
        }
    }
    return shared >= 2;
}

}  // namespace

void Mesh::OptimiseTriangleOrder() {
    const std::size_t count = indices.size() / 3;
    if (count < 3) return;
    std::vector<bool> used(count, false);
    std::vector<std::uint16_t> out;
    out.reserve(indices.size());
    std::size_t current = 0;
    std::size_t firstUnused = 0;
    for (std::size_t placed = 0; placed < count; ++placed) {
        used[current] = true;
        out.insert(out.end(), indices.begin() + static_cast<std::ptrdiff_t>(current * 3),
                   indices.begin() + static_cast<std::ptrdiff_t>(current * 3 + 3));
        while (firstUnused < count && used[firstUnused]) ++firstUnused;
        if (firstUnused == count) break;
        // The next triangle sharing an edge, searching forward a while;
        // otherwise the first one not yet placed.
        std::size_t next = firstUnused;
        for (std::size_t step = 1; step <= kSearchWindow && step < count; ++step) {
            const std::size_t t = (current + step) % count;
            if (!used[t] && SharesEdge(&indices[current * 3], &indices[t * 3])) {
                next = t;
                break;
            }
        }
        current = next;
    }
    out.insert(out.end(), indices.begin() + static_cast<std::ptrdiff_t>(count * 3), indices.end());
    indices = std::move(out);
}

// ---------------------------------------------------------------- frames

Frame* Frame::AddChild() {
    children_.push_back(std::make_unique<Frame>());
    children_.back()->parent_ = this;
    return children_.back().get();
}

std::vector<const Frame*> Frame::Ancestors() const {
    std::vector<const Frame*> out;
    for (const Frame* f = parent_; f != nullptr; f = f->parent_) out.push_back(f);
    std::reverse(out.begin(), out.end());
    return out;
}

Mat4 Frame::World() const {
    Mat4 w = local;
    if (!absolute) {
        for (const Frame* f = parent_; f != nullptr; f = f->parent_) {
            if (!f->absolute) w = w * f->local;
        }
    }
    return secondEnabled ? second * w : w;
}

namespace {

Mat4 WorldOf(const Frame* f) {
    return f ? f->World() : Mat4::Identity();
}
Mat4 InverseWorldOf(const Frame* f) {
    return f ? f->InverseWorld() : Mat4::Identity();
}

}  // namespace

void Frame::SetOrientation(Vec3 direction, Vec3 up, const Frame* reference) {
    Vec3 rows[3] = {Normalise(Cross(up, direction)), up, direction};
    if (reference != parent_) {
        const Mat4 toWorld = WorldOf(reference);
        const Mat4 toParent = InverseWorldOf(parent_);
        for (Vec3& r : rows) r = toParent.TransformNormal(toWorld.TransformNormal(r));
    }
    for (int i = 0; i < 3; ++i) local.SetRow(i, rows[i]);
}

void Frame::SetPosition(Vec3 position, const Frame* reference) {
    if (reference != parent_) {
        position =
            InverseWorldOf(parent_).TransformPoint(WorldOf(reference).TransformPoint(position));
    }
    local.SetRow(3, position);
}

void Frame::SetMatrix(const Mat4& matrix, const Frame* reference) {
    local = reference == parent_ ? matrix : matrix * WorldOf(reference) * InverseWorldOf(parent_);
}

// ---------------------------------------------------------------- lights

Light* LightGroup::At(int n) {
    if (n < 0 || n >= Count()) {
        DebugLog::Instance().Line("TSXLightGroup @ SXLib: 範囲外のライトを参照しようとしました");
        return nullptr;
    }
    return &lights_[static_cast<std::size_t>(n)];
}

// ---------------------------------------------------------------- scene

Mat4 Projection::Matrix() const {
    const float yScale = 1.0f / std::tan(fieldOfView / 2);
    return Mat4::Perspective(yScale * aspect, yScale, nearZ, farZ);
}

Scene::Scene() : camera(root.AddChild()) {}

bool Scene::SphereVisible(Vec3 c, float r) const {
    if (c.z < -r || c.z > r + projection.farZ) return false;
    const float yScale = 1.0f / std::tan(projection.fieldOfView / 2);
    const float xScale = yScale * projection.aspect;
    // Side planes through the eye: inside when |x| * scale <= z.
    const float nx = std::sqrt(xScale * xScale + 1), ny = std::sqrt(yScale * yScale + 1);
    if ((c.x * xScale - c.z) / nx > r || (-c.x * xScale - c.z) / nx > r) return false;
    if ((c.y * yScale - c.z) / ny > r || (-c.y * yScale - c.z) / ny > r) return false;
    return true;
}

void Scene::Visit(const Frame& frame, const Mat4& view, bool cull, DrawList& out) const {
    bool visible = true;
    if (frame.callback) {
        const FrameVisibility v = frame.callback(frame);
        if (v == FrameVisibility::kHidden) return;
        cull = v != FrameVisibility::kDrawnWithoutCulling;
        visible = true;
    } else if (frame.hidden) {
        return;
    }
    const Mat4 world = frame.World();
    if (!frame.callback || cull) {
        if (frame.culling) {
            const Vec3 c = (world * view).TransformPoint(frame.cullCentre);
            if (!SphereVisible(c, frame.cullRadius)) return;
        }
    }
    if (visible && frame.mesh != nullptr) {
        DrawItem item;
        item.mesh = frame.mesh;
        item.material = frame.material;
        item.world = world;
        item.preset = frame.material ? EffectivePreset(*frame.material) : frame.blendPreset;
        if (item.preset < 0 || item.preset >= static_cast<int>(presets.size())) item.preset = 0;
        item.depth = (world * view).TransformPoint(frame.mesh->sphereCentre).z;
        if (frame.overlay) {
            out.overlay.push_back(item);
        } else if (presets[static_cast<std::size_t>(item.preset)].translucent) {
            out.translucent.push_back(item);
        } else {
            out.opaque.push_back(item);
        }
    }
    for (const auto& child : frame.Children()) Visit(*child, view, cull, out);
}

DrawList Scene::Render(const Frame& top) const {
    DrawList out;
    out.view = camera->InverseWorld();
    out.projection = projection.Matrix();
    Visit(top, out.view, true, out);
    if (sortTranslucent) {
        std::stable_sort(out.translucent.begin(), out.translucent.end(),
                         [](const DrawItem& a, const DrawItem& b) { return a.depth > b.depth; });
    }
    return out;
}

}  // namespace velmora::view3d
