#include "reports/report_file.h"

#include <algorithm>
#include <cctype>

namespace movra {
namespace {

void AppendCsvField(const std::string& text, std::string& out)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

ReportFileFormat ReportFormatOfFileName(std::string_view fileName)
{
    constexpr std::string_view kCsv = ".csv";
    if (fileName.size() < kCsv.size()) return ReportFileFormat::Tsv;
    const std::string_view suffix = fileName.substr(fileName.size() - kCsv.size());
    const bool csv = std::equal(suffix.begin(), suffix.end(), kCsv.begin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
    return csv ? ReportFileFormat::Csv : ReportFileFormat::Tsv;
}

std::string ReportFileText(const StringTable& grid, ReportFileFormat format)
{
    std::string text;
    for (int row = 0; row < grid.RowCount(); ++row) {
        for (int column = 0; column < grid.ColCount(); ++column) {
            if (column > 0) text += format == ReportFileFormat::Csv ? ',' : '\t';
            if (format == ReportFileFormat::Csv)
                AppendCsvField(grid.Cell(column, row), text);
            else
                text += grid.Cell(column, row);
        }
        text += '\n';
    }
    return text;
}

} // namespace movra
