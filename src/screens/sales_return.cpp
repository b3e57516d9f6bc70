#include "screens/sales_return.h"

#include "screens/field_number.h"
#include "screens/gst_bands.h"
#include "shell/recordset.h"
#include "tally/number_text.h"

namespace zentrail {

namespace {

double Round2(double value) { return RoundHalfEven(value, 2); }

}  // namespace

ReturnLine ReadReturnLine(Recordset& rs) {
    auto amount = [&rs](const char* field) { return Round2(NumberField(rs, field)); };
    ReturnLine line;
    line.itemName = rs.Fields("PrdCCode").Value() + "_" + rs.Fields("PrdId").Value();
    line.quantity = NumberField(rs, "BaseQty");
    line.rate = amount("PrdUnitSelRte");
    line.taxPercent = NumberField(rs, "TAXPERC");
    line.amounts.gross = amount("PrdGrossAmt");
    line.amounts.scheme = amount("PrdSchDisAmt");
    line.amounts.special = amount("PrdSplDisAmt");
    line.amounts.cash = amount("PrdCDDisAmt");
    line.amounts.tax = {amount("CGST_AMT"), amount("SGST_AMT"), amount("IGST_AMT"),
                        amount("UTGST_AMT")};
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
