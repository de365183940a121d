#include "model/fleet_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace velmora {
namespace {

enum FixtureClass { kCarrierClass = 0, kDestroyerClass = 1, kTransportClass = 2, kBaseClass = 3 };

class FleetOpsTest : public ::testing::Test {
  protected:
    FleetOpsTest() : state_(std::make_unique<GameState>()) {
        DefineClass(kCarrierClass, "天鷹", kCarrier, 30);
        DefineClass(kDestroyerClass, "霞雲", kDestroyer, 34);
        DefineClass(kTransportClass, "豊浦丸", kTransport, 16);
        DefineClass(kBaseClass, "北浜基地", kGroundBase, 0);
        state_->ShipClassLast = 3;
    }

    void DefineClass(int index, const char* name, int type, int speed) {
        TShip& c = state_->ShipClassTable[static_cast<std::size_t>(index)];
        c.Name = name;
        c.ClassIndex = type;
        c.Speed = static_cast<std::uint8_t>(speed);
        c.Durability = 40 + index;
        c.MissileLoad = 8 + index;
        c.AircraftCapacity = 30 + index;
        c.DeckStandby = static_cast<std::uint8_t>(10 + index);
        c.AreaDefence = 5 + index;
        c.PointDefence = 7 + index;
        c.ReconAircraft = 2 + index;
        c.ClassValue16 = 16 + index;
        c.ClassCode = "CODE";
        c.ElectronicWarfare = 4 + index;
        c.AswSensor = 3;
        c.AswAttackPatrol = 6;
        c.AswAttackMoving = 9;
        c.MainGun = 11;
        c.SecondaryGun = 12;
        c.SideArmour = 13;
        c.DeckArmour = 14;
        c.MainGunRange = 99;  // not copied into ships: rules read it from the class
    }

    TFleet& Fleet(int index) { return state_->FleetTable[static_cast<std::size_t>(index)]; }

    // A fresh fleet as the set-up leaves it before ships arrive.
    TFleet& EmptyFleet(int index) {
        TFleet& f = Fleet(index);
        f = TFleet{};
        f.Speed = 255;
        return f;
    }

    void Add(TFleet& fleet, int class_index, const std::string& name,
             std::array<std::int32_t, 3> aboard = {}) {
        SideFileValues v;
        v.Aircraft = aboard;
        ASSERT_TRUE(AddShip(*state_, fleet, class_index, name, v));
        TShip& ship = fleet.Ships[static_cast<std::size_t>(fleet.ShipCount - 1)];
        for (std::size_t j = 0; j < 3; ++j) ship.AircraftAboard[j] = aboard[j];
    }

    std::vector<std::string> Names(const TFleet& fleet) {
        std::vector<std::string> names;
        for (int i = 0; i < fleet.ShipCount; ++i) {
            names.push_back(fleet.Ships[static_cast<std::size_t>(i)].Name.str());
        }
        return names;
    }

