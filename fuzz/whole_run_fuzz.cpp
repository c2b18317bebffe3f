// Runs arbitrary bytes as the input file of a whole analysis: reading, echo, section
// analysis, load cases and reports. Besides a crash, a sanitizer report or a hang, a run
// that ends normally or with warnings (result 0 or negative) and has written a
// not-a-number or an infinity into any of its files is a fault: such a result would be
// garbage reported as success.
#include "run/run.h"

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
    const int result = zarno::Run_Analysis(request, Fixed_Time);
    if (result <= 0) {
        for (const std::string* name :
             {&request.report_file, &request.plot_file, &request.message_file}) {
            if (Has_Non_Finite_Word(Read_All(*name))) {
                std::fprintf(stderr, "result %d with a non-finite number in %s\n", result,
                             name->c_str());
                std::abort();
            }
        }
    }
    return 0;
}
