// A sequential text output file (report, plot output or runtime messages).
//
// Lines are composed by successive writes on an open line and closed by End_Line, the
// way the report tables are built column by column. Until a file is opened, its lines
// go to a fallback stream (standard output or standard error), which is where the
// messages of a run that failed before its files existed end up.
//
// An open file collects its text in memory and writes it in large blocks (at the latest
// when it is flushed or closed), so a run makes a handful of system calls per file. Every
// write and the close are checked: the first failure is kept (Failed, Failure), nothing
// more is written to that file, and Flush and Close report it. A file opened in memory is
// never written anywhere; its text stays available to the caller. A discarded output (an
// in-memory run whose caller wants none of that text) composes nothing: every write returns
// at once, and writers that build a whole block ask Composed() first.
#pragma once

#include "report/fortran_format.h"

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace zarno {

class TextFile {
  public:
    // The room an output reserves at its open unless told otherwise; a longer text then takes
    // a whole block (1 MB) at once. A block reserved for every output at the open would be
    // memory the allocator maps afresh and returns to the system at every run, each page of
    // it faulted in again: that cost a small run more than its numerics.
    static constexpr std::size_t kDefaultRoom = std::size_t{1} << 16;

    explicit TextFile(std::FILE* fallback = stdout) : fallback_(fallback) {}
    ~TextFile() { Close(); }
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Creates or replaces the file (an existing file is overwritten in place and cut to
    // the new text's length at the close). Returns false when it cannot be created. With
    // keep_text the whole text also stays in memory (Text) and is written once, at the
    // flush or close.
    bool Open(const std::string& path, bool keep_text = false);
    // Collects the text in memory only; no file is created. `room` characters are reserved
    // at once (a small capture needs none).
    void Open_In_Memory(std::size_t room = kDefaultRoom);
    // Opens the output as discarded: nothing is composed, kept or written, and it never fails.
    void Open_Discarding();
    // False for a discarded output: its text would go nowhere, so it need not be formatted.
    bool Composed() const { return !discarding_; }
    // Writes the text collected so far to the file. False when a write has failed.
    bool Flush();
    // Ends an open line, writes what is left and closes the file. False when a write or
    // the close failed (now or earlier). The text in memory stays available.
    bool Close();
    bool Is_Open() const { return file_ != nullptr || in_memory_; }
    // Starts the file afresh: everything written so far is discarded.
    bool Rewind();
    // The first write or close failure, and a description of it ("writing failed: No space
    // left on device").
    bool Failed() const { return failed_; }
    const std::string& Failure() const { return failure_; }
    // The text of a file opened in memory or with keep_text (complete after Close).
    const std::string& Text() const { return buffer_; }
    std::string Take_Text();
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
    void Emit_Line(std::string_view text);
    void Append_Line(std::string_view text);
    void Record_Failure(const char* what, int error);
    void Reserve_Block(std::size_t room);
    // Closes any earlier file and forgets its text and failures.
    void Start_Afresh(bool in_memory, bool discarding = false);

    std::FILE* file_ = nullptr;
    bool cut_at_close_ = false; // a regular file overwritten in place, cut to length at the close
    std::FILE* fallback_;
    std::string path_;
    // Room for `room` more characters at the end of the open line (which it opens); the
    // caller writes them there and adds what it wrote to line_length_.
    char* Line_Room(std::size_t room);
    void Grow_Line(std::size_t room);
    void Write_Wide_Number(double value, int width);

    std::string line_; // storage of the open line: its first line_length_ characters
    std::size_t line_length_ = 0;
    bool line_open_ = false;
    std::string buffer_;      // text not yet written (all of it when kept or in memory)
    bool keep_text_ = false;  // write only at flush or close, keep the text afterwards
    bool in_memory_ = false;  // no file at all
    bool discarding_ = false; // in memory, and nothing composed or kept
    bool closed_ = false;     // opened and closed: later lines have nowhere to go
    std::size_t written_ = 0; // bytes handed to the file so far
    std::size_t extent_ = 0;  // the file's length: at the open, or the end of what was written
    bool failed_ = false;
    std::string failure_;
};

// The number format chosen by Write_Number, exposed for the writers that compose
// lines elsewhere.
std::string Format_Number(double value, int width);
// The same, appended to out.
void Append_Number(std::string& out, double value, int width);
// The same written in place, for widths 2 .. kMaxPlacedNumber: `at` needs room for
// kPlacedNumberRoom characters (those beyond the field are scratch). Returns the length
// written: the width, or 14 for not-a-number.
constexpr int kMaxPlacedNumber = kPlacedFieldRoom + 1;
constexpr int kPlacedNumberRoom = kPlacedFieldRoom + 1;
int Put_Number(char* at, double value, int width);

} // namespace zarno
