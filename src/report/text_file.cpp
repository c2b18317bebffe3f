#include "report/text_file.h"

#include "report/fortran_format.h"

#include <cmath>

namespace zarno {

bool TextFile::Open(const std::string& path) {
    Close();
    file_ = std::fopen(path.c_str(), "w");
    if (file_ == nullptr) {
        return false;
    }
    path_ = path;
    return true;
}

void TextFile::Close() {
    if (line_open_) {
        End_Line();
    }
    if (file_ != nullptr) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

bool TextFile::Rewind() {
    line_.clear();
    line_open_ = false;
    if (file_ == nullptr) {
        return true;
    }
    std::fclose(file_);
    file_ = std::fopen(path_.c_str(), "w");
    return file_ != nullptr;
}

void TextFile::Emit(std::string_view text) {
    std::FILE* out = file_ != nullptr ? file_ : fallback_;
    if (out != nullptr) {
        std::fwrite(text.data(), 1, text.size(), out);
    }
}

void TextFile::Write_Text(std::string_view text) {
    line_.append(text);
    line_open_ = true;
}

void TextFile::Write_Number(double value, int width) {
    Write_Text(Format_Number(value, width));
}

void TextFile::Write_Integer(long long value, int width) {
    if (width < 1 || width > 16) {
        width = 10;
    }
    Write_Text(Format_I(value, width));
}

void TextFile::Write_Blanks(int count) {
    if (count > 0) {
        Write_Text(std::string(static_cast<size_t>(count), ' '));
    }
}

void TextFile::Write_Field10(std::string_view text) {
    std::string field(text.substr(0, 10));
    field.resize(10, ' ');
    Write_Text(field);
}

void TextFile::End_Line() {
    line_.push_back('\n');
    Emit(line_);
    line_.clear();
    line_open_ = false;
}

void TextFile::Write_Line(std::string_view text) {
    Write_Text(text);
    End_Line();
}

void TextFile::Blank_Lines(int count) {
    for (int i = 0; i < count; ++i) {
        End_Line();
    }
}

std::string Format_Number(double value, int width) {
    const int h = width;
    const double a = std::fabs(value);
    // Thresholds are single-precision powers of ten, as the format table was tuned with.
    auto p10 = [](int e) { return static_cast<double>(std::pow(10.0f, static_cast<float>(e))); };
    std::string field;
    if (a < 1.0e-12) {
        field = Format_F(0.0, h - 1, h - 8);
    } else if (a > p10(h - 3) - 1.0) {
        field = Format_ES(value, h - 1, h - 8);
    } else if (a > 10000.0) {
        field = Format_F(value, h - 1, 0);
    } else if (a > p10(9 - h)) {
        field = Format_F(value, h - 1, h - 7);
    } else if (a >= p10(7 - h)) {
        field = Format_F(value, h - 1, h - 5);
    } else if (a < p10(7 - h)) {
        field = Format_ES(value, h - 1, h - 8);
    } else {
        return "  Not-a-Number";
    }
    return " " + field;
}

} // namespace zarno
