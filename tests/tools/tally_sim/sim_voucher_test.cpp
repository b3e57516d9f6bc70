#include <gtest/gtest.h>

#include "tally-sim/simulated_tally.h"
#include "tally/tally_reply.h"
#include "tools/tally_sim/sim_requests.h"

namespace zentrail::sim {
namespace {

namespace rq = zentrail::testing::sim_requests;

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "no '" << from << "' in the fixture";
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A company that holds the demo masters.
class TallySimVouchers : public ::testing::Test {
protected:
    void SetUp() override { Fresh(); }
    // Starts over with a company that holds only the demo masters.
    void Fresh() {
        tally_ = std::make_unique<SimulatedTally>();
        TallyReply reply = ParseTallyReply(tally_->HandleRequest(rq::Envelope(rq::DemoMasters())));
        ASSERT_TRUE(reply.lineErrors.empty()) << reply.lineErrors.front();
    }
    std::string Import(const std::string& payload) {
        return tally_->HandleRequest(rq::Envelope(payload));
    }
    std::vector<std::string> Errors(const std::string& payload) {
        return ParseTallyReply(Import(payload)).lineErrors;
    }
    nlohmann::json Vouchers() { return tally_->BooksJson()["vouchers"]; }
    nlohmann::json TrialBalance() { return tally_->BooksJson()["trialBalance"]; }

