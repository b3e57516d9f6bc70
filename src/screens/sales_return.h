#pragma once

#include <string>

#include "screens/document_totals.h"

namespace zentrail {

class LineRow;

// The columns of the return-line query the returns are built from.
enum class ReturnLineColumn {
    ReturnId,
    PrdCCode,
    PrdId,
    BaseQty,
    PrdUnitSelRte,
    TaxPerc,
    PrdGrossAmt,
    PrdSchDisAmt,
    PrdSplDisAmt,
    PrdCdDisAmt,
    CgstAmt,
    SgstAmt,
    IgstAmt,
    UtgstAmt,
};
inline constexpr const char* kReturnLineColumns[] = {
    "ReturnID", "PrdCCode",    "PrdId",        "BaseQty",      "PrdUnitSelRte",
    "TAXPERC",  "PrdGrossAmt", "PrdSchDisAmt", "PrdSplDisAmt", "PrdCDDisAmt",
    "CGST_AMT", "SGST_AMT",    "IGST_AMT",     "UTGST_AMT"};

// One stock line of a sales return as the line query gives it, amounts rounded to two decimals.
struct ReturnLine {
    std::string itemName;  // PrdCCode "_" PrdId
    double quantity = 0;
    double rate = 0;
    double taxPercent = 0;  // one component's percentage: 9 for CGST 9 + SGST 9
    LineAmounts amounts;    // db stays 0: returns carry no distributor discount
};

// Reads a row of the line query. Throws NotANumber for a number field whose text is not a
// number.
ReturnLine ReadReturnLine(const LineRow& row);

// A return without a sales invoice credits the price the customer paid: the line's taxes are
// folded into its gross and its rate is taken from that gross. A line of quantity 0 has no
// such rate; it keeps its tax-inclusive gross with rate 0, and the result says so.
enum class InclusiveRate { Computed, QuantityZero };
InclusiveRate MakeTaxInclusive(ReturnLine& line);

// Where a line is posted: its sales ledger, GST nature and taxable value (gross less
// discounts).
struct ReturnPosting {
    std::string salesLedger;
    std::string taxType;
    double taxable = 0;
};

// Adds the line to the return's totals (its taxes to its band's ledgers) and says where it is
// posted. The first tax above zero, in the order CGST, SGST, IGST, UTGST, picks the nature; a
// line without tax is "Sales Nil Rated".
ReturnPosting PostReturnLine(const ReturnLine& line, DocumentTotals& totals);

}  // namespace zentrail
