#include "screens/line_ranges.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>

#include "shell/recordset_filter.h"

namespace zentrail {

std::vector<RowRange> LineRanges(size_t rows, size_t first, size_t most) {
    std::vector<RowRange> ranges;
    size_t size = std::max<size_t>(1, std::min(first, most));
    for (size_t at = 0; at < rows; at += size) {
        if (!ranges.empty()) size = std::min(size * 2, std::max<size_t>(most, 1));
        ranges.push_back({at, std::min(rows, at + size)});
    }
    return ranges;
}

namespace {

size_t LastOrderBy(std::string_view sql) {
    constexpr std::string_view kOrderBy = "ORDER BY";
    for (size_t at = sql.size(); at >= kOrderBy.size(); --at) {
        const size_t start = at - kOrderBy.size();
        bool same = true;
        for (size_t i = 0; i < kOrderBy.size() && same; ++i)
            same = std::toupper(static_cast<unsigned char>(sql[start + i])) == kOrderBy[i];
        if (same) return start;
    }
    return std::string_view::npos;
}

}  // namespace

std::string RangedQuery(std::string_view sql, std::string_view column,
                        const std::vector<std::string>& keys) {
    std::string condition = "AND ";
    if (keys.empty()) {
        condition += "1 = 0 ";
    } else {
        condition += column;
        condition += " IN (";
        for (size_t i = 0; i < keys.size(); ++i) {
            if (i > 0) condition += ',';
            condition += keys[i];
        }
        condition += ") ";
    }
    const size_t orderBy = LastOrderBy(sql);
    if (orderBy == std::string_view::npos) {
        std::string ranged(sql);
        if (!ranged.empty() && ranged.back() != ' ') ranged += ' ';
        return ranged + condition;
    }
    std::string ranged(sql.substr(0, orderBy));
    ranged += condition;
    ranged += sql.substr(orderBy);
    return ranged;
}

std::string WholeNumberLiteral(std::string_view text) {
    const std::optional<double> number = ReadWholeNumber(text);
    // Beyond 2^53 a double no longer tells neighbouring ids apart.
    if (!number || *number != std::floor(*number) || std::fabs(*number) >= 9007199254740992.0)
        return {};
    char digits[24];
    auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, static_cast<long long>(*number));
    return error == std::errc{} ? std::string(digits, end) : std::string{};
}

}  // namespace zentrail
