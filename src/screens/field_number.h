#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zentrail {

class Recordset;
class TransferGrid;

// A number field whose text is not a usable number: the document cannot be sent as it stands.
class NotANumber : public std::runtime_error {
public:
    // `what` says what is wrong with the text: "not a number" unless told.
    NotANumber(std::string field, std::string text, const std::string& what = "not a number");
    const std::string& Field() const { return field_; }
    const std::string& Text() const { return text_; }

private:
    std::string field_;
    std::string text_;
};

// Larger amounts are no business figure and would lose their cents in a double.
inline constexpr double kLargestAmount = 1e13;

// The number a field holds. NULL and blank text read as 0; any other text must be a whole
// decimal number (blanks around it allowed) of size at most kLargestAmount, or NotANumber is
// thrown: "12abc" is not 12, and "1e308" is no amount.
double NumberField(std::string_view field, std::string_view text, bool isNull);
double NumberField(const Recordset& rs, const char* field);
double NumberCell(const TransferGrid& grid, size_t row, const char* field);

// A field that decides a document's rule (its net amount, ...): NULL or blank is no 0 there,
// and throws NotANumber too.
double RuleNumberCell(const TransferGrid& grid, size_t row, const char* field);

}  // namespace zentrail