    std::unique_ptr<SimulatedTally> tally_;
};

// A purchase-side voucher: the supplier is credited, the stock debited, and a discount written
// as the purchase screen writes it, "-" before a negative value.
std::string PurchaseWithDiscount(const std::string& discountAmount) {
    return rq::VoucherHead("P-1", "Purchase", "20240402", "P1", "Anand Stores_17") +
           rq::LedgerEntry("Anand Stores_17", "100") +
           rq::LedgerEntry("Round Off", discountAmount) +
           rq::Lines({"<ALLINVENTORYENTRIES.LIST>", "<STOCKITEMNAME>Soap_S01</STOCKITEMNAME>",
                      "<AMOUNT>-112.5</AMOUNT>", "<BATCHALLOCATIONS.LIST>",
                      "<GODOWNNAME>Main Location</GODOWNNAME>", "<AMOUNT>-112.5</AMOUNT>",
                      "</BATCHALLOCATIONS.LIST>", "<ACCOUNTINGALLOCATIONS.LIST>",
                      "<LEDGERNAME>GST Sales 18%</LEDGERNAME>", "<AMOUNT>-112.5</AMOUNT>",
                      "</ACCOUNTINGALLOCATIONS.LIST>", "</ALLINVENTORYENTRIES.LIST>"}) +
           rq::VoucherEnd();
}

TEST_F(TallySimVouchers, ChecksWhatAVoucherNamesAndThatItBalances) {
    const std::string sale = rq::DemoSale("S-1", "INV1");
    struct Case {
        const char* name;
        std::string voucher;
        std::string error;  // empty: accepted
    };
    const Case cases[] = {
        {"balanced sale, item by alias", sale, ""},
        {"item by name", Replace(sale, "<STOCKITEMNAME>S01_7<", "<STOCKITEMNAME>Soap_S01<"), ""},
        {"item alias in other case",
         Replace(sale, "<STOCKITEMNAME>S01_7<", "<STOCKITEMNAME>s01_7<"), ""},
        {"party by alias", ReplaceAll(sale, "Anand Stores_17<", "R17<"), ""},
        {"missing party ledger", ReplaceAll(sale, "Anand Stores_17<", "Anand Stores<"),
         "Ledger 'Anand Stores' does not exist!"},
        {"missing tax ledger", Replace(sale, "Output CGST 9%", "Output CGST 6%"),
         "Ledger 'Output CGST 6%' does not exist!"},
        {"missing ledger of an allocation", Replace(sale, "GST Sales 18%", "GST Sales 12%"),
         "Ledger 'GST Sales 12%' does not exist!"},
        {"missing stock item", Replace(sale, "<STOCKITEMNAME>S01_7<", "<STOCKITEMNAME>S99_1<"),
         "Stock Item 'S99_1' does not exist!"},
        {"missing godown", Replace(sale, "Main Location", "Salem Depot"),
         "Godown 'Salem Depot' does not exist!"},
        {"missing voucher type", ReplaceAll(sale, "KVZ Sales", "KVZ Sale"),
         "Voucher type 'KVZ Sale' does not exist!"},
        {"predefined voucher type", ReplaceAll(sale, "KVZ Sales", "Sales"), ""},
        {"type only in VCHTYPE", Replace(sale, "<VOUCHERTYPENAME>KVZ Sales</VOUCHERTYPENAME>", ""),
         ""},
        {"type only in VOUCHERTYPENAME", Replace(sale, " VCHTYPE=\"KVZ Sales\"", ""), ""},
        {"no type at all",
         Replace(Replace(sale, "<VOUCHERTYPENAME>KVZ Sales</VOUCHERTYPENAME>", ""),
                 " VCHTYPE=\"KVZ Sales\"", ""),
         "Voucher type is missing"},
        {"types that disagree",
         Replace(sale, "<VOUCHERTYPENAME>KVZ Sales<", "<VOUCHERTYPENAME>Sales<"),
         "Voucher type 'Sales' does not match VCHTYPE 'KVZ Sales'"},
        {"no date", Replace(sale, "<DATE>20240401</DATE>", ""), "Voucher date is missing"},
        {"empty date", Replace(sale, "<DATE>20240401</DATE>", "<DATE></DATE>"),
         "Voucher date is missing"},
        {"d-Mon-yyyy", Replace(sale, "<DATE>20240401<", "<DATE>1-Apr-2024<"), ""},
        {"dd-mm-yyyy", Replace(sale, "<DATE>20240401<", "<DATE>01-04-2024<"), ""},
        {"dd/mm/yyyy", Replace(sale, "<DATE>20240401<", "<DATE>01/04/2024<"), ""},
        {"no such day", Replace(sale, "<DATE>20240401<", "<DATE>20230229<"),
         "Voucher date '20230229' is not a valid date"},
        {"ISO date", Replace(sale, "<DATE>20240401<", "<DATE>2024-04-01<"),
         "Voucher date '2024-04-01' is not a valid date"},
        {"unbalanced", Replace(sale, "<AMOUNT>9</AMOUNT>", "<AMOUNT>8</AMOUNT>"),
         "Voucher totals do not match! Dr: 118 Cr: 117 Diff: 1"},
        {"unbalanced by paise", Replace(sale, "<AMOUNT>9</AMOUNT>", "<AMOUNT>9.25</AMOUNT>"),
         "Voucher totals do not match! Dr: 118 Cr: 118.25 Diff: 0.25"},
        {"within half a paisa", Replace(sale, "<AMOUNT>9</AMOUNT>", "<AMOUNT>9.004</AMOUNT>"), ""},
        {"beyond half a paisa", Replace(sale, "<AMOUNT>9</AMOUNT>", "<AMOUNT>9.006</AMOUNT>"),
         "Voucher totals do not match! Dr: 118 Cr: 118.01 Diff: 0.01"},
        {"allocations split the line, they do not add to it",
         Replace(
             Replace(sale, "<AMOUNT>100</AMOUNT>\r\n<GSTOVRDN", "<AMOUNT>60</AMOUNT>\r\n<GSTOVRDN"),
             "<AMOUNT>100</AMOUNT>\r\n</COSTCENTRE", "<AMOUNT>60</AMOUNT>\r\n</COSTCENTRE"),
         ""},
        {"amount that is no number", Replace(sale, "<AMOUNT>9</AMOUNT>", "<AMOUNT>9,0</AMOUNT>"),
         "Amount '9,0' is not a number"},
        {"two minus signs make a credit", PurchaseWithDiscount("--12.5"), ""},
        {"one minus sign is a debit", PurchaseWithDiscount("-12.5"),
         "Voucher totals do not match! Dr: 125 Cr: 100 Diff: 25"},
        {"three minus signs are a debit", PurchaseWithDiscount("---12.5"),
         "Voucher totals do not match! Dr: 125 Cr: 100 Diff: 25"},
        {"ALLLEDGERENTRIES count",
         rq::VoucherHead("R-1", "Receipt", "20240403", "R1", "Anand Stores_17") +
             rq::LedgerEntry("Anand Stores_17", "50", "ALLLEDGERENTRIES.LIST") +
             rq::LedgerEntry("Cash", "-40", "ALLLEDGERENTRIES.LIST") + rq::VoucherEnd(),
         "Voucher totals do not match! Dr: 40 Cr: 50 Diff: 10"},
        {"INVENTORYENTRIES count",
         rq::VoucherHead("D-1", "Delivery Note", "20240403", "D1", "Anand Stores_17") +
             rq::LedgerEntry("Anand Stores_17", "-30") +
             "<INVENTORYENTRIES.LIST>\r\n<STOCKITEMNAME>Soap_S01</STOCKITEMNAME>\r\n"
             "<AMOUNT>30</AMOUNT>\r\n</INVENTORYENTRIES.LIST>\r\n" +
             rq::VoucherEnd(),
         ""},
        {"unknown action", Replace(sale, "ACTION=\"Create\"", "ACTION=\"Post\""),
         "Unknown voucher action 'Post'"},
    };
    for (const Case& c : cases) {
        Fresh();
        std::string reply = Import(c.voucher);
        TallyReply read = ParseTallyReply(reply);
        if (c.error.empty()) {
            EXPECT_TRUE(read.lineErrors.empty()) << c.name << ": " << reply;
            EXPECT_NE(reply.find("<CREATED>1</CREATED>"), std::string::npos) << c.name << reply;
        } else {
            ASSERT_EQ(read.lineErrors.size(), 1u) << c.name << ": " << reply;
            EXPECT_EQ(read.lineErrors[0], c.error) << c.name;
            EXPECT_NE(reply.find("<ERRORS>1</ERRORS>"), std::string::npos) << c.name << reply;
        }
    }
}

TEST_F(TallySimVouchers, TheSameRemoteIdReplacesTheVoucher) {
    std::string first = Import(rq::DemoSale("S-1", "INV1"));
    EXPECT_NE(first.find("<CREATED>1</CREATED>"), std::string::npos) << first;
    int64_t id = Vouchers()[0]["id"];
    EXPECT_NE(first.find("<LASTVCHID>" + std::to_string(id) + "</LASTVCHID>"), std::string::npos)
        << first;

    std::string second = Import(rq::DemoSale("S-1", "INV1-A"));
    EXPECT_NE(second.find("<CREATED>0</CREATED>"), std::string::npos) << second;
    EXPECT_NE(second.find("<ALTERED>1</ALTERED>"), std::string::npos) << second;
    EXPECT_NE(second.find("<LASTVCHID>0</LASTVCHID>"), std::string::npos) << second;
    nlohmann::json vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 1u);
    EXPECT_EQ(vouchers[0]["id"], id);
    EXPECT_EQ(vouchers[0]["number"], "INV1-A");

