#include "common/gstin.h"

#include <gtest/gtest.h>

namespace zentrail {
namespace {

TEST(Utf8CharacterCount, CountsCharactersNotBytes) {
    EXPECT_EQ(Utf8CharacterCount(""), 0u);
    EXPECT_EQ(Utf8CharacterCount("27AAACB1234F1Z5"), 15u);
    EXPECT_EQ(Utf8CharacterCount("\xc3\xa9t\xc3\xa9"), 3u);             // "été", 5 bytes
    EXPECT_EQ(Utf8CharacterCount("\xe0\xa4\x97\xf0\x9f\x98\x80"), 2u);  // 3 + 4 bytes
}

struct GstinCase {
    const char* text;
    bool counts;
};

TEST(HasGstin, TenCharactersAfterTrimmingBlanks) {
    const GstinCase cases[] = {
        {"", false},
        {"          ", false},                                // ten blanks
        {"123456789", false},                                 // nine
        {"1234567890", true},                                 // ten
        {"27AAACB1234F1Z5", true},                            // fifteen
        {"   123456789   ", false},                           // nine padded to fifteen bytes
        {" 123456789 ", false},                               // nine padded to eleven bytes
        {"  1234567890  ", true},                             // ten padded
        {"12345 6789", true},                                 // an inner blank is a character
        {"\t123456789", true},                                // only blanks are trimmed, not tabs
        {"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", false},  // five characters, ten bytes
        {"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"
         "12345",
         true},  // ten characters
    };
    for (const GstinCase& c : cases) EXPECT_EQ(HasGstin(c.text), c.counts) << '"' << c.text << '"';
}

}  // namespace
}  // namespace zentrail
