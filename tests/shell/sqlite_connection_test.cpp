#include "shell/sqlite_connection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "shell/configuration.h"
#include "shell/iso_date.h"
#include "source_fixture.h"

namespace zentrail {
namespace {

using test::SalesOfRange;
using test::TempFolder;

class SqliteSource : public ::testing::Test {
protected:
    void SetUp() override { test::WriteSalesFixture(file_); }

    TempFolder folder_;
    std::filesystem::path file_ = folder_.Path() / "dms.db";
};

TEST_F(SqliteSource, DayRangeIncludesTheWholeLastDay) {
    SqliteConnection connection(file_);
    RowSet rows = connection.Query(SalesOfRange("01/30/2024", "01/31/2024"));
    EXPECT_EQ(rows.FieldNames(),
              (std::vector<std::string>{"SalId", "SalInvNo", "SalInvDate", "RtrName", "SalNetAmt",
                                        "Remarks", "DueDate"}));
    ASSERT_EQ(rows.RowCount(), 2u);  // not INV004 (not delivered), nor the days around
    EXPECT_EQ(rows.Text(0, 1), "INV001");
    EXPECT_EQ(rows.Text(1, 1), "INV002");
    EXPECT_EQ(rows.Text(0, 2), "20240130");
    EXPECT_EQ(rows.Text(1, 2), "20240131");
    EXPECT_EQ(rows.Text(0, 3), "Arun & Sons");
    EXPECT_EQ(rows.Text(1, 3), "Zoë's \"Mart\"");
    EXPECT_EQ(rows.Text(0, 4), "1180.5");
    EXPECT_EQ(rows.Text(1, 4), "236");
    EXPECT_TRUE(rows.IsNull(0, 5));
    EXPECT_EQ(rows.Text(1, 5), test::LongRemark());
    EXPECT_EQ(rows.Text(0, 6), "20240229");  // a DATE column
    EXPECT_TRUE(rows.IsNull(1, 6));

    EXPECT_EQ(connection.Query(SalesOfRange("02/01/2024", "01/31/2024")).RowCount(), 0u);
}

TEST_F(SqliteSource, OnlyValidIsoTextInDateColumnsBecomesADate) {
    SqliteConnection connection(file_);
    RowSet rows = connection.Query(
        "SELECT SalInvNo, DueDate, IsoText, SalInvDate FROM SalesInvoice ORDER BY SalId");
    ASSERT_EQ(rows.RowCount(), 5u);
    EXPECT_EQ(rows.Text(0, 2), "2024-01-30");  // text column: as stored
    EXPECT_EQ(rows.Text(2, 1), "2024-02-30");  // no such day: as stored
    EXPECT_EQ(rows.Text(4, 1), "n/a");
    EXPECT_EQ(rows.Text(3, 3), "20240131");
}

TEST_F(SqliteSource, WritingFails) {
    SqliteConnection connection(file_);
    try {
        connection.Query("INSERT INTO SalesInvoice (SalId) VALUES (99)");
        FAIL() << "the write went through";
    } catch (const DbError& error) {
        EXPECT_EQ(error.Number(), 8);  // SQLITE_READONLY
        EXPECT_EQ(error.Description(), "attempt to write a readonly database");
    }
    EXPECT_EQ(connection.Query("SELECT * FROM SalesInvoice").RowCount(), 5u);
}

TEST_F(SqliteSource, QueryErrorsCarryTheDatabasesText) {
    SqliteConnection connection(file_);
    struct Case {
        const char* sql;
        long number;
        const char* description;
    };
    const Case cases[] = {
        {"SELECT * FROM NoSuchTable", 1, "no such table: NoSuchTable"},
        // An idiom that cannot be translated reaches SQLite as written.
        {"SELECT 1 FROM SalesInvoice A WHERE "
         "CONVERT(DATETIME,CONVERT(VARCHAR(10),A.SalInvDate,101)) >= '02/30/2024'",
         1, "no such column: DATETIME"},
        {"SELECT 1; SELECT 2", 21, "The SQL text holds more than one statement."},
        {"  ", 21, "The SQL text holds no statement."},
    };
    for (const Case& c : cases) {
        try {
            connection.Query(c.sql);
            ADD_FAILURE() << c.sql;
        } catch (const DbError& error) {
            EXPECT_EQ(error.Number(), c.number) << c.sql;
            EXPECT_EQ(error.Description(), c.description) << c.sql;
        }
    }
    EXPECT_EQ(connection.Query("SELECT 1 ; ").RowCount(), 1u);
}

// Another program writing the file holds its lock: the wait is told once, Stop ends it, and the
// next query after the lock is gone runs as usual.
TEST_F(SqliteSource, ALockHeldByAnotherProgramIsToldAndStopEndsTheWait) {
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(file_.string().c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    SqliteConnection source(file_);
    std::atomic<int> told{0};
    std::atomic<bool> stop{false};
    source.SetWait({.onWaiting = [&] { ++told; }, .giveUp = [&] { return stop.load(); }});
    std::atomic<bool> ended{false};
    bool failed = false;
    std::thread query([&] {
        try {
            source.Query("SELECT COUNT(*) FROM SalesInvoice");
        } catch (const DbError&) {
            failed = true;
        }
        ended = true;
    });
    for (int i = 0; i < 600 && told == 0 && !ended; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(told, 1) << "the wait was not told";
    EXPECT_FALSE(ended) << "the query did not wait for the lock";
    stop = true;
    query.join();
    EXPECT_TRUE(failed);
    EXPECT_EQ(told, 1);

    ASSERT_EQ(sqlite3_exec(writer, "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(writer);
    stop = false;
    EXPECT_EQ(source.Query("SELECT COUNT(*) AS n FROM SalesInvoice").RowCount(), 1u);
    EXPECT_EQ(told, 1);
}

TEST_F(SqliteSource, MissingFileIsAnErrorNotANewDatabase) {
    try {
        SqliteConnection connection(folder_.Path() / "missing.db");
        FAIL() << "opened a missing file";
    } catch (const DbError& error) {
        EXPECT_EQ(error.Number(), 14);  // SQLITE_CANTOPEN
        EXPECT_EQ(error.Description(), "unable to open database file");
    }
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() / "missing.db"));
}

TEST_F(SqliteSource, ChosenForAnExistingFileWithADatabaseEnding) {
    std::filesystem::copy_file(file_, folder_.Path() / "Demo.SQLite3");
    std::filesystem::copy_file(file_, folder_.Path() / "demo.sqlite");
    std::filesystem::create_directory(folder_.Path() / "folder.db");
    std::ofstream(folder_.Path() / "notes.txt") << "x";
    const std::filesystem::path& dir = folder_.Path();
    struct Case {
        std::string odbc;
        std::optional<std::filesystem::path> file;
    };
    const Case cases[] = {
        {"dms.db", dir / "dms.db"},
        {"Demo.SQLite3", dir / "Demo.SQLite3"},
        {"demo.sqlite", dir / "demo.sqlite"},
        {file_.string(), file_},
        {"DMSDB", std::nullopt},
        {"missing.db", std::nullopt},
        {"folder.db", std::nullopt},
        {"notes.txt", std::nullopt},
        {"Driver=SQLite3;Database=dms.db", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(SqliteSourceFile(c.odbc, dir), c.file) << c.odbc;
}

TEST_F(SqliteSource, SharedSetsOverTheFile) {
    Configuration config;
    config.strSqlOdbc = file_.string();
    config.strSqlUser = "sa";
    SourceDatabase database;
    database.OpenConnection(config);
    Recordset sales = database.Open(SalesOfRange("01/29/2024", "02/01/2024"));
    EXPECT_EQ(sales.RecordCount(), 4);
    sales.Filter("[SalInvNo] = 'inv003'");
    EXPECT_EQ(sales.Fields("salinvdate").Value(), "20240201");

    Recordset none = database.Open(SalesOfRange("03/01/2024", "03/31/2024"));
    EXPECT_TRUE(none.Eof());
    EXPECT_EQ(none.State(), Recordset::kStateOpen);
}

// A query running on one thread ends with an error when another thread interrupts it, and
// the connection serves the next query.
TEST_F(SqliteSource, AQueryInterruptedFromAnotherThreadFails) {
    SqliteConnection connection(file_);
    EXPECT_TRUE(test::EndsWhenInterrupted(connection));
    EXPECT_EQ(connection.Query("SELECT SalId FROM SalesInvoice").RowCount(), 5u);
}

TEST(IsoDate, ToDateText) {
    struct Case {
        const char* iso;
        std::optional<std::string> text;
    };
    const Case cases[] = {
        {"2024-01-31", "20240131"},          {"2024-01-31 23:59:59.997", "20240131"},
        {"2024-01-31T08:00:00", "20240131"}, {"2024-02-29 00:00:00 +05:30", "20240229"},
        {"2000-02-29", "20000229"},          {"1900-02-29", std::nullopt},
        {"2023-02-29", std::nullopt},        {"2024-04-31", std::nullopt},
        {"2024-00-10", std::nullopt},        {"2024-1-31", std::nullopt},
        {"2024/01/31", std::nullopt},        {"20240131", std::nullopt},
        {"2024-01-31x", std::nullopt},       {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(DateTextFromIso(c.iso), c.text) << c.iso;
}

}  // namespace
}  // namespace zentrail

namespace zentrail {
namespace {

// Reading a database in WAL mode leaves no -wal or -shm file beside it, whatever its path.
TEST(SqliteWalSource, NothingIsLeftBesideTheFile) {
    test::TempFolder folder;
    for (const char* name : {"dms.db", "odd %41 #1 ?x.db"}) {
        const std::filesystem::path file = folder.Path() / name;
        test::WriteSalesFixture(file);
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(file.string().c_str(), &raw), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(raw, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(raw);
        std::filesystem::path wal = file, shm = file;
        wal += "-wal";
        shm += "-shm";
        ASSERT_FALSE(std::filesystem::exists(wal));
        {
            SqliteConnection connection(file);
            EXPECT_EQ(connection.Query("SELECT SalId FROM SalesInvoice").RowCount(), 5u) << name;
            EXPECT_FALSE(std::filesystem::exists(wal)) << name;
            EXPECT_FALSE(std::filesystem::exists(shm)) << name;
        }
        EXPECT_FALSE(std::filesystem::exists(wal)) << name;
        EXPECT_FALSE(std::filesystem::exists(shm)) << name;
    }
}

// While a writer has the file open, its newest rows (still in the -wal file) are read.
TEST(SqliteWalSource, AFileInUseIsReadWithItsLog) {
    test::TempFolder folder;
    const std::filesystem::path file = folder.Path() / "busy.db";
    test::WriteSalesFixture(file);
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(file.string().c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer,
                           "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0; "
                           "INSERT INTO SalesInvoice (SalId, SalInvNo) VALUES (77, 'NEW')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(SqliteConnection(file).Query("SELECT SalId FROM SalesInvoice").RowCount(), 6u);
    sqlite3_close(writer);
}

}  // namespace
}  // namespace zentrail
