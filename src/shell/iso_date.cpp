#include "shell/iso_date.h"

#include "common/ascii.h"
#include "common/calendar.h"

namespace zentrail {
namespace {

int Digits(std::string_view text) {
    int value = 0;
    for (char c : text) value = value * 10 + (c - '0');
    return value;
}

}  // namespace

std::optional<std::string> DateTextFromIso(std::string_view iso) {
    if (iso.size() < 10) return std::nullopt;
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (!ascii::IsDigit(iso[i])) return std::nullopt;
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
