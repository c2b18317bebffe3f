// End-of-run summary of the warnings recorded by a run.
#pragma once

#include "engine/capacities.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace zarno {

class TextFile;
struct WarningStore;

// Number of distinct warning codes in the tallies.
int Count_Distinct_Warnings(const WarningStore& w);

// Tallies set aside: each code with a non-zero tally, and its tally.
using WarningTallies = std::vector<std::pair<int, int>>;

// Takes the tallies out of the store before a phase that starts its own tallies (the load
// cases), leaving every tally at zero.
WarningTallies Set_Aside_Warning_Tallies(WarningStore& w);

// Adds tallies set aside before such a phase back into the current ones, so warnings of the
// earlier phases are still reported at the end.
void Keep_Warnings_Recorded_Before(WarningStore& w, const WarningTallies& before);

// Recounts the distinct warning codes into i_Warning_Count and writes each recorded
// warning once, with how often it was recorded, to the report.
void Write_Warning_Summary(WarningStore& w, TextFile& report);

// The run's result from its warnings after the summary: the one code recorded, -300 for
// several codes, 0 for none.
int Warning_Return_Code(const WarningStore& w);

// The lines the summary prints for a warning code (empty when the code has no text).
std::vector<std::string> Warning_Text_Lines(int code);

} // namespace zarno
