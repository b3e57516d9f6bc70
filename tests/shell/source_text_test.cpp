// Text from the source arrives as UTF-8 whatever the source's code page.

#include "shell/source_text.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "shell/odbc_connection.h"
#include "shell/sqlite_connection.h"
#include "source_fixture.h"
#include "support/odbc_test_env.h"

namespace zentrail {
namespace {

TEST(SourceText, Utf16BecomesUtf8) {
    struct Case {
        std::u16string in;
        std::string out;
    };
    const Case cases[] = {
        {u"", ""},
        {u"Arun & Sons", "Arun & Sons"},
        {u"Caf\u00E9 Stores", "Caf\xC3\xA9 Stores"},
        {u"\u0B9A\u0BC6\u0BA9\u0BCD\u0BA9\u0BC8",
         "\xE0\xAE\x9A\xE0\xAF\x86\xE0\xAE\xA9\xE0\xAF\x8D"
         "\xE0\xAE\xA9\xE0\xAF\x88"},
        {u"\U0001F600 Mart", "\xF0\x9F\x98\x80 Mart"},
        {u"\u20B9 100", "\xE2\x82\xB9 100"},
        {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
        // A surrogate without its partner is no character.
        {std::u16string{u'x', char16_t(0xD83D), u'y'}, "x\xEF\xBF\xBDy"},
        {std::u16string{char16_t(0xDE00), u'z'}, "\xEF\xBF\xBDz"},
        {std::u16string{u'e', char16_t(0xD83D)}, "e\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) EXPECT_EQ(Utf16ToUtf8(c.in), c.out);
}

TEST(SourceText, BytesThatAreNotUtf8AreWindows1252) {
    struct Case {
        std::string in;
        std::string out;
    };
    const Case cases[] = {
        {"", ""},
        {"Plain ASCII", "Plain ASCII"},
        {"Caf\xC3\xA9 Stores", "Caf\xC3\xA9 Stores"},  // UTF-8 already
        {"Caf\xE9 Stores", "Caf\xC3\xA9 Stores"},      // Windows-1252 é
        {"\x80 5, \x93quoted\x94", "\xE2\x82\xAC 5, \xE2\x80\x9Cquoted\xE2\x80\x9D"},
        {"M\xFCller & S\xF6hne", "M\xC3\xBCller & S\xC3\xB6hne"},
        // The five bytes Windows-1252 leaves unassigned.
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        // One byte that is not UTF-8 makes the whole value Windows-1252.
        {"\xC3\xA9\xE9", "\xC3\x83\xC2\xA9\xC3\xA9"},
    };
    for (const Case& c : cases) EXPECT_EQ(SourceBytesToUtf8(c.in), c.out) << c.in;
    std::string big(100000, '\xE9');
    std::string expected;
    for (int i = 0; i < 100000; ++i) expected += "\xC3\xA9";
    EXPECT_EQ(SourceBytesToUtf8(big), expected);
}

// A file written by a Windows client in its own code page, next to one in UTF-8.
void WriteCodePageFixture(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db,
                     "CREATE TABLE Retailer (RtrId INTEGER PRIMARY KEY, RtrName TEXT);"
                     "INSERT INTO Retailer VALUES (1, CAST(X'436166E92053746F726573' AS TEXT));"
                     "INSERT INTO Retailer VALUES (2, 'Caf\xC3\xA9 Stores');"
                     "INSERT INTO Retailer VALUES (3, CAST(X'80203933' AS TEXT));",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(db);
}

TEST(SourceText, SqliteFileInWindows1252ReadsAsUtf8) {
    test::TempFolder folder;
    const std::filesystem::path file = folder.Path() / "cp1252.db";
    WriteCodePageFixture(file);
    RowSet rows = SqliteConnection(file).Query("SELECT RtrName FROM Retailer ORDER BY RtrId");
    ASSERT_EQ(rows.RowCount(), 3u);
    EXPECT_EQ(rows.Text(0, 0), "Caf\xC3\xA9 Stores");
    EXPECT_EQ(rows.Text(1, 0), "Caf\xC3\xA9 Stores");
    EXPECT_EQ(rows.Text(2, 0), "\xE2\x82\xAC 93");
}

TEST(SourceText, OdbcTextArrivesAsUtf8) {
    ASSERT_TRUE(std::filesystem::exists(test::kOdbcTestDriverFile));
    test::OdbcTestFolder();
    test::TempFolder folder;
    const std::filesystem::path file = folder.Path() / "wide.db";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(
                  db,
                  "CREATE TABLE Retailer (RtrId INTEGER PRIMARY KEY, RtrName NVARCHAR(100));"
                  "INSERT INTO Retailer VALUES (1, 'Caf\xC3\xA9 Stores');"
                  "INSERT INTO Retailer VALUES (2, '\xF0\x9F\x98\x80 \xE0\xAE\x9A\xE2\x82\xB9');",
                  nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    OdbcConnection odbc(
        std::string("Driver=") + test::kOdbcTestDriver + ";Database=" + file.string(), "sa", "");
    RowSet rows = odbc.Query("SELECT RtrName FROM Retailer ORDER BY RtrId");
    ASSERT_EQ(rows.RowCount(), 2u);
    EXPECT_EQ(rows.Text(0, 0), "Caf\xC3\xA9 Stores");
    EXPECT_EQ(rows.Text(1, 0), "\xF0\x9F\x98\x80 \xE0\xAE\x9A\xE2\x82\xB9");
}

}  // namespace
}  // namespace zentrail
