// The dynamic library as a front end sees it: one exported function, driven by NAMES.DAT
// in the current directory.
#include "test_support.h"

#include <array>
#include <cstdio>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace zarno::test {
namespace {

using ZarnoRunFn = int32_t (*)(int32_t);

class ExportedEntry : public testing::Test {
  protected:
    void SetUp() override {
        handle_ = dlopen(ZARNO_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        run_ = reinterpret_cast<ZarnoRunFn>(dlsym(handle_, "ZarnoRun"));
        ASSERT_NE(run_, nullptr);
        old_cwd_ = fs::current_path();
        fs::current_path(dir_.path());
    }
    void TearDown() override {
        fs::current_path(old_cwd_);
        if (handle_ != nullptr) {
            dlclose(handle_);
        }
    }
    void* handle_ = nullptr;
    ZarnoRunFn run_ = nullptr;
    TempDir dir_;
    fs::path old_cwd_;
};

TEST_F(ExportedEntry, WrongInterfaceVersionReturns99AndCreatesNothing) {
    Write_File("NAMES.DAT", "in.inp\nout.zro\nout.zrp\nout.zrm\n");
    Write_File("in.inp", "ZARNOK6\nEND\n");
    EXPECT_EQ(run_(6035), 99);
    EXPECT_FALSE(fs::exists("out.zro"));
    EXPECT_FALSE(fs::exists("out.zrm"));
    EXPECT_FALSE(fs::exists("out.zrp"));
}

TEST_F(ExportedEntry, RunsTheFilesNamedInNamesDat) {
    Write_File("NAMES.DAT", "in.inp\nout.zro\nout.zrp\nout.zrm\n");
    Write_File("in.inp", "ZARNOK6\nTITLE\nx\n\n\n\n\n"
                         "OPTIONS\nUnits USCS\nUseLRFD NO\nComputeKmatrix NO\nUseTipShear NO\n"
                         "UseSoilMovement NO\nUsePYModifiers NO\nComputeEIOnly YES\n"
                         "Loading STATIC     0\nMaxIterations 100\nExcessDeflection 100\n"
                         "Tolerance 1.0E-05\nIncrements 100\nPrintSummaryOnly NO\n"
                         "PrintIncrement 1\nPrintPYCurves NO\nComputeInteraction NO\n"
                         "SECTIONS\n1\n1\n11\n50\n2\n29000000\n24\n24\n452.4\n452.4\n"
                         "16000\n16000\nEND\n");
    Write_File("M_vs_EI_report_names.txt", "s1.txt\ns2.txt\n");
    EXPECT_EQ(run_(6036), 0);
    EXPECT_NE(Read_File("out.zro").find("The analysis ended normally. "), std::string::npos);
    EXPECT_FALSE(fs::exists("M_vs_EI_report_names.txt")) << "the names file is consumed";
}

TEST_F(ExportedEntry, RunFileProblemsReturnTheirRuntimeErrors) {
    struct Case {
        const char* names; // nullptr: no NAMES.DAT at all
        int status;
        const char* text;
        bool on_stderr;
    };
    const Case cases[] = {
        {nullptr, 202, "Contents of file NAMES.DAT is corrupted.", false},
        {"", 203, "The name of the input data file is corrupted.", false},
        {"in.inp\n", 204, "The name of the output report file is corrupted.", false},
        {"in.inp\nout.zro\n", 205, "The name of the plot output file is corrupted.", false},
        {"in.inp\nout.zro\nout.zrp\n", 206, "Name of runtime message file is corrupted", false},
        {"in.inp\nout.zro\nout.zrp\n   \n", 217,
         "Run message filename information is corrupted. No analysis performed.", true},
        {"  \nout.zro\nout.zrp\nout.zrm\n", 217,
         "Input data filename information corrupted. No analysis was performed.", true},
    };
    Write_File("in.inp", "ZARNOK6\nEND\n");
    for (const Case& c : cases) {
        fs::remove("NAMES.DAT");
        if (c.names != nullptr) {
            Write_File("NAMES.DAT", c.names);
        }
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(run_(6036), c.status) << c.text;
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE((c.on_stderr ? err : out).find(c.text), std::string::npos) << c.text;
        EXPECT_FALSE(fs::exists("out.zro"));
    }
}

TEST(ExportedSymbols, OnlyZarnoRunIsExported) {
    const std::string cmd =
        std::string("nm -D --defined-only ") + ZARNO_SHARED_LIBRARY + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::array<char, 512> buf{};
    std::vector<std::string> symbols;
    while (fgets(buf.data(), buf.size(), p) != nullptr) {
        std::string line(buf.data());
        // "address type name": keep the code and data symbols the library defines.
        std::istringstream s(line);
        std::string addr, type, name;
        s >> addr >> type >> name;
        if (!name.empty() && (type == "T" || type == "D" || type == "B" || type == "R" ||
                              type == "W" || type == "V" || type == "i")) {
            symbols.push_back(name);
        }
    }
    ASSERT_EQ(pclose(p), 0) << "nm must be able to read the library";
    EXPECT_EQ(symbols, std::vector<std::string>{"ZarnoRun"});
}

} // namespace
} // namespace zarno::test
