#include <limits>

#include "shell/recordset.h"

namespace zentrail {

RowSet::RowSet(std::vector<std::string> fieldNames) : fieldNames_(std::move(fieldNames)) {}

RowSet::RowSet(std::vector<std::string> fieldNames,
               const std::vector<std::vector<std::optional<std::string>>>& rows)
    : fieldNames_(std::move(fieldNames)) {
    for (const auto& row : rows) {
        if (row.size() != fieldNames_.size())
            throw ado_error::InvalidArgument();  // a ragged fixture is a test's own mistake
        for (const auto& value : row) {
            if (value)
                Append(*value);
            else
                AppendNull();
        }
    }
}

size_t RowSet::RowCount() const {
    return fieldNames_.empty() ? 0 : ends_.size() / fieldNames_.size();
}

void RowSet::Append(std::string_view text) { AppendCell(text, false); }

void RowSet::AppendNull() { AppendCell({}, true); }

void RowSet::AppendCell(std::string_view text, bool isNull) {
    if (text.size() > std::numeric_limits<uint32_t>::max() - text_.size())
        throw DbError(7, "Out of memory: the result holds more than 4 GB of text.");
    text_.append(text);
    ends_.push_back(static_cast<uint32_t>(text_.size()));
    nulls_.push_back(isNull);
}

bool RowSet::IsNull(size_t row, size_t field) const {
    return nulls_[row * fieldNames_.size() + field];
}

std::string_view RowSet::Text(size_t row, size_t field) const {
    size_t cell = row * fieldNames_.size() + field;
    uint32_t begin = cell == 0 ? 0 : ends_[cell - 1];
    return std::string_view(text_).substr(begin, ends_[cell] - begin);
}

}  // namespace zentrail
