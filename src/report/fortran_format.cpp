#include "report/fortran_format.h"

#include <algorithm>
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
// that 128 bits hold for every value a report prints. Its integer part and how the rest
// compares with one half give the same digits as rounding the exact binary value in
// decimal, ties to even (what the C library and {fmt} do), at a small fraction of the
// cost; most fields need no more than one 64-bit multiplication or division. Values
// outside that range go to {fmt}.

constexpr int kMaxDigits = 20; // digits of the largest 64-bit value
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

// How the fraction dropped by a truncation compares with one half.
enum class Rest : unsigned char { Zero, Below_Half, Half, Above_Half };

// floor(a * 10^k) and the rest below it.
struct Scaled {
    std::uint64_t whole = 0;
    Rest rest = Rest::Zero;
};

// The rounded value, ties to even; false when it would not fit 64 bits.
bool Round_Half_Even(const Scaled& s, std::uint64_t& rounded) {
    const bool up = s.rest == Rest::Above_Half || (s.rest == Rest::Half && (s.whole & 1) != 0);
    if (up && s.whole == ~std::uint64_t{0}) {
        return false;
    }
    rounded = s.whole + (up ? 1 : 0);
    return true;
}

// Drops the last digit of the integer part into the rest (one decimal fewer), without a
// second rounding: the rest stays exact.
void Drop_Digit(Scaled& s) {
    const auto digit = static_cast<int>(s.whole % 10);
    s.whole /= 10;
    if (digit > 5 || (digit == 5 && s.rest != Rest::Zero)) {
        s.rest = Rest::Above_Half;
    } else if (digit == 5) {
        s.rest = Rest::Half;
    } else if (digit != 0 || s.rest != Rest::Zero) {
        s.rest = Rest::Below_Half;
    }
}

// The small helpers of the fast fields are inlined into them: a call costs as much as
// their work.

// Decimal digits of n (at least one).
[[gnu::always_inline]] inline int Digit_Count(std::uint64_t n) {
    const int bits = 64 - __builtin_clzll(n | 1);
    const int guess = (bits * 1233) >> 12; // floor(bits * log10 2): the count or one less
    const int count = guess + (n >= kPow10[guess] ? 1 : 0);
    return count > 0 ? count : 1;
}

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

Rest Rest_Of(Wide remainder, Wide divisor) {
    if (remainder == 0) {
        return Rest::Zero;
    }
    const Wide other = divisor - remainder; // remainder < divisor: no overflow
    return remainder < other ? Rest::Below_Half
                             : (remainder == other ? Rest::Half : Rest::Above_Half);
}

// num / den split into s; false when the quotient does not fit 64 bits.
bool Divide(Wide num, Wide den, Scaled& s) {
    if ((num >> 64) == 0 && (den >> 64) == 0) {
        const auto n = static_cast<std::uint64_t>(num);
        const auto d = static_cast<std::uint64_t>(den);
        const std::uint64_t q = n / d;
        s.whole = q;
        s.rest = Rest_Of(n - q * d, d);
        return true;
    }
    const Wide q = num / den;
    if ((q >> 64) != 0) {
        return false;
    }
    s.whole = static_cast<std::uint64_t>(q);
    s.rest = Rest_Of(num - q * den, den);
    return true;
}

