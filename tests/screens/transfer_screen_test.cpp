#include "screens/transfer_screen.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "screens/field_number.h"
#include "screens/screen_test_support.h"
#include "shell/configuration.h"

namespace zentrail {
namespace {

using testing::RecordingObserver;
using testing::ScriptedConnection;

enum class Column { SalId, InvNo };
constexpr const char* kColumns[] = {"Sal_Id", "Inv#No"};

// A screen whose queries name the dates they were built with; its export sends the masters and
// builds the documents a test gives it.
class PlainDefinition : public ScreenDefinition {
public:
    std::vector<MasterStep> masters;
    std::function<void(const ListedRow&, BuiltDocument&)> build = [](const ListedRow& row,
                                                                     BuiltDocument& built) {
        built.request = "<VOUCHER REMOTEID=\"" + row.Text(Column::InvNo) + "\">";
        built.key = row.Text(Column::InvNo);
    };

    const ScreenDesign& Design() const override { return design_; }
    std::string ColumnQuery(const DateRange& dates) const override {
        return "COLUMNS " + dates.from;
    }
    std::string ListingQuery(const DateRange& dates) const override {
        return "HEADER " + dates.from + " " + dates.to;
    }
    std::span<const char* const> ListingColumns() const override { return kColumns; }
    DocumentRef Describe(const ListedRow& row, const ScreenContext&) const override {
        return {.number = row.Text(Column::InvNo)};
    }
    std::vector<MasterStep> Masters(const ScreenContext&, const DateRange&) const override {
        return masters;
    }
    std::vector<LineQuery> LineQueries(const DateRange&) const override { return {}; }
    std::unique_ptr<DocumentBuilder> StartRun(const ScreenContext&, const Listing&) const override {
        class Builder : public DocumentBuilder {
        public:
            explicit Builder(const PlainDefinition& definition) : definition_(definition) {}
            void Build(const ListedRow& row, LineTables&, BuiltDocument& built) override {
                definition_.build(row, built);
            }

        private:
            const PlainDefinition& definition_;
        };
        return std::make_unique<Builder>(*this);
    }

private:
    ScreenDesign design_{.name = "test",
                         .title = "Import Test Transaction",
                         .frameCaption = "Importing Test",
                         .closingText = "Test Transferrd"};
};

// One master request, then one voucher per listed row, keyed by the row's number unless `key`
// names another key.
void SendEachRow(PlainDefinition& definition, std::function<std::string(size_t)> key = nullptr,
                 std::function<DocumentRef(size_t)> document = nullptr) {
    definition.masters = {MasterStep{.name = "Test masters",
                                     .payload = [](const Recordset*) { return "<MASTER/>"; }}};
    definition.build = [key, document](const ListedRow& row, BuiltDocument& built) {
        if (document) {
            DocumentRef ref = document(row.Index());
            built.document.amountSent = ref.amountSent;
            built.document.sourceTotal = ref.sourceTotal;
        }
        const std::string& number = built.document.number;
        std::string voucherKey = key ? key(row.Index()) : number;
        built.request = "<VOUCHER REMOTEID=\"" + voucherKey + "\">" + number;
        built.key = voucherKey;
    };
}

bool IsMasters(const std::string& body) { return body.find("<MASTER/>") != std::string::npos; }

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
    std::function<HttpResult(const std::string&)> reply_ = [](const std::string&) {
        return testing::TallyReplies("<RESPONSE><CREATED>1</CREATED></RESPONSE>");
    };
    testing::ScriptedTransport tally_{[this](const std::string& body) { return reply_(body); }};
    std::filesystem::path reports_ = std::filesystem::path(::testing::TempDir()) /
                                     ("screen-reports-" + std::to_string(::getpid()));
    PlainDefinition definition_;
    TransferScreen screen_{ScreenContext{config_, db_, tally_, reports_}, definition_};
    RecordingObserver observer_;
};

TEST_F(TransferScreenTest, ResetClearsEverythingAndShowsTheSummaryOnce) {
    screen_.Load();
    screen_.SetDates({2024, 4, 1}, {2024, 4, 30});
    screen_.GetData();
    ASSERT_EQ(screen_.ssdbgItem.RowCount(), 3u);
    screen_.Reset();
    screen_.Reset();
    EXPECT_EQ(screen_.title, "Import Test Transaction SERVER:host PORT:9000");
    EXPECT_EQ(screen_.dtpFrom, CalendarDate::Today());
    EXPECT_EQ(screen_.dtpTo, CalendarDate::Today());
    EXPECT_EQ(screen_.ssdbgItem.RowCount(), 0u);
    EXPECT_EQ(screen_.ssdbgItem.ColumnCount(), 0u);
    EXPECT_EQ(screen_.LogText(), "");
    EXPECT_EQ(screen_.CurrentProgress().handled, 0);
    EXPECT_EQ(screen_.CurrentProgress().listed, 0);
    EXPECT_EQ(TransferScreen::DateDisplayFormat(), "dd/MM/yyyy");
    EXPECT_GT(observer_.changes[ScreenControl::Title], 0);
}

TEST_F(TransferScreenTest, GetDataListsTrimmedRowsUnderNamedColumns) {
    screen_.Load();
    screen_.SetDates({2024, 4, 1}, {2024, 4, 30});
    screen_.GetData();
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
    EXPECT_EQ(screen_.CurrentProgress().listed, 3);
    EXPECT_EQ(screen_.CurrentProgress().document, "");
    EXPECT_EQ(screen_.CurrentProgress().current, 0);
    EXPECT_TRUE(observer_.messages.empty());
}

TEST_F(TransferScreenTest, EmptyRangeListsNothingWithoutAMessage) {
    answer_ = [](const std::string&) { return Invoices(0); };
    screen_.Load();
    screen_.GetData();
    EXPECT_EQ(screen_.ssdbgItem.RowCount(), 0u);
    EXPECT_EQ(screen_.ssdbgItem.ColumnCount(), 3u);
    EXPECT_EQ(screen_.ssdbgItem.caption, TransferGrid::kDesignCaption);
    EXPECT_EQ(screen_.CurrentProgress().listed, 0);
    EXPECT_TRUE(observer_.messages.empty());
    EXPECT_FALSE(screen_.GetDataFailed());
}

TEST_F(TransferScreenTest, MoreRowsThanA16BitGridHeld) {
    answer_ = [](const std::string&) { return Invoices(40000); };
    screen_.Load();
    screen_.GetData();
    EXPECT_EQ(screen_.ssdbgItem.RowCount(), 40000u);
    EXPECT_EQ(screen_.ssdbgItem.Cell(39999, "Inv#No"), "INV40000");
    EXPECT_EQ(screen_.CurrentProgress().listed, 40000);
}

TEST_F(TransferScreenTest, QueryErrorIsReportedAndTheScreenStaysUsable) {
    answer_ = [](const std::string&) -> RowSet { throw DbError(1, "no such table: SalesInvoice"); };
    screen_.Load();
    screen_.GetData();
    EXPECT_TRUE(screen_.GetDataFailed());
    ASSERT_EQ(observer_.messages.size(), 1u);
    EXPECT_EQ(observer_.messages[0].icon, ScreenMessage::Icon::Critical);
    EXPECT_EQ(observer_.messages[0].title, "Zentrail");
    EXPECT_NE(observer_.messages[0].text.find("no such table: SalesInvoice"), std::string::npos);
    EXPECT_NE(screen_.LogText().find("error 1: no such table: SalesInvoice"), std::string::npos);
    EXPECT_FALSE(screen_.busy);

    answer_ = [](const std::string&) { return Invoices(2); };
    screen_.GetData();
    EXPECT_FALSE(screen_.GetDataFailed());
    EXPECT_EQ(screen_.ssdbgItem.RowCount(), 2u);
}

TEST_F(TransferScreenTest, AListingWithoutAColumnTheDocumentsNeedIsRefusedNamingIt) {
    answer_ = [](const std::string&) { return RowSet({"Sal_Id", "Party_Name"}); };
    screen_.Load();
    screen_.GetData();
    EXPECT_TRUE(screen_.GetDataFailed());
    ASSERT_EQ(observer_.messages.size(), 1u);
    EXPECT_NE(observer_.messages[0].text.find("The listing has no column Inv#No"),
              std::string::npos)
        << observer_.messages[0].text;
    EXPECT_EQ(screen_.ssdbgItem.RowCount(), 0u);
}

// Lists two rows of the listing, then fails, as a query can part way through its rows.
class FailingPartWay : public SourceConnection {
public:
    RowSet Query(const std::string&) override { return Invoices(0); }
    void Stream(const std::string&, RowSink& sink) override {
        testing::StreamRows(Invoices(2), sink);
        throw DbError(11, "database disk image is malformed");
    }
};

TEST(TransferScreenGetData, AListingThatFailsPartWayLeavesNoRowsToExport) {
    Configuration config;
    SourceDatabase db([](const std::string&, const std::string&, const std::string&) {
        return std::make_unique<FailingPartWay>();
    });
    db.OpenConnection(config);
    testing::ScriptedTransport tally([](const std::string&) { return HttpResult{}; });
    PlainDefinition definition;
    TransferScreen screen(ScreenContext{config, db, tally}, definition);
    RecordingObserver observer;
    screen.SetObserver(&observer);
    screen.Load();
    screen.GetData();
    EXPECT_TRUE(screen.GetDataFailed());
    EXPECT_EQ(screen.ssdbgItem.RowCount(), 0u);
    EXPECT_EQ(screen.ssdbgItem.caption, TransferGrid::kDesignCaption);
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_NE(observer.messages[0].text.find("error 11: database disk image is malformed"),
              std::string::npos);
}

TEST_F(TransferScreenTest, ExportErrorStopsTheRunWithAMessage) {
    screen_.Load();
    answer_ = [](const std::string& sql) {
        if (sql == "PARTIES") throw DbError(208, "Invalid object name 'SalesInvoiceProduct'.");
        return Invoices(3);
    };
    definition_.masters = {MasterStep{.caption = "Creating Party Masters ",
                                      .query = "PARTIES",
                                      .rowName = [](const Recordset&) { return std::string(); },
                                      .payload = [](const Recordset*) { return std::string(); }}};
    screen_.Export();
    EXPECT_TRUE(screen_.LastRun().failed);
    ASSERT_EQ(observer_.messages.size(), 2u);
    EXPECT_EQ(observer_.messages[0].icon, ScreenMessage::Icon::Critical);
    EXPECT_EQ(observer_.messages[1].icon, ScreenMessage::Icon::Information);
    EXPECT_EQ(observer_.messages[1].text.substr(0, 16), "Test Transferrd\n");
    EXPECT_EQ(screen_.CurrentProgress().caption, "Transfer ended with errors");
    EXPECT_FALSE(screen_.busy);
}

TEST_F(TransferScreenTest, EmptyExportClosesWithTheTypesTextAndSaysNothingWasListed) {
    screen_.Load();
    screen_.Export();
    ASSERT_EQ(observer_.messages.size(), 1u);
    EXPECT_EQ(observer_.messages[0].icon, ScreenMessage::Icon::Information);
    EXPECT_EQ(observer_.messages[0].title, "Zentrail");
    EXPECT_EQ(observer_.messages[0].text,
              "Test Transferrd\nNothing was listed.\nDocuments listed: 0\nAccepted: 0\n"
              "Sent with Tally errors: 0\nSent with differences: 0\nNot sent: 0\nSkipped: 0\n"
              "Masters: 0 sent, 0 accepted, 0 with Tally errors, 0 not sent\nRun report: " +
                  screen_.LastRun().reportPath);
    EXPECT_TRUE(screen_.LastRun().Clean());
    EXPECT_EQ(screen_.CurrentProgress().caption, "Data Transferred To Tally");
    EXPECT_NE(screen_.LastRun().reportPath.find("/runs/test-"), std::string::npos);
}

TEST_F(TransferScreenTest, ExitAsksTheViewToClose) {
    screen_.Exit();
    EXPECT_EQ(observer_.closeRequests, 1);
}

// The report's lines after its head.
std::vector<std::string> ReportLines(const RunCounts& run) {
    std::ifstream in(run.reportPath);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
}

// Every listed row has exactly one report line and the counts add up to the listing.
void ExpectEveryRowOnce(const TransferScreen& screen) {
    const RunCounts& run = screen.LastRun();
    EXPECT_EQ(run.documents.Total(), run.listed);
    std::vector<std::string> lines = ReportLines(run);
    EXPECT_EQ(static_cast<long>(lines.size()), run.documents.Total() + run.masters.Total());
    for (size_t row = 0; row < screen.ssdbgItem.RowCount(); ++row) {
        std::string number = "document," + screen.ssdbgItem.Cell(row, "Inv#No") + ",";
        long found = std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.rfind(number, 0) == 0;
        });
        EXPECT_EQ(found, 1) << number;
    }
}

