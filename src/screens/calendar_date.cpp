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

namespace {

// The number written by text[pos, pos + count), which must be digits and nothing else: no
// sign, no blank.
std::optional<int> Digits(std::string_view text, size_t pos, size_t count) {
    int value = 0;
    for (size_t i = pos; i < pos + count; ++i) {
        if (!ascii::IsDigit(text[i])) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

std::optional<CalendarDate> CalendarDate::FromIso(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    std::optional<int> y = Digits(text, 0, 4), m = Digits(text, 5, 2), d = Digits(text, 8, 2);
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
