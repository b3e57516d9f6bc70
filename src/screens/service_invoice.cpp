#include "screens/service_invoice.h"

#include <cmath>
#include <utility>

#include "tally/number_text.h"
#include "tally/vouchers/tally_purch_trn.h"
#include "tally/vouchers/tally_sale_trn.h"

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

std::string ServiceSalesVoucher(TallySaleTrn& sale, ServiceInvoice invoice) {
    const ServiceAmounts& a = invoice.amounts;
    std::string voucherType = ServiceVoucherType(ServiceKind::Sales), refNo = invoice.number,
                remarks, buyerName, add4 = invoice.state, add5;
    std::string text = sale.strSale_Head(
        voucherType, invoice.date, invoice.party, invoice.number, refNo, remarks, buyerName, "",
        false, invoice.state, invoice.gstin, invoice.add1, invoice.add2, invoice.add3, add4, add5);
    text += sale.strSale_Party_All(invoice.party, invoice.number, a.total);
    std::string ledger = ServiceLedger(ServiceKind::Sales);
    text += sale.strSale_Cr_All(ledger, a.service, invoice.gstin, a.igst);
    for (int i = 0; i < 4; ++i) {
        auto [name, amount] = TaxLedger(a, i);
        std::string tax = name;
        text += sale.strSale_Cr_All(tax, amount, "", 0);
    }
    std::string roundOff = kRoundOff;
    text += sale.strSale_Cr_Sch_All(roundOff, a.roundOff);
    text += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
    return text;
}

std::string ServicePurchaseVoucher(TallyPurchTrn& purchase, ServiceInvoice invoice) {
    const ServiceAmounts& a = invoice.amounts;
    std::string voucherType = ServiceVoucherType(ServiceKind::Purchase), refNo = invoice.number,
                remarks, supplierInvoiceDate;
    std::string text = purchase.strPurchase_Head(
        voucherType, invoice.date, invoice.party, invoice.number, refNo, remarks,
        supplierInvoiceDate, "", "", "", invoice.state, invoice.gstin);
    text += purchase.strPurchase_Party_All(invoice.party, invoice.number, a.total);
    std::string ledger = ServiceLedger(ServiceKind::Purchase);
    text += purchase.strPurchase_Dr_All(ledger, a.service, invoice.gstin, a.igst);
    for (int i = 0; i < 4; ++i) {
        auto [name, amount] = TaxLedger(a, i);
        std::string tax = name;
        text += purchase.strPurchase_Dr_All(tax, amount, "", 0);
    }
    std::string roundOff = kRoundOff;
    if (a.roundOff >= 0)
        text += purchase.strPurchase_Dr_All(roundOff, std::fabs(a.roundOff), "", 0);
    else
        text += purchase.strPurchase_Cr_All(roundOff, std::fabs(a.roundOff));
    text += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
    return text;
}

}  // namespace zentrail