TEST_F(TransferScreenTest, EveryRefusalIsCountedAndLoggedWithItsName) {
    reply_ = [](const std::string& body) {
        if (IsMasters(body))
            return testing::TallyReplies(
                "<RESPONSE><LINEERROR>Group 'KVZ' already exists</LINEERROR>"
                "<LINEERROR>Unit 'PC' does not exist!</LINEERROR><ERRORS>2</ERRORS></RESPONSE>");
        if (body.ends_with("INV1"))
            return testing::TallyReplies("<RESPONSE><CREATED>1</CREATED></RESPONSE>");
        if (body.ends_with("INV2"))
            return testing::TallyReplies(
                "<RESPONSE><CREATED>0</CREATED><ERRORS>1</ERRORS></RESPONSE>");
        return HttpResult{HttpResult::Status::Ok, 500, "oops", ""};
    };
    SendEachRow(definition_);
    screen_.Load();
    screen_.GetData();
    screen_.Export();

    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(run.masters.tallyErrors, 1);
    EXPECT_EQ(run.documents.accepted, 1);
    EXPECT_EQ(run.documents.tallyErrors, 1);
    EXPECT_EQ(run.documents.unconfirmed, 1) << "an HTTP error does not say what Tally did";
    EXPECT_FALSE(run.Clean());
    EXPECT_NE(screen_.LogText().find("\r\nUnit 'PC' does not exist! Test masters"),
              std::string::npos)
        << screen_.LogText();
    EXPECT_NE(screen_.LogText().find("\r\nTally reported 1 error INV2"), std::string::npos);
    EXPECT_NE(screen_.LogText().find("\r\nTally answered with HTTP status 500 INV3"),
              std::string::npos);
    EXPECT_EQ(screen_.CurrentProgress().handled, 3)
        << "the count shows documents that reached Tally, whatever it answered";
    ExpectEveryRowOnce(screen_);
    EXPECT_TRUE(screen_.LogText().ends_with("\r\nRun report: " + run.reportPath));
    ASSERT_EQ(observer_.messages.size(), 1u);
    EXPECT_NE(observer_.messages[0].text.find("\nSent with Tally errors: 1\n"), std::string::npos);
    EXPECT_NE(observer_.messages[0].text.find("Masters: 1 sent, 0 accepted, 1 with Tally errors"),
              std::string::npos);
}

