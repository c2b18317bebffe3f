// The edit descriptors against an independent reference: the C library's correctly
// rounded conversion (snprintf "%.*f" / "%.*e") with the field layout rules applied on
// top. Random values cover the whole double range (every bit pattern, so subnormals,
// NaN and infinities too), the magnitudes reports print, exact binary ties and their
// neighbours, and signed zeros, for every descriptor the writers use.
#include "report/fortran_format.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace zarno {
namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_UNDEFINED__)
constexpr int kValuesPerDescriptor = 2000;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
constexpr int kValuesPerDescriptor = 2000;
#else
constexpr int kValuesPerDescriptor = 20000;
#endif
#else
constexpr int kValuesPerDescriptor = 20000;
#endif

// ZARNO_FORMAT_VALUES raises the count for a long soak run (millions per descriptor).
int Values_Per_Descriptor() {
    const char* text = std::getenv("ZARNO_FORMAT_VALUES");
    const long count = text != nullptr ? std::strtol(text, nullptr, 10) : 0;
    return count > 0 ? static_cast<int>(count) : kValuesPerDescriptor;
}

std::string C_Library(const char* format, int precision, double a) {
    char text[1200];
    std::snprintf(text, sizeof text, format, precision, a);
    return text;
}

std::string Fit(const std::string& text, int w) {
    if (w <= 0) {
        return text;
    }
    if (text.size() > static_cast<size_t>(w)) {
        return std::string(static_cast<size_t>(w), '*');
    }
    return std::string(static_cast<size_t>(w) - text.size(), ' ') + text;
}

std::string Non_Finite(double v, int w) {
    if (std::isnan(v)) {
        return w > 0 && w < 3 ? std::string(static_cast<size_t>(w), '*') : Fit("NaN", w);
    }
    const std::string full = std::signbit(v) ? "-Infinity" : "Infinity";
    return w > 0 && static_cast<size_t>(w) >= full.size()
               ? Fit(full, w)
               : Fit(std::signbit(v) ? "-Inf" : "Inf", w);
}

// Sign, optional leading zero and width, as the descriptors lay a real out.
std::string Place(double v, const std::string& body, bool optional_zero, bool drop_minimal, int w) {
    const std::string sign = std::signbit(v) ? "-" : "";
    const std::string full = sign + body;
    const std::string shorter = optional_zero ? sign + body.substr(1) : full;
    if (w <= 0) {
        return drop_minimal ? shorter : full;
    }
    return full.size() <= static_cast<size_t>(w) ? Fit(full, w) : Fit(shorter, w);
}

std::string Exponent(int e) {
    const int a = std::abs(e);
    char text[16];
    if (a <= 99) {
        std::snprintf(text, sizeof text, "E%c%02d", e < 0 ? '-' : '+', a);
    } else {
        std::snprintf(text, sizeof text, "%c%d", e < 0 ? '-' : '+', a);
    }
    return text;
}

std::string Reference_F(double v, int w, int d) {
    if (!std::isfinite(v)) {
        return Non_Finite(v, w);
    }
    // Fields too narrow for the digits before the point (at least w + 1 of them) are
    // asterisks; the full conversion of such values is compared through F0.d.
    if (w > 0 && (d + 1 > w || std::fabs(v) >= std::pow(10.0, w))) {
        return std::string(static_cast<size_t>(w), '*');
    }
    std::string body = C_Library("%.*f", d, std::fabs(v));
    if (d == 0) {
        body += '.';
    }
    return Place(v, body, d > 0 && body.rfind("0.", 0) == 0, true, w);
}

// Mantissa digits (point removed) and exponent of "%.*e".
std::pair<std::string, int> Reference_Scientific(double a, int decimals) {
    const std::string text = C_Library("%.*e", decimals, a);
    const size_t e = text.find('e');
    std::string digits;
    for (size_t i = 0; i < e; ++i) {
        if (text[i] != '.') {
            digits += text[i];
        }
    }
    return {digits, std::atoi(text.c_str() + e + 1)};
}

std::string Reference_ES(double v, int w, int d) {
    if (!std::isfinite(v)) {
        return Non_Finite(v, w);
    }
    if (w > 0 && d + 6 > w) {
        return std::string(static_cast<size_t>(w), '*');
    }
    const auto [digits, e] = Reference_Scientific(std::fabs(v), d);
    return Place(v, digits.substr(0, 1) + "." + digits.substr(1) + Exponent(e), false, false, w);
}

