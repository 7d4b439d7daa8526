#pragma once
// The report tables of several files stacked into one, each row led by the
// name of the file it came from under the caption "File". Tables whose
// captions agree (the same settings give the same columns) are stacked as
// they are: a row is its file's name, a TAB and the row unchanged. Where a
// file's captions differ (other samples, wells or wavelengths) its columns go
// under the captions of the same name, new captions are added on the right,
// and its rows end with their own last cell, never padded.

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace movra {

inline constexpr std::string_view kFileColumnCaption = "File";

class FileColumnTable {
public:
    // tsv: a report as ReportTsv writes it, captions in its first row, every
    // row ended by a line feed. An empty text adds nothing.
    void Add(std::string_view file, std::string_view tsv);
    // Captions and rows as TSV; empty when nothing was added.
    std::string Text() const;

private:
    // A caption and how many equal captions stand before it in its table,
    // so repeated captions keep their order.
    using Column = std::pair<std::string, int>;
    std::vector<Column> columns_;
    std::map<Column, std::size_t> columnIndex_;
    std::string rows_;
    bool added_ = false;
};

} // namespace movra