TEST_F(TransferScreenTest, ASecondDocumentWithAKeyOfThisRunIsNotSent) {
    SendEachRow(definition_, [](size_t row) { return row == 1 ? "other" : "same"; });
    screen_.Load();
    screen_.GetData();
    screen_.Export();
    EXPECT_EQ(tally_.bodies.size(), 3u) << "masters, INV1 and INV2 only";
    EXPECT_EQ(screen_.LastRun().documents.accepted, 2);
    EXPECT_EQ(screen_.LastRun().documents.notSent, 1);
    EXPECT_NE(screen_.LogText().find("Not sent: same voucher key as document INV1 sent earlier in "
                                     "this run INV3"),
              std::string::npos)
        << screen_.LogText();
    ExpectEveryRowOnce(screen_);
}

TEST_F(TransferScreenTest, AnAmountBeyondARoundOffFromTheSourceIsADifference) {
    SendEachRow(definition_, nullptr, [](size_t row) {
        const double totals[] = {100.5, 100.51, 99.5};
        return DocumentRef{.amountSent = 100, .sourceTotal = totals[row]};
    });
    screen_.Load();
    screen_.GetData();
    screen_.Export();
    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(run.documents.accepted, 2);
    EXPECT_EQ(run.documents.differences, 1);
    EXPECT_FALSE(run.Clean());
    EXPECT_NE(screen_.LogText().find(
                  "\r\nDifference from the source: voucher amount 100, document total 100.51 INV2"),
              std::string::npos)
        << screen_.LogText();
    EXPECT_EQ(tally_.bodies.size(), 4u) << "a difference is still sent";
}

