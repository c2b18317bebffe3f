// The C++ entry of the engine: one call is one complete analysis.
#pragma once

#include "engine/results.h"
#include "report/report_header.h"

#include <string>
#include <vector>

namespace zarno {

struct AnalysisModel;

struct RunRequest {
    std::string input_file;
    std::string report_file;
    std::string plot_file;
    std::string message_file;
    // Names of the moment-curvature files, one per section and axial thrust.
    std::vector<std::string> mei_report_names;

    // Output in memory. With write_files false no report, plot or message file is created
    // (the three names then only label the report's list of files); the texts reach the
    // caller through the pointers below. A pointer that is not null receives the complete
    // text of that output in either mode. In memory, an output whose pointer is null is not
    // composed at all (nothing else the caller receives changes), and names that no file is
    // created under are not checked against the other files.
    bool write_files = true;
    std::string* report_text = nullptr;
    std::string* plot_text = nullptr;
    std::string* message_text = nullptr;

    // Input from text. When not null the input is read from this text and no input file is
    // opened: input_file then only labels the report and the messages (it must still not be
    // blank), and the checks that concern the input file as a file do not apply. Output
    // files are checked and written as usual.
    const std::string* input_text = nullptr;
};

// Key responses of one converged load case, in the run's computation units.
struct RunCaseResult {
    int i_Case = 0;
    double Head_Deflection = 0.0;
    double Max_Moment = 0.0;
    double Max_Shear = 0.0;
};

// What a caller of the C++ entry learns besides the return value.
struct RunSummary {
    int IUNITS = 1; // 1 US customary (lb, in), 2 SI (kN, m), 3 general units
    std::vector<RunCaseResult> Cases;
};

// Runs one analysis on explicit files. Returns 0 for a normal end, a negative warning
// code, or the positive status of the fatal error that stopped the run.
int Run_Analysis(const RunRequest& request, const RunClock& clock = Local_Date_Time);
// The same, filling summary (when not null) with the results of the converged load cases.
int Run_Analysis(const RunRequest& request, const RunClock& clock, RunSummary* summary);

// The same, filling results with everything the run computed: the node tables of the load
// cases, the printed p-y curves, the moment-curvature tables, the additional analyses, the
// warnings and the fatal error with its message block.
int Run_Analysis(const RunRequest& request, const RunClock& clock, RunResults& results);

// The deck as data (layout: docs/deck-schema.json). Read_Deck reads and checks the deck of
// the request (its input_file, or its input_text) exactly as a run does: header, blocks,
// ranges, completeness and the checks of the input echo. It computes nothing and writes no
// file (the output names of the request are not used). deck_json receives the deck's
// contents in the units of the deck; the return value is that of a run that stops there:
// 0, a negative warning code, or the status of the input error, described in results.
int Read_Deck(const RunRequest& request, std::string& deck_json, RunResults& results);
// Deck text from such a document. Returns 0, or non-zero with error naming the JSON path of
// the first missing or ill-typed field. Values are range-checked when the deck is read.
int Write_Deck(const std::string& deck_json, std::string& deck_text, std::string& error);

// A file that the caller of a run writes beside it (results as JSON or CSV, a deck
// document), with the words that name its role in a message.
struct CallerOutput {
    std::string name;
    std::string role;
};

// The identity check of the run's own files, for the files a caller writes: an output that
// is the input of the request (as a file), one of the run's three outputs (when
// run_outputs and the request writes files) or another caller output, by name, link or
// hard link, is refused. Returns an empty text when every output has a file of its own,
// else what is wrong and how to fix it. Looks at the file system only; creates nothing.
std::string Check_Caller_Outputs(const RunRequest& request,
                                 const std::vector<CallerOutput>& outputs, bool run_outputs);

// Runs one analysis from the run file NAMES.DAT in the given directory, with the optional
// M_vs_EI_report_names.txt beside it (read and then deleted).
int Run_From_Directory(const std::string& directory, const RunClock& clock = Local_Date_Time);

// The phases of a run after its files are known, for callers that hold a model.
void Run_Sequence(AnalysisModel& m, const RunClock& clock);
void Run_Section_EI_Loop(AnalysisModel& m);
int Compute_Run_Return_Value(AnalysisModel& m);

} // namespace zarno
