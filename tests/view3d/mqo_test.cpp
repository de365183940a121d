#include "view3d/pure/mqo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "model/text.h"

namespace velmora::view3d {
namespace {

using ::testing::HasSubstr;

std::string Document(
    const std::string& body,
    const std::string& header = "Metasequoia Document\r\nFormat Text Ver 1.0\r\n") {
    return header + "\r\n" + body + "Eof\r\n";
}

const char* const kOneMaterial =
    "Material 1 {\n\t\"grey\" shader(3) col(0.5 0.5 0.5 1.0) dif(1.0) amb(0.5) emi(0.0) spc(0.0) "
    "power(5)\n}\n";

std::string Object(const std::string& name, const std::string& extra,
                   const std::vector<std::string>& vertices,
                   const std::vector<std::string>& faces) {
    std::string s = "Object \"" + name + "\" {\n" + extra + "\tvertex " +
                    std::to_string(vertices.size()) + " {\n";
    for (const auto& v : vertices) s += "\t\t" + v + "\n";
    s += "\t}\n\tface " + std::to_string(faces.size()) + " {\n";
    for (const auto& f : faces) s += "\t\t" + f + "\n";
    return s + "\t}\n}\n";
}

Model Load(const std::string& bytes) {
    MqoError error;
    auto model = LoadModel(bytes, "test.mqo", nullptr, &error);
    EXPECT_TRUE(model) << error.message;
    return model ? std::move(*model) : Model{};
}

std::string ReadError(const std::string& bytes) {
    MqoError error;
    EXPECT_FALSE(ReadMqoDocument(bytes, "bad.mqo", &error));
    return error.message;
}

Vec3 NormalOf(const Mesh& mesh, int vertex) {
    Vec3 n;
    std::memcpy(&n, mesh.vertices.data() + static_cast<std::size_t>(vertex * mesh.stride + 12), 12);
    return n;
}

TEST(MqoReader, HeaderIsCheckedWithoutRegardToLetterCase) {
    const std::string body = kOneMaterial;
    EXPECT_TRUE(ReadMqoDocument(Document(body, "METASEQUOIA document\nformat TEXT ver 1.0\n"), "a",
                                nullptr));
    EXPECT_TRUE(ReadMqoDocument(Document(body, "Metasequoia Document\nFormat Text Ver 1.1\n"), "a",
                                nullptr));
    EXPECT_THAT(ReadError(Document(body, "Metasequoia Documen\nFormat Text Ver 1.0\n")),
                HasSubstr("bad.mqo 1行目"));
    EXPECT_THAT(ReadError(Document(body, "Metasequoia Document\nFormat Compress Ver 1.0\n")),
                HasSubstr("bad.mqo 2行目"));
    EXPECT_THAT(ReadError(""), HasSubstr("bad.mqo"));
}

TEST(MqoReader, BadNumbersAndFacesNameFileAndLine) {
    struct Case {
        std::string body;
        std::string message;
    };
    const Case cases[] = {
        {Object("o", "", {"0 0 0", "1 x 0", "0 1 0"}, {"3 V(0 1 2)"}),
         "7行目: 数値ではありません: x"},
        {Object("o", "", {"0 0 0", "1 0 0", "0 1 0"}, {"3 V(0 1 9)"}),
         "11行目: 面の頂点番号 9 は範囲外です"},
        {Object("o", "", {"0 0 0", "1 0 0", "0 1 0"}, {"3 V(0 1 -1)"}), "範囲外"},
        {Object("o", "", {"0 0 0", "1 0 0", "0 1 0"}, {"0 V()"}), "面の頂点数が読めません"},
        {Object("o", "", {"0 0"}, {}), "頂点の座標が三つありません"},
        {Object("o", "\tshading one\n", {}, {}), "整数ではありません"},
    };
    for (const Case& c : cases) EXPECT_THAT(ReadError(Document(c.body)), HasSubstr(c.message));
}

TEST(MqoReader, QuadBecomesTwoTrianglesSharingCornersZeroAndTwo) {
    const Model m =
        Load(Document(std::string(kOneMaterial) + Object("plate", "\tshading 0\n",
                                                         {"0 0 0", "1 0 0", "1 0 1", "0 0 1"},
                                                         {"4 V(0 1 2 3) M(0)"})));
    ASSERT_EQ(m.objects.size(), 1u);
    ASSERT_EQ(m.objects[0].parts.size(), 1u);
    const Mesh& mesh = m.objects[0].parts[0].mesh;
    EXPECT_EQ(m.objects[0].parts[0].name, "plate_grey");
    ASSERT_EQ(mesh.TriangleCount(), 2);
    EXPECT_EQ(mesh.VertexCount(), 4);
    // Reversed corners (3 2 1 0) give (3 2 1) and (3 1 0).
    const auto& i = mesh.indices;
    const Vec3 a0 = mesh.Position(i[0]), a2 = mesh.Position(i[2]);
    std::vector<Vec3> second{mesh.Position(i[3]), mesh.Position(i[4]), mesh.Position(i[5])};
    auto has = [&](Vec3 p) {
        return std::any_of(second.begin(), second.end(),
                           [&](Vec3 q) { return Length(p - q) < 1e-6f; });
    };
    EXPECT_TRUE(has(a0));
    EXPECT_TRUE(has(a2));
    // The face looks up (+Y) after the reversal.
    EXPECT_NEAR(NormalOf(mesh, 0).y, 1.0f, 1e-5f);
}

TEST(MqoReader, NgonsAreFannedAndLinesDropped) {
    const Model m = Load(Document(std::string(kOneMaterial) +
                                  Object("o", "", {"0 0 0", "1 0 0", "2 0 1", "1 0 2", "0 0 1"},
                                         {"5 V(0 1 2 3 4)", "2 V(0 1)"})));
    EXPECT_EQ(m.TriangleCount(), 3);
}

// Two faces folded along the x axis; the angle between their normals is
// 2 * half.
std::string Roof(int shading, float halfAngleDegrees) {
    const float rad = halfAngleDegrees * 3.14159265f / 180;
    const std::string y = std::to_string(std::tan(rad));
    return Document(std::string(kOneMaterial) +
                    Object("roof", "\tshading " + std::to_string(shading) + "\n\tfacet 60\n",
                           {"0 0 0", "1 0 0", "1 " + y + " 1", "0 " + y + " 1", "1 " + y + " -1",
                            "0 " + y + " -1"},
                           {"3 V(0 1 2)", "3 V(0 2 3)", "3 V(0 4 1)", "3 V(0 5 4)"}));
}

TEST(MqoReader, SmoothingKeepsVertexNormalsWithinHalfTheFacetAngle) {
    struct Case {
        int shading;
        float half;  // half the angle between the two faces' normals
        bool smooth;
    };
    const Case cases[] = {{1, 20, true}, {1, 40, false}, {0, 20, false}, {0, 5, false}};
    for (const Case& c : cases) {
        const Model m = Load(Roof(c.shading, c.half));
        const Mesh& mesh = m.objects.at(0).parts.at(0).mesh;
        // Corners on the ridge (z == 0) take the smooth normal (straight up)
        // or their face's tilted one.
        bool sawRidge = false;
        for (int v = 0; v < mesh.VertexCount(); ++v) {
            if (std::fabs(mesh.Position(v).z) > 1e-6f) continue;
            sawRidge = true;
            const float upness = NormalOf(mesh, v).y;
            if (c.smooth) {
                EXPECT_NEAR(upness, 1.0f, 1e-4f) << c.half;
            } else {
                EXPECT_NEAR(upness, std::cos(c.half * 3.14159265f / 180), 1e-4f) << c.half;
            }
        }
        EXPECT_TRUE(sawRidge);
    }
}

TEST(MqoReader, MaterialTagsColoursAndTextures) {
    const std::string doc = Document(
        "Scene {\n\tamb 0.2 0.4 0.6\n}\n"
        "Material 3 {\n"
        "\t\"Hull@CS80FF0000\" col(1 0.5 0.25 0.5) dif(0.8) amb(0.5) emi(0.1) spc(1.0) power(7)\n"
        "\t\"deck@b1@ca40102030\" col(1 1 1 1) dif(1) amb(1) tex(\"deck.bmp\")\n"
        "\t\"glass@ta1f0\" col(1 1 1 1) tex(\"none.bmp\")\n"
        "}\n");
    auto document = ReadMqoDocument(doc, "t.mqo", nullptr);
    ASSERT_TRUE(document);
    std::vector<std::string> asked;
    TextureFileReader reader = [&](const std::string& name) -> std::optional<std::string> {
        asked.push_back(name);
        if (name != "deck.bmp") return std::nullopt;
        // A 1 x 1 24-bit bitmap.
        std::string bmp = std::string("BM") + std::string(52, '\0');
        bmp[10] = 54;
        bmp[14] = 40;
        bmp[18] = 1;
        bmp[22] = 1;
        bmp[26] = 1;
        bmp[28] = 24;
        return bmp + std::string("\x10\x20\x30\0", 4);
    };
    const Model m = BuildModel(*document, reader);
    ASSERT_EQ(m.materials.size(), 3u);
    const Material& hull = m.materials[0];
    EXPECT_FLOAT_EQ(hull.specular.r, 1.0f);
    EXPECT_FLOAT_EQ(hull.specular.g, 0.0f);
    EXPECT_FLOAT_EQ(hull.specular.a, 128.0f / 255);
    EXPECT_FLOAT_EQ(hull.diffuse.g, 0.4f);
    EXPECT_FLOAT_EQ(hull.diffuse.a, 0.5f);
    EXPECT_FLOAT_EQ(hull.ambient.b, 0.3f);  // scene ambient x amb
    EXPECT_FLOAT_EQ(hull.emissive.r, 0.1f);
    EXPECT_EQ(hull.blendMode, 2);
    EXPECT_EQ(EffectivePreset(hull), 2);  // no texture, but see-through
    const Material& deck = m.materials[1];
    EXPECT_EQ(deck.blendMode, 1);
    EXPECT_FLOAT_EQ(deck.ambient.r, 16.0f / 255);
    ASSERT_TRUE(deck.stages[0].picture);
    // A side of 1 is not a power of two from 2 up: it becomes 256.
    EXPECT_EQ(deck.stages[0].picture->width, 256);
    EXPECT_EQ(deck.stages[0].picture->pixels[0], 0xFF302010u);
    const Material& glass = m.materials[2];
    EXPECT_FALSE(glass.stages[0].picture);  // missing file: empty slot
    EXPECT_EQ(EffectivePreset(glass), 0);
    EXPECT_FLOAT_EQ(glass.stages[1].scrollU, 7.0f);
    EXPECT_THAT(asked, ::testing::ElementsAre("deck.bmp", "none.bmp"));
}

TEST(MqoReader, CornersDifferingOnlyInUvAreNotShared) {
    const Model m = Load(
        Document(std::string(kOneMaterial) +
                 Object("o", "\tshading 1\n\tfacet 180\n", {"0 0 0", "1 0 0", "1 0 1", "0 0 1"},
                        {"3 V(0 1 2) UV(0 0 1 0 1 1)", "3 V(0 2 3) UV(0.5 0 1 1 0 1)"})));
    // Vertex 0 has two UVs, vertex 2 one: 5 vertices, not 4.
    EXPECT_EQ(m.objects[0].parts[0].mesh.VertexCount(), 5);
}

TEST(MqoReader, OtherToolsStyleLoads) {
    // Ver 1.1 with a code page line, Shift-JIS names, chunks this reader
    // does not know (inside and outside objects), vertex colours and a
    // material list with an extension chunk.
    const std::string hull = Cp932FromUtf8("船体");
    const std::string steel = Cp932FromUtf8("鋼");
    const std::string doc =
        "Metasequoia Document\nFormat Text Ver 1.1\nCodePage 932\n"
        "IncludeXml \"x.xml\"\n"
        "BackImage {\n\tpers \"a.bmp\" 0 0 1 1\n}\n"
        "Material 1 {\n\t\"" +
        steel +
        "\" shader(4) vcol(1) col(1 1 1 1) dif(0.8) amb(0.6) emi(0) spc(0) power(5) "
        "reflect(0.5)\n}\n"
        "Object \"" +
        hull +
        "\" {\n\tdepth 0\n\tfolding 0\n\tscale 1 1 1\n\tshading 1\n\tfacet 59.5\n"
        "\tvertexattr {\n\t\tuid {\n\t\t\t1\n\t\t}\n\t}\n"
        "\tvertex 4 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t1 0 1\n\t\t0 0 1\n\t}\n"
        "\tface 1 {\n\t\t4 V(0 1 2 3) M(0) UV(0 0 1 0 1 1 0 1) COL(4278190335 4278190335 "
        "4278190335 4278190335) UID(1)\n\t}\n"
        "}\nEof\n";
    const Model m = Load(doc);
    ASSERT_EQ(m.objects.size(), 1u);
    EXPECT_EQ(m.objects[0].name, "船体");
    EXPECT_EQ(m.materials[0].name, "鋼");
    const Mesh& mesh = m.objects[0].parts.at(0).mesh;
    EXPECT_EQ(mesh.TriangleCount(), 2);
    ASSERT_TRUE(mesh.fields & kVertexColour);
    std::uint32_t colour;
    std::memcpy(&colour, mesh.vertices.data() + 24, 4);
    EXPECT_EQ(colour, 0xFFFF0000u);  // stored ABGR red, drawn ARGB red
}

TEST(MqoReader, DemoModelsLoad) {
    for (const char* name : {"rapiel_dd.mqo", "dragnir_cv.mqo", "avm3_missile.mqo"}) {
        std::ifstream in(std::string(VELMORA_SOURCE_DIR) + "/scenarios/demo/3Dimage/" + name,
                         std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        const Model m = Load(bytes.str());
        EXPECT_GT(m.TriangleCount(), 10) << name;
    }
}

std::string WriteJpeg(int w, int h) {
    std::vector<unsigned char> rgb(static_cast<std::size_t>(w * h * 3), 200);
    std::string out;
    stbi_write_jpg_to_func(
        [](void* ctx, void* data, int size) {
            static_cast<std::string*>(ctx)->append(static_cast<char*>(data),
                                                   static_cast<std::size_t>(size));
        },
        &out, w, h, 3, rgb.data(), 90);
    return out;
}

std::string WritePng(int w, int h, unsigned char alpha) {
    std::vector<unsigned char> rgba(static_cast<std::size_t>(w * h * 4), 0);
    for (std::size_t i = 3; i < rgba.size(); i += 4) rgba[i] = alpha;
    std::string out;
    stbi_write_png_to_func(
        [](void* ctx, void* data, int size) {
            static_cast<std::string*>(ctx)->append(static_cast<char*>(data),
                                                   static_cast<std::size_t>(size));
        },
        &out, w, h, 4, rgba.data(), w * 4);
    return out;
}

TEST(TextureDecoding, ExtensionSignatureAndSizeRule) {
    const std::string jpeg = WriteJpeg(16, 8);
    auto wrapped = DecodeTexture("a.JPG", "junk before" + jpeg + "junk after");
    ASSERT_TRUE(wrapped);
    EXPECT_EQ(wrapped->width, 16);
    EXPECT_EQ(wrapped->height, 8);
    EXPECT_EQ(wrapped->pixels[0] >> 24, 255u);
    EXPECT_FALSE(DecodeTexture("a.jpg", jpeg.substr(0, jpeg.size() - 2)));  // no end marker

    auto png = DecodeTexture("a.png", WritePng(3, 64, 77));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 256);
    EXPECT_EQ(png->height, 64);
    EXPECT_EQ(png->pixels[0] >> 24, 77u);

    EXPECT_FALSE(DecodeTexture("a.png", jpeg));               // signature does not match
    EXPECT_FALSE(DecodeTexture("a.tga", WritePng(2, 2, 1)));  // unknown kind
    EXPECT_FALSE(DecodeTexture("a.bmp", "BM garbage"));
}

}  // namespace
}  // namespace velmora::view3d
