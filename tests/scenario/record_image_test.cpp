#include "scenario/record_image.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/text.h"

namespace velmora {
namespace {

using Image = std::vector<std::uint8_t>;

// Gives every field its own value, so a field written at the wrong offset or
// left out shows as a difference after a round trip.
class Filler {
  public:
    explicit Filler(int seed) : next_(seed * 1000) {}

    std::int32_t Int() {
        int n = ++next_;
        return (n % 2 ? -n : n) * 7919;
    }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(++next_ % 251 + 1); }
    std::string Text() { return "文" + std::to_string(++next_) + "テキスト"; }
    std::string Short() { return "艦" + std::to_string(++next_); }

    template <typename Array>
    void Ints(Array& a) {
        for (auto& v : a) v = Int();
    }
    template <typename Array>
    void Bytes(Array& a) {
        for (auto& v : a) v = Byte();
    }

  private:
    int next_;
};

TShip FullShip(int seed) {
    Filler f(seed);
    TShip s;
    s.ModelName = f.Short();
    s.ModelName2 = f.Short();
    s.WeaponKey = f.Short();
    s.ClassTitle = f.Short();
    s.ClassCode = "C" + std::to_string(seed);
    s.Loaded = f.Byte();
    s.ModelFile = f.Short();
    s.ElectronicWarfare = f.Int();
    s.ElectronicWarfareNow = f.Int();
    s.AswSensor = f.Int();
    s.AswAttackPatrol = f.Int();
    s.AswAttackMoving = f.Int();
    s.CombatStance = f.Byte();
    s.CaptureTurn = f.Int();
    s.SuppressionResistance = f.Int();
    s.Suppression = f.Byte();
    s.ClassValue16 = f.Int();
    s.Manoeuvre = f.Int();
    s.MainGunTarget = f.Text();
    s.SecondaryGunTarget = f.Text();
    s.FireControl = f.Int();
    s.ClassIndex = f.Int();
    s.Name = f.Short();
    s.AircraftCapacity = f.Int();
    s.DeckStandby = f.Byte();
    s.DeckState = f.Byte();
    s.MainGun = f.Byte();
    s.MainGunRange = f.Byte();
    s.SecondaryGun = f.Byte();
    s.SecondaryGunRange = f.Byte();
    s.MissileLoad = f.Int();
    s.SideArmour = f.Byte();
    s.DeckArmour = f.Byte();
    s.AreaDefence = f.Int();
    s.PointDefence = f.Int();
    s.Durability = f.Int();
    s.Speed = f.Byte();
    f.Ints(s.AircraftTypesAboard);
    f.Ints(s.AircraftTypesSpare);
    f.Ints(s.AircraftAboard);
    f.Ints(s.AircraftAboardAtStart);
    s.ReconAircraft = f.Int();
    s.Supplies = f.Int();
    s.ShipNote = f.Text();
    return s;
}

TAirUnit FullAirUnit(int seed) {
    Filler f(seed);
    TAirUnit u;
    f.Ints(u.Counts);
    f.Bytes(u.AircraftTypes);
    u.TargetGroup = f.Int();
    f.Ints(u.TargetRequest);
    u.StrikeTarget = f.Byte();
    u.AttackKind = f.Int();
    u.State = f.Byte();
    u.UnitNumber = f.Byte();
    u.Tagged = f.Byte();
    u.SalvoModel = f.Short();
    u.SalvoModel2 = f.Short();
    u.WeaponKey = f.Short();
    return u;
}

std::unique_ptr<TFleet> FullFleet() {
    Filler f(7);
    auto fleet = std::make_unique<TFleet>();
    TFleet& t = *fleet;
    t.Commander = "山城提督";
    t.MissileSalvo = FullAirUnit(8);
    t.FlagshipWeapon = "SSM-7";
    t.MissileSalvo.WeaponKey = t.FlagshipWeapon;  // one field in the image
    t.AswTarget = f.Int();
    t.VtFuseFactor = 1.375;
    t.LaunchCounter = f.Byte();
    t.TurnScratch = f.Int();
    t.Detour = f.Int();
    t.Stance = f.Int();
    t.Reserved328 = f.Int();
    t.TrackedFleet = f.Byte();
    t.Name = "第一艦隊";
    for (auto& p : t.Route) p = {f.Int(), f.Int()};
    t.RouteLength = f.Int();
    f.Ints(t.LastSighting);
    t.Number = f.Byte();
    t.SeenThisTurn = f.Byte();
    t.EngagedFleet = f.Int();
    t.Position = {f.Int(), f.Int()};
    t.Destination = {f.Int(), f.Int()};
    for (std::size_t i = 0; i < t.Ships.size(); ++i)
        t.Ships[i] = FullShip(100 + static_cast<int>(i));
    t.ShipCount = f.Int();
    t.Active = f.Byte();
    t.Side = f.Byte();
    t.Speed = f.Byte();
    t.Reserved19852 = f.Int();
    f.Ints(t.HangarCounts);
    for (std::size_t k = 0; k < t.AirUnits.size(); ++k)
        t.AirUnits[k] = FullAirUnit(200 + static_cast<int>(k));
    f.Ints(t.Reserved21440);
    f.Ints(t.LossTallies);
    f.Bytes(t.TypeSuppression);
    f.Bytes(t.TypeSuppressionTail);
    f.Ints(t.AirTypes);
    t.DetectLevel = f.Int();
    f.Ints(t.CapLaunched);
    t.CapReady = f.Int();
    t.CapType = f.Int();
    f.Ints(t.ScoutLaunched);
    t.ScoutReady = f.Int();
    t.ScoutType = f.Int();
    t.TargetFleet = f.Int();
    t.Designation = std::string(120, 'x') + "イロハ";
    f.Bytes(t.SearchSectors);
    f.Bytes(t.AswSectors);
    f.Ints(t.LandingPoints);
    return fleet;
}

AircraftType FullAircraftType() {
    Filler f(3);
    AircraftType a;
    a.Name = std::string(200, 'K') + "長い名前";
    a.TypeText1 = f.Short();
    a.MissilesPerAircraft = f.Int();
    a.DisplayName = f.Short();
    a.OrdnanceName = f.Short();
    a.StealthClass = "ビジュアルステルス";
    a.AircraftModelFile = "plane.mqo";
    a.ElectronicWarfareCopy = f.Int();
    a.Column7 = f.Int();
    a.Description = std::string(50, 'D');
    a.TypeNumber = f.Int();
    a.Evasion = f.Int();
    a.AttackPower = f.Int();
    a.Range = f.Int();
    a.BombPower = f.Int();
    a.BombAccuracy = f.Int();
    a.TorpedoPower = f.Int();
    a.TorpedoAccuracy = f.Int();
    a.ElectronicWarfare = f.Int();
    a.AswSensor = f.Int();
    a.AswPower = f.Int();
    return a;
}

TEData FullEvent() {
    Filler f(4);
    TEData e;
    for (auto& s : e.SpeechText) s = f.Text();
    for (auto& s : e.SpeakerName) s = f.Text();
    e.SpeechText[50] = "";  // empty texts keep slot 0
    e.LineCount = f.Int();
    e.MusicFile = "Midi\\opening.mid";
    return e;
}

TTelop FullTelop() {
    Filler f(5);
    TTelop t;
    for (auto& s : t.Lines) s = f.Text();
    t.LineCount = f.Byte();
    t.NextLine = f.Byte();
    return t;
}

TGameContine FullContinue() {
    return {12345, "次の作戦.snr", "撤退.snr"};
}

template <typename Record, typename Write, typename Read>
void ExpectRoundTrip(const Record& original, std::size_t size, Write write, Read read) {
    StringTable texts;
    Image image(size, 0xAA);
    write(original, std::span<std::uint8_t>(image), texts);
    auto copy = std::make_unique<Record>();
    StringTable stored(texts.Entries());  // as a save file would carry the table
    read(std::span<const std::uint8_t>(image), *copy, stored);
    EXPECT_TRUE(*copy == original);
}

TEST(RecordImage, ShipRoundTrips) {
    ExpectRoundTrip(FullShip(1), kShipImageSize, WriteShipImage, ReadShipImage);
}

TEST(RecordImage, AirUnitRoundTrips) {
    ExpectRoundTrip(FullAirUnit(2), kAirUnitImageSize, WriteAirUnitImage, ReadAirUnitImage);
}

TEST(RecordImage, FleetRoundTrips) {
    ExpectRoundTrip(*FullFleet(), kFleetImageSize, WriteFleetImage, ReadFleetImage);
}

TEST(RecordImage, AircraftTypeRoundTrips) {
    ExpectRoundTrip(FullAircraftType(), kAircraftTypeImageSize, WriteAircraftTypeImage,
                    ReadAircraftTypeImage);
}

TEST(RecordImage, EventRoundTrips) {
    ExpectRoundTrip(FullEvent(), kEventImageSize, WriteEventImage, ReadEventImage);
}

TEST(RecordImage, TelopRoundTrips) {
    ExpectRoundTrip(FullTelop(), kTelopImageSize, WriteTelopImage, ReadTelopImage);
}

TEST(RecordImage, ContinueRoundTrips) {
    ExpectRoundTrip(FullContinue(), kContinueImageSize, WriteContinueImage, ReadContinueImage);
}

std::int32_t Int32At(const Image& image, std::size_t offset) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(image[offset + i]) << (8 * i);
    return static_cast<std::int32_t>(v);
}

