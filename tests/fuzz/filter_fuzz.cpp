// The result-set filter on any expression and any rows: it parses or throws DbError, and a
// filter that parses selects exactly the rows a plain row-by-row evaluation selects, in order.
//
// Input: the filter expression, then, after a NUL byte, cell texts separated by NUL bytes that
// fill rows of three fields after a few fixed rows; a cell of the single byte 0x01 is NULL.

#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "shell/recordset.h"
#include "shell/recordset_filter.h"

namespace {

using Cell = std::optional<std::string>;
using Row = std::vector<Cell>;

// "salid" repeats "SalId" in another case: a filter names the first of them.
const std::vector<std::string> kFields = {"Row", "SalId", "RtrName", "salid"};

std::vector<Row> FixedRows() {
    return {{"1", "Arun & Sons", "1"},
            {"2.0", "arun & sons  ", "2"},
            {" 3 ", std::nullopt, "-0"},
            {"x", "Zo\xC3\xAB's", "+4e0"},
            {std::nullopt, "", " \t12.50\r\n"}};
}

std::vector<Row> RowsFrom(std::string_view cells) {
    std::vector<Row> rows = FixedRows();
    Row row;
    while (!cells.empty()) {
        size_t end = cells.find('\0');
        std::string_view cell = cells.substr(0, end);
        row.push_back(cell == "\x01" ? Cell() : Cell(std::string(cell)));
        if (row.size() == kFields.size() - 1) rows.push_back(std::move(row)), row.clear();
        if (end == std::string_view::npos) break;
        cells.remove_prefix(end + 1);
    }
    return rows;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

// Text compares as the source database does: ASCII case and trailing spaces do not count.
bool SameText(std::string_view a, std::string_view b) {
    while (!a.empty() && a.back() == ' ') a.remove_suffix(1);
    while (!b.empty() && b.back() == ' ') b.remove_suffix(1);
    return SameIgnoringAsciiCase(a, b);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A plain decimal number between blanks: [+][-]digits[.digits][e[+|-]digits], with a digit on
// at least one side of the point. Not a number when it is too large or too small to hold.
std::optional<double> PlainNumber(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    size_t i = 0;
    auto digits = [&] {
        size_t start = i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        return i - start;
    };
    if (i < text.size() && text[i] == '+') ++i;
    if (i < text.size() && text[i] == '-') ++i;
    size_t mantissa = digits();
    if (i < text.size() && text[i] == '.') ++i, mantissa += digits();
    if (mantissa == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    std::string plain(text.substr(text.front() == '+' ? 1 : 0));
    errno = 0;
    double value = std::strtod(plain.c_str(), nullptr);
    if (std::isinf(value) || (value == 0 && errno == ERANGE)) return std::nullopt;
    return value;
}

bool Selects(const zentrail::FilterExpression& filter, const Cell& cell) {
    if (!cell) return false;
    if (!filter.isNumber) return SameText(*cell, filter.text);
    std::optional<double> value = PlainNumber(*cell);
    return value && *value == filter.number;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string_view expression = input.substr(0, split);
    const std::vector<Row> rows =
        RowsFrom(split == std::string_view::npos ? std::string_view() : input.substr(split + 1));

    zentrail::FilterExpression parsed;
    try {
        parsed = zentrail::ParseFilter(expression);
    } catch (const zentrail::DbError&) {
        return 0;
    }

    // What a row-by-row evaluation selects; nullopt when the filter names no field of the set.
    std::optional<std::vector<size_t>> expected;
    if (parsed.field.empty()) {
        expected.emplace();
        for (size_t row = 0; row < rows.size(); ++row) expected->push_back(row);
    } else {
        for (size_t field = 0; field < kFields.size() && !expected; ++field) {
            if (!SameIgnoringAsciiCase(kFields[field], parsed.field)) continue;
            expected.emplace();
            for (size_t row = 0; row < rows.size(); ++row) {
                // The row number is the first field, the cells follow it.
                const Cell value = field == 0 ? Cell(std::to_string(row)) : rows[row][field - 1];
                if (Selects(parsed, value)) expected->push_back(row);
            }
        }
    }

    zentrail::RowSet rowSet(kFields);
    for (size_t row = 0; row < rows.size(); ++row) {
        rowSet.Append(std::to_string(row));
        for (const Cell& cell : rows[row]) cell ? rowSet.Append(*cell) : rowSet.AppendNull();
    }
    zentrail::Recordset set;
    set.Open(std::move(rowSet));
    try {
        set.Filter(expression);
    } catch (const zentrail::DbError&) {
        FUZZ_CHECK(!expected);  // only a field the set does not hold is refused
        return 0;
    }
    FUZZ_CHECK(expected.has_value());
    FUZZ_CHECK(set.RecordCount() == static_cast<long>(expected->size()));
    FUZZ_CHECK(set.Bof() == expected->empty());
    for (size_t i = 0; i < expected->size(); ++i) {
        FUZZ_CHECK(!set.Eof());
        FUZZ_CHECK(set.AbsolutePosition() == static_cast<long>(i + 1));
        FUZZ_CHECK(set.Fields(size_t{0}).text == std::to_string((*expected)[i]));
        set.MoveNext();
    }
    FUZZ_CHECK(set.Eof());
    return 0;
}
