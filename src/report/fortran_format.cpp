#include "report/fortran_format.h"

#include <cmath>
#include <cstdint>
#include <cstring>
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

// ---- exact decimal rounding by integer arithmetic -----------------------------------
// A double is m * 2^e with an integer m below 2^53, so a * 10^k is a ratio of integers
// that 128 bits hold for every value a report prints. Rounding that ratio to the nearest
// integer, ties to even, gives the same digits as rounding the exact binary value in
// decimal (what the C library and {fmt} do) at a small fraction of the cost. Values
// outside that range go to {fmt}.

constexpr int kMaxDigits = 20; // digits of the largest 64-bit value
constexpr char kZeros[] = "00000000000000000000000000000000";
constexpr std::uint64_t kPow10[20] = {1ULL,
                                      10ULL,
                                      100ULL,
                                      1000ULL,
                                      10000ULL,
                                      100000ULL,
                                      1000000ULL,
                                      10000000ULL,
                                      100000000ULL,
                                      1000000000ULL,
                                      10000000000ULL,
                                      100000000000ULL,
                                      1000000000000ULL,
                                      10000000000000ULL,
                                      100000000000000ULL,
                                      1000000000000000ULL,
                                      10000000000000000ULL,
                                      100000000000000000ULL,
                                      1000000000000000000ULL,
                                      10000000000000000000ULL};

// The bits of a double (memcpy rather than std::bit_cast, which not every standard library
// used to build the engine offers).
std::uint64_t Bits_Of(double a) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &a, sizeof bits);
    return bits;
}

struct Digits {
    std::uint64_t value = 0;
};

#if defined(__SIZEOF_INT128__)
__extension__ typedef unsigned __int128 Wide;

int Bit_Length(Wide x) {
    const auto high = static_cast<std::uint64_t>(x >> 64);
    if (high != 0) {
        return 128 - __builtin_clzll(high);
    }
    const auto low = static_cast<std::uint64_t>(x);
    return low == 0 ? 0 : 64 - __builtin_clzll(low);
}

// Rounds num / den to the nearest integer, ties to even.
Wide Round_Ratio(Wide num, Wide den) {
    Wide q = num / den;
    const Wide twice_rem = (num - q * den) * 2; // den < 2^127, so no overflow
    if (twice_rem > den || (twice_rem == den && (q & 1) != 0)) {
        ++q;
    }
    return q;
}

// a * 10^k rounded to an integer (k may be negative), when it fits in 64 bits and the
// arithmetic in 128 bits; false otherwise.
bool Round_Scaled(double a, int k, Digits& out) {
    if (!(a >= 0.0) || !std::isfinite(a) || k > 19 || k < -19) {
        return false;
    }
    // a = m * 2^e exactly, from the bits of the double.
    const auto bits = Bits_Of(a);
    const auto biased = static_cast<int>(bits >> 52);
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    int e = 0;
    if (biased == 0) {
        e = -1074; // zero and subnormal values
    } else {
        m |= std::uint64_t{1} << 52;
        e = biased - 1075;
    }
    if (m == 0) {
        out.value = 0;
        return true;
    }
    Wide num = m;
    if (k >= 0) {
        num *= kPow10[k]; // below 2^117
    }
    Wide q = 0;
    if (e >= 0) {
        if (Bit_Length(num) + e > 126) {
            return false;
        }
        num <<= e;
        q = k >= 0 ? num : Round_Ratio(num, kPow10[-k]);
    } else if (k >= 0) {
        // Division by a power of two: the bits shifted out decide the rounding.
        const int shift = -e;
        if (shift >= 127) {
            return false; // far below one half
        }
        q = num >> shift;
        const Wide rest = num - (q << shift);
        const Wide half = Wide{1} << (shift - 1);
        if (rest > half || (rest == half && (q & 1) != 0)) {
            ++q;
        }
    } else {
        if (Bit_Length(kPow10[-k]) - e > 126) {
            return false;
        }
        q = Round_Ratio(num, Wide{kPow10[-k]} << -e);
    }
    if ((q >> 64) != 0) {
        return false;
    }
    out.value = static_cast<std::uint64_t>(q);
    return true;
}
#else
bool Round_Scaled(double, int, Digits&) {
    return false;
}
#endif

// Decimal digits of n, most significant first; returns their count ("0" for zero).
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233"
    "34353637383940414243444546474849505152535455565758596061626364656667"
    "6869707172737475767778798081828384858687888990919293949596979899";

int Write_Digits(std::uint64_t n, char* out) {
    char buffer[kMaxDigits];
    char* p = buffer + kMaxDigits;
    while (n >= 100) {
        const auto pair = static_cast<std::size_t>(n % 100) * 2;
        n /= 100;
        p -= 2;
        std::memcpy(p, kDigitPairs + pair, 2);
    }
    if (n >= 10) {
        p -= 2;
        std::memcpy(p, kDigitPairs + static_cast<std::size_t>(n) * 2, 2);
    } else {
        *--p = static_cast<char>('0' + n);
    }
    const auto count = static_cast<int>(buffer + kMaxDigits - p);
    std::memcpy(out, p, static_cast<std::size_t>(count));
    return count;
}

