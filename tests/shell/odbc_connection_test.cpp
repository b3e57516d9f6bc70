#include "shell/odbc_connection.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "screens/connection_tests.h"
#include "shell/configuration.h"
#include "shell/sqlite_connection.h"
#include "source_fixture.h"
#include "support/odbc_test_env.h"

namespace zentrail {
namespace {

using test::SalesOfRange;

// The same day range as SalesOfRange in SQLite's own words: the ODBC path passes SQL through
// untranslated, since its production database is SQL Server.
const char* const kSqliteSalesOfRange =
    "SELECT A.SalId, A.SalInvNo, A.SalInvDate, A.RtrName, A.SalNetAmt, A.Remarks, A.DueDate "
    "FROM SalesInvoice A WHERE date(A.SalInvDate) >= '2024-01-30' "
    "AND date(A.SalInvDate) <= '2024-01-31' AND A.DlvSts >= 3 ORDER BY A.SalInvNo";

class OdbcSource : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(std::filesystem::exists(test::kOdbcTestDriverFile))
            << "the SQLite ODBC driver (Debian libsqliteodbc) is not installed";
        std::filesystem::remove(test::OdbcTestDsnFile());
        test::WriteSalesFixture(test::OdbcTestDsnFile());
    }

    static std::string ConnectionString() {
        return std::string("Driver=") + test::kOdbcTestDriver +
               ";Database=" + test::OdbcTestDsnFile().string() + ";NoCreat=1";
    }

    static size_t InvoiceCount() {
        return SqliteConnection(test::OdbcTestDsnFile())
            .Query("SELECT * FROM SalesInvoice")
            .RowCount();
    }
};

void ExpectSameRows(const RowSet& actual, const RowSet& expected) {
    ASSERT_EQ(actual.FieldNames(), expected.FieldNames());
    ASSERT_EQ(actual.RowCount(), expected.RowCount());
    for (size_t row = 0; row < actual.RowCount(); ++row) {
        for (size_t field = 0; field < actual.FieldCount(); ++field) {
            EXPECT_EQ(actual.IsNull(row, field), expected.IsNull(row, field))
                << row << " " << actual.FieldNames()[field];
            EXPECT_EQ(actual.Text(row, field), expected.Text(row, field))
                << row << " " << actual.FieldNames()[field];
        }
    }
}

DbError ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const DbError& error) {
        return error;
    }
    return DbError(0, "no error");
}

// Dates as YYYYMMDD, NULLs, non-ASCII text and a 10,000-character value read in pieces.
TEST_F(OdbcSource, DataSourceGivesWhatTheEmbeddedFileGives) {
    OdbcConnection odbc(test::kOdbcTestDsn, "sa", "");
    SqliteConnection embedded(test::OdbcTestDsnFile());
    RowSet rows = odbc.Query(kSqliteSalesOfRange);
    ExpectSameRows(rows, embedded.Query(SalesOfRange("01/30/2024", "01/31/2024")));
    ASSERT_EQ(rows.RowCount(), 2u);
    EXPECT_EQ(rows.Text(1, 2), "20240131");
    EXPECT_EQ(rows.Text(1, 5).size(), test::LongRemark().size());
}

TEST_F(OdbcSource, ConnectionStringWithTheLogonAdded) {
    OdbcConnection odbc(ConnectionString(), "sa", "");
    ExpectSameRows(
        odbc.Query(kSqliteSalesOfRange),
        SqliteConnection(test::OdbcTestDsnFile()).Query(SalesOfRange("01/30/2024", "01/31/2024")));
}

// The driver reports SQLite as its database, so the screens' T-SQL day comparisons are
// translated as for a file opened directly, by data source name and connection string alike.
TEST_F(OdbcSource, TheScreensIdiomIsTranslatedForASqliteFile) {
    const RowSet embedded =
        SqliteConnection(test::OdbcTestDsnFile()).Query(SalesOfRange("01/30/2024", "01/31/2024"));
    ASSERT_EQ(embedded.RowCount(), 2u);
    for (const std::string& source : {std::string(test::kOdbcTestDsn), ConnectionString(),
                                      std::string("DRIVER={") + test::kOdbcTestDriver +
                                          "};Database=" + test::OdbcTestDsnFile().string()}) {
        OdbcConnection odbc(source, "sa", "");
        ExpectSameRows(odbc.Query(SalesOfRange("01/30/2024", "01/31/2024")), embedded);
    }
}

