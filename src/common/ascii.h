#pragma once

// ASCII character helpers. Source texts, SQL and configuration keys are compared and cased by
// these, never by the C locale, so that a workstation's language setting cannot change a match.

#include <optional>
#include <string>
#include <string_view>

namespace zentrail::ascii {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Blank, tab, CR or LF: the white space that SQL texts and filter expressions may carry.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

constexpr char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = Lower(c);
    return out;
}

inline std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = Upper(c);
    return out;
}

// The number that a short run of digits writes ("0042" is 42); nothing when the run is empty or
// holds anything but ASCII digits (no sign, no blank). Callers read at most a few digits.
constexpr std::optional<int> DigitsValue(std::string_view digits) {
    if (digits.empty()) return std::nullopt;
    int value = 0;
    for (char c : digits) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Equal when only the case of ASCII letters differs.
constexpr bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

}  // namespace zentrail::ascii
