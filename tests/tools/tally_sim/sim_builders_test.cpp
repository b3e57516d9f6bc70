// The program's own masters and vouchers against the simulator: what they send for a day's transfer
// is accepted, balances, and reads back as the documents said.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tally-sim/simulated_tally.h"
#include "tally/masters/tally_master.h"
#include "tally/tally_reply.h"
#include "tally/vouchers/voucher_entries.h"
#include "tally/vouchers/voucher_writer.h"

namespace zentrail {
namespace {

const std::string kCompany = "Kaveri Traders & Co";

class TallySimWithWriter : public ::testing::Test {
protected:
    // One request as the screens send it: envelope, fragments, closing lines.
    std::string Send(const TallyBuilder& builder, const std::string& payload) {
        std::string report = "Vouchers";
        return tally_.HandleRequest(builder.strTopMaster(report, kCompany) + payload +
                                    builder.strBottom());
    }
    std::string Send(const Voucher& voucher) { return Send(TallyBuilder(), WriteVoucher(voucher)); }
    std::vector<std::string> Errors(const TallyBuilder& builder, const std::string& payload) {
        std::string reply = Send(builder, payload);
        TallyReply read = ParseTallyReply(reply);
        EXPECT_TRUE(read.importResult) << reply;
        return read.lineErrors;
    }

    // Each master as its own request, as the screens send them; gives every line error.
    std::vector<std::string> SendMasters() {
        TallyMaster master;
        std::vector<std::string> fragments;
        std::string group = "KVZ Products";
        std::string noParent;
        fragments.push_back(master.strItemGroup(group, noParent));
        std::string unit = "PC";
        fragments.push_back(master.strNewUnit(unit));
        double cgst = 9, sgst = 9, igst = 18, six = 6, twelve = 12;
        master.strGSTSetup = master.strItemGSTRate(cgst, sgst, igst, "3401", "20170701") +
                             master.strItemGSTRate(six, six, twelve, "3401", "20171115");
        std::string noAlias;
        fragments.push_back(
            master.strItemCreate("Soap & Shine_S01", "S01_7", "PC", "KVZ Products", noAlias, ""));
        master.strGSTSetup.clear();
        for (auto [name, parent] :
             {std::pair<std::string, std::string>{"GST Sales 18%", "Sales Accounts"},
              {"GST Purchase 18%", "Purchase Accounts"}}) {
            std::string code;
            fragments.push_back(
                master.strLedSalesAcc(name, code, parent, "3401", "Goods", sgst, cgst, igst));
        }
        for (auto [name, head] : {std::pair<std::string, std::string>{"CGST 9%", "Central Tax"},
                                  {"SGST 9%", "State Tax"}})
            fragments.push_back(master.strLedgerAcc(LedgerFields{
                .strLedNm = name, .strParentNm = "Duties & Taxes", .strDutyHead = head}));
        fragments.push_back(master.strLedgerAcc(
            LedgerFields{.strLedNm = "Round Off", .strParentNm = "Indirect Expenses"}));
        fragments.push_back(master.strLedgerAcc(
            LedgerFields{.strLedNm = "Scheme Discount", .strParentNm = "Indirect Expenses"}));
        fragments.push_back(master.strLedgerAcc(LedgerFields{.strLedNm = "O'Brien Stores_12",
                                                             .strLedCd = "R12",
                                                             .strParentNm = "Sundry Debtors",
                                                             .strAdd1 = "12 Main Road",
                                                             .blnMaintBill = true,
                                                             .strPGSTN = "33ABCDE1234F1Z5",
                                                             .strPState = "Tamil Nadu",
                                                             .strRegType = "Registered"}));
        fragments.push_back(master.strLedgerAcc(LedgerFields{
            .strLedNm = "Hindustan Supplies", .strParentNm = "Sundry Creditors", .strPGSTN = "-"}));
        fragments.push_back(master.strLedgerAcc(
            LedgerFields{.strLedNm = "State Bank", .strParentNm = "Bank Accounts"}));
        for (auto [name, parent] : {std::pair<std::string, std::string>{"KVZ Sales", "Sales"},
                                    {"KVZ Purchase", "Purchase"},
                                    {"KVZ Credit Note", "Credit Note"},
                                    {"KVZ Receipt", "Receipt"}}) {
            std::string code;
            fragments.push_back(master.strVoucherType(name, code, parent));
        }
        std::vector<std::string> errors;
        for (const std::string& fragment : fragments)
            for (const std::string& error : Errors(master, fragment)) errors.push_back(error);
        masterCount_ = fragments.size();
        return errors;
    }

