#include "report/fortran_format.h"

#include <cmath>
#include <fmt/compile.h>
#include <fmt/format.h>
#include <iterator>
#include <string_view>

namespace zarno {

namespace {

// Text of one field under construction. Fields are short, so the inline storage holds
// them without a heap allocation; a fixed field of a huge value still fits, it only grows.
using FieldBuffer = fmt::basic_memory_buffer<char, 128>;

// 10^0 .. 10^22, the powers of ten a double holds exactly.
constexpr int kExactPowers = 23;
constexpr double kPowersOfTen[kExactPowers] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

void Append_Stars(std::string& out, int w) {
    if (w > 0) {
        out.append(static_cast<size_t>(w), '*');
    }
}

// Appends text right-aligned in w characters, or asterisks when it does not fit. w <= 0
// is the minimal field: the text itself.
void Append_Fit(std::string& out, std::string_view text, int w) {
    if (w <= 0) {
        out.append(text);
        return;
    }
    const auto width = static_cast<size_t>(w);
    if (text.size() > width) {
        Append_Stars(out, w);
        return;
    }
    out.append(width - text.size(), ' ');
    out.append(text);
}

// Correctly rounded conversion of a non-negative finite value in fixed form with
// `decimals` decimals. {fmt} rounds the exact binary value, ties to even, as the C
// library does, and never consults the process locale.
void Convert_Fixed(FieldBuffer& text, double a, int decimals) {
    fmt::format_to(std::back_inserter(text), FMT_COMPILE("{:.{}f}"), a, decimals);
}

// Digits of a non-negative finite value in scientific form with `decimals` decimals:
// the mantissa digits without the point (decimals + 1 of them) and the decimal exponent
// after rounding, so that a carry (9.99996 -> 1.0000e+01) is already in the exponent.
struct Scientific {
    FieldBuffer digits;
    int exponent = 0;
};

void To_Scientific(double a, int decimals, Scientific& s) {
    FieldBuffer text;
    fmt::format_to(std::back_inserter(text), FMT_COMPILE("{:.{}e}"), a, decimals);
    size_t i = 0;
    for (; i < text.size() && text[i] != 'e'; ++i) {
        if (text[i] != '.') {
            s.digits.push_back(text[i]);
        }
    }
    int exponent = 0;
    bool negative = false;
    for (++i; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '-') {
            negative = true;
        } else if (c >= '0' && c <= '9') {
            exponent = exponent * 10 + (c - '0');
        }
    }
    s.exponent = negative ? -exponent : exponent;
}

// Exponent part of the E and ES descriptors: "E+dd", or "+ddd" when three digits are
// needed (the letter gives way to the third digit).
void Append_Exponent(FieldBuffer& text, int exponent) {
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude <= 99) {
        text.push_back('E');
        text.push_back(exponent < 0 ? '-' : '+');
        text.push_back(static_cast<char>('0' + magnitude / 10));
        text.push_back(static_cast<char>('0' + magnitude % 10));
        return;
    }
    text.push_back(exponent < 0 ? '-' : '+');
    fmt::format_to(std::back_inserter(text), "{}", magnitude);
}

// NaN and infinity in a field of w characters (w <= 0: minimal field).
void Append_Non_Finite(std::string& out, double v, int w) {
    if (std::isnan(v)) {
        if (w > 0 && w < 3) {
            Append_Stars(out, w);
        } else {
            Append_Fit(out, "NaN", w);
        }
        return;
    }
    const bool negative = std::signbit(v);
    const std::string_view long_form = negative ? "-Infinity" : "Infinity";
    const std::string_view short_form = negative ? "-Inf" : "Inf";
    if (w > 0 && static_cast<size_t>(w) >= long_form.size()) {
        Append_Fit(out, long_form, w);
        return;
    }
    Append_Fit(out, short_form, w);
}

// Places a real field whose body starts with an optional "0" (the zero before the
// decimal point of a value below one): kept when the field has room, dropped when that
// is what makes the value fit, and dropped in the minimal field when drop_when_minimal.
void Place_Real(std::string& out, bool negative, std::string_view body, bool optional_zero,
                bool drop_when_minimal, int w) {
    const size_t sign = negative ? 1 : 0;
    const size_t full = sign + body.size();
    bool drop_zero = false;
    if (w <= 0) {
        drop_zero = optional_zero && drop_when_minimal;
    } else if (full > static_cast<size_t>(w)) {
        if (!optional_zero || full - 1 > static_cast<size_t>(w)) {
            Append_Stars(out, w);
            return;
        }
        drop_zero = true;
    }
    const size_t length = full - (drop_zero ? 1 : 0);
    if (w > 0) {
        out.append(static_cast<size_t>(w) - length, ' ');
    }
    if (negative) {
        out.push_back('-');
    }
    out.append(drop_zero ? body.substr(1) : body);
}

} // namespace

