#include "tally/date_text.h"

#include <cstdio>
#include <stdexcept>

#include "common/ascii.h"
#include "common/calendar.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

using ascii::IsDigit;

// The number written by text[pos, pos + count) when all of it is digits.
std::optional<int> Digits(std::string_view text, size_t pos, size_t count) {
    if (pos + count > text.size()) return std::nullopt;
    return ascii::DigitsValue(text.substr(pos, count));
}

std::optional<DateParts> Checked(std::optional<int> year, std::optional<int> month,
                                 std::optional<int> day) {
    if (!year || !month || !day) return std::nullopt;
    if (!IsCalendarDate(*year, *month, *day)) return std::nullopt;
    return DateParts{*year, *month, *day};
}

// "20240131"
std::optional<DateParts> ReadCompact(std::string_view text) {
    if (text.size() != 8) return std::nullopt;
    return Checked(Digits(text, 0, 4), Digits(text, 4, 2), Digits(text, 6, 2));
}

// "2024-01-31"
std::optional<DateParts> ReadIso(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    return Checked(Digits(text, 0, 4), Digits(text, 5, 2), Digits(text, 8, 2));
}

// "31/01/2024", "5-3-2024": one or two digits of day and month, four of the year, the same
// separator twice.
std::optional<DateParts> ReadDayMonthYear(std::string_view text) {
    size_t first = text.find_first_of("/-.");
    if (first == 0 || first > 2) return std::nullopt;
    char separator = text[first];
    size_t second = text.find(separator, first + 1);
    if (second == std::string_view::npos || second - first - 1 < 1 || second - first - 1 > 2)
        return std::nullopt;
    if (text.size() - second - 1 != 4) return std::nullopt;
    return Checked(Digits(text, second + 1, 4), Digits(text, first + 1, second - first - 1),
                   Digits(text, 0, first));
}

// Reads "HH:MM" with optional ":SS" and fraction; `pos` moves past what was read.
bool ReadClock(std::string_view text, size_t& pos, int& hour) {
    size_t hourDigits = pos + 1 < text.size() && IsDigit(text[pos + 1]) ? 2 : 1;
    std::optional<int> h = Digits(text, pos, hourDigits);
    pos += hourDigits;
    if (!h || pos >= text.size() || text[pos] != ':') return false;
    std::optional<int> minute = Digits(text, pos + 1, 2);
    if (!minute || *h > 23 || *minute > 59) return false;
    pos += 3;
    if (pos < text.size() && text[pos] == ':') {
        std::optional<int> second = Digits(text, pos + 1, 2);
        if (!second || *second > 59) return false;
        pos += 3;
        if (pos < text.size() && text[pos] == '.') {
            size_t start = ++pos;
            while (pos < text.size() && IsDigit(text[pos])) ++pos;
            if (pos == start) return false;
        }
    }
    hour = *h;
    return true;
}

// The time of day that may follow a date: "10:15", "10:15:00.000", "10:15:00 AM"; after an
// ISO date also a zone, "Z" or "+05:30".
bool IsTimeOfDay(std::string_view text, bool iso) {
    size_t pos = 0;
    int hour = 0;
    if (!ReadClock(text, pos, hour)) return false;
    std::string_view rest = text.substr(pos);
    if (rest.empty()) return true;
    if (iso) {
        if (rest == "Z") return true;
        if (rest.size() == 6 && (rest[0] == '+' || rest[0] == '-') && rest[3] == ':' &&
            Digits(rest, 1, 2) && Digits(rest, 4, 2))
            return true;
        return false;
    }
    if (rest.front() == ' ') rest.remove_prefix(1);
    if (rest.size() != 2 || (rest[1] != 'M' && rest[1] != 'm')) return false;
    bool meridiem = rest[0] == 'A' || rest[0] == 'a' || rest[0] == 'P' || rest[0] == 'p';
    return meridiem && hour >= 1 && hour <= 12;
}

}  // namespace

std::optional<DateParts> ParseDocumentDate(std::string_view input) {
    std::string text = TrimBlanks(input);
    std::string_view view(text);
    size_t split = view.find_first_of(" T");
    std::string_view datePart = view.substr(0, split);
    std::optional<DateParts> date = ReadCompact(datePart);
    bool iso = false;
    if (!date) {
        date = ReadIso(datePart);
        iso = date.has_value();
    }
    if (!date) date = ReadDayMonthYear(datePart);
    if (!date || split == std::string_view::npos) return date;
    if (view[split] == 'T' && !iso) return std::nullopt;
    std::string_view time = view.substr(split + 1);
    while (!time.empty() && time.front() == ' ') time.remove_prefix(1);
    return IsTimeOfDay(time, iso) ? date : std::nullopt;
}

std::string TallyDate(const DateParts& date) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", date.year % 10000, date.month % 100,
                  date.day % 100);
    return buf;
}

std::string VoucherDate(std::string_view text) {
    std::optional<DateParts> date = ParseDocumentDate(text);
    if (!date) throw std::invalid_argument("date '" + std::string(text) + "' is not a date");
    return TallyDate(*date);
}

}  // namespace zentrail
