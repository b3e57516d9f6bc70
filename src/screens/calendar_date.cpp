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

TypedDate CalendarDate::FromTyped(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {std::nullopt, "No date is typed"};
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    const std::string shown(text);
    std::optional<int> d, m, y;
    if (text.size() == 8 && ascii::DigitsValue(text)) {
        d = ascii::DigitsValue(text.substr(0, 2));
        m = ascii::DigitsValue(text.substr(2, 2));
        y = ascii::DigitsValue(text.substr(4, 4));
    } else {
        const size_t one = text.find_first_of("/-.");
        const size_t two = one == std::string_view::npos ? one : text.find_first_of("/-.", one + 1);
        if (two != std::string_view::npos && text[one] == text[two] && one >= 1 && one <= 2 &&
            two - one - 1 >= 1 && two - one - 1 <= 2 && text.size() - two - 1 == 4) {
            d = ascii::DigitsValue(text.substr(0, one));
            m = ascii::DigitsValue(text.substr(one + 1, two - one - 1));
            y = ascii::DigitsValue(text.substr(two + 1));
        }
    }
    if (!d || !m || !y)
        return {std::nullopt, "'" + shown + "' is not a date: type it as dd/mm/yyyy"};
    if (!IsCalendarDate(*y, *m, *d))
        return {std::nullopt, "'" + shown + "' is not a day of the calendar"};
    return {CalendarDate{*y, *m, *d}, {}};
}

std::string CalendarDate::QueryText() const { return MonthDayYearText(year, month, day); }

std::string CalendarDate::DisplayText() const {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d/%02d/%04d", day % 100, month % 100, year % 10000);
    return buf;
}

}  // namespace zentrail
