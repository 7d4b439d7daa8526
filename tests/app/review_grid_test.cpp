// The review grid's copy commands: the selection and the whole grid as
// TAB-separated rows ended by CR alone.

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/data_review_page.h"
#include "app/grid_model.h"
#include "app_test_environment.h"

namespace movra {
namespace {

// A grid of "c,r" in every cell.
class NumberedCells final : public GridCells {
public:
    NumberedCells(int columns, int rows) : columns_(columns), rows_(rows) {}
    int columnCount() const override { return columns_; }
    int rowCount() const override { return rows_; }
    std::string text(int column, int row) const override { return std::to_string(column) + "," + std::to_string(row); }

private:
    int columns_, rows_;
};

TEST(ReviewGridTest, CopyGivesTheSelectionOrTheCurrentCellAndCopyAllAllButColumnZero)
{
    DataReviewPage page;
    page.setReviewCells(std::make_unique<NumberedCells>(4, 3));
    const GridModel& model = page.reviewModel();
    // The fixed row and column are the headers.
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString() + " " + model.data(model.index(1, 2)).toString(),
              "1,0 3,2");
    page.CopySRaw();
    EXPECT_EQ(test::ClipboardText(), "1,1\r");
    page.selectCells({2, 1, 3, 2});
    page.PopupMenu2().actions()[0]->trigger();
    EXPECT_EQ(test::ClipboardText(), "2,1\t3,1\r2,2\t3,2\r");
    page.PopupMenu2().actions()[1]->trigger();
    EXPECT_EQ(test::ClipboardText(), "1,0\t2,0\t3,0\r1,1\t2,1\t3,1\r1,2\t2,2\t3,2\r");

    page.ClearCells();  // only the fixed row and column stay
    EXPECT_EQ(model.gridText(2, 0) + model.gridText(0, 2) + "|" + model.gridText(2, 1), "2,00,2|");
    EXPECT_EQ(model.gridColumnCount(), 4);

    DataReviewPage start;  // before any import: 194 x 200 empty cells
    start.CopytoExcel1Click();
    std::string expected;
    for (int r = 0; r < 200; ++r) expected += std::string(192, '\t') + '\r';
    EXPECT_EQ(test::ClipboardText(), expected);
}

} // namespace
} // namespace movra
