// Fortran edit descriptors. The expected fields were checked against gfortran 12 writing
// the same values with the same descriptors; where a value sits on or near a rounding tie,
// its exact binary value decides the digit (noted beside the case).
#include "report/fortran_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>

namespace zarno {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct RealCase {
    double v;
    int w;
    int d;
    const char* expected;
};

TEST(FortranFormat, FixedPoint) {
    const RealCase cases[] = {
        // Typical values and the report fields built on them.
        {0.0, 14, 7, "     0.0000000"},
        {12345.6, 9, 0, "   12346."},
        {-1234.5678, 10, 2, "  -1234.57"},
        {3.14159, 9, 3, "    3.142"},
        // Ties on exactly representable values go to the even digit.
        {12345.5, 9, 0, "   12346."},
        {12346.5, 9, 0, "   12346."},
        {2.5, 3, 0, " 2."},
        {0.125, 5, 2, " 0.12"},
        {0.375, 5, 2, " 0.38"},
        // 9.995 and 9.9995 are stored slightly below the tie, 0.005 slightly above it.
        {9.995, 6, 2, "  9.99"},
        {9.9995, 6, 3, " 9.999"},
        {0.005, 6, 2, "  0.01"},
        // Rounding carries into a new integer digit, and out of the field.
        {9.9996, 6, 3, "10.000"},
        {99.9996, 6, 3, "******"},
        {0.6, 3, 0, " 1."},
        // Negative values that round to zero, and negative zero, keep the sign.
        {-0.0001, 6, 2, " -0.00"},
        {-0.0, 6, 2, " -0.00"},
        {-0.0001, 5, 2, "-0.00"},
        {-0.0001, 4, 2, "-.00"},
        {-0.4, 3, 0, "-0."},
        // The leading zero goes only when the field needs the room; never when d == 0.
        {0.5, 4, 2, "0.50"},
        {0.5, 3, 2, ".50"},
        {-0.5, 4, 2, "-.50"},
        {0.0, 3, 1, "0.0"},
        {0.0, 2, 1, ".0"},
        {0.4, 2, 0, "0."},
        // Overflow.
        {0.5, 2, 2, "**"},
        {0.4, 1, 0, "*"},
        {-0.4, 2, 0, "**"},
        {1.0e300, 5, 1, "*****"},
        {123.4567, 7, 4, "*******"},
        // F0.d: minimal width; the leading zero is dropped when d > 0.
        {123.4567, 0, 3, "123.457"},
        {0.5, 0, 2, ".50"},
        {-0.0, 0, 2, "-.00"},
        {0.4, 0, 0, "0."},
        {1.0e20, 0, 0, "100000000000000000000."},
    };
    for (const RealCase& c : cases) {
        EXPECT_EQ(Format_F(c.v, c.w, c.d), c.expected) << "F" << c.w << "." << c.d << " of " << c.v;
    }
}

TEST(FortranFormat, Scientific) {
    const RealCase cases[] = {
        {1.23456e-5, 12, 4, "  1.2346E-05"},
        {0.0, 15, 7, "  0.0000000E+00"},
        {-0.0, 15, 7, " -0.0000000E+00"},
        {-271.828, 12, 4, " -2.7183E+02"},
        // Rounding carries into the exponent, and a sign then no longer fits.
        {9.99996, 10, 4, "1.0000E+01"},
        {-9.99996, 11, 4, "-1.0000E+01"},
        {-9.99996, 10, 4, "**********"},
        {9.99996e99, 12, 4, "  1.0000+100"},
        // Ties of exactly representable mantissas go to the even digit.
        {1.0625, 10, 3, " 1.062E+00"},
        {1.1875, 10, 3, " 1.188E+00"},
        // A three-digit exponent gives up its "E".
        {1.2345e100, 10, 4, "1.2345+100"},
        {1.2345e-100, 10, 4, "1.2345-100"},
        {4.9406564584124654e-324, 12, 4, "  4.9407-324"},
        // No decimals.
        {12.0, 8, 0, "  1.E+01"},
        {12.0, 6, 0, "1.E+01"},
        {12.0, 5, 0, "*****"},
        {0.0, 8, 0, "  0.E+00"},
        // Minimal width keeps the two-digit exponent.
        {1.5e-5, 0, 3, "1.500E-05"},
    };
    for (const RealCase& c : cases) {
        EXPECT_EQ(Format_ES(c.v, c.w, c.d), c.expected)
            << "ES" << c.w << "." << c.d << " of " << c.v;
    }
}

TEST(FortranFormat, Exponential) {
    const RealCase cases[] = {
        {12.345, 12, 4, "  0.1235E+02"},
        {12.345, 10, 4, "0.1235E+02"},
        {12.345, 9, 4, ".1235E+02"},
        {12.345, 8, 4, "********"},
        {-12.345, 11, 4, "-0.1235E+02"},
        {-12.345, 10, 4, "-.1235E+02"},
        {0.0, 12, 4, "  0.0000E+00"},
        {-9.99996, 11, 4, "-0.1000E+02"},
        {0.99996, 12, 4, "  0.1000E+01"},
        {0.099996, 12, 4, "  0.1000E+00"},
        {1.5e-100, 12, 4, "  0.1500E-99"},
        {1.5e99, 12, 4, "  0.1500+100"},
        {12.0, 8, 1, " 0.1E+02"},
        {0.96, 8, 1, " 0.1E+01"},
        // Ew.0 has no digit to show: a malformed descriptor, not a number.
        {12.0, 8, 0, "********"},
    };
    for (const RealCase& c : cases) {
        EXPECT_EQ(Format_E(c.v, c.w, c.d), c.expected) << "E" << c.w << "." << c.d << " of " << c.v;
    }
}

TEST(FortranFormat, NotANumberAndInfinity) {
    const RealCase cases[] = {
        {kNaN, 10, 2, "       NaN"}, {-kNaN, 10, 2, "       NaN"}, {kNaN, 3, 2, "NaN"},
        {kNaN, 2, 2, "**"},          {kInf, 10, 2, "  Infinity"},  {-kInf, 10, 2, " -Infinity"},
        {-kInf, 9, 2, "-Infinity"},  {kInf, 8, 2, "Infinity"},     {-kInf, 8, 2, "    -Inf"},
        {kInf, 7, 2, "    Inf"},     {-kInf, 4, 2, "-Inf"},        {-kInf, 3, 2, "***"},
        {kInf, 3, 2, "Inf"},         {kInf, 2, 2, "**"},           {kNaN, 0, 2, "NaN"},
        {kInf, 0, 2, "Inf"},         {-kInf, 0, 2, "-Inf"},
    };
    for (const RealCase& c : cases) {
        EXPECT_EQ(Format_F(c.v, c.w, c.d), c.expected) << "F" << c.w << "." << c.d << " of " << c.v;
        // The other real descriptors print non-finite values the same way.
        if (c.w >= 8) {
            EXPECT_EQ(Format_ES(c.v, c.w, c.d), c.expected) << "ES of " << c.v;
            EXPECT_EQ(Format_E(c.v, c.w, c.d), c.expected) << "E of " << c.v;
        }
    }
}

TEST(FortranFormat, MalformedDescriptorsFillTheField) {
    EXPECT_EQ(Format_F(1.0, 6, -1), "******");
    EXPECT_EQ(Format_ES(1.0, 6, -1), "******");
    EXPECT_EQ(Format_E(1.0, 6, -1), "******");
    // More decimals than the field can ever hold.
    EXPECT_EQ(Format_F(1.0, 4, 1000000000), "****");
    EXPECT_EQ(Format_ES(1.0, 9, 4), "*********");
}

TEST(FortranFormat, Integer) {
    struct IntCase {
        long long v;
        int w;
        const char* expected;
    };
    const IntCase cases[] = {
        {1000, 3, "***"},
        {999, 3, "999"},
        {42, 5, "   42"},
        {-99, 3, "-99"},
        {-100, 3, "***"},
        {0, 1, "0"},
        {-1, 1, "*"},
        {-1234, 0, "-1234"},
        {0, 0, "0"},
        {LLONG_MIN, 20, "-9223372036854775808"},
        {LLONG_MAX, 0, "9223372036854775807"},
    };
    for (const IntCase& c : cases) {
        EXPECT_EQ(Format_I(c.v, c.w), c.expected) << "I" << c.w << " of " << c.v;
    }
}

TEST(FortranFormat, ListDirectedReal) {
    struct ListCase {
        double v;
        const char* expected;
    };
    const ListCase cases[] = {
        {1.0, "  1.0000000000000000     "},
        {0.1, " 0.10000000000000001     "},
        {-1.0, " -1.0000000000000000     "},
        {-0.5, "-0.50000000000000000     "},
        {0.0, "  0.0000000000000000     "},
        {-0.0, " -0.0000000000000000     "},
        {123.456, "  123.45600000000000     "},
        // Fixed form holds up to 17 integer digits.
        {1.0e15, "  1000000000000000.0     "},
        {9999999999999998.0, "  9999999999999998.0     "},
        {1.0e16, "  10000000000000000.     "},
        {1.0e17, "  1.0000000000000000E+017"},
        // Below 0.1, scientific form with a three-digit exponent.
        {1.0e-2, "  1.0000000000000000E-002"},
        {0.09999999999999999, "  9.9999999999999992E-002"},
        {1.0e99, "  9.9999999999999997E+098"},
        {1.0e300, "  1.0000000000000001E+300"},
        {4.9406564584124654e-324, "  4.9406564584124654E-324"},
        {kNaN, "                      NaN"},
        {kInf, "                 Infinity"},
        {-kInf, "                -Infinity"},
    };
    for (const ListCase& c : cases) {
        EXPECT_EQ(Format_List_Real(c.v), c.expected) << "list-directed " << c.v;
    }
}

TEST(FortranFormat, ListDirectedLogical) {
    EXPECT_EQ(Format_List_Logical(true), "T");
    EXPECT_EQ(Format_List_Logical(false), "F");
}

// Independent of any table: the printed digits read back within half a unit of the last
// printed digit, and the list-directed form (17 significant digits) reads back exactly.
TEST(FortranFormat, PrintedValuesReadBack) {
    std::mt19937_64 random(20261210);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int i = 0; i < 2000; ++i) {
        const double v = mantissa(random) * std::pow(10.0, exponent(random));

        const std::string list = Format_List_Real(v);
        ASSERT_EQ(list.size(), 25u) << v;
        EXPECT_EQ(std::strtod(list.c_str(), nullptr), v) << list;

        const std::string es = Format_ES(v, 16, 7);
        ASSERT_EQ(es.size(), 16u) << v;
        const double es_back = std::strtod(es.c_str(), nullptr);
        EXPECT_LE(std::fabs(es_back - v), 0.5e-7 * std::fabs(es_back) * (1.0 + 1e-12)) << es;

        const std::string e = Format_E(v, 16, 7);
        ASSERT_EQ(e.size(), 16u) << v;
        const double e_back = std::strtod(e.c_str(), nullptr);
        EXPECT_LE(std::fabs(e_back - v), 0.5e-7 * 10.0 * std::fabs(e_back) * (1.0 + 1e-12)) << e;

        if (std::fabs(v) < 1.0e9) {
            const std::string f = Format_F(v, 22, 6);
            ASSERT_EQ(f.size(), 22u) << v;
            const double f_back = std::strtod(f.c_str(), nullptr);
            EXPECT_LE(std::fabs(f_back - v), 0.5e-6 * (1.0 + 1e-9)) << f;
        }
    }
}

} // namespace
} // namespace zarno
