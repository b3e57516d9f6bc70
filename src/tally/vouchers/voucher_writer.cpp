#include "tally/vouchers/voucher_writer.h"

#include "tally/number_text.h"
#include "tally/vouchers/voucher_blocks.h"
#include "tally/vouchers/voucher_head_writer.h"
#include "tally/vouchers/voucher_lines.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

std::string AmountText(double amount, bool debit) {
    return debit ? DebitText(amount) : NumberText(amount);
}

void AppendInvoiceTax(std::string& out, const InvoiceTax& tax) {
    AppendLine(out, {"<BASICRATEOFINVOICETAX.LIST TYPE=\"Number\">"});
    AppendLine(out, {"<BASICRATEOFINVOICETAX> ", NumberText(tax.rate), "</BASICRATEOFINVOICETAX>"});
    AppendLine(out, {"</BASICRATEOFINVOICETAX.LIST>"});
    AppendElement(out, "TAXCLASSIFICATIONNAME", EscapeXmlTextOnce(tax.taxClass));
}

void AppendBankAllocation(std::string& out, const BankAllocation& bank, std::string_view amount) {
    AppendLine(out, {"<BANKALLOCATIONS.LIST>"});
    AppendElement(out, "DATE", EscapeXmlTextOnce(bank.date));
    AppendElement(out, "INSTRUMENTDATE", EscapeXmlTextOnce(bank.instrumentDate));
    AppendElement(out, "NAME", EscapeXmlTextOnce(bank.name));
    AppendLine(out, {"<CHEQUECROSSCOMMENT>A/c Payee</CHEQUECROSSCOMMENT>"});
    AppendLine(out, {"<TRANSACTIONTYPE>Cheque</TRANSACTIONTYPE>"});
    AppendElement(out, "BANKNAME", EscapeXmlTextOnce(bank.bankName));
    AppendLine(out, {"<PAYMENTFAVOURING></PAYMENTFAVOURING>"});
    AppendLine(out, {"<STATUS>No</STATUS>"});
    AppendElement(out, "INSTRUMENTNUMBER", EscapeXmlTextOnce(bank.chequeNumber));
    AppendLine(out, {"<PAYMENTMODE>Transacted</PAYMENTMODE>"});
    AppendLine(out, {"<CHEQUEPRINTED> 1</CHEQUEPRINTED>"});
    AppendElement(out, "AMOUNT", amount);
    AppendLine(out, {"</BANKALLOCATIONS.LIST>"});
}

void AppendLedgerEntry(std::string& out, const LedgerEntry& entry) {
    if (!entry.writeWhenZero && entry.amount == 0) return;
    const std::string_view list =
        entry.list == EntryList::Ledger ? "LEDGERENTRIES.LIST" : "ALLLEDGERENTRIES.LIST";
    const std::string ledger = EscapeXmlTextOnce(entry.ledger);
    const std::string amount = AmountText(entry.amount, entry.debit);
    AppendLine(out, {"<", list, ">"});
    if (entry.invoiceTax) AppendInvoiceTax(out, *entry.invoiceTax);
    if (entry.partyLedger == PartyLedgerLine::None) {
        AppendLine(out, {"<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>"});
        AppendElement(out, "ISDEEMEDPOSITIVE", entry.deemedPositive ? "Yes" : "No");
        AppendLine(out, {"<LEDGERFROMITEM>No</LEDGERFROMITEM>"});
        AppendElement(out, "LEDGERNAME", ledger);
        AppendElement(out, "AMOUNT", amount);
    } else {
        AppendLedgerLines(out, {.deemedPositive = entry.deemedPositive,
                                .ledger = ledger,
                                .partyLedger = entry.partyLedger == PartyLedgerLine::Yes,
                                .amount = amount});
    }
    if (entry.vatExpAmount) AppendElement(out, "VATEXPAMOUNT", amount);
    if (!entry.gstNature.empty())
        AppendGstOverride(out, EscapeXmlTextOnce(entry.gstNature), amount);
    if (const std::optional<BillAllocation>& bill = entry.bill) {
        const std::string billAmount = AmountText(bill->amount, entry.debit);
        AppendBillAllocation(
            out, EscapeXmlTextOnce(bill->name), bill->settles ? "Agst Ref" : "New Ref", billAmount,
            bill->vatExpAmount ? std::optional<std::string_view>(billAmount) : std::nullopt);
    }
    if (entry.bank) AppendBankAllocation(out, *entry.bank, amount);
    if (!entry.costCentre.empty())
        AppendCostCentre(out, EscapeXmlTextOnce(entry.costCentre), amount);
    AppendLine(out, {"</", list, ">"});
}

void AppendRateBlock(std::string& out, const char* dutyHead) {
    AppendLine(out, {"<RATEDETAILS.LIST>"});
    AppendElement(out, "GSTRATEDUTYHEAD", dutyHead);
    AppendLine(out, {"<GSTRATEVALUATIONTYPE>Based on Value</GSTRATEVALUATIONTYPE>"});
    AppendLine(out, {"</RATEDETAILS.LIST>"});
}

