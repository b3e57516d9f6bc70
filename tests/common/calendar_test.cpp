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
// What an operator types into a date field: the day as typed, or why it is none; a day the
// calendar lacks is never moved to another.
TEST(CalendarDateFromTyped, TheDayAsTypedOrWhyNot) {
    struct Case {
        const char* text;
        std::optional<CalendarDate> date;
        const char* problem;
    };
    const Case cases[] = {
        {"01042015", CalendarDate{2015, 4, 1}, ""},
        {"31032025", CalendarDate{2025, 3, 31}, ""},
        {"01/04/2015", CalendarDate{2015, 4, 1}, ""},
        {" 1/4/2015 ", CalendarDate{2015, 4, 1}, ""},
        {"29-02-2024", CalendarDate{2024, 2, 29}, ""},
        {"31.12.2024", CalendarDate{2024, 12, 31}, ""},
        {"31022024", std::nullopt, "'31022024' is not a day of the calendar"},
        {"31/02/2024", std::nullopt, "'31/02/2024' is not a day of the calendar"},
        {"29/02/2023", std::nullopt, "'29/02/2023' is not a day of the calendar"},
        {"00/01/2024", std::nullopt, "'00/01/2024' is not a day of the calendar"},
        {"01/13/2024", std::nullopt, "'01/13/2024' is not a day of the calendar"},
        {"", std::nullopt, "No date is typed"},
        {"   ", std::nullopt, "No date is typed"},
        {"0104201", std::nullopt, "'0104201' is not a date: type it as dd/mm/yyyy"},
        {"010420155", std::nullopt, "'010420155' is not a date: type it as dd/mm/yyyy"},
        {"01/04-2015", std::nullopt, "'01/04-2015' is not a date: type it as dd/mm/yyyy"},
        {"01/04/15", std::nullopt, "'01/04/15' is not a date: type it as dd/mm/yyyy"},
        {"1//2015", std::nullopt, "'1//2015' is not a date: type it as dd/mm/yyyy"},
        {"+1/04/2015", std::nullopt, "'+1/04/2015' is not a date: type it as dd/mm/yyyy"},
        {"2015-04-01", std::nullopt, "'2015-04-01' is not a date: type it as dd/mm/yyyy"},
    };
    for (const Case& c : cases) {
        const TypedDate typed = CalendarDate::FromTyped(c.text);
        EXPECT_EQ(typed.date, c.date) << c.text;
        EXPECT_EQ(typed.problem, c.problem) << c.text;
    }
}

}  // namespace zentrail
