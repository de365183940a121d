#include "scenario/scenario_check.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <string_view>
#include <system_error>

#include "model/game_state.h"
#include "model/labels.h"
#include "scenario/diagnostics.h"
#include "scenario/paths.h"
#include "scenario/unit_data.h"

namespace velmora {
namespace fs = std::filesystem;

namespace {

constexpr int kSideFileVariants = 12;
constexpr const char* kMissingFile = "ファイルがありません";

fs::path Normalised(const fs::path& p) {
    std::error_code ec;
    fs::path absolute = fs::absolute(p, ec);
    if (ec) absolute = p;
    fs::path normal = absolute.lexically_normal();
    // "folder/" ends in an empty name; its parent is the folder itself.
    if (normal.filename().empty() && normal.has_parent_path()) normal = normal.parent_path();
    return normal;
}

bool IsDirectory(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

bool HasSnrFile(const fs::path& folder) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (ext == ".snr" && !IsDirectory(it->path())) return true;
    }
    return false;
}

bool IsSnrFolder(const fs::path& folder) {
    auto ship_data = FindCaseInsensitive(folder, "ShipData");
    return (ship_data && IsDirectory(*ship_data)) || HasSnrFile(folder);
}

std::vector<fs::path> SnrFoldersUnder(const fs::path& scenario_folder) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(scenario_folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (IsDirectory(it->path()) && IsSnrFolder(it->path())) found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// One run of the checker: where names are shown from, where lines go, and
// whether any file failed.
class CheckRun {
  public:
    CheckRun(fs::path root, std::ostream& out) : root_(std::move(root)), out_(out) {}

    bool Failed() const { return failed_; }

    std::string Shown(const fs::path& p) const {
        fs::path relative = p.lexically_relative(root_);
        return (relative.empty() ? p : relative).generic_string();
    }

    void Error(const fs::path& file, const std::string& message) {
        out_ << FormatFinding({Severity::kError, Shown(file), 0, message}) << '\n';
        failed_ = true;
    }

    void Summary(const fs::path& file, const std::string& text) {
        out_ << Shown(file) << ": " << text << '\n';
    }

    // Prints the findings with the file names shown as the run shows them.
    void Report(const Diagnostics& diag) {
        for (Finding f : diag.Findings()) {
            f.file = Shown(f.file);
            out_ << FormatFinding(f) << '\n';
            if (f.severity == Severity::kError) failed_ = true;
        }
    }

    // Runs one reader; a file that cannot be read is reported, not thrown.
    // Gives the reader's findings when the file was read.
    template <typename Reader>
    std::optional<Diagnostics> Load(const fs::path& file, Reader reader) {
        Diagnostics diag;
        try {
            reader(file, diag);
        } catch (const ScenarioError& e) {
            Report(diag);
            Error(file, e.message());
            return std::nullopt;
        }
        return diag;
    }

  private:
    fs::path root_;
    std::ostream& out_;
    bool failed_ = false;
};

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
    std::string joined;
    for (const auto& part : parts) {
        if (!joined.empty()) joined += separator;
        joined += part;
    }
    return joined;
}

std::string AircraftTypeSummary(const GameState& state) {
    std::vector<std::string> names;
    for (int i = 0; i < state.AircraftTypeCount; ++i) {
        names.push_back(state.AircraftTypeTable[static_cast<std::size_t>(i)].Name.str());
    }
    return std::to_string(state.AircraftTypeCount) + " aircraft types: " + Join(names, ", ");
}

std::string ShipClassSummary(const GameState& state) {
    std::vector<std::string> names;
    for (int i = 0; i <= state.ShipClassLast; ++i) {
        const TShip& cls = state.ShipClassTable[static_cast<std::size_t>(i)];
        names.push_back(cls.Name.str() + "(" +
                        std::string(LabelAt(ShipTypeLabels, cls.ShipType())) + ")");
    }
    return std::to_string(state.ShipClassLast + 1) + " ship classes: " + Join(names, ", ");
}

// The computer's fleets 13..23 are named like the player's 0..10, and its
// last fleet is its base.
std::string FleetLabel(int index) {
    int within_side = index;
    if (index == kFleetCount - 1) {
        within_side = kPlayerFleetLast;
    } else if (index > kPlayerFleetLast) {
        within_side = index - kPlayerFleetLast - 1;
    }
    return std::string(LabelAt(FleetNameLabels, within_side));
}

std::string SideFileSummary(const GameState& state) {
    int fleets = 0;
    int ships = 0;
    std::vector<std::string> parts;
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
        if (!fleet.Active) continue;
        ++fleets;
        ships += fleet.ShipCount;
        parts.push_back(FleetLabel(i) + " [" + std::to_string(i) +
                        "]: " + std::to_string(fleet.ShipCount) + " ships, speed " +
                        std::to_string(fleet.Speed));
    }
    return std::to_string(fleets) + " fleets, " + std::to_string(ships) +
           " ships: " + Join(parts, "; ");
}