// a * 10^k (a finite and >= 0, |k| <= 19) split into its integer part and the rest; false
// when the integer part does not fit 64 bits.
bool Scale(double a, int k, Scaled& s) {
    if (k > 19 || k < -19) {
        return false;
    }
    // a = m * 2^e exactly, from the bits of the double.
    const auto bits = Bits_Of(a);
    const auto biased = static_cast<int>(bits >> 52);
    std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
    int e = -1074; // zero and subnormal values
    if (biased != 0) {
        m |= std::uint64_t{1} << 52;
        e = biased - 1075;
    }
    if (m == 0) {
        s = {};
        return true;
    }
    if (k >= 0) {
        const Wide num = Wide{m} * kPow10[k]; // below 2^117
        if (e >= 0) {
            if (Bit_Length(num) + e > 64) {
                return false;
            }
            s.whole = static_cast<std::uint64_t>(num << e);
            s.rest = Rest::Zero;
            return true;
        }
        // Division by a power of two: the bits shifted out are the rest.
        const int shift = -e;
        if (shift >= 118) {
            s.whole = 0; // num < 2^117: less than one half
            s.rest = Rest::Below_Half;
            return true;
        }
        const Wide whole = num >> shift;
        if ((whole >> 64) != 0) {
            return false;
        }
        s.whole = static_cast<std::uint64_t>(whole);
        if (shift < 64) { // the usual case: the rest is in the low word
            const auto low = static_cast<std::uint64_t>(num);
            const std::uint64_t rest = low & ((std::uint64_t{1} << shift) - 1);
            const std::uint64_t half = std::uint64_t{1} << (shift - 1);
            s.rest = rest == 0 ? Rest::Zero
                               : (rest < half ? Rest::Below_Half
                                              : (rest == half ? Rest::Half : Rest::Above_Half));
            return true;
        }
        const Wide rest = num - (whole << shift);
        const Wide half = Wide{1} << (shift - 1);
        s.rest = rest == 0 ? Rest::Zero
                           : (rest < half ? Rest::Below_Half
                                          : (rest == half ? Rest::Half : Rest::Above_Half));
        return true;
    }
    const std::uint64_t power = kPow10[-k];
    if (e >= 0) {
        if (53 + e > 127) {
            return false;
        }
        return Divide(Wide{m} << e, power, s);
    }
    if (Bit_Length(power) - e > 126) {
        s.whole = 0; // m < 2^53, far below half the divisor
        s.rest = Rest::Below_Half;
        return true;
    }
    return Divide(m, Wide{power} << -e, s);
}
#else
bool Scale(double, int, Scaled&) {
    return false;
}
#endif

// a * 10^k rounded to an integer, ties to even, from one floating-point multiplication or
// division when that is enough to decide; false when the exact arithmetic must decide.
// With |k| <= 22 the power is exact and the computed r is the exact product P rounded
// once: |r - P| <= ulp(r) / 2. Below 2^52 both r and its fraction lie on the grid of
// ulp(r) <= 1/2, so a fraction below one half means P < whole + 1/2 (round down) and
// one above means P > whole + 1/2 (round up). A fraction of exactly one half may be a true
// tie or a product just beside it: only then is the exact path needed.
[[gnu::always_inline]] inline bool Round_Quick(double a, int k, std::uint64_t& rounded) {
    if (k >= kExactPowers || k <= -kExactPowers) {
        return false;
    }
    const double r = k >= 0 ? a * kPowersOfTen[k] : a / kPowersOfTen[-k];
    if (!(r < 4503599627370496.0)) { // 2^52
        return false;
    }
    // 0 <= r < 2^52: the signed conversion is exact and a single instruction.
    const auto whole = static_cast<std::uint64_t>(static_cast<std::int64_t>(r));
    const double fraction = r - static_cast<double>(static_cast<std::int64_t>(whole)); // exact
    if (fraction < 0.5) {
        rounded = whole;
        return true;
    }
    if (fraction > 0.5) {
        rounded = whole + 1;
        return true;
    }
    return false;
}

// n significant digits of a >= 0 (n <= 19) as an integer in [10^(n-1), 10^n) (zero for a
// zero value) and the decimal exponent of its first digit, with a carry such as
// 9.99996 -> 1.0000e+01 already in the exponent; false when the value needs the general
// conversion.
[[gnu::always_inline]] inline bool Significant_Digits(double a, int n, std::uint64_t& digits,
                                                      int& exponent) {
    if (n < 1 || n > 19) {
        return false;
    }
    if (a == 0.0) {
        digits = 0;
        exponent = 0;
        return true;
    }
    const auto bits = Bits_Of(a);
    const auto biased = static_cast<int>(bits >> 52);
    const int e2 = biased != 0 ? biased - 1022 // 2^(e2 - 1) <= a < 2^e2
                               : 64 - __builtin_clzll(bits) - 1074;
    // floor((e2 - 1) log10 2) is floor(log10 a) or one less (78913 / 2^18 is log10 2
    // closely enough for every double exponent). Scaled by that guess the value has n or
    // n + 1 digits; the extra one is dropped into the rest, so it is rounded only once.
    exponent = ((e2 - 1) * 78913) >> 18;
    // Quick path: scaled by the guess the value rounds to n digits, or to n + 1 when the
    // guess was one low (or the rounding carried into 10^n); then it is rounded afresh one
    // decade up, from the value itself, so there is still one rounding only.
    if (Round_Quick(a, n - 1 - exponent, digits)) {
        bool decided = true;
        if (digits >= kPow10[n]) {
            ++exponent;
            decided = Round_Quick(a, n - 1 - exponent, digits);
        }
        if (decided) {
            if (digits == kPow10[n]) {
                digits = kPow10[n - 1]; // rounding carried into a new decade
                ++exponent;
            }
            if (digits >= kPow10[n - 1] && digits < kPow10[n]) {
                return true;
            }
        }
        exponent = ((e2 - 1) * 78913) >> 18; // the exact path starts from the guess again
    }
    Scaled s;
    if (!Scale(a, n - 1 - exponent, s)) {
        return false;
    }
    if (s.whole >= kPow10[n]) {
        Drop_Digit(s);
        ++exponent;
    }
    if (!Round_Half_Even(s, digits)) {
        return false;
    }
    if (digits == kPow10[n]) {
        digits = kPow10[n - 1]; // rounding carried into a new decade
        ++exponent;
    }
    return digits >= kPow10[n - 1] && digits < kPow10[n];
}

