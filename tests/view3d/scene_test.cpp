#include "view3d/pure/scene.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

namespace velmora::view3d {
namespace {

void ExpectNear(Vec3 a, Vec3 b, const char* what) {
    EXPECT_NEAR(a.x, b.x, 1e-4f) << what;
    EXPECT_NEAR(a.y, b.y, 1e-4f) << what;
    EXPECT_NEAR(a.z, b.z, 1e-4f) << what;
}

TEST(Frames, OrientationRowsKeepDirectionAndUpAsGiven) {
    Frame root;
    Frame* camera = root.AddChild();
    camera->SetPosition({0, 50, 200}, &root);
    camera->SetOrientation({0, 1, 1}, {0, 0.5f, -0.1f}, &root);
    ExpectNear(camera->local.Row(0), {1, 0, 0}, "normalise(up x direction)");
    ExpectNear(camera->local.Row(1), {0, 0.5f, -0.1f}, "up unchanged");
    ExpectNear(camera->local.Row(2), {0, 1, 1}, "direction unchanged");
    ExpectNear(camera->local.Row(3), {0, 50, 200}, "position kept");
}

TEST(Frames, RigidInverseUndoesRotationAndTranslationOnly) {
    const Mat4 m = Mat4::RotationY(0.7f) * Mat4::Translation({3, -4, 5});
    const Mat4 product = m * m.RigidInverse();
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) EXPECT_NEAR(product.m[i][j], i == j ? 1.0f : 0.0f, 1e-5f);
    }
    // Scaled rows are transposed, not inverted.
    const Mat4 scaled = Mat4::Scaling(2) * Mat4::Translation({1, 0, 0});
    ExpectNear(scaled.RigidInverse().TransformPoint({1, 0, 0}), {0, 0, 0}, "2 x (1 - 1)");
    ExpectNear(scaled.RigidInverse().Row(3), {-2, 0, 0}, "translation row -(r0 . t)");
}

TEST(Frames, WorldMatricesFollowParentsUnlessAbsolute) {
    Frame root;
    Frame* ship = root.AddChild();
    ship->local = Mat4::RotationY(3.14159265f / 2) * Mat4::Translation({100, 0, 0});
    Frame* gun = ship->AddChild();
    gun->local = Mat4::Translation({0, 0, 10});  // 10 ahead of the ship
    // The ship looks along +X after a quarter turn: ahead is +X.
    ExpectNear(gun->World().TransformPoint({0, 0, 0}), {110, 0, 0}, "child of a turned parent");
    ExpectNear(gun->InverseWorld().TransformPoint({110, 0, 0}), {0, 0, 0}, "inverse world");
    gun->absolute = true;
    ExpectNear(gun->World().TransformPoint({0, 0, 0}), {0, 0, 10}, "absolute");
    gun->absolute = false;
    // Placing relative to another frame converts through both world matrices.
    Frame* marker = root.AddChild();
    marker->SetPosition({0, 0, 10}, ship);
    ExpectNear(marker->local.Row(3), {110, 0, 0}, "position relative to the ship");
}

Mesh Cube(float half) {
    Mesh mesh;
    mesh.stride = 12;
    for (float x : {-half, half}) {
        for (float y : {-half, half}) {
            for (float z : {-half, half}) {
                const float p[3] = {x, y, z};
                const auto* b = reinterpret_cast<const std::uint8_t*>(p);
                mesh.vertices.insert(mesh.vertices.end(), b, b + 12);
            }
        }
    }
    mesh.indices = {0, 1, 2, 1, 3, 2};
    mesh.ComputeBounds();
    return mesh;
}

