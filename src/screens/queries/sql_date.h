#pragma once

#include <chrono>
#include <string>

namespace zentrail {

// A date as the SQL texts of the screens carry it: "MM/DD/YYYY" (two-digit month and day,
// four-digit year), the form SQL Server reads in style 101.
std::string SqlDateText(std::chrono::year_month_day date);

}  // namespace zentrail
