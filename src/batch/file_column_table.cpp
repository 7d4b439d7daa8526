#include "batch/file_column_table.h"

#include <algorithm>

namespace movra {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return parts;
        start = end + 1;
    }
}

} // namespace

void FileColumnTable::Add(std::string_view file, std::string_view tsv)
{
    if (tsv.empty()) return;
    if (tsv.back() == '\n') tsv.remove_suffix(1);
    const std::vector<std::string_view> lines = Split(tsv, '\n');
    std::vector<std::vector<std::string_view>> rows;
    rows.reserve(lines.size());
    std::size_t width = 0;
    for (const std::string_view line : lines) {
        rows.push_back(Split(line, '\t'));
        width = std::max(width, rows.back().size());
    }

    // Where each of this table's columns goes; a row wider than the captions
    // has unnamed columns on its right.
    std::vector<std::size_t> place(width);
    std::map<std::string, int> seen;
    bool asItIs = true;
    for (std::size_t k = 0; k < width; ++k) {
        std::string caption(k < rows[0].size() ? rows[0][k] : std::string_view());
        const int before = seen[caption]++;
        Column column{std::move(caption), before};
        auto [found, added] = columnIndex_.try_emplace(column, columns_.size());
        if (added) columns_.push_back(std::move(column));
        place[k] = found->second;
        asItIs = asItIs && place[k] == k;
    }
    added_ = true;

    for (std::size_t r = 1; r < rows.size(); ++r) {
        rows_ += file;
        rows_ += '\t';
        if (asItIs) {
            rows_ += lines[r];
        } else {
            std::vector<std::string_view> cells;
            for (std::size_t k = 0; k < rows[r].size(); ++k) {
                if (cells.size() <= place[k]) cells.resize(place[k] + 1);
                cells[place[k]] = rows[r][k];
            }
            for (std::size_t k = 0; k < cells.size(); ++k) {
                if (k > 0) rows_ += '\t';
                rows_ += cells[k];
            }
        }
        rows_ += '\n';
    }
}

std::string FileColumnTable::Text() const
{
    if (!added_) return {};
    std::string text(kFileColumnCaption);
    for (const Column& column : columns_) {
        text += '\t';
        text += column.first;
    }
    text += '\n';
    return text + rows_;
}

} // namespace movra
