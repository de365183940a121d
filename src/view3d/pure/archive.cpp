#include "view3d/pure/archive.h"

#include <array>
#include <fstream>
#include <iterator>

namespace velmora::view3d {
namespace {

constexpr std::size_t kHeaderSize = 256;
constexpr std::size_t kEntrySize = 268;
constexpr std::size_t kNameSize = 256;

const char* const kNotArchive = "Zorvane Archiveの扱えるデータではありません";

std::uint32_t ReadU32(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

// Lower-cases ASCII letters only, stepping over the second byte of a
// Shift-JIS character (which may fall in the letter range).
std::string LowerSjis(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto c = static_cast<unsigned char>(out[i]);
        if ((c >= 0x81 && c <= 0x9F) || c >= 0xE0) {
            ++i;
        } else if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::string NotFound(std::string_view id) {
    return "アーカイブ内には指定されたID '" + std::string(id) + "' を持つデータが見つかりません";
}

class Input {
  public:
    explicit Input(std::string_view bytes) : bytes_(bytes) {}
    bool AtEnd() const { return pos_ >= bytes_.size(); }
    std::uint8_t Byte() {
        if (AtEnd()) throw EZVAError("圧縮データが途中で終わっています");
        return static_cast<std::uint8_t>(bytes_[pos_++]);
    }
    std::uint32_t U32() {
        if (bytes_.size() - pos_ < 4) throw EZVAError("圧縮データが途中で終わっています");
        const std::uint32_t v = ReadU32(bytes_, pos_);
        pos_ += 4;
        return v;
    }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

struct PairTable {
    std::array<std::uint8_t, 256> left{};
    std::array<std::uint8_t, 256> right{};
};

PairTable ReadPairTable(Input& in) {
    PairTable t;
    for (int c = 0; c < 256; ++c)
        t.left[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c);
    int c = 0;
    int k = in.Byte();
    for (;;) {
        if (k > 127) {
            c += k - 127;
            k = 0;
        }
        if (c >= 256) break;
        for (int i = 0; i <= k && c < 256; ++i, ++c) {
            const auto idx = static_cast<std::size_t>(c);
            t.left[idx] = in.Byte();
            if (t.left[idx] != c) t.right[idx] = in.Byte();
        }
        if (c >= 256) break;
        k = in.Byte();
    }
    return t;
}

// A hostile table could blow a few bytes up into gigabytes: the output stops
// at the size the directory promised.
void ExpandBlock(Input& in, const PairTable& t, std::uint32_t length,
                 std::vector<std::uint8_t>& out, std::size_t maxOutput) {
    std::vector<std::uint8_t> stack;
    for (;;) {
        std::uint8_t b;
        if (!stack.empty()) {
            b = stack.back();
            stack.pop_back();
        } else if (length > 0) {
            b = in.Byte();
            --length;
        } else {
            break;
        }
        if (t.left[b] == b) {
            if (out.size() >= maxOutput) throw EZVAError("展開後のデータが大きすぎます");
            out.push_back(b);
        } else {
            // A pair that expands into itself would never end.
            if (stack.size() > 65536) throw EZVAError("圧縮データの対応表が壊れています");
            stack.push_back(t.right[b]);
            stack.push_back(t.left[b]);
        }
    }
}

}  // namespace

std::vector<std::uint8_t> DecodeBytePairs(std::string_view input, std::size_t maxOutput) {
    std::vector<std::uint8_t> out;
    Input in(input);
    while (!in.AtEnd()) {
        const PairTable table = ReadPairTable(in);
        const std::uint32_t length = in.U32();
        ExpandBlock(in, table, length, out, maxOutput);
    }
    return out;
}

std::vector<std::uint8_t> ReadArchiveEntry(std::string_view archive, std::string_view id) {
    if (archive.size() < kHeaderSize || archive.substr(4, 4) != "ZVA0")
        throw EZVAError(kNotArchive);
    const bool compressed = archive[0] == 1;
    const std::int64_t count = static_cast<std::int32_t>(ReadU32(archive, 8));
    const std::string wanted = LowerSjis(id);
    for (std::int64_t i = 0; i < count; ++i) {
        const std::size_t at = kHeaderSize + static_cast<std::size_t>(i) * kEntrySize;
        if (at + kEntrySize > archive.size()) break;  // a short directory ends the search
        std::string_view name = archive.substr(at + 12, kNameSize);
        name = name.substr(0, name.find('\0'));
        if (LowerSjis(name) != wanted) continue;
        const std::uint32_t offset = ReadU32(archive, at);
        // Offset 0 marks "not found": real entries lie after the directory.
        if (offset == 0) break;
        const std::uint32_t size = compressed ? ReadU32(archive, at + 4) : ReadU32(archive, at + 8);
        if (offset > archive.size() || size > archive.size() - offset) {
            throw EZVAError("アーカイブ内のID '" + std::string(id) +
                            "' のデータがファイルの外を指しています");
        }
        const std::string_view data = archive.substr(offset, size);
        if (compressed) return DecodeBytePairs(data, ReadU32(archive, at + 8));
        return {data.begin(), data.end()};
    }
    throw EZVAError(NotFound(id));
}

std::vector<std::uint8_t> ReadArchiveEntry(const std::filesystem::path& archive,
                                           std::string_view id) {
    std::ifstream in(archive, std::ios::binary);
    if (!in) throw EZVAError(archive.string() + " を開けません");
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EZVAError(archive.string() + " を読めません");
    return ReadArchiveEntry(std::string_view(bytes), id);
}

}  // namespace velmora::view3d
