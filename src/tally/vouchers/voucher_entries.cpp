#include "tally/vouchers/voucher_entries.h"

#include <utility>

#include "tally/xml_escape.h"

namespace zentrail {

LedgerEntry SalesPartyEntry(EntryList list, std::string party, std::string bill, double amount) {
    return {
        .list = list,
        .ledger = std::move(party),
        .amount = amount,
        .debit = true,
        .deemedPositive = true,
        .partyLedger = PartyLedgerLine::Yes,
        .writeWhenZero = true,
        .bill = BillAllocation{.name = std::move(bill), .amount = amount, .vatExpAmount = true}};
}

LedgerEntry SalesLedgerEntry(EntryList list, std::string ledger, double amount, bool debit,
                             std::string gstNature) {
    return {.list = list,
            .ledger = std::move(ledger),
            .amount = amount,
            .debit = debit,
            .deemedPositive = debit,
            .vatExpAmount = true,
            .gstNature = std::move(gstNature)};
}

std::string SalesServiceNature(std::string_view gstin, double igst) {
    return !BlankTrimmed(gstin).empty() && igst == 0 ? "Sales Taxable" : "";
}

LedgerEntry CreditedPartyEntry(EntryList list, std::string party, std::string bill, double amount) {
    return {.list = list,
            .ledger = std::move(party),
            .amount = amount,
            .partyLedger = PartyLedgerLine::Yes,
            .writeWhenZero = true,
            .bill = BillAllocation{.name = std::move(bill), .amount = amount}};
}

LedgerEntry CreditNoteLedgerEntry(EntryList list, std::string ledger, double amount, bool debit) {
    return {.list = list,
            .ledger = std::move(ledger),
            .amount = amount,
            .debit = debit,
            .deemedPositive = true,
            .vatExpAmount = true};
}

LedgerEntry PurchaseDebitEntry(std::string ledger, double amount, std::string taxClass,
                               double taxRate) {
    return {.ledger = std::move(ledger),
            .amount = amount,
            .debit = true,
            .deemedPositive = true,
            .invoiceTax = InvoiceTax{.rate = taxRate, .taxClass = std::move(taxClass)}};
}

LedgerEntry PurchaseServiceDebitEntry(std::string ledger, double amount, std::string gstNature) {
    return {.list = EntryList::AllLedger,
            .ledger = std::move(ledger),
            .amount = amount,
            .debit = true,
            .deemedPositive = true,
            .gstNature = std::move(gstNature)};
}

std::string PurchaseServiceNature(std::string_view gstin, double igst) {
    if (gstin.empty()) return {};
    return igst == 0 ? "Purchase Taxable" : "Interstate Purchase Taxable";
}

LedgerEntry PurchaseCreditEntry(EntryList list, std::string ledger, double amount) {
    return {.list = list, .ledger = std::move(ledger), .amount = amount};
}

LedgerEntry ReceiptPartyEntry(std::string party, double amount, std::string bill,
                              double billAmount) {
    LedgerEntry entry{.list = EntryList::AllLedger,
                      .ledger = std::move(party),
                      .amount = amount,
                      .partyLedger = PartyLedgerLine::None,
                      .writeWhenZero = true};
    if (billAmount > 0)
        entry.bill = BillAllocation{.name = std::move(bill), .settles = true, .amount = billAmount};
    return entry;
}

LedgerEntry ReceiptDebitEntry(std::string ledger, double amount, BankAllocation cheque,
                              std::string costCentre) {
    LedgerEntry entry{.list = EntryList::AllLedger,
                      .ledger = std::move(ledger),
                      .amount = amount,
                      .debit = true,
                      .deemedPositive = true,
                      .costCentre = std::move(costCentre)};
    if (!cheque.chequeNumber.empty()) entry.bank = std::move(cheque);
    return entry;
}

}  // namespace zentrail
