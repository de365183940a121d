#include "files/midi_file.h"

#include <cstdint>
#include <optional>

namespace velmora::media {
namespace {

constexpr int kMaxLengthBytes = 4;
constexpr unsigned kEndOfTrack = 0x2F;

std::uint32_t ReadBigEndian(std::string_view bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

bool Fail(std::string* why, std::string text) {
    if (why) *why = std::move(text);
    return false;
}

// The events of one track chunk.
class TrackReader {
  public:
    TrackReader(std::string_view track, int number, std::string* why)
        : track_(track), number_(number), why_(why) {}

    bool Read() {
        while (at_ < track_.size()) {
            if (!Length()) return false;
            if (at_ >= track_.size()) return Broken("デルタタイムの後にイベントがありません");
            unsigned byte = Byte();
            if (byte < 0x80) {
                if (running_ == 0) return Broken("ステータスのないデータバイトがあります");
                --at_;  // the byte is the first data byte of the running status
                if (!ChannelData(running_)) return false;
            } else if (byte < 0xF0) {
                running_ = byte;
                if (!ChannelData(byte)) return false;
            } else if (byte == 0xF0 || byte == 0xF7) {
                running_ = 0;
                if (!SkipCounted()) return false;
            } else if (byte == 0xFF) {
                running_ = 0;
                bool end = false;
                if (!Meta(end)) return false;
                if (end) return true;
            } else {
                return Broken("ファイルに置けないシステムメッセージ " + Hex(byte) + " があります");
            }
        }
        return true;
    }

  private:
    unsigned Byte() { return static_cast<unsigned char>(track_[at_++]); }

    static std::string Hex(unsigned byte) {
        const char* digits = "0123456789ABCDEF";
        return std::string("0x") + digits[(byte >> 4) & 0xF] + digits[byte & 0xF];
    }

    bool Broken(const std::string& what) {
        return Fail(why_, "MIDIファイルのトラック " + std::to_string(number_) + " の " +
                              std::to_string(event_at_) + " バイト目: " + what);
    }

    // A variable-length quantity; its value in length_.
    bool Length() {
        event_at_ = at_;
        length_ = 0;
        for (int i = 0; i < kMaxLengthBytes; ++i) {
            if (at_ >= track_.size()) return Broken("可変長の数が途中で切れています");
            unsigned byte = Byte();
            length_ = (length_ << 7) | (byte & 0x7F);
            if ((byte & 0x80) == 0) return true;
        }
        return Broken("可変長の数が 4 バイトを超えています");
    }

    bool ChannelData(unsigned status) {
        unsigned kind = status & 0xF0;
        int count = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
        for (int i = 0; i < count; ++i) {
            if (at_ >= track_.size()) return Broken("チャンネルメッセージが途中で切れています");
            if (Byte() >= 0x80) {
                return Broken("チャンネルメッセージ " + Hex(status) +
                              " のデータバイトが 0x80 以上です");
            }
        }
        return true;
    }

    bool SkipCounted() {
        if (!Length()) return false;
        if (length_ > track_.size() - at_) return Broken("イベントの長さがトラックを超えています");
        at_ += length_;
        return true;
    }

    bool Meta(bool& end) {
        if (at_ >= track_.size()) return Broken("メタイベントが途中で切れています");
        unsigned type = Byte();
        if (!SkipCounted()) return false;
        std::optional<std::uint32_t> wanted;
        if (type == 0x51) wanted = 3;  // tempo
        if (type == 0x54) wanted = 5;  // SMPTE offset
        if (type == 0x58) wanted = 4;  // time signature
        if (type == 0x59) wanted = 2;  // key signature
        if (type == kEndOfTrack) wanted = 0;
        if (wanted && length_ != *wanted) {
            return Broken("メタイベント " + Hex(type) + " の長さ " + std::to_string(length_) +
                          " は " + std::to_string(*wanted) + " のはずです");
        }
        end = type == kEndOfTrack;
        return true;
    }

    std::string_view track_;
    int number_;
    std::string* why_;
    std::size_t at_ = 0;
    std::size_t event_at_ = 0;
    std::uint32_t length_ = 0;
    unsigned running_ = 0;
};

}  // namespace

bool IsPlayableMidi(std::string_view bytes, std::string* why) {
    if (bytes.size() < 14 || bytes.substr(0, 4) != "MThd") {
        return Fail(why, "MIDIファイルではありません");
    }
    std::uint32_t headerLength = ReadBigEndian(bytes, 4, 4);
    std::uint32_t tracks = ReadBigEndian(bytes, 10, 2);
    std::uint32_t division = ReadBigEndian(bytes, 12, 2);
    if (headerLength < 6 || headerLength > bytes.size() - 8 || tracks == 0 || division == 0) {
        return Fail(why, "MIDIファイルのヘッダが壊れています");
    }
    std::size_t at = 8 + headerLength;
    for (std::uint32_t t = 0; t < tracks; ++t) {
        if (bytes.size() - at < 8 || bytes.substr(at, 4) != "MTrk") {
            return Fail(why, "MIDIファイルのトラックが壊れています");
        }
        std::uint32_t length = ReadBigEndian(bytes, at + 4, 4);
        if (length > bytes.size() - at - 8) {
            return Fail(why, "MIDIファイルのトラックが途中で切れています");
        }
        if (!TrackReader(bytes.substr(at + 8, length), static_cast<int>(t) + 1, why).Read()) {
            return false;
        }
        at += 8 + length;
    }
    return true;
}

}  // namespace velmora::media
