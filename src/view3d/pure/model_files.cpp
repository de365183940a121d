#include "view3d/pure/model_files.h"

#include "files/paths.h"

namespace velmora {
namespace {

std::string Explain(const FileProblem& problem) {
    return problem.file.filename().string() + ": " + problem.reason;
}

// root is the folder textures must stay inside: the scenario folder, or the
// model's own folder for a model named directly.
ModelFileResult LoadFound(const std::filesystem::path& root, const std::filesystem::path& path) {
    ModelFileResult result;
    result.path = path;
    FileProblem problem;
    auto bytes = ReadLimitedFile(path, FileKind::kModel, &problem);
    if (!bytes) {
        result.error = Explain(problem);
        return result;
    }
    const std::filesystem::path folder = path.parent_path();
    view3d::TextureFileReader textures =
        [root, folder](const std::string& name) -> std::optional<std::string> {
        return ReadScenarioFile(root, folder, name, FileKind::kPicture);
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
    FileProblem problem;
    auto found = name.empty() ? std::nullopt
                              : LocateScenarioFile(scenarioFolder, scenarioFolder,
                                                   "3Dimage\\" + name, FileKind::kModel, &problem);
    if (!found) {
        ModelFileResult result;
        result.missing = true;
        result.error = name.empty() ? std::string() : Explain(problem);
        return result;
    }
    return LoadFound(scenarioFolder, *found);
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
    return LoadFound(file.parent_path(), file);
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
