#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace zentrail {

class Recordset;
class TransferGrid;

// A number field whose text is not a number: the document cannot be sent as it stands.
class NotANumber : public std::runtime_error {
public:
    NotANumber(std::string field, std::string text);
    const std::string& Field() const { return field_; }
    const std::string& Text() const { return text_; }

private:
    std::string field_;
    std::string text_;
};

// The number a field holds. NULL and blank text read as 0; any other text must be a whole
// decimal number (blanks around it allowed), or NotANumber is thrown: "12abc" is not 12.
double NumberField(std::string_view field, std::string_view text, bool isNull);
double NumberField(const Recordset& rs, const char* field);
double NumberCell(const TransferGrid& grid, size_t row, const char* field);

}  // namespace zentrail