    std::unique_ptr<GameState> state_;
};

TEST_F(FleetOpsTest, OtherSideSwapsPlayerAndComputer) {
    EXPECT_EQ(OtherSide(*state_, 0), 1);
    EXPECT_EQ(OtherSide(*state_, 1), 0);
    EXPECT_EQ(OtherSide(*state_, 7), 0);  // anything but the player's side counts as the computer's
}

TEST_F(FleetOpsTest, AddShipCopiesClassAndSideFileValues) {
    TFleet& fleet = EmptyFleet(0);
    SideFileValues v;
    v.Supplies = 300;
    v.SuppressionResistance = 3;
    v.FireControl = 6;
    v.Aircraft = {20, 18, 4};
    v.AircraftType = {0, 1, 2};
    ASSERT_TRUE(AddShip(*state_, fleet, kCarrierClass, "天鷹", v));

    const TShip& s = fleet.Ships[0];
    const TShip& c = state_->ShipClassTable[kCarrierClass];
    EXPECT_EQ(fleet.ShipCount, 1);
    EXPECT_EQ(s.Name.str(), "天鷹");
    EXPECT_EQ(s.ClassIndex, kCarrierClass);
    EXPECT_EQ(s.CaptureTurn, -1);
    EXPECT_EQ(s.Loaded, 1);
    EXPECT_EQ(s.Durability, c.Durability);
    EXPECT_EQ(s.MissileLoad, c.MissileLoad);
    EXPECT_EQ(s.AircraftCapacity, c.AircraftCapacity);
    EXPECT_EQ(s.DeckStandby, c.DeckStandby);
    EXPECT_EQ(s.AreaDefence, c.AreaDefence);
    EXPECT_EQ(s.PointDefence, c.PointDefence);
    EXPECT_EQ(s.ReconAircraft, c.ReconAircraft);
    EXPECT_EQ(s.ClassValue16, c.ClassValue16);
    EXPECT_EQ(s.ClassCode, c.ClassCode);
    EXPECT_EQ(s.ElectronicWarfare, c.ElectronicWarfare);
    EXPECT_EQ(s.ElectronicWarfareNow, c.ElectronicWarfare);
    EXPECT_EQ(s.AswSensor, c.AswSensor);
    EXPECT_EQ(s.AswAttackPatrol, c.AswAttackPatrol);
    EXPECT_EQ(s.AswAttackMoving, c.AswAttackMoving);
    EXPECT_EQ(s.MainGun, c.MainGun);
    EXPECT_EQ(s.SecondaryGun, c.SecondaryGun);
    EXPECT_EQ(s.SideArmour, 13);
    EXPECT_EQ(s.DeckArmour, 14);
    EXPECT_EQ(s.MainGunRange, 0);
    EXPECT_EQ(s.Speed, c.Speed);
    EXPECT_EQ(s.Supplies, 300);
    EXPECT_EQ(s.SuppressionResistance, 3);
    EXPECT_EQ(s.FireControl, 6);
    EXPECT_EQ(s.AircraftAboardAtStart, (std::array<std::int32_t, kCategories>{20, 18, 4, 0, 0, 0}));
    EXPECT_EQ(s.AircraftTypesAboard, (std::array<std::int32_t, 3>{0, 1, 2}));
    EXPECT_EQ(s.AircraftAboard, (std::array<std::int32_t, kCategories>{}));  // the reader sets them
}

struct FleetSpeedCase {
    int fleet_speed;
    int class_index;
    int expected;
};

class AddShipSpeed : public FleetOpsTest, public ::testing::WithParamInterface<FleetSpeedCase> {};

TEST_P(AddShipSpeed, FleetTakesTheSlowerSpeed) {
    TFleet& fleet = EmptyFleet(0);
    fleet.Speed = static_cast<std::uint8_t>(GetParam().fleet_speed);
    Add(fleet, GetParam().class_index, "ship");
    EXPECT_EQ(fleet.Speed, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, AddShipSpeed,
                         ::testing::Values(FleetSpeedCase{255, kDestroyerClass, 34},
                                           FleetSpeedCase{20, kDestroyerClass, 20},
                                           FleetSpeedCase{34, kDestroyerClass, 34},
                                           FleetSpeedCase{255, kBaseClass, 0}));

TEST_F(FleetOpsTest, AddShipRefusesA42ndShip) {
    TFleet& fleet = EmptyFleet(0);
    for (int i = 0; i < kShipSlots; ++i) Add(fleet, kDestroyerClass, "dd" + std::to_string(i));
    EXPECT_FALSE(AddShip(*state_, fleet, kDestroyerClass, "one too many", {}));
    EXPECT_EQ(fleet.ShipCount, kShipSlots);
    EXPECT_EQ(fleet.Ships[kShipSlots - 1].Name.str(), "dd40");
}

TEST_F(FleetOpsTest, AddShipCutsTheNameAt40Bytes) {
    TFleet& fleet = EmptyFleet(0);
    Add(fleet, kDestroyerClass, std::string(45, 'N'));
    EXPECT_EQ(fleet.Ships[0].Name.str(), std::string(40, 'N'));
}

TEST_F(FleetOpsTest, ShipAddedIntoAFreedSlotStartsClean) {
    TFleet& fleet = EmptyFleet(0);
    Add(fleet, kBaseClass, "old");
    TShip& old = fleet.Ships[0];
    old.DeckState = 4;
    old.Suppression = 2;
    old.Manoeuvre = 2;
    old.MainGunTarget = "敵艦";
    old.ShipNote = "note";
    old.AircraftTypesSpare = {5, 5, 5};
    RemoveShip(0, fleet);

    Add(fleet, kDestroyerClass, "new");
    const TShip& s = fleet.Ships[0];
    EXPECT_EQ(s.DeckState, 0);
    EXPECT_EQ(s.Suppression, 0);
    EXPECT_EQ(s.Manoeuvre, 0);
    EXPECT_EQ(s.MainGunTarget, "");
    EXPECT_EQ(s.ShipNote, "");
    EXPECT_EQ(s.AircraftTypesSpare, (std::array<std::int32_t, 3>{}));
}

struct RemoveCase {
    int slot;
    std::vector<std::string> remaining;
    int speed;
};

class RemoveShipGap : public FleetOpsTest, public ::testing::WithParamInterface<RemoveCase> {};

TEST_P(RemoveShipGap, ClosesTheGapAndRecomputesSpeed) {
    TFleet& fleet = EmptyFleet(0);
    Add(fleet, kCarrierClass, "A");    // speed 30
    Add(fleet, kTransportClass, "B");  // speed 16
    Add(fleet, kDestroyerClass, "C");  // speed 34
    std::uint8_t returned = RemoveShip(GetParam().slot, fleet);
    EXPECT_EQ(Names(fleet), GetParam().remaining);
    EXPECT_EQ(fleet.Speed, GetParam().speed);
    EXPECT_EQ(returned, GetParam().speed);

    const TShip& freed = fleet.Ships[2];
    EXPECT_EQ(freed.ClassIndex, -1);
    EXPECT_EQ(freed.Name.str(), "");
    EXPECT_EQ(freed.Durability, 0);
    EXPECT_EQ(freed.Speed, 0);
    EXPECT_EQ(freed.AircraftCapacity, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, RemoveShipGap,
                         ::testing::Values(RemoveCase{0, {"B", "C"}, 16},
                                           RemoveCase{1, {"A", "C"}, 30},
                                           RemoveCase{2, {"A", "B"}, 16}));

TEST_F(FleetOpsTest, RemovingTheLastShipLeavesSpeed231) {
    TFleet& fleet = EmptyFleet(0);
    Add(fleet, kDestroyerClass, "only", {3, 2, 1});
    EXPECT_EQ(RemoveShip(0, fleet), 231);
    EXPECT_EQ(fleet.ShipCount, 0);
    EXPECT_EQ(fleet.Speed, 231);
    EXPECT_EQ(fleet.Ships[0].AircraftAboard, (std::array<std::int32_t, kCategories>{}));
    EXPECT_EQ(fleet.Ships[0].AircraftAboardAtStart, (std::array<std::int32_t, kCategories>{}));
}

TEST_F(FleetOpsTest, RemoveShipIgnoresASlotOutsideTheFleet) {
    TFleet& fleet = EmptyFleet(0);
    Add(fleet, kDestroyerClass, "A");
    RemoveShip(1, fleet);
    RemoveShip(-1, fleet);
    EXPECT_EQ(Names(fleet), std::vector<std::string>{"A"});
}

TEST_F(FleetOpsTest, ClearFleetsEmptiesEveryFleetEvenWithABrokenCount) {
    Add(EmptyFleet(0), kDestroyerClass, "A");
    Add(Fleet(0), kDestroyerClass, "B");
    Add(EmptyFleet(24), kBaseClass, "C");
    Fleet(5).ShipCount = 99;  // as a broken save could leave it
    ClearFleets(*state_);
    for (const TFleet& f : state_->FleetTable) EXPECT_EQ(f.ShipCount, 0);
    EXPECT_EQ(Fleet(0).Ships[0].ClassIndex, -1);
}

struct NameCase {
    const char* name;
    int expected;
};

class ClassByName : public FleetOpsTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(ClassByName, FindsTheFirstExactMatchOrFallsBackToZero) {
    state_->ShipClassTable[4].Name = "予備";
    EXPECT_EQ(ClassIndexByName(*state_, GetParam().name), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClassByName,
                         ::testing::Values(NameCase{"霞雲", kDestroyerClass},
                                           NameCase{"北浜基地", kBaseClass},
                                           NameCase{"存在しない", 0},
                                           NameCase{"霞", 0},    // no prefix match
                                           NameCase{"予備", 0},  // beyond ShipClassLast
                                           NameCase{"", 0}));

TEST_F(FleetOpsTest, ClassIndexByNameComparesBytesExactly) {
    state_->ShipClassTable[2].Name = "Alpha";
    EXPECT_EQ(ClassIndexByName(*state_, "Alpha"), 2);
    EXPECT_EQ(ClassIndexByName(*state_, "alpha"), 0);
}

TEST_F(FleetOpsTest, ClassIndexByNameWithNoClassesLoaded) {
    state_->ShipClassLast = -1;
    EXPECT_EQ(ClassIndexByName(*state_, "天鷹"), 0);
}

struct InstallationCase {
    std::vector<int> classes;
    bool expected;
};

class HasInstallation : public FleetOpsTest,
                        public ::testing::WithParamInterface<InstallationCase> {};

TEST_P(HasInstallation, TrueWhenAnyShipIsABaseOrAaSite) {
    state_->ShipClassTable[5].Name = "岬高射陣地";
    state_->ShipClassTable[5].ClassIndex = kAntiAircraftSite;
    state_->ShipClassLast = 5;
    TFleet& fleet = EmptyFleet(3);
    for (int c : GetParam().classes) Add(fleet, c, "s");
    EXPECT_EQ(FleetHasInstallation(*state_, fleet), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HasInstallation,
    ::testing::Values(InstallationCase{{}, false},
                      InstallationCase{{kCarrierClass, kDestroyerClass, kTransportClass}, false},
                      InstallationCase{{kDestroyerClass, kBaseClass}, true},
                      InstallationCase{{5}, true}));

TEST_F(FleetOpsTest, InstallationBeyondShipCountDoesNotCount) {
    TFleet& fleet = EmptyFleet(3);
    Add(fleet, kDestroyerClass, "dd");
    fleet.Ships[1].ClassIndex = kBaseClass;  // stale slot
    EXPECT_FALSE(FleetHasInstallation(*state_, fleet));
}

// TransferShip: source fleet S (fleet 1) with a carrier and a destroyer,
// destination D (fleet 7).
class TransferShipTest : public FleetOpsTest {
  protected:
    TransferShipTest() {
        TFleet& s = EmptyFleet(1);
        s.Side = 0;
        s.LastSighting = {100, 200, 3};
        Add(s, kCarrierClass, "carrier", {2, 2, 2});
        Add(s, kDestroyerClass, "escort", {2, 2, 2});
        EmptyFleet(7);
    }
    TFleet& Source() { return Fleet(1); }
    TFleet& Destination() { return Fleet(7); }
    bool Move(int slot) { return TransferShip(*state_, slot, 7, Source(), Destination()); }
};

TEST_F(TransferShipTest, MovesTheShipAndMarksTheDestination) {
    Source().Ships[1].Speed = 12;
    ASSERT_TRUE(Move(1));
    EXPECT_EQ(Names(Source()), std::vector<std::string>{"carrier"});
    EXPECT_EQ(Names(Destination()), std::vector<std::string>{"escort"});
    EXPECT_EQ(Destination().Active, 1);
    EXPECT_EQ(Destination().Number, 7);
    EXPECT_EQ(Destination().Side, 0);
    EXPECT_EQ(Destination().LastSighting, (std::array<std::int32_t, 3>{100, 200, 3}));
    EXPECT_EQ(Destination().Speed, 12);
    EXPECT_EQ(Source().Speed, 30);
}

TEST_F(TransferShipTest, DestinationTakesTheSourceSide) {
    Source().Side = 1;
    ASSERT_TRUE(Move(0));
    EXPECT_EQ(Destination().Side, 1);
}

TEST_F(TransferShipTest, RefusesAnEmptySlotOrAFullDestination) {
    EXPECT_FALSE(Move(2));
    for (int i = 0; i < kShipSlots; ++i) Add(Destination(), kDestroyerClass, "x");
    EXPECT_FALSE(Move(0));
    EXPECT_EQ(Source().ShipCount, 2);
}

struct HangarShareCase {
    std::int32_t moving_aboard;  // the moving ship's aircraft; the other ship keeps 2
    std::int32_t hangar;
    std::int32_t moved;
};

class TransferHangarShare : public TransferShipTest,
                            public ::testing::WithParamInterface<HangarShareCase> {};

// share = aboard / total aboard x hangar, rounded half to even.
TEST_P(TransferHangarShare, MovesTheShipsShareOfEachHangar) {
    const auto& c = GetParam();
    Source().Ships[0].AircraftAboard.fill(2);
    for (std::size_t j = 0; j < kCategories; ++j) {
        Source().Ships[1].AircraftAboard[j] = c.moving_aboard;
        Source().HangarCounts[j] = c.hangar;
    }
    ASSERT_TRUE(Move(1));
    for (std::size_t j = 0; j < kCategories; ++j) {
        EXPECT_EQ(Destination().HangarCounts[j], c.moved) << "category " << j;
        EXPECT_EQ(Source().HangarCounts[j], c.hangar - c.moved) << "category " << j;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TransferHangarShare,
                         ::testing::Values(HangarShareCase{2, 5, 2},   // 2.5 -> 2
                                           HangarShareCase{2, 7, 4},   // 3.5 -> 4
                                           HangarShareCase{2, 6, 3},   // exactly half
                                           HangarShareCase{1, 10, 3},  // 3.33 -> 3
                                           HangarShareCase{2, 0, 0}, HangarShareCase{0, 9, 0},
                                           HangarShareCase{6, 8, 6}));  // 6.0

TEST_F(TransferShipTest, NoAircraftAboardMovesNoHangar) {
    for (int i = 0; i < 2; ++i) Source().Ships[static_cast<std::size_t>(i)].AircraftAboard.fill(0);
    Source().HangarCounts.fill(9);
    ASSERT_TRUE(Move(0));
    EXPECT_EQ(Destination().HangarCounts, (std::array<std::int32_t, kCategories>{}));
    EXPECT_EQ(Source().HangarCounts[0], 9);
}

struct AirUnitShareCase {
    std::int32_t carrier_at_start;  // AircraftAboardAtStart of the carrier
    std::int32_t moving_aboard;     // AircraftAboard of the moving ship
    std::int32_t unit_count;        // each air unit's count in the source
    std::int32_t gained;
};

class TransferAirUnitShare : public TransferShipTest,
                             public ::testing::WithParamInterface<AirUnitShareCase> {};

// Only carriers' AircraftAboardAtStart make the total C; the escort's do not.
TEST_P(TransferAirUnitShare, DestinationUnitsGainTheShipsShare) {
    const auto& c = GetParam();
    Source().Ships[0].AircraftAboardAtStart.fill(c.carrier_at_start);
    Source().Ships[1].AircraftAboardAtStart.fill(50);
    Source().Ships[1].AircraftAboard.fill(c.moving_aboard);
    for (auto& unit : Source().AirUnits) unit.Counts.fill(c.unit_count);
    for (auto& unit : Destination().AirUnits) unit.Counts.fill(1);
    ASSERT_TRUE(Move(1));
    for (std::size_t k = 0; k < kAirUnitSlots; ++k) {
        for (std::size_t j = 0; j < kCategories; ++j) {
            EXPECT_EQ(Destination().AirUnits[k].Counts[j], 1 + c.gained) << k << "/" << j;
            EXPECT_EQ(Source().AirUnits[k].Counts[j], c.unit_count) << "source is not reduced";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TransferAirUnitShare,
                         ::testing::Values(AirUnitShareCase{4, 2, 5, 2},    // 2.5 -> 2
                                           AirUnitShareCase{4, 2, 7, 4},    // 3.5 -> 4
                                           AirUnitShareCase{4, 1, 6, 2},    // 1.5 -> 2
                                           AirUnitShareCase{0, 2, 7, 0},    // no carrier total
                                           AirUnitShareCase{2, 4, 3, 6}));  // may exceed the unit

TEST_F(TransferShipTest, CarrierTotalCountsOnlyCarrierClasses) {
    // The escort's own AtStart would halve the share if it were counted.
    Source().Ships[0].AircraftAboardAtStart = {4, 0, 0, 0, 0, 0};
    Source().Ships[1].AircraftAboardAtStart = {4, 0, 0, 0, 0, 0};
    Source().Ships[1].AircraftAboard = {2, 0, 0, 0, 0, 0};
    Source().AirUnits[0].Counts[0] = 8;
    ASSERT_TRUE(Move(1));
    EXPECT_EQ(Destination().AirUnits[0].Counts[0], 4);
}

struct LaunchCase {
    int turn;
    std::uint8_t side;
    std::vector<int> shared_turns;  // indices of the launch arrays that gain a share
};

class TransferLaunches : public TransferShipTest,
                         public ::testing::WithParamInterface<LaunchCase> {};

// Carrier totals C = {4, 8, 2}; the moving ship has {2, 4, 1} aboard, so it
// takes half of each launch; the source arrays hold 10 + index.
TEST_P(TransferLaunches, SharesTheLastThreeTurnsOfPatrolAndScoutLaunches) {
    const auto& c = GetParam();
    state_->Turn = c.turn;
    Source().Side = c.side;
    Source().Ships[0].AircraftAboardAtStart = {4, 8, 2, 0, 0, 0};
    Source().Ships[1].AircraftAboardAtStart.fill(0);
    Source().Ships[1].AircraftAboard = {2, 4, 1, 0, 0, 0};
    for (std::size_t t = 0; t < kLaunchTurns; ++t) {
        Source().CapLaunched[t] = static_cast<std::int32_t>(10 + t);
        Source().ScoutLaunched[t] = static_cast<std::int32_t>(20 + t);
    }
    ASSERT_TRUE(Move(1));

    for (int t = 0; t < kLaunchTurns; ++t) {
        bool shared =
            std::find(c.shared_turns.begin(), c.shared_turns.end(), t) != c.shared_turns.end();
        auto i = static_cast<std::size_t>(t);
        // Half of 10 + t, rounded half to even.
        auto half = [](int v) { return v % 4 == 1 ? v / 2 : (v + 1) / 2; };
        EXPECT_EQ(Destination().CapLaunched[i], shared ? half(10 + t) : 0) << "turn " << t;
        EXPECT_EQ(Destination().ScoutLaunched[i], shared ? half(20 + t) : 0) << "turn " << t;
        EXPECT_EQ(Source().CapLaunched[i], 10 + t) << "source is not reduced";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, TransferLaunches,
                         ::testing::Values(LaunchCase{5, 0, {3, 4, 5}}, LaunchCase{5, 1, {3, 4, 5}},
                                           LaunchCase{1, 0, {0, 1}},  // turn -1 does not exist
                                           LaunchCase{201, 0, {199, 200, 0}}
                                           // past 200 the arrays wrap
                                           ));

TEST_F(TransferShipTest, ScoutShareUsesAttackAircraftForTheComputer) {
    state_->Turn = 5;
    Source().Ships[0].AircraftAboardAtStart = {0, 4, 8, 0, 0, 0};
    Source().Ships[1].AircraftAboardAtStart.fill(0);
    Source().Ships[1].AircraftAboard = {0, 1, 4, 0, 0, 0};  // a quarter of C[1], half of C[2]
    Source().ScoutLaunched[5] = 40;

    Source().Side = 1;
    ASSERT_TRUE(Move(1));
    EXPECT_EQ(Destination().ScoutLaunched[5], 10);
    EXPECT_EQ(Destination().CapLaunched[5], 0);  // C[0] is 0: no patrol share
}

TEST_F(TransferShipTest, ScoutShareUsesSearchAircraftForThePlayer) {
    state_->Turn = 5;
    Source().Ships[0].AircraftAboardAtStart = {0, 4, 8, 0, 0, 0};
    Source().Ships[1].AircraftAboardAtStart.fill(0);
    Source().Ships[1].AircraftAboard = {0, 1, 4, 0, 0, 0};
    Source().ScoutLaunched[5] = 40;

    Source().Side = 0;
    ASSERT_TRUE(Move(1));
    EXPECT_EQ(Destination().ScoutLaunched[5], 20);
}

struct LaunchIndexCase {
    int turn;
    int index;
};

class LaunchIndexOf : public ::testing::TestWithParam<LaunchIndexCase> {};

TEST_P(LaunchIndexOf, WrapsPastTheLastSlot) {
    EXPECT_EQ(LaunchIndex(GetParam().turn), GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(Cases, LaunchIndexOf,
                         ::testing::Values(LaunchIndexCase{-1, -1}, LaunchIndexCase{0, 0},
                                           LaunchIndexCase{200, 200}, LaunchIndexCase{201, 0},
                                           LaunchIndexCase{405, 3}));

}  // namespace
}  // namespace velmora
