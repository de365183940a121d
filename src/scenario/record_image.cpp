#include "scenario/record_image.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "model/text.h"

namespace velmora {

std::uint32_t StringTable::Store(const std::string& utf8) {
    if (utf8.empty()) return 0;
    entries_.push_back(utf8);
    return static_cast<std::uint32_t>(entries_.size());
}

std::string StringTable::Load(std::uint32_t slot) const {
    if (slot == 0 || slot > entries_.size()) return {};
    return entries_[slot - 1];
}

namespace {

void RequireSize(std::size_t have, std::size_t need, const char* record) {
    if (have < need) {
        throw std::length_error(std::string(record) + " image needs " + std::to_string(need) +
                                " bytes, got " + std::to_string(have));
    }
}

// The writer and the reader offer the same calls, so each record's layout
// below is written once and serves both directions.
class ImageWriter {
  public:
    ImageWriter(std::span<std::uint8_t> out, TextSlotWriter& texts, std::size_t base = 0)
        : out_(out), texts_(&texts), base_(base) {}

    ImageWriter At(std::size_t offset) const { return ImageWriter(out_, *texts_, base_ + offset); }

    void Int(std::size_t offset, std::int32_t v) { Put(offset, static_cast<std::uint32_t>(v), 4); }
    void Byte(std::size_t offset, std::uint8_t v) { Put(offset, v, 1); }
    void Double(std::size_t offset, double v) { Put(offset, std::bit_cast<std::uint64_t>(v), 8); }
    void Text(std::size_t offset, const std::string& v) { Put(offset, texts_->Store(v), 4); }

    template <std::size_t N>
    void String(std::size_t offset, const ShortString<N>& v) {
        std::string bytes = Cp932FromUtf8(v.str());
        std::size_t length = std::min(bytes.size(), N);
        Byte(offset, static_cast<std::uint8_t>(length));
        for (std::size_t i = 0; i < length; ++i) {
            Byte(offset + 1 + i, static_cast<std::uint8_t>(bytes[i]));
        }
    }

  private:
    void Put(std::size_t offset, std::uint64_t v, std::size_t width) {
        std::size_t at = base_ + offset;
        if (at + width > out_.size()) throw std::logic_error("record field outside its image");
        for (std::size_t i = 0; i < width; ++i) {
            out_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
        }
    }

    std::span<std::uint8_t> out_;
    TextSlotWriter* texts_;
    std::size_t base_;
};

class ImageReader {
  public:
    ImageReader(std::span<const std::uint8_t> in, const TextSlotReader& texts, std::size_t base = 0)
        : in_(in), texts_(&texts), base_(base) {}

    ImageReader At(std::size_t offset) const { return ImageReader(in_, *texts_, base_ + offset); }

    void Int(std::size_t offset, std::int32_t& v) const {
        v = static_cast<std::int32_t>(static_cast<std::uint32_t>(Get(offset, 4)));
    }
    void Byte(std::size_t offset, std::uint8_t& v) const {
        v = static_cast<std::uint8_t>(Get(offset, 1));
    }
    void Double(std::size_t offset, double& v) const { v = std::bit_cast<double>(Get(offset, 8)); }
    void Text(std::size_t offset, std::string& v) const {
        v = texts_->Load(static_cast<std::uint32_t>(Get(offset, 4)));
    }

    // A length byte above the capacity is broken data: read at most N bytes.
    template <std::size_t N>
    void String(std::size_t offset, ShortString<N>& v) const {
        std::size_t length = std::min<std::size_t>(Get(offset, 1), N);
        std::string bytes;
        bytes.reserve(length);
        for (std::size_t i = 0; i < length; ++i) {
            bytes += static_cast<char>(Get(offset + 1 + i, 1));
        }
        v = Utf8FromCp932(bytes);
    }

  private:
    std::uint64_t Get(std::size_t offset, std::size_t width) const {
        std::size_t at = base_ + offset;
        if (at + width > in_.size()) throw std::logic_error("record field outside its image");
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < width; ++i) {
            v |= static_cast<std::uint64_t>(in_[at + i]) << (8 * i);
        }
        return v;
    }

