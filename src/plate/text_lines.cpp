#include "plate/text_lines.h"

#include <cstring>
#include <fstream>

#include "plate/import_errors.h"

namespace movra {

TextLines::TextLines(std::string text) : text_(std::move(text))
{
    const char* const begin = text_.data();
    const char* const end = begin + text_.size();
    const char* lineStart = begin;
    const char* p = begin;
    while (p < end) {
        // Find the next CR or LF quickly; most bytes are neither.
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* stop = lf ? lf : end;
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
        const char* lineEnd = cr ? cr : lf;
        if (!lineEnd) break;
        lines_.push_back({static_cast<std::size_t>(lineStart - begin), static_cast<std::size_t>(lineEnd - lineStart)});
        p = lineEnd + 1;
        if (*lineEnd == '\r' && p < end && *p == '\n') ++p;
        lineStart = p;
    }
    if (lineStart < end)
        lines_.push_back({static_cast<std::size_t>(lineStart - begin), static_cast<std::size_t>(end - lineStart)});
}

std::string ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) throw FileReadError("Cannot open file \"" + path.string() + "\".");
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    std::string bytes;
    if (size > 0) {
        bytes.resize(static_cast<std::size_t>(size));
        file.read(bytes.data(), size);
    }
    if (!file) throw FileReadError("Cannot read file \"" + path.string() + "\".");
    return bytes;
}

} // namespace movra