// The driver names its database and version, by data source name and connection string alike.
TEST_F(OdbcSource, NamesTheDatabaseProductAndVersion) {
    EXPECT_EQ(SqliteConnection(test::OdbcTestDsnFile()).ProductName(),
              std::string("SQLite ") + sqlite3_libversion());
    for (const std::string& source : {std::string(test::kOdbcTestDsn), ConnectionString()}) {
        // The driver has SQLite built in or linked: its own version, whatever it is.
        const std::string product = OdbcConnection(source, "sa", "").ProductName();
        EXPECT_TRUE(product.starts_with("SQLite 3.")) << source << ": " << product;
        EXPECT_GT(product.size(), std::string("SQLite 3.").size()) << source;
    }
}

// The settings' database test counts through the driver as through the file itself.
TEST_F(OdbcSource, ConnectionTestCountsAsTheEmbeddedFile) {
    const size_t january = SqliteConnection(test::OdbcTestDsnFile())
                               .Query(
                                   "SELECT * FROM SalesInvoice WHERE SalInvDate >= "
                                   "'2024-01-01' AND SalInvDate < '2024-02-01'")
                               .RowCount();
    ASSERT_GT(january, 0u);
    Configuration config;
    config.strSqlOdbc = test::kOdbcTestDsn;
    config.strSqlUser = "sa";
    const ConnectionTestResult result =
        TestSourceDatabase(config, OpenSourceConnection, CalendarDate{2024, 1, 20});
    EXPECT_TRUE(result.passed) << result.message;
    EXPECT_TRUE(
        result.message.starts_with(std::string("Opened \"") + test::kOdbcTestDsn + "\": SQLite 3."))
        << result.message;
    EXPECT_TRUE(result.message.ends_with("; " + std::to_string(january) +
                                         " sales invoices dated in January 2024"))
        << result.message;
}

// A mistyped path must not leave an empty database behind.
TEST_F(OdbcSource, AMissingFileIsAnErrorNotANewFile) {
    test::TempFolder folder;
    const std::filesystem::path missing = folder.Path() / "mistyped.db";
    for (const std::string& driver : {std::string("Driver=") + test::kOdbcTestDriver,
                                      std::string("DRIVER={") + test::kOdbcTestDriver + "}"}) {
        DbError error =
            ErrorOf([&] { OdbcConnection(driver + ";Database=" + missing.string(), "sa", ""); });
        EXPECT_NE(error.Description(), "no error") << driver;
        EXPECT_FALSE(std::filesystem::exists(missing)) << driver;
    }
    // A data source set up without NoCreat over a file that is not there.
    EXPECT_NE(ErrorOf([] { OdbcConnection(test::kOdbcCreatingDsn, "sa", ""); }).Description(),
              "no error");
    EXPECT_FALSE(std::filesystem::exists(test::OdbcCreatingDsnFile()));

    Configuration config;
    config.strSqlOdbc =
        std::string("DRIVER={") + test::kOdbcTestDriver + "};Database=" + missing.string();
    SourceDatabase database;
    EXPECT_NE(ErrorOf([&] { database.OpenConnection(config); }).Description(), "no error");
    EXPECT_FALSE(std::filesystem::exists(missing));
}

