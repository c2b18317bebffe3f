// The results of a run written for programs: one JSON document, or one CSV file per table.
// Numbers keep full precision (shortest text that reads back to the same double) and are
// written the same whatever the process locale.
#pragma once

#include "engine/results.h"

#include <string>
#include <vector>

namespace zarno {

// The JSON document of the results (layout described by docs/results-schema.json).
std::string Results_To_Json(const RunResults& results);

// Writes the JSON document to path. Returns false with a reason in error when the file
// cannot be written completely.
bool Write_Results_Json(const RunResults& results, const std::string& path, std::string& error);

// Writes one CSV file per table into directory (created when missing): load_cases.csv,
// nodes.csv, py_curves.csv, moment_curvature.csv, length_sweeps.csv, head_stiffness.csv,
// messages.csv and, for runs with monopile reactions, monopile.csv. Returns false with a reason
// in error on the first failure.
bool Write_Results_Csv(const RunResults& results, const std::string& directory, std::string& error);

// The names of the CSV files Write_Results_Csv may write, in the order it writes them.
const std::vector<std::string>& Csv_File_Names();

} // namespace zarno
