#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/db_error.h"

namespace zentrail {

// The rows a query returned, as text: every value is its text form (dates as YYYYMMDD) or NULL.
// Values are packed into one buffer: a line query of a million rows must fit in memory.
class RowSet {
public:
    RowSet() = default;
    explicit RowSet(std::vector<std::string> fieldNames);
    // Convenience for small fixed sets; std::nullopt is NULL.
    RowSet(std::vector<std::string> fieldNames,
           const std::vector<std::vector<std::optional<std::string>>>& rows);

    const std::vector<std::string>& FieldNames() const { return fieldNames_; }
    size_t FieldCount() const { return fieldNames_.size(); }
    size_t RowCount() const;

    // Values are appended row by row, field by field; a row is complete after FieldCount() values.
    void Append(std::string_view text);
    void AppendNull();

    bool IsNull(size_t row, size_t field) const;
    std::string_view Text(size_t row, size_t field) const;  // empty for NULL

private:
    void AppendCell(std::string_view text, bool isNull);

    std::vector<std::string> fieldNames_;
    std::string text_;
    std::vector<uint32_t> ends_;  // end offset in text_ of each value, row-major
    std::vector<bool> nulls_;
};

// One field of the current row.
struct FieldValue {
    std::string_view name;
    std::string_view text;  // empty for NULL
    bool isNull = true;
    std::string Value() const { return std::string(text); }
};

// A client-side, read-only set of rows with a cursor, as the screens walk it.
// State: 0 closed, 1 open. Positions are 1-based among the rows that pass the filter.
// Using a closed set, reading a field without a current row or moving past the end throws
// DbError with the number callers test for each case. Open and Close make a moved-from set
// usable again; anything else on it throws std::logic_error.
class Recordset {
public:
    static constexpr int kStateClosed = 0;
    static constexpr int kStateOpen = 1;

    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    void Open(RowSet rows);  // replaces whatever was held, positions on the first row
    void Close();            // drops the rows and the filter; closing a closed set does nothing
    int State() const;

    long RecordCount() const;       // rows passing the filter
    long AbsolutePosition() const;  // 1-based; 0 when at BOF or EOF
    bool Eof() const;
    bool Bof() const;
    void MoveFirst();  // on an empty set stays at BOF and EOF
    void MoveNext();

    size_t FieldCount() const;
    std::string FieldName(size_t index) const;
    FieldValue Fields(size_t index) const;
    FieldValue Fields(std::string_view name) const;  // case-insensitive; throws DbError if unknown

    // "[Field] = number", "[Field] = 'text'" (quotes doubled inside), or "" to clear.
    // A number matches the field's values that read as that number ("12", "12.0", "12.00");
    // text matches as the source database compares it: ignoring case and trailing blanks.
    // Positions on the first matching row. Throws DbError for an expression it cannot read or
    // a field the set does not hold. The first filter on a field indexes it, so a filter costs
    // time in proportion to the rows it selects.
    void Filter(std::string_view expression);
    const std::string& FilterText() const;

private:
    struct Impl;
    // The rows and cursor; throws std::logic_error after the set was moved from.
    Impl& Live() const;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zentrail
