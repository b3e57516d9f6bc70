#include "common/printable_text.h"

#include <gtest/gtest.h>

#include "common/utf8_text.h"

namespace zentrail {
namespace {

TEST(PrintableText, ControlsAreStrippedAndBreaksBecomeOneBlank) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"", ""},
        {"Voucher totals do not match!", "Voucher totals do not match!"},
        {"<RESPONSE>\r\n<LINEERROR>x</LINEERROR>\r\n", "<RESPONSE> <LINEERROR>x</LINEERROR> "},
        {"a\t\tb\n\n\nc", "a b c"},
        {"\x1B[2J\x1B[31mred\x1B[0m", "[2J[31mred[0m"},
        {std::string("nul\0here", 8), "nulhere"},
        {"bell\x07 del\x7F c1\xC2\x9B"
         "31m",
         "bell del c131m"},
        {"Caf\xE9", "Caf\xEF\xBF\xBD"},  // not UTF-8: the replacement character
        {"Caf\xC3\xA9 \xF0\x9F\x98\x80", "Caf\xC3\xA9 \xF0\x9F\x98\x80"},
    };
    for (const Case& c : cases) EXPECT_EQ(PrintableText(c.in), c.out) << c.in;
}

TEST(PrintableText, CutsAtCharacterBoundaries) {
    // 300 two-byte and four-byte characters: the cut keeps whole characters only.
    std::string accents, emoji;
    for (int i = 0; i < 300; ++i) {
        accents += "\xC3\xA9";
        emoji += "\xF0\x9F\x98\x80";
    }
    for (const std::string* text : {&accents, &emoji}) {
        for (size_t limit : {0u, 1u, 199u, 200u}) {
            const std::string cut = PrintableText(*text, limit);
            EXPECT_TRUE(IsValidUtf8(cut));
            EXPECT_EQ(cut, text->substr(0, limit * (text == &accents ? 2 : 4)));
        }
    }
    EXPECT_EQ(PrintableText("ab\x01\x02\x03"
                            "cd",
                            3),
              "abc");
    EXPECT_EQ(PrintableText("abc", 200), "abc");
}

}  // namespace
}  // namespace zentrail