    std::span<const std::uint8_t> in_;
    const TextSlotReader* texts_;
    std::size_t base_;
};

template <typename Io, typename Array>
void Ints(Io& io, std::size_t offset, Array& values) {
    for (std::size_t i = 0; i < values.size(); ++i) io.Int(offset + 4 * i, values[i]);
}

template <typename Io, typename Array>
void Bytes(Io& io, std::size_t offset, Array& values) {
    for (std::size_t i = 0; i < values.size(); ++i) io.Byte(offset + i, values[i]);
}

template <typename Io, typename Array>
void Texts(Io& io, std::size_t offset, Array& values) {
    for (std::size_t i = 0; i < values.size(); ++i) io.Text(offset + 4 * i, values[i]);
}

template <typename Io, typename Ship>
void ShipLayout(Io& io, Ship& s) {
    io.String(0, s.ModelName);
    io.String(41, s.ModelName2);
    io.String(82, s.WeaponKey);
    io.String(123, s.ClassTitle);
    io.String(154, s.ClassCode);
    io.Byte(165, s.Loaded);
    io.String(166, s.ModelFile);
    io.Int(200, s.ElectronicWarfare);
    io.Int(204, s.ElectronicWarfareNow);
    io.Int(208, s.AswSensor);
    io.Int(212, s.AswAttackPatrol);
    io.Int(216, s.AswAttackMoving);
    io.Byte(220, s.CombatStance);
    io.Int(224, s.CaptureTurn);
    io.Int(228, s.SuppressionResistance);
    io.Byte(232, s.Suppression);
    io.Int(236, s.ClassValue16);
    io.Int(248, s.Manoeuvre);
    io.Text(260, s.MainGunTarget);
    io.Text(264, s.SecondaryGunTarget);
    io.Int(272, s.FireControl);
    io.Int(280, s.ClassIndex);
    io.String(285, s.Name);
    io.Int(328, s.AircraftCapacity);
    io.Byte(336, s.DeckStandby);
    io.Byte(337, s.DeckState);
    io.Byte(338, s.MainGun);
    io.Byte(339, s.MainGunRange);
    io.Byte(340, s.SecondaryGun);
    io.Byte(341, s.SecondaryGunRange);
    io.Int(344, s.MissileLoad);
    io.Byte(348, s.SideArmour);
    io.Byte(349, s.DeckArmour);
    io.Int(352, s.AreaDefence);
    io.Int(356, s.PointDefence);
    io.Int(364, s.Durability);
    io.Byte(369, s.Speed);
    Ints(io, 372, s.AircraftTypesAboard);
    Ints(io, 384, s.AircraftTypesSpare);
    Ints(io, 396, s.AircraftAboard);
    Ints(io, 420, s.AircraftAboardAtStart);
    io.Int(444, s.ReconAircraft);
    io.Int(448, s.Supplies);
    io.Text(452, s.ShipNote);
}

template <typename Io, typename Unit>
void AirUnitLayout(Io& io, Unit& u) {
    Ints(io, 0, u.Counts);
    Bytes(io, 24, u.AircraftTypes);
    io.Int(32, u.TargetGroup);
    Ints(io, 36, u.TargetRequest);
    io.Byte(72, u.StrikeTarget);
    io.Int(76, u.AttackKind);
    io.Byte(80, u.State);
    io.Byte(82, u.UnitNumber);
    io.Byte(83, u.Tagged);
    io.String(136, u.SalvoModel);
    io.String(177, u.SalvoModel2);
    io.String(218, u.WeaponKey);
}

template <typename Io, typename Fleet>
void FleetLayout(Io& io, Fleet& f) {
    io.String(0, f.Commander);
    auto salvo = io.At(32);
    AirUnitLayout(salvo, f.MissileSalvo);
    io.String(250, f.FlagshipWeapon);  // after the salvo: the same bytes as its WeaponKey
    io.Int(292, f.AswTarget);
    io.Double(304, f.VtFuseFactor);
    io.Byte(312, f.LaunchCounter);
    io.Int(316, f.TurnScratch);
    io.Int(320, f.Detour);
    io.Int(324, f.Stance);
    io.Int(328, f.Reserved328);
    io.Byte(332, f.TrackedFleet);
    io.String(333, f.Name);
    for (std::size_t i = 0; i < f.Route.size(); ++i) {
        io.Int(364 + 8 * i, f.Route[i].X);
        io.Int(368 + 8 * i, f.Route[i].Y);
    }
    io.Int(772, f.RouteLength);
    Ints(io, 776, f.LastSighting);
    io.Byte(788, f.Number);
    io.Byte(789, f.SeenThisTurn);
    io.Int(796, f.EngagedFleet);
    io.Int(800, f.Position.X);
    io.Int(804, f.Position.Y);
    io.Int(808, f.Destination.X);
    io.Int(812, f.Destination.Y);
    for (std::size_t i = 0; i < f.Ships.size(); ++i) {
        auto slot = io.At(820 + kShipImageSize * i);
        ShipLayout(slot, f.Ships[i]);
    }
    io.Int(19844, f.ShipCount);
    io.Byte(19848, f.Active);
    io.Byte(19849, f.Side);
    io.Byte(19850, f.Speed);
    io.Int(19852, f.Reserved19852);
    Ints(io, 19856, f.HangarCounts);
    for (std::size_t i = 0; i < f.AirUnits.size(); ++i) {
        auto unit = io.At(19880 + kAirUnitImageSize * i);
        AirUnitLayout(unit, f.AirUnits[i]);
    }
    Ints(io, 21440, f.Reserved21440);
    Ints(io, 21448, f.LossTallies);
    Bytes(io, 21472, f.TypeSuppression);
    Bytes(io, 21481, f.TypeSuppressionTail);
    Ints(io, 21484, f.AirTypes);
    io.Int(21512, f.DetectLevel);
    Ints(io, 21516, f.CapLaunched);
    io.Int(22320, f.CapReady);
    io.Int(22324, f.CapType);
    Ints(io, 22328, f.ScoutLaunched);
    io.Int(23132, f.ScoutReady);
    io.Int(23136, f.ScoutType);
    io.Int(23140, f.TargetFleet);
    io.String(23144, f.Designation);
    Bytes(io, 23404, f.SearchSectors);
    Bytes(io, 23412, f.AswSectors);
    Ints(io, 23420, f.LandingPoints);
}

template <typename Io, typename Type>
void AircraftTypeLayout(Io& io, Type& t) {
    io.String(0, t.Name);
    io.String(256, t.TypeText1);
    io.Int(288, t.MissilesPerAircraft);
    io.String(292, t.DisplayName);
    io.String(323, t.OrdnanceName);
    io.String(354, t.StealthClass);
    io.String(385, t.AircraftModelFile);
    io.Int(416, t.ElectronicWarfareCopy);
    io.Int(420, t.Column7);
    io.String(424, t.Description);
    io.Int(476, t.TypeNumber);
    io.Int(480, t.Evasion);
    io.Int(484, t.AttackPower);
    io.Int(488, t.Range);
    io.Int(492, t.BombPower);
    io.Int(496, t.BombAccuracy);
    io.Int(500, t.TorpedoPower);
    io.Int(504, t.TorpedoAccuracy);
    io.Int(508, t.ElectronicWarfare);
    io.Int(512, t.AswSensor);
    io.Int(516, t.AswPower);
}

template <typename Io, typename Event>
void EventLayout(Io& io, Event& e) {
    Texts(io, 0, e.SpeechText);
    Texts(io, 404, e.SpeakerName);
    io.Int(808, e.LineCount);
    io.Text(812, e.MusicFile);
}

template <typename Io, typename Telop>
void TelopLayout(Io& io, Telop& t) {
    Texts(io, 0, t.Lines);
    io.Byte(84, t.LineCount);
    io.Byte(85, t.NextLine);
}

template <typename Io, typename Info>
void ContinueLayout(Io& io, Info& c) {
    io.Int(0, c.Unused);
    io.Text(4, c.WinNext);
    io.Text(8, c.LoseNext);
}

template <typename Record, typename Layout>
void WriteImage(const Record& record, std::span<std::uint8_t> out, TextSlotWriter& texts,
                std::size_t size, const char* name, Layout layout) {
    RequireSize(out.size(), size, name);
    std::span<std::uint8_t> image = out.first(size);
    std::fill(image.begin(), image.end(), std::uint8_t{0});
    ImageWriter io(image, texts);
    layout(io, record);
}

template <typename Record, typename Layout>
void ReadImage(std::span<const std::uint8_t> in, Record& record, const TextSlotReader& texts,
               std::size_t size, const char* name, Layout layout) {
    RequireSize(in.size(), size, name);
    ImageReader io(in.first(size), texts);
    layout(io, record);
}

}  // namespace

