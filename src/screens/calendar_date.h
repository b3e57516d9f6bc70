#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace zentrail {

struct TypedDate;

// A day as the date pickers hold it.
struct CalendarDate {
    int year = 1900;
    int month = 1;
    int day = 1;

    static CalendarDate Today();
    // "YYYY-MM-DD", exactly four, two and two digits; nullopt unless it names a real day.
    static std::optional<CalendarDate> FromIso(std::string_view text);
    // What an operator types: "dd/mm/yyyy" (day and month of one or two digits, '/', '-' or '.'
    // between them) or the eight digits "ddmmyyyy", blanks around ignored. Nothing else is read
    // as a date, and a day the calendar lacks is never moved to another.
    static TypedDate FromTyped(std::string_view text);

    std::string QueryText() const;    // MonthDayYearText, as the queries splice it in
    std::string DisplayText() const;  // "dd/MM/yyyy", as the pickers show it
    bool operator==(const CalendarDate&) const = default;
    auto operator<=>(const CalendarDate&) const = default;
};

// A typed date: the day, or why the text is none.
struct TypedDate {
    std::optional<CalendarDate> date;
    std::string problem;  // empty when `date` is set
};

}  // namespace zentrail
