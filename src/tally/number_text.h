#pragma once

#include <string>
#include <string_view>

namespace zentrail {

// General number-to-text form of Tally amounts and rates: shortest text with at most
// 15 significant digits, "." as decimal point, no grouping, no trailing zeros.
std::string NumberText(double value);

// Rounds to `decimals` places with exact halves going to the even neighbour
// (decimal halves as written, so 0.125 -> 0.12 and 0.375 -> 0.38).
double RoundHalfEven(double value, int decimals);

// Reads the leading number of a field's text: leading blanks skipped, reading stops at the
// first character that cannot continue a number; empty or no number gives 0.
double ReadNumber(std::string_view text);

}  // namespace zentrail
