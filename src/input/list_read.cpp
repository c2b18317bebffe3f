#include "input/list_read.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "engine/utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fmt/format.h>
#include <limits>
#include <locale>
#include <sstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace zarno {

namespace {

bool Is_Digit(char c) {
    return c >= '0' && c <= '9';
}

[[nodiscard]] int Write_Error_Block(AnalysisModel& m, int n, const std::string& problem,
                                    const std::string& detail) {
    return Fail_Run_Numbered(m, MessageId::ListReadValue, 100 + n, problem, detail);
}

// Power of ten of the leading digit of the checked, unsigned decimal text t (0 for "1.5",
// -3 for "0.0012e0", 402 for "12e401"); the exponent is clamped to keep the sum in range.
long long Decimal_Magnitude(std::string_view t) {
    const size_t e = t.find('e');
    const std::string_view mantissa = t.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view x = t.substr(e + 1);
        if (!x.empty() && x.front() == '+') {
            x.remove_prefix(1);
        }
        const auto [end, ec] = std::from_chars(x.data(), x.data() + x.size(), exponent);
        if (ec == std::errc::result_out_of_range) {
            exponent = (!x.empty() && x.front() == '-') ? -1000000 : 1000000;
        }
        (void)end;
    }
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) {
        return -1; // all zeros never overflow
    }
    const long long lead = first < point ? static_cast<long long>(point - first) - 1
                                         : -static_cast<long long>(first - point);
    return lead + std::clamp<long long>(exponent, -1000000, 1000000);
}

// Converts the checked, unsigned decimal text t: std::errc() with the correctly rounded value,
// result_out_of_range when it is too large or too small for a double, invalid_argument when
// not all of t is a number. Standard libraries without a floating-point from_chars (the
// WebAssembly toolchain's) convert through a stream in the classic locale instead.
std::errc Convert_Decimal(std::string_view t, double& v) {
#if defined(__cpp_lib_to_chars)
    const auto [end, ec] =
        std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
    return end == t.data() + t.size() ? ec : std::errc::invalid_argument;
#else
    return Convert_Decimal_Classic(t, v);
#endif
}

// Reads the checked decimal text s ([sign] digits [. digits] [e [sign] digits]) without the
// process locale, which a host program may have set to one with a decimal comma.
bool Parse_Decimal(const std::string& s, double& value) {
    std::string_view t(s);
    bool negative = false;
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    double v = 0.0;
    const std::errc ec = Convert_Decimal(t, v);
    if (ec == std::errc::invalid_argument) {
        return false;
    }
    if (ec == std::errc::result_out_of_range) {
        // Too small to represent is zero, the value meant; too large is no value.
        if (Decimal_Magnitude(t) >= 0) {
            return false;
        }
        v = 0.0;
    } else if (ec != std::errc() || !std::isfinite(v)) {
        return false;
    }
    value = negative ? -v : v;
    return true;
}

} // namespace

std::errc Convert_Decimal_Classic(std::string_view t, double& v) {
    std::istringstream in{std::string(t)};
    in.imbue(std::locale::classic());
    double x = 0.0;
    in >> x;
    if (!in.fail()) {
        if (in.peek() != std::char_traits<char>::eof()) {
            return std::errc::invalid_argument;
        }
        if (x == 0.0 && t.substr(0, t.find('e')).find_first_of("123456789") != t.npos) {
            return std::errc::result_out_of_range; // underflow that some libraries let pass
        }
        v = x;
        return std::errc();
    }
    // The text is a checked number, so a failed read is a value out of range; a subnormal
    // value that the stream flags as an underflow is still the value written.
    if (std::isfinite(x) && x != 0.0 && std::fabs(x) < std::numeric_limits<double>::min()) {
        v = x;
        return std::errc();
    }
    return std::errc::result_out_of_range;
}

// Keeps a quoted echo of the offending text printable and short.
std::string Printable(std::string_view text) {
    std::string s;
    for (char c : text.substr(0, 40)) {
        const auto u = static_cast<unsigned char>(c);
        s.push_back(u >= 32 && u < 127 ? c : '?');
    }
    if (text.size() > 40) {
        s += "...";
    }
    return s;
}

bool Parse_List_Int(std::string_view t, int& value) {
    // from_chars reads the same whatever the process locale; it takes a minus sign but not
    // a plus sign, so a leading plus is skipped here (a sign alone is no number).
    if (!t.empty() && t.front() == '+') {
        t.remove_prefix(1);
        if (!t.empty() && t.front() == '-') {
            return false;
        }
    }
    if (t.empty()) {
        return false;
    }
    int v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size()) {
        return false;
    }
    value = v;
    return true;
}