Image ShipImage(const TShip& ship, StringTable& texts) {
    Image image(kShipImageSize, 0xAA);
    WriteShipImage(ship, image, texts);
    return image;
}

Image FleetImage(const TFleet& fleet, StringTable& texts) {
    Image image(kFleetImageSize, 0xAA);
    WriteFleetImage(fleet, image, texts);
    return image;
}

TEST(RecordImage, ShipFieldsSitAtTheirOffsets) {
    TShip ship;
    ship.Durability = -123456;
    ship.Speed = 34;
    ship.ClassIndex = 7;
    ship.Name = "霞雲";
    ship.Supplies = 0x01020304;
    ship.MainGunTarget = "標的";
    StringTable texts;
    Image image = ShipImage(ship, texts);

    EXPECT_EQ(Int32At(image, 364), -123456);
    EXPECT_EQ(image[369], 34);
    EXPECT_EQ(Int32At(image, 280), 7);
    EXPECT_EQ(image[448], 0x04);  // little-endian
    EXPECT_EQ(image[451], 0x01);
    std::string name = Cp932FromUtf8("霞雲");
    ASSERT_EQ(image[285], name.size());  // the length byte counts CP932 bytes
    EXPECT_EQ(std::string(image.begin() + 286, image.begin() + 286 + 4), name);
    EXPECT_EQ(texts.Load(static_cast<std::uint32_t>(Int32At(image, 260))), "標的");
    EXPECT_EQ(Int32At(image, 264), 0);  // empty text: slot 0
}

