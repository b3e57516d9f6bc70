#pragma once

#include <string>
#include <string_view>

namespace zentrail {

// Pieces that the screens' SQL texts share word for word. Dates are "MM/DD/YYYY" texts
// (SqlDateText); every piece ends exactly where the texts continue, blanks included.

// The day part of a date column: converted to text in style 101 and back, so that a row
// stamped at any time of a day compares equal to that day.
std::string DayOf(std::string_view column);

// "<day of column>  >= '<date>'" (two blanks before >=, as every screen writes it).
std::string DayOnOrAfter(std::string_view column, std::string_view date);

// "WHERE <day of column>  >= '<from>' AND <day of column> <= '<to>' ": both days included.
std::string WhereDayInRange(std::string_view column, std::string_view fromDate,
                            std::string_view toDate);

}  // namespace zentrail