// Fixed form of a value whose digits the integer path cannot hold (beyond 64 bits or 19
// decimals). {fmt} rounds the exact binary value, ties to even, as the C
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

// decimals + 1 significant digits of a >= 0 (into digits) and the decimal exponent after
// rounding; false when the value needs the general conversion.
bool Scientific_Digits(double a, int decimals, char* digits, int& exponent) {
    const int n = decimals + 1;
    if (decimals < 0 || n > 19 || !std::isfinite(a) || a < 0.0) {
        return false;
    }
    if (a == 0.0) {
        std::memcpy(digits, kZeros, static_cast<std::size_t>(n));
        exponent = 0;
        return true;
    }
    const auto biased = static_cast<int>(Bits_Of(a) >> 52);
    if (biased == 0) {
        return false; // subnormal
    }
    const int e2 = biased - 1022; // 2^(e2 - 1) <= a < 2^e2
    // floor((e2 - 1) log10 2), which is floor(log10 a) or one less (78913 / 2^18 is log10 2
    // closely enough for every double exponent); a value that then rounds to n + 1 digits
    // (including a carry such as 9.99996 -> 10.0000) is rounded again one decade up.
    exponent = ((e2 - 1) * 78913) >> 18;
    Digits q;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!Round_Scaled(a, n - 1 - exponent, q)) {
            return false;
        }
        if (q.value < kPow10[n]) {
            break;
        }
        ++exponent;
    }
    if (q.value < kPow10[n - 1] || q.value >= kPow10[n]) {
        return false;
    }
    Write_Digits(q.value, digits);
    return true;
}

bool Scientific_Digits(double a, int decimals, Scientific& s) {
    char digits[kMaxDigits];
    int exponent = 0;
    if (!Scientific_Digits(a, decimals, digits, exponent)) {
        return false;
    }
    s.digits.append(digits, digits + decimals + 1);
    s.exponent = exponent;
    return true;
}

void To_Scientific(double a, int decimals, Scientific& s) {
    if (Scientific_Digits(a, decimals, s)) {
        return;
    }
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
    const size_t pad = w > 0 ? static_cast<size_t>(w) - length : 0;
    const std::string_view digits = drop_zero ? body.substr(1) : body;
    // A report field is short: compose it on the stack and append it once.
    constexpr char kBlanks[] = "                                                                ";
    char field[64];
    if (pad + length <= sizeof field) {
        std::memcpy(field, kBlanks, sizeof field); // a fixed size: a few stores, no call
        char* p = field + pad;
        if (negative) {
            *p++ = '-';
        }
        std::memcpy(p, digits.data(), digits.size());
        out.append(field, pad + length);
        return;
    }
    out.append(pad, ' ');
    if (negative) {
        out.push_back('-');
    }
    out.append(digits);
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
    {
        // The usual case, composed on the stack: at most 19 digits, a leading zero and
        // the point.
        Digits n;
        if (d < kMaxDigits && Round_Scaled(a, d, n)) {
            char digits[kMaxDigits];
            const int count = Write_Digits(n.value, digits);
            char body[2 * kMaxDigits + 2];
            std::size_t length = 0;
            if (count <= d) {
                body[length++] = '0';
                body[length++] = '.';
                std::memcpy(body + length, kZeros, static_cast<std::size_t>(d - count));
                length += static_cast<std::size_t>(d - count);
                std::memcpy(body + length, digits, static_cast<std::size_t>(count));
                length += static_cast<std::size_t>(count);
            } else {
                const auto before_point = static_cast<std::size_t>(count - d);
                std::memcpy(body + length, digits, before_point);
                length += before_point;
                body[length++] = '.';
                std::memcpy(body + length, digits + before_point, static_cast<std::size_t>(d));
                length += static_cast<std::size_t>(d);
            }
            const bool optional_zero = d > 0 && body[0] == '0' && body[1] == '.';
            Place_Real(out, std::signbit(v), {body, length}, optional_zero, true, w);
            return;
        }
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
    {
        // The usual case, composed on the stack: at most 19 digits, a point and "E+ddd".
        char digits[kMaxDigits];
        int exponent = 0;
        if (Scientific_Digits(std::fabs(v), d, digits, exponent)) {
            char body[kMaxDigits + 8];
            std::size_t length = 0;
            body[length++] = digits[0];
            body[length++] = '.';
            std::memcpy(body + length, digits + 1, static_cast<std::size_t>(d));
            length += static_cast<std::size_t>(d);
            const int magnitude = exponent < 0 ? -exponent : exponent;
            const char sign = exponent < 0 ? '-' : '+';
            if (magnitude <= 99) {
                body[length++] = 'E';
                body[length++] = sign;
            } else {
                body[length++] = sign; // the third digit takes the letter's place
                body[length++] = static_cast<char>('0' + magnitude / 100);
            }
            std::memcpy(body + length, kDigitPairs + (magnitude % 100) * 2, 2);
            length += 2;
            Place_Real(out, std::signbit(v), {body, length}, false, false, w);
            return;
        }
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
