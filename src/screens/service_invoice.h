#pragma once

#include <string>

#include "tally/vouchers/voucher.h"

namespace zentrail {

// The amounts of a service invoice as its voucher carries them: the service and the central,
// state and integrated taxes to two decimals, the union territory tax to whole units; their sum
// settled to a whole invoice total with the round-off that makes it up.
struct ServiceAmounts {
    double service = 0;
    double cgst = 0, sgst = 0, igst = 0, utgst = 0;
    double sum = 0;       // the five, to two decimals
    double total = 0;     // the sum to whole units, exact halves to even
    double roundOff = 0;  // total less sum, to two decimals, with its sign
};
ServiceAmounts WorkServiceAmounts(double service, double cgst, double sgst, double igst,
                                  double utgst);

// Which side of the service a listed invoice is: bought from a retailer or sold to a supplier.
enum class ServiceKind { Purchase, Sales };

// One listed service invoice, ready for its voucher.
struct ServiceInvoice {
    ServiceKind kind = ServiceKind::Sales;
    std::string number;  // voucher number and reference
    std::string date;    // as the listing shows it
    std::string party;   // ledger name
    std::string add1, add2, add3;
    std::string gstin;
    std::string state;  // corrected
    ServiceAmounts amounts;
};

// Fixed names of the service vouchers.
const char* ServiceVoucherType(ServiceKind kind);  // "KVZ Service Purchase" / "KVZ Service Sales"
const char* ServiceLedger(ServiceKind kind);       // "Visibility Claim Purchase" / "... Sales"

// The voucher of an invoice: a sales voucher for a service sold, a purchase voucher for one
// bought; the round-off is a credit in either kind when negative.
Voucher ServiceSalesVoucher(const ServiceInvoice& invoice);
Voucher ServicePurchaseVoucher(const ServiceInvoice& invoice);

}  // namespace zentrail
