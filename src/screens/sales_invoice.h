#pragma once

#include <string>

#include "screens/document_totals.h"

namespace zentrail {

class LineRow;

// The columns of the invoice-line query the invoices are built from.
enum class SalesLineColumn {
    SalId,
    PrdCCode,
    PrdId,
    BaseQty,
    PrdUnitSelRate,
    TaxPerc,
    PrdGrossAmount,
    PrdSchDiscAmount,
    PrdSplDiscAmount,
    PrdCDAmount,
    PrdDBDiscAmount,
    CgstAmt,
    SgstAmt,
    IgstAmt,
    UtgstAmt,
    CgstTaxable,
    SgstTaxable,
    IgstTaxable,
    UtgstTaxable,
};
inline constexpr const char* kSalesLineColumns[] = {
    "SALID",          "PrdCCode",         "PrdId",
    "BaseQty",        "PrdUnitSelRate",   "TAXPERC",
    "PrdGrossAmount", "PrdSchDiscAmount", "PrdSplDiscAmount",
    "PrdCDAmount",    "PrdDBDiscAmount",  "CGST_AMT",
    "SGST_AMT",       "IGST_AMT",         "UTGST_AMT",
    "CGST_TAXABLE",   "SGST_TAXABLE",     "IGST_TAXABLE",
    "UTGST_TAXABLE"};

// One stock line of a sales invoice as the line query gives it, amounts rounded to two
// decimals.
struct SalesLine {
    std::string itemName;  // PrdCCode "_" PrdId
    double quantity = 0;
    double rate = 0;
    double taxPercent = 0;
    LineAmounts amounts;
    TaxAmounts taxable;  // CGST_TAXABLE ... UTGST_TAXABLE as read
};

// Reads a row of the line query. Throws NotANumber for a number field whose text is not a
// number.
SalesLine ReadSalesLine(const LineRow& row);

// Where a line is posted: its sales ledger, tax type and taxable value.
struct LinePosting {
    std::string salesLedger;
    std::string taxType;
    double taxable = 0;
};

// Adds the line to the invoice's totals (its taxes to its band's ledgers) and says where it is
// posted. The first tax above zero, in the order CGST, SGST, IGST, UTGST, picks the tax type
// and the taxable value; a percentage outside the bands is "Sales Nil Rated".
LinePosting PostSalesLine(const SalesLine& line, DocumentTotals& totals);

}  // namespace zentrail
