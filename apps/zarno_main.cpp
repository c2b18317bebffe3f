// zarno: runs one lateral pile analysis from the command line.
#include "engine/capacities.h"
#include "engine/run.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <fmt/format.h>
#include <string>

namespace {

namespace fs = std::filesystem;

// Exit codes of the command line program.
constexpr int kExitNormal = 0;       // normal end, with or without warnings
constexpr int kExitInputError = 1;   // the run stopped on an input error
constexpr int kExitRuntimeError = 2; // the run stopped on a runtime error
constexpr int kExitOtherStop = 3;    // the run stopped on another fatal status
constexpr int kExitUsage = 64;       // the command line itself was wrong

std::string Describe_Result(int result) {
    if (result == 0) {
        return "The analysis ended normally.";
    }
    if (result < 0) {
        return fmt::format("The analysis ended normally with warnings (code {}).", result);
    }
    if (result >= 101 && result <= 199) {
        return fmt::format("The analysis ended due to input error No. {}.", result - 100);
    }
    if (result >= 201 && result <= 299) {
        return fmt::format("The analysis ended due to runtime error No. {}.", result - 200);
    }
    return fmt::format("The analysis stopped with status {}.", result);
}

struct Units {
    const char* length;
    const char* moment;
    const char* force;
};

Units Units_Of(int iunits) {
    if (iunits == 1) {
        return {"in", "in-lb", "lb"};
    }
    if (iunits == 2) {
        return {"m", "kN-m", "kN"};
    }
    return {"(length)", "(force x length)", "(force)"};
}

int Exit_Code(int result) {
    if (result <= 0) {
        return kExitNormal;
    }
    if (result >= 101 && result <= 199) {
        return kExitInputError;
    }
    if (result >= 201 && result <= 299) {
        return kExitRuntimeError;
    }
    return kExitOtherStop;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"Zarno: analysis of single piles and drilled shafts under lateral load by the "
                 "p-y method.\n\nRuns the analysis of INPUT and writes, beside it, the report "
                 "STEM.zro, the plot output file STEM.zrp and the runtime message file STEM.zrm.\n"
                 "Exit status: 0 normal end (also with warnings), 1 input error, 2 runtime "
                 "error, 3 other fatal stop, 64 command-line error.",
                 "zarno"};
    std::string input;
    app.add_option("INPUT", input, "Input data file (first item ZARNOK6)")->required();
    app.set_version_flag("--version", std::string("zarno engine ") + zarno::ENGINE_VERSION_STRING);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kExitUsage;
    }

    const fs::path in(input);
    fs::path stem = in;
    stem.replace_extension();
    zarno::RunRequest request;
    request.input_file = in.string();
    request.report_file = fs::path(stem).concat(".zro").string();
    request.plot_file = fs::path(stem).concat(".zrp").string();
    request.message_file = fs::path(stem).concat(".zrm").string();

    zarno::RunSummary summary;
    const int result = zarno::Run_Analysis(request, zarno::Local_Date_Time, &summary);

    if (!summary.b_Output_Files_Created) {
        // The engine has already written its message and closing line to the standard
        // output, and none of the three files exists.
        return Exit_Code(result);
    }
    std::printf("%s\n", Describe_Result(result).c_str());
    if (!summary.Cases.empty()) {
        const Units u = Units_Of(summary.IUNITS);
        for (const zarno::RunCaseResult& c : summary.Cases) {
            std::printf("Load case %d: pile-head deflection %s %s, maximum moment %s %s, "
                        "maximum shear %s %s\n",
                        c.i_Case, fmt::format("{:.6g}", c.Head_Deflection).c_str(), u.length,
                        fmt::format("{:.6g}", c.Max_Moment).c_str(), u.moment,
                        fmt::format("{:.6g}", c.Max_Shear).c_str(), u.force);
        }
    }
    std::printf("Report:           %s\n", request.report_file.c_str());
    std::printf("Plot output:      %s\n", request.plot_file.c_str());
    std::printf("Runtime messages: %s\n", request.message_file.c_str());
    return Exit_Code(result);
}
