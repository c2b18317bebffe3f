// Typed list-directed reads of the input blocks, with the input errors of unreadable data.
//
// One ListRead is one read statement: it starts on the next line of the input file and
// takes its items in order, continuing onto following lines while items are wanted.
// Every failure (end of file, a malformed or out-of-range number, a word where a number
// belongs, a null value, a slash, an over-long line) writes a message naming the block,
// the line and what was expected, raises the input error and makes the read return false.
#pragma once

#include <string>
#include <string_view>
#include <system_error>

namespace zarno {

struct AnalysisModel;

// Input errors of this reader that the published error list leaves open.
inline constexpr int INPUT_ERROR_BAD_VALUE = 90;      // unreadable or missing value
inline constexpr int INPUT_ERROR_END_OF_FILE = 91;    // the file ends before END
inline constexpr int INPUT_ERROR_CAPACITY = 92;       // more entries than a table holds
inline constexpr int INPUT_ERROR_PY_TYPE = 93;        // p-y type code outside 1 to 20
inline constexpr int INPUT_ERROR_LOADING_TYPE = 73;   // pile-head loading type outside 1 to 5
inline constexpr int INPUT_ERROR_BAR_PATTERN = 74;    // unknown bar arrangement line
inline constexpr int INPUT_ERROR_SHAPE_CODE = 75;     // elastic shape code outside 1 to 6
inline constexpr int INPUT_ERROR_USER_PY_ORDER = 76;  // user p-y y values not increasing
inline constexpr int INPUT_ERROR_PISA_PARAMETER = 77; // a monopile curve parameter not positive
inline constexpr int INPUT_ERROR_OUT_OF_RANGE = 33;   // a value outside its physical range
inline constexpr int INPUT_ERROR_OUT_OF_ORDER = 34;   // depths that go back up the pile

// No input value of any unit system comes near this magnitude; larger ones only carry
// overflow into the analysis.
inline constexpr double MAX_INPUT_MAGNITUDE = 1e20;

// A quoted echo of foreign or offending text, kept printable and at most 40 characters.
std::string Printable(std::string_view text);

class ListRead {
  public:
    ListRead(AnalysisModel& m, std::string_view block);
    // A read ends with its statement: values left over on its last line are not read by
    // anything, so they are reported (a warning naming the block, the line and the items)
    // rather than dropped without a word.
    ~ListRead();
    ListRead(const ListRead&) = delete;
    ListRead& operator=(const ListRead&) = delete;

    // Each returns false, with the input error raised, when the item cannot be read.
    bool Int(int& value, std::string_view what);
    bool Real(double& value, std::string_view what);
    // A word; at most width characters are kept (blank-padded like a fixed field).
    bool Word(std::string& value, std::size_t width, std::string_view what);

  private:
    bool Next(std::string& token, bool& quoted, std::string_view what, std::string_view kind);

    AnalysisModel& m_;
    std::string_view block_;
    int items_ = 0; // items read so far
};

// Parses a list-directed integer or real; false for malformed or out-of-range text.
bool Parse_List_Int(std::string_view text, int& value);
bool Parse_List_Real(std::string_view text, double& value);
// Converts an unsigned decimal number ("12.5e-3") through a stream in the classic locale, for
// standard libraries without a floating-point from_chars: std::errc() with the value,
// result_out_of_range when it does not fit a double, invalid_argument for trailing text.
std::errc Convert_Decimal_Classic(std::string_view text, double& value);

// Unreadable text where the expected item stands: input error 90.
[[nodiscard]] int Raise_Bad_Value(AnalysisModel& m, std::string_view block,
                                  std::string_view expected, std::string_view found);
// The end of the file inside a block (or before END): input error 91.
[[nodiscard]] int Raise_End_Of_File(AnalysisModel& m, std::string_view block,
                                    std::string_view what);
// A count beyond a table's capacity: input error 92.
[[nodiscard]] int Raise_Capacity_Error(AnalysisModel& m, std::string_view block,
                                       std::string_view what, long long count, int capacity);
// Writes "**** Input Data Error No. n ****" with a problem and a solution line to the
// report and the message file, and raises input error n.
[[nodiscard]] int Raise_Input_Line_Error(AnalysisModel& m, int n, const std::string& problem,
                                         const std::string& solution);
// A value outside its allowed range: input error 33 naming the block, the line of the
// input file, the value and the range ("allowed" completes "Give a value ...").
[[nodiscard]] int Raise_Out_Of_Range(AnalysisModel& m, std::string_view block,
                                     std::string_view what, double value, std::string_view allowed);
// Checks low <= value <= high (low < value when low_open); raises input error 33 and
// returns false outside.
bool Check_Range(AnalysisModel& m, std::string_view block, std::string_view what, double value,
                 double low, double high, bool low_open = false);
// A depth above one that must lie above it (named previous_what): input error 34.
[[nodiscard]] int Raise_Out_Of_Order(AnalysisModel& m, std::string_view block,
                                     std::string_view what, double value,
                                     std::string_view previous_what, double previous);

// Reads the next line as a 256-character record; at the end of the file raises input
// error 91 and returns false.
bool Read_Block_Record(AnalysisModel& m, std::string& record, std::string_view block,
                       std::string_view what);

} // namespace zarno
