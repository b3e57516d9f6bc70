// The program's own builders against the simulator: what they send for a day's transfer is
// accepted, balances, and reads back as the documents said.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tally-sim/simulated_tally.h"
#include "tally/masters/tally_master.h"
#include "tally/tally_reply.h"
#include "tally/vouchers/tally_credit_note_trn.h"
#include "tally/vouchers/tally_purch_trn.h"
#include "tally/vouchers/tally_receipt_trn.h"
#include "tally/vouchers/tally_sale_trn.h"

namespace zentrail {
namespace {

const std::string kCompany = "Kaveri Traders & Co";

class TallySimWithBuilders : public ::testing::Test {
protected:
    // One request as the screens send it: envelope, fragments, closing lines.
    std::string Send(const TallyBuilder& builder, const std::string& payload) {
        std::string report = "Vouchers";
        return tally_.HandleRequest(builder.strTopMaster(report, kCompany) + payload +
                                    builder.strBottom());
    }
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

    std::string Sale(bool cancel) {
        TallySaleTrn sale;
        std::string type = "KVZ Sales", party = "O'Brien Stores_12", number = "SI-0042",
                    reference = "SI-0042", remarks, buyer, a1 = "12 Main Road", a2, a3, a4, a5;
        std::string text =
            sale.strSale_Head(type, "20240401", party, number, reference, remarks, buyer, "",
                              cancel, "Tamil Nadu", "33ABCDE1234F1Z5", a1, a2, a3, a4, a5);
        text += sale.strSale_Party("O'Brien Stores_12", number, 118);
        sale.strSale_Alloc = sale.strAccountAlloc(100, "GST Sales 18%", "", "", "", 100, 18);
        sale.strSale_Batch =
            sale.strBatchAlloc(2, 50, "Main Location", "Primary Batch", "PC", "", "", "");
        text += sale.strInvent_Sales("S01_7", 100, 2, "PC", 50, "Main Location", "Primary Batch",
                                     "", "", "", "", "", "");
        std::string cgst = "CGST 9%", sgst = "SGST 9%";
        text += sale.strSale_Cr(cgst, 9) + sale.strSale_Cr(sgst, 9);
        return Send(sale, text + "</VOUCHER>\r\n</TALLYMESSAGE>\r\n");
    }

    std::string Purchase() {
        TallyPurchTrn purchase;
        std::string type = "KVZ Purchase", party = "Hindustan Supplies", number = "GRN-7",
                    reference = "HS/991", remarks = "Monthly stock", invoiceDate = "30/03/2024";
        std::string text =
            purchase.strPurchase_Head(type, "2024-04-02", party, number, reference, remarks,
                                      invoiceDate, "GRN-7", "PO-1", "", "Tamil Nadu", "");
        text += purchase.strPurchase_Party("Hindustan Supplies", number, 113);
        std::string cgst = "CGST 9%", sgst = "SGST 9%", discount = "Scheme Discount";
        text += purchase.strPurchase_Dr(cgst, 9, "", 0) + purchase.strPurchase_Dr(sgst, 9, "", 0);
        // The screen passes the discount negated: "--5", a credit.
        text += purchase.strPurchase_Dr(discount, -5, "", 0);
        text += purchase.strInvent_Purchase("Soap & Shine_S01", 100, 2, "PC", 50, "Main Location",
                                            "Primary Batch", "GST Purchase 18%", "Purchase Taxable",
                                            100);
        return Send(purchase, text + "</VOUCHER>\r\n</TALLYMESSAGE>\r\n");
    }

    std::string SalesReturn() {
        TallyCreditNoteTrn note;
        std::string type = "KVZ Credit Note", party = "O'Brien Stores_12", number = "SR-3",
                    reference = "SI-0042", remarks, buyer, a1, a2, a3, a4, a5;
        std::string text = note.strCreditNote_Head(
            type, "20240403", party, number, reference, remarks, buyer, "", false, "Tamil Nadu",
            "33ABCDE1234F1Z5", a1, a2, a3, a4, a5, "20240401");
        text += note.strCreditNote_Party("O'Brien Stores_12", number, 59);
        note.strCrd_Alloc = note.strAccountAlloc(50, "GST Sales 18%", "", "", "", 50);
        note.strCrd_Batch =
            note.strBatchAlloc(1, 50, "Main Location", "Primary Batch", "PC", "", "", "");
        text += note.strInvent_Crd("S01_7", 50, 1, "PC", 50, "Main Location", "Primary Batch", "",
                                   "", "", "", "", "");
        std::string cgst = "CGST 9%", sgst = "SGST 9%";
        text += note.strCreditNote_Dr(cgst, 4.5) + note.strCreditNote_Dr(sgst, 4.5);
        return Send(note, text + "</VOUCHER>\r\n</TALLYMESSAGE>\r\n");
    }

    std::string Receipt() {
        TallyReceiptTrn receipt;
        std::string type = "KVZ Receipt", party = "O'Brien Stores_12", remarks = "Cheque 1234";
        std::string text =
            receipt.strReceipt_Head(type, "2024-04-05", party, "RC-9", "RC-9", remarks, "R", false);
        receipt.strReceipt_Bil_Alloc = receipt.strReceipt_BillAlloc("SI-0042", 59);
        text += receipt.strReceipt_Party("O'Brien Stores_12", 59);
        std::string bank = "State Bank";
        text += receipt.strReceipt_Dr(bank, 59, "05-Apr-2024", "05-Apr-2024", "SBI", "1234", "",
                                      "SI-0042");
        return Send(receipt, text + "</VOUCHER>\r\n</TALLYMESSAGE>\r\n");
    }

    sim::SimulatedTally tally_{kCompany};
    size_t masterCount_ = 0;
};

bool Created(const std::string& reply) {
    return reply.find("<CREATED>1</CREATED>") != std::string::npos &&
           ParseTallyReply(reply).lineErrors.empty();
}

TEST_F(TallySimWithBuilders, MastersAreAcceptedOnceAndThenAlreadyExist) {
    std::vector<std::string> first = SendMasters();
    EXPECT_TRUE(first.empty()) << first.front();
    std::vector<std::string> again = SendMasters();
    ASSERT_EQ(again.size(), masterCount_);
    for (const std::string& error : again)
        EXPECT_NE(error.find("already exists!"), std::string::npos) << error;
}

TEST_F(TallySimWithBuilders, ADaysVouchersPostAndBalance) {
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

TEST_F(TallySimWithBuilders, AnInvoiceSentTwiceIsAlteredAndItsCancellationCancelsIt) {
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