TEST_F(TransferScreenTest, ATallyThatStopsAnsweringEndsTheRunAndTheRestIsNotSent) {
    answer_ = [](const std::string&) { return Invoices(6); };
    reply_ = [](const std::string& body) {
        if (body.ends_with("INV1"))
            return testing::TallyReplies("<RESPONSE><CREATED>1</CREATED></RESPONSE>");
        return HttpResult{HttpResult::Status::NotConnected, 0, "", "refused"};
    };
    SendEachRow(definition_);
    screen_.Load();
    screen_.GetData();
    screen_.Export();
    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(tally_.bodies.size(), 5u) << "masters, INV1, then three failures in a row";
    EXPECT_TRUE(run.stopped);
    EXPECT_EQ(run.documents.accepted, 1);
    EXPECT_EQ(run.documents.notSent, 5);
    EXPECT_EQ(run.masters.notSent, 1);
    EXPECT_NE(screen_.LogText().find("\r\nTally is not answering"), std::string::npos);
    EXPECT_EQ(screen_.CurrentProgress().caption, "Transfer stopped");
    ExpectEveryRowOnce(screen_);
}

TEST_F(TransferScreenTest, ATallyThatCannotReadThreeRequestsInARowEndsTheRun) {
    answer_ = [](const std::string&) { return Invoices(6); };
    reply_ = [](const std::string& body) {
        for (const char* unread : {"INV2", "INV3", "INV4", "INV5", "INV6"})
            if (body.ends_with(unread))
                return testing::TallyReplies(
                    "<RESPONSE>Unknown Request, cannot be processed</RESPONSE>");
        return testing::TallyReplies("<RESPONSE><CREATED>1</CREATED></RESPONSE>");
    };
    SendEachRow(definition_);
    screen_.Load();
    screen_.GetData();
    screen_.Export();
    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(tally_.bodies.size(), 5u) << "masters, INV1, then three unread in a row";
    EXPECT_TRUE(run.stopped);
    EXPECT_EQ(run.documents.accepted, 1);
    // Tally had them and took in nothing; the rest never left.
    EXPECT_EQ(run.documents.tallyErrors, 3);
    EXPECT_EQ(run.documents.notSent, 2);
    EXPECT_EQ(run.documents.stopped, 0);
    EXPECT_NE(screen_.LogText().find("\r\nTally could not read the request INV2"),
              std::string::npos)
        << screen_.LogText();
    EXPECT_NE(screen_.LogText().find("\r\nTally could not read three requests in a row"),
              std::string::npos)
        << screen_.LogText();
    ExpectEveryRowOnce(screen_);
}

