#include "screens/sales_invoice.h"

#include "screens/field_number.h"
#include "screens/gst_bands.h"
#include "shell/recordset.h"
#include "tally/number_text.h"

namespace zentrail {

namespace {

double Round2(double value) { return RoundHalfEven(value, 2); }

}  // namespace

SalesLine ReadSalesLine(Recordset& rs) {
    auto amount = [&rs](const char* field) { return Round2(NumberField(rs, field)); };
    SalesLine line;
    line.itemName = rs.Fields("PrdCCode").Value() + "_" + rs.Fields("PrdId").Value();
    line.quantity = NumberField(rs, "BaseQty");
    line.rate = amount("PrdUnitSelRate");
    line.taxPercent = NumberField(rs, "TAXPERC");
    line.amounts.gross = amount("PrdGrossAmount");
    line.amounts.scheme = amount("PrdSchDiscAmount");
    line.amounts.special = amount("PrdSplDiscAmount");
    line.amounts.cash = amount("PrdCDAmount");
    line.amounts.db = amount("PrdDBDiscAmount");
    line.amounts.tax = {amount("CGST_AMT"), amount("SGST_AMT"), amount("IGST_AMT"),
                        amount("UTGST_AMT")};
    line.taxable = {NumberField(rs, "CGST_TAXABLE"), NumberField(rs, "SGST_TAXABLE"),
                    NumberField(rs, "IGST_TAXABLE"), NumberField(rs, "UTGST_TAXABLE")};
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
