// Service invoices and retailer credit notes from a generated demo database into the Tally
// simulator, driven through the screens as an operator would, and checked against the source.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "screens/retailer_credit_note_screen.h"
#include "screens/service_screen.h"
#include "screens/screen_test_support.h"
#include "support/demo_database.h"
#include "support/tally_sim_process.h"
#include "tally/http_client.h"
#include "tally/number_text.h"

namespace zentrail {
namespace {

using testing::RawNumber;
using testing::RawQuery;
using testing::RecordingObserver;
using testing::SmallDemo;
using testing::TallySimProcess;

constexpr const char* kCompany = "Zentrail Demo";
const std::pair<CalendarDate, CalendarDate> kDemoRange{{2024, 4, 1}, {2024, 5, 31}};
// The same range in the source's own terms.
constexpr const char* kInRange = " BETWEEN '2024-04-01' AND '2024-05-31' ";

double Num(const std::optional<std::string>& text) { return text ? std::stod(*text) : 0; }

class ServiceAndCreditNoteTransfer : public ::testing::Test {
protected:
    ServiceAndCreditNoteTransfer() {
        config_.strTallyServer = "127.0.0.1";
        config_.strTallyPort = std::to_string(sim_.Port());
        config_.strCompany = kCompany;
        config_.strSqlOdbc = SmallDemo().Path();
        config_.blnLedgerId = true;
        db_.OpenConnection(config_);
    }

    void Run(TransferScreen& screen) {
        screen.SetObserver(&observer_);
        screen.Load();
        screen.SetDates(kDemoRange.first, kDemoRange.second);
        screen.GetData();
        ASSERT_FALSE(screen.GetDataFailed()) << screen.LogText();
        screen.Export();
        ASSERT_EQ(observer_.messages.size(), 1u);
        EXPECT_EQ(observer_.messages[0].icon, ScreenMessage::Icon::Information);
        // The report holds every listed row once.
        std::ifstream report(screen.LastRun().reportPath);
        ASSERT_TRUE(report) << screen.LastRun().reportPath;
        size_t documents = 0;
        for (std::string line; std::getline(report, line);)
            documents += line.rfind("document,", 0) == 0;
        EXPECT_EQ(documents, screen.ssdbgItem.RowCount());
        EXPECT_EQ(screen.LastRun().documents.Total(),
                  static_cast<long>(screen.ssdbgItem.RowCount()));
    }

    std::vector<const nlohmann::json*> Ledgers(const nlohmann::json& books) const {
        std::vector<const nlohmann::json*> found;
        for (const auto& master : books["masters"])
            if (master["kind"] == "Ledger" && !master.value("predefined", false))
                found.push_back(&master);
        return found;
    }