TEST(RecordImage, FleetFieldsSitAtTheirOffsets) {
    auto fleet = std::make_unique<TFleet>();
    fleet->Position = {640, 480};
    fleet->ShipCount = 3;
    fleet->Ships[1].Durability = 77;
    fleet->AirUnits[2].Counts[0] = 12;
    fleet->VtFuseFactor = 1.5;
    fleet->CapLaunched[200] = 9;
    fleet->LandingPoints = {300, 40};
    fleet->TypeSuppressionTail = {1, 2, 3};
    StringTable texts;
    Image image = FleetImage(*fleet, texts);

    EXPECT_EQ(Int32At(image, 800), 640);
    EXPECT_EQ(Int32At(image, 804), 480);
    EXPECT_EQ(Int32At(image, 19844), 3);
    EXPECT_EQ(Int32At(image, 820 + kShipImageSize + 364), 77);
    EXPECT_EQ(Int32At(image, 19880 + 2 * kAirUnitImageSize), 12);
    EXPECT_EQ(Int32At(image, 21516 + 4 * 200), 9);
    EXPECT_EQ(Int32At(image, 23420), 300);
    EXPECT_EQ(Int32At(image, 23424), 40);
    EXPECT_EQ(image[21481], 1);
    EXPECT_EQ(image[21483], 3);
    // 1.5 is 0x3FF8000000000000.
    EXPECT_EQ(image[304 + 7], 0x3F);
    EXPECT_EQ(image[304 + 6], 0xF8);
}