bool Parse_List_Real(std::string_view t, double& value) {
    // [sign] digits [. [digits]] | [sign] . digits, then an optional exponent E or D.
    std::string s;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        s.push_back(t[i++]);
    }
    std::size_t mantissa_digits = 0;
    while (i < t.size() && Is_Digit(t[i])) {
        s.push_back(t[i++]);
        ++mantissa_digits;
    }
    if (i < t.size() && t[i] == '.') {
        s.push_back(t[i++]);
        while (i < t.size() && Is_Digit(t[i])) {
            s.push_back(t[i++]);
            ++mantissa_digits;
        }
    }
    if (mantissa_digits == 0) {
        return false;
    }
    if (i < t.size() && (t[i] == 'E' || t[i] == 'e' || t[i] == 'D' || t[i] == 'd')) {
        s.push_back('e');
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
            s.push_back(t[i++]);
        }
        std::size_t exponent_digits = 0;
        while (i < t.size() && Is_Digit(t[i])) {
            s.push_back(t[i++]);
            ++exponent_digits;
        }
        if (exponent_digits == 0) {
            return false;
        }
    }
    if (i != t.size()) {
        return false;
    }
    return Parse_Decimal(s, value);
}

ListRead::ListRead(AnalysisModel& m, std::string_view block) : m_(m), block_(block) {
    m_.Input.Begin_List();
}

ListRead::~ListRead() {
    if (m_.RunStatus > 0 || items_ == 0) {
        return;
    }
    const std::string rest = m_.Input.Rest_Of_List_Line();
    if (rest.empty() || rest.front() == '/' || rest.front() == '!') {
        return; // a slash ends a list-directed read; what follows it is a comment
    }
    std::vector<std::string> note{fmt::format(
        "{} block at line {} of the input file: \"{}\" was left over after the {} "
        "value{} the line holds, and was not used.",
        block_, m_.Input.Line_Number(), Printable(rest), items_, items_ == 1 ? "" : "s")};
    double number = 0.0;
    const std::string first = rest.substr(0, rest.find_first_of(" \t,"));
    if (Parse_List_Real(first, number)) {
        note.push_back(
            items_ == 1 ? "This line takes one value; if the numbers after it were meant for the "
                          "following lines, put each value on a line of its own."
                        : "If these numbers were meant for the following lines, move them there; "
                          "otherwise remove them.");
    } else {
        note.push_back("Remove the left-over text, or start it with a slash (/) to keep it as a "
                       "comment.");
    }
    Record_Warning(m_, WARNING_LEFT_OVER_VALUES, std::move(note));
}

bool ListRead::Next(std::string& token, bool& quoted, std::string_view what,
                    std::string_view kind) {
    if (m_.RunStatus > 0) {
        return false;
    }
    const ItemStatus status = m_.Input.Next_Item(token, quoted);
    if (status == ItemStatus::Item) {
        ++items_;
        return true;
    }
    if (status == ItemStatus::End_Of_File) {
        return Raise_End_Of_File(m_, block_, fmt::format("{} ({})", what, kind)) == 0;
    }
    std::string found;
    switch (status) {
    case ItemStatus::Null_Value:
        found = "an empty value between commas";
        break;
    case ItemStatus::Slash:
        found = "a slash";
        break;
    case ItemStatus::Bad_Quote:
        found = "a quoted word without its closing quote";
        break;
    default:
        found = fmt::format("a line longer than {} characters", MAX_LIST_LINE_LENGTH);
        break;
    }
    return Write_Error_Block(
               m_, INPUT_ERROR_BAD_VALUE,
               fmt::format(
                   "Problem:  Unreadable input in the {} block at line {} of the input file.",
                   block_, m_.Input.Line_Number()),
               fmt::format("Expected {} ({}), but found {}.", what, kind, found)) == 0;
}

bool ListRead::Int(int& value, std::string_view what) {
    std::string token;
    bool quoted = false;
    if (!Next(token, quoted, what, "an integer")) {
        return false;
    }
    if (!quoted && Parse_List_Int(token, value)) {
        return true;
    }
    return Raise_Bad_Value(m_, block_, fmt::format("{} (an integer)", what), token) == 0;
}

