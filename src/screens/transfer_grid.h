#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace zentrail {

// The grid ssdbgItem: run-time columns named after the query's fields, rows of trimmed text.
class TransferGrid {
public:
    static constexpr const char* kDesignCaption = "Data Imported From File :-----";

    void Clear();          // no rows, no columns
    void RemoveColumns();  // also removes the rows
    void AddColumn(const std::string& fieldName);
    void AddRow(std::vector<std::string> cells);

    size_t ColumnCount() const { return fieldNames_.size(); }
    size_t RowCount() const { return rows_.size(); }
    const std::string& FieldName(size_t column) const { return fieldNames_[column]; }
    const std::string& ColumnCaption(size_t column) const { return captions_[column]; }
    const std::vector<std::string>& Row(size_t row) const { return rows_[row]; }
    // The cell of a column found by field name, without regard to case; throws
    // std::out_of_range naming the field when the grid has no such column.
    const std::string& Cell(size_t row, std::string_view fieldName) const;

    std::string caption = kDesignCaption;
    size_t currentRow = 0;

    // Column caption of a field: "_" shown as a blank, "#" removed.
    static std::string CaptionOf(std::string_view fieldName);

private:
    std::vector<std::string> fieldNames_;
    std::vector<std::string> captions_;
    std::unordered_map<std::string, size_t> columnByLowerName_;
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace zentrail
