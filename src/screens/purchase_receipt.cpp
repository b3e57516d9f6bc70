#include "screens/purchase_receipt.h"

#include "screens/field_number.h"
#include "screens/gst_bands.h"
#include "shell/recordset.h"
#include "tally/number_text.h"

namespace zentrail {

namespace {

double Round2(double value) { return RoundHalfEven(value, 2); }

}  // namespace

PurchaseLine ReadPurchaseLine(Recordset& rs) {
    auto amount = [&rs](const char* field) { return Round2(NumberField(rs, field)); };
    PurchaseLine line;
    line.itemName = rs.Fields("PrdCCode").Value() + "_" + rs.Fields("PrdId").Value();
    line.quantity = NumberField(rs, "InvBaseQty");
    line.rate = amount("PrdUnitLSP");
    line.gross = amount("PrdGrossAmount");
    line.discount = amount("PrdDiscount");
    line.taxPercent = NumberField(rs, "TAXPERC");
    line.tax = {amount("CGST_AMT"), amount("SGST_AMT"), amount("IGST_AMT"), amount("UTGST_AMT")};
    line.taxable = {NumberField(rs, "CGST_TAXABLE"), NumberField(rs, "SGST_TAXABLE"),
                    NumberField(rs, "IGST_TAXABLE"), NumberField(rs, "UTGST_TAXABLE")};
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
