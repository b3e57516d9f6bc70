#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentrail {

// The rows a query returned, as text: every value is its text form (dates as YYYYMMDD),
// std::nullopt for NULL.
struct RowSet {
    std::vector<std::string> fieldNames;
    std::vector<std::vector<std::optional<std::string>>> rows;
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
class Recordset {
public:
    static constexpr int kStateClosed = 0;
    static constexpr int kStateOpen = 1;

    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    void Open(RowSet rows);  // replaces whatever was held, positions on the first row
    void Close();
    int State() const;

    long RecordCount() const;       // rows passing the filter
    long AbsolutePosition() const;  // 1-based; 0 when at BOF or EOF
    bool Eof() const;
    bool Bof() const;
    void MoveFirst();
    void MoveNext();

    size_t FieldCount() const;
    std::string FieldName(size_t index) const;
    FieldValue Fields(size_t index) const;
    FieldValue Fields(std::string_view name) const;  // case-insensitive; throws DbError if unknown

    // "[Field] = number", "[Field] = 'text'" (quotes doubled inside), or "" to clear.
    // Positions on the first matching row. Throws DbError for an expression it cannot read.
    void Filter(std::string_view expression);
    const std::string& FilterText() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zentrail
