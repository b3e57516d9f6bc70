#pragma once

#include <string>
#include <string_view>

namespace zentrail {

// The one T-SQL idiom of the screens' queries that SQLite lacks: the day part of a date column
// compared with a 'MM/DD/YYYY' literal,
//     CONVERT(DATETIME,CONVERT(VARCHAR(10),<column>,101)) <op> '<MM/DD/YYYY>'
// becomes
//     date(<column>) <op> 'YYYY-MM-DD'
// Keywords in any case, blanks anywhere between the tokens. Everything else, including text
// inside string literals and an idiom with an impossible date, is left as written.
std::string TranslateDayComparisons(std::string_view sql);

}  // namespace zentrail
