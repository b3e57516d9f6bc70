#include "common/printable_text.h"

#include <algorithm>

#include "common/utf8_text.h"

namespace zentrail {

std::string PrintableText(std::string_view text, size_t maxChars) {
    std::string out;
    out.reserve(std::min(text.size(), maxChars));
    size_t chars = 0;
    bool lastWasBreak = false;
    size_t pos = 0;
    while (pos < text.size() && chars < maxChars) {
        const size_t start = pos;
        char32_t c = DecodeUtf8(text, pos);
        if (c == '\t' || c == '\n' || c == '\r') {
            if (lastWasBreak) continue;
            lastWasBreak = true;
            out += ' ';
            ++chars;
            continue;
        }
        lastWasBreak = false;
        if (c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F)) continue;
        if (c == kInvalidUtf8) {
            AppendUtf8(out, 0xFFFD);
        } else {
            out.append(text, start, pos - start);
        }
        ++chars;
    }
    return out;
}

}  // namespace zentrail
