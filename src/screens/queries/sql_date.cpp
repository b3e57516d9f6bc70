#include "screens/queries/sql_date.h"

#include "common/calendar.h"

namespace zentrail {

std::string SqlDateText(std::chrono::year_month_day date) {
    return MonthDayYearText(static_cast<int>(date.year()),
                            static_cast<int>(static_cast<unsigned>(date.month())),
                            static_cast<int>(static_cast<unsigned>(date.day())));
}

}  // namespace zentrail
