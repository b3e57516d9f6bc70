#include "tally-sim/tally_date.h"

#include <array>
#include <cstdio>
#include <vector>

#include "tally-sim/names.h"

namespace zentrail::sim {

namespace {

constexpr std::array<const char*, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                 "jul", "aug", "sep", "oct", "nov", "dec"};

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

int ToInt(std::string_view digits) {
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

std::optional<std::string> Compose(int year, int month, int day) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
    int last = kDays[month - 1] + (month == 2 && IsLeap(year) ? 1 : 0);
    if (day > last) return std::nullopt;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", year, month, day);
    return std::string(buffer);
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (true) {
        size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos) return parts;
        start = at + 1;
    }
}

std::optional<int> MonthFromName(std::string_view name) {
    std::string key = NameKey(name);
    for (size_t i = 0; i < kMonths.size(); ++i)
        if (key == kMonths[i]) return static_cast<int>(i) + 1;
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadTallyDate(std::string_view text) {
    text = TrimName(text);
    if (text.size() == 8 && AllDigits(text))
        return Compose(ToInt(text.substr(0, 4)), ToInt(text.substr(4, 2)),
                       ToInt(text.substr(6, 2)));
    for (char separator : {'-', '/'}) {
        std::vector<std::string_view> parts = Split(text, separator);
        if (parts.size() != 3) continue;
        std::string_view day = parts[0];
        std::string_view month = parts[1];
        std::string_view year = parts[2];
        if (!AllDigits(day) || day.size() > 2 || !AllDigits(year) || year.size() != 4)
            return std::nullopt;
        if (AllDigits(month) && month.size() <= 2)
            return Compose(ToInt(year), ToInt(month), ToInt(day));
        if (separator == '-') {
            if (std::optional<int> named = MonthFromName(month))
                return Compose(ToInt(year), *named, ToInt(day));
        }
        return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace zentrail::sim
