#include "batch/report_text.h"

#include <algorithm>

#include "reports/report_file.h"
#include "shared/tab_text.h"

namespace movra {
namespace {

// The clipboard text ends rows with a lone CR, which no cell contains.
std::string WithLineFeeds(std::string text)
{
    std::replace(text.begin(), text.end(), '\r', '\n');
    return text;
}

} // namespace

std::string ReportTsv(const StringTable& grid)
{
    return ReportFileText(grid, ReportFileFormat::Tsv);
}

std::string ReviewTsv(const ReviewTable& review, const PlateMeasurements& plate)
{
    return WithLineFeeds(TabSeparatedText(1, review.ColumnCount() - 1, 0, review.RowCount() - 1,
                                          [&](int column, int row, std::string& out) {
                                              out += review.Cell(plate, column, row);
                                          }));
}

} // namespace movra
