#include "scenario/unit_data.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "model/fleet_ops.h"
#include "model/text.h"
#include "scenario/paths.h"

namespace velmora {
namespace {


bool IsSeparator(char c) {
    return c == ' ' || c == '\r';
}

bool IsBlank(std::string_view line) {
    for (char c : line) {
        if (!IsSeparator(c)) return false;
    }
    return true;
}

std::uint8_t ColumnByte(const std::vector<std::string>& columns, std::size_t index) {
    return static_cast<std::uint8_t>(ColumnInt(columns, index) & 0xFF);
}

// The file's lines as UTF-8; throws when the file cannot be read.
std::vector<std::string> ReadLines(const std::filesystem::path& path) {
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) throw ScenarioError(path.string(), 0, kMissingFileMessage);
    return SplitLines(DecodeFileText(*bytes));
}

// How many of the lines fit the 201-entry tables; warns about each one past.
std::size_t StorableLines(const std::vector<std::string>& lines, const std::filesystem::path& path,
                          Diagnostics& diag) {
    for (std::size_t i = kTableSize; i < lines.size(); ++i) {
        diag.Warn(path.string(), static_cast<int>(i + 1),
                  "表には " + std::to_string(kTableSize) +
                      " 件までしか入らないため、この行は読み込みません");
    }
    return std::min(lines.size(), static_cast<std::size_t>(kTableSize));
}

AircraftType AircraftTypeFromColumns(const std::vector<std::string>& c) {
    AircraftType t;
    t.TypeNumber = ColumnInt(c, 0);
    t.Name = ColumnText(c, 1);
    t.TypeText1 = ColumnText(c, 2);
    // Column 3 feeds no field.
    t.DisplayName = ColumnText(c, 4);
    t.MissilesPerAircraft = ColumnInt(c, 5);
    t.OrdnanceName = ColumnText(c, 6);
    t.Column7 = ColumnInt(c, 7);
    t.StealthClass = ColumnText(c, 8);
    t.Description = ColumnText(c, 9);
    t.AircraftModelFile = ColumnText(c, 10);
    t.Evasion = ColumnInt(c, 11);
    t.AttackPower = ColumnInt(c, 12);
    t.Range = std::max(0, ColumnInt(c, 13));
    t.BombPower = ColumnInt(c, 14);
    t.BombAccuracy = ColumnInt(c, 15);
    t.TorpedoPower = ColumnInt(c, 16);
    t.TorpedoAccuracy = ColumnInt(c, 17);
    t.ElectronicWarfare = ColumnInt(c, 18);
    t.ElectronicWarfareCopy = t.ElectronicWarfare;
    t.AswSensor = ColumnInt(c, 19);
    t.AswPower = ColumnInt(c, 20);
    return t;
}

TShip ShipClassFromColumns(const std::vector<std::string>& c) {
    TShip s;
    s.ClassIndex = ColumnInt(c, 0);  // a class template keeps its ShipType here
    s.Name = ColumnText(c, 1);
    s.ClassTitle = ColumnText(c, 2);
    s.ClassCode = ColumnText(c, 3);
    s.ElectronicWarfare = ColumnInt(c, 4);
    s.ElectronicWarfareNow = s.ElectronicWarfare;
    s.AswSensor = ColumnInt(c, 5);
    s.AswAttackPatrol = ColumnInt(c, 6);
    s.AswAttackMoving = ColumnInt(c, 7);
    s.Durability = ColumnInt(c, 8);
    s.AircraftCapacity = ColumnInt(c, 9);
    s.DeckStandby = ColumnByte(c, 10);
    s.MainGun = ColumnByte(c, 11);
    s.MainGunRange = ColumnByte(c, 12);
    s.SecondaryGun = ColumnByte(c, 13);
    s.SecondaryGunRange = ColumnByte(c, 14);
    s.MissileLoad = ColumnInt(c, 15);
    s.ClassValue16 = ColumnInt(c, 16);
    s.SideArmour = ColumnByte(c, 17);
    s.DeckArmour = ColumnByte(c, 18);
    s.AreaDefence = ColumnInt(c, 19);
    s.PointDefence = ColumnInt(c, 20);
    s.Speed = ColumnByte(c, 21);
    s.ReconAircraft = ColumnInt(c, 22);
    s.WeaponKey = ColumnText(c, 23);
    s.ModelFile = ColumnText(c, 24);
    s.Loaded = 1;
    return s;
}

SideFileValues SideValuesFromColumns(const std::vector<std::string>& c) {
    SideFileValues v;
    v.Supplies = ColumnInt(c, 3);
    v.SuppressionResistance = ColumnInt(c, 4);
    v.FireControl = ColumnInt(c, 5);
    for (std::size_t j = 0; j < 3; ++j) {
        // A negative count reads as no aircraft.
        v.Aircraft[j] = std::max(0, ColumnInt(c, 6 + 2 * j));
        v.AircraftType[j] = ColumnInt(c, 7 + 2 * j);
    }
    return v;
}

bool IsClassName(const GameState& state, int class_index, std::string_view name) {
    return state.ShipClassTable[static_cast<std::size_t>(class_index)].Name == name;
}

// Adds the ship of one side-file line; a warning instead when it has no slot.
void AddSideFileShip(GameState& state, const std::vector<std::string>& columns,
                     const std::string& file, int line, Diagnostics& diag) {
    std::int32_t f = ColumnInt(columns, 0);
    if (f < 0 || f >= kFleetCount) {
        diag.Warn(
            file, line,
            "艦隊番号 " + std::to_string(f) + " は 0～24 の範囲外のため、この行は読み込みません");
        return;
    }
    TFleet& fleet = state.FleetTable[static_cast<std::size_t>(f)];
    SideFileValues values = SideValuesFromColumns(columns);
    std::string class_name = ColumnText(columns, 1);
    int class_index = ClassIndexByName(state, class_name);
    if (!AddShip(state, fleet, class_index, ColumnText(columns, 2), values)) {
        diag.Warn(file, line,
                  "艦隊 " + std::to_string(f) + " は既に " + std::to_string(kShipSlots) +
                      " 隻のため、この行は読み込みません");
        return;
    }
    // The game takes the first class then, as it always has; the author hears of it.
    if (state.ShipClassLast >= 0 && !IsClassName(state, class_index, class_name)) {
        diag.Warn(file, line,
                  "艦級「" + class_name + "」が艦船データにないため、最初の艦級を使います");
    }
    TShip& ship = fleet.Ships[static_cast<std::size_t>(fleet.ShipCount - 1)];
    for (std::size_t j = 0; j < 3; ++j) ship.AircraftAboard[j] = values.Aircraft[j];
    fleet.Active = 1;
    fleet.CapType = values.AircraftType[0];
}

}  // namespace

