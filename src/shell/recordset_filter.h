#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zentrail {

// One filter expression of the screens: "[Field] = 12" or "[Field] = 'text'".
struct FilterExpression {
    std::string field;  // empty: no filter
    bool isNumber = false;
    double number = 0;
    std::string text;  // the literal with doubled quotes undone
};

// Reads a filter expression; blank text means no filter. Throws DbError for anything else.
FilterExpression ParseFilter(std::string_view expression);

// The number a field's whole text reads as (blanks around it allowed), if it is one.
std::optional<double> ReadWholeNumber(std::string_view text);

// The key under which text compares as the source database compares it by default:
// ASCII letters folded to upper case, trailing blanks dropped.
std::string TextCompareKey(std::string_view text);

// Field names match regardless of ASCII case.
bool SameFieldName(std::string_view a, std::string_view b);
size_t FieldNameHash(std::string_view name);

}  // namespace zentrail