void WriteShipImage(const TShip& ship, std::span<std::uint8_t> out, TextSlotWriter& texts) {
    WriteImage(ship, out, texts, kShipImageSize, "TShip",
               [](ImageWriter& io, const TShip& s) { ShipLayout(io, s); });
}

void ReadShipImage(std::span<const std::uint8_t> in, TShip& ship, const TextSlotReader& texts) {
    ReadImage(in, ship, texts, kShipImageSize, "TShip",
              [](ImageReader& io, TShip& s) { ShipLayout(io, s); });
}

void WriteAirUnitImage(const TAirUnit& unit, std::span<std::uint8_t> out, TextSlotWriter& texts) {
    WriteImage(unit, out, texts, kAirUnitImageSize, "TAirUnit",
               [](ImageWriter& io, const TAirUnit& u) { AirUnitLayout(io, u); });
}

void ReadAirUnitImage(std::span<const std::uint8_t> in, TAirUnit& unit,
                      const TextSlotReader& texts) {
    ReadImage(in, unit, texts, kAirUnitImageSize, "TAirUnit",
              [](ImageReader& io, TAirUnit& u) { AirUnitLayout(io, u); });
}

void WriteFleetImage(const TFleet& fleet, std::span<std::uint8_t> out, TextSlotWriter& texts) {
    WriteImage(fleet, out, texts, kFleetImageSize, "TFleet",
               [](ImageWriter& io, const TFleet& f) { FleetLayout(io, f); });
}