TEST(RecordImage, FlagshipWeaponSharesTheSalvoWeaponKeyBytes) {
    auto fleet = std::make_unique<TFleet>();
    fleet->MissileSalvo.WeaponKey = "OLD";
    fleet->FlagshipWeapon = "SSM-7";
    StringTable texts;
    Image image = FleetImage(*fleet, texts);
    EXPECT_EQ(image[250], 5);
    EXPECT_EQ(image[32 + 218], 5);

    auto read = std::make_unique<TFleet>();
    ReadFleetImage(image, *read, texts);
    EXPECT_EQ(read->FlagshipWeapon.str(), "SSM-7");
    EXPECT_EQ(read->MissileSalvo.WeaponKey.str(), "SSM-7");
}

struct GapCase {
    const char* record;
    std::size_t first;
    std::size_t last;
};

class RecordImageGaps : public ::testing::TestWithParam<GapCase> {};

// Bytes that belong to no field are zero, whatever the buffer held before.
TEST_P(RecordImageGaps, AreZero) {
    const auto& c = GetParam();
    StringTable texts;
    Image image;
    std::string record = c.record;
    if (record == "TShip") {
        image = ShipImage(FullShip(1), texts);
    } else if (record == "TFleet") {
        image = FleetImage(*FullFleet(), texts);
    } else if (record == "TAirUnit") {
        image.assign(kAirUnitImageSize, 0xAA);
        WriteAirUnitImage(FullAirUnit(1), image, texts);
    } else {
        image.assign(kAircraftTypeImageSize, 0xAA);
        WriteAircraftTypeImage(FullAircraftType(), image, texts);
    }
    for (std::size_t i = c.first; i <= c.last; ++i)
        EXPECT_EQ(image[i], 0) << record << " byte " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RecordImageGaps,
    ::testing::Values(
        GapCase{"TShip", 197, 199}, GapCase{"TShip", 221, 223}, GapCase{"TShip", 240, 247},
        GapCase{"TShip", 252, 259}, GapCase{"TShip", 268, 271}, GapCase{"TShip", 276, 279},
        GapCase{"TShip", 326, 327}, GapCase{"TShip", 332, 335}, GapCase{"TShip", 360, 363},
        GapCase{"TShip", 370, 371}, GapCase{"TShip", 456, 463}, GapCase{"TAirUnit", 30, 31},
        GapCase{"TAirUnit", 84, 135}, GapCase{"TAirUnit", 259, 259}, GapCase{"TFleet", 296, 303},
        GapCase{"TFleet", 790, 795}, GapCase{"TFleet", 816, 819}, GapCase{"TFleet", 19851, 19851},
        GapCase{"TFleet", 21508, 21511}, GapCase{"TFleet", 23400, 23403},
        GapCase{"TFleet", 23428, 23431}, GapCase{"AircraftType", 287, 287},
        GapCase{"AircraftType", 475, 475}));

TEST(RecordImage, DefaultRecordWritesAnAllZeroImage) {
    StringTable texts;
    Image image = ShipImage(TShip{}, texts);
    EXPECT_EQ(image, Image(kShipImageSize, 0));
    EXPECT_TRUE(texts.Entries().empty());
}

