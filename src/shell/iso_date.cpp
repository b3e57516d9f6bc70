#include "shell/iso_date.h"

#include "common/ascii.h"
#include "common/calendar.h"

namespace zentrail {

std::optional<std::string> DateTextFromIso(std::string_view iso) {
    if (iso.size() < 10 || iso[4] != '-' || iso[7] != '-') return std::nullopt;
    if (iso.size() > 10 && iso[10] != ' ' && iso[10] != 'T') return std::nullopt;
    std::optional<int> year = ascii::DigitsValue(iso.substr(0, 4));
    std::optional<int> month = ascii::DigitsValue(iso.substr(5, 2));
    std::optional<int> day = ascii::DigitsValue(iso.substr(8, 2));
    if (!year || !month || !day || !IsCalendarDate(*year, *month, *day)) return std::nullopt;
    std::string text;
    text.reserve(8);
    text.append(iso.substr(0, 4)).append(iso.substr(5, 2)).append(iso.substr(8, 2));
    return text;
}

}  // namespace zentrail
