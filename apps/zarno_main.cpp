// zarno: runs one lateral pile analysis from the command line.
#include "engine/capacities.h"
#include "report/results_json.h"
#include "run/run.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fmt/format.h>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Exit codes of the command line program.
constexpr int kExitNormal = 0;       // normal end, with or without warnings
constexpr int kExitInputError = 1;   // the run stopped on an input error
constexpr int kExitRuntimeError = 2; // the run stopped on a runtime error
constexpr int kExitOtherStop = 3;    // the run stopped on another fatal status
constexpr int kExitUsage = 64;       // the command line itself was wrong
constexpr int kExitOutputError = 73; // the JSON or CSV results could not be written

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

// The message block of a fatal error, where it happened and what to read next, for a user
// at a terminal who may never open the report. With block_shown the engine has printed the
// block on the standard output already (no file of the run exists), and only the code is named.
void Write_Error_To_Stderr(const zarno::RunResults& results, const zarno::RunRequest& request,
                           bool block_shown = false) {
    if (!results.has_error) {
        return;
    }
    const zarno::MessageResult& e = results.error;
    std::string text;
    for (const std::string& line : e.text) {
        text += line + "\n";
    }
    if (e.text.empty() || block_shown) {
        text = fmt::format("The run stopped with {} {}.\n", e.kind, e.code);
    }
    // Point only to the files the run actually wrote (a refused output name may be the
    // input itself, which exists but is no report).
    std::string see;
    for (const std::string* f : {&request.report_file, &request.message_file}) {
        std::error_code ec;
        if (results.output_files_created && fs::exists(*f, ec)) {
            see += (see.empty() ? "See " : " and ") + *f;
        }
    }
    if (!see.empty()) {
        see += " for the full trace.\n";
    }
    std::fputs(fmt::format("zarno: {} in {}\n{}{}",
                           e.message_code.empty() ? e.kind : e.message_code, request.input_file,
                           text, see)
                   .c_str(),
               stderr);
}

// Every warning of the run: the notes specific to this input (which line, layer or value,
// and what to do), then each recorded warning that has no note of its own, with its text.
void Write_Warnings_To_Stderr(const zarno::RunResults& results) {
    for (const zarno::MessageResult& w : results.notes) {
        std::string text;
        for (const std::string& line : w.text) {
            text += (text.empty() ? "" : " ") + line;
        }
        std::fputs(fmt::format("zarno: warning {}: {}\n", w.code, text).c_str(), stderr);
    }
    for (const zarno::MessageResult& w : results.warnings) {
        const bool noted = std::any_of(results.notes.begin(), results.notes.end(),
                                       [&](const auto& n) { return n.code == w.code; });
        if (noted) {
            continue;
        }
        std::string text;
        for (const std::string& line : w.text) {
            const std::string_view t = line;
            if (t.empty() || t.find("****") != std::string_view::npos) {
                continue; // the heading only repeats that this is a warning
            }
            text +=
                (text.empty() ? "" : " ") + std::string(t.substr(0, t.find_last_not_of(' ') + 1));
        }
        std::fputs(fmt::format("zarno: warning {} (reported {} time{}): {}\n", w.code, w.count,
                               w.count == 1 ? "" : "s", text)
                       .c_str(),
                   stderr);
    }
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

// Every file this program writes besides the run's own three goes through the run's identity
// check before anything runs: none may be the input, one of the run's files or another of
// them, whatever links lead there.
bool Outputs_Are_Safe(const zarno::RunRequest& request, bool deck_only,
                      const std::vector<zarno::CallerOutput>& outputs) {
    const std::string problem = zarno::Check_Caller_Outputs(request, outputs, !deck_only);
    if (problem.empty()) {
        return true;
    }
    std::fprintf(stderr, "zarno: %s\n", problem.c_str());
    return false;
}

int Run_Command(int argc, char** argv);

} // namespace

int main(int argc, char** argv) {
    // Nothing the engine or a writer throws may end the program without a word: the user
    // learns what failed, and the exit status says the run did not complete.
    try {
        return Run_Command(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr,
                     "zarno: internal error: %s\nThe run did not complete; results written "
                     "before this point may be incomplete. Please report this with the input "
                     "file.\n",
                     e.what());
    } catch (...) {
        std::fprintf(stderr, "zarno: internal error of unknown kind. The run did not complete; "
                             "please report this with the input file.\n");
    }
    return kExitRuntimeError;
}