// The fleets as the set-up leaves them just before the side files are read.
void ResetFleetsForSideFile(GameState& state) {
    for (int i = 0; i < kFleetCount; ++i) {
        TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
        fleet = TFleet{};
        fleet.Number = static_cast<std::uint8_t>(i);
        fleet.Speed = 255;
    }
}

void CheckUnitData(CheckRun& run, GameState& state, const fs::path& scenario_folder) {
    fs::path plane =
        FindCaseInsensitive(scenario_folder, "plane.dat").value_or(scenario_folder / "plane.dat");
    if (auto diag = run.Load(
            plane, [&](const fs::path& p, Diagnostics& d) { ReadAircraftTypes(state, p, d); })) {
        run.Summary(plane, AircraftTypeSummary(state));
        run.Report(*diag);
    }
    fs::path ship =
        FindCaseInsensitive(scenario_folder, "ship.dat").value_or(scenario_folder / "ship.dat");
    if (auto diag = run.Load(
            ship, [&](const fs::path& p, Diagnostics& d) { ReadShipClasses(state, p, d); })) {
        run.Summary(ship, ShipClassSummary(state));
        run.Report(*diag);
    }
}

void CheckSideFile(CheckRun& run, GameState& state, const fs::path& file) {
    ResetFleetsForSideFile(state);
    if (auto diag =
            run.Load(file, [&](const fs::path& p, Diagnostics& d) { ReadSideFile(state, p, d); })) {
        run.Summary(file, SideFileSummary(state));
        run.Report(*diag);
    }
}

void CheckSideFiles(CheckRun& run, GameState& state, const fs::path& snr_folder) {
    auto ship_data = FindCaseInsensitive(snr_folder, "ShipData");
    if (!ship_data || !IsDirectory(*ship_data)) {
        run.Error(snr_folder / "ShipData", kMissingFile);
        return;
    }
    for (char side : {'j', 'a'}) {
        for (int n = 0; n < kSideFileVariants; ++n) {
            std::string name = side + std::to_string(n) + ".dat";
            CheckSideFile(run, state,
                          FindCaseInsensitive(*ship_data, name).value_or(*ship_data / name));
        }
    }
}

}  // namespace

std::optional<CheckTarget> LocateCheckTarget(const fs::path& argument) {
    fs::path target = Normalised(argument);
    std::error_code ec;
    if (!fs::exists(target, ec)) return std::nullopt;
    if (!IsDirectory(target)) {
        fs::path snr_folder = target.parent_path();
        return CheckTarget{snr_folder.parent_path(), {snr_folder}};
    }
    if (IsSnrFolder(target)) return CheckTarget{target.parent_path(), {target}};
    return CheckTarget{target, SnrFoldersUnder(target)};
}

int RunScenarioCheck(const fs::path& argument, std::ostream& out) {
    std::optional<CheckTarget> target = LocateCheckTarget(argument);
    if (!target) {
        out << FormatFinding({Severity::kError, argument.generic_string(), 0, kMissingFile})
            << '\n';
        return 1;
    }
    CheckRun run(target->ScenarioFolder, out);
    // GameState's tables take megabytes: keep them off the stack.
    auto state = std::make_unique<GameState>();
    CheckUnitData(run, *state, target->ScenarioFolder);
    if (target->SnrFolders.empty()) {
        run.Error(target->ScenarioFolder / "*" / "ShipData", kMissingFile);
    }
    for (const fs::path& snr_folder : target->SnrFolders) CheckSideFiles(run, *state, snr_folder);
    return run.Failed() ? 1 : 0;
}

}  // namespace velmora
