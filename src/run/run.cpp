#include "run/run.h"

#include "analyses/pile_head_stiffness.h"
#include "engine/analysis_model.h"
#include "engine/messages.h"
#include "engine/run_status.h"
#include "engine/text_trim.h"
#include "input/deck_model.h"
#include "input/input_warnings.h"
#include "input/list_read.h"
#include "input/read_input.h"
#include "profile/pile_grid.h"
#include "report/input_echo.h"
#include "report/plot_file.h"
#include "report/response_summary.h"
#include "report/warnings.h"
#include "section/section_stiffness.h"
#include "solver/load_cases.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fmt/format.h>
#include <fstream>
#include <memory>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <utility>
#include <vector>

#if defined(__linux__) || defined(__APPLE__) || defined(__EMSCRIPTEN__)
#include <locale.h>
#define ZARNO_HAS_THREAD_LOCALE 1
#endif

namespace zarno {

namespace {

namespace fs = std::filesystem;

// Input errors of the whole input.
constexpr int NOT_AN_INPUT_FILE_ERROR = 32;    // first item is not ZARNOK6
constexpr int MISSING_BLOCK_ERROR = 35;        // no OPTIONS or no SECTIONS block
constexpr int NO_LOAD_CASE_ERROR = 36;         // a lateral analysis without a load
constexpr int NO_PILE_LENGTH_ERROR = 37;       // a lateral analysis of a pile of length <= 0
constexpr int THRUST_BLOCK_LATERAL_ERROR = 41; // AXIAL THRUST LOADS in a lateral analysis

bool Is_Blank(const std::string& s) {
    return s.find_first_not_of(" \t\r") == std::string::npos;
}

// A file name longer than its field is refused rather than cut.
bool Name_Too_Long(const std::string& name, AnalysisModel& m, const char* role) {
    if (name.size() <= static_cast<size_t>(RECORD_LENGTH)) {
        return false;
    }
    return Fail_Run(m, MessageId::FileNameTooLong, role, RECORD_LENGTH, name.size(), name) > 0;
}

// Runs the engine's thread in the classic "C" locale for the length of a run: numbers in
// the input are read with a decimal point whatever locale the host program (a front end, a
// Python interpreter) has chosen. Only the calling thread is affected, and its locale is
// restored afterwards.
class ClassicLocaleScope {
  public:
    ClassicLocaleScope() {
#ifdef ZARNO_HAS_THREAD_LOCALE
        classic_ = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        if (classic_ != static_cast<locale_t>(nullptr)) {
            previous_ = uselocale(classic_);
        }
#endif
    }
    ~ClassicLocaleScope() {
#ifdef ZARNO_HAS_THREAD_LOCALE
        if (classic_ != static_cast<locale_t>(nullptr)) {
            uselocale(previous_);
            freelocale(classic_);
        }
#endif
    }
    ClassicLocaleScope(const ClassicLocaleScope&) = delete;
    ClassicLocaleScope& operator=(const ClassicLocaleScope&) = delete;

