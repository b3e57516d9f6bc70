// Numbers read from a SQLite file are written as values by our own code; the text must be the
// one SQLite's own conversion gives, which the query itself produces here with CAST(v AS TEXT).

#include "shell/sqlite_number_text.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "shell/source_fixture.h"
#include "shell/sqlite_connection.h"

namespace zentrail {
namespace {

struct DbCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementCloser {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

// SQLite's own text of a value, by binding it to "SELECT ?" and reading it back as text.
class SqliteOwnText {
public:
    SqliteOwnText() {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
        db_.reset(db);
        sqlite3_stmt* raw = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, "SELECT ?", -1, &raw, nullptr), SQLITE_OK);
        statement_.reset(raw);
    }
    std::string Of(double value) {
        sqlite3_reset(statement_.get());
        sqlite3_bind_double(statement_.get(), 1, value);
        return Step();
    }
    std::string Of(int64_t value) {
        sqlite3_reset(statement_.get());
        sqlite3_bind_int64(statement_.get(), 1, value);
        return Step();
    }

private:
    std::string Step() {
        EXPECT_EQ(sqlite3_step(statement_.get()), SQLITE_ROW);
        return reinterpret_cast<const char*>(sqlite3_column_text(statement_.get(), 0));
    }
    std::unique_ptr<sqlite3, DbCloser> db_;
    std::unique_ptr<sqlite3_stmt, StatementCloser> statement_;
};

std::string Real(double value) {
    std::array<char, kNumberTextRoom> room;
    return std::string(SqliteRealText(value, room));
}

std::string Integer(int64_t value) {
    std::array<char, kNumberTextRoom> room;
    return std::string(SqliteIntegerText(value, room));
}

TEST(SqliteNumberText, RealsAsSqliteWritesThem) {
    struct Case {
        double value;
        const char* text;  // SQLite's text, worked out by hand from its rules
    };
    const std::vector<Case> cases = {
        {0.1, "0.1"},
        {1e20, "1.0e+20"},
        {123456789.123, "123456789.123"},
        {2.5, "2.5"},
        {-2.5, "-2.5"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {0.0, "0.0"},
        {-0.0, "0.0"},
        {100.0, "100.0"},
        {1e-4, "0.0001"},
        {1e-5, "1.0e-05"},
        {123456789012345.0, "123456789012345.0"},
        {1e15, "1.0e+15"},
        {0.30000000000000004, "0.3"},
        {1e-300, "1.0e-300"},
        {5e-324, "4.94065645841247e-324"},
        {1.7976931348623157e308, "1.79769313486232e+308"},
        {-1234.5678, "-1234.5678"},
        {std::numeric_limits<double>::infinity(), "Inf"},
        {-std::numeric_limits<double>::infinity(), "-Inf"},
        // Just past a halfway point, where SQLite's digits round down.
        {501348.6384835965, "501348.638483596"},
    };
    SqliteOwnText sqlite;
    for (const Case& c : cases) {
        EXPECT_EQ(Real(c.value), c.text) << c.text;
        EXPECT_EQ(Real(c.value), sqlite.Of(c.value)) << c.text;
    }
}

TEST(SqliteNumberText, IntegersAsSqliteWritesThem) {
    SqliteOwnText sqlite;
    for (int64_t value :
         {int64_t{0}, int64_t{7}, int64_t{-7}, int64_t{1234567890123},
          std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::min()}) {
        EXPECT_EQ(Integer(value), std::to_string(value));
        EXPECT_EQ(Integer(value), sqlite.Of(value));
    }
}

// Many values, drawn with a fixed seed: amounts in cents, short decimals of every size from
// 1e-6 to 1e17, values near halfway points, and any finite bit pattern at all.
TEST(SqliteNumberText, ManyRealsAsSqliteWritesThem) {
    SqliteOwnText sqlite;
    std::mt19937_64 random(20240401);
    std::uniform_real_distribution<double> amounts(-1e7, 1e7);
    int compared = 0;
    auto check = [&](double value) {
        if (!std::isfinite(value)) return;
        ++compared;
        ASSERT_EQ(Real(value), sqlite.Of(value)) << std::hexfloat << value;
    };
    for (int i = 0; i < 100000; ++i) {
        check(static_cast<double>(static_cast<int64_t>(random() % 10000000000)) / 100.0);
        check(amounts(random));
        const double digits = static_cast<double>(random() % 1000000000000000);
        check(digits / std::pow(10.0, static_cast<double>(random() % 21)) * 100.0);
        const uint64_t bits = random();
        double any;
        std::memcpy(&any, &bits, sizeof any);
        check(any);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(compared, 390000);
}

// Through the connection: each value's text equals SQLite's own CAST to text, for integer
// and real columns, a whole number kept in a REAL column, and text that looks like a number.
TEST(SqliteNumberText, TheConnectionGivesSqlitesText) {
    test::TempFolder folder;
    const std::filesystem::path file = folder.Path() / "numbers.db";
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(file.string().c_str(), &raw), SQLITE_OK);
        std::unique_ptr<sqlite3, DbCloser> db(raw);
        ASSERT_EQ(sqlite3_exec(raw,
                               "CREATE TABLE t (n INTEGER, r REAL, x);"
                               "INSERT INTO t VALUES (42, 2, 0.1), (-9, 1e20, '007'),"
                               " (0, 123456789.123, 1.0/3), (9223372036854775807, -0.5, 5),"
                               " (NULL, 501348.6384835965, 1e-7);",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
    }
    SqliteConnection connection(file);
    const RowSet rows = connection.Query(
        "SELECT n, CAST(n AS TEXT), r, CAST(r AS TEXT), x, CAST(x AS TEXT) FROM t");
    ASSERT_EQ(rows.RowCount(), 5u);
    for (size_t row = 0; row < rows.RowCount(); ++row) {
        for (size_t field = 0; field < 6; field += 2) {
            EXPECT_EQ(rows.IsNull(row, field), rows.IsNull(row, field + 1));
            EXPECT_EQ(rows.Text(row, field), rows.Text(row, field + 1))
                << "row " << row << " field " << field;
        }
    }
    EXPECT_EQ(rows.Text(0, 2), "2.0");
    EXPECT_EQ(rows.Text(1, 4), "007");
}

}  // namespace
}  // namespace zentrail
