#pragma once

// ASCII character helpers. Source texts, SQL and configuration keys are compared and cased by
// these, never by the C locale, so that a workstation's language setting cannot change a match.

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

// Equal when only the case of ASCII letters differs.
constexpr bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

}  // namespace zentrail::ascii
