#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zentrail {

// Marks a byte sequence that is not well-formed UTF-8 (overlong, surrogate, beyond U+10FFFF,
// cut short or a stray continuation byte).
inline constexpr char32_t kInvalidUtf8 = 0xFFFFFFFF;

// Decodes the character that starts at text[pos] and advances pos past it. On a malformed
// sequence returns kInvalidUtf8 and advances pos by one byte only, so the caller can resume.
char32_t DecodeUtf8(std::string_view text, size_t& pos);

// Appends the UTF-8 form of a code point (which must be a Unicode scalar value).
void AppendUtf8(std::string& out, char32_t c);

bool IsValidUtf8(std::string_view text);

// True for the characters an XML 1.0 document may hold: tab, line feed, carriage return,
// U+0020..U+D7FF, U+E000..U+FFFD and U+10000..U+10FFFF.
constexpr bool IsXmlChar(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

}  // namespace zentrail
