// Small helpers shared by the tests: temporary directories and whole-file reads.
#pragma once

#include "engine/analysis_model.h"
#include "report/text_file.h"
#include "run/run.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <sstream>
#include <string>

namespace zarno::test {

namespace fs = std::filesystem;

class TempDir {
  public:
    TempDir() {
        std::random_device rd;
        path_ = fs::temp_directory_path() /
                ("zarno_test_" + std::to_string(rd()) + "_" + std::to_string(rd()));
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  private:
    fs::path path_;
};

// The text with the first occurrence of `from` replaced by `to`; a test that names a text
// its input does not contain fails.
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

inline std::string Read_File(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void Write_File(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A report and a message file of their own in a temporary directory, for the routines
// that write to the two files directly; Report() and Messages() close the file and return
// its text.
struct ReportAndMessages {
    TempDir dir;
    TextFile report{nullptr};
    TextFile messages{nullptr};
    ReportAndMessages() {
        report.Open(dir / "r.txt");
        messages.Open(dir / "m.txt");
    }
    std::string Report() {
        report.Close();
        return Read_File(dir / "r.txt");
    }
    std::string Messages() {
        messages.Close();
        return Read_File(dir / "m.txt");
    }
};

// A fresh model whose report, plot and message files live in a temporary directory, for
// the routines that write to the model's files; Report(), Plot() and Messages() close the
// file and return its text.
struct ModelFiles {
    TempDir dir;
    std::unique_ptr<AnalysisModel> m;
    ModelFiles() { Start_Again(); }
    // A fresh model with its three files opened anew (emptied).
    void Start_Again() {
        m = Make_Fresh_Model();
        EXPECT_TRUE(m->Report.Open(dir / "r.txt"));
        EXPECT_TRUE(m->Plot.Open(dir / "p.txt"));
        EXPECT_TRUE(m->Messages.Open(dir / "m.txt"));
    }
    std::string Report() {
        m->Report.Close();
        return Read_File(dir / "r.txt");
    }
    std::string Plot() {
        m->Plot.Close();
        return Read_File(dir / "p.txt");
    }
    std::string Messages() {
        m->Messages.Close();
        return Read_File(dir / "m.txt");
    }
};

inline DateTime Fixed_Time() {
    return DateTime{2026, 12, 10, 9, 5, 7};
}

// A request whose four files live in dir, with the given input text written first.
inline RunRequest Request_In(const TempDir& dir, const std::string& input_text) {
    Write_File(dir / "case.inp", input_text);
    RunRequest r;
    r.input_file = dir / "case.inp";
    r.report_file = dir / "case.zro";
    r.plot_file = dir / "case.zrp";
    r.message_file = dir / "case.zrm";
    return r;
}

// A run whose outputs stay in memory under names that only label them (stem.zro, .zrp,
// .zrm); the input is read from `input_text` when it is given, else from `input_file`.
inline RunRequest Request_In_Memory(const std::string& input_file, const std::string* input_text,
                                    const std::string& stem = "deck") {
    RunRequest r;
    r.input_file = input_file;
    r.input_text = input_text;
    r.report_file = stem + ".zro";
    r.plot_file = stem + ".zrp";
    r.message_file = stem + ".zrm";
    r.write_files = false;
    return r;
}

struct RunOutput {
    int result;
    std::string report;
    std::string plot;
    std::string messages;
};

inline RunOutput Run_Text(const std::string& input_text) {
    TempDir dir;
    RunRequest r = Request_In(dir, input_text);
    RunOutput out;
    out.result = Run_Analysis(r, Fixed_Time);
    out.report = Read_File(r.report_file);
    out.plot = Read_File(r.plot_file);
    out.messages = Read_File(r.message_file);
    return out;
}

// A run from text with its outputs in memory: the return value, the results, the report and
// the message file.
struct MemoryRun {
    int result = 0;
    RunResults results;
    std::string report;
    std::string messages;
};

inline MemoryRun Run_Text_In_Memory(const std::string& input_text) {
    RunRequest r = Request_In_Memory("deck.inp", &input_text);
    MemoryRun out;
    r.report_text = &out.report;
    r.message_text = &out.messages;
    out.result = Run_Analysis(r, Fixed_Time, out.results);
    return out;
}

// The block of the run's fatal error, one line each.
inline std::string Error_Text(const RunResults& r) {
    std::string text;
    for (const std::string& line : r.error.text) {
        text += line + "\n";
    }
    return text;
}

} // namespace zarno::test
