#include "screens/bound_columns.h"

#include "screens/field_number.h"
#include "screens/transfer_grid.h"
#include "shell/recordset.h"
#include "shell/recordset_filter.h"

namespace zentrail {

MissingColumn::MissingColumn(std::string_view result, std::string_view column)
    : std::runtime_error(std::string(result) + " has no column " + std::string(column)) {}

BoundColumns::BoundColumns(std::span<const char* const> names,
                           const std::vector<std::string>& fieldNames, std::string_view result)
    : names_(names) {
    positions_.reserve(names.size());
    for (const char* name : names) {
        size_t position = 0;
        while (position < fieldNames.size() && !SameFieldName(fieldNames[position], name))
            ++position;
        if (position == fieldNames.size()) throw MissingColumn(result, name);
        positions_.push_back(position);
    }
}

std::string ListedRow::TextAt(size_t column) const {
    return std::string(grid_->Text(row_, columns_->Position(column)));
}

double ListedRow::NumberAt(size_t column) const {
    return NumberField(columns_->Name(column), grid_->Text(row_, columns_->Position(column)),
                       false);
}

double ListedRow::RuleNumberAt(size_t column) const {
    std::string_view text = grid_->Text(row_, columns_->Position(column));
    if (text.find_first_not_of(' ') == std::string_view::npos)
        throw NotANumber(columns_->Name(column), std::string(text), "no amount");
    return NumberField(columns_->Name(column), text, false);
}

std::string LineRow::TextAt(size_t column) const {
    return std::string(rows_->Text(row_, columns_->Position(column)));
}

double LineRow::NumberAt(size_t column) const {
    size_t field = columns_->Position(column);
    return NumberField(columns_->Name(column), rows_->Text(row_, field),
                       rows_->IsNull(row_, field));
}

}  // namespace zentrail
