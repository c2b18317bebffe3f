// Text of the input is kept as UTF-8: fields are cut on character boundaries, and bytes
// that are no part of a UTF-8 character (a deck saved in an 8-bit code page, "Café" written
// as one byte 0xE9) are replaced by U+FFFD, so every writer of the run's texts, JSON
// included, receives valid UTF-8.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace zarno {

// Length in bytes of the valid UTF-8 character that starts at s[i], or 0 when the bytes
// there are none (a stray continuation byte, an overlong form, a surrogate, a value above
// U+10FFFF or a character cut short).
inline std::size_t Utf8_Char_Length(std::string_view s, std::size_t i) {
    const auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char c = b(i);
    if (c < 0x80) {
        return 1;
    }
    std::size_t n = 0;
    unsigned char lo = 0x80;
    unsigned char hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        lo = c == 0xE0 ? 0xA0 : 0x80; // no overlong forms
        hi = c == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        lo = c == 0xF0 ? 0x90 : 0x80;
        hi = c == 0xF4 ? 0x8F : 0xBF; // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (i + n > s.size() || b(i + 1) < lo || b(i + 1) > hi) {
        return 0;
    }
    for (std::size_t k = 2; k < n; ++k) {
        if (b(i + k) < 0x80 || b(i + k) > 0xBF) {
            return 0;
        }
    }
    return n;
}

inline bool Is_Valid_Utf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = Utf8_Char_Length(s, i);
        if (n == 0) {
            return false;
        }
        i += n;
    }
    return true;
}

// Replaces every byte that is no part of a valid UTF-8 character by U+FFFD. Returns true
// when something was replaced.
inline bool Replace_Invalid_Utf8(std::string& s) {
    if (Is_Valid_Utf8(s)) {
        return false;
    }
    std::string out;
    out.reserve(s.size() + 8);
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = Utf8_Char_Length(s, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(s, i, n);
            i += n;
        }
    }
    s = std::move(out);
    return true;
}

// The longest prefix of at most max_bytes bytes that does not end inside a valid UTF-8
// character (bytes that are no character are cut like single characters).
inline std::size_t Utf8_Prefix_Length(std::string_view s, std::size_t max_bytes) {
    if (s.size() <= max_bytes) {
        return s.size();
    }
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = std::max<std::size_t>(Utf8_Char_Length(s, i), 1);
        if (i + n > max_bytes) {
            return i;
        }
        i += n;
    }
    return max_bytes;
}

} // namespace zarno