// The last `count` decimal digits of n, written backwards so that they end just before
// `end`, two at a time; n keeps the digits before them. Returns the first one written.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233"
    "34353637383940414243444546474849505152535455565758596061626364656667"
    "6869707172737475767778798081828384858687888990919293949596979899";

[[gnu::always_inline]] inline char* Put_Digits(char* end, std::uint64_t& n, int count) {
    // Most fields have fewer than ten digits: 32-bit steps are cheaper.
    if (n <= 0xFFFFFFFFU) {
        auto small = static_cast<std::uint32_t>(n);
        for (; count >= 2; count -= 2) {
            const std::uint32_t rest = small / 100;
            end -= 2;
            std::memcpy(end, kDigitPairs + static_cast<std::size_t>(small - rest * 100) * 2, 2);
            small = rest;
        }
        if (count == 1) {
            const std::uint32_t rest = small / 10;
            *--end = static_cast<char>('0' + (small - rest * 10));
            small = rest;
        }
        n = small;
        return end;
    }
    for (; count >= 2; count -= 2) {
        const std::uint64_t rest = n / 100;
        end -= 2;
        std::memcpy(end, kDigitPairs + static_cast<std::size_t>(n - rest * 100) * 2, 2);
        n = rest;
    }
    if (count == 1) {
        const std::uint64_t rest = n / 10;
        *--end = static_cast<char>('0' + (n - rest * 10));
        n = rest;
    }
    return end;
}

// Writes the exponent part of the E and ES descriptors backwards before end: "E+dd", or
// "+ddd" when three digits are needed (the letter gives way to the third digit).
[[gnu::always_inline]] inline char* Put_Exponent(char* end, int exponent) {
    const int magnitude = exponent < 0 ? -exponent : exponent;
    const char sign = exponent < 0 ? '-' : '+';
    end -= 4;
    if (magnitude < 100) {
        end[0] = 'E';
        end[1] = sign;
    } else {
        end[0] = sign;
        end[1] = static_cast<char>('0' + magnitude / 100);
    }
    std::memcpy(end + 2, kDigitPairs + static_cast<std::size_t>(magnitude % 100) * 2, 2);
    return end;
}

// ---- bodies of the fast fields, written backwards before `end` ------------------------
// A body is at most a sign, 20 + 19 digits and the point, or 19 digits, the point and a
// four-character exponent: kFieldRoom always holds it.
constexpr int kFieldRoom = kPlacedFieldRoom;

// |v| * 10^d rounded: the digits of Fw.d.
[[gnu::always_inline]] inline bool Fixed_Digits(double a, int d, std::uint64_t& q) {
    if (Round_Quick(a, d, q)) {
        return true;
    }
    Scaled s;
    return d < kMaxDigits && Scale(a, d, s) && Round_Half_Even(s, q);
}

// q with the point d places from the right; a value below one gets the zero before the
// point unless it is dropped (count is the digit count of q).
char* Put_Fixed_Body(char* end, std::uint64_t q, int d, int count, bool zero) {
    char* p = Put_Digits(end, q, d);
    *--p = '.';
    if (count > d) {
        p = Put_Digits(p, q, count - d);
    } else if (zero) {
        *--p = '0';
    }
    return p;
}

