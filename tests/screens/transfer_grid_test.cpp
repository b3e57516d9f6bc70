#include "screens/transfer_grid.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace zentrail {
namespace {

// Rows of every size, from empty cells to one larger than a whole block of text, read back
// unchanged wherever they were packed.
TEST(TransferGrid, KeepsEveryCellAcrossBlocksOfText) {
    TransferGrid grid;
    grid.AddColumn("SalId");
    grid.AddColumn("SalInvNo");
    grid.AddColumn("RtrName");
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < 3000; ++i) {
        std::string filler(static_cast<size_t>(i % 7 == 0 ? 1000 : i % 50), 'x');
        rows.push_back({std::to_string(i), "INV" + std::to_string(i), filler});
    }
    rows[1500][2] = std::string(3u << 20, 'y');  // larger than a block
    rows[1501][1] = "";
    for (const auto& row : rows) grid.AddRow(row);
    ASSERT_EQ(grid.RowCount(), rows.size());
    for (size_t row = 0; row < rows.size(); ++row)
        for (size_t column = 0; column < 3; ++column)
            ASSERT_EQ(grid.Text(row, column), rows[row][column]) << row << ", " << column;
    EXPECT_EQ(grid.Cell(2999, "salinvno"), "INV2999");
    EXPECT_THROW(grid.Cell(0, "SalNetAmt"), std::out_of_range);
    EXPECT_THROW(grid.Text(3000, 0), std::out_of_range);
}

TEST(TransferGrid, ARowHoldsOneCellPerColumn) {
    TransferGrid grid;
    grid.AddColumn("A");
    grid.AddColumn("B");
    grid.AddRow(std::vector<std::string>{"1"});
    grid.AddRow(std::vector<std::string>{"2", "3", "dropped"});
    EXPECT_EQ(grid.Text(0, 0), "1");
    EXPECT_EQ(grid.Text(0, 1), "");
    EXPECT_EQ(grid.Text(1, 1), "3");
    EXPECT_THROW(grid.Text(1, 2), std::out_of_range);
    EXPECT_THROW(grid.AddColumn("C"), std::logic_error) << "rows would be short of a cell";
    grid.Clear();
    EXPECT_EQ(grid.RowCount(), 0u);
    grid.AddRow(std::vector<std::string>{"4", "5"});
    EXPECT_EQ(grid.Text(0, 1), "5");
}

}  // namespace
}  // namespace zentrail
