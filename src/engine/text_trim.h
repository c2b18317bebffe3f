// Trimming of text fields. Labels and names are stored in fixed-width fields filled with
// blanks; text read from files may also carry tabs and line ends.
#pragma once

#include <string>
#include <string_view>

namespace zarno {

inline constexpr std::string_view BLANK = " ";
// Blanks, tabs and line ends.
inline constexpr std::string_view WHITE_SPACE = " \t\r\n";

// The text without the given characters at its end (trailing blanks by default).
inline std::string Trim_Right(std::string_view s, std::string_view chars = BLANK) {
    const size_t end = s.find_last_not_of(chars);
    return end == std::string_view::npos ? std::string() : std::string(s.substr(0, end + 1));
}

// The text without the given characters at either end.
inline std::string Trim_Both(std::string_view s, std::string_view chars = BLANK) {
    const size_t first = s.find_first_not_of(chars);
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(s.substr(first, s.find_last_not_of(chars) - first + 1));
}

} // namespace zarno
