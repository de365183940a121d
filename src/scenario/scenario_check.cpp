#include "scenario/scenario_check.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <system_error>
#include <utility>

#include "files/midi_file.h"
#include "files/ogg_container.h"
#include "files/paths.h"
#include "files/picture.h"
#include "files/wave_decoder.h"
#include "model/fleet_ops.h"
#include "model/game_state.h"
#include "model/labels.h"
#include "model/text.h"
#include "view3d/pure/model_files.h"
#include "scenario/diagnostics.h"
#include "scenario/land_mask.h"
#include "scenario/script.h"
#include "scenario/unit_data.h"

namespace velmora {
namespace fs = std::filesystem;

namespace {

constexpr int kCreateWords = 15;
constexpr int kNoAircraftType = 255;
constexpr int kBaseCoastReach = 5;  // pixels a base may lie off the coast

// ---------------------------------------------------------------- output

// One run of the checker: where names are shown from, where lines go, and
// what was found. Findings are printed at the end, file by file in the order
// the files were first named, by line within a file, as an author mends them.
class CheckRun {
  public:
    CheckRun(fs::path root, std::ostream& out, bool verbose)
        : root_(std::move(root)), out_(out), verbose_(verbose) {}

    const fs::path& Root() const { return root_; }

    std::string Shown(const fs::path& p) const {
        fs::path relative = p.lexically_relative(root_);
        return (relative.empty() ? p : relative).generic_string();
    }

    void Error(const fs::path& file, int line, const std::string& message) {
        Add({Severity::kError, file.string(), line, message});
    }
    void Warn(const fs::path& file, int line, const std::string& message) {
        Add({Severity::kWarning, file.string(), line, message});
    }

    // What a file gave; shown only with --verbose.
    void Summary(const fs::path& file, const std::string& text) {
        if (verbose_) out_ << Shown(file) << ": " << text << '\n';
    }

    void Report(const Diagnostics& diag) {
        for (const Finding& f : diag.Findings()) Add(f);
    }

    // Runs one reader; a file that cannot be read is reported, not thrown.
    // True when the file was read.
    template <typename Reader>
    bool Load(const fs::path& file, Reader reader) {
        Diagnostics diag;
        try {
            reader(file, diag);
        } catch (const ScenarioError& e) {
            Report(diag);
            Error(file, e.line(), e.message());
            return false;
        }
        Report(diag);
        return true;
    }

    int Errors() const { return errors_; }

    void Close() {
        std::stable_sort(findings_.begin(), findings_.end(),
                         [&](const Finding& a, const Finding& b) {
                             int file_a = file_order_.at(a.file);
                             int file_b = file_order_.at(b.file);
                             return file_a != file_b ? file_a < file_b : a.line < b.line;
                         });
        for (const Finding& f : findings_) out_ << FormatFinding(f) << '\n';
        out_ << errors_ << " errors, " << warnings_ << " warnings\n";
    }

  private:
    void Add(Finding f) {
        f.file = Shown(f.file);
        file_order_.emplace(f.file, static_cast<int>(file_order_.size()));
        (f.severity == Severity::kError ? errors_ : warnings_) += 1;
        findings_.push_back(std::move(f));
    }

    fs::path root_;
    std::ostream& out_;
    bool verbose_;
    std::vector<Finding> findings_;
    std::map<std::string, int> file_order_;
    int errors_ = 0;
    int warnings_ = 0;
};

std::string Quoted(std::string_view word) {
    return "「" + std::string(word) + "」";
}

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
    std::string joined;
    for (const auto& part : parts) {
        if (!joined.empty()) joined += separator;
        joined += part;
    }
    return joined;
}

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    }
    return out;
}

bool IsInteger(std::string_view word) {
    int value = 0;
    return ParseScriptInteger(word, value);
}

bool IsReal(const std::string& word) {
    if (word.empty()) return false;
    char* end = nullptr;
    std::strtod(word.c_str(), &end);
    return end == word.c_str() + word.size();
}

// ---------------------------------------------------------------- targets

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

