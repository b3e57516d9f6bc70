// The escape on any text: the result is text a strict XML 1.0 parser takes, and escaping it
// again with strXmlText changes nothing.

#include <cstddef>
#include <cstdint>
#include <pugixml.hpp>
#include <string>
#include <string_view>

#include "common/utf8_text.h"
#include "fuzz_check.h"
#include "tally/xml_escape.h"

namespace {

// What pugixml does not check itself: UTF-8, allowed characters, and that every "&" begins
// one of the five entities or a reference to an allowed character.
bool StrictCharacters(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t at = pos;
        const char32_t c = zentrail::DecodeUtf8(text, pos);
        if (c == zentrail::kInvalidUtf8 || !zentrail::IsXmlChar(c)) return false;
        if (c == '<' || c == '>') return false;  // always escaped in text
        if (c != '&') continue;
        const std::string_view rest = text.substr(at);
        bool named = false;
        for (std::string_view entity : {"&amp;", "&apos;", "&quot;", "&lt;", "&gt;"})
            named = named || rest.starts_with(entity);
        if (named) continue;
        if (!rest.starts_with("&#")) return false;
        const bool hex = rest.size() > 2 && rest[2] == 'x';
        size_t i = hex ? 3 : 2;
        unsigned long long value = 0;
        const size_t digits = i;
        for (; i < rest.size() && rest[i] != ';'; ++i) {
            const char d = rest[i];
            int digit = d >= '0' && d <= '9'          ? d - '0'
                        : hex && d >= 'a' && d <= 'f' ? d - 'a' + 10
                        : hex && d >= 'A' && d <= 'F' ? d - 'A' + 10
                                                      : -1;
            if (digit < 0) return false;
            value = value * (hex ? 16 : 10) + static_cast<unsigned>(digit);
            if (value > 0x10FFFF) return false;
        }
        if (i == digits || i >= rest.size()) return false;
        if (!zentrail::IsXmlChar(static_cast<char32_t>(value))) return false;
    }
    return true;
}

bool Parses(const std::string& escaped) {
    const std::string doc = "<X a=\"" + escaped + "\">" + escaped + "</X>";
    pugi::xml_document parsed;
    if (!parsed.load_buffer(doc.data(), doc.size())) return false;
    // The attribute and the element read the same text.
    return std::string_view(parsed.child("X").attribute("a").value()) ==
           std::string_view(parsed.child("X").child_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::string once = zentrail::EscapeXmlTextOnce(text);
    FUZZ_CHECK(StrictCharacters(once));
    FUZZ_CHECK(Parses(once));
    FUZZ_CHECK(zentrail::EscapeXmlTextOnce(once) == once);

    std::string variable = text;
    const std::string always = zentrail::XmlEscape(variable);
    FUZZ_CHECK(always == variable);
    FUZZ_CHECK(StrictCharacters(always));
    FUZZ_CHECK(Parses(always));
    return 0;
}
