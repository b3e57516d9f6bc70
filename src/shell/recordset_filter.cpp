#include "shell/recordset_filter.h"

#include <charconv>
#include <cmath>

#include "common/ascii.h"
#include "shell/db_error.h"

namespace zentrail {
namespace {

using ascii::IsBlank;
using ascii::Upper;

std::string_view TrimmedBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '#' || c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

// Reads the field part: "[any name]" or a bare name.
std::string ReadFieldName(std::string_view& rest) {
    if (!rest.empty() && rest.front() == '[') {
        size_t close = rest.find(']');
        if (close == std::string_view::npos || close == 1) throw ado_error::InvalidArgument();
        std::string name(rest.substr(1, close - 1));
        rest.remove_prefix(close + 1);
        return name;
    }
    size_t length = 0;
    while (length < rest.size() && IsNameChar(rest[length])) ++length;
    if (length == 0) throw ado_error::InvalidArgument();
    std::string name(rest.substr(0, length));
    rest.remove_prefix(length);
    return name;
}

// Reads a quoted literal whose inner quotes are doubled; nothing may follow it.
std::string ReadQuotedText(std::string_view rest) {
    std::string text;
    size_t i = 1;
    for (;;) {
        if (i >= rest.size()) throw ado_error::InvalidArgument();  // unterminated
        if (rest[i] == '\'') {
            if (i + 1 < rest.size() && rest[i + 1] == '\'') {
                text += '\'';
                i += 2;
                continue;
            }
            break;
        }
        text += rest[i++];
    }
    if (!TrimmedBlanks(rest.substr(i + 1)).empty()) throw ado_error::InvalidArgument();
    return text;
}

}  // namespace

FilterExpression ParseFilter(std::string_view expression) {
    std::string_view rest = TrimmedBlanks(expression);
    FilterExpression filter;
    if (rest.empty()) return filter;

    filter.field = ReadFieldName(rest);
    rest = TrimmedBlanks(rest);
    if (rest.empty() || rest.front() != '=') throw ado_error::InvalidArgument();
    rest = TrimmedBlanks(rest.substr(1));
    if (rest.empty()) throw ado_error::InvalidArgument();

    if (rest.front() == '\'') {
        filter.text = ReadQuotedText(rest);
        return filter;
    }
    std::optional<double> number = ReadWholeNumber(rest);
    if (!number) throw ado_error::InvalidArgument();
    filter.isNumber = true;
    filter.number = *number;
    return filter;
}

std::optional<double> ReadWholeNumber(std::string_view text) {
    text = TrimmedBlanks(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    // Only plain decimal forms: from_chars would also take "inf" and "nan".
    char first = text.front() == '-' && text.size() > 1 ? text[1] : text.front();
    if (!((first >= '0' && first <= '9') || first == '.')) return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value + 0.0;  // -0 and 0 are one key
}

std::string TextCompareKey(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    std::string key(text);
    for (char& c : key) c = Upper(c);
    return key;
}

bool SameFieldName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

size_t FieldNameHash(std::string_view name) {
    size_t hash = 14695981039346656037ull;
    for (char c : name) {
        hash ^= static_cast<unsigned char>(Upper(c));
        hash *= 1099511628211ull;
    }
    return hash;
}

}  // namespace zentrail
