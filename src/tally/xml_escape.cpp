#include "tally/xml_escape.h"

#include <array>

namespace zentrail {

std::string TrimBlanks(std::string_view text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

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
    while (i < rest.size() && (hex ? IsHexDigit(rest[i]) : (rest[i] >= '0' && rest[i] <= '9'))) ++i;
    if (i == digitsStart || i >= rest.size() || rest[i] != ';') return 0;
    return i + 1;
}

}  // namespace

std::string XmlEscape(std::string& text) {
    std::string trimmed = TrimBlanks(text);
    std::string escaped;
    escaped.reserve(trimmed.size() + 16);
    for (char c : trimmed) AppendXmlEntity(escaped, c);
    text = escaped;
    return TrimBlanks(text);
}

std::string EscapeXmlTextOnce(std::string_view input) {
    std::string text = TrimBlanks(input);
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
        AppendXmlEntity(out, text[i]);
    }
    return TrimBlanks(out);
}

}  // namespace zentrail
