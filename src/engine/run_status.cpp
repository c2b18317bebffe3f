#include "engine/run_status.h"

#include "engine/analysis_model.h"
#include "engine/results.h"

#include <algorithm>
#include <cstdlib>
#include <fmt/format.h>
#include <utility>

namespace zarno {

std::string Input_Error_Code(int n) {
    return fmt::format("INP{:05d}", n);
}
std::string Runtime_Error_Code(int n) {
    return fmt::format("RUN{:05d}", n);
}

int Report_Fatal_Error(AnalysisModel& m, std::string_view code, int status) {
    if (status >= 1 && status <= 199) {
        m.Report.Blank_Lines(2);
        m.Report.Write_Line(
            fmt::format("Zarno ended prematurely due to input error number {}", code));
    } else if (status >= 200 && status <= 299) {
        m.Report.Blank_Lines(2);
        m.Report.Write_Line(
            fmt::format("Zarno ended prematurely due to runtime error number {}", code));
    }
    if (status == 125) {
        m.Report.Blank_Lines(1);
        m.Report.Write_Line("**** Input Data Error No. 25 ****");
        m.Report.Blank_Lines(1);
        m.Report.Write_Line("Length of input file is 0 bytes.  No analysis can be performed.");
    }
    m.RunStatus = status;
    return status;
}

int Raise_Input_Error(AnalysisModel& m, int n) {
    return Report_Fatal_Error(m, Input_Error_Code(n), 100 + n);
}

int Raise_Runtime_Error(AnalysisModel& m, int n) {
    return Report_Fatal_Error(m, Runtime_Error_Code(n), 200 + n);
}

void Record_Warning(AnalysisModel& m, int code) {
    const int k = std::abs(code);
    if (k < 1 || k > HIGHEST_WARNING_CODE) {
        return; // not a warning code of this engine; nothing to index it by
    }
    WarningStore& w = m.Warnings;
    if (w.Recording_Paused) {
        return;
    }
    if (w.i_Warning_Tally[k] < MAX_WARNING_CODES) {
        ++w.i_Warning_Tally[k];
    }
    w.Highest_Tallied_Code = std::max(w.Highest_Tallied_Code, k);
    w.i_Warning_Count = w.i_Warning_Tally[k];
    w.i_Warning_Code[w.i_Warning_Count] = code;
}

void Record_Warning(AnalysisModel& m, int code, std::vector<std::string> note) {
    if (m.Warnings.Recording_Paused) {
        return;
    }
    Record_Warning(m, code);
    Record_Warning_Note(m, code, std::move(note));
}

void Record_Warning_Once(AnalysisModel& m, int code, std::string_view subject,
                         std::vector<std::string> note) {
    if (m.Warnings.Recording_Paused) {
        return;
    }
    Record_Warning(m, code);
    for (const MessageResult& kept : m.Results.notes) {
        if (kept.code == code && !kept.text.empty() && kept.text.front().starts_with(subject)) {
            return;
        }
    }
    Record_Warning_Note(m, code, std::move(note));
}

} // namespace zarno
