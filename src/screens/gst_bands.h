#pragma once

#include <string>

namespace zentrail {

// The GST rate bands of the source's tax percentages. One table, two readings:
// - a voucher line's band (5, 12, 18, 28; 0 for a percentage outside the table), which picks
//   its sales or purchase ledger and the tax ledgers it adds to;
// - an item master's central (and state) rate: half the band, or the percentage itself when it
//   lies outside the table (a 3 % product is rated 3, not 0).
// The comparison is exact on the number.
int RateBand(double taxPercent);
double ItemCentralRate(double taxPercent);

// Ledger names of a band, e.g. "GST Sales 18%", "CGST 9%", "IGST 18%"; band 0 has only its
// sales ledger "GST Sales 0%" and no tax ledgers.
struct BandLedgers {
    std::string sales;
    std::string cgst;
    std::string sgst;
    std::string igst;
    std::string utgst;
};
BandLedgers SalesBandLedgers(int band);
// The purchase ledger of a band, e.g. "GST Purchase 18%"; "GST Purchase 0%" for band 0. The
// tax ledgers of a band are those of SalesBandLedgers.
std::string PurchaseBandLedger(int band);

}  // namespace zentrail
