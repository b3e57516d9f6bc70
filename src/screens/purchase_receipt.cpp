#include "screens/purchase_receipt.h"

#include "screens/bound_columns.h"
#include "screens/field_number.h"
#include "screens/gst_bands.h"
#include "tally/number_text.h"

namespace zentrail {

namespace {

double Round2(double value) { return RoundHalfEven(value, 2); }

}  // namespace

PurchaseLine ReadPurchaseLine(const LineRow& row) {
    using C = PurchaseLineColumn;
    auto amount = [&row](C column) { return Round2(row.Number(column)); };
    PurchaseLine line;
    line.itemName = row.Text(C::PrdCCode) + "_" + row.Text(C::PrdId);
    line.quantity = row.Number(C::InvBaseQty);
    line.rate = amount(C::PrdUnitLsp);
    line.gross = amount(C::PrdGrossAmount);
    line.discount = amount(C::PrdDiscount);
    line.taxPercent = row.Number(C::TaxPerc);
    line.tax = {amount(C::CgstAmt), amount(C::SgstAmt), amount(C::IgstAmt), amount(C::UtgstAmt)};
    line.taxable = {row.Number(C::CgstTaxable), row.Number(C::SgstTaxable),
                    row.Number(C::IgstTaxable), row.Number(C::UtgstTaxable)};
    return line;
}

std::string PurchaseNature(const PurchaseLine& line) {
    const TaxAmounts& tax = line.tax;
    if (tax.cgst > 0 || tax.sgst > 0) return "Purchase Taxable";
    if (tax.igst > 0) return "Interstate Purchase Taxable";
    if (tax.utgst > 0) return "Purchase Taxable";
    if (line.taxable.cgst > 0 || line.taxable.sgst > 0) return "Purchase Nil Rated";
    return "Interstate Purchase Nil Rated";
}

PurchasePosting PostingOf(const PurchaseLine& line) {
    int band = RateBand(line.taxPercent);
    return PurchasePosting{PurchaseBandLedger(band), band};
}

void PurchaseTotals::AddLine(const PurchaseLine& line, int band) {
    LineAmounts amounts;
    amounts.gross = line.gross;
    amounts.tax = line.tax;
    totals_.AddLine(amounts, band);
    scheme_ = Round2(scheme_ + line.discount);
}

double PurchaseTotals::Net() const {
    double net = totals_.Sum().gross - scheme_;
    for (const auto& [ledger, amount] : totals_.TaxLedgers()) net += amount;
    return Round2(net);
}

}  // namespace zentrail
