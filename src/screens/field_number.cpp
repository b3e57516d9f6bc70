#include "screens/field_number.h"

#include <charconv>
#include <cmath>

#include "screens/transfer_grid.h"
#include "shell/recordset.h"

namespace zentrail {

NotANumber::NotANumber(std::string field, std::string text, const std::string& what)
    : std::runtime_error("field " + field + " holds '" + text + "', " + what),
      field_(std::move(field)),
      text_(std::move(text)) {}

double NumberField(std::string_view field, std::string_view text, bool isNull) {
    if (isNull) return 0;
    std::string_view trimmed = text;
    while (!trimmed.empty() && trimmed.front() == ' ') trimmed.remove_prefix(1);
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
    if (trimmed.empty()) return 0;
    std::string_view digits = trimmed;
    if (digits.front() == '+') digits.remove_prefix(1);
    double value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty() ||
        digits.front() == '+' || !std::isfinite(value))
        throw NotANumber(std::string(field), std::string(text));
    if (std::fabs(value) > kLargestAmount)
        throw NotANumber(std::string(field), std::string(text), "larger than 10^13");
    return value;
}

double NumberField(const Recordset& rs, const char* field) {
    FieldValue value = rs.Fields(field);
    return NumberField(field, value.text, value.isNull);
}

double NumberCell(const TransferGrid& grid, size_t row, const char* field) {
    return NumberField(field, grid.Cell(row, field), false);
}

double RuleNumberCell(const TransferGrid& grid, size_t row, const char* field) {
    const std::string text = grid.Cell(row, field);
    if (text.find_first_not_of(' ') == std::string::npos)
        throw NotANumber(field, text, "no amount");
    return NumberField(field, text, false);
}

}  // namespace zentrail
