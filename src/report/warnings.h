// End-of-run summary of the warnings recorded by a run.
#pragma once

#include "engine/capacities.h"

#include <array>
#include <string>
#include <vector>

namespace zarno {

class TextFile;
struct WarningStore;

// Number of distinct warning codes in the tallies.
int Count_Distinct_Warnings(const WarningStore& w);

// Adds tallies saved before a phase that starts its own tallies (the load cases) back into
// the current ones, so warnings of the earlier phases are still reported at the end.
void Keep_Warnings_Recorded_Before(WarningStore& w,
                                   const std::array<int, MAX_WARNING_CODES + 1>& before);

// Recounts the distinct warning codes into i_Warning_Count and writes each recorded
// warning once, with how often it was recorded, to the report.
void Write_Warning_Summary(WarningStore& w, TextFile& report);

// The run's result from its warnings after the summary: the one code recorded, -300 for
// several codes, 0 for none.
int Warning_Return_Code(const WarningStore& w);

// The lines the summary prints for a warning code (empty when the code has no text).
std::vector<std::string> Warning_Text_Lines(int code);

} // namespace zarno
