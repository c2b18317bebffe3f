// Fatal errors and warnings of a run.
//
// A phase that meets a fatal condition writes its own explanation, hands the message
// code and the status to Report_Fatal_Error and returns; every caller returns as soon as
// RunStatus is positive. Nothing is thrown. Warnings never stop a run: they are counted
// by code and listed at its end.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zarno {

struct AnalysisModel;

// "INP" or "RUN" followed by the error number in five digits ("INP00099").
std::string Input_Error_Code(int n);
std::string Runtime_Error_Code(int n);

// Writes the premature-end line to the report, sets RunStatus to status and returns it; the
// caller returns it (or stops) at once.
[[nodiscard]] int Report_Fatal_Error(AnalysisModel& m, std::string_view code, int status);
// Shorthands for input error n (status 100 + n) and runtime error n (200 + n).
[[nodiscard]] int Raise_Input_Error(AnalysisModel& m, int n);
[[nodiscard]] int Raise_Runtime_Error(AnalysisModel& m, int n);

// Records one occurrence of a (negative) warning code.
void Record_Warning(AnalysisModel& m, int code);

// Warning codes of the checks that explain themselves in a note naming the value, layer or
// line (the reader's, the echo's and the p-y passes'); the models' own codes stand where
// they are raised.
inline constexpr int WARNING_OPTION_KEYWORD = -710;        // option label is not the keyword
inline constexpr int WARNING_IMPLAUSIBLE_UNIT = -711;      // value implausible in its unit
inline constexpr int WARNING_UNIT_WEIGHT_LIMITS = -712;    // unit weights outside the limits
inline constexpr int WARNING_UNIT_WEIGHT_UNCHECKED = -713; // general units: weights unchecked
inline constexpr int WARNING_LIMITING_MODULUS = -714;      // printed soft clay curve at its limit
inline constexpr int WARNING_LAYER_NODE_RANGE = -715;      // a layer's last station not found
inline constexpr int WARNING_STIFFNESS_CASE = -716;        // a pile-head stiffness case failed
inline constexpr int WARNING_LAYER_GAP = -717;             // layers made contiguous
inline constexpr int WARNING_LEFT_OVER_VALUES = -718;      // values left over on a line
inline constexpr int WARNING_PISA_SLENDERNESS = -719;      // monopile L/D outside the calibration
inline constexpr int WARNING_TEXT_NOT_UTF8 = -720;         // input text in another encoding

// Records one occurrence of `code` with a note naming where it arose and what to do.
void Record_Warning(AnalysisModel& m, int code, std::vector<std::string> note);
// The same for a check that runs at every station of every pass: each occurrence is
// tallied, the note is kept only when no note of the code starts with `subject` yet (the
// layer or section it names), so a layer gets one note, at its first station.
void Record_Warning_Once(AnalysisModel& m, int code, std::string_view subject,
                         std::vector<std::string> note);

} // namespace zarno
