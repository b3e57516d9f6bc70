#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zentrail {

// The text form of a date field as the grid shows it and vouchers carry it: YYYYMMDD.
// Reads ISO-8601 text, 'YYYY-MM-DD' optionally followed by a time ('T' or blank, then anything);
// nothing for text that is not a valid calendar date in that form.
std::optional<std::string> DateTextFromIso(std::string_view iso);

}  // namespace zentrail
