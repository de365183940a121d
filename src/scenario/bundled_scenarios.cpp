#include "scenario/bundled_scenarios.h"

#include <system_error>

namespace velmora {

namespace fs = std::filesystem;

namespace {

// The running program's folder; /proc/self/exe follows the program wherever
// the installed tree was copied or unpacked.
fs::path ProgramFolder() {
    std::error_code error;
    fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : exe.parent_path();
}

bool IsFolder(const fs::path& path) {
    std::error_code error;
    return !path.empty() && fs::is_directory(path, error);
}

}  // namespace

fs::path BundledScenariosFolder() {
    // Both set by the build: bin/ to share/velmora/scenarios, and the source tree.
    const fs::path program = ProgramFolder();
    if (!program.empty() && IsFolder(program / VELMORA_SCENARIOS_FROM_BINDIR))
        return (program / VELMORA_SCENARIOS_FROM_BINDIR).lexically_normal();
    const fs::path source = VELMORA_SOURCE_SCENARIOS;
    if (IsFolder(source)) return source;
    return {};
}

fs::path DemoScenarioFile() {
    const fs::path folder = BundledScenariosFolder();
    return folder.empty() ? fs::path() : folder / "demo" / "Strait" / "strait.snr";
}

}  // namespace velmora
