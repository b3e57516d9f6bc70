#include "screens/calendar_date.h"

#include <cstdio>

#include "common/ascii.h"
#include "common/calendar.h"
#include "shell/platform.h"

namespace zentrail {

CalendarDate CalendarDate::Today() {
    platform::LocalDate today = platform::LocalToday();
    return {today.year, today.month, today.day};
}

std::optional<CalendarDate> CalendarDate::FromIso(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    std::optional<int> y = ascii::DigitsValue(text.substr(0, 4));
    std::optional<int> m = ascii::DigitsValue(text.substr(5, 2));
    std::optional<int> d = ascii::DigitsValue(text.substr(8, 2));
    if (!y || !m || !d || !IsCalendarDate(*y, *m, *d)) return std::nullopt;
    return CalendarDate{*y, *m, *d};
}

std::string CalendarDate::QueryText() const { return MonthDayYearText(year, month, day); }

std::string CalendarDate::DisplayText() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", day % 100, month % 100, year % 10000);
    return buf;
}

}  // namespace zentrail