// A logon that looks like more keys reads the intended file and never creates one.
TEST_F(OdbcSource, HostileLogonValuesAreOnlyValues) {
    test::TempFolder folder;
    const std::filesystem::path other = folder.Path() / "other.db";
    const std::filesystem::path missing = folder.Path() / "mistyped.db";
    const std::string driver = std::string("Driver=") + test::kOdbcTestDriver;
    const std::pair<std::string, std::string> logons[] = {
        {"sa", "x;Database=" + other.string() + ";y"},
        {"x;Database=" + other.string() + ";y", ""},
        {"sa", "x;NoCreat=0"},
        {"sa", "a};NoCreat=0;x={"},
    };
    for (const auto& [user, password] : logons) {
        {
            OdbcConnection odbc(driver + ";Database=" + test::OdbcTestDsnFile().string(), user,
                                password);
            EXPECT_EQ(odbc.Query("SELECT SalId FROM SalesInvoice").RowCount(), 5u) << password;
        }
        EXPECT_FALSE(std::filesystem::exists(other)) << user << " " << password;
        EXPECT_NE(ErrorOf([&] {
                      OdbcConnection(driver + ";Database=" + missing.string(), user, password);
                  }).Description(),
                  "no error")
            << password;
        EXPECT_FALSE(std::filesystem::exists(missing)) << user << " " << password;
    }
}

TEST_F(OdbcSource, ErrorsCarryNativeNumberStateAndMessage) {
    DbError unknown = ErrorOf([] { OdbcConnection("NoSuchDsn", "sa", ""); });
    EXPECT_EQ(unknown.Number(), 0);
    EXPECT_EQ(unknown.Description(),
              "IM002: [unixODBC][Driver Manager]Data source name not found and no default driver "
              "specified");

    OdbcConnection odbc(test::kOdbcTestDsn, "sa", "");
    DbError query = ErrorOf([&] { odbc.Query("SELECT * FROM NoSuchTable"); });
    EXPECT_EQ(query.Number(), 1);
    EXPECT_EQ(query.Description(), "HY000: [SQLite]no such table: NoSuchTable (1)");
    EXPECT_EQ(odbc.Query("SELECT SalId FROM SalesInvoice").RowCount(), 5u);  // still usable
}

// The driver ignores the read-only access mode; the rollback of every query undoes the write
// and the open routine reports a statement without a result set as an error.
TEST_F(OdbcSource, WritesAreUndone) {
    OdbcConnection odbc(ConnectionString(), "sa", "");
    odbc.Query("INSERT INTO SalesInvoice (SalId, SalInvNo) VALUES (99, 'X')");
    odbc.Query("DELETE FROM SalesInvoice");
    EXPECT_EQ(odbc.Query("SELECT SalId FROM SalesInvoice").RowCount(), 5u);
    EXPECT_EQ(InvoiceCount(), 5u);

    Configuration config;
    config.strSqlOdbc = test::kOdbcTestDsn;
    SourceDatabase database;
    database.OpenConnection(config);
    EXPECT_EQ(
        ErrorOf([&] { database.Open("UPDATE SalesInvoice SET RtrName = 'changed'"); }).Number(),
        3704);
    database.cnSource.reset();
    EXPECT_EQ(SqliteConnection(test::OdbcTestDsnFile())
                  .Query("SELECT 1 FROM SalesInvoice WHERE RtrName = 'changed'")
                  .RowCount(),
              0u);
}

TEST_F(OdbcSource, SharedSetsOverTheDataSource) {
    Configuration config;
    config.strSqlOdbc = test::kOdbcTestDsn;
    config.strSqlUser = "sa";
    config.strSqlPassword = "";
    SourceDatabase database;
    database.OpenConnection(config);
    Recordset rs = database.Open(kSqliteSalesOfRange);
    EXPECT_EQ(rs.RecordCount(), 2);
    rs.Filter("[SALID] = 2.0");
    EXPECT_EQ(rs.Fields("rtrname").Value(), "Zoë's \"Mart\"");
}

// A query running on one thread ends with an error when another thread interrupts it, and
// the connection serves the next query.
TEST_F(OdbcSource, AQueryInterruptedFromAnotherThreadFails) {
    OdbcConnection odbc(ConnectionString(), "", "");
    EXPECT_TRUE(test::EndsWhenInterrupted(odbc));
    EXPECT_EQ(odbc.Query("SELECT SalId FROM SalesInvoice").RowCount(), InvoiceCount());
}

