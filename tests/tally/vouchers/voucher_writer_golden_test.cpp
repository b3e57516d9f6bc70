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