TEST_F(TransferScreenTest, ACompanyThatIsNotOpenEndsTheRunAtTheFirstRequest) {
    config_.strCompany = "KVZ Traders: 2024-25";
    answer_ = [](const std::string&) { return Invoices(4); };
    reply_ = [](const std::string&) {
        return testing::TallyReplies(
            "<ENVELOPE><HEADER><VERSION>1</VERSION><STATUS>0</STATUS></HEADER><BODY><DATA>"
            "<LINEERROR>Could not set &apos;SVCurrentCompany&apos; to &apos;KVZ Traders: "
            "2024-25&apos;</LINEERROR></DATA></BODY></ENVELOPE>");
    };
    SendEachRow(definition_);
    screen_.Load();
    screen_.GetData();
    screen_.Export();
    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(tally_.bodies.size(), 1u) << "the first master request only";
    EXPECT_TRUE(run.stopped);
    EXPECT_EQ(run.masters.tallyErrors, 1);
    EXPECT_EQ(run.documents.notSent, 4);
    EXPECT_EQ(run.documents.stopped, 0);
    EXPECT_NE(
        screen_.LogText().find("\r\nCompany 'KVZ Traders: 2024-25' is not open in Tally, or its "
                               "name differs: open it in Tally or correct COMPANY in Config.txt"),
        std::string::npos)
        << screen_.LogText();
    ExpectEveryRowOnce(screen_);
}

// Only nothing listening ends the run before its first request; any other odd answer to the
// check is told, and the requests still go.
TEST_F(TransferScreenTest, ACheckWithoutTheUsualAnswerIsToldAndTheRunGoesOn) {
    config_.strTallyServer = "tally-host";
    config_.strTallyPort = "9000";
    tally_.check = [] { return HttpResult{HttpResult::Status::Failed, 0, "", "Connection reset"}; };
    SendEachRow(definition_);
    screen_.Load();
    screen_.GetData();
    screen_.Export();
    EXPECT_EQ(tally_.checks, 1);
    EXPECT_EQ(tally_.bodies.size(), 4u);
    EXPECT_EQ(screen_.LastRun().documents.accepted, 3);
    EXPECT_NE(
        screen_.LogText().find("\r\nTally at tally-host:9000 did not answer as expected when "
                               "asked whether it runs (Connection reset); the export goes on"),
        std::string::npos)
        << screen_.LogText();
}

class SavedRequestsTest : public TransferScreenTest {
protected:
    void SetUp() override { std::filesystem::remove_all(folder_); }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_ = std::filesystem::path(::testing::TempDir()) /
                                    ("saved-requests-" + std::to_string(::getpid()));
};

