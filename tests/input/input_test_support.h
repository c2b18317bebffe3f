// Reads an input text into a fresh model, the way the run does after the size check, and
// keeps what the reader wrote to the report and the runtime message file.
#pragma once

#include "engine/analysis_model.h"
#include "input/read_input.h"
#include "test_support.h"

#include <memory>
#include <string>

namespace zarno::test {

struct ReadResult {
    std::unique_ptr<AnalysisModel> model;
    std::string report;
    std::string messages;
    int status() const { return model->RunStatus; }
};

inline ReadResult Read_Text(const std::string& text, bool convert = false) {
    TempDir dir;
    ReadResult r;
    r.model = std::make_unique<AnalysisModel>();
    AnalysisModel& m = *r.model;
    Reset_Model_State(m);
    m.Report.Open(dir / "report.txt");
    m.Messages.Open(dir / "messages.txt");
    m.Input.Open_Text(text);
    std::string token;
    m.Input.Read_Word(token);
    Read_Input_Data(m);
    if (convert && m.RunStatus == 0) {
        Convert_USCS_Input_Units(m);
    }
    m.Report.Close();
    m.Messages.Close();
    r.report = Read_File(dir.path() / "report.txt");
    r.messages = Read_File(dir.path() / "messages.txt");
    return r;
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The sixteen option lines of a static lateral analysis with the given units and any
// line replaced: index 0 is the units line.
inline std::string Options(const std::string& units = "Units USCS", int replace_index = -1,
                           const std::string& replacement = "") {
    std::string lines[] = {units,
                           "UseLRFD NO",
                           "ComputeKmatrix NO",
                           "UseTipShear NO",
                           "UseSoilMovement NO",
                           "UsePYModifiers NO",
                           "ComputeEIOnly NO",
                           "Loading STATIC     0",
                           "MaxIterations 100",
                           "ExcessDeflection 100.0",
                           "Tolerance 1.0E-05",
                           "Increments 100",
                           "PrintSummaryOnly NO",
                           "PrintIncrement 1",
                           "PrintPYCurves NO",
                           "ComputeInteraction NO"};
    if (replace_index >= 0) {
        lines[replace_index] = replacement;
    }
    std::string s = "OPTIONS\n";
    for (const std::string& l : lines) {
        s += l + "\n";
    }
    return s;
}

inline std::string Input(const std::string& blocks) {
    return "ZARNOK6\n" + blocks + "END\n";
}

} // namespace zarno::test
