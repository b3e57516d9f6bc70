#pragma once

#include <string>
#include <string_view>

namespace zentrail {

// Filter expressions over a value taken from the data. The value never changes the
// expression's shape: quotes inside a text are doubled, so "O'Neil/23" selects exactly the
// rows that hold "O'Neil/23".

// "[field] = 'value'".
std::string FilterEquals(std::string_view field, std::string_view value);

// "[field] = value" when the value is a number (an id column), otherwise as FilterEquals.
std::string FilterEqualsId(std::string_view field, std::string_view value);

}  // namespace zentrail
