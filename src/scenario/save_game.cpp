#include "scenario/save_game.h"

#include <zlib.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <optional>
#include <span>
#include <system_error>

#include "scenario/record_image.h"
#include "turn/turn_sequence.h"

namespace velmora {
namespace fs = std::filesystem;

namespace {

constexpr std::array<std::uint8_t, 8> kSignature{'V', 'L', 'M', 'R', 'S', 'A', 'V', 'E'};
constexpr std::size_t kHeaderSize = kSignature.size() + 4 + 4;  // signature, version, file size
constexpr std::size_t kChecksumSize = 4;
constexpr std::string_view kNotASave = "このファイルはセーブファイルではありません。";

// Fleets of FleetTable and ContactTable, whose salvo weapon key shares the
// bytes of FlagshipWeapon in the image and is therefore stored again.
constexpr int kFleetRecords = kFleetCount + kContactCount;

// Builds the file: fixed-size record part, then the string table, then the checksum.
class SaveWriter {
  public:
    void Int(std::int32_t v) {
        auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
    }
    void Byte(const std::uint8_t& v) { Int(v); }
    void Flag(const bool& v) { Int(v ? 1 : 0); }
    void U64(std::uint64_t v) {
        for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void Generator(const Rng& rng) {
        RngState s = rng.State();
        U64(s.state);
        U64(s.increment);
    }
    template <std::size_t N>
    void Text(const ShortString<N>& text) {
        Int(static_cast<std::int32_t>(texts_.Store(text.str())));
    }
    void Text(const std::string& text) { Int(static_cast<std::int32_t>(texts_.Store(text))); }
    template <class Record, class WriteFn>
    void Image(const Record& record, std::size_t size, WriteFn write) {
        std::size_t at = bytes_.size();
        bytes_.resize(at + size, 0);
        write(record, std::span<std::uint8_t>(bytes_.data() + at, size), texts_);
    }
    void Fleet(const TFleet& f) { Image(f, kFleetImageSize, WriteFleetImage); }
    void Ship(const TShip& s) { Image(s, kShipImageSize, WriteShipImage); }
    void Event(const TEData& e) { Image(e, kEventImageSize, WriteEventImage); }
    void Telop(const TTelop& t) { Image(t, kTelopImageSize, WriteTelopImage); }

    std::vector<std::uint8_t> Finish(const std::vector<LogEntry>& log) {
        Int(static_cast<std::int32_t>(texts_.Entries().size()));
        for (const std::string& entry : texts_.Entries()) Bytes(entry);
        Int(static_cast<std::int32_t>(log.size()));
        for (const LogEntry& entry : log) {
            Int(entry.Turn);
            Int(entry.Hour);
            Bytes(entry.Text);
        }
        std::size_t total = bytes_.size() + kChecksumSize;
        PatchInt(kSignature.size() + 4, static_cast<std::uint32_t>(total));
        uLong crc = crc32(0L, bytes_.data(), static_cast<uInt>(bytes_.size()));
        Int(static_cast<std::int32_t>(static_cast<std::uint32_t>(crc)));
        return std::move(bytes_);
    }

    std::size_t Size() const { return bytes_.size(); }

    void Header() {
        bytes_.insert(bytes_.end(), kSignature.begin(), kSignature.end());
        Int(static_cast<std::int32_t>(kSaveFormatVersion));
        Int(0);  // file size, patched by Finish
    }

  private:
    void Bytes(const std::string& text) {
        Int(static_cast<std::int32_t>(text.size()));
        bytes_.insert(bytes_.end(), text.begin(), text.end());
    }
    void PatchInt(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }

    std::vector<std::uint8_t> bytes_;
    StringTable texts_;
};

// Reads the fixed part; any value that cannot belong to a save marks it bad.
class SaveReader {
  public:
    SaveReader(std::span<const std::uint8_t> bytes, const StringTable& texts)
        : bytes_(bytes), texts_(texts) {}

    bool Good() const { return good_; }

