#include "common/calendar.h"

#include <cstdio>

namespace zentrail {

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

bool IsCalendarDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    return day <= DaysInMonth(year, month);
}

std::string MonthDayYearText(int year, int month, int day) {
    char text[16];
    // The remainders keep the buffer bounded; real dates never need them.
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", month % 100, day % 100, year % 10000);
    return text;
}

}  // namespace zentrail
