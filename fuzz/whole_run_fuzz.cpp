// Runs arbitrary bytes as the input file of a whole analysis: reading, echo, section
// analysis, load cases and reports. Besides a crash, a sanitizer report or a hang, these
// are faults:
// - a run that ends normally or with warnings (result 0 or negative) and has written a
//   not-a-number or an infinity into any of its files or its JSON results (where a
//   non-finite number is written as null): garbage reported as success;
// - JSON results, or a deck document, that a strict parser refuses (invalid UTF-8
//   included), or a deck document that the deck writer cannot write back;
// - a stopped run whose runtime message file does not end with the line of its stop.
#include "report/results_json.h"
#include "run/run.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// One scratch directory per fuzzing process; every input reuses its four file names.
const fs::path& Scratch_Directory() {
    static const fs::path dir = [] {
        std::string pattern = (fs::temp_directory_path() / "zarno-run-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        return fs::path(pattern);
    }();
    return dir;
}

std::string Read_All(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// True when the text holds a word that spells a non-finite number as the report formats
// ("NaN", "Infinity", "Inf") or the C library ("nan", "inf") write it.
bool Has_Non_Finite_Word(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (!std::isalpha(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < text.size() && std::isalpha(static_cast<unsigned char>(text[j]))) {
            ++j;
        }
        std::string word = text.substr(i, j - i);
        for (char& c : word) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (word == "nan" || word == "inf" || word == "infinity") {
            return true;
        }
        i = j;
    }
    return false;
}

// A null anywhere but the "error" member of the results stands for a non-finite number.
bool Has_Null_Number(const nlohmann::json& j, const std::string& key = "") {
    if (j.is_null()) {
        return key != "error";
    }
    if (j.is_object()) {
        for (const auto& [k, v] : j.items()) {
            if (Has_Null_Number(v, k)) {
                return true;
            }
        }
    }
    if (j.is_array()) {
        for (const nlohmann::json& v : j) {
            if (Has_Null_Number(v, key)) {
                return true;
            }
        }
    }
    return false;
}

std::string Last_Line(const std::string& text) {
    const std::size_t end = text.find_last_not_of("\r\n ");
    if (end == std::string::npos) {
        return {};
    }
    const std::size_t start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1);
}

[[noreturn]] void Fault(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

zarno::DateTime Fixed_Time() {
    return zarno::DateTime{2026, 1, 1, 0, 0, 0};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path& dir = Scratch_Directory();
    zarno::RunRequest request;
    request.input_file = (dir / "case.inp").string();
    request.report_file = (dir / "case.zro").string();
    request.plot_file = (dir / "case.zrp").string();
    request.message_file = (dir / "case.zrm").string();
    {
        std::ofstream out(request.input_file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    zarno::RunResults results;
    const int result = zarno::Run_Analysis(request, Fixed_Time, results);
    nlohmann::json json;
    try {
        json = nlohmann::json::parse(zarno::Results_To_Json(results));
    } catch (const std::exception& e) {
        Fault(std::string("the JSON results do not parse: ") + e.what());
    }
    if (result <= 0) {
        for (const std::string* name :
             {&request.report_file, &request.plot_file, &request.message_file}) {
            if (Has_Non_Finite_Word(Read_All(*name))) {
                Fault("result " + std::to_string(result) + " with a non-finite number in " + *name);
            }
        }
        if (Has_Null_Number(json)) {
            Fault("result " + std::to_string(result) + " with a non-finite number in the JSON");
        }
    } else if (results.output_files_created) {
        const std::string last = Last_Line(Read_All(request.message_file));
        if (last.rfind("The analysis ended due to", 0) != 0 &&
            last.rfind("The analysis stopped with status", 0) != 0) {
            Fault("result " + std::to_string(result) + " whose message file ends with: " + last);
        }
    }

    // The same bytes as a deck document, and back to deck text.
    const std::string text(reinterpret_cast<const char*>(data), size);
    zarno::RunRequest deck_request;
    deck_request.input_file = "case.inp";
    deck_request.input_text = &text;
    std::string document;
    zarno::RunResults deck_results;
    if (zarno::Read_Deck(deck_request, document, deck_results) <= 0) {
        if (!nlohmann::json::accept(document)) {
            Fault("the deck document does not parse");
        }
        std::string written;
        std::string error;
        if (zarno::Write_Deck(document, written, error) != 0) {
            Fault("the deck document cannot be written back: " + error);
        }
    }
    return 0;
}
