#include "screens/transfer_grid.h"

#include <stdexcept>

#include "common/ascii.h"

namespace zentrail {

namespace {
using ascii::Lower;
}  // namespace

void TransferGrid::Clear() {
    rows_.clear();
    currentRow = 0;
}

void TransferGrid::RemoveColumns() {
    Clear();
    fieldNames_.clear();
    captions_.clear();
    columnByLowerName_.clear();
}

void TransferGrid::AddColumn(const std::string& fieldName) {
    columnByLowerName_.emplace(Lower(fieldName), fieldNames_.size());  // the first one wins
    fieldNames_.push_back(fieldName);
    captions_.push_back(CaptionOf(fieldName));
}

void TransferGrid::AddRow(std::vector<std::string> cells) {
    cells.resize(fieldNames_.size());
    rows_.push_back(std::move(cells));
}

const std::string& TransferGrid::Cell(size_t row, std::string_view fieldName) const {
    auto found = columnByLowerName_.find(Lower(fieldName));
    if (found == columnByLowerName_.end())
        throw std::out_of_range("The grid has no column " + std::string(fieldName));
    return rows_.at(row)[found->second];
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
