#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "screens/bound_columns.h"
#include "shell/recordset.h"
#include "shell/row_index.h"

namespace zentrail {

// The rows a line query gave, grouped once by the column that names their document.
class LineTable {
public:
    // Binds `columns` (throws MissingColumn naming `query`) and groups the rows by the column at
    // `keyColumn` of `columns`.
    LineTable(RowSet rows, std::span<const char* const> columns, size_t keyColumn,
              std::string_view query);
    LineTable(const LineTable&) = delete;
    LineTable& operator=(const LineTable&) = delete;

    class Lines;
    // The lines whose key reads as the number `id`; NotANumber when `id` is none.
    Lines WithNumber(std::string_view id);
    // The lines whose key equals `text` as the source compares texts; NotANumber when `text`
    // is blank.
    Lines WithText(std::string_view text);
    // WithNumber for an id of plain decimal digits, WithText for any other.
    Lines WithId(std::string_view id);

    size_t RowCount() const { return rows_.RowCount(); }

private:
    RowSet rows_;
    BoundColumns columns_;
    size_t key_;
    RowIndex index_;
};

// The lines of one document, in the query's order.
class LineTable::Lines {
public:
    Lines(const RowSet& rows, const BoundColumns& columns, std::span<const uint32_t> selected)
        : rows_(&rows), columns_(&columns), selected_(selected) {}

    class Iterator {
    public:
        Iterator(const Lines* lines, size_t at) : lines_(lines), at_(at) {}
        LineRow operator*() const {
            return LineRow(*lines_->rows_, lines_->selected_[at_], *lines_->columns_);
        }
        Iterator& operator++() {
            ++at_;
            return *this;
        }
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }

    private:
        const Lines* lines_;
        size_t at_;
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, selected_.size()}; }
    bool empty() const { return selected_.empty(); }
    size_t size() const { return selected_.size(); }

private:
    const RowSet* rows_;
    const BoundColumns* columns_;
    std::span<const uint32_t> selected_;
};

}  // namespace zentrail
