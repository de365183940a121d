#include "scenario/model_files.h"

#include "scenario/paths.h"

namespace velmora {
namespace {

// Models are text of a few hundred kilobytes; anything near this is not one.
constexpr std::uintmax_t kMaxModelBytes = 64u * 1024u * 1024u;
constexpr std::uintmax_t kMaxTextureBytes = 32u * 1024u * 1024u;

std::optional<std::string> ReadLimited(const std::filesystem::path& path, std::uintmax_t limit) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > limit) return std::nullopt;
    return ReadFileBytes(path);
}

ModelFileResult LoadFound(const std::filesystem::path& path) {
    ModelFileResult result;
    result.path = path;
    auto bytes = ReadLimited(path, kMaxModelBytes);
    if (!bytes) {
        result.error = path.filename().string() + ": ファイルを読めません";
        return result;
    }
    const std::filesystem::path folder = path.parent_path();
    view3d::TextureFileReader textures =
        [folder](const std::string& name) -> std::optional<std::string> {
        auto found = ResolveScenarioFile(folder, name);
        if (!found) return std::nullopt;
        return ReadLimited(*found, kMaxTextureBytes);
    };
    view3d::MqoError error;
    result.model = view3d::LoadModel(*bytes, path.filename().string(), textures, &error);
    if (!result.model) {
        result.error = error.message;
        result.line = error.line;
        result.reason = error.reason;
    }
    return result;
}

}  // namespace

ModelFileResult LoadScenarioModel(const std::filesystem::path& scenarioFolder,
                                  const std::string& name) {
    std::string why;
    auto found =
        name.empty() ? std::nullopt : ResolveScenarioFile(scenarioFolder, "3Dimage\\" + name, &why);
    if (!found) {
        ModelFileResult result;
        result.missing = true;
        result.error = why;
        return result;
    }
    return LoadFound(*found);
}

ModelFileResult LoadModelFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
        ModelFileResult result;
        result.missing = true;
        result.path = file;
        result.error = file.string() + ": ファイルがありません";
        return result;
    }
    return LoadFound(file);
}

int RunModelCheck(const std::filesystem::path& file, std::ostream& out, std::ostream& err) {
    ModelFileResult result = LoadModelFile(file);
    if (!result.model) {
        err << result.error << "\n";
        return 1;
    }
    const view3d::Model& m = *result.model;
    out << "objects " << m.objects.size() << " materials " << m.documentMaterials << " triangles "
        << m.TriangleCount() << " vertices " << m.VertexCount() << "\n";
    return 0;
}

}  // namespace velmora
