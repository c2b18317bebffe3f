// Unit labels, the report banner, the files block and the date and time of the run.
#pragma once

#include <functional>
#include <string>

namespace zarno {

struct AnalysisModel;

struct DateTime {
    int year = 2000;
    int month = 1; // 1..12
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Where the report's date and time come from; runs take it as an argument so that
// tests and batch front ends can fix it.
using RunClock = std::function<DateTime()>;
DateTime Local_Date_Time();

struct PathParts {
    std::string drive;
    std::string directory; // with its trailing separator
    std::string name;
    std::string extension; // with its leading dot
};
PathParts Split_Path(const std::string& path);

void Set_Unit_Labels(AnalysisModel& m, int iunits);
void Write_Report_Header(AnalysisModel& m);
void Write_Date_Time(AnalysisModel& m, const DateTime& now);

} // namespace zarno