// "d.ddd" of ESw.d (the first digit of q before the point) and its exponent.
char* Put_ES_Body(char* end, std::uint64_t q, int d, int exponent) {
    char* p = Put_Exponent(end, exponent);
    p = Put_Digits(p, q, d);
    *--p = '.';
    *--p = static_cast<char>('0' + q);
    return p;
}

// "0.ddd" of Ew.d (all d digits of q after the point) and its exponent.
char* Put_E_Body(char* end, std::uint64_t q, int d, int exponent, bool zero) {
    char* p = Put_Exponent(end, exponent);
    p = Put_Digits(p, q, d);
    *--p = '.';
    if (zero) {
        *--p = '0';
    }
    return p;
}

// ---- fields composed forwards from sixteen digits at once -----------------------------
// A field whose digits number at most sixteen is written from its first character on: the
// digits come from two words of eight characters each, and each part of the field (the
// digits before the point, those after it, the exponent) is one fixed-size copy. A copy
// may run past the end of the field, into the room beyond it, which is scratch: the field
// must end at least kForwardSpill characters before the end of its room.
constexpr int kForwardSpill = 16;
constexpr int kMaxForwardWidth = kFieldRoom - kForwardSpill;
constexpr int kForwardDigits = 16;

#if defined(__BYTE_ORDER__) && defined(__ORDER_LITTLE_ENDIAN__) &&                                 \
    __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr bool kForwardFields = true;
#else
constexpr bool kForwardFields = false; // the words below hold their digits in memory order
#endif

// The three digits of every n < 1000 as the first three characters of a word in memory
// order (little-endian), the fourth character zero: 4 KB, read by every field.
struct ThreeDigitTable {
    std::uint32_t word[1000];
};

constexpr ThreeDigitTable Make_Three_Digit_Table() {
    ThreeDigitTable t{};
    for (std::uint32_t n = 0; n < 1000; ++n) {
        t.word[n] = (0x30U + n / 100) | ((0x30U + n / 10 % 10) << 8) | ((0x30U + n % 10) << 16);
    }
    return t;
}

constexpr ThreeDigitTable kThreeDigits = Make_Three_Digit_Table();

// The eight decimal digits of n < 10^8, leading zeros included, as the eight characters of
// one word in memory order (little-endian): the first two digits (the last two of a
// three-digit entry), then two groups of three, each a table word shifted into place.
// n / 1000 of a 32-bit value is one multiplication and a shift.
[[gnu::always_inline]] inline std::uint64_t Eight_Digits(std::uint32_t n) {
    const std::uint32_t thousands = n / 1000;
    const std::uint32_t millions = thousands / 1000; // below 100
    const std::uint64_t first = kThreeDigits.word[millions] >> 8;
    const std::uint64_t middle = kThreeDigits.word[thousands - millions * 1000];
    const std::uint64_t last = kThreeDigits.word[n - thousands * 1000];
    return first | (middle << 16) | (last << 40);
}

// The sixteen digits of n < 10^16 with leading zeros, followed by sixteen more zeros, so
// that a sixteen-character copy from any digit stays inside.
struct SixteenDigits {
    char text[2 * kForwardDigits];

    [[gnu::always_inline]] explicit SixteenDigits(std::uint64_t n) {
        constexpr std::uint64_t kZeros = 0x3030303030303030ULL;
        std::uint64_t first = kZeros;
        std::uint64_t second = 0;
        if (n < 100000000) { // most fields: no division for the upper half
            second = Eight_Digits(static_cast<std::uint32_t>(n));
        } else {
            const std::uint64_t upper = n / 100000000;
            first = Eight_Digits(static_cast<std::uint32_t>(upper));
            second = Eight_Digits(static_cast<std::uint32_t>(n - upper * 100000000));
        }
        std::memcpy(text, &first, 8);
        std::memcpy(text + 8, &second, 8);
        std::memset(text + kForwardDigits, '0', kForwardDigits);
    }
};

// "E+dd" / "E-dd" for the exponents -99 .. 99, four characters each.
struct ExponentTexts {
    char text[199][4];
};

constexpr ExponentTexts Make_Exponent_Texts() {
    ExponentTexts t{};
    for (int e = -99; e <= 99; ++e) {
        const int magnitude = e < 0 ? -e : e;
        char* p = t.text[e + 99];
        p[0] = 'E';
        p[1] = e < 0 ? '-' : '+';
        p[2] = static_cast<char>('0' + magnitude / 10);
        p[3] = static_cast<char>('0' + magnitude % 10);
    }
    return t;
}

