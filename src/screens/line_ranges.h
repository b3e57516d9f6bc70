#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zentrail {

// Listed rows [first, end) whose lines one ranged query reads.
struct RowRange {
    size_t first = 0;
    size_t end = 0;
};

// How many listed documents a ranged line query reads at a time; `most` 0 reads every query whole.
struct LineRangeSizes {
    size_t first = 50;
    size_t most = 1000;  // SQL Server compiles a long IN list slowly
};

// The ranges `rows` listed rows are read in: a short first one, so that the first document can
// leave while the rest are read, then each twice the one before, up to `most` rows.
std::vector<RowRange> LineRanges(size_t rows, size_t first, size_t most);

// `sql` with one more condition: `column` is one of `keys`, SQL literals; none matches nothing.
// The condition goes before the last ORDER BY, or at the end; the query must have a WHERE of
// its own.
std::string RangedQuery(std::string_view sql, std::string_view column,
                        const std::vector<std::string>& keys);

// A listed key as a literal of a number column: the whole number's digits, or "" when the text
// is none (blank, a fraction, not a number).
std::string WholeNumberLiteral(std::string_view text);

}  // namespace zentrail
