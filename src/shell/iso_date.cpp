#include "shell/iso_date.h"

namespace zentrail {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Digits(std::string_view text) {
    int value = 0;
    for (char c : text) value = value * 10 + (c - '0');
    return value;
}

}  // namespace

bool IsCalendarDate(int year, int month, int day) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    return day <= last;
}

std::optional<std::string> DateTextFromIso(std::string_view iso) {
    if (iso.size() < 10) return std::nullopt;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!IsDigit(iso[i])) return std::nullopt;
    if (iso[4] != '-' || iso[7] != '-') return std::nullopt;
    if (iso.size() > 10 && iso[10] != ' ' && iso[10] != 'T') return std::nullopt;
    if (!IsCalendarDate(Digits(iso.substr(0, 4)), Digits(iso.substr(5, 2)),
                        Digits(iso.substr(8, 2))))
        return std::nullopt;
    std::string text;
    text.reserve(8);
    text.append(iso.substr(0, 4)).append(iso.substr(5, 2)).append(iso.substr(8, 2));
    return text;
}

}  // namespace zentrail
