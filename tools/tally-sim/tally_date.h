#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zentrail::sim {

// Reads a voucher date as Tally takes it: YYYYMMDD, d-Mon-yyyy, dd-mm-yyyy or dd/mm/yyyy.
// Gives the date as YYYYMMDD, or nullopt when the text is no such date of the calendar.
std::optional<std::string> ReadTallyDate(std::string_view text);

}  // namespace zentrail::sim
