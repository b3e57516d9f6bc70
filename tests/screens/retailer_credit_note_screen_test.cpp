// The retailer credit note screen on scripted source rows and a scripted Tally: the steps and
// their order, a note adjusted against two invoices credited once, skips, and one whole request
// byte for byte.

#include "screens/retailer_credit_note_screen.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "screens/credit_note_adjustments.h"
#include "screens/screen_registry.h"
#include "screens/screen_test_support.h"
#include "screens/service_screen.h"
#include "shell/configuration.h"

namespace zentrail {
namespace {

using testing::RecordingObserver;
using testing::ScriptedConnection;

TEST(CreditNoteAdjustments, EachNoteGoesWithItsEarliestInvoice) {
    const std::vector<CreditNoteAdjustment> rows = {
        {"CN1", "SI/9", "20240410"},   // 0
        {"CN1", "SI/3", "20240402"},   // 1: earliest day
        {"CN2", "SI/5", "20240405"},   // 2: alone
        {"CN3", "SI/8", "20240406"},   // 3: same day as 4, lower number
        {"CN3", "SI/9", "20240406"},   // 4
        {"CN1", "SI/4", "20240402"},   // 5: same day as 1, higher number
        {"CN4", "SI/7", "not a day"},  // 6: a day that cannot be read comes last
        {"CN4", "SI/6", "20240420"},   // 7
    };
    EXPECT_EQ(RowsCarryingTheirNotes(rows), (std::vector<size_t>{1, 1, 2, 3, 3, 1, 7, 7}));
    EXPECT_TRUE(RowsCarryingTheirNotes({}).empty());
}

TEST(ScreenRegistry, ScreensAreFoundByNameAndByKey) {
    Configuration config;
    SourceDatabase db;
    testing::ScriptedTransport tally{
        [](const std::string&) { return testing::TallyReplies("<RESPONSE/>"); }};
    ScreenContext context{config, db, tally};
    auto notes = CreateScreen("creditnote", context);
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(&notes->Definition(), &RetailerCreditNoteScreen::TheDefinition());
    EXPECT_EQ(notes->design().title, "Import Credit Note Transaction");
    EXPECT_EQ(notes->design().closingText, "Credit Note Transferrd");
    auto services = CreateScreen("CVR02-06", context);
    ASSERT_NE(services, nullptr);
    EXPECT_EQ(&services->Definition(), &ServiceScreen::TheDefinition());
    EXPECT_EQ(services->design().title, "Import Service Transaction");
    EXPECT_EQ(services->design().frameCaption, "Importing Service");
    EXPECT_EQ(services->design().closingText, "Services Transferrd");
}

const std::vector<std::string> kColumns = {"CrNoteNumber", "CrNoteDate", "RtrName", "Description",
                                           "CrAdjAmount",  "Remarks",    "RtrId",   "ReasonId",
                                           "PostedFrom",   "RTRADD1",    "RTRADD2", "RTRADD3",
                                           "SalInvNo",     "SalInvDate"};

struct Listed {
    std::string number, date, customer, reason, amount, customerId, invoice, invoiceDate;
};

RowSet Listing(const std::vector<Listed>& notes) {
    RowSet rows(kColumns);
    for (const Listed& n : notes)
        for (const std::string& cell :
             {n.number, n.date, n.customer, n.reason, n.amount,
              std::string("Display incentive April 2024"), n.customerId, std::string("1"),
              std::string("Manual"), std::string("14 Big Bazaar Street"),
              std::string("Near Gandhi Park & Bus Stand"), std::string("Coimbatore"), n.invoice,
              n.invoiceDate})
            rows.Append(cell);
    return rows;
}

class CreditNoteScreen : public ::testing::Test {
protected:
    CreditNoteScreen()
        : db_([this](const std::string&, const std::string&, const std::string&) {
              auto connection =
                  std::make_unique<ScriptedConnection>([this](const std::string& sql) {
                      if (sql.rfind("SELECT A.CrNoteNumber", 0) == 0) return Listing(notes_);
                      if (sql.rfind("SELECT * FROM ReasonMaster", 0) == 0)
                          return RowSet({"ReasonId", "Description"},
                                        {{"1", "Damages & Expiry"}, {"2", "Display Incentive"}});
                      return RowSet({"RtrName", "RtrId", "RTRADD1", "RTRADD2", "RTRADD3"},
                                    {{"Kumar's Caf\u00e9 & Bakery", "2", "14 Big Bazaar Street",
                                      std::nullopt, "Coimbatore"},
                                     {"Nilgiri Provisions", "9", "", "", ""}});
                  });
              connection_ = connection.get();
              return connection;
          }) {
        config_.strCompany = "Zentrail Demo";
        config_.blnLedgerId = true;
        db_.OpenConnection(config_);
        screen_.SetObserver(&observer_);
    }

