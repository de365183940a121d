#include "scenario/setup.h"

#include <algorithm>

#include "air/air_turn.h"
#include "enemy/enemy_turn.h"
#include "model/fleet_ops.h"
#include "model/labels.h"
#include "scenario/land_mask.h"
#include "scenario/paths.h"
#include "scenario/script.h"
#include "scenario/unit_data.h"
#include "turn/turn_events.h"

namespace velmora {
namespace fs = std::filesystem;

namespace {

constexpr int kPendingEventRounds = 5;
constexpr int kMarkerScatter = 30;

bool IsDelimiter(char c) {
    return c == '/' || c == '\\';
}

// Everything up to and including the last delimiter; empty when there is none.
std::string UpToLastDelimiter(std::string_view text) {
    for (std::size_t i = text.size(); i > 0; --i) {
        if (IsDelimiter(text[i - 1])) return std::string(text.substr(0, i));
    }
    return {};
}

// Set-up step 4: every fleet cleared to its starting values.
void ResetFleets(GameState& state) {
    ClearFleets(state);
    for (int i = 0; i < kFleetCount; ++i) {
        TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
        fleet.Number = static_cast<std::uint8_t>(i);
        fleet.Active = 0;
        fleet.Side = state.PlayerSide;
        fleet.VtFuseFactor = 1.0;
        fleet.DetectLevel = 0;
        fleet.Speed = 255;
        for (std::size_t k = 0; k < kAirUnitSlots; ++k) {
            TAirUnit& unit = fleet.AirUnits[k];
            unit.Counts[0] = 0;
            unit.TargetGroup = 2;
            for (std::size_t r = 0; r < 3; ++r) unit.TargetRequest[r] = 1;
            unit.UnitNumber = static_cast<std::uint8_t>(k + 1);
            unit.State = 0;
            unit.Tagged = 0;
        }
        fleet.Reserved328 = -1;
        fleet.AswTarget = -1;
        fleet.LaunchCounter = 0;
        fleet.EngagedFleet = -1;
        fleet.SearchSectors.fill(0);
        fleet.AswSectors.fill(0);
    }
}

// Set-up steps 2 to 4, which also stand when the new-game dialog is cancelled.
void StartWithClearedFleets(GameState& state) {
    state.PlayerSide = kPlayerSideValue;
    state.ComputerSide = kComputerSideValue;
    state.Turn = 1;
    ResetFleets(state);
}

// A scenario file found without regard to letter case; the nominal path when
// it is missing, so the reader names it in its error.
fs::path ScenarioFile(const std::string& folder, const fs::path& relative) {
    fs::path base = folder.empty() ? fs::path(".") : fs::path(folder);
    if (auto found = FindCaseInsensitive(base, relative)) return *found;
    return base / relative;
}

fs::path RequireScenarioFile(const std::string& folder, const fs::path& relative) {
    fs::path path = ScenarioFile(folder, relative);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        throw ScenarioError(path.string(), 0, kMissingFileMessage);
    }
    return path;
}

void ReadDataFiles(GameState& state, Diagnostics& diag) {
    ReadAircraftTypes(state, RequireScenarioFile(state.ScenarioFolder, "plane.dat"), diag);
    ReadShipClasses(state, RequireScenarioFile(state.ScenarioFolder, "ship.dat"), diag);
}

void LoadMapPictures(GameState& state) {
    fs::path map = RequireScenarioFile(state.SnrFolder, fs::path("ShipData") / "MAP.Bmp");
    CheckPicture(map);
    state.MapPicture = map.string();
    LoadLandMask(state, RequireScenarioFile(state.SnrFolder, fs::path("ShipData") / "BMAP.Bmp"));
}

void ReadSideFiles(GameState& state, int n1, int n2, Diagnostics& diag) {
    fs::path ship_data = "ShipData";
    ReadSideFile(
        state,
        RequireScenarioFile(state.SnrFolder, ship_data / ("j" + std::to_string(n1) + ".dat")),
        diag);
    ReadSideFile(
        state,
        RequireScenarioFile(state.SnrFolder, ship_data / ("a" + std::to_string(n2) + ".dat")),
        diag);
}

// Step 13: sides by index, and the aircraft the ships brought into the hangars.
void AssignSidesAndHangars(GameState& state) {
    for (int i = 0; i < kFleetCount; ++i) {
        TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
        if (fleet.Active)
            fleet.Side = i <= kPlayerFleetLast ? state.PlayerSide : state.ComputerSide;
        for (std::size_t j = 0; j < 3; ++j) fleet.HangarCounts[j] = 0;
        for (TShip& ship : fleet.Ships) {
            for (std::size_t j = 0; j < 3; ++j) {
                fleet.HangarCounts[j] += ship.AircraftAboardAtStart[j];
                ship.AircraftAboardAtStart[j] = 0;
            }
        }
    }
}

bool IsComputerFleetInPlay(const GameState& state, int i) {
    const TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
    return fleet.Active && fleet.Side == state.ComputerSide;
}

void PlanFirstComputerMoves(GameState& state) {
    state.Turn = 0;
    for (int i = 0; i < kFleetCount; ++i) {
        if (IsComputerFleetInPlay(state, i)) PlanComputerFleet(state, i);
    }
    state.Turn = 1;
}

void SelectFirstPlayerFleet(GameState& state) {
    state.SelectedFleet = kNoFleet;
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
        if (fleet.Active && fleet.Side == state.PlayerSide) {
            state.SelectedFleet = static_cast<std::uint8_t>(i);
            return;
        }
    }
}