TEST(RecordImage, LengthByteBeyondCapacityReadsAtMostCapacity) {
    // WeaponKey is the last field of the air unit: string[40] at 218..258.
    Image image(kAirUnitImageSize, 0);
    image[218] = 255;
    for (std::size_t i = 219; i < kAirUnitImageSize; ++i) image[i] = 'W';
    StringTable texts;
    TAirUnit unit;
    ReadAirUnitImage(image, unit, texts);
    EXPECT_EQ(unit.WeaponKey.str(), std::string(40, 'W'));
}

TEST(RecordImage, HalfACharacterAtTheEndOfAStringDoesNotStopReading) {
    TShip ship;
    StringTable texts;
    Image image = ShipImage(ship, texts);
    std::string kanji = Cp932FromUtf8("霞");
    image[285] = 2;  // "A" and only the lead byte of a double-byte character
    image[286] = 'A';
    image[287] = static_cast<std::uint8_t>(kanji[0]);
    image[288] = static_cast<std::uint8_t>(kanji[1]);
    TShip read;
    ReadShipImage(image, read, texts);
    EXPECT_EQ(read.Name.str().substr(0, 1), "A");
    EXPECT_LE(Cp932Length(read.Name.str()), 40u);
}

TEST(RecordImage, GarbageFleetImageReadsWithinEveryCapacity) {
    Image image(kFleetImageSize);
    std::uint32_t x = 99;
    for (auto& b : image) {
        x = x * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(x >> 16);
    }
    StringTable texts({"a", "b"});
    auto fleet = std::make_unique<TFleet>();
    ASSERT_NO_THROW(ReadFleetImage(image, *fleet, texts));
    EXPECT_LE(Cp932Length(fleet->Commander.str()), 30u);
    EXPECT_LE(Cp932Length(fleet->Designation.str()), 255u);
    for (const TShip& ship : fleet->Ships) {
        EXPECT_LE(Cp932Length(ship.Name.str()), 40u);
        EXPECT_LE(Cp932Length(ship.ClassCode.str()), 10u);
    }
}

TEST(RecordImage, UnknownTextSlotReadsEmpty) {
    Image image(kContinueImageSize, 0);
    image[4] = 9;  // slot 9 of an empty table
    StringTable texts;
    TGameContine info{1, "stale", "stale"};
    ReadContinueImage(image, info, texts);
    EXPECT_EQ(info.WinNext, "");
    EXPECT_EQ(info.LoseNext, "");
}

TEST(RecordImage, ShortSpanIsRefused) {
    StringTable texts;
    Image small(kShipImageSize - 1);
    TShip ship;
    EXPECT_THROW(WriteShipImage(ship, small, texts), std::length_error);
    EXPECT_THROW(ReadShipImage(small, ship, texts), std::length_error);
    Image small_fleet(kFleetImageSize - 1);
    auto fleet = std::make_unique<TFleet>();
    EXPECT_THROW(ReadFleetImage(small_fleet, *fleet, texts), std::length_error);
}

TEST(RecordImage, LongerSpanUsesOnlyTheImageSize) {
    StringTable texts;
    Image image(kTelopImageSize + 4, 0xAA);
    WriteTelopImage(FullTelop(), image, texts);
    for (std::size_t i = kTelopImageSize; i < image.size(); ++i) EXPECT_EQ(image[i], 0xAA);
}

TEST(StringTableTest, NumbersTextsFromOneAndKeepsEmptyAtZero) {
    StringTable table;
    EXPECT_EQ(table.Store(""), 0u);
    EXPECT_EQ(table.Store("一"), 1u);
    EXPECT_EQ(table.Store("二"), 2u);
    EXPECT_EQ(table.Load(0), "");
    EXPECT_EQ(table.Load(1), "一");
    EXPECT_EQ(table.Load(2), "二");
    EXPECT_EQ(table.Load(3), "");
    EXPECT_EQ(table.Load(0xFFFFFFFFu), "");
    EXPECT_EQ(table.Entries(), (std::vector<std::string>{"一", "二"}));
}

}  // namespace
}  // namespace velmora