namespace {

int Run_Command(int argc, char** argv) {
    CLI::App app{"Zarno: analysis of single piles and drilled shafts under lateral load by the "
                 "p-y method.\n\nRuns the analysis of INPUT and writes, beside it, the report "
                 "STEM.zro, the plot output file STEM.zrp and the runtime message file STEM.zrm.\n"
                 "Exit status: 0 normal end (also with warnings), 1 input error, 2 runtime "
                 "error, 3 other fatal stop, 64 command-line error, 73 the JSON or CSV results "
                 "could not be written.",
                 "zarno"};
    std::string input;
    std::string json_file;
    std::string csv_dir;
    app.add_option("INPUT", input, "Input data file (first item ZARNOK6)")->required();
    app.add_option("--json", json_file,
                   "Also write the results as JSON to FILE (layout: docs/results-schema.json)")
        ->option_text("FILE");
    app.add_option("--csv", csv_dir, "Also write the results as CSV files, one per table, into DIR")
        ->option_text("DIR");
    std::string deck_json_file;
    app.add_option("--deck-json", deck_json_file,
                   "Only read and check INPUT and write its contents as JSON to FILE (layout: "
                   "docs/deck-schema.json); no analysis, no other file")
        ->option_text("FILE")
        ->excludes("--json")
        ->excludes("--csv");
    app.set_version_flag("--version",
                         fmt::format("zarno engine {}\nzarno project {}",
                                     zarno::ENGINE_VERSION_STRING, ZARNO_PROJECT_VERSION));
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

    // An option given with an empty name is a mistake, not a request for no output.
    const struct {
        const char* option;
        const std::string* value;
        const char* what;
    } named_outputs[] = {{"--json", &json_file, "file"},
                         {"--csv", &csv_dir, "directory"},
                         {"--deck-json", &deck_json_file, "file"}};
    for (const auto& o : named_outputs) {
        if (app.count(o.option) > 0 && o.value->empty()) {
            std::fprintf(stderr, "zarno: %s was given an empty name. Give it the name of a %s.\n",
                         o.option, o.what);
            return kExitUsage;
        }
    }

    const fs::path in(input);
    fs::path stem = in;
    stem.replace_extension();
    zarno::RunRequest request;
    request.input_file = in.string();
    request.report_file = fs::path(stem).concat(".zro").string();
    request.plot_file = fs::path(stem).concat(".zrp").string();
    request.message_file = fs::path(stem).concat(".zrm").string();

    std::vector<zarno::CallerOutput> outputs;
    if (!deck_json_file.empty()) {
        outputs.push_back({deck_json_file, "deck JSON file"});
    }
    if (!json_file.empty()) {
        outputs.push_back({json_file, "JSON results file"});
    }
    if (!csv_dir.empty()) {
        for (const std::string& name : zarno::Csv_File_Names()) {
            outputs.push_back({(fs::path(csv_dir) / name).string(), "CSV results file"});
        }
    }
    if (!Outputs_Are_Safe(request, !deck_json_file.empty(), outputs)) {
        return kExitUsage;
    }

    zarno::RunResults results;
    if (!deck_json_file.empty()) {
        std::string document;
        const int result = zarno::Read_Deck(request, document, results);
        zarno::RunRequest no_files = request; // reading a deck writes no report to point to
        no_files.report_file.clear();
        no_files.message_file.clear();
        Write_Warnings_To_Stderr(results);
        Write_Error_To_Stderr(results, no_files);
        if (result > 0) {
            return Exit_Code(result);
        }
        std::ofstream out(deck_json_file, std::ios::binary);
        out << document << '\n';
        out.close();
        if (!out) {
            std::fprintf(stderr, "zarno: the deck JSON was not written: %s\n",
                         deck_json_file.c_str());
            return kExitOutputError;
        }
        std::printf("Deck JSON:        %s\n", deck_json_file.c_str());
        return kExitNormal;
    }
    const int result = zarno::Run_Analysis(request, zarno::Local_Date_Time, results);

    if (!results.output_files_created) {
        // The engine has already written its message and closing line to the standard
        // output, and none of the three files exists; standard error still says why.
        Write_Error_To_Stderr(results, request, true);
        return Exit_Code(result);
    }
    std::printf("%s\n", Describe_Result(result).c_str());
    Write_Warnings_To_Stderr(results);
    Write_Error_To_Stderr(results, request);
    if (!results.load_cases.empty()) {
        const Units u = Units_Of(results.units.system == "SI"     ? 2
                                 : results.units.system == "USCS" ? 1
                                                                  : 3);
        for (const zarno::LoadCaseResult& c : results.load_cases) {
            if (!c.error.empty()) {
                std::printf("Load case %d: failed (see the error above), no results\n", c.number);
                continue;
            }
            std::printf("Load case %d: pile-head deflection %s %s, maximum moment %s %s, "
                        "maximum shear %s %s\n",
                        c.number, fmt::format("{:.6g}", c.head_deflection).c_str(), u.length,
                        fmt::format("{:.6g}", c.max_moment).c_str(), u.moment,
                        fmt::format("{:.6g}", c.max_shear).c_str(), u.force);
        }
    }
    int exit_code = Exit_Code(result);
    std::string error;
    bool json_written = false;
    bool csv_written = false;
    if (!json_file.empty()) {
        json_written = zarno::Write_Results_Json(results, json_file, error);
        if (!json_written) {
            std::fprintf(stderr, "zarno: the JSON results were not written: %s\n", error.c_str());
            exit_code = exit_code == kExitNormal ? kExitOutputError : exit_code;
        }
    }
    if (!csv_dir.empty()) {
        csv_written = zarno::Write_Results_Csv(results, csv_dir, error);
        if (!csv_written) {
            std::fprintf(stderr, "zarno: the CSV results were not written: %s\n", error.c_str());
            exit_code = exit_code == kExitNormal ? kExitOutputError : exit_code;
        }
    }
    if (json_written) {
        std::printf("JSON results:     %s\n", json_file.c_str());
    }
    if (csv_written) {
        std::printf("CSV results:      %s\n", csv_dir.c_str());
    }
    std::printf("Report:           %s\n", request.report_file.c_str());
    std::printf("Plot output:      %s\n", request.plot_file.c_str());
    std::printf("Runtime messages: %s\n", request.message_file.c_str());
    return exit_code;
}

} // namespace
