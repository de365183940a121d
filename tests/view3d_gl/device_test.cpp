#include "view3d/gl/device.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <QTemporaryDir>
#include <fstream>
#include <memory>

#include "view3d/gl/renderer.h"
#include "view3d/gl/resources.h"
#include "view3d/pure/debug_log.h"
#include "view3d/pure/model_scene.h"

namespace velmora::view3d {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A GL 3.3 context on an offscreen surface, or nothing without a display.
struct GlContext {
    QOffscreenSurface surface;
    std::unique_ptr<QOpenGLContext> context;

    bool Make() {
        QSurfaceFormat format;
        format.setVersion(3, 3);
        format.setProfile(QSurfaceFormat::CoreProfile);
        format.setDepthBufferSize(24);
        surface.setFormat(format);
        surface.create();
        context = std::make_unique<QOpenGLContext>();
        context->setFormat(format);
        return context->create() && context->makeCurrent(&surface) &&
               context->format().majorVersion() >= 3;
    }
    void Drop() {
        context->doneCurrent();
        context.reset();
    }
};

class DeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!gl.Make()) GTEST_SKIP() << "no OpenGL 3.3 here (run under Xvfb with Mesa)";
        device = std::make_unique<Device>(dir.path().toStdString());
        device->SetErrorHandler([this](const std::string& line) { errors.push_back(line); });
        device->StartUp(gl.context.get(), QSize(64, 64));
    }
    void TearDown() override { device.reset(); }

    std::vector<std::string> LogLines() const {
        std::ifstream in(dir.filePath("DGCarad_DebugLog.txt").toStdString());
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    // Draws the scene into a 64 x 64 target and reads it back.
    QImage Draw(Renderer& renderer, ModelScene& scene) {
        QOpenGLFramebufferObject target(64, 64, QOpenGLFramebufferObject::CombinedDepthStencil);
        target.bind();
        QOpenGLExtraFunctions& f = device->Gl();
        f.glViewport(0, 0, 64, 64);
        f.glClearColor(136 / 255.0f, 136 / 255.0f, 136 / 255.0f, 1);
        f.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderer.Draw(scene.Render(), scene.SceneGraph(), 0);
        scene.EmptyPool();
        QImage image = target.toImage();
        target.release();
        return image;
    }

    GlContext gl;
    QTemporaryDir dir;
    std::unique_ptr<Device> device;
    std::vector<std::string> errors;
};

// A box of the given half size, unlit white.
Model Box(float half) {
    std::string doc =
        "Metasequoia Document\nFormat Text Ver 1.0\n"
        "Material 1 {\n\t\"white@l1\" col(1 1 1 1) dif(1)\n}\n"
        "Object \"box\" {\n\tvertex 8 {\n";
    for (int i = 0; i < 8; ++i) {
        doc += "\t\t" + std::to_string(i & 1 ? half : -half) + " " +
               std::to_string(i & 2 ? half : -half) + " " + std::to_string(i & 4 ? half : -half) +
               "\n";
    }
    doc +=
        "\t}\n\tface 6 {\n\t\t4 V(0 1 3 2)\n\t\t4 V(4 6 7 5)\n\t\t4 V(0 4 5 1)\n\t\t4 V(2 3 7 6)\n"
        "\t\t4 V(0 2 6 4)\n\t\t4 V(1 5 7 3)\n\t}\n}\nEof\n";
    MqoError error;
    auto model = LoadModel(doc, "box.mqo", nullptr, &error);
    EXPECT_TRUE(model) << error.message;
    return model ? std::move(*model) : Model{};
}

TEST_F(DeviceTest, StartUpAndRegistryAreLogged) {
    Texture texture(*device, "deck");
    device->UnregisterResource(99);
    const auto lines = LogLines();
    ASSERT_GE(lines.size(), 8u);
    EXPECT_THAT(lines[0], HasSubstr("#00001 | ---"));
    EXPECT_EQ(lines[1], "#00002 | ■■■起動時の初期化をします■■■");
    EXPECT_EQ(lines[2], "#00003 |   OpenGLコンテキストを取得します");
    EXPECT_THAT(lines, Contains(HasSubstr("|     Driver : ")));
    EXPECT_THAT(lines, Contains(HasSubstr("ウィンドウモード 64x64で初期化します")));
    EXPECT_THAT(lines, Contains(HasSubstr("■■■DGCarad 起動しました■■■")));
    EXPECT_THAT(lines,
                Contains(HasSubstr("DGCaradリソース(TDGTexture)を登録します ID は 0(deck) です")));
    EXPECT_THAT(
        lines.back(),
        HasSubstr(
            "リストに入ってないDGCaradリソース(ID:99)が、UnregisterResource手続きに渡されました"
            "(Error Code = GL_INVALID_VALUE)"));
    // One failure switches the view off once.
    device->UnregisterResource(98);
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_TRUE(device->Failed());
}

