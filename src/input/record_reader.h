// Sequential reader of the input file, one record (line) at a time.
#pragma once

#include <cstdio>
#include <string>

namespace zarno {

class RecordReader {
  public:
    RecordReader() = default;
    ~RecordReader() { Close(); }
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    bool Open(const std::string& path);
    void Close();
    bool Is_Open() const { return file_ != nullptr; }

    // Reads the next line as a record: at most 256 characters are kept (the rest of a
    // longer line is skipped), trailing blanks and the line end removed. False at end
    // of file.
    bool Read_Record(std::string& record);
    // Reads the first blank- or comma-separated item of the next record, as a
    // list-directed read of a word does. False when no item could be read.
    bool Read_Word(std::string& word);
    // Number of the last record read (1 for the first line of the file).
    int Line_Number() const { return line_number_; }

  private:
    std::FILE* file_ = nullptr;
    int line_number_ = 0;
};

} // namespace zarno