    void Int(std::int32_t& v) { v = static_cast<std::int32_t>(NextU32()); }
    void Byte(std::uint8_t& v) {
        std::int32_t wide = 0;
        Int(wide);
        if (wide < 0 || wide > 255) good_ = false;
        v = static_cast<std::uint8_t>(wide);
    }
    void Flag(bool& v) {
        std::int32_t wide = 0;
        Int(wide);
        if (wide != 0 && wide != 1) good_ = false;
        v = wide == 1;
    }
    std::uint64_t U64() {
        std::uint64_t lo = NextU32();
        std::uint64_t hi = NextU32();
        return lo | (hi << 32);
    }
    void Generator(Rng& rng) {
        RngState s;
        s.state = U64();
        s.increment = U64();
        if (good_ && !rng.Restore(s)) good_ = false;
    }
    template <std::size_t N>
    void Text(ShortString<N>& text) {
        text = texts_.Load(NextU32());
    }
    void Text(std::string& text) { text = texts_.Load(NextU32()); }
    template <class Record, class ReadFn>
    void Image(Record& record, std::size_t size, ReadFn read) {
        if (!Take(size)) return;
        read(bytes_.subspan(pos_ - size, size), record, texts_);
    }
    void Fleet(TFleet& f) { Image(f, kFleetImageSize, ReadFleetImage); }
    void Ship(TShip& s) { Image(s, kShipImageSize, ReadShipImage); }
    void Event(TEData& e) { Image(e, kEventImageSize, ReadEventImage); }
    void Telop(TTelop& t) { Image(t, kTelopImageSize, ReadTelopImage); }

    std::size_t Position() const { return pos_; }
    void Seek(std::size_t at) { pos_ = at; }

  private:
    bool Take(std::size_t n) {
        if (!good_ || bytes_.size() - pos_ < n) {
            good_ = false;
            return false;
        }
        pos_ += n;
        return true;
    }
    std::uint32_t NextU32() {
        if (!Take(4)) return 0;
        const std::uint8_t* p = bytes_.data() + pos_ - 4;
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }

    std::span<const std::uint8_t> bytes_;
    const StringTable& texts_;
    std::size_t pos_ = 0;
    bool good_ = true;
};

template <class Io, class Fleets>
void VisitFleetRecords(Io& io, Fleets& fleets) {
    for (auto& fleet : fleets) io.Fleet(fleet);
}

template <class Io, class List>
void VisitLostShips(Io& io, List& list) {
    for (auto& ship : list.Ships) io.Ship(ship);
    io.Int(list.Count);
}

template <class Io, class State>
void VisitScalars(Io& io, State& s) {
    io.Int(s.Hour);
    io.Int(s.Turn);
    io.Byte(s.PlayerSide);
    io.Byte(s.ComputerSide);
    io.Byte(s.MapMode);
    io.Int(s.DesignationCounter);
    for (auto& v : s.ScuttleTally) io.Int(v);
    for (auto& v : s.InterceptTally) io.Int(v);
    io.Int(s.LastTurn);
    for (auto& v : s.InitialLandingPoints) io.Int(v);
    io.Int(s.PlayerScore);
    io.Int(s.ComputerScore);
    io.Int(s.EventIndex);
    io.Int(s.TalkCursor);
    io.Int(s.TelopTick);
}

template <class Io, class State>
void VisitWeather(Io& io, State& s) {
    for (auto& cell : s.StormCells) {
        io.Int(cell.X);
        io.Int(cell.Y);
        io.Byte(cell.Active);
    }
    for (auto& row : s.WindDirections) {
        for (auto& bearing : row) io.Int(bearing);
    }
}

template <class Io, class State>
void VisitVictory(Io& io, State& s) {
    io.Flag(s.VictoryShown);
    io.Int(s.Victory.PlayerTotal);
    io.Int(s.Victory.ComputerTotal);
    io.Int(s.Victory.LandingShownPlayer);
    io.Int(s.Victory.LandingShownComputer);
    for (auto& side : s.Victory.Sunk) {
        for (auto& v : side) io.Int(v);
    }
    for (auto& side : s.Victory.Damaged) {
        for (auto& v : side) io.Int(v);
    }
}

template <class Io, class State>
void VisitSalvoKeys(Io& io, State& s) {
    for (auto& fleet : s.FleetTable) io.Text(fleet.MissileSalvo.WeaponKey);
    for (auto& fleet : s.ContactTable) io.Text(fleet.MissileSalvo.WeaponKey);
}

// The fixed part in file order; the same list serves writing and reading.
template <class Io, class State>
void VisitSave(Io& io, State& s) {
    VisitFleetRecords(io, s.FleetTable);
    VisitFleetRecords(io, s.ContactTable);
    VisitLostShips(io, s.LostShipsPlayer);
    VisitLostShips(io, s.LostShipsComputer);
    VisitScalars(io, s);
    for (auto& event : s.EventTable) io.Event(event);
    for (auto& telop : s.TelopTable) io.Telop(telop);
    VisitSalvoKeys(io, s);
    VisitWeather(io, s);
    io.Generator(s.Random);
    VisitVictory(io, s);
    io.Text(s.ScenarioFile);
}

static_assert(kFleetRecords == 40);

// Where the fixed part ends and the string table starts, measured by
// writing an empty state once.
std::size_t FixedPartEnd() {
    static const std::size_t end = [] {
        SaveWriter writer;
        writer.Header();
        auto empty = std::make_unique<GameState>();
        VisitSave(writer, *empty);
        return writer.Size();
    }();
    return end;
}

std::uint32_t U32At(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) |
           (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

bool HeaderAndChecksumMatch(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() < FixedPartEnd() + 4 + 4 + kChecksumSize) return false;
    if (!std::equal(kSignature.begin(), kSignature.end(), bytes.begin())) return false;
    if (U32At(bytes, kSignature.size()) != kSaveFormatVersion) return false;
    if (U32At(bytes, kSignature.size() + 4) != bytes.size()) return false;
    std::size_t body = bytes.size() - kChecksumSize;
    uLong crc = crc32(0L, bytes.data(), static_cast<uInt>(body));
    return static_cast<std::uint32_t>(crc) == U32At(bytes, body);
}

// What follows the fixed part: the string table, then the message log; the
// two must fill the room up to the checksum exactly.
struct SaveTail {
    StringTable Texts;
    std::vector<LogEntry> Log;
};

class TailReader {
  public:
    explicit TailReader(const std::vector<std::uint8_t>& bytes)
        : bytes_(bytes), pos_(FixedPartEnd()), end_(bytes.size() - kChecksumSize) {}

