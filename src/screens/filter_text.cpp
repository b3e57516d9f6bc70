#include "screens/filter_text.h"

namespace zentrail {

namespace {

// Plain decimal digits with at most one point: "1e5" or "0x10" stay texts.
bool IsPlainNumber(std::string_view text) {
    bool digit = false, point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

}  // namespace

std::string FilterEquals(std::string_view field, std::string_view value) {
    std::string expression = "[" + std::string(field) + "] = '";
    for (char c : value) {
        expression += c;
        if (c == '\'') expression += '\'';
    }
    expression += '\'';
    return expression;
}

std::string FilterEqualsId(std::string_view field, std::string_view value) {
    if (IsPlainNumber(value)) return "[" + std::string(field) + "] = " + std::string(value);
    return FilterEquals(field, value);
}

}  // namespace zentrail