    // Another key is another voucher.
    Import(rq::DemoSale("S-2", "INV2"));
    EXPECT_EQ(Vouchers().size(), 2u);
}

TEST_F(TallySimVouchers, ARefusedAlterationKeepsTheHeldVoucher) {
    Import(rq::DemoSale("S-1", "INV1"));
    std::vector<std::string> errors = Errors(rq::DemoSale("S-1", "INV1-A", "S99_1"));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(Vouchers()[0]["number"], "INV1");
}

TEST_F(TallySimVouchers, CancelMarksTheHeldVoucherAndTakesItOutOfTheBalance) {
    Import(rq::DemoSale("S-1", "INV1"));
    ASSERT_FALSE(TrialBalance()["ledgers"].empty());
    std::string reply = Import(rq::DemoSale("S-1", "INV1", "S01_7", true));
    EXPECT_NE(reply.find("<CANCELLED>1</CANCELLED>"), std::string::npos) << reply;
    EXPECT_NE(reply.find("<CREATED>0</CREATED>"), std::string::npos) << reply;
    nlohmann::json vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 1u);
    EXPECT_TRUE(vouchers[0]["cancelled"].get<bool>());
    EXPECT_TRUE(vouchers[0]["entries"].empty());
    EXPECT_TRUE(TrialBalance()["ledgers"].empty());
}

TEST_F(TallySimVouchers, CancelOfAnUnknownVoucherRecordsItCancelled) {
    std::string reply = Import(rq::DemoSale("S-9", "INV9", "S01_7", true));
    EXPECT_NE(reply.find("<CANCELLED>1</CANCELLED>"), std::string::npos) << reply;
    nlohmann::json vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 1u);
    EXPECT_EQ(vouchers[0]["remoteId"], "S-9");
    EXPECT_EQ(vouchers[0]["type"], "KVZ Sales");
    EXPECT_TRUE(vouchers[0]["cancelled"].get<bool>());

    // It still needs a date and a type of the books.
    std::string noType = ReplaceAll(rq::DemoSale("S-8", "INV8", "S01_7", true), "KVZ Sales", "X");
    EXPECT_EQ(Errors(noType), std::vector<std::string>{"Voucher type 'X' does not exist!"});
}

TEST_F(TallySimVouchers, DeleteRemovesTheHeldVoucher) {
    Import(rq::DemoSale("S-1", "INV1"));
    std::string remove =
        Replace(rq::DemoSale("S-1", "INV1"), "ACTION=\"Create\"", "ACTION=\"Delete\"");
    std::string reply = Import(remove);
    EXPECT_NE(reply.find("<DELETED>1</DELETED>"), std::string::npos) << reply;
    EXPECT_TRUE(Vouchers().empty());
    EXPECT_EQ(Errors(remove),
              std::vector<std::string>{"Voucher with REMOTEID 'S-1' does not exist!"});
}

TEST_F(TallySimVouchers, EachVoucherOfARequestStandsAlone) {
    std::string reply = Import(rq::DemoSale("S-1", "INV1") + rq::DemoSale("S-2", "INV2", "S99_1") +
                               rq::DemoSale("S-3", "INV3"));
    EXPECT_NE(reply.find("<CREATED>2</CREATED>"), std::string::npos) << reply;
    EXPECT_NE(reply.find("<ERRORS>1</ERRORS>"), std::string::npos) << reply;
    nlohmann::json vouchers = Vouchers();
    ASSERT_EQ(vouchers.size(), 2u);
    EXPECT_EQ(vouchers[0]["remoteId"], "S-1");
    EXPECT_EQ(vouchers[1]["remoteId"], "S-3");
    EXPECT_NE(reply.find("<LASTVCHID>" + vouchers[1]["id"].dump() + "</LASTVCHID>"),
              std::string::npos)
        << reply;
}

}  // namespace
}  // namespace zentrail::sim
