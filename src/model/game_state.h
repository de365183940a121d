// GameState owns every table and variable the rules name. There are no
// globals: every operation takes the state it works on.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/records.h"
#include "model/play_counters.h"
#include "model/rng.h"
#include "model/route_grids.h"

namespace velmora {

// A list of sunk ships (LostShipsPlayer, LostShipsComputer).
struct LostShipList {
    std::array<TShip, kTableSize> Ships{};
    std::int32_t Count = 0;
    friend bool operator==(const LostShipList&, const LostShipList&) = default;
};

struct StormCell {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::uint8_t Active = 0;
    friend bool operator==(const StormCell&, const StormCell&) = default;
};

inline constexpr int kStormCells = 24;

// Wind bearing per map region: row 0 is y 0..272, row 1 y 273..545; column c
// is x 264c..264c+263.
using WindTable = std::array<std::array<std::int32_t, 3>, 2>;
inline constexpr WindTable kInitialWinds{{{120, 120, 120}, {330, 270, 270}}};

// Victory accumulators: sunk and damaged ships by type 1..5 for each side.
struct VictoryTotals {
    std::int32_t PlayerTotal = 0;
    std::int32_t ComputerTotal = 0;
    std::int32_t LandingShownPlayer = 0;
    std::int32_t LandingShownComputer = 0;
    std::array<std::array<std::int32_t, 6>, 2> Sunk{};     // [side][type]
    std::array<std::array<std::int32_t, 6>, 2> Damaged{};  // [side][type]
    friend bool operator==(const VictoryTotals&, const VictoryTotals&) = default;
};

// LandMask[x][y]: 1 where the mask picture is black (land). Points outside
// the mask count as sea.
class LandMaskGrid {
public:
    LandMaskGrid() : cells_(static_cast<std::size_t>(kLandMaskSize) * kLandMaskSize, 0) {}
    bool IsLand(int x, int y) const {
        if (x < 0 || y < 0 || x >= kLandMaskSize || y >= kLandMaskSize) return false;
        return cells_[Index(x, y)] != 0;
    }
    void Set(int x, int y, bool land) {
        if (x < 0 || y < 0 || x >= kLandMaskSize || y >= kLandMaskSize) return;
        cells_[Index(x, y)] = land ? 1 : 0;
    }
    void Clear() { std::fill(cells_.begin(), cells_.end(), 0); }
    friend bool operator==(const LandMaskGrid&, const LandMaskGrid&) = default;

private:
    static std::size_t Index(int x, int y) {
        return static_cast<std::size_t>(x) * kLandMaskSize + static_cast<std::size_t>(y);
    }
    std::vector<std::uint8_t> cells_;
};

// What the script reader stores that no rule reads.
struct ScriptExtras {
    std::string Label;
    std::string SetupMusic;
    std::string PictureName;
    friend bool operator==(const ScriptExtras&, const ScriptExtras&) = default;
};

// One line the game showed the player, kept with its turn and hour.
struct LogEntry {
    std::int32_t Turn = 0;
    std::int32_t Hour = 0;
    std::string Text;
    friend bool operator==(const LogEntry&, const LogEntry&) = default;
};

struct GameState {
    GameState();

    std::array<TFleet, kFleetCount> FleetTable{};
    std::array<TFleet, kContactCount> ContactTable{};
    std::array<TShip, kTableSize> ShipClassTable{};
    std::array<AircraftType, kTableSize> AircraftTypeTable{};
    LostShipList LostShipsPlayer;
    LostShipList LostShipsComputer;
    std::array<TEData, kEventSlots> EventTable{};
    std::array<TTelop, kEventSlots> TelopTable{};
    TGameContine ContinueInfo;
    LandMaskGrid LandMask;

    std::int32_t Hour = 1;
    std::int32_t Turn = 1;
    std::uint8_t PlayerSide = kPlayerSideValue;
    std::uint8_t ComputerSide = kComputerSideValue;
    std::uint8_t MapMode = 0;
    std::uint8_t SelectedFleet = 0;
    std::int32_t LastTurn = 0;
    std::int32_t PlayerScore = 0;
    std::int32_t ComputerScore = 0;
    std::array<std::int32_t, 2> InitialLandingPoints{};
    std::array<std::int32_t, 2> InterceptTally{};
    std::array<std::int32_t, 2> ScuttleTally{};
    std::int32_t DesignationCounter = 0;
    std::int32_t ShipClassLast = -1;
    std::int32_t AircraftTypeCount = 0;
    std::int32_t MouseX = 0;
    std::int32_t MouseY = 0;
    std::int32_t PickedTarget = 0;
    std::uint8_t FleetViewOpen = 0;
    std::string ScenarioFolder;
    std::string SnrFolder;
    std::string MapPicture;    // the resolved MAP.Bmp of the scenario, for the map view
    std::string ScenarioFile;  // the script the game was set up from; saves name it
    std::int32_t EventIndex = 0;
    std::int32_t TalkCursor = 0;
    std::int32_t TelopTick = 0;
    std::array<std::string, kEffectFiles + 1> EffectFile{};  // entries 1..10 used
    std::string MovieFile;
    ScriptExtras Script;

    // Weather.
    std::array<StormCell, kStormCells> StormCells{};
    WindTable WindDirections = kInitialWinds;

    // Victory evaluation.
    VictoryTotals Victory;
    bool VictoryShown = false;

    // The computer's route search (not saved: every search starts afresh).
    RouteSearchGrids RouteSearch;
    PlayCounters Counters;

    // Every message and report line shown, oldest first.
    std::vector<LogEntry> MessageLog;

    // True while EndTurn runs: a second turn end must not start meanwhile.
    bool TurnEndRunning = false;

    Rng Random;

    // Uniform integer 0..n-1 from the game's generator.
    int Roll(int n) { return Random.Random(n); }

    TFleet& Fleet(int index);
    const TFleet& Fleet(int index) const;
    // The class template of a ship slot, or an empty class for a bad index.
    const TShip& ClassOf(const TShip& ship) const;
    // ShipType of a ship slot's class (0 when the slot has no valid class).
    int ShipTypeOf(const TShip& ship) const;
    const AircraftType& AircraftTypeAt(int index) const;

    // Everything a new game starts from, as at program start (the hour too).
    void ResetForNewGame();

    friend bool operator==(const GameState&, const GameState&) = default;
};

}  // namespace velmora
