#include "tally/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zentrail {

std::string NumberText(double value) {
    if (!std::isfinite(value)) return "0";
    if (value == 0) return "0";  // also turns -0 into 0
    // 15 significant digits drops binary noise such as 0.1 + 0.2 = 0.30000000000000004.
    char buf[64];
    auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string text(buf, written.ptr);
    size_t e = text.find('e');
    if (e == std::string::npos) return text;
    // Never show an exponent: write the value out in plain decimals.
    int exponent = std::atoi(text.c_str() + e + 1);
    std::string mantissa = text.substr(0, e);
    bool negative = !mantissa.empty() && mantissa[0] == '-';
    if (negative) mantissa.erase(0, 1);
    std::string digits;
    int pointPos = static_cast<int>(mantissa.find('.'));
    if (pointPos < 0) pointPos = static_cast<int>(mantissa.size());
    for (char c : mantissa)
        if (c != '.') digits += c;
    int intDigits = pointPos + exponent;
    std::string out;
    if (intDigits <= 0) {
        out = "0." + std::string(static_cast<size_t>(-intDigits), '0') + digits;
    } else if (intDigits >= static_cast<int>(digits.size())) {
        out = digits + std::string(static_cast<size_t>(intDigits) - digits.size(), '0');
    } else {
        out = digits.substr(0, static_cast<size_t>(intDigits)) + "." +
              digits.substr(static_cast<size_t>(intDigits));
    }
    if (out.find('.') != std::string::npos) {
        while (out.back() == '0') out.pop_back();
        if (out.back() == '.') out.pop_back();
    }
    return negative ? "-" + out : out;
}

double RoundHalfEven(double value, int decimals) {
    if (!std::isfinite(value)) return value;
    static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
    double scale = decimals >= 0 && decimals <= 8 ? kPowers[decimals] : std::pow(10.0, decimals);
    double scaled = value * scale;
    // Away from a half, the nearest whole number is the answer whatever the last of 15 digits
    // say: below 1e9 they move the value by less than 1e-5.
    const double below = std::floor(scaled);
    if (std::fabs(scaled) < 1e9 && std::fabs(scaled - below - 0.5) > 1e-4) {
        const double result = (scaled - below > 0.5 ? below + 1 : below) / scale;
        return result == 0 ? 0.0 : result;
    }
    // Decide halves on the decimal text of the value, not on its binary approximation,
    // so that amounts written as x.xx5 are treated as the exact halves they stand for.
    char buf[64];
    auto written = std::to_chars(buf, buf + sizeof buf, scaled, std::chars_format::general, 15);
    double cleaned = scaled;
    std::from_chars(buf, written.ptr, cleaned);
    double floorPart = std::floor(cleaned);
    double fraction = cleaned - floorPart;
    double rounded;
    if (fraction > 0.5)
        rounded = floorPart + 1;
    else if (fraction < 0.5)
        rounded = floorPart;
    else
        rounded = std::fmod(floorPart, 2.0) == 0 ? floorPart : floorPart + 1;
    double result = rounded / scale;
    return result == 0 ? 0.0 : result;
}

double ReadNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    size_t start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    size_t digitsStart = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    bool anyDigit = i > digitsStart;
    if (i < text.size() && text[i] == '.') {
        size_t frac = i + 1;
        size_t j = frac;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
        if (j > frac || anyDigit) {
            anyDigit = anyDigit || j > frac;
            i = j;
        }
    }
    if (!anyDigit) return 0;
    // An exponent only counts when digits follow it.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) ++j;
        size_t expDigits = j;
        while (j < text.size() && text[j] >= '0' && text[j] <= '9') ++j;
        if (j > expDigits) i = j;
    }
    std::string number(text.substr(start, i - start));
    if (!number.empty() && number[0] == '+') number.erase(0, 1);
    double value = 0;
    auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) return number[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    if (ec != std::errc()) return 0;
    (void)ptr;
    return value;
}

}  // namespace zentrail
