#include "report/text_file.h"

#include "report/fortran_format.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fmt/format.h>

#if __has_include(<unistd.h>) && __has_include(<sys/stat.h>) && __has_include(<fcntl.h>)
#define ZARNO_POSIX_FILES 1
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#define ZARNO_POSIX_FILES 0
#endif

namespace zarno {

namespace {

// Text collected beyond this size is written out, so a long run holds at most this much
// of a file in memory (unless its text is kept for the caller).
constexpr std::size_t kBlockSize = std::size_t{1} << 20;

// Room of the line under construction at the start; it grows for a longer line.
constexpr std::size_t kLineRoom = 256;

// 10^e rounded to single precision, e = -20 .. 20 (what powf gives for these exponents).
constexpr int kFloatPowersBelow = 20;
constexpr int kFloatPowersAbove = 20;
constexpr float kFloatPowersOfTen[kFloatPowersBelow + kFloatPowersAbove + 1] = {
    1e-20f, 1e-19f, 1e-18f, 1e-17f, 1e-16f, 1e-15f, 1e-14f, 1e-13f, 1e-12f, 1e-11f, 1e-10f,
    1e-9f,  1e-8f,  1e-7f,  1e-6f,  1e-5f,  1e-4f,  1e-3f,  1e-2f,  1e-1f,  1e0f,   1e1f,
    1e2f,   1e3f,   1e4f,   1e5f,   1e6f,   1e7f,   1e8f,   1e9f,   1e10f,  1e11f,  1e12f,
    1e13f,  1e14f,  1e15f,  1e16f,  1e17f,  1e18f,  1e19f,  1e20f};

// The descriptor Write_Number chooses for a value in a field of h characters.
struct NumberFormat {
    enum Kind { Fixed, Scientific, Not_A_Number } kind = Fixed;
    double value = 0.0; // what the field shows (zero for magnitudes below 1e-12)
    int decimals = 0;
};

// The magnitudes at which the format changes for a field of h characters: above
// `scientific_above` ESw.(h-8), above `seven_above` F with h - 7 decimals, from `five_from`
// F with h - 5 decimals, and ESw.(h-8) again below it.
struct NumberThresholds {
    double scientific_above = 0.0;
    double seven_above = 0.0;
    double five_from = 0.0;
};

// Thresholds are single-precision powers of ten, as the format table was tuned with.
double Float_Power_Of_Ten(int e) {
    if (e >= -kFloatPowersBelow && e <= kFloatPowersAbove) {
        return static_cast<double>(kFloatPowersOfTen[e + kFloatPowersBelow]);
    }
    return static_cast<double>(std::pow(10.0f, static_cast<float>(e)));
}

// Widths whose three powers all lie in the table are decided once, at compile time.
constexpr int kMaxTabulatedWidth = kFloatPowersAbove + 3;

constexpr NumberThresholds Tabulated_Thresholds(int h) {
    return {static_cast<double>(kFloatPowersOfTen[h - 3 + kFloatPowersBelow]) - 1.0,
            static_cast<double>(kFloatPowersOfTen[9 - h + kFloatPowersBelow]),
            static_cast<double>(kFloatPowersOfTen[7 - h + kFloatPowersBelow])};
}

struct ThresholdTable {
    NumberThresholds width[kMaxTabulatedWidth + 1];
};

constexpr ThresholdTable Make_Threshold_Table() {
    ThresholdTable t{};
    for (int h = 2; h <= kMaxTabulatedWidth; ++h) {
        t.width[h] = Tabulated_Thresholds(h);
    }
    return t;
}

constexpr ThresholdTable kThresholds = Make_Threshold_Table();

[[gnu::noinline]] NumberThresholds Computed_Thresholds(int h) {
    return {Float_Power_Of_Ten(h - 3) - 1.0, Float_Power_Of_Ten(9 - h), Float_Power_Of_Ten(7 - h)};
}

[[gnu::always_inline]] inline NumberThresholds Thresholds_For(int h) {
    if (h >= 2 && h <= kMaxTabulatedWidth) {
        return kThresholds.width[h];
    }
    return Computed_Thresholds(h);
}

[[gnu::always_inline]] inline NumberFormat Choose_Number_Format(double value, int h) {
    const double a = std::fabs(value);
    if (a < 1.0e-12) {
        return {NumberFormat::Fixed, 0.0, h - 8};
    }
    const NumberThresholds t = Thresholds_For(h);
    if (a > t.scientific_above) {
        return {NumberFormat::Scientific, value, h - 8};
    }
    if (a > 10000.0) {
        return {NumberFormat::Fixed, value, 0};
    }
    if (a > t.seven_above) {
        return {NumberFormat::Fixed, value, h - 7};
    }
    if (a >= t.five_from) {
        return {NumberFormat::Fixed, value, h - 5};
    }
    if (a < t.five_from) {
        return {NumberFormat::Scientific, value, h - 8};
    }
    return {NumberFormat::Not_A_Number, value, 0};
}

constexpr std::string_view kNotANumber = "  Not-a-Number";

// The number field in place; inlined into the text file's writer, which calls it per number.
[[gnu::always_inline]] inline int Place_Number(char* at, double value, int width) {
    const NumberFormat f = Choose_Number_Format(value, width);
    if (f.kind == NumberFormat::Not_A_Number) {
        std::memcpy(at, kNotANumber.data(), kNotANumber.size());
        return static_cast<int>(kNotANumber.size());
    }
    at[0] = ' ';
    if (f.kind == NumberFormat::Fixed) {
        Put_F(at + 1, f.value, width - 1, f.decimals);
    } else {
        Put_ES(at + 1, f.value, width - 1, f.decimals);
    }
    return width;
}

} // namespace

void TextFile::Start_Afresh(bool in_memory, bool discarding) {
    Close();
    buffer_.clear();
    line_length_ = 0;
    line_open_ = false;
    written_ = 0;
    extent_ = 0;
    failed_ = false;
    failure_.clear();
    in_memory_ = in_memory;
    discarding_ = discarding;
    keep_text_ = false;
    closed_ = false;
}

namespace {

// Opens a file for writing without emptying it: the text overwrites it from the start and
// the close cuts it to the length written. Emptying a file at the open waits until the
// system has written the previous run's text of that file to disk (milliseconds on a
// journalled file system, far more than a small run costs), while overwriting does not.
// `length` is the regular file's length at the open.
std::FILE* Open_For_Overwrite(const std::string& path, bool& regular, std::size_t& length) {
    regular = false;
    length = 0;
#if ZARNO_POSIX_FILES
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    struct stat st {};
    regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (regular && st.st_size > 0) {
        length = static_cast<std::size_t>(st.st_size);
    }
    std::FILE* file = ::fdopen(fd, "w");
    if (file == nullptr) {
        ::close(fd);
    }
    return file;
#else
    return std::fopen(path.c_str(), "w");
#endif
}

} // namespace

bool TextFile::Open(const std::string& path, bool keep_text) {
    Start_Afresh(false);
    file_ = Open_For_Overwrite(path, cut_at_close_, extent_);
    if (file_ == nullptr) {
        return false;
    }
    // The text arrives in large blocks already; a stdio buffer would only copy it again.
    std::setvbuf(file_, nullptr, _IONBF, 0);
    path_ = path;
    keep_text_ = keep_text;
    Reserve_Block(kDefaultRoom);
    return true;
}

void TextFile::Open_In_Memory(std::size_t room) {
    Start_Afresh(true);
    keep_text_ = true;
    Reserve_Block(room);
}

void TextFile::Open_Discarding() {
    // No buffer and no line: nothing is ever composed.
    Start_Afresh(true, true);
}

void TextFile::Reserve_Block(std::size_t room) {
    if (room > 0) {
        buffer_.reserve(room + room / 8);
    }
    if (line_.size() < kLineRoom) {
        line_.resize(kLineRoom);
    }
}

void TextFile::Record_Failure(const char* what, int error) {
    if (failed_) {
        return;
    }
    failed_ = true;
    failure_ =
        fmt::format("{} failed: {}", what, error != 0 ? std::strerror(error) : "unknown error");
}

bool TextFile::Flush() {
    if (file_ == nullptr || failed_) {
        return !failed_;
    }
    const std::size_t start = keep_text_ ? written_ : 0;
    if (buffer_.size() > start) {
        const std::size_t count = buffer_.size() - start;
        errno = 0;
        if (std::fwrite(buffer_.data() + start, 1, count, file_) != count ||
            std::fflush(file_) != 0) {
            Record_Failure("writing", errno);
        }
        written_ += count;
        extent_ = std::max(extent_, written_);
        if (!keep_text_) {
            buffer_.clear();
        }
    }
    return !failed_;
}

bool TextFile::Close() {
    if (line_open_) {
        End_Line();
    }
    if (file_ != nullptr) {
        Flush();
#if ZARNO_POSIX_FILES
        // A longer text of an earlier run, or of this run before a rewind, may follow what
        // was written last; a file that ends where the text ends is left as it is (cutting
        // it to its own length still costs the file system an update of the file).
        errno = 0;
        if (cut_at_close_ && !failed_ && written_ < extent_ &&
            ::ftruncate(::fileno(file_), static_cast<off_t>(written_)) != 0) {
            Record_Failure("writing", errno);
        }
#endif
        errno = 0;
        if (std::fclose(file_) != 0) {
            Record_Failure("closing", errno);
        }
        file_ = nullptr;
        closed_ = true;
    }
    if (in_memory_) {
        in_memory_ = false;
        discarding_ = false;
        closed_ = true;
    }
    return !failed_;
}

std::string TextFile::Take_Text() {
    std::string text = std::move(buffer_);
    buffer_.clear();
    return text;
}

bool TextFile::Rewind() {
    line_length_ = 0;
    line_open_ = false;
    buffer_.clear();
    if (file_ == nullptr || written_ == 0) {
        // Nothing has reached the file yet: dropping the collected text is enough.
        written_ = 0;
        return true;
    }
    // Written again from the start; the close cuts what is left of the earlier text.
    written_ = 0;
    if (cut_at_close_) {
        return std::fseek(file_, 0, SEEK_SET) == 0;
    }
    std::fclose(file_);
    file_ = std::fopen(path_.c_str(), "w");
    if (file_ == nullptr) {
        return false;
    }
    std::setvbuf(file_, nullptr, _IONBF, 0);
    return true;
}

// Appends text and the end of its line to the collected text.
void TextFile::Append_Line(std::string_view text) {
    const std::size_t length = buffer_.size() + text.size() + 1;
    if (length > buffer_.capacity() && buffer_.capacity() < kBlockSize + kBlockSize / 8) {
        // A text that outgrows its first room takes a whole block at once: one copy, instead
        // of one at every doubling.
        buffer_.reserve(std::max(kBlockSize + kBlockSize / 8, length));
    }
    buffer_.append(text);
    buffer_.push_back('\n');
}

// Hands one line (text and its end) to the output; each line is copied once, from where
// it was composed into the collected text.
void TextFile::Emit_Line(std::string_view text) {
    if (in_memory_) {
        Append_Line(text);
        return;
    }
    if (file_ != nullptr) {
        if (failed_ && !keep_text_) {
            return; // the file is already incomplete; its failure is what is reported
        }
        Append_Line(text);
        if (!keep_text_ && buffer_.size() >= kBlockSize) {
            Flush();
        }
        return;
    }
    if (fallback_ != nullptr && !closed_) {
        std::fwrite(text.data(), 1, text.size(), fallback_);
        std::fputc('\n', fallback_);
    }
}

[[gnu::always_inline]] inline char* TextFile::Line_Room(std::size_t room) {
    if (line_length_ + room > line_.size()) {
        Grow_Line(room);
    }
    line_open_ = true;
    return line_.data() + line_length_;
}

// Out of line, so that the writers that call Line_Room per field keep no frame for it.
[[gnu::noinline]] void TextFile::Grow_Line(std::size_t room) {
    line_.resize(std::max({2 * line_.size(), line_length_ + room, kLineRoom}));
}

void TextFile::Write_Text(std::string_view text) {
    if (discarding_) {
        return;
    }
    std::memcpy(Line_Room(text.size()), text.data(), text.size());
    line_length_ += text.size();
}

void TextFile::Write_Number(double value, int width) {
    if (discarding_) {
        return;
    }
    if (width < 2 || width > kMaxPlacedNumber) {
        Write_Wide_Number(value, width);
        return;
    }
    // Composed in place (the line keeps room for the widest field); the field is counted
    // before it is written, so that writing it is the last thing done here.
    char* const at = Line_Room(kPlacedNumberRoom);
    const NumberFormat f = Choose_Number_Format(value, width);
    if (f.kind == NumberFormat::Not_A_Number) {
        std::memcpy(at, kNotANumber.data(), kNotANumber.size());
        line_length_ += kNotANumber.size();
        return;
    }
    line_length_ += static_cast<std::size_t>(width);
    at[0] = ' ';
    if (f.kind == NumberFormat::Fixed) {
        Put_F(at + 1, f.value, width - 1, f.decimals);
    } else {
        Put_ES(at + 1, f.value, width - 1, f.decimals);
    }
}

// A field too narrow or too wide to be composed in place, appended as text.
[[gnu::noinline]] void TextFile::Write_Wide_Number(double value, int width) {
    std::string field;
    Append_Number(field, value, width);
    Write_Text(field);
}

void TextFile::Write_Integer(long long value, int width) {
    if (discarding_) {
        return;
    }
    if (width < 1 || width > 16) {
        width = 10;
    }
    Put_I(Line_Room(kPlacedFieldRoom), value, width);
    line_length_ += static_cast<std::size_t>(width);
}

void TextFile::Write_Blanks(int count) {
    if (count > 0 && !discarding_) {
        const auto length = static_cast<std::size_t>(count);
        std::memset(Line_Room(length), ' ', length);
        line_length_ += length;
    }
}

void TextFile::Write_Field10(std::string_view text) {
    if (discarding_) {
        return;
    }
    const std::string_view field = text.substr(0, 10);
    char* p = Line_Room(10);
    std::memset(p, ' ', 10);
    std::memcpy(p, field.data(), field.size());
    line_length_ += 10;
}

void TextFile::End_Line() {
    if (discarding_) {
        return;
    }
    Emit_Line({line_.data(), line_length_});
    line_length_ = 0;
    line_open_ = false;
}

void TextFile::Write_Line(std::string_view text) {
    if (line_open_) {
        Write_Text(text);
        End_Line();
        return;
    }
    // A whole line goes straight to the output, without passing through the open line.
    if (!discarding_) {
        Emit_Line(text);
    }
}

void TextFile::Blank_Lines(int count) {
    if (discarding_) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        End_Line();
    }
}

int Put_Number(char* at, double value, int width) {
    return Place_Number(at, value, width);
}

void Append_Number(std::string& out, double value, int width) {
    if (width >= 2 && width <= kMaxPlacedNumber) {
        char field[kPlacedNumberRoom];
        const int length = Put_Number(field, value, width);
        out.append(field, static_cast<std::size_t>(length));
        return;
    }
    const NumberFormat f = Choose_Number_Format(value, width);
    if (f.kind == NumberFormat::Not_A_Number) {
        out.append(kNotANumber);
        return;
    }
    out.push_back(' ');
    if (f.kind == NumberFormat::Fixed) {
        Append_F(out, f.value, width - 1, f.decimals);
    } else {
        Append_ES(out, f.value, width - 1, f.decimals);
    }
}

std::string Format_Number(double value, int width) {
    std::string out;
    Append_Number(out, value, width);
    return out;
}

} // namespace zarno
