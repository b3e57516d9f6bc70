#include "tally/xml_escape.h"

#include <array>

#include "common/utf8_text.h"

namespace zentrail {

std::string_view BlankTrimmed(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string TrimBlanks(std::string_view text) { return std::string(BlankTrimmed(text)); }

void AppendXmlEntity(std::string& out, char c) {
    switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
    }
}

namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Length of the entity or character reference that starts at text[pos] (an "&"), or 0.
size_t EntityLength(std::string_view text, size_t pos) {
    static constexpr std::array<std::string_view, 5> kNamed = {"&amp;", "&apos;", "&quot;", "&lt;",
                                                               "&gt;"};
    std::string_view rest = text.substr(pos);
    for (std::string_view entity : kNamed)
        if (rest.starts_with(entity)) return entity.size();
    if (!rest.starts_with("&#")) return 0;
    size_t i = 2;
    bool hex = i < rest.size() && rest[i] == 'x';
    if (hex) ++i;
    size_t digitsStart = i;
    char32_t value = 0;
    while (i < rest.size() && (hex ? IsHexDigit(rest[i]) : (rest[i] >= '0' && rest[i] <= '9'))) {
        const char d = rest[i];
        const char32_t digit = d <= '9' ? d - '0' : (d | 0x20) - 'a' + 10;
        value = value * (hex ? 16 : 10) + digit;
        if (value > 0x10FFFF) value = 0x110000;  // stays out of range without overflowing
        ++i;
    }
    if (i == digitsStart || i >= rest.size() || rest[i] != ';') return 0;
    // A reference to a character XML forbids would make the request malformed (and cut the
    // text short in some parsers): it is then no reference, and its "&" gets escaped.
    if (!IsXmlChar(value)) return 0;
    return i + 1;
}

// Tab, line feed and carriage return go as references: a parser turns them into blanks in an
// attribute and a CR LF into LF in content, so a name would read differently where it is an
// attribute (NAME, REMOTEID) and where it is an element.
void AppendEscaped(std::string& out, char c) {
    switch (c) {
        case '\t':
            out += "&#9;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            AppendXmlEntity(out, c);
    }
}

bool IsPlainXmlByte(unsigned char c) {
    return c >= 0x20 ? c < 0x80 : (c == 0x9 || c == 0xA || c == 0xD);
}

}  // namespace

std::string KeepXmlChars(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && IsPlainXmlByte(static_cast<unsigned char>(text[pos]))) ++pos;
    if (pos == text.size()) return std::string(text);
    std::string kept(text.substr(0, pos));
    while (pos < text.size()) {
        const size_t start = pos;
        const char32_t c = DecodeUtf8(text, pos);
        if (c != kInvalidUtf8 && IsXmlChar(c)) kept.append(text, start, pos - start);
    }
    return kept;
}

std::string XmlEscape(std::string& text) {
    std::string trimmed = TrimBlanks(KeepXmlChars(text));
    std::string escaped;
    escaped.reserve(trimmed.size() + 16);
    for (char c : trimmed) AppendEscaped(escaped, c);
    text = escaped;
    return TrimBlanks(text);
}

std::string EscapeXmlTextOnce(std::string_view input) {
    std::string text = TrimBlanks(KeepXmlChars(input));
    std::string out;
    out.reserve(text.size() + 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            size_t length = EntityLength(text, i);
            if (length > 0) {
                out.append(text, i, length);
                i += length - 1;
                continue;
            }
        }
        AppendEscaped(out, text[i]);
    }
    return TrimBlanks(out);
}

}  // namespace zentrail