    // A stock line at 50 a piece in the main location's primary batch.
    static InventoryLine StockLine(std::string item, double quantity, double amount,
                                   std::string ledger, std::string nature) {
        return {.item = std::move(item),
                .rate = 50,
                .amount = amount,
                .quantity = quantity,
                .unit = "PC",
                .batch = {.godown = "Main Location",
                          .batch = "Primary Batch",
                          .amount = amount,
                          .quantity = quantity,
                          .unit = "PC"},
                .allocation = {.ledger = std::move(ledger),
                               .gstNature = std::move(nature),
                               .amount = amount,
                               .assessable = amount}};
    }

    std::string Sale(bool cancel) {
        Voucher v{.head = {.kind = VoucherKind::Sales,
                           .type = "KVZ Sales",
                           .date = "20240401",
                           .party = "O'Brien Stores_12",
                           .number = "SI-0042",
                           .reference = "SI-0042",
                           .cancel = cancel,
                           .address = {"12 Main Road", "", "", "", ""},
                           .state = "Tamil Nadu",
                           .gstin = "33ABCDE1234F1Z5"}};
        v.entries.push_back(
            SalesPartyEntry(EntryList::Ledger, "O'Brien Stores_12", "SI-0042", 118));
        v.entries.push_back(StockLine("S01_7", 2, 100, "GST Sales 18%", ""));
        for (const char* tax : {"CGST 9%", "SGST 9%"})
            v.entries.push_back(SalesLedgerEntry(EntryList::Ledger, tax, 9, false));
        return Send(v);
    }

    std::string Purchase() {
        Voucher v{.head = {.kind = VoucherKind::Purchase,
                           .type = "KVZ Purchase",
                           .date = "2024-04-02",
                           .party = "Hindustan Supplies",
                           .number = "GRN-7",
                           .reference = "HS/991",
                           .remarks = "Monthly stock",
                           .state = "Tamil Nadu",
                           .referenceDate = "30/03/2024",
                           .deliveryNote = "GRN-7",
                           .orders = {"PO-1", ""}}};
        v.entries.push_back(
            CreditedPartyEntry(EntryList::Ledger, "Hindustan Supplies", "GRN-7", 113));
        for (const char* tax : {"CGST 9%", "SGST 9%"})
            v.entries.push_back(PurchaseDebitEntry(tax, 9, "", 0));
        // The screen passes the discount negated: "--5", a credit.
        v.entries.push_back(PurchaseDebitEntry("Scheme Discount", -5, "", 0));
        v.entries.push_back(
            StockLine("Soap & Shine_S01", 2, 100, "GST Purchase 18%", "Purchase Taxable"));
        return Send(v);
    }

    std::string SalesReturn() {
        Voucher v{.head = {.kind = VoucherKind::CreditNote,
                           .type = "KVZ Credit Note",
                           .date = "20240403",
                           .party = "O'Brien Stores_12",
                           .number = "SR-3",
                           .reference = "SI-0042",
                           .state = "Tamil Nadu",
                           .gstin = "33ABCDE1234F1Z5",
                           .referenceDate = "20240401"}};
        v.entries.push_back(CreditedPartyEntry(EntryList::Ledger, "O'Brien Stores_12", "SR-3", 59));
        v.entries.push_back(StockLine("S01_7", 1, 50, "GST Sales 18%", ""));
        for (const char* tax : {"CGST 9%", "SGST 9%"})
            v.entries.push_back(CreditNoteLedgerEntry(EntryList::Ledger, tax, 4.5, true));
        return Send(v);
    }