  private:
#ifdef ZARNO_HAS_THREAD_LOCALE
    locale_t classic_ = static_cast<locale_t>(nullptr);
    locale_t previous_ = static_cast<locale_t>(nullptr);
#endif
};

// A blank file name makes the run impossible; the messages go to standard error.
bool Check_Run_File_Names(AnalysisModel& m) {
    struct Named {
        const std::string* name;
        const char* text;
    };
    const Named names[] = {
        {&m.Input_File_Name,
         "Input data filename information corrupted. No analysis was performed."},
        {&m.Report_File_Name,
         "Output filename information is corrupted. No analysis was performed."},
        {&m.Plot_File_Name,
         "Plot output filename information is corrupted. No analysis was performed."},
        {&m.Message_File_Name,
         "Run message filename information is corrupted. No analysis performed."},
    };
    for (const Named& n : names) {
        if (Is_Blank(*n.name)) {
            TextFile err(stderr);
            return Fail_Run_On(m, err, MessageId::BlankFileName, n.text) == 0;
        }
    }
    // A name is a 256-character field; a longer one would be cut to another file's name.
    const std::pair<const std::string*, const char*> fields[] = {
        {&m.Input_File_Name, "input data file"},
        {&m.Report_File_Name, "output report file"},
        {&m.Plot_File_Name, "plot output file"},
        {&m.Message_File_Name, "runtime message file"},
    };
    for (const auto& [name, role] : fields) {
        if (Name_Too_Long(*name, m, role)) {
            return false;
        }
    }
    for (const std::string& name : m.MEI_Report_Names) {
        if (Name_Too_Long(name, m, "moment-curvature file")) {
            return false;
        }
    }
    return true;
}

// What kind of file system object stands where a regular file is expected.
const char* Kind_Of(fs::file_type type) {
    switch (type) {
    case fs::file_type::directory:
        return "a directory";
    case fs::file_type::fifo:
        return "a FIFO (named pipe)";
    case fs::file_type::socket:
        return "a socket";
    case fs::file_type::block:
        return "a block device";
    case fs::file_type::character:
        return "a character device";
    default:
        return "a special file";
    }
}

// The file a name refers to: an absolute path with every link followed, including a
// link whose target does not exist yet (opening it for writing would create the target).
fs::path Resolved_Path(const std::string& name) {
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(name), ec);
    if (ec) {
        return fs::path(name).lexically_normal();
    }
    for (int hop = 0; hop < 40; ++hop) {
        const fs::file_status link = fs::symlink_status(p, ec);
        if (ec || !fs::is_symlink(link)) {
            break;
        }
        const fs::path target = fs::read_symlink(p, ec);
        if (ec) {
            break;
        }
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    const fs::path resolved = fs::weakly_canonical(p, ec);
    return ec ? p.lexically_normal() : resolved;
}

// A last name component that is a name of its own, not empty (a name ending in a
// separator) nor one that steps to a directory ("." or "..").
bool Is_Plain_Name(const fs::path& name) {
    return !name.empty() && name != "." && name != "..";
}

bool Is_Symlink(const fs::path& p) {
    std::error_code ec;
    return fs::is_symlink(fs::symlink_status(p, ec));
}

// What one look at a name tells: whether something stands there, of what kind, and which
// file it is (device and inode, links followed).
struct FileOnDisk {
    // not_found: nothing there; none: the look failed for another reason
    fs::file_type type = fs::file_type::none;
    std::uintmax_t device = 0;
    std::uintmax_t inode = 0;
    bool Failed() const { return type == fs::file_type::none; }
    bool Exists() const { return !Failed() && type != fs::file_type::not_found; }
    // Neither a regular file, a directory nor a link (a device, a FIFO, a socket).
    bool Other() const {
        return Exists() && type != fs::file_type::regular && type != fs::file_type::directory;
    }
};

fs::file_type Type_Of(mode_t mode) {
    switch (mode & S_IFMT) {
    case S_IFREG:
        return fs::file_type::regular;
    case S_IFDIR:
        return fs::file_type::directory;
    case S_IFCHR:
        return fs::file_type::character;
    case S_IFBLK:
        return fs::file_type::block;
    case S_IFIFO:
        return fs::file_type::fifo;
    case S_IFSOCK:
        return fs::file_type::socket;
    default:
        return fs::file_type::unknown;
    }
}

FileOnDisk Look_At(const std::string& name) {
    FileOnDisk f;
    struct stat st {};
    if (::stat(name.c_str(), &st) == 0) {
        f.type = Type_Of(st.st_mode);
        f.device = static_cast<std::uintmax_t>(st.st_dev);
        f.inode = static_cast<std::uintmax_t>(st.st_ino);
    } else if (errno == ENOENT || errno == ENOTDIR) {
        f.type = fs::file_type::not_found;
    }
    return f;
}

// True when the two names reach one file: the same file identity (hard and symbolic
// links included) or the same resolved path for a file that does not exist yet.
bool Same_File(const std::string& a, const FileOnDisk& fa, const std::string& b,
               const FileOnDisk& fb) {
    if (fa.Exists() && fb.Exists() && !(fa.Other() && fb.Other())) {
        // Two existing files are one file exactly when their identities agree; a regular
        // file or directory is never the same as a device, a FIFO or a socket.
        return !fa.Other() && !fb.Other() && fa.device == fb.device && fa.inode == fb.inode;
    }
    if (fa.Exists() != fb.Exists() && !fa.Failed() && !fb.Failed()) {
        // An existing file is never a name that reaches none.
        return false;
    }
    // Neither exists, the usual case of a first run (or a look failed, or two special
    // files, whose identities are not compared). A resolved path ends in the name's own
    // last component unless that component is a link (followed, even when dangling) or steps
    // to a directory, so two different plain last names that are not links cannot resolve
    // alike; only the rest needs the full resolution.
    const fs::path pa(a);
    const fs::path pb(b);
    if (Is_Plain_Name(pa.filename()) && Is_Plain_Name(pb.filename()) &&
        pa.filename() != pb.filename() && !Is_Symlink(pa) && !Is_Symlink(pb)) {
        return false;
    }
    return Resolved_Path(a) == Resolved_Path(b);
}

// Before any file is created: the input must be a regular file, and no output may
// replace the input or another output of the run. Only names that the run opens as files
// are checked as files: an input given as text and outputs kept in memory are names that
// label the report, and nothing written under them can destroy anything, so a run from
// text into memory makes no file-system call here (moment-curvature files are always files).
bool Check_Run_File_Safety(AnalysisModel& m) {
    const bool input_is_file = !m.Input_From_Text;
    const bool outputs_are_files = !m.b_Outputs_In_Memory;
    struct Role {
        const std::string* name;
        const char* text;
        bool is_file;
        FileOnDisk on_disk{}; // looked at once, for the names that are files
    };
    std::vector<Role> files = {{&m.Input_File_Name, "input data file", input_is_file},
                               {&m.Report_File_Name, "output report file", outputs_are_files},
                               {&m.Plot_File_Name, "plot output file", outputs_are_files},
                               {&m.Message_File_Name, "runtime message file", outputs_are_files}};
    const size_t run_files = files.size();
    for (const std::string& name : m.MEI_Report_Names) {
        if (!Is_Blank(name)) {
            files.push_back({&name, "moment-curvature file", true});
        }
    }
    for (Role& f : files) {
        if (f.is_file) {
            f.on_disk = Look_At(*f.name);
        }
    }
    const FileOnDisk& input = files[0].on_disk;
    if (input_is_file && input.Exists() && input.type != fs::file_type::regular) {
        return Fail_Run(m, MessageId::InputNotRegularFile, Kind_Of(input.type),
                        m.Input_File_Name) == 0;
    }
    for (size_t i = 1; i < files.size(); ++i) {
        if (!files[i].is_file) {
            continue;
        }
        // Moment-curvature files are compared with the run's own four files.
        const size_t earlier = std::min(i, run_files);
        for (size_t j = 0; j < earlier; ++j) {
            if (files[j].is_file &&
                Same_File(*files[i].name, files[i].on_disk, *files[j].name, files[j].on_disk)) {
                return Fail_Run(m, MessageId::OutputOverwritesFile, files[i].text, *files[i].name,
                                files[j].text, *files[j].name,
                                j == 0 ? "Writing it would destroy the input data. Give every "
                                         "output file a name of its own."
                                       : "One output would overwrite the other. Give every "
                                         "output file a name of its own.") == 0;
            }
        }
    }
    return true;
}

} // namespace

std::string Check_Caller_Outputs(const RunRequest& request,
                                 const std::vector<CallerOutput>& outputs, bool run_outputs) {
    struct Named {
        std::string name;
        std::string role;
        FileOnDisk on_disk{};
    };
    std::vector<Named> earlier;
    if (request.input_text == nullptr) {
        earlier.push_back({request.input_file, "input data file"});
    }
    if (run_outputs && request.write_files) {
        earlier.push_back({request.report_file, "output report file"});
        earlier.push_back({request.plot_file, "plot output file"});
        earlier.push_back({request.message_file, "runtime message file"});
    }
    for (Named& f : earlier) {
        f.on_disk = Look_At(f.name);
    }
    for (const CallerOutput& out : outputs) {
        if (Is_Blank(out.name)) {
            return fmt::format("The {} has a blank name. Give it the name of a file.", out.role);
        }
        Named here{out.name, out.role, Look_At(out.name)};
        if (here.on_disk.type == fs::file_type::directory) {
            return fmt::format("The {} {} is a directory. Give it the name of a file.", out.role,
                               out.name);
        }
        for (const Named& f : earlier) {
            if (Same_File(here.name, here.on_disk, f.name, f.on_disk)) {
                return fmt::format(
                    "The {} {} names the same file as the {} {}. {} Give every output file a "
                    "name of its own. Nothing was run and no file was written.",
                    out.role, out.name, f.role, f.name,
                    f.role == "input data file" ? "Writing it would destroy the input data."
                                                : "One output would overwrite the other.");
            }
        }
        earlier.push_back(std::move(here));
    }
    return {};
}

namespace {

// Opens the input file and creates the three output files. A file that cannot be opened
// stops the run with the runtime error of that file's line of the run file.
bool Open_Run_Files(AnalysisModel& m) {
    if (!m.Input_From_Text && !m.Input.Open(m.Input_File_Name)) {
        // The reason (no permission, a loop of symbolic links) tells the user what to fix.
        const int reason = errno;
        return Fail_Run_Numbered(
                   m, MessageId::FileCannotOpen, 203, "input data file", "opened",
                   fmt::format("{} ({})", m.Input_File_Name,
                               std::error_code(reason, std::generic_category()).message())) == 0;
    }
    if (m.b_Outputs_In_Memory) {
        // An output the caller does not take is never composed.
        for (auto [file, wanted] :
             {std::pair{&m.Report, m.Report_Text_Wanted}, std::pair{&m.Plot, m.Plot_Text_Wanted},
              std::pair{&m.Messages, m.Message_Text_Wanted}}) {
            if (wanted) {
                file->Open_In_Memory();
            } else {
                file->Open_Discarding();
            }
        }
        return true;
    }
    if (!m.Report.Open(m.Report_File_Name, m.Report_Text_Wanted)) {
        return Fail_Run_Numbered(m, MessageId::FileCannotOpen, 204, "output report file", "created",
                                 m.Report_File_Name) == 0;
    }
    if (!m.Plot.Open(m.Plot_File_Name, m.Plot_Text_Wanted)) {
        return Fail_Run_Numbered(m, MessageId::FileCannotOpen, 205, "plot output file", "created",
                                 m.Plot_File_Name) == 0;
    }
    if (!m.Messages.Open(m.Message_File_Name, m.Message_Text_Wanted)) {
        return Fail_Run_Numbered(m, MessageId::FileCannotOpen, 206, "runtime message file",
                                 "created", m.Message_File_Name) == 0;
    }
    return true;
}

void Check_Input_Size(AnalysisModel& m) {
    std::error_code ec;
    const auto size =
        m.Input_From_Text ? m.Input.Text_Size() : fs::file_size(m.Input_File_Name, ec);
    if (ec || size < 1) {
        if (Fail_Run(m, MessageId::EmptyInputFile) > 0) {
            return;
        }
    }
}

// Anything but a Zarno input file is refused before a single block is read, so that a
// wrong file never ends as an analysis that found nothing to do.
void Read_Header_And_Input(AnalysisModel& m, InputBlocksRead& blocks) {
    std::string token;
    const bool readable = m.Input.Read_Word(token);
    m.Input_Header_Token = readable ? token : std::string(1, '3');
    m.Input_Header_Token.resize(7, ' ');
    if (readable && token == "ZARNOK6") {
        Read_Input_Data(m, blocks);
        return;
    }
    const std::string found =
        readable ? fmt::format("its first item is \"{}\"", Printable(token))
        : m.Input.Last_Line_Too_Long()
            ? fmt::format("its first line is longer than the {} characters a line may hold (remove "
                          "what follows ZARNOK6 on that line)",
                          MAX_LIST_LINE_LENGTH)
            : std::string("it holds no readable item");
    if (Fail_Run_Numbered(m, MessageId::NotAnInputFile, 100 + NOT_AN_INPUT_FILE_ERROR,
                          m.Input_File_Name, found) > 0) {
        return;
    }
}

// The run-level needs of the input once all of it is read: the options, the pile and, for
// a lateral analysis, a pile with length and at least one load case.
void Check_Input_Completeness(AnalysisModel& m, const InputBlocksRead& blocks) {
    std::string problem;
    std::string solution;
    int n = 0;
    if (!blocks.options) {
        n = MISSING_BLOCK_ERROR;
        problem = "The input has no OPTIONS block, so the kind of analysis is not known.";
        solution = "Add the OPTIONS block after the TITLE block.";
    } else if (!blocks.sections) {
        n = MISSING_BLOCK_ERROR;
        problem = "The input has no SECTIONS block, so there is no pile to analyse.";
        solution = "Add the SECTIONS block that describes the pile.";
    } else if (m.i_Analysis_Type == ANALYSIS_LATERAL && m.i_Num_Sections >= 1 &&
               !(m.Pile_Length > 0.0)) {
        n = NO_PILE_LENGTH_ERROR;
        problem =
            fmt::format("The pile length (the sum of the section lengths) is {:g}.", m.Pile_Length);
        solution = "Give the pile sections lengths greater than 0.";
    } else if (m.i_Analysis_Type == ANALYSIS_LATERAL && m.Loads_From_Axial_Thrust_Block &&
               !m.b_Compute_Interaction) {
        // The block shares the load table with LOADING: in a lateral analysis its count
        // would replace the number of load cases and its thrusts those of the loads.
        n = THRUST_BLOCK_LATERAL_ERROR;
        problem = fmt::format(
            "The AXIAL THRUST LOADS block at line {} of the input file gives the thrusts of a "
            "bending-stiffness-only analysis or of the interaction diagrams, but this lateral "
            "analysis computes no interaction diagram.",
            blocks.axial_thrust_line);
        solution = "Give each load's axial thrust in the LOADING block and remove the AXIAL "
                   "THRUST LOADS block, or set ComputeEIOnly YES.";
    } else if (m.i_Analysis_Type == ANALYSIS_LATERAL && m.Loads_From_Axial_Thrust_Block &&
               m.i_Num_Loads != blocks.loading_loads) {
        // With ComputeInteraction YES the thrusts replace those of the loads one for one.
        n = THRUST_BLOCK_LATERAL_ERROR;
        problem = fmt::format("The AXIAL THRUST LOADS block at line {} of the input file gives {} "
                              "thrusts for the {} loads of the LOADING block.",
                              blocks.axial_thrust_line, m.i_Num_Loads, blocks.loading_loads);
        solution = "Give one thrust per load, in the order of the loads.";
    } else if (m.i_Analysis_Type == ANALYSIS_LATERAL && !m.b_Use_LRFD && m.i_Num_Loads < 1) {
        n = NO_LOAD_CASE_ERROR;
        problem = "The input has no pile-head load, so a lateral analysis has nothing to solve.";
        solution = "Add a LOADING block with 1 to 100 pile-head loads.";
    }
    if (n == 0) {
        return;
    }
    if (Fail_Run_Numbered(m, MessageId::IncompleteInput, 100 + n, problem, solution) > 0) {
        return;
    }
}

// Reads the run file NAMES.DAT: the input, report, plot and message file names.
bool Read_Run_File(AnalysisModel& m, const fs::path& directory) {
    std::ifstream names(directory / "NAMES.DAT");
    // No file of the run exists yet: the message file's lines go to standard output.
    if (!names) {
        return Fail_Run(m, MessageId::RunFileName, "Contents of file NAMES.DAT is corrupted.") == 0;
    }
    std::string* targets[] = {&m.Input_File_Name, &m.Report_File_Name, &m.Plot_File_Name,
                              &m.Message_File_Name};
    const char* texts[] = {"The name of the input data file is corrupted.",
                           "The name of the output report file is corrupted.",
                           "The name of the plot output file is corrupted.",
                           "Name of runtime message file is corrupted"};
    for (int i = 0; i < 4; ++i) {
        std::string line;
        if (!std::getline(names, line)) {
            return Fail_Run_Numbered(m, MessageId::RunFileName, 200 + i + 3, texts[i]) == 0;
        }
        *targets[i] = Trim_Both(line, WHITE_SPACE); // a name longer than the field is refused later
    }
    return true;
}

std::vector<std::string> Read_MEI_Report_Names(const fs::path& directory) {
    std::vector<std::string> result;
    const fs::path path = directory / "M_vs_EI_report_names.txt";
    std::ifstream in(path);
    if (!in) {
        return result;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (result.size() < static_cast<size_t>(MAX_MEI_REPORT_NAMES)) {
            result.push_back(
                Trim_Both(line, WHITE_SPACE)); // a name longer than the field is refused later
        }
    }
    in.close();
    std::error_code ec;
    fs::remove(path, ec);
    return result;
}

void Write_Closing_Line(TextFile& f, const std::string& text) {
    f.Blank_Lines(1);
    f.Write_Line(text);
    f.Blank_Lines(1);
}

void Write_Closing_Line(AnalysisModel& m, const std::string& text) {
    // Before the files exist both would fall back to the same standard stream, where the
    // line is wanted once.
    if (!m.Messages.Is_Open() && !m.Report.Is_Open()) {
        Write_Closing_Line(m.Messages, text);
        return;
    }
    Write_Closing_Line(m.Messages, text);
    Write_Closing_Line(m.Report, text);
}

// Runtime error 58: an output file could not be written or closed, so it is incomplete.
// The first fatal error of a run keeps its status; this one is still reported.
void Report_Write_Failure(AnalysisModel& m, TextFile& failed, const char* what,
                          const std::string& name) {
    const std::string reason = failed.Failure();
    if (&failed != &m.Messages && m.Messages.Is_Open() && !m.Messages.Failed()) {
        Write_Message_On(m.Messages, MessageId::OutputWriteFailed, what, name, reason);
    }
    // Also on the console: the message file itself may be the one that failed.
    TextFile console(stderr);
    if (m.RunStatus > 0) {
        Write_Message_On(console, MessageId::OutputWriteFailed, what, name, reason);
        return;
    }
    if (Fail_Run_On(m, console, MessageId::OutputWriteFailed, what, name, reason) > 0) {
        return;
    }
}

struct OutputFile {
    TextFile* file;
    const char* what;
    const std::string* name;
};

std::array<OutputFile, 3> Output_Files(AnalysisModel& m) {
    return {OutputFile{&m.Report, "output report file", &m.Report_File_Name},
            OutputFile{&m.Plot, "plot output file", &m.Plot_File_Name},
            OutputFile{&m.Messages, "runtime message file", &m.Message_File_Name}};
}

// Writes out what the output files hold so far, so that a failure is known before the
// closing lines say how the run ended.
void Check_Output_Files(AnalysisModel& m) {
    for (const OutputFile& f : Output_Files(m)) {
        if (!f.file->Flush()) {
            Report_Write_Failure(m, *f.file, f.what, *f.name);
        }
    }
}

// Closes an output file; a failure not reported before is reported now.
void Close_Output_File(AnalysisModel& m, const OutputFile& f) {
    const bool known = f.file->Failed();
    if (!f.file->Close() && !known) {
        Report_Write_Failure(m, *f.file, f.what, *f.name);
    }
}

} // namespace

void Run_Section_EI_Loop(AnalysisModel& m) {
    TextFile& r = m.Report;
    const bool ei_only = m.i_Analysis_Type == ANALYSIS_EI_ONLY;
    r.Blank_Lines(2);
    r.Write_Line(std::string(80, '-'));
    r.Write_Line("   Computations of Nominal Moment Capacity and Nonlinear Bending Stiffness");
    r.Write_Line(std::string(80, '-'));
    r.Blank_Lines(1);
    if (m.b_Compute_Interaction) {
        r.Write_Line("Axial thrust force values were determined from input values");
    } else if (m.b_Use_LRFD) {
        r.Write_Line("Axial thrust force values were determined from LRFD load combinations");
    } else {
        r.Write_Line("Axial thrust force values were determined from pile-head loading conditions");
    }
    r.Blank_Lines(1);
    r.Write_Line(fmt::format("Number of Pile Sections Analyzed = {}", m.i_Num_Sections));
    for (int k = 1; k <= m.i_Num_Sections; ++k) {
        if (ei_only || k == 1) {
            m.Messages.Write_Line(
                fmt::format("Computing nonlinear bending stiffness of section {}", k));
        }
        r.Blank_Lines(1);
        r.Write_Line(fmt::format("Pile Section No. {}:", k));
        r.Write_Line(std::string(19, '-'));
        Compute_Section_Stiffness(m, k);
        if (m.RunStatus > 0) {
            return;
        }
        m.Messages.Write_Line(
            fmt::format("Completed computing nonlinear bending stiffness of section {}", k));
        m.Messages.Blank_Lines(1);
    }
}

void Run_Sequence(AnalysisModel& m, const RunClock& clock) {
    // Steps after the file names are known; any fatal error returns to the end of run.
    if (!Check_Run_File_Names(m) || !Check_Run_File_Safety(m) || !Open_Run_Files(m)) {
        return;
    }
    Check_Input_Size(m);
    if (m.RunStatus > 0) {
        return;
    }
    InputBlocksRead blocks;
    Read_Header_And_Input(m, blocks);
    if (m.RunStatus > 0) {
        return;
    }
    Check_Input_Completeness(m, blocks);
    if (m.RunStatus > 0) {
        return;
    }
    Record_Run_Facts(m, m.Results);
    m.Messages.Write_Line("Input of data completed");
    m.Messages.Blank_Lines(1);

    if (m.IUNITS == USCS) {
        m.b_Units_Converted = false;
    } else if (m.IUNITS == SI) {
        m.b_Units_Converted = true;
    }
    Set_Unit_Labels(m, m.IUNITS);

    // The report starts afresh: lines the reader wrote while it succeeded are dropped.
    if (!m.Report.Rewind()) {
        if (Fail_Run_Numbered(m, MessageId::FileCannotOpen, 204, "output report file", "created",
                              m.Report_File_Name) > 0) {
            return;
        }
    }
    Write_Report_Header(m);
    Write_Date_Time(m, clock ? clock() : Local_Date_Time());
    Write_Plot_Line1(m, m.Plot);
    Write_Input_Echo(m);
    if (m.RunStatus > 0) {
        return;
    }
    Write_Input_Warnings(m);
    if (m.Stop_After_Input_Checks) {
        return; // the input as read, before its conversion to computation units
    }
    if (m.IUNITS == USCS) {
        Convert_USCS_Input_Units(m);
    } else {
        Convert_SI_Input_Units(m);
    }

    if (m.i_Analysis_Type == ANALYSIS_EI_ONLY) {
        Write_Plot_Line2(m, m.Plot);
        Run_Section_EI_Loop(m);
        return;
    }
    Make_Layers_Contiguous(m);
    Write_Plot_Line2(m, m.Plot);
    Build_Node_Grid(m);
    if (m.RunStatus > 0) {
        return;
    }
    if (m.i_Analysis_Type == ANALYSIS_LATERAL) {
        Run_Section_EI_Loop(m);
        if (m.RunStatus > 0) {
            return;
        }
    }
    // Each load case starts its own warning tallies; the warnings of the reader, the echo
    // and the section analysis are set aside and added back, so they reach the summary
    // and the return value whatever the load cases do.
    const WarningTallies before_load_cases = Set_Aside_Warning_Tallies(m.Warnings);
    Run_Load_Cases(m);
    Keep_Warnings_Recorded_Before(m.Warnings, before_load_cases);
    if (m.RunStatus > 0) {
        return;
    }
    Write_Pile_Response_Summary(m);
    if (m.RunStatus > 0) {
        return;
    }
    if (m.ib_ComputeKmatrix_1T0F) {
        m.Messages.Write_Line("Computing pile-head stiffness matrix components.");
        m.Messages.Blank_Lines(1);
        // The stiffness cases take their base shear, moment and thrust from load case 1
        // and overwrite its loading; it is put back afterwards.
        const int saved_type = m.Loads[1].i_Load_Type;
        const double V0 = m.Loads[1].Condition1;
        const double M0 = m.Loads[1].Condition2;
        const double P0 = m.Loads[1].Axial_Thrust;
        Compute_Pile_Head_Stiffness(m);
        m.Loads[1].i_Load_Type = saved_type;
        m.Loads[1].Condition1 = V0;
        m.Loads[1].Condition2 = M0;
        m.Loads[1].Axial_Thrust = P0;
    }
}

namespace {

// The line that ends a run stopped by a fatal status; empty for a run that was not stopped.
std::string Fatal_Closing_Line(int status) {
    if (status >= 100 && status <= 199) {
        return fmt::format("The analysis ended due to input error No. {}.", status - 100);
    }
    if (status >= 200 && status <= 299) {
        return fmt::format("The analysis ended due to runtime error No. {}.", status - 200);
    }
    if (status > 0) {
        return fmt::format("The analysis stopped with status {}.", status);
    }
    return {};
}

} // namespace

int Compute_Run_Return_Value(AnalysisModel& m) {
    Check_Output_Files(m);
    const int status = m.RunStatus;
    // The closing lines follow the warnings that are actually listed: a warning recorded
    // only in an earlier load case (whose tallies the last case replaced) is neither
    // announced nor denied.
    const int warnings = Count_Distinct_Warnings(m.Warnings);
    const std::string fatal_line = Fatal_Closing_Line(status);
    // The last line of the message file states the outcome, so a front end that reads only
    // that line never takes a stopped run for a finished one: after warnings, the fatal line
    // is repeated there with their number.
    if (!fatal_line.empty()) {
        if (warnings >= 1) {
            Write_Closing_Line(m.Report, fatal_line);
        } else {
            Write_Closing_Line(m, fatal_line);
        }
    }
    int w = 0;
    if (warnings >= 1) {
        m.Messages.Blank_Lines(2);
        m.Messages.Write_Line("The analysis ended with one or more warning messages. See the "
                              "output report file for more details.");
        m.Messages.Blank_Lines(2);
        Write_Warning_Summary(m.Warnings, m.Report);
        w = Warning_Return_Code(m.Warnings);
        if (!fatal_line.empty()) {
            Write_Closing_Line(m.Messages,
                               fmt::format("{} The run recorded {} kind{} of warning message.",
                                           fatal_line, warnings, warnings == 1 ? "" : "s"));
        }
    }
    if (status == 0) {
        Write_Closing_Line(m.Report, "The analysis ended normally. ");
    }
    m.Input.Close();
    const auto outputs = Output_Files(m);
    Close_Output_File(m, outputs[0]);
    Close_Output_File(m, outputs[1]);
    // The message file says the run ended normally only once the other files are safe.
    if (status == 0) {
        if (m.RunStatus == 0) {
            Write_Closing_Line(m.Messages, "The analysis ended normally. ");
        } else {
            Write_Closing_Line(m.Messages, fmt::format("The analysis ended due to runtime "
                                                       "error No. {}.",
                                                       m.RunStatus - 200));
        }
    }
    Close_Output_File(m, outputs[2]);
    if (m.RunStatus > 0) {
        return m.RunStatus;
    }
    return w;
}

int Run_Analysis(const RunRequest& request, const RunClock& clock) {
    return Run_Analysis(request, clock, nullptr);
}

namespace {

// One run of the C++ entry: the caller's summary and results, each when asked for. With
// deck_json the run stops once its input is read and checked, and hands back the deck.
int Run_Request(const RunRequest& request, const RunClock& clock, RunSummary* summary,
                RunResults* results, std::string* deck_json = nullptr) {
    const ClassicLocaleScope classic_locale;
    auto model = Make_Fresh_Model();
    AnalysisModel& m = *model;
    m.Input_File_Name = request.input_file;
    m.Report_File_Name = request.report_file;
    m.Plot_File_Name = request.plot_file;
    m.Message_File_Name = request.message_file;
    m.MEI_Report_Names = request.mei_report_names;
    if (m.MEI_Report_Names.size() > static_cast<size_t>(MAX_MEI_REPORT_NAMES)) {
        m.MEI_Report_Names.resize(MAX_MEI_REPORT_NAMES);
    }
    m.b_Outputs_In_Memory = !request.write_files;
    if (request.input_text != nullptr) {
        m.Input_From_Text = true;
        m.Input.Open_Text(*request.input_text);
    }
    m.Report_Text_Wanted = request.report_text != nullptr;
    m.Plot_Text_Wanted = request.plot_text != nullptr;
    m.Message_Text_Wanted = request.message_text != nullptr;
    if (deck_json != nullptr) {
        // Nothing is written: the outputs stay in memory under names that only label them.
        m.Stop_After_Input_Checks = true;
        m.b_Outputs_In_Memory = true;
        m.Report_File_Name = request.input_file + ".zro";
        m.Plot_File_Name = request.input_file + ".zrp";
        m.Message_File_Name = request.input_file + ".zrm";
        m.MEI_Report_Names.clear();
    }
    Run_Sequence(m, clock);
    if (deck_json != nullptr) {
        *deck_json = m.RunStatus > 0 ? std::string() : Deck_Json(m);
    }
    // The end of the run closes the files: whether they were created is known only now.
    const bool files_created = m.Report.Is_Open();
    if (summary != nullptr) {
        summary->IUNITS = m.IUNITS;
        summary->Cases.clear();
        const int cases = std::min(m.Lateral.i_Num_Cases_Done, MAX_PILE_HEAD_LOADS);
        for (int n = 1; n <= cases; ++n) {
            const LoadCaseSummary& c = m.Lateral.Case[n];
            summary->Cases.push_back({n, c.Head_Deflection, c.Max_Moment, c.Max_Shear});
        }
    }
    const int result = Compute_Run_Return_Value(m);
    if (results != nullptr) {
        Record_Run_End(m, result);
        *results = std::move(m.Results);
        results->output_files_created = files_created;
        if (results->has_error && results->error.text.empty()) {
            // A block raised through the catalogue was recorded as it was written; any
            // other is read back as the run wrote it (the files are closed by now).
            results->error.text =
                m.b_Outputs_In_Memory
                    ? Read_Error_Block_From_Text(m.Report.Text(), m.Messages.Text())
                    : Read_Error_Block(request.report_file, request.message_file);
        }
        // The load case the error stopped carries the same block, now that it is complete.
        for (LoadCaseResult& c : results->load_cases) {
            if (!c.converged && c.error.empty() && results->has_error) {
                c.error = results->error.text;
            }
        }
    }
    for (auto [text, file] :
         {std::pair{request.report_text, &m.Report}, std::pair{request.plot_text, &m.Plot},
          std::pair{request.message_text, &m.Messages}}) {
        if (text != nullptr) {
            *text = file->Take_Text();
        }
    }
    return result;
}

} // namespace

int Run_Analysis(const RunRequest& request, const RunClock& clock, RunSummary* summary) {
    return Run_Request(request, clock, summary, nullptr);
}

int Run_Analysis(const RunRequest& request, const RunClock& clock, RunResults& results) {
    return Run_Request(request, clock, nullptr, &results);
}

int Read_Deck(const RunRequest& request, std::string& deck_json, RunResults& results) {
    return Run_Request(request, Local_Date_Time, nullptr, &results, &deck_json);
}

int Write_Deck(const std::string& deck_json, std::string& deck_text, std::string& error) {
    return Write_Deck_Text(deck_json, deck_text, error);
}

int Run_From_Directory(const std::string& directory, const RunClock& clock) {
    const ClassicLocaleScope classic_locale;
    auto model = Make_Fresh_Model();
    AnalysisModel& m = *model;
    const fs::path dir(directory);
    if (Read_Run_File(m, dir)) {
        m.MEI_Report_Names = Read_MEI_Report_Names(dir);
        Run_Sequence(m, clock);
    }
    return Compute_Run_Return_Value(m);
}

} // namespace zarno
