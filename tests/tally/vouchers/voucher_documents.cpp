#include "tally/vouchers/voucher_documents.h"

#include <cmath>

#include "tally/vouchers/tally_credit_note_trn.h"
#include "tally/vouchers/tally_purch_trn.h"
#include "tally/vouchers/tally_receipt_trn.h"
#include "tally/vouchers/tally_sale_trn.h"
#include "tally/vouchers/voucher_entries.h"
#include "tally/vouchers/voucher_writer.h"

namespace zentrail::voucher_documents {

namespace {

constexpr const char* kClose = "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";

// ---- Sales side: sales invoice, transfer out, service sale ----

std::string SalesStock(TallySaleTrn& sale, const Document& d) {
    std::string inventory;
    for (const StockLine& line : d.lines) {
        sale.strSale_Alloc = sale.strAccountAlloc(line.gross, line.ledger, "", "", line.nature,
                                                  line.taxable, line.taxable);
        sale.strSale_Batch = sale.strBatchAlloc(line.quantity, line.rate, line.godown, line.batch,
                                                line.unit, "", "", "");
        inventory +=
            sale.strInvent_Sales(line.item, line.gross, line.quantity, line.unit, line.rate,
                                 line.godown, line.batch, "", "", "", "", "", "");
    }
    sale.strSale_Alloc.clear();
    sale.strSale_Batch.clear();
    return inventory;
}

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

std::string SalesInvoiceBuilders(Document d) {
    TallySaleTrn sale;
    std::string inventory = SalesStock(sale, d);
    std::string voucherType = d.type, refNo = d.number, remarks, partyName, add4 = d.state, add5;
    std::string text =
        sale.strSale_Head(voucherType, d.date, d.party, d.number, refNo, remarks, partyName, "",
                          d.cancel, d.state, d.gstin, d.add1, d.add2, d.add3, add4, add5);
    text += sale.strSale_Party(d.party, d.number, d.partyAmount);
    text += inventory;
    for (const auto& [name, amount] : d.discounts) {
        std::string ledger = name;
        text += sale.strSale_Cr_Sch(ledger, amount * -1);
    }
    for (auto [ledger, amount] : d.taxes) text += sale.strSale_Cr(ledger, amount);
    std::string roundOffLedger = d.roundOffLedger;
    text += sale.strSale_Cr_Sch(roundOffLedger, d.roundOff);
    return text + kClose;
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

std::string TransferOutBuilders(Document d) {
    TallySaleTrn sale;
    std::string lines = SalesStock(sale, d);
    std::string voucherType = d.type, refNo = d.number, remarks, partyName, add1, add2, add3, add4,
                add5;
    std::string text =
        sale.strSale_Head(voucherType, d.date, d.party, d.number, refNo, remarks, partyName, "",
                          false, "", "", add1, add2, add3, add4, add5);
    text += sale.strSale_Party(d.party, d.number, d.partyAmount);
    text += lines;
    for (auto [ledger, amount] : d.taxes) text += sale.strSale_Cr(ledger, amount);
    std::string roundOff = d.roundOffLedger;
    if (d.roundOff < 0)
        text += sale.strSale_Dr(roundOff, -d.roundOff);
    else
        text += sale.strSale_Cr(roundOff, d.roundOff);
    return text + kClose;
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

std::string ServiceSaleBuilders(Document d) {
    TallySaleTrn sale;
    std::string voucherType = d.type, refNo = d.number, remarks, buyerName, add4 = d.state, add5;
    std::string text =
        sale.strSale_Head(voucherType, d.date, d.party, d.number, refNo, remarks, buyerName, "",
                          false, d.state, d.gstin, d.add1, d.add2, d.add3, add4, add5);
    text += sale.strSale_Party_All(d.party, d.number, d.partyAmount);
    std::string ledger = d.reason;
    text += sale.strSale_Cr_All(ledger, d.service, d.gstin, d.igst);
    for (auto [name, amount] : d.taxes) {
        std::string tax = name;
        text += sale.strSale_Cr_All(tax, amount, "", 0);
    }
    std::string roundOff = d.roundOffLedger;
    text += sale.strSale_Cr_Sch_All(roundOff, d.roundOff);
    return text + kClose;
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

std::string SalesReturnBuilders(Document d) {
    TallyCreditNoteTrn note;
    std::string inventory;
    for (const StockLine& line : d.lines) {
        note.strCrd_Alloc =
            note.strAccountAlloc(line.gross, line.ledger, "", "", line.nature, line.taxable);
        note.strCrd_Batch = note.strBatchAlloc(line.quantity, line.rate, line.godown, line.batch,
                                               line.unit, "", "", "");
        inventory += note.strInvent_Crd(line.item, line.gross, line.quantity, line.unit, line.rate,
                                        line.godown, line.batch, "", "", "", "", "", "");
    }
    note.strCrd_Alloc.clear();
    note.strCrd_Batch.clear();
    std::string voucherType = d.type, remarks, partyName, add4 = d.state, add5;
    std::string text = note.strCreditNote_Head(voucherType, d.date, d.party, d.number, d.reference,
                                               remarks, partyName, "", false, d.state, d.gstin,
                                               d.add1, d.add2, d.add3, add4, add5, d.referenceDate);
    text += note.strCreditNote_Party(d.party, d.reference, d.partyAmount);
    text += inventory;
    for (const auto& [name, amount] : d.discounts) {
        std::string ledger = name;
        text += note.strCreditNote_Dr_Sch(ledger, amount);
    }
    for (auto [ledger, amount] : d.taxes) text += note.strCreditNote_Dr(ledger, amount);
    return text + kClose;
}

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

std::string RetailerCreditNoteBuilders(Document d) {
    TallyCreditNoteTrn builder;
    std::string refNo = d.reference, refDate = d.referenceDate;
    std::string voucherType = d.type, party = d.party, number = d.number, remarks = d.remarks,
                buyerName, add1 = d.add1, add2 = d.add2, add3 = d.add3, add4, add5,
                reason = d.reason;
    std::string text =
        builder.strCreditNote_Head(voucherType, d.date, party, number, refNo, remarks, buyerName,
                                   "", false, "", "", add1, add2, add3, add4, add5, refDate);
    text += builder.strCNote_Party_Vch(party, refNo, d.partyAmount);
    text += builder.strCreditNote_Dr_Vch(reason, d.partyAmount);
    return text + kClose;
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

std::string PurchaseReceiptBuilders(Document d) {
    TallyPurchTrn purchase;
    std::string stock;
    for (const StockLine& line : d.lines)
        stock += purchase.strInvent_Purchase(line.item, line.gross, line.quantity, line.unit,
                                             line.rate, line.godown, line.batch, line.ledger,
                                             line.nature, line.gross - line.discount);
    std::string voucherType = d.type, remarks, supplierInvoiceDate = d.date;
    std::string text =
        purchase.strPurchase_Head(voucherType, d.date, d.party, d.number, d.reference, remarks,
                                  supplierInvoiceDate, "", "", "", d.state, d.gstin);
    text += purchase.strPurchase_Party(d.party, d.number, d.partyAmount);
    for (const auto& [name, amount] : d.discounts) {
        std::string ledger = name;
        text += purchase.strPurchase_Dr(ledger, amount * -1, "", 0);
    }
    for (auto [ledger, amount] : d.taxes) text += purchase.strPurchase_Dr(ledger, amount, "", 0);
    text += stock;
    // The scheme's free goods: no amount, the zero-rated ledger.
    for (const StockLine& line : d.lines)
        text += purchase.strInvent_Purchase(line.item, 0, line.quantity, line.unit, 0, line.godown,
                                            line.batch, "GST Purchase 0%", line.nature, 0);
    std::string roundOff = d.roundOffLedger;
    if (d.roundOff < 0)
        text += purchase.strPurchase_Cr(roundOff, -d.roundOff);
    else
        text += purchase.strPurchase_Dr(roundOff, d.roundOff, "", 0);
    return text + kClose;
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

std::string TransferInBuilders(Document d) {
    TallyPurchTrn purchase;
    std::string lines;
    for (const StockLine& line : d.lines)
        lines += purchase.strInvent_Purchase(line.item, line.gross, line.quantity, line.unit,
                                             line.rate, line.godown, line.batch, line.ledger,
                                             line.nature, line.gross);
    std::string voucherType = d.type, refNo, remarks, referenceDate;
    std::string text = purchase.strPurchase_Head(voucherType, d.date, d.party, d.number, refNo,
                                                 remarks, referenceDate, "", "", "", "", "");
    text += purchase.strPurchase_Party(d.party, d.number, d.partyAmount);
    for (auto [name, amount] : d.taxes) {
        std::string ledger = name;
        text += purchase.strPurchase_Dr(ledger, amount, "", 0);
    }
    text += lines;
    std::string roundOff = d.roundOffLedger;
    if (d.roundOff < 0)
        text += purchase.strPurchase_Cr(roundOff, -d.roundOff);
    else
        text += purchase.strPurchase_Dr(roundOff, d.roundOff, "", 0);
    return text + kClose;
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

std::string ServicePurchaseBuilders(Document d) {
    TallyPurchTrn purchase;
    std::string voucherType = d.type, refNo = d.number, remarks, supplierInvoiceDate;
    std::string text =
        purchase.strPurchase_Head(voucherType, d.date, d.party, d.number, refNo, remarks,
                                  supplierInvoiceDate, "", "", "", d.state, d.gstin);
    text += purchase.strPurchase_Party_All(d.party, d.number, d.partyAmount);
    std::string ledger = d.reason;
    text += purchase.strPurchase_Dr_All(ledger, d.service, d.gstin, d.igst);
    for (auto [name, amount] : d.taxes) {
        std::string tax = name;
        text += purchase.strPurchase_Dr_All(tax, amount, "", 0);
    }
    std::string roundOff = d.roundOffLedger;
    if (d.roundOff >= 0)
        text += purchase.strPurchase_Dr_All(roundOff, std::fabs(d.roundOff), "", 0);
    else
        text += purchase.strPurchase_Cr_All(roundOff, std::fabs(d.roundOff));
    return text + kClose;
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

std::string ReceiptBuilders(Document d) {
    TallyReceiptTrn receipt;
    std::string ledger = d.bank, chequeNumber = d.chequeNumber, chequeDate = d.chequeDate,
                customerBank = d.add1;
    std::string narration = "Cheque Number - " + chequeNumber;
    const std::string serial = d.number;
    const std::string receiptNumber = d.reference;
    receipt.strReceipt_Bil_Alloc.clear();
    receipt.strReceipt_Bil_Alloc = receipt.strReceipt_BillAlloc(d.bill, d.partyAmount);
    std::string voucherType = d.type, partyName = d.party;
    std::string text = receipt.strReceipt_Head(voucherType, d.date, partyName, serial,
                                               receiptNumber, narration, "R", false);
    text += receipt.strReceipt_Party(partyName, d.partyAmount);
    text += receipt.strReceipt_Dr(ledger, d.partyAmount, d.date, chequeDate, customerBank,
                                  chequeNumber, "", serial);
    return text + kClose;
}

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
        {"SalesInvoice", SalesInvoiceBuilders, SalesInvoiceValues, false},
        {"TransferOut", TransferOutBuilders, TransferOutValues, false},
        {"ServiceSale", ServiceSaleBuilders, ServiceSaleValues, false},
        {"SalesReturn", SalesReturnBuilders, SalesReturnValues, false},
        {"RetailerCreditNote", RetailerCreditNoteBuilders, RetailerCreditNoteValues, false},
        {"PurchaseReceipt", PurchaseReceiptBuilders, PurchaseReceiptValues, true},
        {"TransferIn", TransferInBuilders, TransferInValues, true},
        {"ServicePurchase", ServicePurchaseBuilders, ServicePurchaseValues, true},
        {"Receipt", ReceiptBuilders, ReceiptValues, true},
    };
    return screens;
}

}  // namespace zentrail::voucher_documents