    std::string Receipt() {
        Voucher v{.head = {.kind = VoucherKind::Receipt,
                           .type = "KVZ Receipt",
                           .date = "2024-04-05",
                           .party = "O'Brien Stores_12",
                           .number = "RC-9",
                           .reference = "RC-9",
                           .remarks = "Cheque 1234"}};
        v.entries.push_back(ReceiptPartyEntry("O'Brien Stores_12", 59, "SI-0042", 59));
        v.entries.push_back(ReceiptDebitEntry("State Bank", 59,
                                              {.date = "05-Apr-2024",
                                               .instrumentDate = "05-Apr-2024",
                                               .name = "SI-0042",
                                               .bankName = "SBI",
                                               .chequeNumber = "1234"},
                                              ""));
        return Send(v);
    }

    sim::SimulatedTally tally_{kCompany};
    size_t masterCount_ = 0;
};

bool Created(const std::string& reply) {
    return reply.find("<CREATED>1</CREATED>") != std::string::npos &&
           ParseTallyReply(reply).lineErrors.empty();
}

TEST_F(TallySimWithWriter, MastersAreAcceptedOnceAndThenAlreadyExist) {
    std::vector<std::string> first = SendMasters();
    EXPECT_TRUE(first.empty()) << first.front();
    std::vector<std::string> again = SendMasters();
    ASSERT_EQ(again.size(), masterCount_);
    for (const std::string& error : again)
        EXPECT_NE(error.find("already exists!"), std::string::npos) << error;
}

TEST_F(TallySimWithWriter, ADaysVouchersPostAndBalance) {
    ASSERT_TRUE(SendMasters().empty());
    std::string sale = Sale(false);
    EXPECT_TRUE(Created(sale)) << sale;
    std::string purchase = Purchase();
    EXPECT_TRUE(Created(purchase)) << purchase;
    std::string salesReturn = SalesReturn();
    EXPECT_TRUE(Created(salesReturn)) << salesReturn;
    std::string receipt = Receipt();
    EXPECT_TRUE(Created(receipt)) << receipt;

    nlohmann::json books = tally_.BooksJson();
    ASSERT_EQ(books["vouchers"].size(), 4u);
    std::map<std::string, std::string> dates;
    for (const nlohmann::json& voucher : books["vouchers"])
        dates[voucher["type"].get<std::string>()] = voucher["date"];
    EXPECT_EQ(dates, (std::map<std::string, std::string>{{"KVZ Sales", "20240401"},
                                                         {"KVZ Purchase", "20240402"},
                                                         {"KVZ Credit Note", "20240403"},
                                                         {"KVZ Receipt", "20240405"}}));
    EXPECT_EQ(books["vouchers"][0]["party"], "O'Brien Stores_12");
    EXPECT_EQ(books["vouchers"][0]["entries"][1]["stockItem"], "Soap & Shine_S01");

    std::map<std::string, double> net;  // credit minus debit
    for (const nlohmann::json& row : books["trialBalance"]["ledgers"])
        net[row["ledger"]] = row["credit"].get<double>() - row["debit"].get<double>();
    EXPECT_EQ(net, (std::map<std::string, double>{{"O'Brien Stores_12", -118 + 59 + 59},
                                                  {"GST Sales 18%", 100 - 50},
                                                  {"GST Purchase 18%", -100},
                                                  {"CGST 9%", 9 - 9 - 4.5},
                                                  {"SGST 9%", 9 - 9 - 4.5},
                                                  {"Scheme Discount", 5},
                                                  {"Hindustan Supplies", 113},
                                                  {"State Bank", -59}}));
    EXPECT_EQ(books["trialBalance"]["totalDebit"], books["trialBalance"]["totalCredit"]);
}

TEST_F(TallySimWithWriter, AnInvoiceSentTwiceIsAlteredAndItsCancellationCancelsIt) {
    ASSERT_TRUE(SendMasters().empty());
    ASSERT_TRUE(Created(Sale(false)));
    std::string again = Sale(false);
    EXPECT_NE(again.find("<ALTERED>1</ALTERED>"), std::string::npos) << again;
    std::string cancelled = Sale(true);
    EXPECT_NE(cancelled.find("<CANCELLED>1</CANCELLED>"), std::string::npos) << cancelled;
    nlohmann::json vouchers = tally_.BooksJson()["vouchers"];
    ASSERT_EQ(vouchers.size(), 1u);
    EXPECT_TRUE(vouchers[0]["cancelled"].get<bool>());
}

}  // namespace
}  // namespace zentrail
