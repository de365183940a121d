// Fixed-capacity text of the records: holds UTF-8, but never more than N
// bytes of its CP932 form, cut at a character boundary.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/text.h"

namespace velmora {

template <std::size_t N>
class ShortString {
public:
    static constexpr std::size_t kCapacity = N;

    ShortString() = default;
    ShortString(std::string_view utf8) { Assign(utf8); }  // NOLINT: records assign texts freely
    ShortString(const char* utf8) { Assign(utf8); }       // NOLINT

    ShortString& operator=(std::string_view utf8) {
        Assign(utf8);
        return *this;
    }
    ShortString& operator=(const char* utf8) {
        Assign(utf8);
        return *this;
    }
    ShortString& operator=(const std::string& utf8) {
        Assign(utf8);
        return *this;
    }

    template <std::size_t M>
    ShortString& operator=(const ShortString<M>& other) {
        Assign(other.str());
        return *this;
    }

    const std::string& str() const { return text_; }
    const char* c_str() const { return text_.c_str(); }
    bool empty() const { return text_.empty(); }
    operator std::string_view() const { return text_; }  // NOLINT

    friend bool operator==(const ShortString& a, const ShortString& b) { return a.text_ == b.text_; }
    friend bool operator==(const ShortString& a, std::string_view b) { return a.text_ == b; }

private:
    void Assign(std::string_view utf8) { text_ = TruncateCp932(utf8, N); }
    std::string text_;
};

template <std::size_t N>
std::string operator+(const ShortString<N>& a, std::string_view b) {
    return a.str() + std::string(b);
}
template <std::size_t N>
std::string operator+(std::string_view a, const ShortString<N>& b) {
    return std::string(a) + b.str();
}

}  // namespace velmora
