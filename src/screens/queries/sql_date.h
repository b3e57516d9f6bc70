#pragma once

#include <chrono>
#include <string>

namespace zentrail {

// A date as the SQL texts of the screens carry it (MonthDayYearText).
std::string SqlDateText(std::chrono::year_month_day date);

}  // namespace zentrail
