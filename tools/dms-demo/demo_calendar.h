#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace zentrail::dms_demo {

// A moment as the database stores it: ISO-8601 text 'YYYY-MM-DD HH:MM:SS'.
struct DemoDateTime {
    std::chrono::sys_days day;
    int secondOfDay = 0;

    std::string Text() const {
        const std::chrono::year_month_day date{day};
        char text[32];
        std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d",
                      static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                      static_cast<unsigned>(date.day()), secondOfDay / 3600, secondOfDay / 60 % 60,
                      secondOfDay % 60);
        return text;
    }

    DemoDateTime PlusDays(int days) const { return {day + std::chrono::days{days}, secondOfDay}; }
    DemoDateTime StartOfDay() const { return {day, 0}; }

    friend bool operator==(const DemoDateTime&, const DemoDateTime&) = default;
    friend auto operator<=>(const DemoDateTime&, const DemoDateTime&) = default;
};

inline DemoDateTime At(std::chrono::sys_days day, int hour = 0, int minute = 0, int second = 0) {
    return {day, hour * 3600 + minute * 60 + second};
}

inline DemoDateTime At(std::chrono::year_month_day date, int hour = 0, int minute = 0,
                       int second = 0) {
    return At(std::chrono::sys_days{date}, hour, minute, second);
}

}  // namespace zentrail::dms_demo
