#include "common/calendar.h"

#include <gtest/gtest.h>

#include <optional>

#include "screens/calendar_date.h"

namespace zentrail {
namespace {

struct DayCase {
    int year, month, day;
    bool real;
};

TEST(IsCalendarDate, MonthLengthsLeapYearsAndRange) {
    const DayCase cases[] = {
        {2024, 1, 31, true},  {2024, 4, 30, true},  {2024, 4, 31, false}, {2024, 2, 29, true},
        {2023, 2, 29, false}, {2023, 2, 28, true},  {1900, 2, 29, false}, {2000, 2, 29, true},
        {2100, 2, 29, false}, {2024, 12, 31, true}, {2024, 13, 1, false}, {2024, 0, 1, false},
        {2024, 1, 0, false},  {2024, 1, -1, false}, {1, 1, 1, true},      {0, 1, 1, false},
        {9999, 12, 31, true}, {10000, 1, 1, false}, {-4, 2, 29, false},
    };
    for (const DayCase& c : cases)
        EXPECT_EQ(IsCalendarDate(c.year, c.month, c.day), c.real)
            << c.year << "-" << c.month << "-" << c.day;
}

TEST(DaysInMonth, EveryMonthOfALeapAndACommonYear) {
    const int common[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int month = 1; month <= 12; ++month) {
        EXPECT_EQ(DaysInMonth(2023, month), common[month - 1]) << month;
        EXPECT_EQ(DaysInMonth(2024, month), month == 2 ? 29 : common[month - 1]) << month;
    }
}

TEST(MonthDayYearText, TwoDigitMonthAndDayFourDigitYear) {
    EXPECT_EQ(MonthDayYearText(2024, 4, 1), "04/01/2024");
    EXPECT_EQ(MonthDayYearText(2024, 12, 31), "12/31/2024");
    EXPECT_EQ(MonthDayYearText(999, 1, 9), "01/09/0999");
    EXPECT_EQ((CalendarDate{2017, 7, 1}.QueryText()), "07/01/2017");
}

struct IsoCase {
    const char* text;
    std::optional<CalendarDate> date;
};

// The command line hands dates over as text; only exactly YYYY-MM-DD of a real day passes.
TEST(CalendarDateFromIso, ExactlyFourTwoAndTwoDigits) {
    const IsoCase cases[] = {
        {"2024-01-31", CalendarDate{2024, 1, 31}},
        {"2024-02-29", CalendarDate{2024, 2, 29}},
        {"0001-01-01", CalendarDate{1, 1, 1}},
        {"9999-12-31", CalendarDate{9999, 12, 31}},
        {"2024-+1-01", std::nullopt},
        {"2024-01-+1", std::nullopt},
        {"+024-01-01", std::nullopt},
        {"-024-01-01", std::nullopt},
        {"2024- 1-01", std::nullopt},
        {" 2024-1-01", std::nullopt},
        {"2024-01- 1", std::nullopt},
        {"2024-1-011", std::nullopt},
        {"2024/01/31", std::nullopt},
        {"2024-01-3", std::nullopt},
        {"2024-01-311", std::nullopt},
        {"2024-01-31 ", std::nullopt},
        {"20240131", std::nullopt},
        {"2023-02-29", std::nullopt},
        {"2024-04-31", std::nullopt},
        {"2024-13-01", std::nullopt},
        {"2024-00-10", std::nullopt},
        {"2024-01-00", std::nullopt},
        {"0000-01-01", std::nullopt},
        {"2024-0x-01", std::nullopt},
        {"", std::nullopt},
    };
    for (const IsoCase& c : cases) EXPECT_EQ(CalendarDate::FromIso(c.text), c.date) << c.text;
}

}  // namespace
}  // namespace zentrail
