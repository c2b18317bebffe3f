// Warnings about the input that name the value at fault: option lines whose label is not
// the expected keyword, and values far outside what the run's unit system makes plausible.
// They never change a value; the run goes on as the deck says.
#pragma once

#include <string_view>

namespace zarno {

struct AnalysisModel;

// Warning codes of these checks.
inline constexpr int WARNING_OPTION_KEYWORD = -710;   // option label is not the keyword
inline constexpr int WARNING_IMPLAUSIBLE_UNIT = -711; // value implausible in its unit
inline constexpr int WARNING_TEXT_NOT_UTF8 = -720;    // input text in another encoding

// Called by the reader after an option line was read by position: a label other than the
// expected keyword (for instance "Tolerence" for "Tolerance") is noted with a warning.
void Check_Option_Keyword(AnalysisModel& m, std::string_view label, std::string_view keyword);

// Checks the section data against the unit system of the run (before the conversion to
// computation units), then writes every input warning of the run to the report.
void Write_Input_Warnings(AnalysisModel& m);

} // namespace zarno
