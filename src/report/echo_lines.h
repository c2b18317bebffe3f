// Line builders shared by the blocks of the input echo.
#pragma once

#include <string>
#include <string_view>

namespace zarno {

class TextFile;
struct AnalysisModel;
struct RunInput;

// The text padded with blanks (never cut) to n characters.
std::string Pad_To(std::string_view text, std::size_t n);
// Puts text into line so that it starts at the 1-based column; the line is padded with
// blanks up to there first.
void Put_At_Column(std::string& line, int column, std::string_view text);

// A block banner: a line of 80 "-", the title after the given number of blanks, another
// line of 80 "-".
void Write_Banner(TextFile& r, int indent, std::string_view title);

// Property line: the label from column 1, "= " in column 56, then the value text.
void Write_Label_Value(TextFile& r, std::string_view label, std::string_view value);
// Property line whose value is written by Write_Number in the given width, followed by a
// blank and the unit (no blank when the unit is empty or starts with one).
void Write_Label_Number(TextFile& r, std::string_view label, double value, int width,
                        std::string_view unit);

// Writes the same lines to the runtime message file and the report ("" is an empty line).
void Write_To_Both(AnalysisModel& m, std::initializer_list<std::string> lines);

// Depth of the pile tip and of the lowest soil layer in input units, measured vertically
// (the soil profile is described by vertical depths).
double Vertical_Pile_Tip(const RunInput& in);
double Bottom_Of_Lowest_Layer(const RunInput& in);

} // namespace zarno
