#include "screens/service_invoice.h"

#include <cmath>
#include <utility>
#include <vector>

#include "tally/number_text.h"
#include "tally/vouchers/voucher_entries.h"

namespace zentrail {

namespace {

constexpr const char* kRoundOff = "Round Off";

// The four tax ledgers of the service vouchers with their amounts, in voucher order.
std::pair<const char*, double> TaxLedger(const ServiceAmounts& amounts, int index) {
    switch (index) {
        case 0:
            return {"CGST 9%", amounts.cgst};
        case 1:
            return {"SGST 9%", amounts.sgst};
        case 2:
            return {"IGST 18%", amounts.igst};
        default:
            return {"UTGST 9%", amounts.utgst};
    }
}

}  // namespace

ServiceAmounts WorkServiceAmounts(double service, double cgst, double sgst, double igst,
                                  double utgst) {
    ServiceAmounts a;
    a.service = RoundHalfEven(service, 2);
    a.cgst = RoundHalfEven(cgst, 2);
    a.sgst = RoundHalfEven(sgst, 2);
    a.igst = RoundHalfEven(igst, 2);
    a.utgst = RoundHalfEven(utgst, 0);
    a.sum = RoundHalfEven(a.service + a.cgst + a.sgst + a.igst + a.utgst, 2);
    a.total = RoundHalfEven(a.sum, 0);
    a.roundOff = RoundHalfEven(a.total - a.sum, 2);
    return a;
}

const char* ServiceVoucherType(ServiceKind kind) {
    return kind == ServiceKind::Purchase ? "KVZ Service Purchase" : "KVZ Service Sales";
}

const char* ServiceLedger(ServiceKind kind) {
    return kind == ServiceKind::Purchase ? "Visibility Claim Purchase" : "Visibility Claim Sales";
}

Voucher ServiceSalesVoucher(const ServiceInvoice& invoice) {
    const ServiceAmounts& a = invoice.amounts;
    Voucher voucher{
        .head = {.kind = VoucherKind::Sales,
                 .type = ServiceVoucherType(ServiceKind::Sales),
                 .date = invoice.date,
                 .party = invoice.party,
                 .number = invoice.number,
                 .reference = invoice.number,
                 .address = {invoice.add1, invoice.add2, invoice.add3, invoice.state, ""},
                 .state = invoice.state,
                 .gstin = invoice.gstin}};
    std::vector<VoucherEntry>& entries = voucher.entries;
    entries.push_back(
        SalesPartyEntry(EntryList::AllLedger, invoice.party, invoice.number, a.total));
    entries.push_back(SalesLedgerEntry(EntryList::AllLedger, ServiceLedger(ServiceKind::Sales),
                                       a.service, false,
                                       SalesServiceNature(invoice.gstin, a.igst)));
    for (int i = 0; i < 4; ++i) {
        auto [name, amount] = TaxLedger(a, i);
        entries.push_back(SalesLedgerEntry(EntryList::AllLedger, name, amount, false));
    }
    entries.push_back(SalesLedgerEntry(EntryList::AllLedger, kRoundOff, a.roundOff, false));
    return voucher;
}

Voucher ServicePurchaseVoucher(const ServiceInvoice& invoice) {
    const ServiceAmounts& a = invoice.amounts;
    Voucher voucher{.head = {.kind = VoucherKind::Purchase,
                             .type = ServiceVoucherType(ServiceKind::Purchase),
                             .date = invoice.date,
                             .party = invoice.party,
                             .number = invoice.number,
                             .reference = invoice.number,
                             .state = invoice.state,
                             .gstin = invoice.gstin}};
    std::vector<VoucherEntry>& entries = voucher.entries;
    entries.push_back(
        CreditedPartyEntry(EntryList::AllLedger, invoice.party, invoice.number, a.total));
    entries.push_back(PurchaseServiceDebitEntry(ServiceLedger(ServiceKind::Purchase), a.service,
                                                PurchaseServiceNature(invoice.gstin, a.igst)));
    for (int i = 0; i < 4; ++i) {
        auto [name, amount] = TaxLedger(a, i);
        entries.push_back(PurchaseServiceDebitEntry(name, amount, ""));
    }
    if (a.roundOff >= 0)
        entries.push_back(PurchaseServiceDebitEntry(kRoundOff, std::fabs(a.roundOff), ""));
    else
        entries.push_back(
            PurchaseCreditEntry(EntryList::AllLedger, kRoundOff, std::fabs(a.roundOff)));
    return voucher;
}

}  // namespace zentrail
