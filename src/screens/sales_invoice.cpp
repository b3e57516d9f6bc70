#include "screens/sales_invoice.h"

#include "screens/bound_columns.h"
#include "screens/field_number.h"
#include "screens/gst_bands.h"
#include "tally/number_text.h"

namespace zentrail {

namespace {

double Round2(double value) { return RoundHalfEven(value, 2); }

}  // namespace

SalesLine ReadSalesLine(const LineRow& row) {
    using C = SalesLineColumn;
    auto amount = [&row](C column) { return Round2(row.Number(column)); };
    SalesLine line;
    line.itemName = row.Text(C::PrdCCode) + "_" + row.Text(C::PrdId);
    line.quantity = row.Number(C::BaseQty);
    line.rate = amount(C::PrdUnitSelRate);
    line.taxPercent = row.Number(C::TaxPerc);
    line.amounts.gross = amount(C::PrdGrossAmount);
    line.amounts.scheme = amount(C::PrdSchDiscAmount);
    line.amounts.special = amount(C::PrdSplDiscAmount);
    line.amounts.cash = amount(C::PrdCDAmount);
    line.amounts.db = amount(C::PrdDBDiscAmount);
    line.amounts.tax = {amount(C::CgstAmt), amount(C::SgstAmt), amount(C::IgstAmt),
                        amount(C::UtgstAmt)};
    line.taxable = {row.Number(C::CgstTaxable), row.Number(C::SgstTaxable),
                    row.Number(C::IgstTaxable), row.Number(C::UtgstTaxable)};
    return line;
}

LinePosting PostSalesLine(const SalesLine& line, DocumentTotals& totals) {
    LinePosting posting;
    posting.taxType = "Sales Taxable";
    const TaxAmounts& tax = line.amounts.tax;
    if (tax.cgst > 0) {
        posting.taxable = line.taxable.cgst;
    } else if (tax.sgst > 0) {
        posting.taxable = line.taxable.sgst;
    } else if (tax.igst > 0) {
        posting.taxType = "Interstate Sales Taxable";
        posting.taxable = line.taxable.igst;
    } else if (tax.utgst > 0) {
        posting.taxable = line.taxable.utgst;
    }
    posting.taxable = Round2(posting.taxable);
    int band = RateBand(line.taxPercent);
    posting.salesLedger = SalesBandLedgers(band).sales;
    if (band == 0) posting.taxType = "Sales Nil Rated";
    totals.AddLine(line.amounts, band);
    return posting;
}

}  // namespace zentrail
