#include "app/column_widths.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace movra {

namespace {

constexpr int kMeasuredCells = 20000;  // a few tens of milliseconds of text measuring
constexpr int kFewestRows = 10;
constexpr int kPadding = 12;           // cell margins and a little air
constexpr int kNarrowest = 40;

} // namespace

void SizeColumnsToContents(QTableView& view)
{
    const QAbstractItemModel* model = view.model();
    QHeaderView& header = *view.horizontalHeader();
    header.setSectionResizeMode(QHeaderView::Interactive);
    if (model == nullptr)
        return;
    const int columns = model->columnCount();
    const int rows = model->rowCount();
    const int sampled = std::max(kFewestRows, kMeasuredCells / std::max(columns, 1));
    const int head = std::min(rows, sampled / 2 + sampled % 2);
    const int tail = std::max(head, rows - sampled / 2);
    const QFontMetrics cells = view.fontMetrics();
    const QFontMetrics captions = header.fontMetrics();
    for (int column = 0; column < columns; ++column) {
        int widest = header.isHidden() ? 0 : captions.horizontalAdvance(
                                                 model->headerData(column, Qt::Horizontal).toString());
        const auto measure = [&](int row) {
            widest = std::max(widest, cells.horizontalAdvance(model->index(row, column).data().toString()));
        };
        for (int row = 0; row < head; ++row) measure(row);
        for (int row = tail; row < rows; ++row) measure(row);
        header.resizeSection(column, std::max(kNarrowest, widest + kPadding));
    }
}

} // namespace movra
