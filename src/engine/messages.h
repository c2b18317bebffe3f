// The run's message blocks as data, and the one way to stop a run.
//
// Every block is an entry of one catalogue: the status it gives the run, whether the
// report gets the premature-end line, which file is written first, and its lines, each
// marked for the report, the runtime message file or both. A line may hold placeholders
// {0} … {9}, replaced by values the raising routine has formatted exactly as the block
// shows them (field widths, units). Fail_Run writes the block, records it as the run's
// error and sets the status; it returns that status, which the caller must propagate.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace zarno {

struct AnalysisModel;
class TextFile;

// The file a line of a block goes to.
enum class MessageTarget : unsigned char { Both, Report, Messages };

// Which file receives the whole block first (the order the files have always had).
enum class MessageOrder : unsigned char { ReportFirst, MessagesFirst };

// What the block does to the run.
enum class MessageEffect : unsigned char {
    Note,   // written, the run goes on
    EndRun, // the run stops; the report gets the premature-end line with the message code
    Stop,   // the run stops with the status alone, no premature-end line
};

struct MessageLine {
    MessageTarget target;
    std::string_view text; // empty: a blank line
};

enum class MessageId {
    // Runtime errors that stop the run with their status alone.
    NoStrainSoftClay,           // 237, no text: the caller explains
    NoStrainSoftClayWithJ,      // 238, no text
    TopDeflectionNotANumber,    // 228
    DeflectionChangeNotANumber, // 228
    StiffnessCaseNotANumber,    // 228, pile-head stiffness load cases
    ThinLayer,                  // 229
    MassiveRock,                // 99
    PrintDepthAboveGround,      // 123: "NON-FATAL" in its heading, yet the run stops
    // Runtime errors with the premature-end line.
    ExcessDeflection, // 209
    SmallPivot,       // 211
    SandDefaultK,     // 213
    NoSoilSupport,    // 240
    GrossImbalance,   // 252
    Buckling,         // 255
    CapacityReached,  // 256
    // Input errors.
    NotAnInputFile,       // 132
    IncompleteInput,      // number given by the caller
    LrfdDataMissing,      // 154
    FrozenSoil,           // 157
    GeneralUnitsNoValue,  // 158
    SoilMovementLines,    // 153
    IncrementRange,       // 155, 156
    ToleranceRange,       // 165 to 168
    SoftClayZeroStrength, // 112, 171 with J
    PyTypeCode,           // 193
    ListReadValue,        // number given by the caller
    UnrecognizedLine,     // 199
    WeakRockStrength,     // 162
    WeakRockZeroStrength, // 116
    WeakRockKrm,          // 163, code INP00163
    WeakRockYrm,          // 222
    WeakRockInitialSlope, // 164
    SiltCohesion,         // 148
    SiltFriction,         // 110
    SiltSlopeInput,       // 111
    SiltSlopeRuntime,     // 223
    LoessCycles,          // 170, code INP00170
    OptionUnrecognized,   // 195, the report's one-line "INPUT ERROR - ..." message
    IterationLimit,       // 195
    LrfdInput,            // number given by the caller; two lines of text
    LrfdInputWithDetail,  // the same with a blank line and a detail line
    Nonconvergence,       // 210, report only
    // Section analysis.
    NeutralAxisNotFound,  // 216, report only
    SectionAxialCapacity, // 224 to 227, report only
    PrestressArea,        // 214, 215, report only
    SectionMicropile,     // 195, the report's one-line "INPUT ERROR - ..." message
    SectionBarPlacement,  // 195, the same
    // The run's files; the message file only.
    RunFileName,          // 202 to 206, a name in the run file
    BlankFileName,        // 217, written where the caller says (standard error)
    FileNameTooLong,      // 253
    InputNotRegularFile,  // 251
    OutputOverwritesFile, // 250
    FileCannotOpen,       // 203 to 206
    EmptyInputFile,       // 125; the report's own lines follow the premature-end line
    OutputWriteFailed,    // 258
    // p-y curves of clay and sand.
    StiffClayZeroCohesion,         // 113
    StiffClayZeroCohesionInitialK, // 113, its solution in two lines
    StiffClayWaterZeroCohesion,    // 114
    ApiSandSlope,                  // 102
    ReeseSandSlope,                // 109
    ReeseSandZeroFriction,         // 108, message file only
    ApiSandZeroFriction,           // 101
    SoilModulusNotANumber,         // 231 to 235, report only
    ApiSoftClayModulusNotANumber,  // 236, report only
    // The soil profile.
    StrengthCurveTooShallow,    // 105
    StrengthDepthIncrementZero, // 160
    ShearStrengthTooShallow,    // 103
    FrictionAngleTooShallow,    // 104
    RqdTooShallow,              // 131
    UnitWeightTooShallow,       // 115
    RqdOutOfRange,              // 149
    // Checks of the input echo.
    PileDiameterPoints,          // 117
    PileZeroDiameter,            // 127
    SoilAboveTip,                // 118
    UnitWeightStartsBelowGround, // 119
    StrengthStartsOffGround,     // 120
    MultipliersStartOffGround,   // 121
    CyclesOutOfRange,            // 128
    TooFewCycles,                // 122
    TipShearCurve,               // 150
    PrintDepthBelowTip,          // 130
    PrintDepthAboveGroundInput,  // 129
    // The SECTIONS block, report only.
    ConcreteTensileOption, // 195
    ConcreteCurveSequence, // 195
    ConcreteCurveOption,   // 195
    RebarContinuation,     // 195
    StrandOrder,           // 195
    StrandInput,           // 195
    SectionOrder,          // 195, no error heading
    // A fault of the engine itself: status 999, no premature-end line.
    InternalError,
    // Notes: the run goes on.
    UnitWeightOutsideSI,
    UnitWeightOutsideUSCS,
};

