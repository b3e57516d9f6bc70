#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zentrail {

// The grid ssdbgItem: run-time columns named after the query's fields, rows of trimmed text.
// The cells are packed into large blocks of text: a listing of 100,000 invoices holds millions
// of them, and a block, once started, is never moved.
class TransferGrid {
public:
    static constexpr const char* kDesignCaption = "Data Imported From File :-----";

    void Clear();          // no rows, no columns
    void RemoveColumns();  // also removes the rows
    void AddColumn(const std::string& fieldName);
    // Appends one row; cells past the last column are dropped, missing ones are blank.
    void AddRow(std::span<const std::string_view> cells);
    void AddRow(const std::vector<std::string>& cells);

    size_t ColumnCount() const { return fieldNames_.size(); }
    size_t RowCount() const { return rowCount_; }
    const std::string& FieldName(size_t column) const { return fieldNames_[column]; }
    const std::string& ColumnCaption(size_t column) const { return captions_[column]; }
    // The cell at (row, column); valid until the grid changes.
    std::string_view Text(size_t row, size_t column) const;
    // The cell of a column found by field name, without regard to case; throws
    // std::out_of_range naming the field when the grid has no such column.
    std::string Cell(size_t row, std::string_view fieldName) const;

    std::string caption = kDesignCaption;
    size_t currentRow = 0;

    // Column caption of a field: "_" shown as a blank, "#" removed.
    static std::string CaptionOf(std::string_view fieldName);

private:
    std::vector<std::string> fieldNames_;
    std::vector<std::string> captions_;
    std::unordered_map<std::string, size_t> columnByLowerName_;
    size_t rowCount_ = 0;
    std::vector<std::string> blocks_;  // each reserved in full when started
    std::vector<uint32_t> rowBlock_;   // the block holding each row
    std::vector<uint32_t> rowStart_;   // where each row starts in its block
    std::vector<uint32_t> ends_;       // end offset in its row's block of each cell, row-major
};

}  // namespace zentrail
