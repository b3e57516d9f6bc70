#include "screens/sales_return.h"

#include "screens/bound_columns.h"
#include "screens/field_number.h"
#include "screens/gst_bands.h"
#include "tally/number_text.h"

namespace zentrail {

namespace {

double Round2(double value) { return RoundHalfEven(value, 2); }

}  // namespace

ReturnLine ReadReturnLine(const LineRow& row) {
    using C = ReturnLineColumn;
    auto amount = [&row](C column) { return Round2(row.Number(column)); };
    ReturnLine line;
    line.itemName = row.Text(C::PrdCCode) + "_" + row.Text(C::PrdId);
    line.quantity = row.Number(C::BaseQty);
    line.rate = amount(C::PrdUnitSelRte);
    line.taxPercent = row.Number(C::TaxPerc);
    line.amounts.gross = amount(C::PrdGrossAmt);
    line.amounts.scheme = amount(C::PrdSchDisAmt);
    line.amounts.special = amount(C::PrdSplDisAmt);
    line.amounts.cash = amount(C::PrdCdDisAmt);
    line.amounts.tax = {amount(C::CgstAmt), amount(C::SgstAmt), amount(C::IgstAmt),
                        amount(C::UtgstAmt)};
    return line;
}

InclusiveRate MakeTaxInclusive(ReturnLine& line) {
    TaxAmounts& tax = line.amounts.tax;
    double gross = line.amounts.gross + tax.cgst + tax.sgst + tax.igst + tax.utgst;
    tax = TaxAmounts{};
    if (line.quantity == 0) {
        line.rate = 0;
        line.amounts.gross = Round2(gross);
        return InclusiveRate::QuantityZero;
    }
    line.rate = Round2(gross / line.quantity);
    line.amounts.gross = Round2(line.quantity * line.rate);
    return InclusiveRate::Computed;
}

ReturnPosting PostReturnLine(const ReturnLine& line, DocumentTotals& totals) {
    const LineAmounts& amounts = line.amounts;
    const TaxAmounts& tax = amounts.tax;
    ReturnPosting posting;
    if (tax.cgst > 0 || tax.sgst > 0)
        posting.taxType = "Sales Taxable";
    else if (tax.igst > 0)
        posting.taxType = "Interstate Sales Taxable";
    else if (tax.utgst > 0)
        posting.taxType = "Sales Taxable";
    else
        posting.taxType = "Sales Nil Rated";
    int band = RateBand(line.taxPercent);
    posting.salesLedger = SalesBandLedgers(band).sales;
    posting.taxable = amounts.gross - (amounts.special + amounts.scheme + amounts.cash);
    totals.AddLine(amounts, band);
    return posting;
}

}  // namespace zentrail
