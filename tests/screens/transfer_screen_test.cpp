#include "screens/transfer_screen.h"

#include <gtest/gtest.h>

#include "screens/screen_test_support.h"
#include "shell/configuration.h"

namespace zentrail {
namespace {

using testing::RecordingObserver;
using testing::ScriptedConnection;

// A screen whose queries name the dates they were built with and whose export sends nothing.
class PlainScreen : public TransferScreen {
public:
    explicit PlainScreen(ScreenContext context)
        : TransferScreen(context, Design{"Import Test Transaction", "Importing Test",
                                         "Test Transferrd", true, false}) {}
    std::function<void()> exportSteps = [] {};

protected:
    std::string ColumnQuery() const override { return "COLUMNS " + dtpFrom.QueryText(); }
    std::string HeaderQuery() const override {
        return "HEADER " + dtpFrom.QueryText() + " " + dtpTo.QueryText();
    }
    void ExportSteps() override { exportSteps(); }
};

RowSet Invoices(size_t count) {
    RowSet rows({"Sal_Id", "Inv#No", "Party_Name"});
    for (size_t i = 0; i < count; ++i) {
        rows.Append(std::to_string(i + 1));
        rows.Append("  INV" + std::to_string(i + 1) + "  ");
        rows.Append(" Shah & Sons ");
    }
    return rows;
}

class TransferScreenTest : public ::testing::Test {
protected:
    TransferScreenTest()
        : db_([this](const std::string&, const std::string&, const std::string&) {
              auto connection = std::make_unique<ScriptedConnection>(
                  [this](const std::string& sql) { return answer_(sql); });
              connection_ = connection.get();
              return connection;
          }) {
        config_.strConfigSummary = " SERVER:host PORT:9000";
        db_.OpenConnection(config_);
        screen_.SetObserver(&observer_);
    }