// Step 16: weapon keys from the flagship's class, and a base's supplies
// become its side's landing points.
void ArmFleetsAndStockBases(GameState& state) {
    for (TFleet& fleet : state.FleetTable) {
        TShip& flagship = fleet.Ships[0];
        for (TAirUnit& unit : fleet.AirUnits) unit.WeaponKey = state.ClassOf(flagship).WeaponKey;
        fleet.LandingPoints = {0, 0};
        if (!FleetHasInstallation(state, fleet)) continue;
        if (fleet.Side < fleet.LandingPoints.size()) {
            fleet.LandingPoints[fleet.Side] = flagship.Supplies;
        }
        fleet.Designation = flagship.Name;
        flagship.Supplies = 0;
    }
}

void PlanAgainAndScatter(GameState& state) {
    for (int i = 0; i < kFleetCount; ++i) {
        state.FleetTable[static_cast<std::size_t>(i)].Number = static_cast<std::uint8_t>(i);
    }
    for (int i = 0; i < kFleetCount; ++i) {
        if (state.FleetTable[static_cast<std::size_t>(i)].Side != state.PlayerSide) {
            PlanComputerFleet(state, i);
            ScatterMarkers(state, i);
        }
    }
}

Point Scattered(GameState& state, Point p) {
    int dy = state.Roll(kMarkerScatter);
    dy -= state.Roll(kMarkerScatter);
    int dx = state.Roll(kMarkerScatter);
    dx -= state.Roll(kMarkerScatter);
    return {p.X + dx, p.Y + dy};
}

// Step 22: markers 1..14 start around the fleets they stand for.
void PlaceContactMarkers(GameState& state) {
    state.MapMode = 0;
    for (int u = 1; u < kContactCount; ++u) {
        TFleet& marker = state.ContactTable[static_cast<std::size_t>(u)];
        marker.Side = state.ComputerSide;
        marker.Number = static_cast<std::uint8_t>(u + 25);
        int t = MarkerFleet(u);
        const TFleet& fleet = state.Fleet(t);
        if (!fleet.Active) {
            marker.Active = 0;
            continue;
        }
        marker.Active = 1;
        marker.DetectLevel = 0;
        marker.TrackedFleet = static_cast<std::uint8_t>(t);
        marker.Side = 1;
        marker.Position = Scattered(state, fleet.Position);
        marker.Destination = Scattered(state, fleet.Destination);
        marker.Speed = fleet.Speed;
    }
    state.MapMode = 1;
}

