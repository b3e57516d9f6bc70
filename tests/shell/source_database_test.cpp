#include "shell/source_database.h"

#include <gtest/gtest.h>

#include <map>

#include "shell/configuration.h"
#include "shell/platform.h"

namespace zentrail {
namespace {

using Rows = std::vector<std::vector<std::optional<std::string>>>;

// A source answering fixed SQL texts; counts the connections alive and the queries run.
struct FakeWorld {
    std::map<std::string, RowSet> answers;
    int alive = 0;
    int opened = 0;
    std::vector<std::string> queries;
    std::vector<std::vector<std::string>> logons;
};

class FakeSource : public SourceConnection {
public:
    explicit FakeSource(FakeWorld& world) : world_(world) { ++world_.alive; }
    ~FakeSource() override { --world_.alive; }
    RowSet Query(const std::string& sql) override {
        world_.queries.push_back(sql);
        auto found = world_.answers.find(sql);
        if (found == world_.answers.end()) throw DbError(208, "Invalid object name 'X'.");
        return found->second;
    }

private:
    FakeWorld& world_;
};

class SharedSets : public ::testing::Test {
protected:
    SharedSets()
        : database_([this](const std::string& odbc, const std::string& user,
                           const std::string& password) -> std::unique_ptr<SourceConnection> {
              world_.logons.push_back({odbc, user, password});
              if (world_.alive != 0) ADD_FAILURE() << "the earlier connection is still open";
              if (odbc == "down") throw DbError(17, "SQL Server does not exist or access denied.");
              ++world_.opened;
              return std::make_unique<FakeSource>(world_);
          }) {
        world_.answers["invoices"] =
            RowSet({"SalId", "SalInvNo"}, Rows{{"1", "A1"}, {"2", "A2"}, {"3", "A3"}});
        world_.answers["lines"] = RowSet({"SalId", "PrdId"}, Rows{{"1", "7"}, {"2", "8"}});
        world_.answers["nothing"] = RowSet({"SalId", "SalInvNo"});
        world_.answers["update"] = RowSet();
        config_.strSqlOdbc = "DMSDB";
        config_.strSqlUser = "sa";
    }

    long ErrorNumber(const std::function<void()>& action) {
        try {
            action();
        } catch (const DbError& error) {
            return error.Number();
        }
        return 0;
    }

    FakeWorld world_;
    SourceDatabase database_;
    Configuration config_;
};

TEST_F(SharedSets, AnEmptyResultIsAnOpenSetWithItsFields) {
    database_.OpenConnection(config_);
    Recordset rs = database_.Open("nothing");
    EXPECT_EQ(rs.State(), Recordset::kStateOpen);
    EXPECT_TRUE(rs.Eof());
    EXPECT_TRUE(rs.Bof());
    EXPECT_EQ(rs.FieldName(1), "SalInvNo");
}

TEST_F(SharedSets, EachQueryGivesASetOfItsOwn) {
    database_.OpenConnection(config_);
    Recordset invoices = database_.Open("invoices");
    invoices.Filter("[SalInvNo] = 'a2'");
    Recordset lines = database_.Open("lines");
    EXPECT_EQ(invoices.FilterText(), "[SalInvNo] = 'a2'");
    EXPECT_EQ(invoices.Fields("SalId").Value(), "2");
    invoices.Filter("");
    EXPECT_EQ(invoices.RecordCount(), 3);
    EXPECT_EQ(lines.RecordCount(), 2);
    EXPECT_EQ(lines.Fields("PrdId").Value(), "7");
    EXPECT_EQ(world_.queries, (std::vector<std::string>{"invoices", "lines"}));
    EXPECT_EQ(ErrorNumber([&] { database_.Open("broken"); }), 208);
}

TEST_F(SharedSets, OpenConnectionRenewsTheConnection) {
    database_.OpenConnection(config_);
    database_.OpenConnection(config_);  // the opener checks that the first one closed first
    EXPECT_EQ(world_.opened, 2);
    EXPECT_EQ(world_.alive, 1);
}

TEST_F(SharedSets, LogonAsConfiguredWithAnEmptyPasswordPassedEmpty) {
    Configuration defaults = ReadConfig("/nonexistent/zentrail/Config.txt");
    database_.OpenConnection(defaults);
    config_.strSqlOdbc = "Driver=FreeTDS;Server=db1";
    config_.strSqlUser = "";
    config_.strSqlPassword = "pa:ss";
    database_.OpenConnection(config_);
    EXPECT_EQ(world_.logons, (std::vector<std::vector<std::string>>{
                                 {"DMSDB", "sa", ""}, {"Driver=FreeTDS;Server=db1", "", "pa:ss"}}));
}

TEST_F(SharedSets, FailuresAreRaisedToTheCaller) {
    EXPECT_EQ(ErrorNumber([&] { database_.Open("invoices"); }), 3709);

    config_.strSqlOdbc = "down";
    EXPECT_EQ(ErrorNumber([&] { database_.OpenConnection(config_); }), 17);
    EXPECT_EQ(ErrorNumber([&] { database_.Open("invoices"); }), 3709);

    config_.strSqlOdbc = "DMSDB";
    database_.OpenConnection(config_);
    // a statement without a result set
    EXPECT_EQ(ErrorNumber([&] { database_.Open("update"); }), 3704);
}

// The column names need no rows, yet fail the way opening the same text would.
TEST_F(SharedSets, ColumnNamesLikeOpeningTheText) {
    EXPECT_EQ(ErrorNumber([&] { database_.ColumnNames("invoices"); }), 3709);
    database_.OpenConnection(config_);
    EXPECT_EQ(database_.ColumnNames("invoices"), (std::vector<std::string>{"SalId", "SalInvNo"}));
    EXPECT_EQ(database_.ColumnNames("nothing"), (std::vector<std::string>{"SalId", "SalInvNo"}));
    EXPECT_EQ(ErrorNumber([&] { database_.ColumnNames("update"); }), 3704);
    EXPECT_EQ(ErrorNumber([&] { database_.ColumnNames("missing"); }), 208);
}

}  // namespace
}  // namespace zentrail