TEST_F(OdbcSource, AWalFileLeavesNothingBehind) {
    test::TempFolder folder;
    const std::filesystem::path file = folder.Path() / "wal.db";
    test::WriteSalesFixture(file);
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(raw);
    {
        OdbcConnection odbc(
            std::string("Driver=") + test::kOdbcTestDriver + ";Database=" + file.string(), "sa",
            "");
        EXPECT_EQ(odbc.Query("SELECT SalId FROM SalesInvoice").RowCount(), 5u);
    }
    std::filesystem::path wal = file, shm = file;
    wal += "-wal";
    shm += "-shm";
    EXPECT_FALSE(std::filesystem::exists(wal));
    EXPECT_FALSE(std::filesystem::exists(shm));
}

TEST(ConnectionString, LogonAddedUnlessTheStringSetsIt) {
    struct Case {
        const char* connection;
        const char* user;
        const char* password;
        const char* full;
    };
    const Case cases[] = {
        {"Driver=FreeTDS;Server=db1", "sa", "", "Driver=FreeTDS;Server=db1;UID={sa};PWD={};"},
        {"DSN=DMSDB;", "sa", "s3cret", "DSN=DMSDB;UID={sa};PWD={s3cret};"},
        {"DSN=DMSDB;uid=reader", "sa", "pw", "DSN=DMSDB;uid=reader;PWD={pw};"},
        {"DSN=DMSDB; Pwd = {x;y}; UID=r", "sa", "pw", "DSN=DMSDB; Pwd = {x;y}; UID=r"},
        {"DSN=DMSDB", "sa", "a;b}c", "DSN=DMSDB;UID={sa};PWD={a;b}}c};"},
        {"DSN=DMSDB", "sa", " pad", "DSN=DMSDB;UID={sa};PWD={ pad};"},
        // Hostile values stay one value each: no closing brace kept, no key of their own.
        {"DSN=DMSDB", "sa", "ab;cd", "DSN=DMSDB;UID={sa};PWD={ab;cd};"},
        {"DSN=DMSDB", "sa", "a};Port=1;x={", "DSN=DMSDB;UID={sa};PWD={a}};Port=1;x={};"},
        {"DSN=DMSDB", "sa", "x;Database=other.db;y",
         "DSN=DMSDB;UID={sa};PWD={x;Database=other.db;y};"},
        {"DSN=DMSDB", "sa", "x;NoCreat=0", "DSN=DMSDB;UID={sa};PWD={x;NoCreat=0};"},
        {"DSN=DMSDB", "r};PWD={y", "p}", "DSN=DMSDB;UID={r}};PWD={y};PWD={p}}};"},
        {"DSN=DMSDB", "{sa}", "}}", "DSN=DMSDB;UID={{sa}}};PWD={}}}}};"},
        // A key inside a braced value is no key.
        {"Driver=X;Database={C:\\data\\UID=me;PWD=x.db}", "sa", "",
         "Driver=X;Database={C:\\data\\UID=me;PWD=x.db};UID={sa};PWD={};"},
        {"Driver=X;Extra={a}}UID=b}", "sa", "", "Driver=X;Extra={a}}UID=b};UID={sa};PWD={};"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConnectionStringWithLogon(c.connection, c.user, c.password), c.full)
            << c.connection;
    EXPECT_TRUE(IsConnectionString("DSN=DMSDB"));
}

TEST(ConnectionString, ValuesAndTheSqliteDriver) {
    struct Case {
        const char* connection;
        std::optional<std::string_view> driver;
        bool sqlite;
    };
    const Case cases[] = {
        {"DRIVER={SQLite3};Database=/data/dms.db", "{SQLite3}", true},
        {"Database=x.db; driver = SQLite3 ODBC Driver ", "SQLite3 ODBC Driver", true},
        {"Driver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so",
         "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so", true},
        {"Driver={ODBC Driver 18 for SQL Server};Server=db1", "{ODBC Driver 18 for SQL Server}",
         false},
        {"DSN=DMSDB;Database=sqlite.db", std::nullopt, false},
        {"Driver=FreeTDS;Extra={Driver=SQLite}", "FreeTDS", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConnectionStringValue(c.connection, "driver"), c.driver) << c.connection;
        EXPECT_EQ(NamesSqliteDriver(c.connection), c.sqlite) << c.connection;
    }
}

}  // namespace
}  // namespace zentrail
