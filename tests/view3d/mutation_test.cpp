// Mutated model and archive files: every one must load or be refused with a
// message; none may crash or read outside its input (run under ASan in CI).
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "view3d/pure/archive.h"
#include "view3d/pure/mqo.h"

namespace velmora::view3d {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Byte flips, cuts, duplications and tokens that readers trip over.
std::string Mutate(std::string s, std::mt19937& random) {
    static const char* const kTokens[] = {"{",
                                          "}",
                                          "(",
                                          ")",
                                          "\"",
                                          "\n",
                                          "face 99999 {\n",
                                          "vertex 3 {\n",
                                          "4 V(0 1 2 3)",
                                          "V(-1 70000 2)",
                                          "1e39",
                                          "nan",
                                          "\x81",
                                          "Object \"",
                                          "@nr9@nbz",
                                          "tex(\"a.png\")",
                                          "M(-5)",
                                          "UV(",
                                          "COL(4294967296)"};
    const int edits = 1 + static_cast<int>(random() % 8);
    for (int e = 0; e < edits && !s.empty(); ++e) {
        const std::size_t at = random() % s.size();
        switch (random() % 5) {
            case 0:
                s[at] = static_cast<char>(random());
                break;
            case 1:
                s.erase(at, random() % 64);
                break;
            case 2:
                s.insert(at, s.substr(random() % s.size(), random() % 128));
                break;
            case 3:
                s.insert(at, kTokens[random() % std::size(kTokens)]);
                break;
            case 4:
                s.resize(at);
                break;
        }
    }
    return s;
}

TEST(MutatedInput, ModelFilesLoadOrAreRefused) {
    const std::string seeds[] = {
        ReadFile(std::string(VELMORA_SOURCE_DIR) + "/scenarios/demo/3Dimage/avm3_missile.mqo"),
        ReadFile(std::string(VELMORA_TEST_DATA) + "/models/other_tool.mqo"),
    };
    std::mt19937 random(20261211);
    TextureFileReader textures = [&](const std::string& name) -> std::optional<std::string> {
        // Texture bytes are mutated pictures too.
        static const std::string png(
            "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0", 29);
        return Mutate(name.size() % 2 ? png : std::string("BM") + std::string(60, '\x01'), random);
    };
    int refused = 0;
    for (int i = 0; i < 1500; ++i) {
        const std::string bytes = Mutate(seeds[i % 2], random);
        MqoError error;
        auto model = LoadModel(bytes, "m.mqo", textures, &error);
        if (!model) {
            ++refused;
            EXPECT_FALSE(error.message.empty());
        }
    }
    EXPECT_GT(refused, 0);
}

TEST(MutatedInput, ArchivesGiveEntriesOrArchiveErrors) {
    std::string archive(256 + 268 + 20, '\0');
    archive[0] = 1;
    archive.replace(4, 4, "ZVA0");
    archive[8] = 1;
    archive[256] = static_cast<char>(256 + 268);
    archive[257] = 2;
    archive[260] = 20;
    archive.replace(256 + 12, 5, "a.bmp");
    archive.replace(256 + 268, 12, std::string("\xFF\x61\x62\0\x80\x63\xFD\x03\0\0\0\x80", 12));
    std::mt19937 random(7);
    for (int i = 0; i < 3000; ++i) {
        const std::string bytes = Mutate(archive, random);
        try {
            ReadArchiveEntry(std::string_view(bytes), "A.BMP");
        } catch (const EZVAError&) {
        }
        try {
            DecodeBytePairs(bytes.size() > 524 ? bytes.substr(524) : bytes, 4096);
        } catch (const EZVAError&) {
        }
    }
}

}  // namespace
}  // namespace velmora::view3d