void ReadFleetImage(std::span<const std::uint8_t> in, TFleet& fleet, const TextSlotReader& texts) {
    ReadImage(in, fleet, texts, kFleetImageSize, "TFleet",
              [](ImageReader& io, TFleet& f) { FleetLayout(io, f); });
}

void WriteAircraftTypeImage(const AircraftType& type, std::span<std::uint8_t> out,
                            TextSlotWriter& texts) {
    WriteImage(type, out, texts, kAircraftTypeImageSize, "AircraftType",
               [](ImageWriter& io, const AircraftType& t) { AircraftTypeLayout(io, t); });
}

void ReadAircraftTypeImage(std::span<const std::uint8_t> in, AircraftType& type,
                           const TextSlotReader& texts) {
    ReadImage(in, type, texts, kAircraftTypeImageSize, "AircraftType",
              [](ImageReader& io, AircraftType& t) { AircraftTypeLayout(io, t); });
}

void WriteEventImage(const TEData& event, std::span<std::uint8_t> out, TextSlotWriter& texts) {
    WriteImage(event, out, texts, kEventImageSize, "TEData",
               [](ImageWriter& io, const TEData& e) { EventLayout(io, e); });
}

void ReadEventImage(std::span<const std::uint8_t> in, TEData& event, const TextSlotReader& texts) {
    ReadImage(in, event, texts, kEventImageSize, "TEData",
              [](ImageReader& io, TEData& e) { EventLayout(io, e); });
}

void WriteTelopImage(const TTelop& telop, std::span<std::uint8_t> out, TextSlotWriter& texts) {
    WriteImage(telop, out, texts, kTelopImageSize, "TTelop",
               [](ImageWriter& io, const TTelop& t) { TelopLayout(io, t); });
}

void ReadTelopImage(std::span<const std::uint8_t> in, TTelop& telop, const TextSlotReader& texts) {
    ReadImage(in, telop, texts, kTelopImageSize, "TTelop",
              [](ImageReader& io, TTelop& t) { TelopLayout(io, t); });
}

void WriteContinueImage(const TGameContine& info, std::span<std::uint8_t> out,
                        TextSlotWriter& texts) {
    WriteImage(info, out, texts, kContinueImageSize, "TGameContine",
               [](ImageWriter& io, const TGameContine& c) { ContinueLayout(io, c); });
}

void ReadContinueImage(std::span<const std::uint8_t> in, TGameContine& info,
                       const TextSlotReader& texts) {
    ReadImage(in, info, texts, kContinueImageSize, "TGameContine",
              [](ImageReader& io, TGameContine& c) { ContinueLayout(io, c); });
}

}  // namespace velmora