void Append_F(std::string& out, double v, int w, int d) {
    if (d < 0) {
        Append_Stars(out, w);
        return;
    }
    if (!std::isfinite(v)) {
        Append_Non_Finite(out, v, w);
        return;
    }
    // Even ".ddd" needs d + 1 characters: a larger d cannot fit, so do not convert. Nor
    // can a value with more than w digits before the point.
    const double a = std::fabs(v);
    if (w > 0 && (d + 1 > w || (w < kExactPowers && a >= kPowersOfTen[w]))) {
        Append_Stars(out, w);
        return;
    }
    FieldBuffer body;
    Convert_Fixed(body, a, d);
    if (d == 0) {
        body.push_back('.');
    }
    // With d == 0 the zero is the only digit left, so it stays.
    const bool optional_zero = d > 0 && body.size() > 1 && body[0] == '0' && body[1] == '.';
    Place_Real(out, std::signbit(v), {body.data(), body.size()}, optional_zero, true, w);
}

void Append_ES(std::string& out, double v, int w, int d) {
    if (d < 0) {
        Append_Stars(out, w);
        return;
    }
    if (!std::isfinite(v)) {
        Append_Non_Finite(out, v, w);
        return;
    }
    // "x." + d digits + "E+dd" needs d + 6 characters.
    if (w > 0 && d + 6 > w) {
        Append_Stars(out, w);
        return;
    }
    Scientific s;
    To_Scientific(std::fabs(v), d, s);
    if (s.digits.size() == 0) {
        Append_Stars(out, w);
        return;
    }
    FieldBuffer body;
    body.push_back(s.digits[0]);
    body.push_back('.');
    body.append(s.digits.data() + 1, s.digits.data() + s.digits.size());
    Append_Exponent(body, s.exponent);
    Place_Real(out, std::signbit(v), {body.data(), body.size()}, false, false, w);
}

void Append_E(std::string& out, double v, int w, int d) {
    if (d <= 0) {
        Append_Stars(out, w);
        return;
    }
    if (!std::isfinite(v)) {
        Append_Non_Finite(out, v, w);
        return;
    }
    // "." + d digits + "E+dd" needs d + 5 characters.
    if (w > 0 && d + 5 > w) {
        Append_Stars(out, w);
        return;
    }
    const double a = std::fabs(v);
    FieldBuffer body;
    body.push_back('0');
    body.push_back('.');
    int exponent = 0;
    if (a != 0.0) {
        // d significant digits: d.ddd x 10^x is 0.dddd x 10^(x+1).
        Scientific s;
        To_Scientific(a, d - 1, s);
        if (s.digits.size() == 0) {
            Append_Stars(out, w);
            return;
        }
        body.append(s.digits.data(), s.digits.data() + s.digits.size());
        exponent = s.exponent + 1;
    } else {
        for (int i = 0; i < d; ++i) {
            body.push_back('0');
        }
    }
    Append_Exponent(body, exponent);
    Place_Real(out, std::signbit(v), {body.data(), body.size()}, true, false, w);
}

void Append_I(std::string& out, long long v, int w) {
    const fmt::format_int text(v);
    Append_Fit(out, {text.data(), text.size()}, w);
}

std::string Format_F(double v, int w, int d) {
    std::string out;
    Append_F(out, v, w, d);
    return out;
}

std::string Format_ES(double v, int w, int d) {
    std::string out;
    Append_ES(out, v, w, d);
    return out;
}

std::string Format_E(double v, int w, int d) {
    std::string out;
    Append_E(out, v, w, d);
    return out;
}

std::string Format_I(long long v, int w) {
    std::string out;
    Append_I(out, v, w);
    return out;
}

std::string Format_List_Real(double v) {
    constexpr int kField = 25;       // whole list item
    constexpr int kFixedPart = 20;   // fixed form, followed by...
    constexpr int kTrailBlanks = 5;  // ...the room an exponent would take
    constexpr int kSignificant = 17; // enough to identify every double
    std::string out;
    if (!std::isfinite(v)) {
        Append_Non_Finite(out, v, kField);
        return out;
    }
    Scientific s;
    To_Scientific(std::fabs(v), kSignificant - 1, s);
    if (s.digits.size() != static_cast<size_t>(kSignificant)) {
        Append_Stars(out, kField);
        return out;
    }
    const std::string_view digits(s.digits.data(), s.digits.size());
    std::string body = std::signbit(v) ? "-" : "";
    // Fixed form when the rounded value lies in [0.1, 1e17), and for zero.
    if (s.exponent >= -1 && s.exponent < kSignificant) {
        if (s.exponent == -1) {
            body += "0.";
            body += digits;
        } else {
            const auto split = static_cast<size_t>(s.exponent) + 1;
            body += digits.substr(0, split);
            body += '.';
            body += digits.substr(split);
        }
        Append_Fit(out, body, kFixedPart);
        out.append(kTrailBlanks, ' ');
        return out;
    }
    body += digits.substr(0, 1);
    body += '.';
    body += digits.substr(1);
    fmt::format_to(std::back_inserter(body), "E{}{:03d}", s.exponent < 0 ? '-' : '+',
                   s.exponent < 0 ? -s.exponent : s.exponent);
    Append_Fit(out, body, kField);
    return out;
}

std::string Format_List_Logical(bool b) {
    return b ? "T" : "F";
}

} // namespace zarno
