#pragma once

#include <string>

namespace zentrail {

// Days of a month of the Gregorian calendar; month is 1 to 12.
int DaysInMonth(int year, int month);

// Whether (year, month, day) names a day of the Gregorian calendar, years 1 to 9999: the range
// that every date text of the program writes with four digits.
bool IsCalendarDate(int year, int month, int day);

// "MM/DD/YYYY", two-digit month and day and four-digit year: the form the SQL texts of the
// screens carry, which SQL Server reads in style 101.
std::string MonthDayYearText(int year, int month, int day);

}  // namespace zentrail
