// Byte images of the records: little-endian integers, length-prefixed CP932
// strings, zero gaps, and every variable-length text as a 4-byte slot number
// that the caller's string table resolves. Saves are built from these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/records.h"

namespace velmora {

inline constexpr std::size_t kShipImageSize = 464, kFleetImageSize = 23432, kAirUnitImageSize = 260,
                             kAircraftTypeImageSize = 520, kEventImageSize = 816,
                             kTelopImageSize = 88, kContinueImageSize = 12;

// Where a text field's content goes when a record is written.
class TextSlotWriter {
  public:
    virtual ~TextSlotWriter() = default;
    virtual std::uint32_t Store(const std::string& utf8) = 0;
};

// Where a text field's content comes from when a record is read.
class TextSlotReader {
  public:
    virtual ~TextSlotReader() = default;
    // An unknown slot reads as the empty text.
    virtual std::string Load(std::uint32_t slot) const = 0;
};

// Texts in order of storing: slot = index + 1; slot 0 is the empty text, so
// the many empty texts of a game take no room.
class StringTable : public TextSlotWriter, public TextSlotReader {
  public:
    StringTable() = default;
    explicit StringTable(std::vector<std::string> entries) : entries_(std::move(entries)) {}

    std::uint32_t Store(const std::string& utf8) override;
    std::string Load(std::uint32_t slot) const override;
    const std::vector<std::string>& Entries() const { return entries_; }

  private:
    std::vector<std::string> entries_;
};

// Each Write fills the first image-size bytes of out (gaps zero); each Read
// takes them from in. A span shorter than the image throws std::length_error:
// callers check the sizes of what they read from disk first.
void WriteShipImage(const TShip& ship, std::span<std::uint8_t> out, TextSlotWriter& texts);
void ReadShipImage(std::span<const std::uint8_t> in, TShip& ship, const TextSlotReader& texts);

void WriteAirUnitImage(const TAirUnit& unit, std::span<std::uint8_t> out, TextSlotWriter& texts);
void ReadAirUnitImage(std::span<const std::uint8_t> in, TAirUnit& unit,
                      const TextSlotReader& texts);

// FleetTable stores FlagshipWeapon in the bytes of MissileSalvo's WeaponKey
// (both at 250): the image keeps FlagshipWeapon, and reading gives both.
void WriteFleetImage(const TFleet& fleet, std::span<std::uint8_t> out, TextSlotWriter& texts);
void ReadFleetImage(std::span<const std::uint8_t> in, TFleet& fleet, const TextSlotReader& texts);

void WriteAircraftTypeImage(const AircraftType& type, std::span<std::uint8_t> out,
                            TextSlotWriter& texts);
void ReadAircraftTypeImage(std::span<const std::uint8_t> in, AircraftType& type,
                           const TextSlotReader& texts);

void WriteEventImage(const TEData& event, std::span<std::uint8_t> out, TextSlotWriter& texts);
void ReadEventImage(std::span<const std::uint8_t> in, TEData& event, const TextSlotReader& texts);

void WriteTelopImage(const TTelop& telop, std::span<std::uint8_t> out, TextSlotWriter& texts);
void ReadTelopImage(std::span<const std::uint8_t> in, TTelop& telop, const TextSlotReader& texts);

void WriteContinueImage(const TGameContine& info, std::span<std::uint8_t> out,
                        TextSlotWriter& texts);
void ReadContinueImage(std::span<const std::uint8_t> in, TGameContine& info,
                       const TextSlotReader& texts);

}  // namespace velmora
