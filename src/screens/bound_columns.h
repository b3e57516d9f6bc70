#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zentrail {

class RowSet;
class TransferGrid;

// A result lacks a column a screen reads.
class MissingColumn : public std::runtime_error {
public:
    MissingColumn(std::string_view result, std::string_view column);
};

// The columns a screen reads from one result, bound to their positions once. A screen names
// them in an array in the order of an enum of its own, so that a misspelt column is a build
// error, and a column the result lacks an error as soon as the result arrives, naming it.
class BoundColumns {
public:
    BoundColumns() = default;
    // Throws MissingColumn for the first name (compared without regard to case) not among
    // `fieldNames`; `result` names the result in the message.
    BoundColumns(std::span<const char* const> names, const std::vector<std::string>& fieldNames,
                 std::string_view result);

    size_t Position(size_t column) const { return positions_[column]; }
    const char* Name(size_t column) const { return names_[column]; }
    bool Empty() const { return names_.empty(); }

private:
    std::span<const char* const> names_;
    std::vector<size_t> positions_;
};

// One row of the listing, read through its bound columns. Texts are the grid's trimmed cells.
class ListedRow {
public:
    ListedRow(const TransferGrid& grid, size_t row, const BoundColumns& columns)
        : grid_(&grid), row_(row), columns_(&columns) {}

    size_t Index() const { return row_; }
    template <class Column>
    std::string Text(Column column) const {
        return TextAt(static_cast<size_t>(column));
    }
    // A number cell: blank is 0; anything but a number throws NotANumber.
    template <class Column>
    double Number(Column column) const {
        return NumberAt(static_cast<size_t>(column));
    }
    // A cell that decides a rule (a net amount): blank throws NotANumber too.
    template <class Column>
    double RuleNumber(Column column) const {
        return RuleNumberAt(static_cast<size_t>(column));
    }

private:
    std::string TextAt(size_t column) const;
    double NumberAt(size_t column) const;
    double RuleNumberAt(size_t column) const;

    const TransferGrid* grid_;
    size_t row_;
    const BoundColumns* columns_;
};

// One row of a line query, read through its bound columns. Texts are as the source gave them.
class LineRow {
public:
    LineRow(const RowSet& rows, size_t row, const BoundColumns& columns)
        : rows_(&rows), row_(row), columns_(&columns) {}

    template <class Column>
    std::string Text(Column column) const {
        return TextAt(static_cast<size_t>(column));
    }
    // NULL and blank are 0; anything but a number throws NotANumber.
    template <class Column>
    double Number(Column column) const {
        return NumberAt(static_cast<size_t>(column));
    }

private:
    std::string TextAt(size_t column) const;
    double NumberAt(size_t column) const;

    const RowSet* rows_;
    size_t row_;
    const BoundColumns* columns_;
};

}  // namespace zentrail