TEST_F(DeviceTest, CallbacksRunInRegistrationOrderAndIdsAreNeverReused) {
    std::vector<std::string> calls;
    auto resource = [&](const std::string& n) {
        return ResourceCallbacks{[&, n] { calls.push_back("release " + n); },
                                 [&, n] { calls.push_back("rebuild " + n); },
                                 [&, n] { calls.push_back("lost " + n); },
                                 [&, n] { calls.push_back("reset " + n); }};
    };
    EXPECT_EQ(device->RegisterResource("T", "a", resource("a")), 0);
    EXPECT_EQ(device->RegisterResource("T", "b", resource("b")), 1);
    device->UnregisterResource(0);
    EXPECT_EQ(device->RegisterResource("T", "c", resource("c")), 2);
    device->Reset();
    device->SetWindowMode(QSize(32, 32));
    EXPECT_THAT(calls, ElementsAre("lost b", "lost c", "reset b", "reset c", "release b",
                                   "release c", "rebuild b", "rebuild c"));
}

TEST_F(DeviceTest, ModelDrawnOffscreenHasItsSilhouette) {
    Renderer renderer(*device);
    ModelScene scene(CameraPlacement::kLevel, 64, 64);
    const Model box = Box(40);
    // The level camera stands at (0, 50, 200) looking along +Z.
    scene.Queue(box, Mat4::Translation({0, 50, 500}));
    const QImage image = Draw(renderer, scene);
    EXPECT_EQ(image.pixelColor(32, 32), QColor(255, 255, 255));
    EXPECT_EQ(image.pixelColor(2, 2), QColor(136, 136, 136));
    EXPECT_EQ(image.pixelColor(61, 61), QColor(136, 136, 136));
    EXPECT_TRUE(errors.empty());
}

TEST_F(DeviceTest, ContextLossAndRecreationRebuildEveryResource) {
    Renderer renderer(*device);
    Texture texture(*device, "pattern");
    texture.SetFormatCandidates(
        {PixelFormat::kDxt1, PixelFormat::kA4R4G4B4, PixelFormat::kA8R8G8B8});
    texture.SetSize(2, 2);
    texture.LoadPixels({0xFF112233u, 0xFF445566u, 0xFF778899u, 0xFFAABBCCu});
    EXPECT_EQ(texture.Format(), PixelFormat::kA4R4G4B4);  // DXT1 is not a GL texture format here
    ModelScene scene(CameraPlacement::kLevel, 64, 64);
    const Model box = Box(40);
    scene.Queue(box, Mat4::Translation({0, 50, 500}));
    Draw(renderer, scene);
    EXPECT_EQ(renderer.CachedMeshes(), 1);

    device->ContextLost();
    EXPECT_EQ(texture.Handle(), 0u);
    gl.Drop();
    ASSERT_TRUE(gl.Make());
    device->ContextRestored(gl.context.get());
    ASSERT_NE(texture.Handle(), 0u);
    EXPECT_TRUE(device->Gl().glIsTexture(texture.Handle()));
    scene.Queue(box, Mat4::Translation({0, 50, 500}));
    const QImage again = Draw(renderer, scene);
    EXPECT_EQ(again.pixelColor(32, 32), QColor(255, 255, 255));
    EXPECT_TRUE(errors.empty());
}

TEST_F(DeviceTest, BufferRangesAndBitmapsAreChecked) {
    IndexBuffer indices(*device, "i", {0, 1, 2, 3});
    EXPECT_FALSE(indices.Read(1));  // not locked
    ASSERT_TRUE(indices.Lock(1, 2));
    EXPECT_EQ(indices.Read(2), 2);
    EXPECT_FALSE(indices.Read(3));
    EXPECT_FALSE(indices.Write(9, 1));
    EXPECT_FALSE(indices.Write(0, 1));
    EXPECT_TRUE(indices.Write(1, 7));
    EXPECT_TRUE(indices.Unlock());
    VertexBuffer vertices(*device, "v", std::vector<std::uint8_t>(24));
    EXPECT_EQ(vertices.Lock(20, 8), nullptr);
    const auto lines = LogLines();
    for (const char* message : {"IndexBufferのロックされた範囲の外を読もうとしました",
                                "IndexBufferの範囲外へ書き込もうとしました",
                                "IndexBufferのロックされた範囲の外へ書こうとしました",
                                "VertexBufferのロックに失敗しました"}) {
        EXPECT_THAT(lines, Contains(HasSubstr(message)));
    }

    Texture texture(*device, "bmp");
    texture.SetSize(2, 1);
    texture.LoadPixels({0xFF102030u, 0xFF405060u});
    const std::string bmp = texture.SaveBmp32();
    Texture copy(*device, "copy");
    ASSERT_TRUE(copy.LoadBmp(bmp, "copy.bmp"));
    EXPECT_THAT(copy.Pixels(), ElementsAre(0xFF102030u, 0xFF405060u));
    std::string oneBit = bmp;
    oneBit[28] = 1;
    EXPECT_FALSE(copy.LoadBmp(oneBit, "one.bmp"));
    EXPECT_FALSE(copy.LoadBmp("BM", "short.bmp"));
    EXPECT_FALSE(copy.LoadArchiveEntry(dir.filePath("none.zva").toStdString(), "a.bmp"));
    const auto after = LogLines();
    EXPECT_THAT(after,
                Contains(HasSubstr(
                    "色数が8ビット～32ビットの範囲のビットマップを、LoadBMPには指定してください")));
    EXPECT_THAT(after, Contains(HasSubstr("不正なBMPファイルです")));
    EXPECT_THAT(after, Contains(HasSubstr("short.bmpからの、読み込みエラー")));
    EXPECT_THAT(after, Contains(HasSubstr("a.bmp ＠ ")));
}

}  // namespace
}  // namespace velmora::view3d
