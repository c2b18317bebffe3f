#include "report/fortran_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zarno {

namespace {

std::string Stars(int w) {
    return std::string(static_cast<size_t>(w > 0 ? w : 0), '*');
}

// Right-aligns text in w characters, or asterisks when it does not fit. w <= 0 is the
// minimal field: the text itself.
std::string Fit(const std::string& text, int w) {
    if (w <= 0) {
        return text;
    }
    const auto width = static_cast<size_t>(w);
    if (text.size() > width) {
        return Stars(w);
    }
    return std::string(width - text.size(), ' ') + text;
}

// Correctly rounded conversion of a non-negative finite value with the given printf
// conversion ('f' or 'e') and precision.
std::string Convert(double a, char conversion, int precision) {
    const char* format = conversion == 'f' ? "%.*f" : "%.*e";
    const int length = std::snprintf(nullptr, 0, format, precision, a);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, precision, a);
    text.resize(static_cast<size_t>(length));
    return text;
}

// Digits of a non-negative finite value in scientific form with `decimals` decimals:
// the mantissa digits without the point (decimals + 1 of them) and the decimal exponent
// after rounding, so that a carry (9.99996 -> 1.0000e+01) is already in the exponent.
struct Scientific {
    std::string digits;
    int exponent = 0;
};

Scientific To_Scientific(double a, int decimals) {
    const std::string text = Convert(a, 'e', decimals);
    Scientific s;
    const size_t e = text.find('e');
    for (size_t i = 0; i < e && i < text.size(); ++i) {
        if (text[i] != '.') {
            s.digits.push_back(text[i]);
        }
    }
    if (e != std::string::npos) {
        s.exponent = std::atoi(text.c_str() + e + 1);
    }
    return s;
}

// Exponent part of the E and ES descriptors: "E+dd", or "+ddd" when three digits are
// needed (the letter gives way to the third digit).
std::string Exponent_Text(int exponent) {
    const int magnitude = exponent < 0 ? -exponent : exponent;
    std::string text = exponent < 0 ? "-" : "+";
    if (magnitude <= 99) {
        text.insert(0, "E");
        text += static_cast<char>('0' + magnitude / 10);
        text += static_cast<char>('0' + magnitude % 10);
    } else {
        text += std::to_string(magnitude);
    }
    return text;
}

// NaN and infinity in a field of w characters (w <= 0: minimal field).
std::string Non_Finite(double v, int w) {
    if (std::isnan(v)) {
        return w > 0 && w < 3 ? Stars(w) : Fit("NaN", w);
    }
    const bool negative = std::signbit(v);
    const std::string long_form = negative ? "-Infinity" : "Infinity";
    const std::string short_form = negative ? "-Inf" : "Inf";
    if (w > 0 && static_cast<size_t>(w) >= long_form.size()) {
        return Fit(long_form, w);
    }
    return Fit(short_form, w);
}

// Places a real field whose text starts with an optional "0" (the zero before the
// decimal point of a value below one): kept when the field has room, dropped when that
// is what makes the value fit, and dropped in the minimal field when drop_when_minimal.
std::string Place_Real(bool negative, const std::string& body, bool optional_zero,
                       bool drop_when_minimal, int w) {
    const std::string sign = negative ? "-" : "";
    const std::string full = sign + body;
    const std::string short_form = optional_zero ? sign + body.substr(1) : full;
    if (w <= 0) {
        return drop_when_minimal ? short_form : full;
    }
    if (full.size() <= static_cast<size_t>(w)) {
        return Fit(full, w);
    }
    return Fit(short_form, w);
}

} // namespace

std::string Format_F(double v, int w, int d) {
    if (d < 0) {
        return Stars(w);
    }
    if (!std::isfinite(v)) {
        return Non_Finite(v, w);
    }
    // Even ".ddd" needs d + 1 characters: a larger d cannot fit, so do not convert.
    if (w > 0 && d + 1 > w) {
        return Stars(w);
    }
    std::string body = Convert(std::fabs(v), 'f', d);
    if (d == 0) {
        body += '.';
    }
    // With d == 0 the zero is the only digit left, so it stays.
    const bool optional_zero = d > 0 && body.size() > 1 && body[0] == '0' && body[1] == '.';
    return Place_Real(std::signbit(v), body, optional_zero, true, w);
}

std::string Format_ES(double v, int w, int d) {
    if (d < 0) {
        return Stars(w);
    }
    if (!std::isfinite(v)) {
        return Non_Finite(v, w);
    }
    // "x." + d digits + "E+dd" needs d + 6 characters.
    if (w > 0 && d + 6 > w) {
        return Stars(w);
    }
    const Scientific s = To_Scientific(std::fabs(v), d);
    if (s.digits.empty()) {
        return Stars(w);
    }
    std::string body = s.digits.substr(0, 1) + "." + s.digits.substr(1);
    body += Exponent_Text(s.exponent);
    return Place_Real(std::signbit(v), body, false, false, w);
}

std::string Format_E(double v, int w, int d) {
    if (d <= 0) {
        return Stars(w);
    }
    if (!std::isfinite(v)) {
        return Non_Finite(v, w);
    }
    // "." + d digits + "E+dd" needs d + 5 characters.
    if (w > 0 && d + 5 > w) {
        return Stars(w);
    }
    const double a = std::fabs(v);
    std::string digits(static_cast<size_t>(d), '0');
    int exponent = 0;
    if (a != 0.0) {
        // d significant digits: d.ddd x 10^x is 0.dddd x 10^(x+1).
        const Scientific s = To_Scientific(a, d - 1);
        if (s.digits.empty()) {
            return Stars(w);
        }
        digits = s.digits;
        exponent = s.exponent + 1;
    }
    const std::string body = "0." + digits + Exponent_Text(exponent);
    return Place_Real(std::signbit(v), body, true, false, w);
}

std::string Format_I(long long v, int w) {
    return Fit(std::to_string(v), w);
}

std::string Format_List_Real(double v) {
    constexpr int kField = 25;       // whole list item
    constexpr int kFixedPart = 20;   // fixed form, followed by...
    constexpr int kTrailBlanks = 5;  // ...the room an exponent would take
    constexpr int kSignificant = 17; // enough to identify every double
    if (!std::isfinite(v)) {
        return Non_Finite(v, kField);
    }
    const Scientific s = To_Scientific(std::fabs(v), kSignificant - 1);
    if (s.digits.size() != static_cast<size_t>(kSignificant)) {
        return Stars(kField);
    }
    const std::string sign = std::signbit(v) ? "-" : "";
    // Fixed form when the rounded value lies in [0.1, 1e17), and for zero.
    if (s.exponent >= -1 && s.exponent < kSignificant) {
        std::string body;
        if (s.exponent == -1) {
            body = "0." + s.digits;
        } else {
            const auto split = static_cast<size_t>(s.exponent) + 1;
            body = s.digits.substr(0, split) + "." + s.digits.substr(split);
        }
        return Fit(sign + body, kFixedPart) + std::string(kTrailBlanks, ' ');
    }
    const int magnitude = s.exponent < 0 ? -s.exponent : s.exponent;
    std::string exponent = s.exponent < 0 ? "E-" : "E+";
    const std::string exponent_digits = std::to_string(magnitude);
    exponent += std::string(exponent_digits.size() < 3 ? 3 - exponent_digits.size() : 0, '0');
    exponent += exponent_digits;
    return Fit(sign + s.digits.substr(0, 1) + "." + s.digits.substr(1) + exponent, kField);
}

std::string Format_List_Logical(bool b) {
    return b ? "T" : "F";
}

} // namespace zarno
