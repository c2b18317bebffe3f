// A sequential text output file (report, plot output or runtime messages).
//
// Lines are composed by successive writes on an open line and closed by End_Line, the
// way the report tables are built column by column. Until a file is opened, its lines
// go to a fallback stream (standard output or standard error), which is where the
// messages of a run that failed before its files existed end up.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace zarno {

class TextFile {
  public:
    explicit TextFile(std::FILE* fallback = stdout) : fallback_(fallback) {}
    ~TextFile() { Close(); }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Creates or replaces the file. Returns false when it cannot be created.
    bool Open(const std::string& path);
    void Close();
    bool Is_Open() const { return file_ != nullptr; }
    // Starts the file afresh: everything written so far is discarded.
    bool Rewind();
    void Set_Fallback(std::FILE* fallback) { fallback_ = fallback; }

    // Appends one blank and the value in a field of H - 1 characters, the format chosen
    // from the magnitude of the value so that it stays readable.
    void Write_Number(double value, int width);
    // Appends the integer right-aligned in w characters (a width outside 1..16 is 10).
    void Write_Integer(long long value, int width);
    void Write_Blanks(int count);
    // Appends text to the open line.
    void Write_Text(std::string_view text);
    // Appends text in a 10-character field, padded or cut.
    void Write_Field10(std::string_view text);
    // Ends the open line; with no open line writes an empty line.
    void End_Line();
    // Writes text as a whole line (after anything already on the open line).
    void Write_Line(std::string_view text);
    // Writes a blank and the text as a whole line.
    void Write_Blank_Line_Text(std::string_view text) {
        Write_Text(" ");
        Write_Line(text);
    }
    void Blank_Lines(int count);

  private:
    void Emit(std::string_view text);

    std::FILE* file_ = nullptr;
    std::FILE* fallback_;
    std::string path_;
    std::string line_;
    bool line_open_ = false;
};

// The number format chosen by Write_Number, exposed for the writers that compose
// lines elsewhere.
std::string Format_Number(double value, int width);

} // namespace zarno
