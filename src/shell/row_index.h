#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "shell/recordset.h"

namespace zentrail {

// The rows of one field of a RowSet grouped by value, as the source database compares them: a
// number matches every value that reads as that number ("12", "12.0"), a text every value equal
// to it ignoring case and trailing blanks. NULL matches nothing. Each grouping is built the first
// time it is asked for, so a lookup costs time in proportion to the rows it selects.
class RowIndex {
public:
    using Rows = std::vector<uint32_t>;

    RowIndex(const RowSet& rows, size_t field) : rows_(&rows), field_(field) {}

    const Rows& WithNumber(double number);
    const Rows& WithText(std::string_view text);

private:
    const RowSet* rows_;
    size_t field_;
    std::unordered_map<double, Rows> byNumber_;
    std::unordered_map<std::string, Rows> byText_;
    bool hasNumbers_ = false;
    bool hasTexts_ = false;
};

}  // namespace zentrail