// A sale's allocation is a credit with the assessable value always written and the four
// duty heads left to Tally; a return's is a debit.
std::string SalesSideAllocation(const AccountingAllocation& alloc, bool isReturn) {
    const std::string amount = AmountText(alloc.amount, isReturn);
    std::string out;
    out.reserve(1536);
    AppendLine(out, {"<ACCOUNTINGALLOCATIONS.LIST>"});
    AppendElement(out, "TAXCLASSIFICATIONNAME", EscapeXmlTextOnce(alloc.taxClass));
    AppendElement(out, "LEDGERNAME", EscapeXmlTextOnce(alloc.ledger));
    if (!alloc.gstNature.empty()) {
        if (isReturn)
            AppendGstOverride(out, EscapeXmlTextOnce(alloc.gstNature), DebitText(alloc.assessable));
        else
            AppendGstNature(out, EscapeXmlTextOnce(alloc.gstNature));
    }
    AppendElement(out, "ISDEEMEDPOSITIVE", isReturn ? "Yes" : "No");
    AppendLine(out, {"<LEDGERFROMITEM>No</LEDGERFROMITEM>"});
    AppendLine(out, {"<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>"});
    AppendLine(out, {"<ISPARTYLEDGER>No</ISPARTYLEDGER>"});
    AppendElement(out, "AMOUNT", amount);
    if (!isReturn) AppendElement(out, "GSTOVRDNASSESSABLEVALUE", NumberText(alloc.assessable));
    if (!alloc.costCentre.empty())
        AppendCostCentre(out, EscapeXmlTextOnce(alloc.costCentre), amount);
    if (!isReturn)
        for (const char* head : {"Integrated Tax", "Central Tax", "State Tax", "Cess"})
            AppendRateBlock(out, head);
    AppendLine(out, {"</ACCOUNTINGALLOCATIONS.LIST>"});
    return out;
}

std::string BatchText(const StockBatch& batch, bool debit) {
    std::string out;
    out.reserve(512);
    AppendBatchAllocation(out, {.godown = EscapeXmlTextOnce(batch.godown),
                                .batch = EscapeXmlTextOnce(batch.batch),
                                .orderNo = EscapeXmlTextOnce(batch.orderNo),
                                .tracking = EscapeXmlTextOnce(batch.tracking),
                                .amount = AmountText(batch.amount, debit),
                                .quantity = NumberText(batch.quantity),
                                .unit = EscapeXmlTextOnce(batch.unit),
                                .dueDate = EscapeXmlTextOnce(batch.dueDate)});
    return out;
}

void AppendSalesSideLine(std::string& out, const InventoryLine& line, bool isReturn) {
    const std::string unit = EscapeXmlTextOnce(line.unit);
    const std::array<std::string, 6>& r = line.remarks;
    out += InventoryEntry({r[0], r[1], r[2], r[3], r[4], r[5]},
                          {.item = EscapeXmlTextOnce(line.item),
                           .deemedPositive = isReturn,
                           .rate = NumberText(line.rate) + "/" + unit,
                           .amount = AmountText(line.amount, isReturn),
                           .quantity = NumberText(line.quantity),
                           .unit = unit},
                          BatchText(line.batch, isReturn),
                          SalesSideAllocation(line.allocation, isReturn));
}

void AppendPurchaseLine(std::string& out, const InventoryLine& line) {
    const std::string unit = EscapeXmlTextOnce(line.unit);
    const AccountingAllocation& alloc = line.allocation;
    AppendLine(out, {"<ALLINVENTORYENTRIES.LIST>"});
    AppendStockLines(out, {.item = EscapeXmlTextOnce(line.item),
                           .deemedPositive = true,
                           .rate = NumberText(line.rate) + " /" + unit,
                           .amount = DebitText(line.amount),
                           .quantity = NumberText(line.quantity),
                           .unit = unit});
    out += BatchText(line.batch, true);
    AppendLine(out, {"<ACCOUNTINGALLOCATIONS.LIST>"});
    AppendLine(out, {"<REMOVEZEROENTRIES>No</REMOVEZEROENTRIES>"});
    AppendLine(out, {"<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>"});
    AppendLine(out, {"<LEDGERFROMITEM>No</LEDGERFROMITEM>"});
    AppendElement(out, "LEDGERNAME", EscapeXmlTextOnce(alloc.ledger));
    if (!alloc.gstNature.empty())
        AppendGstOverride(out, EscapeXmlTextOnce(alloc.gstNature), DebitText(alloc.assessable));
    AppendLine(out, {"<ISPARTYLEDGER>No</ISPARTYLEDGER>"});
    AppendElement(out, "AMOUNT", DebitText(alloc.amount));
    AppendLine(out, {"</ACCOUNTINGALLOCATIONS.LIST>"});
    AppendLine(out, {"</ALLINVENTORYENTRIES.LIST>"});
}

void AppendInventoryLine(std::string& out, VoucherKind kind, const InventoryLine& line) {
    switch (kind) {
        case VoucherKind::Sales:
            AppendSalesSideLine(out, line, false);
            break;
        case VoucherKind::CreditNote:
            AppendSalesSideLine(out, line, true);
            break;
        case VoucherKind::Purchase:
        case VoucherKind::Receipt:  // a receipt carries no stock; written as a purchase's
            AppendPurchaseLine(out, line);
            break;
    }
}

}  // namespace

std::string WriteVoucher(const Voucher& voucher) {
    std::string out;
    out.reserve(4096);
    AppendVoucherHead(out, voucher.head);
    for (const VoucherEntry& entry : voucher.entries) {
        if (const auto* ledger = std::get_if<LedgerEntry>(&entry))
            AppendLedgerEntry(out, *ledger);
        else
            AppendInventoryLine(out, voucher.head.kind, std::get<InventoryLine>(entry));
    }
    out += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
    return out;
}

}  // namespace zentrail
