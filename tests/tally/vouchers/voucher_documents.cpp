#include "tally/vouchers/voucher_documents.h"

#include <cmath>

#include "tally/vouchers/voucher_entries.h"
#include "tally/vouchers/voucher_writer.h"

namespace zentrail::voucher_documents {

namespace {

// ---- Sales side: sales invoice, transfer out, service sale ----

InventoryLine SalesSideLine(const StockLine& line) {
    return {.item = line.item,
            .rate = line.rate,
            .amount = line.gross,
            .quantity = line.quantity,
            .unit = line.unit,
            .batch = {.godown = line.godown,
                      .batch = line.batch,
                      .amount = line.quantity * line.rate,
                      .quantity = line.quantity,
                      .unit = line.unit},
            .allocation = {.ledger = line.ledger,
                           .gstNature = line.nature,
                           .amount = line.gross,
                           .assessable = line.taxable}};
}

std::string SalesInvoiceValues(const Document& d) {
    Voucher v{.head = {.kind = VoucherKind::Sales,
                       .type = d.type,
                       .date = d.date,
                       .party = d.party,
                       .number = d.number,
                       .reference = d.number,
                       .cancel = d.cancel,
                       .address = {d.add1, d.add2, d.add3, d.state, ""},
                       .state = d.state,
                       .gstin = d.gstin}};
    v.entries.push_back(SalesPartyEntry(EntryList::Ledger, d.party, d.number, d.partyAmount));
    for (const StockLine& line : d.lines) v.entries.push_back(SalesSideLine(line));
    for (const auto& [name, amount] : d.discounts)
        v.entries.push_back(SalesLedgerEntry(EntryList::Ledger, name, amount * -1, false));
    for (const auto& [name, amount] : d.taxes)
        v.entries.push_back(SalesLedgerEntry(EntryList::Ledger, name, amount, false));
    v.entries.push_back(SalesLedgerEntry(EntryList::Ledger, d.roundOffLedger, d.roundOff, false));
    return WriteVoucher(v);
}

std::string TransferOutValues(const Document& d) {
    Voucher v{.head = {.kind = VoucherKind::Sales,
                       .type = d.type,
                       .date = d.date,
                       .party = d.party,
                       .number = d.number,
                       .reference = d.number}};
    v.entries.push_back(SalesPartyEntry(EntryList::Ledger, d.party, d.number, d.partyAmount));
    for (const StockLine& line : d.lines) v.entries.push_back(SalesSideLine(line));
    for (const auto& [name, amount] : d.taxes)
        v.entries.push_back(SalesLedgerEntry(EntryList::Ledger, name, amount, false));
    const bool debit = d.roundOff < 0;
    v.entries.push_back(SalesLedgerEntry(EntryList::Ledger, d.roundOffLedger,
                                         debit ? -d.roundOff : d.roundOff, debit));
    return WriteVoucher(v);
}

std::string ServiceSaleValues(const Document& d) {
    Voucher v{.head = {.kind = VoucherKind::Sales,
                       .type = d.type,
                       .date = d.date,
                       .party = d.party,
                       .number = d.number,
                       .reference = d.number,
                       .address = {d.add1, d.add2, d.add3, d.state, ""},
                       .state = d.state,
                       .gstin = d.gstin}};
    v.entries.push_back(SalesPartyEntry(EntryList::AllLedger, d.party, d.number, d.partyAmount));
    v.entries.push_back(SalesLedgerEntry(EntryList::AllLedger, d.reason, d.service, false,
                                         SalesServiceNature(d.gstin, d.igst)));
    for (const auto& [name, amount] : d.taxes)
        v.entries.push_back(
            SalesLedgerEntry(EntryList::AllLedger, name, amount, false, SalesServiceNature("", 0)));
    v.entries.push_back(
        SalesLedgerEntry(EntryList::AllLedger, d.roundOffLedger, d.roundOff, false));
    return WriteVoucher(v);
}

// ---- Credit notes: sales return, retailer credit note ----

std::string SalesReturnValues(const Document& d) {
    Voucher v{.head = {.kind = VoucherKind::CreditNote,
                       .type = d.type,
                       .date = d.date,
                       .party = d.party,
                       .number = d.number,
                       .reference = d.reference,
                       .address = {d.add1, d.add2, d.add3, d.state, ""},
                       .state = d.state,
                       .gstin = d.gstin,
                       .referenceDate = d.referenceDate}};
    v.entries.push_back(CreditedPartyEntry(EntryList::Ledger, d.party, d.reference, d.partyAmount));
    for (const StockLine& line : d.lines) v.entries.push_back(SalesSideLine(line));
    for (const auto& [name, amount] : d.discounts)
        v.entries.push_back(CreditNoteLedgerEntry(EntryList::Ledger, name, amount, false));
    for (const auto& [name, amount] : d.taxes)
        v.entries.push_back(CreditNoteLedgerEntry(EntryList::Ledger, name, amount, true));
    return WriteVoucher(v);
}

std::string RetailerCreditNoteValues(const Document& d) {
    Voucher v{.head = {.kind = VoucherKind::CreditNote,
                       .type = d.type,
                       .date = d.date,
                       .party = d.party,
                       .number = d.number,
                       .reference = d.reference,
                       .remarks = d.remarks,
                       .address = {d.add1, d.add2, d.add3, "", ""},
                       .referenceDate = d.referenceDate}};
    v.entries.push_back(
        CreditedPartyEntry(EntryList::AllLedger, d.party, d.reference, d.partyAmount));
    v.entries.push_back(CreditNoteLedgerEntry(EntryList::AllLedger, d.reason, d.partyAmount, true));
    return WriteVoucher(v);
}

// ---- Purchase side: purchase receipt, transfer in, service purchase ----

InventoryLine PurchaseLine(const StockLine& line, double amount, double rate,
                           const std::string& ledger, double assessable) {
    return {.item = line.item,
            .rate = rate,
            .amount = amount,
            .quantity = line.quantity,
            .unit = line.unit,
            .batch = {.godown = line.godown,
                      .batch = line.batch,
                      .amount = amount,
                      .quantity = line.quantity,
                      .unit = line.unit},
            .allocation = {.ledger = ledger,
                           .gstNature = line.nature,
                           .amount = amount,
                           .assessable = assessable}};
}

std::string PurchaseReceiptValues(const Document& d) {
    Voucher v{.head = {.kind = VoucherKind::Purchase,
                       .type = d.type,
                       .date = d.date,
                       .party = d.party,
                       .number = d.number,
                       .reference = d.reference,
                       .state = d.state,
                       .gstin = d.gstin,
                       .referenceDate = d.date}};
    v.entries.push_back(CreditedPartyEntry(EntryList::Ledger, d.party, d.number, d.partyAmount));
    for (const auto& [name, amount] : d.discounts)
        v.entries.push_back(PurchaseDebitEntry(name, amount * -1, "", 0));
    for (const auto& [name, amount] : d.taxes)
        v.entries.push_back(PurchaseDebitEntry(name, amount, "", 0));
    for (const StockLine& line : d.lines)
        v.entries.push_back(
            PurchaseLine(line, line.gross, line.rate, line.ledger, line.gross - line.discount));
    for (const StockLine& line : d.lines)
        v.entries.push_back(PurchaseLine(line, 0, 0, "GST Purchase 0%", 0));
    if (d.roundOff < 0)
        v.entries.push_back(PurchaseCreditEntry(EntryList::Ledger, d.roundOffLedger, -d.roundOff));
    else
        v.entries.push_back(PurchaseDebitEntry(d.roundOffLedger, d.roundOff, "", 0));
    return WriteVoucher(v);
}

std::string TransferInValues(const Document& d) {
    Voucher v{.head = {.kind = VoucherKind::Purchase,
                       .type = d.type,
                       .date = d.date,
                       .party = d.party,
                       .number = d.number}};
    v.entries.push_back(CreditedPartyEntry(EntryList::Ledger, d.party, d.number, d.partyAmount));
    for (const auto& [name, amount] : d.taxes)
        v.entries.push_back(PurchaseDebitEntry(name, amount, "", 0));
    for (const StockLine& line : d.lines)
        v.entries.push_back(PurchaseLine(line, line.gross, line.rate, line.ledger, line.gross));
    if (d.roundOff < 0)
        v.entries.push_back(PurchaseCreditEntry(EntryList::Ledger, d.roundOffLedger, -d.roundOff));
    else
        v.entries.push_back(PurchaseDebitEntry(d.roundOffLedger, d.roundOff, "", 0));
    return WriteVoucher(v);
}

std::string ServicePurchaseValues(const Document& d) {
    Voucher v{.head = {.kind = VoucherKind::Purchase,
                       .type = d.type,
                       .date = d.date,
                       .party = d.party,
                       .number = d.number,
                       .reference = d.number,
                       .state = d.state,
                       .gstin = d.gstin}};
    v.entries.push_back(CreditedPartyEntry(EntryList::AllLedger, d.party, d.number, d.partyAmount));
    v.entries.push_back(
        PurchaseServiceDebitEntry(d.reason, d.service, PurchaseServiceNature(d.gstin, d.igst)));
    for (const auto& [name, amount] : d.taxes)
        v.entries.push_back(PurchaseServiceDebitEntry(name, amount, PurchaseServiceNature("", 0)));
    if (d.roundOff >= 0)
        v.entries.push_back(PurchaseServiceDebitEntry(d.roundOffLedger, std::fabs(d.roundOff), ""));
    else
        v.entries.push_back(
            PurchaseCreditEntry(EntryList::AllLedger, d.roundOffLedger, std::fabs(d.roundOff)));
    return WriteVoucher(v);
}

// ---- Receipt ----

std::string ReceiptValues(const Document& d) {
    Voucher v{.head = {.kind = VoucherKind::Receipt,
                       .type = d.type,
                       .date = d.date,
                       .party = d.party,
                       .number = d.number,
                       .reference = d.reference,
                       .remarks = "Cheque Number - " + d.chequeNumber}};
    v.entries.push_back(ReceiptPartyEntry(d.party, d.partyAmount, d.bill, d.partyAmount));
    v.entries.push_back(ReceiptDebitEntry(d.bank, d.partyAmount,
                                          {.date = d.date,
                                           .instrumentDate = d.chequeDate,
                                           .name = d.number,
                                           .bankName = d.add1,
                                           .chequeNumber = d.chequeNumber},
                                          ""));
    return WriteVoucher(v);
}

}  // namespace

const std::vector<Screen>& Screens() {
    static const std::vector<Screen> screens = {
        {"SalesInvoice", SalesInvoiceValues, false},
        {"TransferOut", TransferOutValues, false},
        {"ServiceSale", ServiceSaleValues, false},
        {"SalesReturn", SalesReturnValues, false},
        {"RetailerCreditNote", RetailerCreditNoteValues, false},
        {"PurchaseReceipt", PurchaseReceiptValues, true},
        {"TransferIn", TransferInValues, true},
        {"ServicePurchase", ServicePurchaseValues, true},
        {"Receipt", ReceiptValues, true},
    };
    return screens;
}

}  // namespace zentrail::voucher_documents