    bool U32(std::uint32_t& v) {
        if (end_ - pos_ < 4) return false;
        v = U32At(bytes_, pos_);
        pos_ += 4;
        return true;
    }
    bool Text(std::string& text) {
        std::uint32_t length = 0;
        if (!U32(length) || end_ - pos_ < length) return false;
        text.assign(reinterpret_cast<const char*>(bytes_.data() + pos_), length);
        pos_ += length;
        return true;
    }
    bool AtEnd() const { return pos_ == end_; }

  private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t pos_;
    std::size_t end_;
};

std::optional<SaveTail> ReadTail(const std::vector<std::uint8_t>& bytes) {
    TailReader in(bytes);
    std::uint32_t count = 0;
    if (!in.U32(count)) return std::nullopt;
    std::vector<std::string> entries;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!in.Text(entries.emplace_back())) return std::nullopt;
    }
    SaveTail tail{StringTable(std::move(entries)), {}};
    if (!in.U32(count)) return std::nullopt;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t turn = 0, hour = 0;
        LogEntry& entry = tail.Log.emplace_back();
        if (!in.U32(turn) || !in.U32(hour) || !in.Text(entry.Text)) return std::nullopt;
        entry.Turn = static_cast<std::int32_t>(turn);
        entry.Hour = static_cast<std::int32_t>(hour);
    }
    if (!in.AtEnd()) return std::nullopt;
    return tail;
}

bool CountsInRange(const GameState& s) {
    auto fleet_ok = [](const TFleet& f) {
        return f.ShipCount >= 0 && f.ShipCount <= kShipSlots && f.RouteLength >= 0 &&
               f.RouteLength <= kRouteSlots;
    };
    for (const TFleet& f : s.FleetTable) {
        if (!fleet_ok(f)) return false;
    }
    for (const TFleet& f : s.ContactTable) {
        if (!fleet_ok(f)) return false;
    }
    for (const LostShipList* list : {&s.LostShipsPlayer, &s.LostShipsComputer}) {
        if (list->Count < 0 || list->Count > kTableSize) return false;
    }
    for (const TEData& e : s.EventTable) {
        if (e.LineCount < 0 || e.LineCount > kConversationLines) return false;
    }
    for (const TTelop& t : s.TelopTable) {
        if (t.LineCount > kTelopLines || t.NextLine > kTelopLines) return false;
    }
    return true;
}

// Far more than any save holds; a larger file is not read into memory.
constexpr std::uintmax_t kLargestSave = 64u << 20;

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const fs::path& path) {
    std::error_code ec;
    std::uintmax_t size = fs::file_size(path, ec);
    if (ec || size > kLargestSave) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

// Writes the bytes next to the slot and renames them over it; the reason on failure.
std::optional<std::string> WriteReplacing(const fs::path& target,
                                          const std::vector<std::uint8_t>& bytes) {
    std::error_code ec;
    fs::create_directories(target.parent_path(), ec);
    if (ec) return ec.message();
    fs::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return std::string(std::strerror(errno));
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            std::string reason = std::strerror(errno);
            fs::remove(temporary, ec);
            return reason;
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        std::string reason = ec.message();
        fs::remove(temporary, ec);
        return reason;
    }
    return std::nullopt;
}

