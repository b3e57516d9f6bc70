#include "screens/calendar_date.h"

#include <chrono>
#include <cstdio>

#include "shell/platform.h"

namespace zentrail {

CalendarDate CalendarDate::Today() {
    platform::LocalDate today = platform::LocalToday();
    return {today.year, today.month, today.day};
}

std::optional<CalendarDate> CalendarDate::FromIso(std::string_view text) {
    int y = 0, m = 0, d = 0;
    char tail = 0;
    std::string copy(text);
    if (copy.size() != 10 || std::sscanf(copy.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3)
        return std::nullopt;
    std::chrono::year_month_day ymd{std::chrono::year(y),
                                    std::chrono::month(static_cast<unsigned>(m)),
                                    std::chrono::day(static_cast<unsigned>(d))};
    if (!ymd.ok()) return std::nullopt;
    return CalendarDate{y, m, d};
}

std::string CalendarDate::QueryText() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", month % 100, day % 100, year % 10000);
    return buf;
}

std::string CalendarDate::DisplayText() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", day % 100, month % 100, year % 10000);
    return buf;
}

}  // namespace zentrail
