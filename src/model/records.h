// The game's records. Field names follow the stored record images; the byte
// layout lives only in the record codec (scenario/record_image.*).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/short_string.h"

namespace velmora {

inline constexpr int kFleetCount = 25;            // FleetTable
inline constexpr int kPlayerFleetLast = 12;       // fleets 0..12 are the player's
inline constexpr int kContactCount = 15;          // ContactTable (entries 1..14 used)
inline constexpr int kShipSlots = 41;             // ship slots per fleet
inline constexpr int kAirUnitSlots = 6;           // air units per fleet (0..3 strike groups)
inline constexpr int kCategories = 6;             // aircraft categories in every array
inline constexpr int kTableSize = 201;            // class, type and lost-ship tables
inline constexpr int kLaunchTurns = 201;          // CapLaunched / ScoutLaunched
inline constexpr int kRouteSlots = 51;            // waypoints per fleet
inline constexpr int kEventSlots = 121;           // EventTable / TelopTable
inline constexpr int kConversationLines = 101;    // lines per event
inline constexpr int kTelopLines = 21;            // lines per caption sequence
inline constexpr int kLandMaskSize = 2001;        // LandMask is 2001 x 2001
inline constexpr int kMapWidth = 790;             // the visible map
inline constexpr int kMapHeight = 545;
inline constexpr int kNoFleet = 25;               // SelectedFleet when nothing is selected
inline constexpr int kEffectFiles = 10;
inline constexpr int kOrderOfBattleVariants = 12;  // j0..j11 and a0..a11

inline constexpr std::uint8_t kPlayerSideValue = 0;
inline constexpr std::uint8_t kComputerSideValue = 1;

// Ship types (the ClassIndex field of a class template).
enum ShipTypeCode : int {
    kCarrier = 1,
    kBattleship = 2,
    kCruiser = 3,
    kDestroyer = 4,
    kTransport = 5,
    kGroundBase = 6,
    kAntiAircraftSite = 7,
};

inline constexpr bool IsInstallationType(int ship_type) {
    return ship_type == kGroundBase || ship_type == kAntiAircraftSite;
}

struct Point {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A ship class template in ShipClassTable, or a ship slot in a fleet.
struct TShip {
    ShortString<40> ModelName;
    ShortString<40> ModelName2;
    ShortString<40> WeaponKey;
    ShortString<30> ClassTitle;
    ShortString<10> ClassCode;
    std::uint8_t Loaded = 0;
    ShortString<30> ModelFile;
    std::int32_t ElectronicWarfare = 0;
    std::int32_t ElectronicWarfareNow = 0;
    std::int32_t AswSensor = 0;
    std::int32_t AswAttackPatrol = 0;
    std::int32_t AswAttackMoving = 0;
    std::uint8_t CombatStance = 0;
    std::int32_t CaptureTurn = 0;
    std::int32_t SuppressionResistance = 0;
    std::uint8_t Suppression = 0;
    std::int32_t ClassValue16 = 0;
    std::int32_t Manoeuvre = 0;
    std::string MainGunTarget;
    std::string SecondaryGunTarget;
    std::int32_t FireControl = 0;
    // A ship slot: index into ShipClassTable (-1 cleared). A class template: its ShipType.
    std::int32_t ClassIndex = 0;
    ShortString<40> Name;
    std::int32_t AircraftCapacity = 0;
    std::uint8_t DeckStandby = 0;
    std::uint8_t DeckState = 0;
    std::uint8_t MainGun = 0;
    std::uint8_t MainGunRange = 0;
    std::uint8_t SecondaryGun = 0;
    std::uint8_t SecondaryGunRange = 0;
    std::int32_t MissileLoad = 0;
    std::uint8_t SideArmour = 0;
    std::uint8_t DeckArmour = 0;
    std::int32_t AreaDefence = 0;
    std::int32_t PointDefence = 0;
    std::int32_t Durability = 0;
    std::uint8_t Speed = 0;
    std::array<std::int32_t, 3> AircraftTypesAboard{};
    std::array<std::int32_t, 3> AircraftTypesSpare{};
    std::array<std::int32_t, kCategories> AircraftAboard{};
    std::array<std::int32_t, kCategories> AircraftAboardAtStart{};
    std::int32_t ReconAircraft = 0;
    std::int32_t Supplies = 0;
    std::string ShipNote;

    // A class template keeps its ShipType in ClassIndex.
    int ShipType() const { return ClassIndex; }

    friend bool operator==(const TShip&, const TShip&) = default;
};

// An air unit of a fleet; the same record carries a missile salvo or strike.
struct TAirUnit {
    std::array<std::int32_t, kCategories> Counts{};
    std::array<std::uint8_t, kCategories> AircraftTypes{};
    std::int32_t TargetGroup = 0;
    std::array<std::int32_t, 9> TargetRequest{};
    std::uint8_t StrikeTarget = 0;
    std::int32_t AttackKind = 0;
    std::uint8_t State = 0;
    std::uint8_t UnitNumber = 0;
    std::uint8_t Tagged = 0;
    ShortString<40> SalvoModel;
    ShortString<40> SalvoModel2;
    ShortString<40> WeaponKey;