constexpr ExponentTexts kExponentTexts = Make_Exponent_Texts();

// Fw.d of the digits q (fewer than 10^16, d < 16) into a field of w <= kMaxForwardWidth
// characters that already holds blanks: `whole` digits before the point (the last `whole`
// of q's integer part, or the single zero of a value below one, since q's padding supplies
// zeros) and the sign before them.
[[gnu::always_inline]] inline void Put_Fixed_Forward(char* field, std::uint64_t q, int w, int d,
                                                     int whole, bool negative) {
    const SixteenDigits digits(q);
    char* p = field + w - (negative ? 1 : 0) - whole - 1 - d;
    if (negative) {
        *p++ = '-';
    }
    std::memcpy(p, digits.text + kForwardDigits - d - whole, kForwardSpill);
    p[whole] = '.';
    std::memcpy(p + whole + 1, digits.text + kForwardDigits - d, kForwardSpill);
}

// ESw.d of the d + 1 digits q (d < 16, |exponent| <= 99) into a field of
// w <= kMaxForwardWidth characters that already holds blanks.
[[gnu::always_inline]] inline void Put_ES_Forward(char* field, std::uint64_t q, int w, int d,
                                                  int exponent, bool negative) {
    const SixteenDigits digits(q);
    char* p = field + w - (negative ? 1 : 0) - d - 6;
    if (negative) {
        *p++ = '-';
    }
    p[0] = digits.text[kForwardDigits - 1 - d];
    p[1] = '.';
    std::memcpy(p + 2, digits.text + kForwardDigits - d, kForwardSpill);
    std::memcpy(p + 2 + d, kExponentTexts.text[exponent + 99], 4);
}

void Fill_Stars(char* field, int w) {
    std::memset(field, '*', static_cast<std::size_t>(w));
}

