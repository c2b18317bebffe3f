#include "report/report_header.h"

#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/text_trim.h"

#include <ctime>
#include <fmt/format.h>

namespace zarno {

DateTime Local_Date_Time() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return DateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

PathParts Split_Path(const std::string& path) {
    PathParts p;
    std::string rest = path;
    if (rest.size() >= 2 && rest[1] == ':') {
        p.drive = rest.substr(0, 2);
        rest = rest.substr(2);
    }
    const size_t slash = rest.find_last_of("/\\");
    std::string file = rest;
    if (slash != std::string::npos) {
        p.directory = rest.substr(0, slash + 1);
        file = rest.substr(slash + 1);
    }
    const size_t dot = file.find_last_of('.');
    if (dot != std::string::npos && dot != 0) {
        p.name = file.substr(0, dot);
        p.extension = file.substr(dot);
    } else {
        p.name = file;
    }
    return p;
}

void Set_Unit_Labels(AnalysisModel& m, int iunits) {
    UnitLabels& u = m.Labels;
    u = UnitLabels{};
    switch (iunits) {
    case USCS:
        u.Force = "lbs";
        u.Length = "in ";
        u.Moment = "in-lb   ";
        u.Force_Per_Length = "lb/in";
        u.Unit_Weight = "pcf  ";
        u.Force_Per_Volume = "pci  ";
        u.Soil_Stress = "psf ";
        u.Depth = "ft";
        u.Small_Length = "in";
        u.Force_Per_Volume2 = "pci  ";
        u.Material_Stress = "psi ";
        break;
    case SI:
        u.Force = "kN ";
        u.Length = "m  ";
        u.Moment = "kN-m    ";
        u.Force_Per_Length = "kN/m ";
        u.Unit_Weight = "kN/m3";
        u.Force_Per_Volume = "kN/m3";
        u.Soil_Stress = "kPa ";
        u.Depth = "m ";
        u.Small_Length = "mm";
        u.Force_Per_Volume2 = "kN/m3";
        u.Material_Stress = "kPa ";
        break;
    default:
        u.Force = "F  ";
        u.Length = "L  ";
        u.Moment = "F-L     ";
        u.Force_Per_Length = "F/L  ";
        u.Unit_Weight = "F/L3 ";
        u.Force_Per_Volume = "F/L3 ";
        u.Soil_Stress = "F/L2";
        u.Depth = "L ";
        u.Small_Length = "L ";
        u.Force_Per_Volume2 = "F/L3 ";
        u.Material_Stress = "F/L2";
        break;
    }
}

namespace {

const std::string kRule80(80, '=');
const std::string kDash80(80, '-');

} // namespace

void Write_Report_Header(AnalysisModel& m) {
    TextFile& r = m.Report;
    TextFile& msg = m.Messages;
    const std::string col15(14, ' ');
    r.Write_Line(kRule80);
    r.Blank_Lines(1);
    r.Write_Line(col15 + "Zarno lateral pile analysis engine, version " +
                 std::string(ENGINE_VERSION_STRING));
    r.Blank_Lines(1);
    r.Write_Line(col15 + " Analysis of Individual Piles and Drilled Shafts ");
    r.Write_Line(col15 + "Subjected to Lateral Loading Using the p-y Method");
    r.Blank_Lines(1);
    r.Write_Line(kRule80);

    r.Blank_Lines(2);
    r.Write_Line(kDash80);
    r.Write_Line(std::string(27, ' ') + "Files Used for Analysis");
    r.Write_Line(kDash80);
    msg.Write_Line("File Path and Names Used for Analysis:");

    const PathParts in = Split_Path(m.Input_File_Name);
    const std::string path_line =
        Trim_Right("Path to file locations:        " + in.drive + in.directory);
    const std::string input_line =
        Trim_Right("Name of input data file:       " + in.name + in.extension);
    r.Blank_Lines(1);
    Write_To_Both(r, msg, {path_line, input_line});
    const PathParts out = Split_Path(m.Report_File_Name);
    const PathParts plot = Split_Path(m.Plot_File_Name);
    const PathParts run = Split_Path(m.Message_File_Name);
    Write_To_Both(r, msg,
                  {Trim_Right("Name of output report file:    " + out.name + out.extension),
                   Trim_Right("Name of plot output file:      " + plot.name + plot.extension),
                   Trim_Right("Name of runtime messeage file: " + run.name + run.extension), "",
                   ""});
}

void Write_Date_Time(AnalysisModel& m, const DateTime& now) {
    static constexpr const char* kMonths[12] = {"January",   "February", "March",    "April",
                                                "May",       "June",     "July",     "August",
                                                "September", "October",  "November", "December"};
    const int month = (now.month >= 1 && now.month <= 12) ? now.month : 1;
    TextFile& r = m.Report;
    r.Write_Line(kDash80);
    r.Write_Line(std::string(27, ' ') + "Date and Time of Analysis");
    r.Write_Line(kDash80);
    r.Blank_Lines(1);
    r.Write_Line(fmt::format("{}Date:  {} {}, {:4d}{}Time:  {:2d}:{:02d}:{:02d}",
                             std::string(15, ' '), kMonths[month - 1], now.day, now.year,
                             std::string(5, ' '), now.hour, now.minute, now.second));
}

} // namespace zarno
