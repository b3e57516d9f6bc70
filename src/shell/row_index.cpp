#include "shell/row_index.h"

#include "shell/recordset_filter.h"

namespace zentrail {

namespace {
const RowIndex::Rows kNoRows;
}  // namespace

const RowIndex::Rows& RowIndex::WithNumber(double number) {
    if (!hasNumbers_) {
        for (size_t row = 0; row < rows_->RowCount(); ++row) {
            if (rows_->IsNull(row, field_)) continue;
            if (auto value = ReadWholeNumber(rows_->Text(row, field_)))
                byNumber_[*value].push_back(static_cast<uint32_t>(row));
        }
        hasNumbers_ = true;
    }
    auto found = byNumber_.find(number + 0.0);
    return found == byNumber_.end() ? kNoRows : found->second;
}

const RowIndex::Rows& RowIndex::WithText(std::string_view text) {
    if (!hasTexts_) {
        for (size_t row = 0; row < rows_->RowCount(); ++row) {
            if (rows_->IsNull(row, field_)) continue;
            byText_[TextCompareKey(rows_->Text(row, field_))].push_back(static_cast<uint32_t>(row));
        }
        hasTexts_ = true;
    }
    auto found = byText_.find(TextCompareKey(text));
    return found == byText_.end() ? kNoRows : found->second;
}

}  // namespace zentrail