std::string Reference_E(double v, int w, int d) {
    if (!std::isfinite(v)) {
        return Non_Finite(v, w);
    }
    if (w > 0 && d + 5 > w) {
        return std::string(static_cast<size_t>(w), '*');
    }
    std::string digits(static_cast<size_t>(d), '0');
    int e = 0;
    if (v != 0.0) {
        const auto s = Reference_Scientific(std::fabs(v), d - 1);
        digits = s.first;
        e = s.second + 1;
    }
    return Place(v, "0." + digits + Exponent(e), true, false, w);
}

// Values of every kind the writers meet, drawn in turn.
class ValueSource {
  public:
    explicit ValueSource(std::uint64_t seed) : rng_(seed) {}

    double Next() {
        switch (count_++ % 6) {
        case 0: // any bit pattern: the whole range, subnormals, NaN, infinities
            return std::bit_cast<double>(rng_());
        case 1: { // report magnitudes, both signs
            const double mantissa = std::uniform_real_distribution<double>(1.0, 10.0)(rng_);
            const int exponent = std::uniform_int_distribution<int>(-16, 16)(rng_);
            return (rng_() & 1 ? -1.0 : 1.0) * mantissa * std::pow(10.0, exponent);
        }
        case 2: { // exact binary ties of a decimal digit: n / 2^k
            const auto n = static_cast<double>(rng_() % 2000001) - 1000000.0;
            return std::ldexp(n + 0.5, -std::uniform_int_distribution<int>(0, 12)(rng_));
        }
        case 3: { // decimal halves, stored just off the tie, and their neighbours
            const double n = static_cast<double>(rng_() % 100000) + 0.5;
            const double tie = n / std::pow(10.0, std::uniform_int_distribution<int>(0, 8)(rng_));
            const int step = std::uniform_int_distribution<int>(-1, 1)(rng_);
            return step == 0 ? tie : std::nextafter(tie, step * INFINITY);
        }
        case 4: { // values that round up into the next power of ten
            const int exponent = std::uniform_int_distribution<int>(-10, 10)(rng_);
            const double nines =
                1.0 - std::pow(10.0, -std::uniform_int_distribution<int>(1, 9)(rng_));
            return nines * std::pow(10.0, exponent);
        }
        default: {
            constexpr double specials[] = {
                0.0,   -0.0,    INFINITY, -INFINITY, NAN, 5e-324, 1.7976931348623157e308,
                1e-12, 10000.0, 1e100};
            return specials[rng_() % std::size(specials)];
        }
        }
    }

  private:
    std::mt19937_64 rng_;
    std::uint64_t count_ = 0;
};

struct Descriptor {
    char kind; // 'F', 'S' (ES) or 'E'
    int w;
    int d;
};

std::vector<Descriptor> Descriptors_Used() {
    std::vector<Descriptor> list = {
        {'S', 15, 7},
        {'S', 12, 4},
        {'S', 12, 5},
        {'S', 15, 3},
        {'S', 10, 3},
        {'E', 15, 8},
        {'F', 12, 3},
        {'F', 10, 3},
        {'F', 15, 3},
        {'F', 9, 3},
        {'F', 15, 4},
        {'F', 12, 6},
        {'F', 24, 3},
        {'F', 22, 3},
        {'F', 15, 0},
        {'F', 17, 3},
        {'F', 15, 5},
        {'F', 14, 3},
        {'F', 12, 5},
        {'F', 5, 2},
        {'F', 22, 1},
        {'F', 21, 8},
        {'F', 15, 8},
        {'F', 15, 6},
        {'F', 13, 8},
        {'F', 12, 1},
        {'F', 0, 3},
        {'S', 0, 4},
        {'E', 0, 6},
        // Where the integer digits of the fast conversion run out (18 to 20 digits).
        {'S', 0, 17},
        {'S', 0, 18},
        {'E', 0, 18},
        {'E', 0, 19},
        {'F', 0, 18},
        {'F', 0, 19},
        {'F', 0, 20},
        // Where fields composed from sixteen digits give way to the general path: the
        // sixteenth and seventeenth digit, and the widest such field and one wider.
        {'S', 22, 15},
        {'S', 23, 16},
        {'F', 26, 8},
        {'F', 48, 15},
        {'F', 49, 15},
        {'S', 48, 8},
        {'S', 49, 8},
    };
    for (int d = 0; d <= 8; ++d) {
        list.push_back({'F', 14, d});
        list.push_back({'F', 12, d});
    }
    // The automatic number format of the report and plot writers, widths 10 to 20.
    for (int h = 10; h <= 20; ++h) {
        list.push_back({'F', h - 1, h - 8});
        list.push_back({'S', h - 1, h - 8});
        list.push_back({'F', h - 1, 0});
        list.push_back({'F', h - 1, h - 7});
        list.push_back({'F', h - 1, h - 5});
    }
    return list;
}

