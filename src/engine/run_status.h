// Fatal errors and warnings of a run.
//
// A phase that meets a fatal condition writes its own explanation, hands the message
// code and the status to Report_Fatal_Error and returns; every caller returns as soon as
// RunStatus is positive. Nothing is thrown. Warnings never stop a run: they are counted
// by code and listed at its end.
#pragma once

#include <string>
#include <string_view>

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

} // namespace zarno
