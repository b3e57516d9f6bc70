// Customer receipts: hand-made receipt lines through the screen into the Tally simulator, then
// the demo database's receipts.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "screens/queries/receipt_queries.h"
#include "screens/receipt_screen.h"
#include "screens/screen_test_support.h"
#include "support/demo_database.h"
#include "support/tally_sim_process.h"
#include "tally/http_client.h"
#include "tally/number_text.h"

namespace zentrail {
namespace {

using testing::RecordingObserver;
using testing::ScriptedConnection;
using testing::ScriptedOpener;

constexpr const char* kCompany = "Zentrail Demo";
const CalendarDate kFrom{2024, 4, 1};
const CalendarDate kTo{2024, 4, 30};

const std::vector<std::string> kListFields = {
    "INVRCPNO",        "INVRCPSNO",       "INVRCPDATE", "RTRNAME",    "RECD_AMT",   "SALINVNO",
    "SALINVDATE",      "INVRCPAMT",       "DISBNKID",   "DISBNKBRID", "CUST_BANK",  "DIST_BANK",
    "CUST_BNK_BRANCH", "DIST_BNK_BRANCH", "INVINSNO",   "INVINSDATE", "INVDEPDATE", "RTRID"};

const std::vector<std::string> kPartyFields = {
    "RtrName",   "RtrCode",    "RtrName",    "RtrId",      "RtrAdd1",          "RtrAdd2",
    "RtrAdd3",   "RtrPinNo",   "RtrPhoneNo", "RtrEmailId", "RtrContactPerson", "RtrRegDate",
    "RtrTINNo",  "RtrCrLimit", "RtrCrDays",  "GSTN",       "REG_UNREG",        "PAN_NUM",
    "STat_Name", "COMPOS"};

// One receipt line as the list query gives it.
struct ReceiptRow {
    std::string number, serial, date, party, received, invoice, total;
    std::string customerBank, distributorBank, cheque, chequeDate, partyId;
};

// A cheque of 123456 from Indian Bank into State Bank of India.
ReceiptRow Cheque(std::string number, std::string serial, std::string received, std::string invoice,
                  std::string total) {
    return {number,     serial, "20240420",    "Shah & Sons",         received,
            invoice,    total,  "Indian Bank", "State Bank of India", "123456",
            "20240418", "42"};
}

RowSet ListRows(const std::vector<ReceiptRow>& receipts) {
    RowSet rows(kListFields);
    for (const ReceiptRow& r : receipts) {
        for (const std::string& text :
             {r.number, r.serial, r.date, r.party, r.received, r.invoice, std::string("20240405"),
              r.total, std::string("1"), std::string("1"), r.customerBank, r.distributorBank,
              std::string("T Nagar"), std::string("Anna Salai"), r.cheque, r.chequeDate,
              std::string("20240421"), r.partyId})
            rows.Append(text);
    }
    return rows;
}

RowSet PartyRows(const std::vector<std::pair<std::string, std::string>>& parties) {
    RowSet rows(kPartyFields);
    for (const auto& [name, id] : parties)
        for (size_t i = 0; i < kPartyFields.size(); ++i) {
            const std::string& field = kPartyFields[i];
            if (field == "RtrName")
                rows.Append(name);
            else if (field == "RtrId")
                rows.Append(id);
            else if (field == "STat_Name")
                rows.Append("Tamil Nadu");
            else
                rows.AppendNull();
        }
    return rows;
}

// Forwards to a transport and keeps every request body.
class RecordingTransport : public TallyTransport {
public:
    explicit RecordingTransport(TallyTransport& inner) : inner_(inner) {}
    HttpResult Post(const std::string& url, const std::string& body, std::string_view contentType,
                    const std::atomic<bool>* stop) override {
        bodies.push_back(body);
        return inner_.Post(url, body, contentType, stop);
    }
    HttpResult Get(const std::string& url, const std::atomic<bool>* stop) override {
        return inner_.Get(url, stop);
    }
    std::vector<std::string> bodies;

private:
    TallyTransport& inner_;
};

std::string ReadFile(const std::string& name) {
    std::ifstream file(std::string(ZENTRAIL_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name << " missing";
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class ReceiptScreenTest : public ::testing::Test {
protected:
    ReceiptScreenTest()
        : db_(ScriptedOpener([this](const std::string& sql) { return Answer(sql); })) {
        config_.strTallyServer = "127.0.0.1";
        config_.strTallyPort = std::to_string(sim_.Port());
        config_.strCompany = kCompany;
        config_.blnLedgerId = true;
        db_.OpenConnection(config_);
    }

    RowSet Answer(const std::string& sql) {
        std::string from = kFrom.QueryText(), to = kTo.QueryText();
        if (sql == ReceiptListQuery(from, to)) return ListRows(receipts_);
        if (sql == ReceiptPartyQuery(from, to)) return PartyRows(parties_);
        if (sql == ReceiptBankQuery())
            return RowSet({"BnkName"}, {{"Indian Bank"}, {"State Bank of India"}});
        ADD_FAILURE() << "unexpected query " << sql;
        return RowSet{};
    }

    void Run() {
        screen_.SetObserver(&observer_);
        screen_.Load();
        screen_.SetDates(kFrom, kTo);
        screen_.GetData();
        ASSERT_FALSE(screen_.GetDataFailed()) << screen_.LogText();
        screen_.Export();
    }

    // The simulator's vouchers by the end of their key: number "-" reference.
    std::map<std::string, nlohmann::json> Vouchers() {
        std::map<std::string, nlohmann::json> vouchers;
        const nlohmann::json books = sim_.Books();
        for (const auto& voucher : books["vouchers"]) {
            std::string key = voucher["remoteId"];
            std::string party = voucher["party"].get<std::string>() + "-";
            size_t at = key.find(party);
            EXPECT_NE(at, std::string::npos) << key;
            if (at != std::string::npos) vouchers[key.substr(at + party.size())] = voucher;
        }
        return vouchers;
    }

    // Entries of a voucher as ledger and signed amount.
    static std::map<std::string, double> Entries(const nlohmann::json& voucher) {
        std::map<std::string, double> entries;
        for (const auto& entry : voucher["entries"])
            entries[entry["ledger"].get<std::string>()] += entry["amount"].get<double>();
        return entries;
    }

    testing::TallySimProcess sim_{{"--company", kCompany}};
    Configuration config_;
    std::vector<ReceiptRow> receipts_;
    std::vector<std::pair<std::string, std::string>> parties_ = {{"Shah & Sons", "42"}};
    SourceDatabase db_;
    HttpClient http_;
    RecordingTransport tally_{http_};
    ReceiptScreen screen_{ScreenContext{config_, db_, tally_}};
    RecordingObserver observer_;
};

TEST_F(ReceiptScreenTest, MastersAndAChequeOfASettledInvoiceAreExactlyTheExpectedRequests) {
    receipts_ = {Cheque("RCP-1", "1", "60", "INV-7", "100")};
    Run();
    ASSERT_EQ(tally_.bodies.size(), 5u) << "cash and type, party, two banks, the voucher";
    EXPECT_EQ(tally_.bodies.front(), ReadFile("receipt_fixed_masters.xml"));
    EXPECT_EQ(tally_.bodies.back(), ReadFile("receipt_voucher.xml"));
    EXPECT_TRUE(screen_.LastRun().Clean()) << screen_.LogText();
    ASSERT_EQ(observer_.messages.size(), 1u);
    EXPECT_EQ(observer_.messages[0].text.substr(0, 19), "Receipt Transferrd\n");
}

TEST_F(ReceiptScreenTest, MastersAreCashTypePartiesAndEveryBank) {
    receipts_ = {Cheque("RCP-1", "1", "60", "INV-7", "100")};
    Run();
    nlohmann::json books = sim_.Books();
    std::map<std::string, std::string> parentOf;
    for (const auto& master : books["masters"])
        if (!master.value("predefined", false))
            parentOf[master["name"].get<std::string>()] = master["parent"].get<std::string>();
    EXPECT_EQ(parentOf["Cash A/c"], "Cash-in-Hand");
    EXPECT_EQ(parentOf["KVZ Receipt"], "Receipt");
    EXPECT_EQ(parentOf["Shah & Sons_42"], "Sundry Debtors");
    EXPECT_EQ(parentOf["Indian Bank"], "Bank Accounts");
    EXPECT_EQ(parentOf["State Bank of India"], "Bank Accounts");
    EXPECT_TRUE(screen_.LastRun().masters.AllGood()) << screen_.LogText();
}

// A receipt of 100 settling 60 and 40, cash, a transfer without instrument number, a receipt
// of 0 (skipped whatever it applies) and an application of 0 (a party entry of 0 only).
TEST_F(ReceiptScreenTest, EveryKindOfReceiptLineReachesTallyAsTheRulesSay) {
    ReceiptRow cash = Cheque("RCP-2", "3", "250.5", "INV-8", "250.5");
    cash.customerBank = cash.distributorBank = cash.cheque = cash.chequeDate = "";
    ReceiptRow transfer = Cheque("RCP-3", "4", "75", "INV-9", "75");
    transfer.cheque = "";
    ReceiptRow nothingReceived = Cheque("RCP-4", "5", "50", "INV-10", "0");
    ReceiptRow nothingApplied = Cheque("RCP-5", "6", "0", "INV-11", "30");
    receipts_ = {Cheque("RCP-1", "1", "60", "INV-7", "100"),
                 Cheque("RCP-1", "2", "40", "INV-6", "100"),
                 cash,
                 transfer,
                 nothingReceived,
                 nothingApplied};
    Run();
    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(run.documents.accepted, 5) << screen_.LogText();
    EXPECT_EQ(run.documents.skipped, 1);
    EXPECT_EQ(run.documents.Total(), 6);
    EXPECT_EQ(screen_.CurrentProgress().handled, 6);

    std::map<std::string, nlohmann::json> vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 5u);
    const std::string party = "Shah & Sons_42";
    using Entries = std::map<std::string, double>;
    EXPECT_EQ(ReceiptScreenTest::Entries(vouchers.at("1-RCP-1")),
              (Entries{{party, 60}, {"State Bank of India", -60}}));
    EXPECT_EQ(ReceiptScreenTest::Entries(vouchers.at("2-RCP-1")),
              (Entries{{party, 40}, {"State Bank of India", -40}}));
    EXPECT_EQ(ReceiptScreenTest::Entries(vouchers.at("3-RCP-2")),
              (Entries{{party, 250.5}, {"Cash A/c", -250.5}}));
    EXPECT_EQ(ReceiptScreenTest::Entries(vouchers.at("4-RCP-3")),
              (Entries{{party, 75}, {"State Bank of India", -75}}));
    EXPECT_EQ(ReceiptScreenTest::Entries(vouchers.at("6-RCP-5")), (Entries{{party, 0}}));
    for (const auto& [key, voucher] : vouchers) EXPECT_EQ(voucher["type"], "KVZ Receipt");

    // The requests as sent: bills, bank allocations and narrations.
    auto request = [&](const std::string& number, const std::string& reference) {
        for (const std::string& body : tally_.bodies)
            if (body.find("<VOUCHERNUMBER>" + number + "</VOUCHERNUMBER>\r\n<REFERENCE>" +
                          reference + "<") != std::string::npos)
                return body;
        ADD_FAILURE() << "no request " << number << " " << reference;
        return std::string();
    };
    std::string second = request("2", "RCP-1");
    EXPECT_NE(
        second.find("<NAME>INV-6</NAME>\r\n<BILLTYPE>Agst Ref</BILLTYPE>\r\n<BILLCREDITPERIOD/"
                    ">\r\n<AMOUNT>40</AMOUNT>"),
        std::string::npos);
    EXPECT_NE(second.find("<BANKALLOCATIONS.LIST>"), std::string::npos);
    std::string cashRequest = request("3", "RCP-2");
    EXPECT_EQ(cashRequest.find("<BANKALLOCATIONS.LIST>"), std::string::npos);
    // The builder trims the narration's blank away.
    EXPECT_NE(cashRequest.find("<NARRATION>Cheque Number -</NARRATION>"), std::string::npos);
    EXPECT_NE(cashRequest.find("<AMOUNT>250.5</AMOUNT>\r\n</BILLALLOCATIONS.LIST>"),
              std::string::npos);
    std::string transferRequest = request("4", "RCP-3");
    EXPECT_EQ(transferRequest.find("<BANKALLOCATIONS.LIST>"), std::string::npos);
    EXPECT_NE(transferRequest.find("<LEDGERNAME>State Bank of India</LEDGERNAME>"),
              std::string::npos);
    std::string zero = request("6", "RCP-5");
    EXPECT_EQ(zero.find("<BILLALLOCATIONS.LIST>"), std::string::npos);
    EXPECT_NE(zero.find("<AMOUNT>0</AMOUNT>\r\n</ALLLEDGERENTRIES.LIST>\r\n</VOUCHER>"),
              std::string::npos);
    for (const std::string& body : tally_.bodies)
        EXPECT_EQ(body.find("<REFERENCE>RCP-4<"), std::string::npos) << "skipped, never sent";
}

// Two receipts of one customer on one day whose lines are both serial 1: both vouchers stay in
// Tally, told apart by the receipt number.
TEST_F(ReceiptScreenTest, SameDaySameSerialReceiptsOfOneCustomerAreBothKept) {
    receipts_ = {Cheque("RCP-10", "1", "500", "INV-1", "500"),
                 Cheque("RCP-11", "1", "300", "INV-2", "300")};
    Run();
    EXPECT_EQ(screen_.LastRun().documents.accepted, 2) << screen_.LogText();
    nlohmann::json books = sim_.Books();
    ASSERT_EQ(books["vouchers"].size(), 2u);
    std::set<std::string> keys;
    for (const auto& voucher : books["vouchers"]) keys.insert(voucher["remoteId"]);
    EXPECT_EQ(keys.size(), 2u);
    double credit = 0;
    for (const auto& line : books["trialBalance"]["ledgers"])
        if (line["ledger"] == "Shah & Sons_42") credit = line["credit"].get<double>();
    EXPECT_DOUBLE_EQ(credit, 800);
}

// A line that cannot be built is not sent, says why, and the others still are.
TEST_F(ReceiptScreenTest, ALineWithoutAValidDateOrAmountIsNotSentAndSaysWhy) {
    ReceiptRow noDay = Cheque("RCP-20", "1", "10", "INV-1", "10");
    noDay.date = "20240231";
    ReceiptRow noAmount = Cheque("RCP-21", "1", "1O", "INV-2", "10");
    receipts_ = {noDay, noAmount, Cheque("RCP-22", "1", "10", "INV-3", "10")};
    Run();
    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(run.documents.notSent, 2);
    EXPECT_EQ(run.documents.accepted, 1);
    EXPECT_NE(screen_.LogText().find("\r\nNot sent: date '20240231' is not a date RCP-20/1"),
              std::string::npos)
        << screen_.LogText();
    EXPECT_NE(screen_.LogText().find("\r\nNot sent: field RECD_AMT holds '1O', not a number "
                                     "RCP-21/1"),
              std::string::npos)
        << screen_.LogText();
    EXPECT_EQ(sim_.Books()["vouchers"].size(), 1u);
}

// ---- The demo database into the Tally simulator.

TEST(ReceiptEndToEnd, DemoReceiptsReduceTheCustomersByExactlyWhatTheyPaid) {
    testing::GeneratedDemo demo(300, 1, "receipts-e2e");
    testing::TallySimProcess sim({"--company", kCompany});
    Configuration config;
    config.strTallyServer = "127.0.0.1";
    config.strTallyPort = std::to_string(sim.Port());
    config.strCompany = kCompany;
    config.strSqlOdbc = demo.Path();
    config.blnLedgerId = true;
    SourceDatabase db;
    db.OpenConnection(config);
    HttpClient tally;
    std::filesystem::path reports = std::filesystem::path(::testing::TempDir()) /
                                    ("receipt-reports-" + std::to_string(::getpid()));
    ReceiptScreen receipts(ScreenContext{config, db, tally, reports});
    RecordingObserver observer;
    receipts.SetObserver(&observer);
    receipts.Load();
    receipts.SetDates({2024, 4, 1}, {2024, 5, 31});
    receipts.GetData();
    ASSERT_FALSE(receipts.GetDataFailed()) << receipts.LogText();
    receipts.Export();

    const TransferGrid& grid = receipts.ssdbgItem;
    ASSERT_GT(grid.RowCount(), 100u);
    ASSERT_EQ(grid.ColumnCount(), 18u);
    auto counted = testing::RawQuery(
        demo.Path(),
        "SELECT COUNT(*) FROM Receipt A JOIN ReceiptInvoice B ON A.InvRcpNo = B.InvRcpNo WHERE "
        "A.InvRcpDate >= '2024-04-01' AND A.InvRcpDate < '2024-06-01' AND B.InvInsSta < 4 AND "
        "B.CancelStatus = 1");
    EXPECT_EQ(std::to_string(grid.RowCount()), *counted[0][0]);

    const RunCounts& run = receipts.LastRun();
    EXPECT_TRUE(run.Clean()) << receipts.LogText();
    EXPECT_TRUE(run.masters.AllGood()) << receipts.LogText();
    EXPECT_EQ(run.documents.accepted, static_cast<long>(grid.RowCount()));
    EXPECT_EQ(receipts.LogText(), "\r\nRun report: " + run.reportPath);
    EXPECT_EQ(receipts.CurrentProgress().handled, static_cast<long>(grid.RowCount()));
    ASSERT_EQ(observer.messages.size(), 1u);
    EXPECT_EQ(observer.messages[0].text.substr(0, 19), "Receipt Transferrd\n");

    // What each customer paid and each bank (or the cash ledger) took, by the grid.
    std::map<std::string, double> paid, banked;
    std::map<std::string, int> serialsOfCustomerDay;
    bool sameDaySameSerial = false;
    size_t cash = 0, cheques = 0, transfers = 0;
    for (size_t row = 0; row < grid.RowCount(); ++row) {
        double amount = ReadNumber(grid.Cell(row, "RECD_AMT"));
        std::string party = grid.Cell(row, "RTRNAME") + "_" + grid.Cell(row, "RTRID");
        paid[party] += amount;
        std::string bank = grid.Cell(row, "DIST_BANK");
        banked[bank.empty() ? "Cash A/c" : bank] += amount;
        cash += bank.empty();
        cheques += !bank.empty() && !grid.Cell(row, "INVINSNO").empty();
        transfers += !bank.empty() && grid.Cell(row, "INVINSNO").empty();
        std::string key =
            party + " " + grid.Cell(row, "INVRCPDATE") + " " + grid.Cell(row, "INVRCPSNO");
        if (++serialsOfCustomerDay[key] > 1) sameDaySameSerial = true;
    }
    EXPECT_GT(cash, 0u);
    EXPECT_GT(cheques, 0u);
    EXPECT_GT(transfers, 0u);
    EXPECT_TRUE(sameDaySameSerial) << "the demo holds two receipts of one customer on one day "
                                      "with the same line serial";

    {
        // The report holds every listed receipt line once.
        std::ifstream report(run.reportPath);
        size_t documents = 0;
        for (std::string line; std::getline(report, line);)
            documents += line.rfind("document,", 0) == 0;
        EXPECT_EQ(documents, grid.RowCount());
    }

    nlohmann::json books = sim.Books();
    EXPECT_EQ(books["vouchers"].size(), grid.RowCount()) << "no voucher replaced another";
    // Each voucher credits its customer with the line's amount and debits the line's bank, or
    // the cash ledger, with the same; its key ends in the line serial and the receipt number.
    std::map<std::string, const nlohmann::json*> byKeyEnd;
    for (const auto& voucher : books["vouchers"]) {
        std::string key = voucher["remoteId"];
        std::string party = voucher["party"].get<std::string>() + "-";
        size_t at = key.find(party);
        ASSERT_NE(at, std::string::npos) << key;
        byKeyEnd[voucher["date"].get<std::string>() + " " + key.substr(at)] = &voucher;
    }
    for (size_t row = 0; row < grid.RowCount(); ++row) {
        std::string party = grid.Cell(row, "RTRNAME") + "_" + grid.Cell(row, "RTRID");
        std::string keyEnd = grid.Cell(row, "INVRCPDATE") + " " + party + "-" +
                             grid.Cell(row, "INVRCPSNO") + "-" + grid.Cell(row, "INVRCPNO");
        auto found = byKeyEnd.find(keyEnd);
        ASSERT_NE(found, byKeyEnd.end()) << keyEnd;
        const nlohmann::json& voucher = *found->second;
        EXPECT_EQ(voucher["type"], "KVZ Receipt");
        double amount = ReadNumber(grid.Cell(row, "RECD_AMT"));
        std::string bank = grid.Cell(row, "DIST_BANK");
        std::map<std::string, double> entries;
        for (const auto& entry : voucher["entries"])
            entries[entry["ledger"].get<std::string>()] += entry["amount"].get<double>();
        ASSERT_EQ(entries.size(), 2u) << keyEnd;
        EXPECT_NEAR(entries[party], amount, 0.005) << keyEnd;
        EXPECT_NEAR(entries[bank.empty() ? "Cash A/c" : bank], -amount, 0.005) << keyEnd;
    }
    std::map<std::string, double> credit, debit;
    for (const auto& line : books["trialBalance"]["ledgers"]) {
        credit[line["ledger"]] = line["credit"].get<double>();
        debit[line["ledger"]] = line["debit"].get<double>();
    }
    for (const auto& [party, amount] : paid) EXPECT_NEAR(credit[party], amount, 0.005) << party;
    for (const auto& [ledger, amount] : banked) EXPECT_NEAR(debit[ledger], amount, 0.005) << ledger;
    EXPECT_NEAR(books["trialBalance"]["totalDebit"].get<double>(),
                books["trialBalance"]["totalCredit"].get<double>(), 0.005);
}

}  // namespace
}  // namespace zentrail
