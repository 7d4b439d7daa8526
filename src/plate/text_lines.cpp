#include "plate/text_lines.h"

#include <cstring>
#include <fstream>
#include <vector>

#include "plate/import_errors.h"

namespace movra {

TextLines::TextLines(std::string text) : text_(std::move(text))
{
    const char* const begin = text_.data();
    const char* const end = begin + text_.size();
    const char* p = begin;
    const char* lf = nullptr;  // the next LF at or after p, or end; searched once per LF, not once per line
    while (p < end) {
        if (!lf || lf < p) {
            lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
            if (!lf) lf = end;
        }
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(lf - p)));
        const char* lineEnd = cr ? cr : lf;
        if (lineEnd == end) break;
        starts_.push_back(static_cast<std::size_t>(p - begin));
        p = lineEnd + 1;
        if (*lineEnd == '\r' && p < end && *p == '\n') ++p;
    }
    if (p < end) starts_.push_back(static_cast<std::size_t>(p - begin));
    if (!starts_.empty()) starts_.push_back(text_.size());  // where a line after the last would start
}

std::string_view TextLines::Line(std::size_t index) const noexcept
{
    if (index + 1 >= starts_.size()) return {};
    const std::size_t start = starts_[index];
    std::size_t stop = starts_[index + 1];
    // Drop the line end: LF, CR, or CR LF (a CR inside a line always ends it).
    if (stop > start && (text_[stop - 1] == '\n' || text_[stop - 1] == '\r')) {
        --stop;
        if (text_[stop] == '\n' && stop > start && text_[stop - 1] == '\r') --stop;
    }
    return std::string_view(text_).substr(start, stop - start);
}

namespace {

std::string SizeText(std::uintmax_t bytes)
{
    if (bytes % (std::uintmax_t{1} << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

[[noreturn]] void RefuseTooLarge(const std::filesystem::path& path, std::uintmax_t maxBytes)
{
    throw FileReadError("The file \"" + path.string() + "\" is larger than " + SizeText(maxBytes) +
                        ", the most that is read.");
}

} // namespace

std::string ReadFileBytes(const std::filesystem::path& path, std::uintmax_t maxBytes)
{
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (std::filesystem::is_directory(status))
        throw FileReadError("Cannot open file \"" + path.string() + "\": it is a directory.");
    // A regular file is measured first, so that an oversized one costs nothing.
    std::uintmax_t size = 0;
    if (std::filesystem::is_regular_file(status)) {
        size = std::filesystem::file_size(path, error);
        if (error) size = 0;
        if (size > maxBytes) RefuseTooLarge(path, maxBytes);
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) throw FileReadError("Cannot open file \"" + path.string() + "\".");
    std::string bytes;
    if (size > 0) {
        bytes.resize(static_cast<std::size_t>(size));
        file.read(bytes.data(), static_cast<std::streamsize>(size));
        bytes.resize(static_cast<std::size_t>(file.gcount()));
    }
    // Pipes and devices have no size, and a file may grow while it is read:
    // whatever follows comes in chunks, up to the limit.
    std::vector<char> chunk(std::size_t{1} << 16);
    while (file) {
        file.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        bytes.append(chunk.data(), static_cast<std::size_t>(file.gcount()));
        if (bytes.size() > maxBytes) RefuseTooLarge(path, maxBytes);
    }
    if (file.bad()) throw FileReadError("Cannot read file \"" + path.string() + "\".");
    return bytes;
}

} // namespace movra