bool ListRead::Real(double& value, std::string_view what) {
    std::string token;
    bool quoted = false;
    if (!Next(token, quoted, what, "a number")) {
        return false;
    }
    if (!quoted && Parse_List_Real(token, value)) {
        if (std::fabs(value) > MAX_INPUT_MAGNITUDE) {
            return Raise_Out_Of_Range(m_, block_, what, value,
                                      fmt::format("from {:g} to {:g}", -MAX_INPUT_MAGNITUDE,
                                                  MAX_INPUT_MAGNITUDE)) == 0;
        }
        return true;
    }
    return Raise_Bad_Value(m_, block_, fmt::format("{} (a finite number)", what), token) == 0;
}

bool ListRead::Word(std::string& value, std::size_t width, std::string_view what) {
    std::string token;
    bool quoted = false;
    if (!Next(token, quoted, what, "a word")) {
        return false;
    }
    // A word longer than its field is cut on a character boundary, then padded.
    token.resize(Utf8_Prefix_Length(token, width));
    token.resize(width, ' ');
    value = token;
    return true;
}

int Raise_Bad_Value(AnalysisModel& m, std::string_view block, std::string_view expected,
                    std::string_view found) {
    return Write_Error_Block(
        m, INPUT_ERROR_BAD_VALUE,
        fmt::format("Problem:  Unreadable input in the {} block at line {} of the input file.",
                    block, m.Input.Line_Number()),
        fmt::format("Expected {}, but found \"{}\".", expected, Printable(found)));
}

int Raise_End_Of_File(AnalysisModel& m, std::string_view block, std::string_view what) {
    const std::string where =
        block.empty() ? std::string("between blocks") : fmt::format("in the {} block", block);
    return Write_Error_Block(
        m, INPUT_ERROR_END_OF_FILE,
        fmt::format("Problem:  The input file ended {} after line {}.", where,
                    m.Input.Line_Number()),
        fmt::format("Expected {}. Complete the data and end the input with the line END.", what));
}

int Raise_Capacity_Error(AnalysisModel& m, std::string_view block, std::string_view what,
                         long long count, int capacity) {
    return Write_Error_Block(
        m, INPUT_ERROR_CAPACITY,
        fmt::format("Problem:  The {} block at line {} of the input file gives {} {}.", block,
                    m.Input.Line_Number(), count, what),
        fmt::format("Solution: At most {} {} can be analysed; reduce the input.", capacity, what));
}

int Raise_Input_Line_Error(AnalysisModel& m, int n, const std::string& problem,
                           const std::string& solution) {
    return Write_Error_Block(m, n, problem, solution);
}

int Raise_Out_Of_Range(AnalysisModel& m, std::string_view block, std::string_view what,
                       double value, std::string_view allowed) {
    if (what.substr(0, 4) == "the ") {
        what.remove_prefix(4); // the sentence supplies its own article
    }
    return Write_Error_Block(
        m, INPUT_ERROR_OUT_OF_RANGE,
        fmt::format("Problem:  The {} in the {} block at line {} of the input file is {:g}.", what,
                    block, m.Input.Line_Number(), value),
        fmt::format("Solution: Give a value {}.", allowed));
}

bool Check_Range(AnalysisModel& m, std::string_view block, std::string_view what, double value,
                 double low, double high, bool low_open) {
    const bool inside = (low_open ? value > low : value >= low) && value <= high;
    if (inside) {
        return true;
    }
    return Raise_Out_Of_Range(m, block, what, value,
                              fmt::format("{} {:g} and at most {:g}",
                                          low_open ? "greater than" : "of at least", low, high)) ==
           0;
}

int Raise_Out_Of_Order(AnalysisModel& m, std::string_view block, std::string_view what,
                       double value, std::string_view previous_what, double previous) {
    if (what.substr(0, 4) == "the ") {
        what.remove_prefix(4); // the sentence supplies its own article
    }
    return Write_Error_Block(
        m, INPUT_ERROR_OUT_OF_ORDER,
        fmt::format("Problem:  The {} in the {} block at line {} of the input file is {:g}, "
                    "above the {} ({:g}).",
                    what, block, m.Input.Line_Number(), value, previous_what, previous),
        "Solution: Give the depths in order from the pile head downwards.");
}

bool Read_Block_Record(AnalysisModel& m, std::string& record, std::string_view block,
                       std::string_view what) {
    if (m.Input.Read_Record(record)) {
        return true;
    }
    return Raise_End_Of_File(m, block, what) == 0;
}

} // namespace zarno