TEST(Scene, CullingAgainstTheViewVolume) {
    Scene scene;
    scene.projection.farZ = 1000;
    struct Case {
        Vec3 centre;
        float radius;
        bool visible;
    };
    const Case cases[] = {
        {{0, 0, 100}, 1, true},      {{0, 0, -5}, 1, false},     {{0, 0, -0.5f}, 1, true},
        {{0, 0, 1002}, 1, false},    {{0, 0, 1000.5f}, 1, true}, {{300, 0, 100}, 1, false},
        {{-300, 0, 100}, 10, false}, {{105, 0, 100}, 10, true},  {{0, 150, 100}, 10, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scene.SphereVisible(c.centre, c.radius), c.visible)
            << c.centre.x << " " << c.centre.y << " " << c.centre.z;
    }
}

TEST(Scene, QueuesSortTranslucentFarthestFirstAndSkipHiddenAndCulled) {
    Scene scene;
    const Mesh cube = Cube(1);
    Material solid;
    solid.blendMode = 0;
    Material glass;
    glass.diffuse.a = 0.5f;
    auto add = [&](Vec3 at, const Material& m) {
        Frame* f = scene.root.AddChild();
        f->local = Mat4::Translation(at);
        f->mesh = &cube;
        f->material = &m;
        f->culling = true;
        f->cullRadius = cube.sphereRadius;
        return f;
    };
    add({0, 0, 10}, solid);
    add({0, 0, 20}, glass);
    add({0, 0, 50}, glass);
    add({0, 0, -50}, solid);  // behind the camera
    add({0, 0, 30}, solid)->hidden = true;
    Frame* callbackShown = add({0, 0, -60}, solid);
    callbackShown->callback = [](const Frame&) { return FrameVisibility::kDrawnWithoutCulling; };
    const DrawList list = scene.Render(scene.root);
    ASSERT_EQ(list.opaque.size(), 2u);
    EXPECT_FLOAT_EQ(list.opaque[0].depth, 10);
    EXPECT_FLOAT_EQ(list.opaque[1].depth, -60);
    ASSERT_EQ(list.translucent.size(), 2u);
    EXPECT_FLOAT_EQ(list.translucent[0].depth, 50);
    EXPECT_FLOAT_EQ(list.translucent[1].depth, 20);
    EXPECT_EQ(list.translucent[0].preset, 2);
}

TEST(Scene, BlendPresetsAndLightIndices) {
    const auto presets = StandardBlendPresets();
    ASSERT_EQ(presets.size(), 6u);
    EXPECT_FALSE(presets[0].translucent);
    EXPECT_EQ(presets[1].destination, BlendFactor::kOne);
    EXPECT_TRUE(presets[5].alphaTest);
    EXPECT_FALSE(presets[5].translucent);
    EXPECT_EQ(InvDestColourPreset().source, BlendFactor::kInvDestColour);
    LightGroup lights(2);
    EXPECT_NE(lights.At(1), nullptr);
    EXPECT_EQ(lights.At(2), nullptr);
    EXPECT_EQ(lights.At(-1), nullptr);
}

TEST(Meshes, OptimisingKeepsEveryTriangle) {
    Mesh mesh = Cube(1);
    mesh.indices = {0, 1, 2, 4, 5, 6, 2, 1, 3, 6, 5, 7, 0, 2, 4};
    auto sorted = [](std::vector<std::uint16_t> idx) {
        std::vector<std::array<std::uint16_t, 3>> tris;
        for (std::size_t i = 0; i < idx.size(); i += 3)
            tris.push_back({idx[i], idx[i + 1], idx[i + 2]});
        std::sort(tris.begin(), tris.end());
        return tris;
    };
    const auto before = sorted(mesh.indices);
    mesh.OptimiseTriangleOrder();
    EXPECT_EQ(sorted(mesh.indices), before);
    // (2 1 3) shares the edge 1-2 with (0 1 2) and comes right after it.
    EXPECT_EQ(mesh.indices[3], 2);
    EXPECT_NEAR(mesh.sphereRadius, std::sqrt(12.0f) / 2, 1e-5f);
}

}  // namespace
}  // namespace velmora::view3d
