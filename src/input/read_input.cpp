#include "input/read_input.h"

#include "engine/analysis_model.h"
#include "engine/run_status.h"

#include <string>

namespace zarno {

namespace {

// An unrecognised or out-of-order line ends the input with INP00099.
void Report_Unrecognized_Line(AnalysisModel& m, const std::string& line) {
    for (TextFile* f : {&m.Report, &m.Messages}) {
        f->Blank_Lines(2);
        f->Write_Line("***** INPUT ERROR *****");
        f->Blank_Lines(1);
        f->Write_Line("The following line is unrecognized or is out-of-order");
        f->Blank_Lines(1);
        f->Write_Line(line);
        f->Blank_Lines(2);
    }
    Raise_Input_Error(m, 99);
}

} // namespace

void Read_Title(AnalysisModel& m) {
    m.Messages.Write_Line("Reading title data");
    for (std::string& line : m.Title) {
        if (!m.Input.Read_Record(line)) {
            line.clear();
        }
    }
}

void Read_Input_Data(AnalysisModel& m) {
    m.Messages.Write_Line("Input of data begun");
    std::string line;
    while (true) {
        if (!m.Input.Read_Record(line)) {
            Report_Unrecognized_Line(m, "(end of file before END)");
            return;
        }
        if (line == "TITLE") {
            Read_Title(m);
        } else if (line == "END") {
            return;
        } else {
            Report_Unrecognized_Line(m, line);
            return;
        }
        if (m.RunStatus > 0) {
            return;
        }
    }
}

} // namespace zarno