// Compares one field with the reference; false (and a failure) when they differ.
bool Same_As_C_Library(const Descriptor& f, double v) {
    std::string ours;
    std::string reference;
    if (f.kind == 'F') {
        ours = Format_F(v, f.w, f.d);
        reference = Reference_F(v, f.w, f.d);
    } else if (f.kind == 'S') {
        ours = Format_ES(v, f.w, f.d);
        reference = Reference_ES(v, f.w, f.d);
    } else {
        ours = Format_E(v, f.w, f.d);
        reference = Reference_E(v, f.w, f.d);
    }
    if (ours == reference) {
        return true;
    }
    ADD_FAILURE() << f.kind << f.w << "." << f.d << " of " << std::hexfloat << v << ": \"" << ours
                  << "\", C library \"" << reference << "\"";
    return false;
}

double Decimal(const std::string& text) {
    return std::strtod(text.c_str(), nullptr);
}

// Values where a conversion is most likely to slip, whatever the descriptor: powers of ten
// and the values just below them that round up into the next decade (99.995, 9.9995e-7),
// decimal ties at every digit position, the edges of 64-bit integer digits, subnormals and
// the ends of the range, each with its two neighbours and both signs.
std::vector<double> Boundary_Values() {
    std::vector<double> centres;
    for (int p = -24; p <= 24; ++p) {
        const std::string exponent = "e" + std::to_string(p);
        centres.push_back(Decimal("1" + exponent));
        std::string nines;
        for (int digits = 1; digits <= 18; ++digits) {
            nines += '9';
            centres.push_back(Decimal(nines + ".5" + exponent)); // carries into 10^(digits+p)
        }
        for (const char* tie : {"0.5", "1.5", "2.5", "4.5", "12.5", "123456.5", "0.25"}) {
            centres.push_back(Decimal(tie + exponent));
        }
    }
    const double specials[] = {0.0,
                               5e-324,
                               2.2250738585072009e-308, // largest subnormal
                               std::numeric_limits<double>::min(),
                               1.7976931348623157e308,
                               1e308,
                               9007199254740992.0,     // 2^53
                               9223372036854775808.0,  // 2^63
                               18446744073709551616.0, // 2^64
                               1e19,
                               1e20,
                               1e-12,
                               0.1,
                               0.3};
    centres.insert(centres.end(), std::begin(specials), std::end(specials));
    std::vector<double> values;
    for (const double c : centres) {
        for (const double v : {std::nextafter(c, 0.0), c, std::nextafter(c, INFINITY)}) {
            values.push_back(v);
            values.push_back(-v);
        }
    }
    values.push_back(std::numeric_limits<double>::quiet_NaN());
    values.push_back(INFINITY);
    values.push_back(-INFINITY);
    return values;
}

TEST(FormatAgainstCLibrary, EveryDescriptorOnRandomValues) {
    ValueSource values(20261210);
    const int count = Values_Per_Descriptor();
    for (const Descriptor& f : Descriptors_Used()) {
        int failures = 0;
        for (int i = 0; i < count && failures < 5; ++i) {
            if (!Same_As_C_Library(f, values.Next())) {
                ++failures;
            }
        }
    }
}

TEST(FormatAgainstCLibrary, EveryDescriptorOnBoundaryValues) {
    const std::vector<double> values = Boundary_Values();
    for (const Descriptor& f : Descriptors_Used()) {
        int failures = 0;
        for (size_t i = 0; i < values.size() && failures < 5; ++i) {
            if (!Same_As_C_Library(f, values[i])) {
                ++failures;
            }
        }
    }
}

TEST(FormatAgainstCLibrary, ListDirectedRealDigits) {
    ValueSource source(6036);
    std::vector<double> values = Boundary_Values();
    const int count = Values_Per_Descriptor() * 4;
    for (int i = 0; i < count; ++i) {
        values.push_back(source.Next());
    }
    int failures = 0;
    for (size_t i = 0; i < values.size() && failures < 5; ++i) {
        const double v = values[i];
        if (!std::isfinite(v)) {
            continue;
        }
        // The 17 significant digits and the exponent must be those of "%.16e".
        const auto [digits, e] = Reference_Scientific(std::fabs(v), 16);
        const std::string field = Format_List_Real(v);
        std::string shown;
        for (char c : field.substr(0, field.find('E'))) {
            if (c >= '0' && c <= '9') {
                shown += c;
            }
        }
        const bool fixed = e >= -1 && e < 17;
        const std::string expected = fixed && e == -1 ? "0" + digits : digits;
        if (shown != expected || field.size() != 25) {
            ++failures;
            ADD_FAILURE() << std::hexfloat << v << ": \"" << field << "\", digits " << digits
                          << " exponent " << e;
        }
    }
}

} // namespace
} // namespace zarno