    TallySimProcess sim_{{"--company", kCompany}};
    Configuration config_;
    SourceDatabase db_;
    HttpClient tally_;
    std::filesystem::path reports_ = std::filesystem::path(::testing::TempDir()) /
                                     ("svc-cn-reports-" + std::to_string(::getpid()));
    ScreenContext context_{config_, db_, tally_, reports_};
    RecordingObserver observer_;
};

TEST_F(ServiceAndCreditNoteTransfer, ServiceInvoicesReachTallyWhole) {
    ServiceScreen service(context_);
    Run(service);
    const TransferGrid& grid = service.ssdbgItem;
    const std::string demo = SmallDemo().Path();
    ASSERT_EQ(grid.RowCount(),
              static_cast<size_t>(RawNumber(demo, std::string("SELECT COUNT(*) FROM "
                                                              "SERVICEINVOICEHD WHERE "
                                                              "date(ServiceInvDate)") +
                                                      kInRange)));
    EXPECT_EQ(observer_.messages[0].text.substr(0, 20), "Services Transferrd\n");

    // Only the invoices whose UTGST is not in whole rupees differ from their source total: the
    // voucher takes that tax whole.
    std::set<std::string> halfRupeeUtgst;
    for (const auto& row :
         RawQuery(demo, std::string("SELECT A.ServiceInvRefNo FROM SERVICEINVOICEHD A JOIN "
                                    "ServiceInvoiceTaxDetails B ON A.ServiceInvId = "
                                    "B.ServiceInvId WHERE B.ServiceTaxSeqId = 4 AND B.TaxAmount "
                                    "<> ROUND(B.TaxAmount) AND date(A.ServiceInvDate)") +
                            kInRange))
        halfRupeeUtgst.insert(*row[0]);
    ASSERT_EQ(halfRupeeUtgst.size(), 1u) << "the demo holds one such invoice";
    const RunCounts& run = service.LastRun();
    EXPECT_EQ(run.documents.differences, 1);
    EXPECT_EQ(run.documents.tallyErrors + run.documents.notSent + run.documents.stopped, 0);
    EXPECT_TRUE(run.masters.AllGood());
    const std::string number = *halfRupeeUtgst.begin();
    EXPECT_EQ(service.LogText(),
              "\r\nDifference from the source: voucher amount 1174, document "
              "total 1173 " +
                  number + "\r\nRun report: " + run.reportPath);

    size_t skipped = 0;
    for (size_t row = 0; row < grid.RowCount(); ++row)
        skipped += ReadNumber(grid.Cell(row, "SERVICEAMOUNT")) <= 0;
    EXPECT_GT(skipped, 0u) << "the demo holds an invoice of amount 0";
    EXPECT_EQ(run.documents.skipped, static_cast<long>(skipped));
    EXPECT_EQ(run.documents.accepted, static_cast<long>(grid.RowCount() - skipped - 1));

    nlohmann::json books = sim_.Books();
    std::map<std::string, const nlohmann::json*> vouchers;
    for (const auto& voucher : books["vouchers"]) vouchers[voucher["number"]] = &voucher;
    EXPECT_EQ(vouchers.size(), grid.RowCount() - skipped);
    size_t roundOffs047 = 0;
    for (size_t row = 0; row < grid.RowCount(); ++row) {
        const std::string invoice = grid.Cell(row, "SERVICEINVREFNO");
        if (ReadNumber(grid.Cell(row, "SERVICEAMOUNT")) <= 0) {
            EXPECT_FALSE(vouchers.count(invoice)) << invoice;
            continue;
        }
        ASSERT_TRUE(vouchers.count(invoice)) << invoice;
        const nlohmann::json& voucher = *vouchers[invoice];
        const bool purchase = grid.Cell(row, "TRAN_TYPE") == "Purchase";
        EXPECT_EQ(voucher["type"], purchase ? "KVZ Service Purchase" : "KVZ Service Sales");
        EXPECT_EQ(voucher["party"], purchase
                                        ? grid.Cell(row, "RTRNAME") + "_" + grid.Cell(row, "RTRID")
                                        : grid.Cell(row, "SPMNAME"))
            << invoice;
        std::map<std::string, double> amounts;
        double sum = 0;
        for (const auto& entry : voucher["entries"]) {
            amounts[entry["ledger"]] += entry["amount"].get<double>();
            sum += entry["amount"].get<double>();
        }
        EXPECT_NEAR(sum, 0, 0.005) << invoice;
        // A purchase debits the service and credits the party; a sale the other way round.
        const double sign = purchase ? -1 : 1;
        const double extra = invoice == number ? 1 : 0;
        EXPECT_NEAR(amounts[voucher["party"]], -sign * (Num(grid.Cell(row, "TOTALAMOUNT")) + extra),
                    0.005)
            << invoice;
        EXPECT_NEAR(amounts[purchase ? "Visibility Claim Purchase" : "Visibility Claim Sales"],
                    sign * ReadNumber(grid.Cell(row, "SERVICEAMOUNT")), 0.005)
            << invoice;
        EXPECT_NEAR(amounts["IGST 18%"], sign * ReadNumber(grid.Cell(row, "IGST_AMT")), 0.005);
        EXPECT_NEAR(amounts["CGST 9%"], sign * ReadNumber(grid.Cell(row, "CGST_AMT")), 0.005);
        EXPECT_NEAR(amounts["UTGST 9%"],
                    sign * std::nearbyint(ReadNumber(grid.Cell(row, "UTGST_AMT"))), 0.005);
        if (ReadNumber(grid.Cell(row, "SERVICEAMOUNT")) == 1000.4) {
            ++roundOffs047;
            // Either kind settles 1180.47 to 1180 through a round-off of 0.47.
            EXPECT_NEAR(amounts["Round Off"], purchase ? 0.47 : -0.47, 0.005) << invoice;
            EXPECT_NEAR(std::fabs(amounts[voucher["party"]]), 1180, 0.005) << invoice;
        }
    }
    EXPECT_EQ(roundOffs047, 2u) << "one bought, one sold";
    EXPECT_NEAR(books["trialBalance"]["totalDebit"].get<double>(),
                books["trialBalance"]["totalCredit"].get<double>(), 0.005);

    // Parties: corrected states, and every party of a voucher is a ledger.
    std::set<std::string> names, states;
    for (const nlohmann::json* ledger : Ledgers(books)) {
        names.insert((*ledger)["name"].get<std::string>());
        if (ledger->contains("gst")) states.insert((*ledger)["gst"].value("state", ""));
    }
    EXPECT_TRUE(states.count("Puducherry"));
    EXPECT_TRUE(states.count("Chhattisgarh"));
    EXPECT_TRUE(states.count("Andhra Pradesh"));
    for (const char* uncorrected : {"Pondicherry", "Chattisgarh", "Andhra Pradesh (New)"})
        EXPECT_FALSE(states.count(uncorrected)) << uncorrected;
    for (const auto& [invoice, voucher] : vouchers)
        EXPECT_TRUE(names.count((*voucher)["party"].get<std::string>())) << invoice;
}

TEST_F(ServiceAndCreditNoteTransfer, CreditNotesCreditEachCustomerOnce) {
    RetailerCreditNoteScreen notes(context_);
    Run(notes);
    const TransferGrid& grid = notes.ssdbgItem;
    const std::string demo = SmallDemo().Path();
    EXPECT_EQ(observer_.messages[0].text.substr(0, 23), "Credit Note Transferrd\n");

    // The rows of each note, and the earliest invoice of each (by date, then number).
    std::map<std::string, std::vector<size_t>> rowsOfNote;
    for (size_t row = 0; row < grid.RowCount(); ++row)
        rowsOfNote[grid.Cell(row, "CrNoteNumber")].push_back(row);
    ASSERT_GT(rowsOfNote.size(), 20u);
    std::string expectedLog;
    size_t twice = 0;
    for (const auto& [note, rows] : rowsOfNote) {
        if (rows.size() < 2) continue;
        ++twice;
        std::vector<std::pair<std::string, std::string>> invoices;
        for (size_t row : rows)
            invoices.emplace_back(grid.Cell(row, "SalInvDate"), grid.Cell(row, "SalInvNo"));
        std::sort(invoices.begin(), invoices.end());
        std::string others;
        for (size_t i = 1; i < invoices.size(); ++i)
            others += (i > 1 ? ", " : "") + invoices[i].second;
        expectedLog += "\r\nCredited once with invoice " + invoices[0].second +
                       "; also adjusted against " + others + " " + note;
    }
    ASSERT_GT(twice, 0u) << "the demo holds a note adjusted against two invoices";
    const RunCounts& run = notes.LastRun();
    EXPECT_TRUE(run.Clean());
    EXPECT_EQ(run.documents.accepted, static_cast<long>(rowsOfNote.size()));
    EXPECT_EQ(run.documents.skipped, static_cast<long>(grid.RowCount() - rowsOfNote.size()));
    // Log lines come in grid order, which is note order.
    EXPECT_EQ(notes.LogText(), expectedLog + "\r\nRun report: " + run.reportPath);

    nlohmann::json books = sim_.Books();
    std::map<std::string, int> vouchersOfNote;
    std::map<std::string, double> creditOfParty;
    for (const auto& voucher : books["vouchers"]) {
        const std::string note = voucher["number"];
        ++vouchersOfNote[note];
        EXPECT_EQ(voucher["type"], "KVZ Credit Note");
        ASSERT_TRUE(rowsOfNote.count(note)) << note;
        size_t row = rowsOfNote[note].front();
        double amount = ReadNumber(grid.Cell(row, "CrAdjAmount"));
        ASSERT_EQ(voucher["entries"].size(), 2u) << note;
        EXPECT_EQ(voucher["entries"][0]["ledger"], voucher["party"]);
        EXPECT_NEAR(voucher["entries"][0]["amount"].get<double>(), amount, 0.005) << note;
        EXPECT_EQ(voucher["entries"][1]["ledger"], grid.Cell(row, "Description"));
        EXPECT_NEAR(voucher["entries"][1]["amount"].get<double>(), -amount, 0.005) << note;
        creditOfParty[voucher["party"]] += amount;
    }
    EXPECT_EQ(vouchersOfNote.size(), rowsOfNote.size());
    for (const auto& [note, count] : vouchersOfNote) EXPECT_EQ(count, 1) << note;

    // What the source says each customer is owed by the listed notes, each note once.
    std::map<std::string, double> owed;
    for (const auto& row :
         RawQuery(demo, std::string("SELECT R.RtrName || '_' || R.RtrId, SUM(A.CrAdjAmount) FROM "
                                    "CreditNoteRetailer A JOIN Retailer R ON A.RtrId = R.RtrId "
                                    "JOIN ReasonMaster M ON A.ReasonId = M.ReasonId WHERE "
                                    "A.CrAdjAmount > 0 AND A.TRANSID <> 30 AND EXISTS (SELECT 1 "
                                    "FROM SalInvCrNoteAdj D JOIN SalesInvoice E ON D.SALID = "
                                    "E.SalId WHERE D.CrNoteNumber = A.CrNoteNumber) AND "
                                    "date(A.CrNoteDate)") +
                            kInRange + "GROUP BY A.RtrId"))
        owed[*row[0]] = Num(row[1]);
    ASSERT_EQ(creditOfParty.size(), owed.size());
    for (const auto& [party, amount] : owed)
        EXPECT_NEAR(creditOfParty[party], amount, 0.005) << party;

    // The customers of notes left out by TRANSID 30 still get their ledgers: one request per
    // note of the range, besides the voucher type and one per reason.
    const auto leftOut =
        RawQuery(demo, std::string("SELECT A.CrNoteNumber, R.RtrName || '_' || R.RtrId FROM "
                                   "CreditNoteRetailer A JOIN Retailer R ON A.RtrId = R.RtrId "
                                   "WHERE A.TRANSID = 30 AND A.CrAdjAmount > 0 AND "
                                   "date(A.CrNoteDate)") +
                           kInRange);
    ASSERT_FALSE(leftOut.empty()) << "the demo holds a note of TRANSID 30 in the range";
    std::set<std::string> names;
    for (const nlohmann::json* ledger : Ledgers(books))
        names.insert((*ledger)["name"].get<std::string>());
    for (const auto& row : leftOut) {
        EXPECT_FALSE(rowsOfNote.count(*row[0])) << *row[0];
        EXPECT_TRUE(names.count(*row[1])) << *row[1];
    }
    // A note of amount 0 is not listed, although it is adjusted against an invoice.
    const auto zero = RawQuery(demo, std::string("SELECT A.CrNoteNumber FROM CreditNoteRetailer "
                                                 "A JOIN SalInvCrNoteAdj D ON A.CrNoteNumber = "
                                                 "D.CrNoteNumber WHERE A.CrAdjAmount = 0 AND "
                                                 "date(A.CrNoteDate)") +
                                         kInRange);
    ASSERT_FALSE(zero.empty()) << "the demo holds an adjusted note of amount 0";
    for (const auto& row : zero) EXPECT_FALSE(rowsOfNote.count(*row[0])) << *row[0];
    const double partyRows =
        RawNumber(demo, std::string("SELECT COUNT(*) FROM CreditNoteRetailer A JOIN Retailer C "
                                    "ON A.RtrId = C.RtrId WHERE A.CrAdjAmount > 0 AND "
                                    "date(A.CrNoteDate)") +
                            kInRange);
    EXPECT_EQ(
        run.masters.Total(),
        static_cast<long>(1 + partyRows + RawNumber(demo, "SELECT COUNT(*) FROM ReasonMaster")));
    EXPECT_NEAR(books["trialBalance"]["totalDebit"].get<double>(),
                books["trialBalance"]["totalCredit"].get<double>(), 0.005);
}

}  // namespace
}  // namespace zentrail
