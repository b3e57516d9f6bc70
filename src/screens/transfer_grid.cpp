#include "screens/transfer_grid.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "common/ascii.h"

namespace zentrail {

namespace {
using ascii::Lower;
// Large enough that a listing needs few, small enough that a short one wastes little.
constexpr size_t kBlockBytes = size_t{1} << 20;
}  // namespace

void TransferGrid::Clear() {
    rowCount_ = 0;
    blocks_.clear();
    blocks_.shrink_to_fit();
    rowBlock_.clear();
    rowBlock_.shrink_to_fit();
    rowStart_.clear();
    rowStart_.shrink_to_fit();
    ends_.clear();
    ends_.shrink_to_fit();
    currentRow = 0;
}

void TransferGrid::RemoveColumns() {
    Clear();
    fieldNames_.clear();
    captions_.clear();
    columnByLowerName_.clear();
}

void TransferGrid::AddColumn(const std::string& fieldName) {
    // Rows hold one cell per column: a column added later leaves the earlier rows short.
    if (rowCount_ > 0) throw std::logic_error("columns are added before the rows");
    columnByLowerName_.emplace(Lower(fieldName), fieldNames_.size());  // the first one wins
    fieldNames_.push_back(fieldName);
    captions_.push_back(CaptionOf(fieldName));
}

void TransferGrid::AddRow(std::span<const std::string_view> cells) {
    size_t bytes = 0;
    for (size_t column = 0; column < ColumnCount() && column < cells.size(); ++column)
        bytes += cells[column].size();
    if (bytes > std::numeric_limits<uint32_t>::max())
        throw std::length_error("a row is larger than the grid can hold");
    if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < bytes) {
        blocks_.emplace_back().reserve(std::max(kBlockBytes, bytes));
    }
    std::string& block = blocks_.back();
    rowBlock_.push_back(static_cast<uint32_t>(blocks_.size() - 1));
    rowStart_.push_back(static_cast<uint32_t>(block.size()));
    for (size_t column = 0; column < ColumnCount(); ++column) {
        if (column < cells.size()) block += cells[column];
        ends_.push_back(static_cast<uint32_t>(block.size()));
    }
    ++rowCount_;
}

void TransferGrid::AddRow(const std::vector<std::string>& cells) {
    std::vector<std::string_view> views(cells.begin(), cells.end());
    AddRow(std::span<const std::string_view>(views));
}

std::string_view TransferGrid::Text(size_t row, size_t column) const {
    if (row >= rowCount_ || column >= ColumnCount())
        throw std::out_of_range("The grid has no cell " + std::to_string(row) + ", " +
                                std::to_string(column));
    const size_t at = row * ColumnCount() + column;
    const size_t begin = column == 0 ? rowStart_[row] : ends_[at - 1];
    return std::string_view(blocks_[rowBlock_[row]]).substr(begin, ends_[at] - begin);
}

std::string TransferGrid::Cell(size_t row, std::string_view fieldName) const {
    auto found = columnByLowerName_.find(Lower(fieldName));
    if (found == columnByLowerName_.end())
        throw std::out_of_range("The grid has no column " + std::string(fieldName));
    return std::string(Text(row, found->second));
}

std::string TransferGrid::CaptionOf(std::string_view fieldName) {
    std::string caption;
    for (char c : fieldName) {
        if (c == '#') continue;
        caption += c == '_' ? ' ' : c;
    }
    return caption;
}

}  // namespace zentrail
