// The item screen's export tells of every product its listing leaves out for want of an HSN
// code, in the log and in the run report.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <tuple>

#include "common/csv.h"
#include "screens/screen_registry.h"
#include "screens/screen_test_support.h"
#include "shell/configuration.h"
#include "shell/source_fixture.h"
#include "support/demo_database.h"

namespace zentrail {
namespace {

struct Product {
    std::string name;
    std::string code;
    bool operator<(const Product& other) const {
        return std::tie(name, code) < std::tie(other.name, other.code);
    }
};

TEST(ItemScreenLeftOut, TheLogAndTheReportNameEveryProductWithoutAnHsnCode) {
    const std::string database = testing::SmallDemo().Path();
    test::TempFolder reports;
    Configuration config;
    config.strSqlOdbc = database;
    config.strCompany = "Zentrail Demo";
    SourceDatabase db;
    db.OpenConnection(config);
    testing::ScriptedTransport tally([](const std::string&) {
        return testing::TallyReplies("<RESPONSE><CREATED>1</CREATED></RESPONSE>");
    });
    std::unique_ptr<TransferScreen> screen =
        CreateScreen("item", ScreenContext{config, db, tally, reports.Path()});
    testing::RecordingObserver observer;
    screen->SetObserver(&observer);
    screen->Load();
    screen->GetData();
    ASSERT_FALSE(screen->GetDataFailed()) << screen->LogText();

    // Every product of the source that the grid does not list.
    std::set<std::string> listed;
    for (size_t row = 0; row < screen->ssdbgItem.RowCount(); ++row)
        listed.insert(screen->ssdbgItem.Cell(row, "PrdId"));
    std::set<Product> leftOut;
    for (const auto& row :
         testing::RawQuery(database, "SELECT PrdId, PrdName, PrdCCode FROM Product"))
        if (!listed.count(*row[0])) leftOut.insert({*row[1], *row[2]});
    ASSERT_EQ(leftOut.size(), 1u) << "the demo holds one product without an HSN code";
    EXPECT_EQ(leftOut.begin()->name, "Counter Display Rack");

    screen->Export();
    const RunCounts& run = screen->LastRun();
    // They were never requests: the counts are those of the requests alone.
    EXPECT_TRUE(run.Clean()) << screen->LogText();
    EXPECT_EQ(run.documents.Total(), static_cast<long>(listed.size()));

    std::ifstream file(run.reportPath, std::ios::binary);
    std::stringstream report;
    report << file.rdbuf();
    const std::string log = screen->LogText();
    for (const Product& product : leftOut) {
        const std::string told = "Product '" + product.name + "' (code " + product.code +
                                 ") has no HSN code: it is not sent as a stock item";
        size_t first = log.find("\r\n" + told + "\r\n");
        EXPECT_NE(first, std::string::npos) << log;
        EXPECT_EQ(log.find(told, first + 2 + told.size()), std::string::npos)
            << "told once: " << log;
        EXPECT_NE(report.str().find("\r\nmaster," + CsvField(product.name + "_" + product.code) +
                                    ",,,,,not sent," + CsvField(told) + "\r\n"),
                  std::string::npos)
            << report.str();
    }
}

}  // namespace
}  // namespace zentrail
