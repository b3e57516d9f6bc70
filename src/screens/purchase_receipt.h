#pragma once

#include <string>
#include <utility>
#include <vector>

#include "screens/document_totals.h"

namespace zentrail {

class LineRow;

// The columns of the receipt-line query the receipts are built from.
enum class PurchaseLineColumn {
    PurRcptId,
    PrdCCode,
    PrdId,
    InvBaseQty,
    PrdUnitLsp,
    PrdGrossAmount,
    PrdDiscount,
    TaxPerc,
    CgstAmt,
    SgstAmt,
    IgstAmt,
    UtgstAmt,
    CgstTaxable,
    SgstTaxable,
    IgstTaxable,
    UtgstTaxable,
};
inline constexpr const char* kPurchaseLineColumns[] = {
    "PurRcptId",    "PrdCCode",     "PrdId",        "InvBaseQty",   "PrdUnitLSP", "PrdGrossAmount",
    "PrdDiscount",  "TAXPERC",      "CGST_AMT",     "SGST_AMT",     "IGST_AMT",   "UTGST_AMT",
    "CGST_TAXABLE", "SGST_TAXABLE", "IGST_TAXABLE", "UTGST_TAXABLE"};

// One stock line of a purchase receipt as the line query gives it, amounts rounded to two
// decimals.
struct PurchaseLine {
    std::string itemName;  // PrdCCode "_" PrdId
    double quantity = 0;
    double rate = 0;
    double gross = 0;
    double discount = 0;
    double taxPercent = 0;
    TaxAmounts tax;
    TaxAmounts taxable;  // CGST_TAXABLE ... UTGST_TAXABLE as read
};

// Reads a row of the line query. Throws NotANumber for a number field whose text is not a
// number.
PurchaseLine ReadPurchaseLine(const LineRow& row);

// GST nature of a purchase line: the first tax above zero decides ("Interstate Purchase
// Taxable" for integrated tax); an untaxed line is nil rated, within the state when it has a
// central or state taxable amount.
std::string PurchaseNature(const PurchaseLine& line);

// Where a line is posted: its purchase ledger and the rate band whose tax ledgers take its tax
// (0: none).
struct PurchasePosting {
    std::string purchaseLedger;
    int band = 0;
};
PurchasePosting PostingOf(const PurchaseLine& line);

// Running totals of one receipt: the gross, the scheme discount and the sixteen tax ledgers
// (both rounded to two decimals after every addition). Only the taxes of a line in a band
// reach the net.
class PurchaseTotals {
public:
    void AddLine(const PurchaseLine& line, int band);

    double Gross() const { return totals_.Sum().gross; }
    double SchemeDiscount() const { return scheme_; }
    // Gross less the discounts plus the sixteen tax totals, rounded to two decimals.
    double Net() const;
    std::vector<std::pair<std::string, double>> TaxLedgers() const { return totals_.TaxLedgers(); }

private:
    DocumentTotals totals_{TotalRounding::None};
    double scheme_ = 0;
};

}  // namespace zentrail