void CountInitialLandingPoints(GameState& state) {
    for (const TFleet& fleet : state.FleetTable) {
        if (!fleet.Active || !FleetHasInstallation(state, fleet)) continue;
        if (fleet.Side == state.PlayerSide) {
            state.InitialLandingPoints[0] += fleet.LandingPoints[state.PlayerSide % 2];
        } else {
            state.InitialLandingPoints[1] += fleet.LandingPoints[state.ComputerSide % 2];
        }
    }
}

std::string FleetSummary(const TFleet& fleet, std::string_view speed_word) {
    return fleet.Name.str() + " " + fleet.Commander.str() + std::string(speed_word) +
           std::to_string(fleet.Speed);
}

void RunSetup(GameState& state, Frontend& frontend, const fs::path& snr, Diagnostics& diag) {
    int n1 = state.Roll(kOrderOfBattleVariants);
    int n2 = state.Roll(kOrderOfBattleVariants);
    ParseScenarioScript(state, snr, n1, n2, diag);
    ScenarioFolders folders = DeriveFolders(snr.string());
    state.SnrFolder = folders.SnrFolder;
    state.ScenarioFolder = folders.ScenarioFolder;
    state.ScenarioFile = snr.string();
    ReadDataFiles(state, diag);
    // Hiding the title picture is the front end's, at its redraw.
    LoadMapPictures(state);
    ReadSideFiles(state, n1, n2, diag);
    AssignSidesAndHangars(state);
    PlanFirstComputerMoves(state);
    SelectFirstPlayerFleet(state);
    frontend.RefreshPalette();
    ArmFleetsAndStockBases(state);
    PlanAgainAndScatter(state);
    DetectionStep(state, frontend);
    for (int i = 0; i < kPendingEventRounds; ++i) frontend.ProcessPendingEvents();
    state.TalkCursor = 0;
    state.EventIndex = 0;
    RunTurnEvents(state, frontend);
    // The 3D device and model scene are set up by the viewer when it first
    // shows a model.
    PlaceContactMarkers(state);
    frontend.RefreshPalette();
    CountInitialLandingPoints(state);
    for (int u = 1; u < kContactCount; ++u) {
        state.ContactTable[static_cast<std::size_t>(u)].Side = state.ComputerSide;
    }
}

}  // namespace

ScenarioFolders DeriveFolders(std::string_view file) {
    ScenarioFolders folders;
    folders.SnrFolder = UpToLastDelimiter(file);
    std::string_view without_final = folders.SnrFolder;
    if (!without_final.empty()) without_final.remove_suffix(1);
    folders.ScenarioFolder = UpToLastDelimiter(without_final);
    return folders;
}

int MarkerFleet(int marker) {
    int t = 6;
    for (int u = 1; u <= marker; ++u) {
        if (u % 2 == 0) t = u / 3 + 12;
    }
    return t;
}

bool SetupScenario(GameState& state, Frontend& frontend, const fs::path& snr, std::uint64_t seed,
                   Diagnostics* diag) {
    Diagnostics local;
    Diagnostics& findings = diag ? *diag : local;
    // A new game owes nothing to the one before it.
    state.ResetForNewGame();
    state.Random.Seed(seed);
    StartWithClearedFleets(state);
    std::error_code ec;
    fs::path script = fs::absolute(snr, ec);
    if (ec) script = snr;
    try {
        RunSetup(state, frontend, script, findings);
        return true;
    } catch (const ScenarioError& e) {
        findings.Error(e.file(), e.line(), e.message());
        ResetFleets(state);
        state.MapMode = 0;
        frontend.MessageOk("エラー", e.what());
        return false;
    }
}

std::string ToolCaptionText(const GameState& state) {
    if (state.SelectedFleet >= kFleetCount) return {};
    return FleetSummary(state.Fleet(state.SelectedFleet), "指揮 艦隊速力");
}

std::vector<std::string> FleetTreeTexts(const GameState& state) {
    std::vector<std::string> items;
    for (int i = 0; i <= kPlayerFleetLast; ++i) {
        const TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
        items.push_back(fleet.Active ? FleetSummary(fleet, "指揮 速力")
                                     : std::string(LabelAt(FleetNameLabels, i)));
    }
    return items;
}

}  // namespace velmora
