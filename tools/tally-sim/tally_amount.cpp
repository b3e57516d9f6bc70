#include "tally-sim/tally_amount.h"

#include <cmath>

#include "tally-sim/names.h"
#include "tally/number_text.h"

namespace zentrail::sim {

namespace {

bool IsDecimalNumber(std::string_view text) {
    size_t digits = 0;
    size_t points = 0;
    for (char c : text) {
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.')
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

}  // namespace

std::optional<double> ReadTallyAmount(std::string_view text) {
    text = TrimName(text);
    if (text.empty()) return 0.0;
    double sign = 1;
    size_t i = 0;
    while (i < text.size() && text[i] == '-') {
        sign = -sign;
        ++i;
    }
    std::string_view number = TrimName(text.substr(i));
    if (!IsDecimalNumber(number)) return std::nullopt;
    double value = ReadNumber(number);
    if (!std::isfinite(value)) return std::nullopt;
    return value == 0 ? 0.0 : sign * value;
}

}  // namespace zentrail::sim