struct MessageEntry {
    MessageId id;
    int status; // RunStatus the block gives the run; 0 for a note
    MessageEffect effect;
    MessageOrder order;
    std::string_view code; // message code of the premature-end line when it differs from
                           // the status ("INP00163"); empty: formed from the status
    std::span<const MessageLine> lines;
};

// The catalogue, and the entry of one block.
std::span<const MessageEntry> Message_Catalogue();
const MessageEntry& Message_Entry(MessageId id);

// The message code the premature-end line of an entry names ("RUN00029").
std::string Message_Code(const MessageEntry& entry, int status);

// text with every {k} replaced by args[k] and {n} by number (the error number of the
// block's status, 52 for 252); a placeholder without a value stays as it is. The values
// are inserted as they stand, whatever braces they hold.
std::string Fill_Placeholders(std::string_view text, std::span<const std::string> args,
                              std::string_view number = {});

// The lines of an entry as one file receives them, placeholders filled; status 0 stands
// for the entry's own.
std::vector<std::string> Message_Lines(const MessageEntry& entry, MessageTarget file,
                                       std::span<const std::string> args, int status = 0);

// Writes the same lines to two files, all of them to the first, then to the second.
void Write_To_Both(TextFile& first, TextFile& second, std::initializer_list<std::string> lines);

// Writes the block of a note (or of an error whose status the caller sets later).
void Write_Message_With(AnalysisModel& m, MessageId id, std::span<const std::string> args,
                        int status = 0);
// The same for a routine that holds only the two files.
void Write_Message_To_With(TextFile& report, TextFile& messages, MessageId id,
                           std::span<const std::string> args, int status = 0);

// Writes the block, records it as the run's error, sets RunStatus and returns it. status
// overrides the entry's where one block serves several error numbers (0: the entry's).
[[nodiscard]] int Fail_Run_With(AnalysisModel& m, MessageId id, std::span<const std::string> args,
                                int status = 0);

// Ends the run with a block already written by Write_Message_With, for a check that
// reports every case it finds before it stops: the last block written is the run's error.
[[nodiscard]] int Fail_Run_Written(AnalysisModel& m, MessageId id,
                                   std::span<const std::string> args, int status = 0);

// The same for a block of the message file written to another file (standard error, for
// a run whose own files are not known): out gets the entry's message-file lines.
[[nodiscard]] int Fail_Run_On_With(AnalysisModel& m, TextFile& out, MessageId id,
                                   std::span<const std::string> args, int status = 0);
void Write_Message_On_With(TextFile& out, MessageId id, std::span<const std::string> args,
                           int status = 0);

// A placeholder value as text: integers in their shortest form, text as it stands.
inline std::string Message_Arg(std::string_view text) {
    return std::string(text);
}
inline std::string Message_Arg(const std::string& text) {
    return text;
}
inline std::string Message_Arg(const char* text) {
    return std::string(text);
}
template <typename T>
requires std::is_integral_v<T> std::string Message_Arg(T value) {
    return std::to_string(value);
}

template <typename... Args>
void Write_Message(AnalysisModel& m, MessageId id, const Args&... args) {
    const std::vector<std::string> values{Message_Arg(args)...};
    Write_Message_With(m, id, values);
}

template <typename... Args>
void Write_Message_To(TextFile& report, TextFile& messages, MessageId id, const Args&... args) {
    const std::vector<std::string> values{Message_Arg(args)...};
    Write_Message_To_With(report, messages, id, values);
}

template <typename... Args>
[[nodiscard]] int Fail_Run(AnalysisModel& m, MessageId id, const Args&... args) {
    const std::vector<std::string> values{Message_Arg(args)...};
    return Fail_Run_With(m, id, values);
}

template <typename... Args>
[[nodiscard]] int Fail_Run_On(AnalysisModel& m, TextFile& out, MessageId id, const Args&... args) {
    const std::vector<std::string> values{Message_Arg(args)...};
    return Fail_Run_On_With(m, out, id, values);
}

template <typename... Args>
void Write_Message_On(TextFile& out, MessageId id, const Args&... args) {
    const std::vector<std::string> values{Message_Arg(args)...};
    Write_Message_On_With(out, id, values);
}

// For a block that serves several error numbers: the run ends with status (100 + n or
// 200 + n), and {n} in the block reads n.
template <typename... Args>
[[nodiscard]] int Fail_Run_Numbered(AnalysisModel& m, MessageId id, int status,
                                    const Args&... args) {
    const std::vector<std::string> values{Message_Arg(args)...};
    return Fail_Run_With(m, id, values, status);
}

} // namespace zarno
