#pragma once

// Running transfer screens on a generated demo database against the Tally simulator.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "screens/screen_test_support.h"
#include "screens/transfer_screen.h"
#include "shell/configuration.h"
#include "support/demo_database.h"
#include "support/tally_sim_process.h"

namespace zentrail::testing {

inline Configuration DemoConfiguration(const std::string& dbPath, int port) {
    Configuration config;
    config.strTallyServer = "127.0.0.1";
    config.strTallyPort = std::to_string(port);
    config.strCompany = "Zentrail Demo";
    config.strSqlOdbc = dbPath;
    config.blnLedgerId = true;
    return config;
}

inline const std::pair<CalendarDate, CalendarDate> kDemoRange{{2024, 4, 1}, {2024, 5, 31}};

// Get Data and Export over the range, as an operator runs a screen.
inline void RunOverRange(TransferScreen& screen, RecordingObserver& observer,
                         std::optional<std::pair<CalendarDate, CalendarDate>> range) {
    screen.SetObserver(&observer);
    screen.Load();
    if (range) screen.SetDates(range->first, range->second);
    screen.GetData();
    ASSERT_FALSE(screen.GetDataFailed()) << screen.LogText();
    screen.Export();
}

// The documents of `numberColumn` that `sql` names (one number per row) and the grid lists.
inline std::set<std::string> ListedAmong(const std::string& db, const std::string& sql,
                                         const TransferGrid& grid, const char* numberColumn) {
    std::set<std::string> named;
    for (const auto& row : RawQuery(db, sql)) named.insert(*row[0]);
    std::set<std::string> listed;
    for (size_t row = 0; row < grid.RowCount(); ++row)
        if (named.count(grid.Cell(row, numberColumn))) listed.insert(grid.Cell(row, numberColumn));
    return listed;
}

// The run sent everything; exactly `differing` differ from the source, and the log names each
// of them and the report, nothing else.
inline void ExpectOnlyTheseDiffer(const TransferScreen& screen,
                                  const std::set<std::string>& differing) {
    const RunCounts& run = screen.LastRun();
    EXPECT_EQ(run.documents.differences, static_cast<long>(differing.size()));
    EXPECT_EQ(run.documents.tallyErrors + run.documents.notSent + run.documents.stopped, 0);
    EXPECT_TRUE(run.masters.AllGood());
    EXPECT_FALSE(run.stopped || run.failed);
    std::string log = screen.LogText();
    for (const std::string& number : differing) {
        size_t at = log.find(" " + number + "\r\n");
        if (at == std::string::npos) at = log.find(" " + number);
        ASSERT_NE(at, std::string::npos) << number;
        size_t start = log.rfind("\r\nDifference from the source: ", at);
        ASSERT_NE(start, std::string::npos) << number;
        log.erase(start, at + 1 + number.size() - start);
    }
    EXPECT_EQ(log, run.reportPath.empty() ? "" : "\r\nRun report: " + run.reportPath);
}

// Document lines of a run report.
inline size_t ReportedDocuments(const std::string& reportPath) {
    std::ifstream report(reportPath);
    size_t documents = 0;
    for (std::string line; std::getline(report, line);)
        documents += line.rfind("document,", 0) == 0;
    return documents;
}

inline std::map<std::string, const nlohmann::json*> LedgersByName(const nlohmann::json& books) {
    std::map<std::string, const nlohmann::json*> ledgers;
    for (const auto& master : books["masters"])
        if (master["kind"] == "Ledger") ledgers[master["name"].get<std::string>()] = &master;
    return ledgers;
}

}  // namespace zentrail::testing
