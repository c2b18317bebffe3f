// Fortran edit descriptors for report and plot output.
//
// Every number the engine writes to its report and plot files goes through these
// functions, so that the columns line up exactly as a Fortran runtime (gfortran) lays
// them out. All functions are pure and either return the field as a string or append it
// to a line under construction (the Append_ forms, which the writers use).
//
// Rounding: decimal conversion is done by {fmt}, which rounds the exact binary value
// correctly, ties to even (12345.5 in F9.0 gives 12346., 0.125 in F5.2 gives 0.12), digit
// for digit as the C library's "%.*f" / "%.*e" and so as gfortran's default rounding mode.
// Unlike the C library it never reads the process locale: the decimal point is always ".".
//
// Common rules of the real descriptors (F, E, ES):
// - The field is right-aligned in w characters; a value that does not fit fills the field
//   with w asterisks.
// - A negative value that rounds to zero keeps its minus sign, and so does negative zero
//   (-0.0001 in F6.2 gives " -0.00"), as gfortran prints them by default.
// - Not-a-number prints "NaN" (never signed); infinity prints "Infinity" / "-Infinity"
//   when the field holds it, else "Inf" / "-Inf", else asterisks. So "Infinity" needs
//   w >= 8, "-Infinity" w >= 9, "Inf" w >= 3, "-Inf" w >= 4, "NaN" w >= 3.
// - A malformed descriptor (d < 0, or d == 0 for Ew.d, which has no digit to show) yields
//   w asterisks rather than a wrong number.
#pragma once

#include <string>

namespace zarno {

// Fw.d: fixed point with d decimals. The zero before the decimal point of a value below 1
// is dropped only when the field would otherwise overflow (F4.2 of 0.5 is "0.50", F3.2 is
// ".50"); with d == 0 it is kept, since "." alone would show no digit (F9.0 of 12345.6 is
// "   12346.", F2.0 of 0.4 is "0."). w <= 0 means F0.d, the minimal width; as in gfortran
// the minimal form drops the leading zero when d > 0 (".50") and prints "NaN", "Inf" or
// "-Inf" for non-finite values.
std::string Format_F(double v, int w, int d);

// ESw.d: scientific form with one non-zero digit before the point (zero prints as
// 0.000...E+00) and exponent "E+dd"; a three-digit exponent drops the "E"
// ("1.2345+100"). Rounding may carry into the exponent (9.99996 in ES10.4 is
// "1.0000E+01"). d == 0 prints "1.E+01". w <= 0 gives the minimal field with the same
// two-digit exponent (gfortran's own ES0.d form is not followed: it omits a zero exponent).
std::string Format_ES(double v, int w, int d);

// Ew.d: 0.ddddE+xx form with d significant digits; the leading zero is dropped only when
// the field would otherwise overflow. Three-digit exponents drop the "E" as in ESw.d.
// w <= 0 gives the minimal field with the leading zero kept.
std::string Format_E(double v, int w, int d);

// The F and ES fields written in place, for writers that compose a line in their own
// buffer: exactly w characters at `field`, 1 <= w <= kPlacedFieldRoom. The buffer must
// have room for kPlacedFieldRoom characters from `field`; those beyond w are scratch.
constexpr int kPlacedFieldRoom = 64;
void Put_F(char* field, double v, int w, int d);
void Put_ES(char* field, double v, int w, int d);
// Iw in place, under the same conditions.
void Put_I(char* field, long long v, int w);

// Iw: right-aligned integer, asterisks when it does not fit; w <= 0 means I0 (minimal).
std::string Format_I(long long v, int w);

// The same fields appended to out.
void Append_F(std::string& out, double v, int w, int d);
void Append_ES(std::string& out, double v, int w, int d);
void Append_E(std::string& out, double v, int w, int d);
void Append_I(std::string& out, long long v, int w);

// List-directed output of a double precision real, as gfortran writes it: a 25-character
// field (the blank that separates list items is NOT included; gfortran writes
// "print *, 1d0" as one blank followed by this field).
// - 0.1 <= |v| < 1e17 after rounding to 17 significant digits, and zero: fixed form with
//   17 significant digits (16 decimals for zero) right-aligned in 20 characters, followed
//   by 5 blanks: "  1.0000000000000000     ", " 0.10000000000000001     ",
//   " 10000000000000000.     ".
// - otherwise scientific form with 17 significant digits and a three-digit exponent that
//   keeps its "E", right-aligned in 25: "  1.0000000000000000E-002".
// - NaN and infinities right-aligned in 25: "NaN", "Infinity", "-Infinity".
// Negative zero keeps its sign.
std::string Format_List_Real(double v);

// List-directed output of a logical: "T" or "F" (again without the separating blank).
std::string Format_List_Logical(bool b);

} // namespace zarno
