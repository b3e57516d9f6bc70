#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zentrail {

// A day as the date pickers hold it.
struct CalendarDate {
    int year = 1900;
    int month = 1;
    int day = 1;

    static CalendarDate Today();
    // "YYYY-MM-DD", exactly four, two and two digits; nullopt unless it names a real day.
    static std::optional<CalendarDate> FromIso(std::string_view text);

    std::string QueryText() const;    // MonthDayYearText, as the queries splice it in
    std::string DisplayText() const;  // "dd/MM/yyyy", as the pickers show it
    bool operator==(const CalendarDate&) const = default;
};

}  // namespace zentrail
