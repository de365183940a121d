#include "model/text.h"

#include "model/file_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>
#include <stdexcept>

namespace velmora {
namespace {

// iconv descriptors are costly to open; keep one per direction.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as possible; on an unconvertible sequence calls
    // on_bad(out, in, left) which must skip input and may append output.
    template <typename OnBad>
    std::string Convert(std::string_view input, OnBad on_bad) {
        std::lock_guard<std::mutex> lock(mutex_);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        out.reserve(input.size() * 2 + 4);
        char* in = const_cast<char*>(input.data());
        std::size_t in_left = input.size();
        char buffer[512];
        while (in_left > 0) {
            char* dst = buffer;
            std::size_t dst_left = sizeof buffer;
            std::size_t r = iconv(cd_, &in, &in_left, &dst, &dst_left);
            out.append(buffer, static_cast<std::size_t>(dst - buffer));
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
                on_bad(out, in, in_left);
            }
        }
        return out;
    }

private:
    iconv_t cd_;
    std::mutex mutex_;
};

Converter& Decoder() {
    static Converter c("UTF-8", "CP932");
    return c;
}

Converter& Encoder() {
    static Converter c("CP932", "UTF-8");
    return c;
}

std::size_t Utf8SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;
}

}  // namespace

std::string Utf8FromCp932(std::string_view cp932) {
    return Decoder().Convert(cp932, [](std::string& out, char*& in, std::size_t& left) {
        out += "\xEF\xBF\xBD";
        std::size_t skip = IsCp932LeadByte(static_cast<unsigned char>(*in)) && left >= 2 ? 2 : 1;
        in += skip;
        left -= skip;
    });
}

std::string Cp932FromUtf8(std::string_view utf8) {
    return Encoder().Convert(utf8, [](std::string& out, char*& in, std::size_t& left) {
        out += '?';
        std::size_t skip = Utf8SequenceLength(static_cast<unsigned char>(*in));
        if (skip > left) skip = left;
        in += skip;
        left -= skip;
    });
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length = lead < 0x80 ? 1 : lead < 0xC2 ? 0 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3
                                                                : lead < 0xF5 ? 4
                                                                              : 0;
        if (length == 0 || i + length > bytes.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        }
        if (length >= 3) {
            auto second = static_cast<unsigned char>(bytes[i + 1]);
            if (lead == 0xE0 && second < 0xA0) return false;  // overlong
            if (lead == 0xED && second > 0x9F) return false;  // surrogate
            if (lead == 0xF0 && second < 0x90) return false;  // overlong
            if (lead == 0xF4 && second > 0x8F) return false;  // past U+10FFFF
        }
        i += length;
    }
    return true;
}

FileEncoding DetectFileEncoding(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        return FileEncoding::kUtf8WithMark;
    }
    if (!IsValidUtf8(bytes)) return FileEncoding::kCp932;
    // Valid both ways (plain ASCII, or rare kanji pairs): CP932, as always.
    constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    bool cp932_breaks = Utf8FromCp932(bytes).find(kReplacement) != std::string::npos &&
                        bytes.find(kReplacement) == std::string_view::npos;
    return cp932_breaks ? FileEncoding::kUtf8 : FileEncoding::kCp932;
}

std::string DecodeFileText(std::string_view bytes) {
    switch (DetectFileEncoding(bytes)) {
        case FileEncoding::kUtf8WithMark:
            return std::string(bytes.substr(3));
        case FileEncoding::kUtf8:
            return std::string(bytes);
        case FileEncoding::kCp932:
            break;
    }
    return Utf8FromCp932(bytes);
}

std::size_t Cp932Length(std::string_view utf8) {
    bool ascii = true;
    for (char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    return ascii ? utf8.size() : Cp932FromUtf8(utf8).size();
}

std::string TruncateCp932(std::string_view utf8, std::size_t max_bytes) {
    if (utf8.size() <= max_bytes && Cp932Length(utf8) <= max_bytes) {
        return std::string(utf8);
    }
    // Walk whole UTF-8 characters, counting their CP932 width.
    std::size_t used = 0;
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        std::size_t len = Utf8SequenceLength(static_cast<unsigned char>(utf8[pos]));
        if (pos + len > utf8.size()) len = utf8.size() - pos;
        std::size_t width = len == 1 ? 1 : Cp932Length(utf8.substr(pos, len));
        if (used + width > max_bytes) break;
        used += width;
        pos += len;
    }
    return std::string(utf8.substr(0, pos));
}

}  // namespace velmora