std::vector<std::string> SplitColumns(std::string_view line, bool skip_leading_separators) {
    std::vector<std::string> columns;
    std::size_t i = 0;
    if (skip_leading_separators) {
        while (i < line.size() && IsSeparator(line[i])) ++i;
    }
    std::string current;
    bool in_separators = false;
    for (; i < line.size(); ++i) {
        if (IsSeparator(line[i])) {
            if (!in_separators) columns.push_back(std::move(current));
            current.clear();
            in_separators = true;
        } else {
            current += line[i];
            in_separators = false;
        }
    }
    if (!current.empty()) columns.push_back(std::move(current));
    return columns;
}

std::int32_t ColumnInt(const std::vector<std::string>& columns, std::size_t index) {
    if (index >= columns.size()) return 0;
    std::string_view text = columns[index];
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return 0;  // "+-3"
    }
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return 0;
    return value;
}

std::string ColumnText(const std::vector<std::string>& columns, std::size_t index) {
    return index < columns.size() ? columns[index] : std::string();
}

void ReadAircraftTypes(GameState& state, const std::filesystem::path& path, Diagnostics& diag) {
    std::vector<std::string> lines = ReadLines(path);
    std::size_t count = StorableLines(lines, path, diag);
    for (std::size_t i = 0; i < count; ++i) {
        state.AircraftTypeTable[i] = AircraftTypeFromColumns(SplitColumns(lines[i], true));
    }
    state.AircraftTypeCount = static_cast<std::int32_t>(count);
}

void ReadShipClasses(GameState& state, const std::filesystem::path& path, Diagnostics& diag) {
    std::vector<std::string> lines = ReadLines(path);
    std::size_t count = StorableLines(lines, path, diag);
    for (std::size_t i = 0; i < count; ++i) {
        state.ShipClassTable[i] = ShipClassFromColumns(SplitColumns(lines[i], false));
    }
    state.ShipClassLast = static_cast<std::int32_t>(count) - 1;
}

void ReadSideFile(GameState& state, const std::filesystem::path& path, Diagnostics& diag) {
    std::vector<std::string> lines = ReadLines(path);
    std::string file = path.string();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // A blank line would otherwise put a nameless ship of class 0 into fleet 0.
        if (IsBlank(lines[i])) continue;
        AddSideFileShip(state, SplitColumns(lines[i], false), file, static_cast<int>(i + 1), diag);
    }
}

}  // namespace velmora