    void Run() {
        screen_.Load();
        screen_.SetDates({2024, 4, 1}, {2024, 4, 30});
        screen_.GetData();
        screen_.Export();
    }

    Configuration config_;
    std::vector<Listed> notes_;
    ScriptedConnection* connection_ = nullptr;
    SourceDatabase db_;
    testing::ScriptedTransport tally_{[](const std::string&) {
        return testing::TallyReplies("<RESPONSE><CREATED>1</CREATED></RESPONSE>");
    }};
    RetailerCreditNoteScreen screen_{ScreenContext{config_, db_, tally_}};
    RecordingObserver observer_;
};

const Listed kTwiceAdjusted[] = {
    {"CN/24-25/0007", "20240412", "Kumar's Caf\u00e9 & Bakery", "Damages & Expiry", "1250.50", "2",
     "SI/0009", "20240410"},
    {"CN/24-25/0007", "20240412", "Kumar's Caf\u00e9 & Bakery", "Damages & Expiry", "1250.50", "2",
     "SI/0003", "20240402"},
};

TEST_F(CreditNoteScreen, NoteAdjustedTwiceIsCreditedOnceWithItsEarliestInvoice) {
    notes_ = {std::begin(kTwiceAdjusted), std::end(kTwiceAdjusted)};
    Run();
    // Voucher type, two customers, two reasons, one voucher.
    ASSERT_EQ(tally_.bodies.size(), 6u);
    std::ifstream file(std::string(ZENTRAIL_TEST_DATA_DIR) + "/retailer_credit_note_voucher.xml",
                       std::ios::binary);
    ASSERT_TRUE(file) << "expected file missing";
    std::stringstream expected;
    expected << file.rdbuf();
    EXPECT_EQ(tally_.bodies[5], expected.str());

    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(run.documents.accepted, 1);
    EXPECT_EQ(run.documents.skipped, 1);
    EXPECT_EQ(run.documents.Total(), 2);
    EXPECT_TRUE(run.Clean());
    EXPECT_EQ(screen_.LogText(),
              "\r\nCredited once with invoice SI/0003; also adjusted against SI/0009 "
              "CN/24-25/0007");
    EXPECT_EQ(screen_.CurrentProgress().handled, 2);
    ASSERT_EQ(observer_.messages.size(), 1u);
    EXPECT_EQ(observer_.messages[0].text.substr(0, 23), "Credit Note Transferrd\n");
    EXPECT_NE(observer_.messages[0].text.find("\nSkipped: 1\n"), std::string::npos);
}

TEST_F(CreditNoteScreen, MastersComeFirstInTheirOrder) {
    notes_ = {kTwiceAdjusted[1]};
    Run();
    ASSERT_EQ(tally_.bodies.size(), 6u);
    EXPECT_NE(tally_.bodies[0].find("<VOUCHERTYPE NAME=\"KVZ Credit Note\" RESERVEDNAME=\"\">\r\n"
                                    "<NAME.LIST>\r\n<NAME>KVZ Credit Note</NAME>\r\n</NAME.LIST>"
                                    "\r\n<ADDITIONALNAME>IF</ADDITIONALNAME>\r\n<PARENT>Credit "
                                    "Note</PARENT>"),
              std::string::npos);
    const std::string& customer = tally_.bodies[1];
    EXPECT_NE(customer.find("<LEDGER NAME=\"Kumar&apos;s Caf\u00e9 &amp; Bakery_2\" "
                            "RESERVEDNAME=\"\">\r\n"),
              std::string::npos);
    EXPECT_NE(customer.find("<ADDRESS.LIST>\r\n\t<ADDRESS>14 Big Bazaar Street</ADDRESS>\r\n\t"
                            "<ADDRESS>Coimbatore</ADDRESS>\r\n</ADDRESS.LIST>"),
              std::string::npos)
        << customer;
    EXPECT_NE(customer.find("<PARENT>Sundry Debtors</PARENT>"), std::string::npos);
    EXPECT_NE(customer.find("<ISBILLWISEON>Yes</ISBILLWISEON>"), std::string::npos);
    EXPECT_NE(customer.find("\t<PARTYGSTIN>Unregistered</PARTYGSTIN>"), std::string::npos);
    EXPECT_EQ(customer.find("\t<STATENAME>"), std::string::npos);
    EXPECT_EQ(tally_.bodies[2].find("<ADDRESS.LIST>"), std::string::npos);
    const std::string& reason = tally_.bodies[3];
    EXPECT_NE(reason.find("<LEDGER NAME=\"Damages &amp; Expiry\" RESERVEDNAME=\"\">"),
              std::string::npos);
    EXPECT_NE(reason.find("<PARENT>Current Liabilities</PARENT>"), std::string::npos);
    EXPECT_NE(reason.find("<ISBILLWISEON>No</ISBILLWISEON>"), std::string::npos);
    EXPECT_NE(tally_.bodies[4].find("<LEDGER NAME=\"Display Incentive\""), std::string::npos);
    // The queries of the export, in order: party, reason.
    ASSERT_GE(connection_->queries.size(), 4u);
    EXPECT_EQ(
        connection_->queries[connection_->queries.size() - 2].rfind("SELECT C.RtrName, A.RtrId", 0),
        0u);
    EXPECT_EQ(connection_->queries.back(), "SELECT * FROM ReasonMaster ");
}

TEST_F(CreditNoteScreen, LedgerIdOffNamesTheCustomerByItsNameAlone) {
    config_.blnLedgerId = false;
    notes_ = {kTwiceAdjusted[1]};
    Run();
    ASSERT_EQ(tally_.bodies.size(), 6u);
    EXPECT_NE(tally_.bodies[1].find("<LEDGER NAME=\"Kumar&apos;s Caf\u00e9 &amp; Bakery\" "),
              std::string::npos);
    EXPECT_NE(
        tally_.bodies[5].find("<LEDGERNAME>Kumar&apos;s Caf\u00e9 &amp; Bakery</LEDGERNAME>\r\n"
                              "<ISPARTYLEDGER>Yes</ISPARTYLEDGER>"),
        std::string::npos);
}

TEST_F(CreditNoteScreen, AmountOfZeroOrLessIsSkippedWithoutAMessage) {
    notes_ = {{"CN/1", "20240412", "Nilgiri Provisions", "Display Incentive", "0", "9", "SI/1",
               "20240401"},
              {"CN/2", "20240413", "Nilgiri Provisions", "Display Incentive", "-3", "9", "SI/2",
               "20240401"},
              {"CN/3", "20240414", "Nilgiri Provisions", "Display Incentive", "12.345", "9", "",
               "20240401"}};
    Run();
    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(run.documents.skipped, 2);
    EXPECT_EQ(run.documents.accepted, 1);
    EXPECT_EQ(screen_.LogText(), "");
    ASSERT_EQ(tally_.bodies.size(), 6u);
    // Without an invoice the note is its own reference; its amount is taken to two decimals.
    const std::string& voucher = tally_.bodies[5];
    EXPECT_NE(voucher.find("<REFERENCE>CN/3</REFERENCE>\r\n<REFERENCEDATE>20240414</"
                           "REFERENCEDATE>"),
              std::string::npos)
        << voucher;
    EXPECT_NE(voucher.find("<NAME>CN/3</NAME>"), std::string::npos);
    EXPECT_NE(voucher.find("<AMOUNT>12.34</AMOUNT>"), std::string::npos);
    EXPECT_NE(voucher.find("<AMOUNT>-12.34</AMOUNT>"), std::string::npos);
}

}  // namespace
}  // namespace zentrail
