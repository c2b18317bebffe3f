#include "input/record_reader.h"

#include "engine/capacities.h"
#include "engine/utf8.h"

#include <utility>

namespace zarno {

namespace {

bool Is_Blank_Char(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

} // namespace

bool RecordReader::Open(const std::string& path) {
    Close();
    file_ = std::fopen(path.c_str(), "rb");
    return file_ != nullptr;
}

void RecordReader::Open_Text(std::string text) {
    Close();
    text_ = std::move(text);
    text_pos_ = 0;
    text_mode_ = true;
}

void RecordReader::Close() {
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
    text_mode_ = false;
    text_.clear();
    text_pos_ = 0;
    line_number_ = 0;
    non_utf8_lines_.clear();
    non_utf8_count_ = 0;
    list_line_.clear();
    list_pos_ = 0;
    list_has_line_ = false;
    list_line_too_long_ = false;
    separator_open_ = true;
}

int RecordReader::Get_Char() {
    if (text_mode_) {
        if (text_pos_ >= text_.size()) {
            return EOF;
        }
        return static_cast<unsigned char>(text_[text_pos_++]);
    }
    if (file_ == nullptr) {
        return EOF;
    }
    return std::fgetc(file_);
}

bool RecordReader::Next_Line(std::string& line, bool& too_long) {
    line.clear();
    too_long = false;
    int c = Get_Char();
    if (c == EOF) {
        return false;
    }
    while (c != EOF && c != '\n') {
        if (line.size() < MAX_LIST_LINE_LENGTH) {
            line.push_back(static_cast<char>(c));
        } else {
            too_long = true;
        }
        c = Get_Char();
    }
    ++line_number_;
    // An editor may save the file as UTF-8 with a byte-order mark; it is not part of the
    // first item.
    if (line_number_ == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        line.erase(0, 3);
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

bool RecordReader::Read_Record(std::string& record) {
    list_has_line_ = false;
    bool too_long = false;
    if (!Next_Line(record, too_long)) {
        return false;
    }
    record.resize(Utf8_Prefix_Length(record, static_cast<std::size_t>(RECORD_LENGTH)));
    while (!record.empty() && Is_Blank_Char(record.back())) {
        record.pop_back();
    }
    Make_Utf8(record);
    return true;
}

void RecordReader::Make_Utf8(std::string& line) {
    if (!Replace_Invalid_Utf8(line)) {
        return;
    }
    if (non_utf8_lines_.empty() || non_utf8_lines_.back() != line_number_) {
        ++non_utf8_count_;
        if (non_utf8_lines_.size() < MAX_NOTED_LINES) {
            non_utf8_lines_.push_back(line_number_);
        }
    }
}

bool RecordReader::Read_Word(std::string& word) {
    word.clear();
    bool quoted = false;
    Begin_List();
    return Next_Item(word, quoted) == ItemStatus::Item && !word.empty();
}

void RecordReader::Begin_List() {
    list_has_line_ = false;
    list_line_.clear();
    list_pos_ = 0;
    list_line_too_long_ = false;
    separator_open_ = true;
}

std::string RecordReader::Rest_Of_List_Line() const {
    if (!list_has_line_ || list_line_too_long_ || list_pos_ >= list_line_.size()) {
        return {};
    }
    std::string_view rest(list_line_);
    rest.remove_prefix(list_pos_);
    const auto separator = [](char c) { return Is_Blank_Char(c) || c == ','; };
    while (!rest.empty() && separator(rest.front())) {
        rest.remove_prefix(1);
    }
    while (!rest.empty() && separator(rest.back())) {
        rest.remove_suffix(1);
    }
    return std::string(rest);
}

ItemStatus RecordReader::Next_Item(std::string& token, bool& quoted) {
    token.clear();
    quoted = false;
    while (true) {
        if (!list_has_line_) {
            if (!Next_Line(list_line_, list_line_too_long_)) {
                return ItemStatus::End_Of_File;
            }
            list_has_line_ = true;
            list_pos_ = 0;
            if (list_line_too_long_) {
                return ItemStatus::Long_Line;
            }
            Make_Utf8(list_line_);
        }
        const std::string& s = list_line_;
        while (list_pos_ < s.size() && Is_Blank_Char(s[list_pos_])) {
            ++list_pos_;
        }
        if (list_pos_ >= s.size()) {
            // The end of a line separates items like a blank; the read goes on below.
            list_has_line_ = false;
            continue;
        }
        const char c = s[list_pos_];
        if (c == ',') {
            ++list_pos_;
            if (separator_open_) {
                return ItemStatus::Null_Value;
            }
            separator_open_ = true;
            continue;
        }
        if (c == '/') {
            ++list_pos_;
            return ItemStatus::Slash;
        }
        if (c == '\'' || c == '"') {
            std::size_t i = list_pos_ + 1;
            while (true) {
                if (i >= s.size()) {
                    list_pos_ = s.size();
                    return ItemStatus::Bad_Quote;
                }
                if (s[i] == c) {
                    if (i + 1 < s.size() && s[i + 1] == c) {
                        token.push_back(c);
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                token.push_back(s[i]);
                ++i;
            }
            list_pos_ = i;
            quoted = true;
        } else {
            const std::size_t b = list_pos_;
            while (list_pos_ < s.size() && !Is_Blank_Char(s[list_pos_]) && s[list_pos_] != ',' &&
                   s[list_pos_] != '/') {
                ++list_pos_;
            }
            token = s.substr(b, list_pos_ - b);
        }
        separator_open_ = false;
        // A comma right after the item belongs to it as its separator.
        std::size_t j = list_pos_;
        while (j < s.size() && Is_Blank_Char(s[j])) {
            ++j;
        }
        if (j < s.size() && s[j] == ',') {
            list_pos_ = j + 1;
            separator_open_ = true;
        }
        return ItemStatus::Item;
    }
}

} // namespace zarno
