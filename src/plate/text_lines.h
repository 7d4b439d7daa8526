#pragma once
// A text file held as a list of lines, as the program's text boxes load it:
// CR LF, LF and a CR alone each end a line, the text after the last line end
// counts as a line only when it is not empty, and asking for a line beyond
// the last one yields an empty line. The text is stored once; lines are views.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace movra {

class TextLines {
public:
    TextLines() = default;
    explicit TextLines(std::string text);

    std::size_t Count() const noexcept { return starts_.empty() ? 0 : starts_.size() - 1; }
    std::string_view Line(std::size_t index) const noexcept;
    // The whole text as loaded (line ends unchanged).
    const std::string& Text() const noexcept { return text_; }

private:
    std::string text_;
    // Where each line starts, then where a line after the last would start:
    // one offset a line, its line end found in the text.
    std::vector<std::size_t> starts_;
};

// Files larger than this are refused before any byte is read: the biggest
// plate-format export (384 wells, several wavelengths, thousands of reads)
// stays far below it, and the import needs a few times the file's size.
inline constexpr std::uintmax_t kMaxTextFileBytes = std::uintmax_t{512} << 20;

// The bytes of a file; throws FileReadError when it cannot be read, is a
// directory, or holds more than maxBytes:
//   Cannot open file "NAME": it is a directory.
//   The file "NAME" is larger than 512 MiB, the most that is read.
std::string ReadFileBytes(const std::filesystem::path& path, std::uintmax_t maxBytes = kMaxTextFileBytes);

} // namespace movra
