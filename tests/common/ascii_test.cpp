#include "common/ascii.h"

#include <gtest/gtest.h>

#include <cctype>
#include <clocale>
#include <string>

namespace zentrail {
namespace {

TEST(Ascii, CharacterClasses) {
    for (char c : std::string("0123456789")) EXPECT_TRUE(ascii::IsDigit(c)) << c;
    for (char c : std::string("/:aA +-\xd9\xa0")) EXPECT_FALSE(ascii::IsDigit(c)) << c;
    for (char c : std::string(" \t\r\n")) EXPECT_TRUE(ascii::IsBlank(c));
    for (char c : std::string("x\v\f\xa0")) EXPECT_FALSE(ascii::IsBlank(c));
}

TEST(Ascii, CaseOfLettersOnly) {
    EXPECT_EQ(ascii::Upper("sql_Password 9:z@[`{"), "SQL_PASSWORD 9:Z@[`{");
    EXPECT_EQ(ascii::Lower("SalInvNo_AZ@[`{"), "salinvno_az@[`{");
    // Bytes of UTF-8 text stay as they are: "é" and "ÿ" are not ASCII letters.
    EXPECT_EQ(ascii::Upper("caf\xc3\xa9 \xff"), "CAF\xc3\xa9 \xff");
    EXPECT_EQ(ascii::Lower("CAF\xc3\x89"), "caf\xc3\x89");
    EXPECT_EQ(ascii::Upper('q'), 'Q');
    EXPECT_EQ(ascii::Lower('Q'), 'q');
    EXPECT_EQ(ascii::Lower('@'), '@');
}

// A workstation language must not change how keys compare: under a Latin-1 locale the C
// library cases "\xe9" (e acute); these helpers leave every byte above ASCII alone.
TEST(Ascii, IndependentOfTheLocale) {
    const char* previous = std::setlocale(LC_CTYPE, nullptr);
    const std::string saved = previous ? previous : "C";
    bool latin1 = false;
    for (const char* name : {"en_US.ISO-8859-1", "de_DE.ISO-8859-1", "en_US.iso88591",
                             "de_DE.iso88591", "en_US", "de_DE"})
        if (std::setlocale(LC_CTYPE, name) != nullptr && std::toupper(0xe9) == 0xc9) {
            latin1 = true;
            break;
        }
    std::string upper = ascii::Upper("ledger_id \xe9");
    std::string lower = ascii::Lower("\xc9X");
    std::setlocale(LC_CTYPE, saved.c_str());
    if (!latin1) GTEST_SKIP() << "no Latin-1 locale installed";
    EXPECT_EQ(upper, "LEDGER_ID \xe9");
    EXPECT_EQ(lower, "\xc9x");
}

TEST(Ascii, DigitsValueOfDigitsOnly) {
    EXPECT_EQ(ascii::DigitsValue("0042"), 42);
    EXPECT_EQ(ascii::DigitsValue("2024"), 2024);
    EXPECT_EQ(ascii::DigitsValue("0"), 0);
    for (const char* text : {"", "+1", "-1", " 1", "1 ", "1a", "0x1", "\xd9\xa1"})
        EXPECT_EQ(ascii::DigitsValue(text), std::nullopt) << '"' << text << '"';
}

TEST(Ascii, EqualNoCase) {
    EXPECT_TRUE(ascii::EqualNoCase("Driver", "DRIVER"));
    EXPECT_TRUE(ascii::EqualNoCase("", ""));
    EXPECT_FALSE(ascii::EqualNoCase("Driver", "Drive"));
    EXPECT_FALSE(ascii::EqualNoCase("a@", "A`"));
    EXPECT_FALSE(ascii::EqualNoCase("\xc3\xa9", "\xc3\x89"));
}

}  // namespace
}  // namespace zentrail