// A fixed size: a few stores, no call.
void Fill_Blanks(char* field) {
    std::memset(field, ' ', kFieldRoom);
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

void To_Scientific(double a, int decimals, Scientific& s) {
    std::uint64_t digits = 0;
    if (Significant_Digits(a, decimals + 1, digits, s.exponent)) {
        char text[kMaxDigits];
        Put_Digits(text + decimals + 1, digits, decimals + 1);
        s.digits.append(text, text + decimals + 1);
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

// Exponent part of the E and ES descriptors for the general path.
void Append_Exponent(FieldBuffer& text, int exponent) {
    if (exponent <= -1000 || exponent >= 1000) { // not a double's exponent; kept general
        text.push_back(exponent < 0 ? '-' : '+');
        fmt::format_to(std::back_inserter(text), "{}", exponent < 0 ? -exponent : exponent);
        return;
    }
    char part[4];
    char* const end = part + sizeof part;
    const char* p = Put_Exponent(end, exponent);
    text.append(p, end);
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

// ---- the general forms: any width, every value ---------------------------------------

void Append_F_General(std::string& out, double v, int w, int d) {
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
    std::uint64_t q = 0;
    if (Fixed_Digits(a, d, q)) {
        const int count = Digit_Count(q);
        char body[kFieldRoom];
        char* const end = body + kFieldRoom;
        const char* p = Put_Fixed_Body(end, q, d, count, true);
        Place_Real(out, std::signbit(v), {p, static_cast<std::size_t>(end - p)}, count <= d, true,
                   w);
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

void Append_ES_General(std::string& out, double v, int w, int d) {
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
    std::uint64_t q = 0;
    int exponent = 0;
    if (Significant_Digits(std::fabs(v), d + 1, q, exponent)) {
        char body[kFieldRoom];
        char* const end = body + kFieldRoom;
        const char* p = Put_ES_Body(end, q, d, exponent);
        Place_Real(out, std::signbit(v), {p, static_cast<std::size_t>(end - p)}, false, false, w);
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

// Fields the fast paths leave to the general forms (non-finite values, digits beyond 64
// bits, asterisks of a malformed descriptor), copied into place. Kept out of line so that
// the fast paths need no string of their own.
[[gnu::noinline, gnu::cold]] void Put_F_General(char* field, double v, int w, int d) {
    std::string text;
    Append_F_General(text, v, w, d);
    std::memcpy(field, text.data(), std::min(text.size(), static_cast<std::size_t>(w)));
}

[[gnu::noinline, gnu::cold]] void Put_ES_General(char* field, double v, int w, int d) {
    std::string text;
    Append_ES_General(text, v, w, d);
    std::memcpy(field, text.data(), std::min(text.size(), static_cast<std::size_t>(w)));
}

} // namespace

void Put_F(char* field, double v, int w, int d) {
    const double a = std::fabs(v);
    std::uint64_t q = 0;
    if (d >= 0 && std::isfinite(v)) {
        if (d + 1 > w || (w < kExactPowers && a >= kPowersOfTen[w])) {
            Fill_Stars(field, w);
            return;
        }
        if (Fixed_Digits(a, d, q)) {
            const bool negative = std::signbit(v);
            const int count = Digit_Count(q);
            const bool optional_zero = count <= d;
            const int length = (negative ? 1 : 0) + (optional_zero ? 1 : count - d) + 1 + d;
            bool zero = true;
            if (length > w) {
                if (!optional_zero || length - 1 > w) {
                    Fill_Stars(field, w);
                    return;
                }
                zero = false;
            }
            Fill_Blanks(field);
            if (kForwardFields && w <= kMaxForwardWidth && count <= kForwardDigits &&
                d < kForwardDigits) {
                const int whole = count > d ? count - d : (zero ? 1 : 0);
                Put_Fixed_Forward(field, q, w, d, whole, negative);
                return;
            }
            char* p = Put_Fixed_Body(field + w, q, d, count, zero);
            if (negative) {
                *--p = '-';
            }
            return;
        }
    }
    Put_F_General(field, v, w, d);
}

void Put_ES(char* field, double v, int w, int d) {
    std::uint64_t q = 0;
    int exponent = 0;
    if (d >= 0 && std::isfinite(v) && Significant_Digits(std::fabs(v), d + 1, q, exponent)) {
        const bool negative = std::signbit(v);
        if ((negative ? 1 : 0) + d + 6 > w) {
            Fill_Stars(field, w);
            return;
        }
        Fill_Blanks(field);
        if (kForwardFields && w <= kMaxForwardWidth && d < kForwardDigits && exponent >= -99 &&
            exponent <= 99) {
            Put_ES_Forward(field, q, w, d, exponent, negative);
            return;
        }
        char* p = Put_ES_Body(field + w, q, d, exponent);
        if (negative) {
            *--p = '-';
        }
        return;
    }
    Put_ES_General(field, v, w, d);
}

void Append_F(std::string& out, double v, int w, int d) {
    if (w >= 1 && w <= kFieldRoom) {
        char field[kFieldRoom];
        Put_F(field, v, w, d);
        out.append(field, static_cast<std::size_t>(w));
        return;
    }
    Append_F_General(out, v, w, d);
}

void Append_ES(std::string& out, double v, int w, int d) {
    if (w >= 1 && w <= kFieldRoom) {
        char field[kFieldRoom];
        Put_ES(field, v, w, d);
        out.append(field, static_cast<std::size_t>(w));
        return;
    }
    Append_ES_General(out, v, w, d);
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
    const bool negative = std::signbit(v);
    std::uint64_t q = 0;
    int exponent = 0;
    // d significant digits: d.ddd x 10^x is 0.dddd x 10^(x+1); zero keeps exponent 0.
    if (Significant_Digits(a, d, q, exponent)) {
        char body[kFieldRoom];
        char* const end = body + kFieldRoom;
        const char* p = Put_E_Body(end, q, d, a != 0.0 ? exponent + 1 : 0, true);
        Place_Real(out, negative, {p, static_cast<std::size_t>(end - p)}, true, false, w);
        return;
    }
    FieldBuffer body;
    body.push_back('0');
    body.push_back('.');
    Scientific s;
    To_Scientific(a, d - 1, s);
    if (s.digits.size() == 0) {
        Append_Stars(out, w);
        return;
    }
    body.append(s.digits.data(), s.digits.data() + s.digits.size());
    Append_Exponent(body, s.exponent + 1);
    Place_Real(out, negative, {body.data(), body.size()}, true, false, w);
}

void Put_I(char* field, long long v, int w) {
    const fmt::format_int text(v);
    const auto width = static_cast<std::size_t>(w);
    if (text.size() > width) {
        Fill_Stars(field, w);
        return;
    }
    Fill_Blanks(field);
    std::memcpy(field + width - text.size(), text.data(), text.size());
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
