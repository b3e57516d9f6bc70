#include "shell/terminal_text.h"

#include "common/printable_text.h"
#include "common/utf8_text.h"
#include "shell/platform.h"

namespace zentrail {

size_t DisplayColumns(std::string_view text) {
    size_t columns = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        const char32_t c = DecodeUtf8(text, pos);
        columns += c < 0x80 ? 1 : static_cast<size_t>(platform::DisplayWidth(c));
    }
    return columns;
}

std::string FitColumns(std::string_view text, size_t columns) {
    const std::string printable = PrintableText(text);
    size_t used = 0;
    size_t pos = 0;
    while (pos < printable.size()) {
        size_t next = pos;
        const char32_t c = DecodeUtf8(printable, next);
        const size_t width = c < 0x80 ? 1 : static_cast<size_t>(platform::DisplayWidth(c));
        if (used + width > columns) break;
        used += width;
        pos = next;
    }
    // Combining marks that follow the last character kept belong to it.
    while (pos < printable.size()) {
        size_t next = pos;
        const char32_t c = DecodeUtf8(printable, next);
        if (c < 0x80 || platform::DisplayWidth(c) != 0) break;
        pos = next;
    }
    return printable.substr(0, pos);
}

}  // namespace zentrail