// Without posting: each request in a file of its own, byte for byte; no Tally asked, nothing
// kept in the journal as sent.
TEST_F(SavedRequestsTest, ARunThatDoesNotPostSavesEveryRequestAndAsksNoTally) {
    ScreenContext context{config_, db_, tally_, reports_};
    context.saveRequestsTo = folder_ / "requests";
    context.post = false;
    context.journalPath = folder_ / "journal.db";
    TransferScreen screen(context, definition_);
    RecordingObserver observer;
    screen.SetObserver(&observer);
    SendEachRow(definition_);
    screen.Load();
    screen.GetData();
    screen.Export();
    EXPECT_EQ(tally_.checks, 0);
    EXPECT_TRUE(tally_.bodies.empty());
    const RunCounts& run = screen.LastRun();
    EXPECT_TRUE(run.Clean());
    EXPECT_EQ(run.documents.saved, 3);
    EXPECT_EQ(run.masters.saved, 1);
    EXPECT_EQ(screen.CurrentProgress().caption, "Requests Saved To Files");
    const std::string files[] = {"00001-master-Test masters.xml", "00002-voucher-INV1.xml",
                                 "00003-voucher-INV2.xml", "00004-voucher-INV3.xml"};
    for (size_t i = 1; i < 4; ++i) {
        std::ifstream file(context.saveRequestsTo / files[i], std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        const std::string number = "INV" + std::to_string(i);
        EXPECT_EQ(text, "<VOUCHER REMOTEID=\"" + number + "\">" + number) << files[i];
    }
    EXPECT_TRUE(std::filesystem::exists(context.saveRequestsTo / files[0]));
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_TRUE(
        observer.messages[0].text.starts_with("Requests saved to files, not posted to Tally\n"))
        << observer.messages[0].text;
    EXPECT_NE(observer.messages[0].text.find("\nRequests saved: 4 files in " +
                                             context.saveRequestsTo.string()),
              std::string::npos)
        << observer.messages[0].text;
    EXPECT_TRUE(TransferJournal(context.journalPath).Latest("test", {}, {}).empty());
    // The folder of one run takes no second one.
    screen.Export();
    EXPECT_TRUE(screen.LastRun().failed);
    EXPECT_NE(screen.LogText().find("already holds files"), std::string::npos);
}

// A folder that takes no more files ends the run there: what is not saved is not posted either.
TEST_F(SavedRequestsTest, ARequestThatCannotBeSavedEndsTheRunBeforeItIsPosted) {
    ScreenContext context{config_, db_, tally_, reports_};
    context.saveRequestsTo = folder_ / "requests";
    TransferScreen screen(context, definition_);
    answer_ = [](const std::string&) { return Invoices(4); };
    reply_ = [this](const std::string& body) {
        if (body.ends_with("INV1")) {
            std::filesystem::remove_all(folder_ / "requests");
            std::ofstream(folder_ / "requests") << "a file where the folder was";
        }
        return testing::TallyReplies("<RESPONSE><CREATED>1</CREATED></RESPONSE>");
    };
    SendEachRow(definition_);
    screen.Load();
    screen.GetData();
    screen.Export();
    const RunCounts& run = screen.LastRun();
    EXPECT_EQ(tally_.bodies.size(), 2u) << "the masters and INV1";
    EXPECT_TRUE(run.stopped);
    EXPECT_EQ(run.documents.accepted, 1);
    EXPECT_EQ(run.documents.notSent, 3);
    EXPECT_NE(screen.LogText().find("The request could not be saved to " +
                                    (folder_ / "requests" / "00003-voucher-INV2.xml").string() +
                                    ": Not a directory"),
              std::string::npos)
        << screen.LogText();
    ExpectEveryRowOnce(screen);
}

TEST(SavedRequestName, NumbersInOrderAndKeepsOnlyWhatAFileNameCanHold) {
    EXPECT_EQ(SavedRequestName(1, RequestForm::Master, "Sales masters"),
              "00001-master-Sales masters.xml");
    EXPECT_EQ(SavedRequestName(123456, RequestForm::Voucher, "INV/24-25/7"),
              "123456-voucher-INV_24-25_7.xml");
    EXPECT_EQ(SavedRequestName(2, RequestForm::Master, "Anand \"Super\" Mart: A*B?<x>|\\\t."),
              "00002-master-Anand _Super_ Mart_ A_B__x_____.xml");
    EXPECT_EQ(SavedRequestName(3, RequestForm::Master, "\u0bb8\u0bcd\u0bb0\u0bc0 \u20b999"),
              "00003-master-\u0bb8\u0bcd\u0bb0\u0bc0 \u20b999.xml");
    // A long name is cut, never inside a character.
    const std::string devanagari = "\u0935\u093f\u091c\u092f";  // 12 bytes
    std::string longName;
    for (int i = 0; i < 10; ++i) longName += devanagari;
    const std::string cut = SavedRequestName(4, RequestForm::Voucher, longName);
    EXPECT_EQ(cut, "00004-voucher-" + longName.substr(0, 78) + ".xml");
}

// A source locked by another program: the wait is told in the log and the progress line, and a
// Stop that ends it is no database error.
TEST_F(TransferScreenTest, AWaitForALockedSourceIsToldAndStopEndsIt) {
    const std::string waiting = "Waiting for the source database (locked by another program)\u2026";
    answer_ = [this, waiting](const std::string& sql) {
        if (!sql.starts_with("HEADER")) return Invoices(2);
        connection_->wait.onWaiting();
        EXPECT_EQ(screen_.CurrentProgress().document, waiting);
        EXPECT_FALSE(connection_->wait.giveUp()) << "no stop asked yet";
        screen_.RequestStop();
        EXPECT_TRUE(connection_->wait.giveUp());
        throw DbError(5, "database is locked");
        return Invoices(0);
    };
    screen_.Load();
    screen_.GetData();
    EXPECT_NE(screen_.LogText().find("\r\n" + waiting + "\r\nGet Data stopped by the operator"),
              std::string::npos)
        << screen_.LogText();
    EXPECT_TRUE(observer_.messages.empty()) << "no error box for a stop";
    EXPECT_EQ(screen_.ssdbgItem.RowCount(), 0u);
}

TEST_F(TransferScreenTest, AStopEndsTheRunAfterTheCurrentRequest) {
    answer_ = [](const std::string&) { return Invoices(5); };
    observer_.stopAfter = 3;  // masters, INV1, INV2
    SendEachRow(definition_);
    screen_.Load();
    screen_.GetData();
    screen_.Export();
    const RunCounts& run = screen_.LastRun();
    EXPECT_TRUE(run.stopped);
    EXPECT_EQ(run.documents.accepted, 2);
    EXPECT_EQ(run.documents.stopped, 3);
    EXPECT_NE(screen_.LogText().find("\r\nExport stopped by the operator"), std::string::npos);
    EXPECT_EQ(screen_.CurrentProgress().caption, "Transfer stopped");
    ExpectEveryRowOnce(screen_);

    // The next run starts afresh.
    observer_.stopAfter = -1;
    screen_.Export();
    EXPECT_FALSE(screen_.LastRun().stopped);
    EXPECT_EQ(screen_.LastRun().documents.accepted, 5);
}

// A full disk: the run stops before the next request once a line of the report is not written,
// and says the report is incomplete. Capacity k cuts the report inside line k + 1 (the head
// is line 0), so requests 1 .. k + 1 were sent.
TEST_F(TransferScreenTest, AReportThatCannotBeWrittenEndsTheRunBeforeTheNextRequest) {
    answer_ = [](const std::string&) { return Invoices(4); };
    SendEachRow(definition_);
    screen_.Load();
    screen_.GetData();
    screen_.Export();
    ASSERT_TRUE(screen_.LastRun().Clean());
    std::ifstream whole(screen_.LastRun().reportPath, std::ios::binary);
    std::vector<size_t> lineEnds;  // bytes up to the end of each line
    size_t bytes = 0;
    for (std::string line; std::getline(whole, line);) lineEnds.push_back(bytes += line.size() + 1);
    ASSERT_EQ(lineEnds.size(), 6u) << "head, masters, four documents";
    std::ifstream head(screen_.LastRun().reportPath, std::ios::binary);
    std::string first;
    std::getline(head, first);
    EXPECT_TRUE(
        first.starts_with("\xEF\xBB\xBF"
                          "kind,number or name,"))
        << first;

    struct Case {
        size_t capacity;
        size_t requests;
    };
    const Case cases[] = {
        {0, 0}, {lineEnds[0] - 1, 0}, {lineEnds[0], 1}, {lineEnds[1] + 5, 2}, {lineEnds[3], 4}};
    for (const Case& c : cases) {
        ScreenContext context{config_, db_, tally_, reports_};
        context.reportCapacity = c.capacity;
        TransferScreen screen(context, definition_);
        RecordingObserver observer;
        screen.SetObserver(&observer);

        screen.Load();
        screen.GetData();
        const size_t before = tally_.bodies.size();
        screen.Export();
        const RunCounts& run = screen.LastRun();
        EXPECT_EQ(tally_.bodies.size() - before, c.requests) << c.capacity;
        EXPECT_TRUE(run.failed);
        EXPECT_FALSE(run.Clean());
        EXPECT_EQ(run.reportError,
                  "cannot write the run report " + run.reportPath + ": No space left on device")
            << c.capacity;
        EXPECT_EQ(run.documents.Total(), 4);
        EXPECT_EQ(run.documents.accepted, c.requests > 1 ? long(c.requests) - 1 : 0);
        EXPECT_EQ(run.documents.notSent, 4 - run.documents.accepted) << "the rest is not sent";
        EXPECT_EQ(std::filesystem::file_size(run.reportPath), c.capacity);
        ASSERT_EQ(observer.messages.size(), 2u);
        EXPECT_NE(observer.messages[0].text.find(run.reportError), std::string::npos);
        EXPECT_NE(
            observer.messages[1].text.find("\nThe run report is incomplete: " + run.reportError),
            std::string::npos);
        EXPECT_EQ(screen.CurrentProgress().caption, "Transfer ended with errors");
    }
}

// Every request reaches the run's sink with its form, key and document told, not left in text.
TEST_F(TransferScreenTest, EveryRequestGoesThroughTheSinkOfTheRun) {
    struct RecordingSink : RequestSink {
        std::vector<Request> requests;
        ExchangeResult Deliver(const Request& request, const std::atomic<bool>*) override {
            requests.push_back(request);
            ExchangeResult accepted;
            accepted.outcome = Outcome::Accepted;
            return accepted;
        }
    } sink;
    ScreenContext context{config_, db_, tally_, reports_};
    context.sink = &sink;
    TransferScreen screen(context, definition_);
    SendEachRow(definition_, [](size_t row) { return "key" + std::to_string(row); });
    screen.Load();
    screen.GetData();
    screen.Export();
    EXPECT_TRUE(tally_.bodies.empty()) << "nothing past the sink";
    ASSERT_EQ(sink.requests.size(), 4u);
    EXPECT_EQ(sink.requests[0].form, RequestForm::Master);
    EXPECT_EQ(sink.requests[0].document, "Test masters");
    EXPECT_EQ(sink.requests[0].key, "");
    EXPECT_NE(sink.requests[0].body.find("<MASTER/>"), std::string::npos);
    for (size_t row = 0; row < 3; ++row) {
        const Request& request = sink.requests[row + 1];
        EXPECT_EQ(request.form, RequestForm::Voucher);
        EXPECT_EQ(request.document, "INV" + std::to_string(row + 1));
        EXPECT_EQ(request.key, "key" + std::to_string(row));
    }
    EXPECT_EQ(screen.LastRun().documents.accepted, 3);
}

// Whatever one document's build throws is that document's outcome; the run goes on.
TEST_F(TransferScreenTest, SkippedAndUnbuildableDocumentsHaveTheirOutcome) {
    answer_ = [](const std::string&) { return Invoices(4); };
    definition_.build = [](const ListedRow& row, BuiltDocument& built) {
        if (row.Index() == 0) {
            built.kind = BuiltDocument::Kind::Skip;
            built.reason = "net amount is 0 or less";
        }
        if (row.Index() == 1) throw NotANumber("X", "a");
        if (row.Index() == 2) throw std::invalid_argument("date '20240231' is not a date");
        built.request = "<VOUCHER REMOTEID=\"k\">";
    };
    screen_.Load();
    screen_.GetData();
    screen_.Export();
    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(run.documents.skipped, 1);
    EXPECT_EQ(run.documents.notSent, 2);
    EXPECT_EQ(run.documents.accepted, 1);
    EXPECT_FALSE(run.failed);
    EXPECT_NE(screen_.LogText().find("\r\nNot sent: field X holds 'a', not a number INV2"),
              std::string::npos);
    EXPECT_NE(screen_.LogText().find("\r\nNot sent: date '20240231' is not a date INV3"),
              std::string::npos);
    EXPECT_EQ(screen_.LogText().find("net amount"), std::string::npos) << "a skip is not logged";
    ExpectEveryRowOnce(screen_);
}

}  // namespace
}  // namespace zentrail