    friend bool operator==(const TAirUnit&, const TAirUnit&) = default;
};

// A fleet of FleetTable or a contact marker of ContactTable.
struct TFleet {
    ShortString<30> Commander;
    TAirUnit MissileSalvo;
    ShortString<40> FlagshipWeapon;
    std::int32_t AswTarget = 0;
    double VtFuseFactor = 0.0;
    std::uint8_t LaunchCounter = 0;
    std::int32_t TurnScratch = 0;
    std::int32_t Detour = 0;
    std::int32_t Stance = 0;
    std::int32_t Reserved328 = 0;
    std::uint8_t TrackedFleet = 0;
    ShortString<30> Name;
    std::array<Point, kRouteSlots> Route{};
    std::int32_t RouteLength = 0;
    std::array<std::int32_t, 3> LastSighting{};
    std::uint8_t Number = 0;
    std::uint8_t SeenThisTurn = 0;
    std::int32_t EngagedFleet = 0;
    Point Position;
    Point Destination;
    std::array<TShip, kShipSlots> Ships{};
    std::int32_t ShipCount = 0;
    std::uint8_t Active = 0;
    std::uint8_t Side = 0;
    std::uint8_t Speed = 0;
    std::int32_t Reserved19852 = 0;
    std::array<std::int32_t, kCategories> HangarCounts{};
    std::array<TAirUnit, kAirUnitSlots> AirUnits{};
    std::array<std::int32_t, 2> Reserved21440{};
    std::array<std::int32_t, kCategories> LossTallies{};
    // TypeSuppression and the three bytes after it, cleared together each turn.
    std::array<std::uint8_t, 9> TypeSuppression{};
    std::array<std::uint8_t, 3> TypeSuppressionTail{};
    std::array<std::int32_t, kCategories> AirTypes{};
    std::int32_t DetectLevel = 0;
    std::array<std::int32_t, kLaunchTurns> CapLaunched{};
    std::int32_t CapReady = 0;
    std::int32_t CapType = 0;
    std::array<std::int32_t, kLaunchTurns> ScoutLaunched{};
    std::int32_t ScoutReady = 0;
    std::int32_t ScoutType = 0;
    std::int32_t TargetFleet = 0;
    ShortString<255> Designation;
    std::array<std::uint8_t, 8> SearchSectors{};
    std::array<std::uint8_t, 8> AswSectors{};
    std::array<std::int32_t, 2> LandingPoints{};
    // Computer attacks in a row aimed at escorts; outside the record image.
    std::int32_t EscortStrikes = 0;

    friend bool operator==(const TFleet&, const TFleet&) = default;
};

// One line of the aircraft data file.
struct AircraftType {
    ShortString<255> Name;
    ShortString<30> TypeText1;
    std::int32_t MissilesPerAircraft = 0;
    ShortString<30> DisplayName;
    ShortString<30> OrdnanceName;
    ShortString<30> StealthClass;
    ShortString<30> AircraftModelFile;
    std::int32_t ElectronicWarfareCopy = 0;
    std::int32_t Column7 = 0;
    ShortString<50> Description;
    std::int32_t TypeNumber = 0;
    std::int32_t Evasion = 0;
    std::int32_t AttackPower = 0;
    std::int32_t Range = 0;
    std::int32_t BombPower = 0;
    std::int32_t BombAccuracy = 0;
    std::int32_t TorpedoPower = 0;
    std::int32_t TorpedoAccuracy = 0;
    std::int32_t ElectronicWarfare = 0;
    std::int32_t AswSensor = 0;
    std::int32_t AswPower = 0;

    friend bool operator==(const AircraftType&, const AircraftType&) = default;
};

// One scenario event slot: a conversation and the music it starts.
struct TEData {
    std::array<std::string, kConversationLines> SpeechText{};
    std::array<std::string, kConversationLines> SpeakerName{};
    std::int32_t LineCount = 0;
    std::string MusicFile;

    friend bool operator==(const TEData&, const TEData&) = default;
};

// One caption sequence.
struct TTelop {
    std::array<std::string, kTelopLines> Lines{};
    std::uint8_t LineCount = 0;
    std::uint8_t NextLine = 0;

    friend bool operator==(const TTelop&, const TTelop&) = default;
};

// The scenario's follow-up names.
struct TGameContine {
    std::int32_t Unused = 0;
    std::string WinNext;
    std::string LoseNext;

    friend bool operator==(const TGameContine&, const TGameContine&) = default;
};

}  // namespace velmora