bool SlotInRange(int slot) {
    return slot >= kAutoSaveSlot && slot <= kSaveSlots;
}

bool SlotHoldsFile(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

}  // namespace

fs::path DefaultSaveDirectory() {
    const char* data_home = std::getenv("XDG_DATA_HOME");
    if (data_home && *data_home && fs::path(data_home).is_absolute()) {
        return fs::path(data_home) / "velmora";
    }
    const char* home = std::getenv("HOME");
    fs::path base = (home && *home) ? fs::path(home) : fs::current_path();
    return base / ".local" / "share" / "velmora";
}

fs::path SlotPath(const fs::path& dir, int slot) {
    if (slot == kAutoSaveSlot) return dir / "AutoSave.dat";
    return dir / ("Save" + std::to_string(slot) + ".dat");
}

std::string SlotName(int slot) {
    if (slot == kAutoSaveSlot) return "オートセーブ";
    return "セーブ" + std::to_string(slot);
}

std::string EmptySlotMessage(int slot) {
    return SlotName(slot) + "にはまだ何もセーブされていません。";
}

SlotSummary DescribeSlot(const fs::path& dir, int slot) {
    SlotSummary summary;
    const fs::path path = SlotPath(dir, slot);
    if (!SlotInRange(slot) || !SlotHoldsFile(path)) return summary;
    summary.What = SlotSummary::Kind::kNotASave;
    const auto bytes = ReadWholeFile(path);
    if (!bytes) return summary;
    auto empty = std::make_unique<GameState>();
    const std::unique_ptr<GameState> saved = DecodeSave(*bytes, *empty);
    if (!saved) return summary;
    summary.What = SlotSummary::Kind::kSave;
    summary.Turn = saved->Turn;
    summary.Hour = saved->Hour;
    summary.ScenarioFile = saved->ScenarioFile;
    std::error_code ec;
    summary.Written = fs::last_write_time(path, ec);
    return summary;
}

std::vector<std::uint8_t> EncodeSave(const GameState& state) {
    SaveWriter writer;
    writer.Header();
    VisitSave(writer, state);
    return writer.Finish(state.MessageLog);
}

std::unique_ptr<GameState> DecodeSave(const std::vector<std::uint8_t>& bytes,
                                      const GameState& base) {
    if (!HeaderAndChecksumMatch(bytes)) return nullptr;
    std::optional<SaveTail> tail = ReadTail(bytes);
    if (!tail) return nullptr;
    auto decoded = std::make_unique<GameState>(base);
    decoded->MessageLog = std::move(tail->Log);
    SaveReader reader(std::span<const std::uint8_t>(bytes.data(), FixedPartEnd()), tail->Texts);
    reader.Seek(kHeaderSize);
    try {
        VisitSave(reader, *decoded);
    } catch (const std::exception&) {
        return nullptr;
    }
    if (!reader.Good() || !CountsInRange(*decoded)) return nullptr;
    return decoded;
}

bool SaveGame(const GameState& state, Frontend& frontend, const fs::path& dir, int slot) {
    fs::path target = SlotPath(dir, slot);
    std::optional<std::string> failure =
        SlotInRange(slot) ? WriteReplacing(target, EncodeSave(state))
                          : std::optional<std::string>("セーブスロットは 1 から 5 までです");
    if (!failure) return true;
    frontend.MessageOk("エラー", target.string() + ": " + *failure);
    return false;
}

bool LoadGame(GameState& state, Frontend& frontend, const fs::path& dir, int slot) {
    return LoadGameOnto(state, state, frontend, dir, slot);
}

bool LoadGameOnto(GameState& state, const GameState& base, Frontend& frontend, const fs::path& dir,
                  int slot) {
    std::unique_ptr<GameState> loaded;
    const bool holdsFile = SlotInRange(slot) && SlotHoldsFile(SlotPath(dir, slot));
    if (holdsFile) {
        if (auto bytes = ReadWholeFile(SlotPath(dir, slot))) loaded = DecodeSave(*bytes, base);
    }
    if (!loaded) {
        if (holdsFile) {
            frontend.MessageOk("エラー", kNotASave);
        } else {
            frontend.MessageOk("ロード", EmptySlotMessage(slot));
        }
        frontend.RedrawMap();
        return false;
    }
    state = std::move(*loaded);
    UpdateCaption(state, frontend);
    frontend.RedrawMap();
    return true;
}

}  // namespace velmora
