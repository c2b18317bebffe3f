// Sequential reader of the input file, one record (line) at a time.
//
// Two ways of reading share one position in the file:
// - Read_Record takes the next line as a 256-character record (keyword, title and option
//   lines): characters beyond column 256 are dropped, trailing blanks removed.
// - A list-directed read (Begin_List, then Next_Item for each value) takes items separated
//   by blanks or commas, starting on the next line and continuing onto following lines
//   while items are still wanted; what is left of its last line is skipped by the next read.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace zarno {

// Longest line a list-directed read accepts; the value items of the input never come near
// it, and a longer line is reported instead of being cut where a number might stand.
inline constexpr std::size_t MAX_LIST_LINE_LENGTH = 4096;

enum class ItemStatus {
    Item,        // an item was read into the token
    End_Of_File, // the file ended before the item
    Null_Value,  // two commas with nothing between them, or a leading comma
    Slash,       // a slash, which ends a list-directed read early
    Bad_Quote,   // a quoted word without its closing quote on the same line
    Long_Line    // a line longer than MAX_LIST_LINE_LENGTH
};

class RecordReader {
  public:
    RecordReader() = default;
    ~RecordReader() { Close(); }
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    bool Open(const std::string& path);
    // Reads from the given text instead of a file (used by tests and the fuzz target).
    void Open_Text(std::string text);
    void Close();
    bool Is_Open() const { return file_ != nullptr || text_mode_; }
    // Length of the text given to Open_Text (0 when reading a file).
    std::size_t Text_Size() const { return text_mode_ ? text_.size() : 0; }

    // Reads the next line as a record: at most 256 bytes are kept, cut on a character
    // boundary (the rest of a longer line is skipped), trailing blanks and the line end
    // removed, bytes that are not UTF-8 replaced. False at end of file.
    bool Read_Record(std::string& record);
    // Reads the first blank- or comma-separated item of the next record, as a
    // list-directed read of a word does. False when no item could be read.
    bool Read_Word(std::string& word);

    // Starts a list-directed read: its first item comes from the next line.
    void Begin_List();
    // The next item of the current list-directed read. A quoted word comes back without
    // its quotes (a doubled quote inside stands for one) and with quoted set.
    ItemStatus Next_Item(std::string& token, bool& quoted);

    // What the current list-directed read left unread on its last line, without the blanks
    // and commas around it (empty when the line was used up).
    std::string Rest_Of_List_Line() const;
    // True when the line of the last list-directed read was longer than
    // MAX_LIST_LINE_LENGTH (its items were not read).
    bool Last_Line_Too_Long() const { return list_line_too_long_; }

    // Number of the last record read (1 for the first line of the file).
    int Line_Number() const { return line_number_; }

    // Lines read so far whose bytes were not all UTF-8 (the first few line numbers, and how
    // many there were): their invalid bytes were replaced by U+FFFD as they were read.
    static constexpr std::size_t MAX_NOTED_LINES = 10;
    const std::vector<int>& Non_Utf8_Lines() const { return non_utf8_lines_; }
    int Non_Utf8_Line_Count() const { return non_utf8_count_; }

  private:
    // Reads the next physical line whole (up to a guard length); false at end of file.
    bool Next_Line(std::string& line, bool& too_long);
    int Get_Char();
    // Replaces the bytes of line that are not UTF-8, noting the line.
    void Make_Utf8(std::string& line);

    std::FILE* file_ = nullptr;
    bool text_mode_ = false;
    std::string text_;
    std::size_t text_pos_ = 0;
    int line_number_ = 0;
    std::vector<int> non_utf8_lines_;
    int non_utf8_count_ = 0;

    // State of the list-directed read in progress.
    std::string list_line_;
    std::size_t list_pos_ = 0;
    bool list_has_line_ = false;
    bool list_line_too_long_ = false;
    bool separator_open_ = true; // a comma now would make a null value
};

} // namespace zarno