std::vector<fs::path> SnrFilesIn(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (LowerAscii(it->path().extension().string()) == ".snr" && !IsDirectory(it->path())) {
            found.push_back(it->path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

bool IsSnrFolder(const fs::path& folder) {
    auto ship_data = FindCaseInsensitive(folder, "ShipData");
    return (ship_data && IsDirectory(*ship_data)) || !SnrFilesIn(folder).empty();
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

CheckTarget TargetOfFolders(fs::path scenario_folder, std::vector<fs::path> snr_folders) {
    CheckTarget target{std::move(scenario_folder), std::move(snr_folders), {}};
    for (const fs::path& folder : target.SnrFolders) {
        for (fs::path& script : SnrFilesIn(folder)) target.Scripts.push_back(std::move(script));
    }
    return target;
}

// ---------------------------------------------------------------- columns

struct TextColumn {
    std::size_t index;
    std::size_t capacity;  // bytes in CP932; 0 for no limit
};

// What one line of a data file must hold.
struct ColumnLayout {
    std::size_t count;
    bool skip_leading_separators;
    std::vector<std::size_t> integers;
    std::vector<std::size_t> bytes;  // integers that keep only their low 8 bits
    std::vector<TextColumn> texts;
};

const ColumnLayout kAircraftLayout{
    21,
    true,
    {0, 5, 7, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20},
    {},
    {{1, 255}, {2, 30}, {4, 30}, {6, 30}, {8, 30}, {9, 50}, {10, 30}}};

const ColumnLayout kShipClassLayout{25,
                                    false,
                                    {0, 4, 5, 6, 7, 8, 9, 15, 16, 19, 20, 22},
                                    {10, 11, 12, 13, 14, 17, 18, 21},
                                    {{1, 40}, {2, 30}, {3, 10}, {23, 40}, {24, 30}}};

const ColumnLayout kSideFileLayout{12, false, {0, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {}, {{2, 40}}};

bool IsBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\r'; });
}

// Checks the columns of one line; false when the line is too short to be
// checked further.
bool CheckColumns(CheckRun& run, const fs::path& file, int line,
                  const std::vector<std::string>& columns, const ColumnLayout& layout) {
    if (columns.size() < layout.count) {
        run.Error(file, line,
                  "列が足りません: " + std::to_string(layout.count) + " 列必要ですが " +
                      std::to_string(columns.size()) + " 列です");
        return false;
    }
    for (std::size_t i : layout.integers) {
        if (!IsInteger(columns[i])) {
            run.Error(file, line,
                      "列 " + std::to_string(i) + " の" + Quoted(columns[i]) +
                          "は整数ではありません (0 として読まれます)");
        }
    }
    for (std::size_t i : layout.bytes) {
        int value = 0;
        if (!ParseScriptInteger(columns[i], value)) {
            run.Error(file, line,
                      "列 " + std::to_string(i) + " の" + Quoted(columns[i]) +
                          "は整数ではありません (0 として読まれます)");
        } else if (value < 0 || value > 255) {
            run.Error(file, line,
                      "列 " + std::to_string(i) + " の " + std::to_string(value) +
                          " は 0～255 の範囲外です (下位 8 ビットの " +
                          std::to_string(value & 0xFF) + " になります)");
        }
    }
    for (const TextColumn& text : layout.texts) {
        if (text.capacity > 0 && Cp932Length(columns[text.index]) > text.capacity) {
            run.Warn(file, line,
                     "列 " + std::to_string(text.index) + " の" + Quoted(columns[text.index]) +
                         "は " + std::to_string(text.capacity) +
                         " バイトを超えるため切り詰められます");
        }
    }
    return true;
}

// The file's lines; reported and nothing when it cannot be read.
std::optional<std::vector<std::string>> ReadTextLines(CheckRun& run, const fs::path& file) {
    FileProblem problem;
    std::optional<std::string> bytes = ReadLimitedFile(file, FileKind::kData, &problem);
    if (!bytes) {
        run.Error(file, 0, problem.reason);
        return std::nullopt;
    }
    return SplitLines(DecodeFileText(*bytes));
}

// A file of the scenario found the way the game finds it; an error at the
// file itself when it cannot be had.
std::optional<fs::path> LocateOwnFile(CheckRun& run, const fs::path& folder,
                                      const std::string& name, FileKind kind) {
    FileProblem problem;
    auto found = LocateScenarioFile(run.Root(), folder, name, kind, &problem);
    if (!found) run.Error(problem.file, 0, problem.reason);
    return found;
}

// ---------------------------------------------------------------- media and models

// Media named by the script, read with the game's own readers.
enum class MediaKind { kMusic, kCue, kClip };

struct MediaFolder {
    const char* folder;
    FileKind kind;
};

MediaFolder FolderOf(MediaKind kind) {
    switch (kind) {
        case MediaKind::kMusic:
            return {"Midi", FileKind::kMusic};
        case MediaKind::kCue:
            return {"Wave", FileKind::kCue};
        case MediaKind::kClip:
            break;
    }
    return {"Movie", FileKind::kClip};
}

// Resolves a name read from a scenario under one of its folders; reports
// at (file, line) why it cannot be had.
std::optional<fs::path> ResolveNamed(CheckRun& run, const std::string& folder,
                                     const std::string& name, FileKind kind, const fs::path& file,
                                     int line) {
    FileProblem problem;
    auto found = LocateScenarioFile(run.Root(), run.Root(), folder + "\\" + name, kind, &problem);
    if (!found) run.Error(file, line, folder + "/" + name + ": " + problem.reason);
    return found;
}

// The cue as the game decodes it; the guide asks for 16-bit PCM.
void CheckCue(CheckRun& run, const fs::path& found, const std::string& bytes) {
    std::string why;
    auto sound = media::DecodeSound(bytes, &why);
    if (!sound) {
        run.Error(found, 0, "WAVE として読めません: " + why);
    } else if (sound->sourceBits != 16) {
        run.Warn(
            found, 0,
            sound->sourceBits == 0
                ? std::string("16 ビット PCM ではありません (16 ビット PCM で保存してください)")
                : std::to_string(sound->sourceBits) +
                      " ビットの音です (16 ビット PCM で保存してください)");
    }
}

void CheckMediaFile(CheckRun& run, MediaKind kind, const std::string& name, const fs::path& file,
                    int line) {
    MediaFolder where = FolderOf(kind);
    auto found = ResolveNamed(run, where.folder, name, where.kind, file, line);
    if (!found) return;
    FileProblem problem;
    std::optional<std::string> bytes = ReadLimitedFile(*found, where.kind, &problem);
    if (!bytes) {
        run.Error(*found, 0, problem.reason);
        return;
    }
    std::string why;
    switch (kind) {
        case MediaKind::kMusic:
            if (!media::IsPlayableMidi(*bytes, &why)) run.Error(*found, 0, why);
            break;
        case MediaKind::kCue:
            CheckCue(run, *found, *bytes);
            break;
        case MediaKind::kClip:
            if (!media::IsWholeOggFile(*bytes, &why)) run.Error(*found, 0, why);
            break;
    }
}

std::string_view Trimmed(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return line;
}

// The file names a material line gives for tex("..."), aplane("...") and
// bump("...").
std::vector<std::string> TextureNames(std::string_view line) {
    std::vector<std::string> names;
    for (std::string_view key : {"tex(\"", "aplane(\"", "bump(\""}) {
        for (std::size_t at = line.find(key); at != std::string_view::npos;
             at = line.find(key, at + 1)) {
            if (at > 0 && line[at - 1] != ' ' && line[at - 1] != '\t') continue;
            std::size_t start = at + key.size();
            std::size_t end = line.find('"', start);
            if (end != std::string_view::npos && end > start) {
                names.emplace_back(line.substr(start, end - start));
            }
        }
    }
    return names;
}

// A missing or undecodable texture leaves its slot empty: the model is
// drawn untextured.
void CheckTexture(CheckRun& run, const fs::path& model, int line, const std::string& name) {
    std::string ext = LowerAscii(fs::path(name).extension().string());
    if (ext != ".bmp" && ext != ".jpg" && ext != ".png") {
        run.Warn(model, line,
                 "テクスチャ" + Quoted(name) + "は bmp・jpg・png のどれでもないため貼られません");
        return;
    }
    FileProblem problem;
    if (!LocateScenarioFile(run.Root(), model.parent_path(), name, FileKind::kPicture, &problem)) {
        run.Warn(model, line, "テクスチャ" + Quoted(name) + ": " + problem.reason);
    }
}

// Checks the outer shape a model reader relies on: the two header lines,
// chunks that open with "{" and close with "}", at least one object, and
// the end marker the reader never reads; and the materials' textures.
void CheckModelShape(CheckRun& run, const fs::path& model, const std::vector<std::string>& lines) {
    if (lines.empty() || LowerAscii(lines[0]) != "metasequoia document") {
        run.Error(model, 1, "Metasequoia Document の見出しがありません");
        return;
    }
    if (lines.size() < 2 ||
        (LowerAscii(lines[1]) != "format text ver 1.0" && LowerAscii(lines[1]) != "format text ver 1.1")) {
        run.Error(model, 2, "「Format Text Ver 1.0」(または 1.1) の文書ではありません");
        return;
    }
    int depth = 0;
    int opened_at = 0;
    bool has_object = false;
    bool in_materials = false;
    for (std::size_t i = 2; i < lines.size(); ++i) {
        std::string_view line = Trimmed(lines[i]);
        int number = static_cast<int>(i) + 1;
        if (!line.empty() && line.front() == '}') {
            if (--depth < 0) {
                run.Error(model, number, "開いていないチャンクを「}」で閉じています");
                return;
            }
        } else if (!line.empty() && line.back() == '{') {
            if (depth == 0) {
                opened_at = number;
                std::string chunk = LowerAscii(line.substr(0, line.find_first_of(" \t")));
                has_object = has_object || chunk == "object";
                in_materials = chunk == "material";
            }
            ++depth;
        } else if (depth == 1 && in_materials) {
            for (const std::string& name : TextureNames(line))
                CheckTexture(run, model, number, name);
        }
    }
    if (depth > 0) {
        run.Error(model, opened_at, "チャンクが「}」で閉じられていません");
        return;
    }
    if (!has_object) run.Warn(model, 0, "Object チャンクがないため何も描かれません");
    if (LowerAscii(lines.back()) != "eof") {
        run.Warn(model, static_cast<int>(lines.size()),
                 "最後の行が Eof ではありません (最後の行は読まれません)");
    }
}

// Model files checked so far; a file several classes share is read once.
class ModelCheck {
  public:
    explicit ModelCheck(CheckRun& run) : run_(run) {}

    void Check(const std::string& name, const fs::path& file, int line) {
        if (name.empty()) {
            run_.Error(file, line, "モデルファイル名がありません");
            return;
        }
        auto found = ResolveNamed(run_, "3Dimage", name, FileKind::kModel, file, line);
        if (!found || !seen_.insert(*found).second) return;
        FileProblem problem;
        std::optional<std::string> bytes = ReadLimitedFile(*found, FileKind::kModel, &problem);
        if (!bytes) {
            run_.Error(*found, 0, problem.reason);
            return;
        }
        const int errorsBefore = run_.Errors();
        CheckModelShape(run_, *found, SplitLines(*bytes));
        if (run_.Errors() != errorsBefore) return;
        // The shape is sound: the game's own reader must take it too.
        ModelFileResult loaded = LoadModelFile(*found);
        if (!loaded.model) {
            run_.Error(*found, loaded.line, loaded.reason.empty() ? loaded.error : loaded.reason);
        } else {
            run_.Summary(*found, "objects " + std::to_string(loaded.model->objects.size()) + " triangles " +
                                     std::to_string(loaded.model->TriangleCount()));
        }
    }

  private:
    CheckRun& run_;
    std::set<fs::path> seen_;
};

// ---------------------------------------------------------------- unit data

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

bool IsAircraftTypeName(const GameState& state, std::string_view name) {
    for (int i = 0; i < state.AircraftTypeCount; ++i) {
        if (state.AircraftTypeTable[static_cast<std::size_t>(i)].Name == name) return true;
    }
    return false;
}

void WarnBlankRecord(CheckRun& run, const fs::path& file, int line, const char* what) {
    run.Warn(
        file, line,
        std::string("空行も中身のない") + what + " " + std::to_string(line - 1) + " 番になります");
}

void CheckAircraftLines(CheckRun& run, const fs::path& file, ModelCheck& models) {
    auto lines = ReadTextLines(run, file);
    if (!lines) return;
    std::size_t count = std::min(lines->size(), static_cast<std::size_t>(kTableSize));
    for (std::size_t i = 0; i < count; ++i) {
        int number = static_cast<int>(i) + 1;
        if (IsBlankLine((*lines)[i])) {
            WarnBlankRecord(run, file, number, "機種");
            continue;
        }
        auto columns = SplitColumns((*lines)[i], kAircraftLayout.skip_leading_separators);
        if (!CheckColumns(run, file, number, columns, kAircraftLayout)) continue;
        models.Check(columns[10], file, number);
    }
}

void CheckShipClassLines(CheckRun& run, const GameState& state, const fs::path& file,
                         ModelCheck& models) {
    auto lines = ReadTextLines(run, file);
    if (!lines) return;
    std::map<std::string, int> first_line_of_name;
    std::size_t count = std::min(lines->size(), static_cast<std::size_t>(kTableSize));
    for (std::size_t i = 0; i < count; ++i) {
        int number = static_cast<int>(i) + 1;
        if (IsBlankLine((*lines)[i])) {
            WarnBlankRecord(run, file, number, "艦級");
            continue;
        }
        auto columns = SplitColumns((*lines)[i], kShipClassLayout.skip_leading_separators);
        if (!CheckColumns(run, file, number, columns, kShipClassLayout)) continue;
        int type = ColumnInt(columns, 0);
        if (type < kCarrier || type > kAntiAircraftSite) {
            run.Error(file, number, "艦種 " + std::to_string(type) + " は 1～7 ではありません");
        }
        auto [at, inserted] = first_line_of_name.emplace(columns[1], number);
        if (!inserted) {
            run.Error(file, number,
                      "艦級名" + Quoted(columns[1]) + "は " + std::to_string(at->second) +
                          " 行目と重複しています (最初の艦級が使われます)");
        }
        if (!IsAircraftTypeName(state, columns[23])) {
            run.Error(file, number,
                      "兵装キー" + Quoted(columns[23]) + "に当たる機種が plane.dat にありません");
        }
        models.Check(columns[24], file, number);
    }
}

// Loads plane.dat and ship.dat into state and checks them line by line,
// with the model file of every type and class. False when one is missing.
bool CheckUnitData(CheckRun& run, GameState& state, const fs::path& scenario_folder) {
    ModelCheck models(run);
    auto plane = LocateOwnFile(run, scenario_folder, "plane.dat", FileKind::kData);
    bool planes_read = plane && run.Load(*plane, [&](const fs::path& p, Diagnostics& d) {
        ReadAircraftTypes(state, p, d);
    });
    auto ship = LocateOwnFile(run, scenario_folder, "ship.dat", FileKind::kData);
    bool ships_read = ship && run.Load(*ship, [&](const fs::path& p, Diagnostics& d) {
        ReadShipClasses(state, p, d);
    });
    if (planes_read) {
        run.Summary(*plane, AircraftTypeSummary(state));
        CheckAircraftLines(run, *plane, models);
    }
    if (ships_read) {
        run.Summary(*ship, ShipClassSummary(state));
        CheckShipClassLines(run, state, *ship, models);
    }
    return planes_read && ships_read;
}

// ---------------------------------------------------------------- side files

enum class Side { kPlayer, kComputer };

char SideLetter(Side side) {
    return side == Side::kPlayer ? 'j' : 'a';
}

int FirstFleetOf(Side side) {
    return side == Side::kPlayer ? 0 : kPlayerFleetLast + 1;
}

int LastFleetOf(Side side) {
    return side == Side::kPlayer ? kPlayerFleetLast : kFleetCount - 1;
}

Side SideOfFleet(int fleet) {
    return fleet <= kPlayerFleetLast ? Side::kPlayer : Side::kComputer;
}

// What the script check needs to know of a fleet that a side file fills.
struct FleetFacts {
    bool Filled = false;
    bool IsBase = false;
    int FirstLine = 0;
};

struct SideFileFacts {
    bool Read = false;
    fs::path File;
    std::array<FleetFacts, kFleetCount> Fleets{};
};

// The fleets as the set-up leaves them just before the side files are read.
void ResetFleetsForSideFile(GameState& state) {
    for (int i = 0; i < kFleetCount; ++i) {
        TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
        fleet = TFleet{};
        fleet.Number = static_cast<std::uint8_t>(i);
        fleet.Speed = 255;
    }
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

class SideFileLineCheck {
  public:
    SideFileLineCheck(CheckRun& run, const GameState& state, const fs::path& file, Side side)
        : run_(run), state_(state), file_(file), side_(side) {}

    // Checks one line; the fleet it fills, or -1 when the game skips it.
    int Check(int line, const std::vector<std::string>& columns) {
        line_ = line;
        if (!CheckColumns(run_, file_, line, columns, kSideFileLayout)) return -1;
        int fleet = ColumnInt(columns, 0);
        if (!FleetFits(fleet)) return -1;
        int class_index = ClassOf(columns[1]);
        CheckAircraft(columns, class_index);
        return fleet;
    }

  private:
    bool FleetFits(int fleet) {
        if (fleet < 0 || fleet >= kFleetCount) {
            run_.Warn(file_, line_,
                      "艦隊番号 " + std::to_string(fleet) +
                          " は 0～24 の範囲外のため、この行は読み込みません");
            return false;
        }
        if (SideOfFleet(fleet) != side_) {
            run_.Error(file_, line_,
                       "艦隊番号 " + std::to_string(fleet) + " は " + SideLetter(side_) +
                           " ファイルの艦隊 (" + std::to_string(FirstFleetOf(side_)) + "～" +
                           std::to_string(LastFleetOf(side_)) + ") ではありません");
        }
        int& ships = ships_[static_cast<std::size_t>(fleet)];
        if (++ships > kShipSlots) {
            run_.Warn(file_, line_,
                      "艦隊 " + std::to_string(fleet) + " は既に " + std::to_string(kShipSlots) +
                          " 隻のため、この行は読み込みません");
            return false;
        }
        return true;
    }

    // The class index of a name; -1 (reported) when ship.dat has no such class.
    int ClassOf(const std::string& name) {
        // Without ship.dat every name would be reported; its absence is.
        if (state_.ShipClassLast < 0) return -1;
        int index = ClassIndexByName(state_, name);
        if (!(state_.ShipClassTable[static_cast<std::size_t>(index)].Name == name)) {
            run_.Error(file_, line_,
                       "艦級" + Quoted(name) + "が ship.dat にありません (最初の艦級になります)");
            return -1;
        }
        return index;
    }

    void CheckAircraft(const std::vector<std::string>& columns, int class_index) {
        int aboard = 0;
        for (std::size_t j = 0; j < 3; ++j) {
            int count = ColumnInt(columns, 6 + 2 * j);
            int type = ColumnInt(columns, 7 + 2 * j);
            aboard += count;
            CheckAircraftType(7 + 2 * j, count, type);
        }
        if (class_index < 0) return;
        const TShip& cls = state_.ShipClassTable[static_cast<std::size_t>(class_index)];
        if (aboard > cls.AircraftCapacity) {
            run_.Error(file_, line_,
                       "搭載機数 " + std::to_string(aboard) + " が艦級" + Quoted(cls.Name.str()) +
                           "の搭載能力 " + std::to_string(cls.AircraftCapacity) +
                           " を超えています");
        }
    }

    void CheckAircraftType(std::size_t column, int count, int type) {
        if (type >= 0 && type < state_.AircraftTypeCount) return;
        std::string message = "列 " + std::to_string(column) + " の機種番号 " +
                              std::to_string(type) + " は plane.dat にありません (0～" +
                              std::to_string(state_.AircraftTypeCount - 1) + ")";
        if (count > 0) {
            run_.Error(file_, line_, message);
        } else if (type != kNoAircraftType) {
            run_.Warn(file_, line_, message);
        }
    }

    CheckRun& run_;
    const GameState& state_;
    fs::path file_;
    Side side_;
    int line_ = 0;
    std::array<int, kFleetCount> ships_{};
};

SideFileFacts CheckSideFile(CheckRun& run, GameState& state, const fs::path& file, Side side) {
    SideFileFacts facts;
    facts.File = file;
    ResetFleetsForSideFile(state);
    // The checker names every problem itself; the reader's own notes would repeat them.
    Diagnostics reader_notes;
    try {
        ReadSideFile(state, file, reader_notes);
    } catch (const ScenarioError& e) {
        run.Error(file, 0, e.message());
        return facts;
    }
    facts.Read = true;
    run.Summary(file, SideFileSummary(state));
    auto lines = ReadTextLines(run, file);
    if (!lines) return facts;
    SideFileLineCheck check(run, state, file, side);
    for (std::size_t i = 0; i < lines->size(); ++i) {
        if (IsBlankLine((*lines)[i])) continue;
        int line = static_cast<int>(i) + 1;
        int fleet = check.Check(line, SplitColumns((*lines)[i], false));
        if (fleet < 0) continue;
        FleetFacts& f = facts.Fleets[static_cast<std::size_t>(fleet)];
        if (!f.Filled) f.FirstLine = line;
        f.Filled = true;
    }
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
        facts.Fleets[static_cast<std::size_t>(i)].IsBase =
            fleet.Active && FleetHasInstallation(state, fleet);
    }
    return facts;
}

// [side][variant]
using SideFileSet = std::array<std::array<SideFileFacts, kOrderOfBattleVariants>, 2>;

std::size_t SideSlot(Side side) {
    return side == Side::kPlayer ? 0 : 1;
}

SideFileSet CheckSideFiles(CheckRun& run, GameState& state, const fs::path& snr_folder) {
    SideFileSet set;
    auto ship_data = FindCaseInsensitive(snr_folder, "ShipData");
    if (!ship_data || !IsDirectory(*ship_data)) {
        run.Error(snr_folder / "ShipData", 0, kMissingFileMessage);
        return set;
    }
    for (Side side : {Side::kPlayer, Side::kComputer}) {
        for (int n = 0; n < kOrderOfBattleVariants; ++n) {
            std::string name = SideLetter(side) + std::to_string(n) + ".dat";
            auto file = LocateOwnFile(run, *ship_data, name, FileKind::kData);
            if (file)
                set[SideSlot(side)][static_cast<std::size_t>(n)] =
                    CheckSideFile(run, state, *file, side);
        }
    }
    return set;
}

// ---------------------------------------------------------------- map and mask

std::string SizeText(const Picture& picture) {
    return std::to_string(picture.width) + " × " + std::to_string(picture.height);
}

// The picture decoded whole, as the set-up and the map view decode it.
std::optional<Picture> DecodeOwnPicture(CheckRun& run, const fs::path& file, PictureLimits limits) {
    FileProblem problem;
    std::optional<Picture> picture = ReadPictureFile(file, limits, &problem);
    if (!picture) run.Error(file, 0, problem.reason);
    return picture;
}

struct MaskPixels {
    long land = 0;
    long sea = 0;
    long grey = 0;
    int first_grey_x = 0;
    int first_grey_y = 0;
};

MaskPixels CountMaskPixels(const Picture& mask) {
    MaskPixels counts;
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            const std::uint8_t* p = mask.Pixel(x, y);
            bool white = p[0] == 255 && p[1] == 255 && p[2] == 255;
            if (mask.IsBlack(x, y)) {
                ++counts.land;
            } else if (white) {
                ++counts.sea;
            } else {
                if (counts.grey == 0) {
                    counts.first_grey_x = x;
                    counts.first_grey_y = y;
                }
                ++counts.grey;
            }
        }
    }
    return counts;
}

void CheckMaskPixels(CheckRun& run, const fs::path& file, const Picture& mask) {
    MaskPixels counts = CountMaskPixels(mask);
    if (counts.grey > 0) {
        run.Warn(file, 0,
                 "黒でも白でもない画素が " + std::to_string(counts.grey) + " 個あります (最初は (" +
                     std::to_string(counts.first_grey_x) + ", " +
                     std::to_string(counts.first_grey_y) + ")); 黒以外は海になります");
    }
    if (counts.land == 0) run.Warn(file, 0, "黒い画素 (陸) がありません");
    if (counts.sea + counts.grey == 0) run.Warn(file, 0, "海の画素がありません");
}

// Checks MAP.Bmp and BMAP.Bmp and builds state's LandMask from the mask.
// False when the mask could not be loaded.
bool CheckMapPictures(CheckRun& run, GameState& state, const fs::path& snr_folder) {
    fs::path ship_data =
        FindCaseInsensitive(snr_folder, "ShipData").value_or(snr_folder / "ShipData");
    std::optional<Picture> map;
    if (auto file = LocateOwnFile(run, ship_data, "MAP.Bmp", FileKind::kPicture)) {
        map = DecodeOwnPicture(run, *file, kScenarioPictureLimits);
        if (map && (map->width != kMapWidth || map->height != kMapHeight)) {
            run.Warn(*file, 0,
                     "地図の大きさが " + SizeText(*map) + " です (" + std::to_string(kMapWidth) +
                         " × " + std::to_string(kMapHeight) + " の地図を表示します)");
        }
    }
    auto file = LocateOwnFile(run, ship_data, "BMAP.Bmp", FileKind::kPicture);
    if (!file) return false;
    std::optional<Picture> mask = DecodeOwnPicture(run, *file, kLandMaskLimits);
    if (!mask) return false;
    state.LandMask.Clear();
    SetLandMask(state, *mask);
    if (map && (map->width != mask->width || map->height != mask->height)) {
        run.Warn(*file, 0,
                 "地形マスク (" + SizeText(*mask) + ") と地図 (" + SizeText(*map) +
                     ") の大きさが違います");
    }
    CheckMaskPixels(run, *file, *mask);
    return true;
}

bool LandNear(const LandMaskGrid& mask, int x, int y, int reach) {
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            if (dx * dx + dy * dy <= reach * reach && mask.IsLand(x + dx, y + dy)) return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- script

struct CreateLine {
    int Line = 0;
    int Variant = 0;
    int Fleet = 0;
    int X = 0;
    int Y = 0;
};

struct NamedFile {
    int Line = 0;
    std::string Name;
};

int CommandIndex(std::string_view word) {
    for (std::size_t k = 0; k < ScriptCommandWords.size(); ++k) {
        if (ScriptCommandWords[k] == word) return static_cast<int>(k);
    }
    return -1;
}

int SectionIndex(std::string_view word) {
    for (std::size_t k = 0; k < ScriptSectionWords.size(); ++k) {
        if (ScriptSectionWords[k] == word) return static_cast<int>(k);
    }
    return -1;
}

const int kTalkCommand = CommandIndex("talk");
const int kCreateCommand = CommandIndex("create");
const int kEndCommand = CommandIndex("end");
const int kSetEffectCommand = CommandIndex("seteffect");
const int kStartBgmCommand = CommandIndex("startbgm");
const int kMovieCommand = CommandIndex("movie");
const int kSetCloudCommand = CommandIndex("setcloud");
const int kSetVtFuseCommand = CommandIndex("setvtfuse");
const int kTurnSection = SectionIndex("ターン");
const int kEndSection = SectionIndex("終了");

// Commands that change nothing a game uses when they turn up inside
// another line (outside a conversation).
bool IsHarmlessCommand(int k) {
    static const std::set<std::string_view> harmless{"end",       "*",       "setpilot", "settype",
                                                     "setweapon", "stopbgm", "loadmap"};
    return harmless.count(LabelAt(ScriptCommandWords, k)) > 0;
}

// The command a line begins with; -1 when it begins with none.
int OwnCommand(const std::string& line) {
    if (!line.empty() && line.front() == '*') return CommandIndex("*");
    std::string first = LowerAscii(line.substr(0, line.find(' ')));
    for (std::size_t k = 0; k < ScriptCommandWords.size(); ++k) {
        std::string word = LowerAscii(ScriptCommandWords[k]);
        if (word != "*" && first.rfind(word, 0) == 0) return static_cast<int>(k);
    }
    return -1;
}

bool LooksLikeSectionHeader(const std::string& line) {
    if (line.find(':') == std::string::npos) return false;
    return std::any_of(
        ScriptSectionWords.begin(), ScriptSectionWords.end(),
        [&](std::string_view w) { return !w.empty() && line.find(w) != std::string::npos; });
}

// All words of a line as the author wrote them.
std::vector<std::string> AllWords(const ScriptLineWords& words) {
    std::vector<std::string> all = words.stored;
    if (!words.final_word.empty()) all.push_back(words.final_word);
    return all;
}

// Watches the script reader line by line and checks what each line does.
class ScriptCheck : public ScriptListener {
  public:
    ScriptCheck(CheckRun& run, const GameState& units, fs::path script)
        : run_(run), units_(units), script_(std::move(script)) {}

    void Speech(int line_number, const std::string& line) override {
        if (LooksLikeSectionHeader(line)) {
            run_.Error(script_, line_number,
                       "会話が end で閉じられていないため、この節見出しは台詞として読まれます");
        }
    }

    void Section(int line_number, int section, const std::string& line) override {
        if (section == kEndSection) has_end_section_ = true;
        if (section == kTurnSection) ReadTurnHeader(line_number, line);
    }

    void Command(int line_number, int command, const std::string& line) override {
        if (line_number != current_line_) {
            current_line_ = line_number;
            own_command_ = OwnCommand(line);
        }
        if (command != own_command_ && (talk_open_ || !IsHarmlessCommand(command))) {
            run_.Warn(script_, line_number,
                      "命令語" + Quoted(LabelAt(ScriptCommandWords, command)) +
                          "を含むため、この行はその命令としても読まれます");
        }
        if (command == kTalkCommand) {
            talk_open_ = true;
            talk_line_ = line_number;
        } else if (command == kEndCommand) {
            talk_open_ = false;
        }
        if (command != own_command_) return;
        if (command == kCreateCommand) ReadCreate(line_number, line);
        if (command == kSetEffectCommand) ReadSetEffect(line_number, line);
        if (command == kStartBgmCommand) ReadNamedFile(line_number, line, "startbgm", music_);
        if (command == kMovieCommand) ReadNamedFile(line_number, line, "movie", movies_);
        if (command == kSetCloudCommand) CheckSetCloud(line_number, line);
        if (command == kSetVtFuseCommand) CheckSetVtFuse(line_number, line);
    }

    // After the whole script has been read into state.
    void Finish(const GameState& parsed, const SideFileSet& sides, const LandMaskGrid* mask) {
        if (talk_open_) run_.Warn(script_, talk_line_, "最後の会話が end で閉じられていません");
        CheckLastTurn(parsed);
        for (const NamedFile& music : music_) {
            CheckMediaFile(run_, MediaKind::kMusic, music.Name, script_, music.Line);
        }
        for (const NamedFile& movie : movies_) {
            CheckMediaFile(run_, MediaKind::kClip, movie.Name, script_, movie.Line);
        }
        for (const NamedFile& cue : cues_) {
            CheckMediaFile(run_, MediaKind::kCue, cue.Name, script_, cue.Line);
        }
        for (Side side : {Side::kPlayer, Side::kComputer}) {
            for (int n = 0; n < kOrderOfBattleVariants; ++n) {
                CheckVariant(side, n, sides[SideSlot(side)][static_cast<std::size_t>(n)], mask);
            }
        }
    }

  private:
    void ReadTurnHeader(int line_number, const std::string& line) {
        constexpr std::string_view kTurnWord = "ターン";
        std::size_t start = line.find(kTurnWord) + kTurnWord.size();
        std::size_t colon = line.find(':', start);
        std::string digits;
        for (char c :
             line.substr(start, colon == std::string::npos ? std::string::npos : colon - start)) {
            if (c != ' ') digits += c;
        }
        int turn = 0;
        // The reader reports a header that is not a number.
        if (ParseScriptInteger(digits, turn)) turns_.push_back({line_number, turn});
    }

    void CheckLastTurn(const GameState& parsed) {
        if (!has_end_section_) {
            run_.Error(script_, 0, "終了の節 (「終了: 最終ターン」) がありません");
            return;
        }
        if (parsed.LastTurn < 1) {
            run_.Error(
                script_, 0,
                "最終ターン " + std::to_string(parsed.LastTurn) + " は 1 以上にしてください");
        }
        for (const auto& [line, turn] : turns_) {
            if (turn < 2) {
                run_.Warn(script_, line,
                          "ターン " + std::to_string(turn) +
                              " の節は「プロローグ」か「スタート」と同じ枠に入ります");
            } else if (turn >= kEntrySlot && turn < kEventSlots) {
                run_.Warn(script_, line,
                          "ターン " + std::to_string(turn) + " の節は 100 番以降の枠に入ります " +
                              "(100 は進入、101 は終了の節)");
            } else if (turn > parsed.LastTurn && parsed.LastTurn >= 1 && turn < kEventSlots) {
                run_.Warn(script_, line,
                          "ターン " + std::to_string(turn) + " は最終ターン " +
                              std::to_string(parsed.LastTurn) + " より後です");
            }
        }
    }

    // --- create lines ---

    void ReadCreate(int line_number, const std::string& line) {
        ScriptLineWords split = SplitScriptLine(line);
        std::vector<std::string> words = AllWords(split);
        if (static_cast<int>(words.size()) != kCreateWords) {
            run_.Error(script_, line_number,
                       "create 行は " + std::to_string(kCreateWords) + " 語のはずですが " +
                           std::to_string(words.size()) +
                           " 語です (足りない語は前の行の語になります)");
            return;
        }
        if (split.final_word.empty() && words.back() != std::to_string(kNoAircraftType)) {
            run_.Warn(
                script_, line_number,
                "行末の空白のため最後の語" + Quoted(words.back()) + "は読まれず 255 になります");
        }
        CreateLine create{line_number, 0, 0, 0, 0};
        // The reader reports a variant word that is not a number.
        if (!ParseScriptInteger(words[1], create.Variant)) return;
        if (!ParseScriptInteger(words[2], create.Fleet)) {
            run_.Error(script_, line_number,
                       "艦隊番号" + Quoted(words[2]) + "は整数ではありません (艦隊 0 になります)");
            return;
        }
        // Both words are checked, so both are reported.
        bool x_read = RequireNumber(line_number, words[7], "X 座標", create.X);
        bool y_read = RequireNumber(line_number, words[8], "Y 座標", create.Y);
        bool numbers = x_read && y_read;
        CheckStance(line_number, words[6]);
        for (std::size_t i = 9; i < words.size(); ++i) CheckAirType(line_number, i, words[i]);
        if (create.Variant < 0 || create.Variant >= kOrderOfBattleVariants) {
            run_.Warn(script_, line_number,
                      "編成番号 " + std::to_string(create.Variant) +
                          " は 0～11 の外のため、この行は使われません");
            return;
        }
        // The reader warns about a fleet outside 0..24.
        if (create.Fleet < 0 || create.Fleet >= kFleetCount || !numbers) return;
        creates_.push_back(create);
    }

    bool RequireNumber(int line_number, const std::string& word, const char* what, int& value) {
        if (ParseScriptInteger(word, value)) return true;
        run_.Error(script_, line_number,
                   std::string(what) + Quoted(word) + "は整数ではありません (0 になります)");
        return false;
    }

    void CheckStance(int line_number, const std::string& word) {
        static const std::set<std::string> stances{"普通", "攻撃", "防御", "強襲"};
        if (stances.count(word) == 0) {
            run_.Warn(script_, line_number,
                      "方針" + Quoted(word) + "は 普通・攻撃・防御・強襲 のどれでもありません");
        }
    }

    void CheckAirType(int line_number, std::size_t word_index, const std::string& word) {
        int type = 0;
        if (!ParseScriptInteger(word, type)) {
            run_.Warn(script_, line_number,
                      std::to_string(word_index) + " 語目の機種" + Quoted(word) +
                          "は整数ではありません (255 = なし になります)");
        } else if (type != kNoAircraftType && (type < 0 || type >= units_.AircraftTypeCount)) {
            run_.Error(script_, line_number,
                       std::to_string(word_index) + " 語目の機種番号 " + std::to_string(type) +
                           " は plane.dat にありません (0～" +
                           std::to_string(units_.AircraftTypeCount - 1) + "、255 = なし)");
        }
    }

    // --- media names ---

    void ReadSetEffect(int line_number, const std::string& line) {
        ScriptLineWords split = SplitScriptLine(line);
        std::vector<std::string> names = AllWords(split);
        names.erase(names.begin());
        if (names.size() != static_cast<std::size_t>(kEffectFiles)) {
            run_.Error(script_, line_number,
                       "seteffect には効果音が " + std::to_string(kEffectFiles) + " 個必要ですが " +
                           std::to_string(names.size()) + " 個です");
        } else if (!split.final_word.empty()) {
            run_.Warn(script_, line_number,
                      "行末に空白がないため 10 番目の効果音" + Quoted(split.final_word) +
                          "は読まれません");
        }
        for (std::string& name : names) cues_.push_back({line_number, std::move(name)});
    }

    void ReadNamedFile(int line_number, const std::string& line, const char* command,
                       std::vector<NamedFile>& into) {
        std::string name = SplitScriptLine(line).final_word;
        if (name.empty()) {
            run_.Warn(
                script_, line_number,
                std::string(command) + " のファイル名がありません (行末の空白は名前を消します)");
            return;
        }
        into.push_back({line_number, std::move(name)});
    }

    // --- weather and fuses ---

    void CheckSetCloud(int line_number, const std::string& line) {
        std::string count = SplitScriptLine(line).final_word;
        if (!IsInteger(count)) {
            run_.Warn(
                script_, line_number,
                "setcloud の嵐の数" + Quoted(count) + "は整数ではないため 0 (嵐なし) になります");
        }
    }

    // setvtfuse PLAYER COMPUTER: the computer's factor is the final word. A
    // factor of 0 leaves that side's fleets as they are, on purpose.
    void CheckSetVtFuse(int line_number, const std::string& line) {
        ScriptLineWords split = SplitScriptLine(line);
        if (split.final_word.empty()) {
            run_.Warn(script_, line_number, "行末の空白のため敵軍の信管係数が読まれません");
        }
        std::vector<std::string> values = AllWords(split);
        values.erase(values.begin());
        for (const std::string& value : values) {
            if (!IsReal(value)) {
                run_.Warn(script_, line_number,
                          "信管係数" + Quoted(value) + "は数ではないため使われません");
            }
        }
    }

    // --- one order-of-battle variant of one side ---

    void CheckVariant(Side side, int variant, const SideFileFacts& facts,
                      const LandMaskGrid* mask) {
        // A later create line for the same fleet overwrites an earlier one.
        std::array<const CreateLine*, kFleetCount> created{};
        bool any = false;
        for (const CreateLine& c : creates_) {
            if (c.Variant != variant || SideOfFleet(c.Fleet) != side) continue;
            any = true;
            const CreateLine*& last = created[static_cast<std::size_t>(c.Fleet)];
            if (last) {
                run_.Warn(script_, last->Line,
                          "編成 " + std::to_string(variant) + " の艦隊 " + std::to_string(c.Fleet) +
                              " は " + std::to_string(c.Line) +
                              " 行目の create 行で上書きされます");
            }
            last = &c;
        }
        for (const CreateLine* c : created) {
            if (c) CheckCreatedFleet(*c, facts, mask);
        }
        std::string file = std::string(1, SideLetter(side)) + std::to_string(variant) + ".dat";
        if (!any) {
            run_.Error(script_, 0,
                       std::string(side == Side::kPlayer ? "自軍" : "敵軍") + "の編成 " +
                           std::to_string(variant) + " (" + file + ") の create 行がありません");
        }
        if (!facts.Read) return;
        for (int f = FirstFleetOf(side); f <= LastFleetOf(side); ++f) {
            const FleetFacts& fleet = facts.Fleets[static_cast<std::size_t>(f)];
            if (fleet.Filled && !created[static_cast<std::size_t>(f)]) {
                run_.Error(facts.File, fleet.FirstLine,
                           "艦隊 " + std::to_string(f) + " に編成 " + std::to_string(variant) +
                               " の create 行がありません (位置 0, 0 で名前もありません)");
            }
        }
    }

    void CheckCreatedFleet(const CreateLine& c, const SideFileFacts& facts,
                           const LandMaskGrid* mask) {
        std::string where = "(" + std::to_string(c.X) + ", " + std::to_string(c.Y) + ")";
        if (c.X < 0 || c.Y < 0 || c.X >= kMapWidth || c.Y >= kMapHeight) {
            run_.Error(script_, c.Line,
                       "位置 " + where + " が地図 (" + std::to_string(kMapWidth) + " × " +
                           std::to_string(kMapHeight) + ") の外です");
            return;
        }
        if (!facts.Read) return;
        const FleetFacts& fleet = facts.Fleets[static_cast<std::size_t>(c.Fleet)];
        std::string file = facts.File.filename().string();
        if (!fleet.Filled) {
            run_.Warn(
                script_, c.Line,
                "艦隊 " + std::to_string(c.Fleet) + " は " + file + " に艦がないため出撃しません");
            return;
        }
        if (!mask) return;
        if (fleet.IsBase) {
            if (!LandNear(*mask, c.X, c.Y, kBaseCoastReach)) {
                run_.Warn(script_, c.Line,
                          "基地 (艦隊 " + std::to_string(c.Fleet) + ") の位置 " + where + " から " +
                              std::to_string(kBaseCoastReach) + " 画素以内に陸がありません");
            }
        } else if (mask->IsLand(c.X, c.Y)) {
            run_.Error(script_, c.Line,
                       "艦隊 " + std::to_string(c.Fleet) + " の位置 " + where + " は陸の上です");
        }
    }

    CheckRun& run_;
    const GameState& units_;
    fs::path script_;
    int current_line_ = 0;
    int own_command_ = -1;
    bool talk_open_ = false;
    int talk_line_ = 0;
    bool has_end_section_ = false;
    std::vector<std::pair<int, int>> turns_;  // header line, turn
    std::vector<CreateLine> creates_;
    std::vector<NamedFile> music_;
    std::vector<NamedFile> movies_;
    std::vector<NamedFile> cues_;
};

// No variant is drawn while checking: the create lines are checked for all.
constexpr int kNoVariant = -1;

void CheckScript(CheckRun& run, const GameState& units, const fs::path& script,
                 const fs::path& scenario_folder, const SideFileSet& sides,
                 const LandMaskGrid* mask) {
    FileProblem problem;
    if (!CheckScenarioPath(scenario_folder, script, FileKind::kScript, &problem)) {
        run.Error(script, 0, problem.reason);
        return;
    }
    auto parsed = std::make_unique<GameState>();
    ScriptCheck check(run, units, script);
    if (!run.Load(script, [&](const fs::path& p, Diagnostics& d) {
            ParseScenarioScript(*parsed, p, kNoVariant, kNoVariant, d, check);
        })) {
        return;
    }
    check.Finish(*parsed, sides, mask);
}

void CheckSnrFolder(CheckRun& run, GameState& state, const fs::path& scenario_folder,
                    const fs::path& snr_folder, const std::vector<fs::path>& scripts) {
    bool mask_read = CheckMapPictures(run, state, snr_folder);
    SideFileSet sides = CheckSideFiles(run, state, snr_folder);
    if (scripts.empty()) run.Error(snr_folder / "*.snr", 0, kMissingFileMessage);
    for (const fs::path& script : scripts) {
        CheckScript(run, state, script, scenario_folder, sides,
                    mask_read ? &state.LandMask : nullptr);
    }
}

}  // namespace

std::optional<CheckTarget> LocateCheckTarget(const fs::path& argument) {
    fs::path target = Normalised(argument);
    std::error_code ec;
    if (!fs::exists(target, ec)) return std::nullopt;
    if (!IsDirectory(target)) {
        fs::path snr_folder = target.parent_path();
        return CheckTarget{snr_folder.parent_path(), {snr_folder}, {target}};
    }
    if (IsSnrFolder(target)) return TargetOfFolders(target.parent_path(), {target});
    return TargetOfFolders(target, SnrFoldersUnder(target));
}

int RunScenarioCheck(const fs::path& argument, std::ostream& out, const CheckOptions& options) {
    std::optional<CheckTarget> target = LocateCheckTarget(argument);
    if (!target) {
        out << FormatFinding({Severity::kError, argument.generic_string(), 0, kMissingFileMessage}) << '\n'
            << "1 errors, 0 warnings\n";
        return 1;
    }
    CheckRun run(target->ScenarioFolder, out, options.Verbose);
    // GameState's tables take megabytes: keep them off the stack.
    auto state = std::make_unique<GameState>();
    CheckUnitData(run, *state, target->ScenarioFolder);
    if (target->SnrFolders.empty()) {
        run.Error(target->ScenarioFolder / "*" / "ShipData", 0, kMissingFileMessage);
    }
    for (const fs::path& snr_folder : target->SnrFolders) {
        std::vector<fs::path> scripts;
        for (const fs::path& script : target->Scripts) {
            if (script.parent_path() == snr_folder) scripts.push_back(script);
        }
        CheckSnrFolder(run, *state, target->ScenarioFolder, snr_folder, scripts);
    }
    run.Close();
    return run.Errors() > 0 ? 1 : 0;
}

}  // namespace velmora
