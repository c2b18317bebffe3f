#include "input/record_reader.h"

#include "engine/capacities.h"

namespace zarno {

bool RecordReader::Open(const std::string& path) {
    Close();
    file_ = std::fopen(path.c_str(), "rb");
    line_number_ = 0;
    return file_ != nullptr;
}

void RecordReader::Close() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

bool RecordReader::Read_Record(std::string& record) {
    record.clear();
    if (file_ == nullptr) {
        return false;
    }
    int c = std::fgetc(file_);
    if (c == EOF) {
        return false;
    }
    while (c != EOF && c != '\n') {
        if (record.size() < static_cast<size_t>(RECORD_LENGTH)) {
            record.push_back(static_cast<char>(c));
        }
        c = std::fgetc(file_);
    }
    ++line_number_;
    if (!record.empty() && record.back() == '\r') {
        record.pop_back();
    }
    while (!record.empty() && (record.back() == ' ' || record.back() == '\t')) {
        record.pop_back();
    }
    return true;
}

bool RecordReader::Read_Word(std::string& word) {
    word.clear();
    std::string record;
    // A list-directed read skips empty records until it finds an item.
    while (Read_Record(record)) {
        size_t i = record.find_first_not_of(" \t");
        if (i == std::string::npos) {
            continue;
        }
        if (record[i] == ',') {
            return false;
        }
        size_t j = record.find_first_of(" \t,/", i);
        word = record.substr(i, j == std::string::npos ? std::string::npos : j - i);
        return !word.empty();
    }
    return false;
}

} // namespace zarno