    Configuration config_;
    std::function<RowSet(const std::string&)> answer_ = [](const std::string&) {
        return Invoices(3);
    };
    ScriptedConnection* connection_ = nullptr;
    SourceDatabase db_;
    PlainScreen screen_{ScreenContext{config_, db_}};
    RecordingObserver observer_;
};

TEST_F(TransferScreenTest, ResetClearsEverythingAndShowsTheSummaryOnce) {
    screen_.Load();
    screen_.SetDates({2024, 4, 1}, {2024, 4, 30});
    screen_.cmdGetData_Click();
    ASSERT_EQ(screen_.ssdbgItem.RowCount(), 3u);
    screen_.cmdCancel_Click();
    screen_.cmdCancel_Click();
    EXPECT_EQ(screen_.title, "Import Test Transaction SERVER:host PORT:9000");
    EXPECT_EQ(screen_.dtpFrom, CalendarDate::Today());
    EXPECT_EQ(screen_.dtpTo, CalendarDate::Today());
    EXPECT_EQ(screen_.ssdbgItem.RowCount(), 0u);
    EXPECT_EQ(screen_.ssdbgItem.ColumnCount(), 0u);
    EXPECT_EQ(screen_.txtLog, "");
    EXPECT_EQ(screen_.lblRecCurr, "0");
    EXPECT_EQ(screen_.lblRecReads, "0");
    EXPECT_EQ(TransferScreen::DateDisplayFormat(), "dd/MM/yyyy");
    EXPECT_GT(observer_.changes[ScreenControl::Title], 0);
}

TEST_F(TransferScreenTest, GetDataListsTrimmedRowsUnderNamedColumns) {
    screen_.Load();
    screen_.SetDates({2024, 4, 1}, {2024, 4, 30});
    screen_.cmdGetData_Click();
    ASSERT_EQ(connection_->queries.size(), 2u);
    EXPECT_EQ(connection_->queries[0], "COLUMNS 04/01/2024");
    EXPECT_EQ(connection_->queries[1], "HEADER 04/01/2024 04/30/2024");
    const TransferGrid& grid = screen_.ssdbgItem;
    ASSERT_EQ(grid.ColumnCount(), 3u);
    EXPECT_EQ(grid.ColumnCaption(0), "Sal Id");
    EXPECT_EQ(grid.ColumnCaption(1), "InvNo");
    EXPECT_EQ(grid.ColumnCaption(2), "Party Name");
    EXPECT_EQ(grid.Cell(1, "inv#no"), "INV2");
    EXPECT_EQ(grid.Cell(1, "PARTY_NAME"), "Shah & Sons");
    EXPECT_EQ(grid.caption, "Total Records Imported 3");
    EXPECT_EQ(screen_.lblRecReads, "3");
    EXPECT_EQ(screen_.lblScreen, "");
    EXPECT_EQ(screen_.prgBar.value, 0);
    EXPECT_EQ(db_.rsMain.State(), Recordset::kStateClosed);
    EXPECT_TRUE(observer_.messages.empty());
}

TEST_F(TransferScreenTest, EmptyRangeListsNothingWithoutAMessage) {
    answer_ = [](const std::string&) { return Invoices(0); };
    screen_.Load();
    screen_.cmdGetData_Click();
    EXPECT_EQ(screen_.ssdbgItem.RowCount(), 0u);
    EXPECT_EQ(screen_.ssdbgItem.ColumnCount(), 3u);
    EXPECT_EQ(screen_.ssdbgItem.caption, TransferGrid::kDesignCaption);
    EXPECT_EQ(screen_.lblRecReads, "0");
    EXPECT_TRUE(observer_.messages.empty());
    EXPECT_FALSE(screen_.GetDataFailed());
}

TEST_F(TransferScreenTest, MoreRowsThanA16BitGridHeld) {
    answer_ = [](const std::string&) { return Invoices(40000); };
    screen_.Load();
    screen_.cmdGetData_Click();
    EXPECT_EQ(screen_.ssdbgItem.RowCount(), 40000u);
    EXPECT_EQ(screen_.ssdbgItem.Cell(39999, "Inv#No"), "INV40000");
    EXPECT_EQ(screen_.lblRecReads, "40000");
}

TEST_F(TransferScreenTest, QueryErrorIsReportedAndTheScreenStaysUsable) {
    answer_ = [](const std::string&) -> RowSet { throw DbError(1, "no such table: SalesInvoice"); };
    screen_.Load();
    screen_.cmdGetData_Click();
    EXPECT_TRUE(screen_.GetDataFailed());
    ASSERT_EQ(observer_.messages.size(), 1u);
    EXPECT_EQ(observer_.messages[0].icon, ScreenMessage::Icon::Critical);
    EXPECT_EQ(observer_.messages[0].title, "Zentrail");
    EXPECT_NE(observer_.messages[0].text.find("no such table: SalesInvoice"), std::string::npos);
    EXPECT_NE(screen_.txtLog.find("error 1: no such table: SalesInvoice"), std::string::npos);
    EXPECT_FALSE(screen_.busy);

    answer_ = [](const std::string&) { return Invoices(2); };
    screen_.cmdGetData_Click();
    EXPECT_FALSE(screen_.GetDataFailed());
    EXPECT_EQ(screen_.ssdbgItem.RowCount(), 2u);
}

TEST_F(TransferScreenTest, ExportErrorStopsTheRunWithAMessage) {
    screen_.Load();
    screen_.exportSteps = [] { throw DbError(208, "Invalid object name 'SalesInvoiceProduct'."); };
    screen_.cmdExport_Click();
    EXPECT_TRUE(screen_.LastRun().failed);
    ASSERT_EQ(observer_.messages.size(), 2u);
    EXPECT_EQ(observer_.messages[0].icon, ScreenMessage::Icon::Critical);
    EXPECT_EQ(observer_.messages[1].icon, ScreenMessage::Icon::Information);
    EXPECT_EQ(observer_.messages[1].text.substr(0, 16), "Test Transferrd\n");
    EXPECT_EQ(screen_.fraPrg, "Data Transferred To Tally");
    EXPECT_FALSE(screen_.busy);
}

TEST_F(TransferScreenTest, CleanExportClosesWithTheTypesTextAlone) {
    screen_.Load();
    screen_.cmdExport_Click();
    ASSERT_EQ(observer_.messages.size(), 1u);
    EXPECT_EQ(observer_.messages[0].icon, ScreenMessage::Icon::Information);
    EXPECT_EQ(observer_.messages[0].title, "Zentrail");
    EXPECT_EQ(observer_.messages[0].text, "Test Transferrd");
}

TEST_F(TransferScreenTest, ExitAsksTheViewToClose) {
    screen_.cmdExit_Click();
    EXPECT_EQ(observer_.closeRequests, 1);
}

}  // namespace
}  // namespace zentrail
