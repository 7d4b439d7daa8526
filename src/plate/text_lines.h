#pragma once
// A text file held as a list of lines, as the program's text boxes load it:
// CR LF, LF and a CR alone each end a line, the text after the last line end
// counts as a line only when it is not empty, and asking for a line beyond
// the last one yields an empty line. The text is stored once; lines are views.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace movra {

class TextLines {
public:
    TextLines() = default;
    explicit TextLines(std::string text);

    std::size_t Count() const noexcept { return lines_.size(); }
    std::string_view Line(std::size_t index) const noexcept
    {
        if (index >= lines_.size()) return {};
        return std::string_view(text_).substr(lines_[index].offset, lines_[index].length);
    }
    // The whole text as loaded (line ends unchanged).
    const std::string& Text() const noexcept { return text_; }

private:
    struct Span {
        std::size_t offset;
        std::size_t length;
    };
    std::string text_;
    std::vector<Span> lines_;
};

// The bytes of a file; throws FileReadError when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

} // namespace movra
