#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tally/tally_builder.h"
#include "tally/vouchers/voucher_entries.h"
#include "tally/vouchers/voucher_writer.h"

namespace zentrail {
namespace {

std::string ExpectedFile(const std::string& name) {
    std::ifstream file(std::string(ZENTRAIL_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The request the screens send: the voucher inside the import envelope.
std::string Request(const Voucher& voucher) {
    TallyBuilder envelope;
    std::string report = "Vouchers";
    return envelope.strTopMaster(report, "Zentrail Demo") + WriteVoucher(voucher) +
           envelope.strBottom();
}

Voucher ReceiptVoucher() {
    Voucher v{.head = {.kind = VoucherKind::Receipt,
                       .type = "KVZ Receipt",
                       .date = "20240420",
                       .party = "Shah & Sons_42",
                       .number = "1",
                       .reference = "RCP-1",
                       .remarks = "Cheque Number - 123456"}};
    v.entries.push_back(ReceiptPartyEntry("Shah & Sons_42", 60, "INV-7", 60));
    v.entries.push_back(ReceiptDebitEntry("State Bank of India", 60,
                                          {.date = "20240420",
                                           .instrumentDate = "20240418",
                                           .name = "1",
                                           .bankName = "Indian Bank",
                                           .chequeNumber = "123456"},
                                          ""));
    return v;
}

Voucher ServiceSalesVoucher() {
    const std::string party = "O'Brien Hygiene India Pvt Ltd", number = "SRV/24-25/0042";
    const std::string gstin = "33AABCO1234F1Z7", state = "Tamil Nadu";
    Voucher v{.head = {.kind = VoucherKind::Sales,
                       .type = "KVZ Service Sales",
                       .date = "20240510",
                       .party = party,
                       .number = number,
                       .reference = number,
                       .address = {"12 Mount Road & Anna Salai", "", "Chennai", state, ""},
                       .state = state,
                       .gstin = gstin}};
    v.entries.push_back(SalesPartyEntry(EntryList::AllLedger, party, number, 1180));
    v.entries.push_back(SalesLedgerEntry(EntryList::AllLedger, "Visibility Claim Sales", 1000.4,
                                         false, SalesServiceNature(gstin, 0)));
    for (const auto& [tax, amount] : {std::pair<const char*, double>{"CGST 9%", 90.04},
                                      {"SGST 9%", 90.04},
                                      {"IGST 18%", 0},
                                      {"UTGST 9%", 0}})
        v.entries.push_back(SalesLedgerEntry(EntryList::AllLedger, tax, amount, false));
    v.entries.push_back(SalesLedgerEntry(EntryList::AllLedger, "Round Off", -0.48, false));
    return v;
}

Voucher ServicePurchaseVoucher() {
    const std::string party = "Puducherry Beach Mart_5", number = "SRV/24-25/0043";
    const std::string gstin = "34AABCP1234F1Z2";
    Voucher v{.head = {.kind = VoucherKind::Purchase,
                       .type = "KVZ Service Purchase",
                       .date = "20240510",
                       .party = party,
                       .number = number,
                       .reference = number,
                       .state = "Puducherry",
                       .gstin = gstin}};
    v.entries.push_back(CreditedPartyEntry(EntryList::AllLedger, party, number, 1174));
    v.entries.push_back(PurchaseServiceDebitEntry("Visibility Claim Purchase", 994.44,
                                                  PurchaseServiceNature(gstin, 0)));
    for (const auto& [tax, amount] : {std::pair<const char*, double>{"CGST 9%", 89.5},
                                      {"SGST 9%", 0},
                                      {"IGST 18%", 0},
                                      {"UTGST 9%", 90}})
        v.entries.push_back(PurchaseServiceDebitEntry(tax, amount, ""));
    v.entries.push_back(PurchaseServiceDebitEntry("Round Off", 0.06, ""));
    return v;
}

Voucher RetailerCreditNoteVoucher() {
    const std::string party = "Kumar's Café & Bakery_2";
    Voucher v{.head = {.kind = VoucherKind::CreditNote,
                       .type = "KVZ Credit Note",
                       .date = "20240412",
                       .party = party,
                       .number = "CN/24-25/0007",
                       .reference = "SI/0003",
                       .remarks = "Display incentive April 2024",
                       .address = {"14 Big Bazaar Street", "Near Gandhi Park & Bus Stand",
                                   "Coimbatore", "", ""},
                       .referenceDate = "20240402"}};
    v.entries.push_back(CreditedPartyEntry(EntryList::AllLedger, party, "SI/0003", 1250.5));
    v.entries.push_back(
        CreditNoteLedgerEntry(EntryList::AllLedger, "Damages & Expiry", 1250.5, true));
    return v;
}

// A stock line in Main Location, Primary Batch, counted in pieces; the batch and the ledger
// carry the line's amount.
InventoryLine PieceLine(const std::string& item, double quantity, double rate, double amount,
                        const std::string& ledger, const std::string& nature, double assessable) {
    return {.item = item,
            .rate = rate,
            .amount = amount,
            .quantity = quantity,
            .unit = "PC",
            .batch = {.godown = "Main Location",
                      .batch = "Primary Batch",
                      .amount = amount,
                      .quantity = quantity,
                      .unit = "PC"},
            .allocation = {
                .ledger = ledger, .gstNature = nature, .amount = amount, .assessable = assessable}};
}

Voucher SalesReturnVoucher() {
    const std::string party = "Shah & Sons_42", state = "Tamil Nadu";
    Voucher v{.head = {.kind = VoucherKind::CreditNote,
                       .type = "Credit Note",
                       .date = "20240410",
                       .party = party,
                       .number = "SRN-1",
                       .reference = "INV-7",
                       .address = {"12 Car Street", "Near Bus Stand", "Chennai", state, ""},
                       .state = state,
                       .gstin = "33AABCS1234D1Z5",
                       .referenceDate = "20240405"}};
    v.entries.push_back(CreditedPartyEntry(EntryList::Ledger, party, "INV-7", 590));
    v.entries.push_back(PieceLine("BIS75_7", 10, 52, 520, "GST Sales 18%", "Sales Taxable", 500));
    v.entries.push_back(CreditNoteLedgerEntry(EntryList::Ledger, "Scheme Discount", 20, false));
    v.entries.push_back(CreditNoteLedgerEntry(EntryList::Ledger, "Special Discount", 0, false));
    for (const char* tax : {"CGST 9%", "SGST 9%"})
        v.entries.push_back(CreditNoteLedgerEntry(EntryList::Ledger, tax, 45, true));
    return v;
}

Voucher TransferOutVoucher() {
    const std::string depot = "KVZ Coimbatore Depot";
    Voucher v{.head = {.kind = VoucherKind::Sales,
                       .type = "KVZ IDT Out",
                       .date = "20240412",
                       .party = depot,
                       .number = "IDT2",
                       .reference = "IDT2"}};
    v.entries.push_back(SalesPartyEntry(EntryList::Ledger, depot, "IDT2", 355));
    v.entries.push_back(
        PieceLine("AB12_11", 1, 100.25, 100.25, "GST Sales", "Sales Taxable", 100.25));
    v.entries.push_back(
        PieceLine("CD34_12", 2, 100.25, 200.5, "GST Sales", "Sales Taxable", 200.5));
    for (const auto& [tax, amount] : {std::pair<const char*, double>{"CGST", 27.07},
                                      {"SGST", 27.07},
                                      {"IGST", 0},
                                      {"UTGST", 0},
                                      {"Round Off", 0.11}})
        v.entries.push_back(SalesLedgerEntry(EntryList::Ledger, tax, amount, false));
    return v;
}

Voucher TransferInVoucher() {
    const std::string depot = "KVZ Coimbatore Depot";
    Voucher v{.head = {.kind = VoucherKind::Purchase,
                       .type = "KVZ IDT In",
                       .date = "20240412",
                       .party = depot,
                       .number = "IDT1"}};
    v.entries.push_back(CreditedPartyEntry(EntryList::Ledger, depot, "IDT1", 355));
    for (const auto& [tax, amount] : {std::pair<const char*, double>{"CGST", 27.07},
                                      {"SGST", 27.07},
                                      {"IGST", 0},
                                      {"UTGST", 0}})
        v.entries.push_back(PurchaseDebitEntry(tax, amount, "", 0));
    v.entries.push_back(
        PieceLine("AB12_11", 1, 100.25, 100.25, "GST Purchase", "Purchase Taxable", 100.25));
    v.entries.push_back(
        PieceLine("CD34_12", 2, 100.25, 200.5, "GST Purchase", "Purchase Taxable", 200.5));
    v.entries.push_back(PurchaseDebitEntry("Round Off", 0.11, "", 0));
    return v;
}

Voucher PurchaseVoucher() {
    const std::string supplier = "Kaveri Foods & Beverages Ltd";
    Voucher v{.head = {.kind = VoucherKind::Purchase,
                       .type = "KVZ Purchase",
                       .date = "20240405",
                       .party = supplier,
                       .number = "GRN7",
                       .reference = "KFB/7",
                       .state = "Tamil Nadu",
                       .gstin = "33AABCK1234F1Z5",
                       .referenceDate = "20240405"}};
    v.entries.push_back(CreditedPartyEntry(EntryList::Ledger, supplier, "GRN7", 1535));
    for (const auto& [ledger, amount] :
         {std::pair<const char*, double>{"Scheme Discount Purch", -150.13},
          {"Special Discount Purch", 0},
          {"Cash Discount Purch", 0},
          {"CGST 2.5%", 11.25},
          {"SGST 2.5%", 11.25},
          {"CGST 9%", 81},
          {"SGST 9%", 81}})
        v.entries.push_back(PurchaseDebitEntry(ledger, amount, "", 0));
    v.entries.push_back(
        PieceLine("AB12_11", 10, 100, 1000, "GST Purchase 18%", "Purchase Taxable", 900));
    v.entries.push_back(
        PieceLine("CD34_12", 5, 100.05, 500.25, "GST Purchase 5%", "Purchase Taxable", 450.12));
    v.entries.push_back(PieceLine("EF56_13", 6, 0, 0, "GST Purchase 0%", "Purchase Taxable", 0));
    v.entries.push_back(PurchaseDebitEntry("Round Off", 0.38, "", 0));
    return v;
}

struct GoldenCase {
    const char* file;
    Voucher (*voucher)();
};

TEST(VoucherWriterGolden, WritesTheStoredVouchersByteForByte) {
    const GoldenCase cases[] = {
        {"receipt_voucher.xml", ReceiptVoucher},
        {"service_sales_voucher.xml", ServiceSalesVoucher},
        {"service_purchase_voucher.xml", ServicePurchaseVoucher},
        {"retailer_credit_note_voucher.xml", RetailerCreditNoteVoucher},
        {"sales_return_voucher.xml", SalesReturnVoucher},
        {"idt_out_voucher.xml", TransferOutVoucher},
        {"idt_in_voucher.xml", TransferInVoucher},
        {"purchase_voucher.xml", PurchaseVoucher},
    };
    for (const GoldenCase& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string expected = ExpectedFile(c.file);
        ASSERT_FALSE(expected.empty()) << "expected file missing";
        EXPECT_EQ(Request(c.voucher()), expected);
    }
}

}  // namespace
}  // namespace zentrail
