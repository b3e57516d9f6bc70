#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace zentrail {

struct TaxAmounts {
    double cgst = 0, sgst = 0, igst = 0, utgst = 0;
    double Sum() const { return cgst + sgst + igst + utgst; }
};

// The amounts of one stock line that count into its document's totals.
struct LineAmounts {
    double gross = 0, scheme = 0, special = 0, cash = 0, db = 0;
    TaxAmounts tax;
};

// How a document's running totals are kept: sales invoices round every total to two decimals
// after each addition; returns add the (already rounded) line amounts as they are. The sixteen
// tax-ledger totals are rounded after each addition either way.
enum class TotalRounding { EveryAddition, None };

// Running totals of one document: gross, discounts, the four taxes and one total per tax ledger
// of the rate bands.
class DocumentTotals {
public:
    explicit DocumentTotals(TotalRounding rounding) : rounding_(rounding) {}

    // Adds a line whose tax percentage fell in `band` (0: no tax ledger takes its tax).
    void AddLine(const LineAmounts& line, int band);

    const LineAmounts& Sum() const { return sum_; }
    // Gross less the discounts and `otherDeductions`, plus the taxes, rounded to two decimals.
    double Net(double otherDeductions = 0) const;
    // The sixteen tax ledgers with their totals, in voucher order: the 5, 12, 18 and 28 per cent
    // bands, each as CGST, SGST, IGST, UTGST ("CGST 2.5%", "SGST 2.5%", "IGST 5%", ...).
    std::vector<std::pair<std::string, double>> TaxLedgers() const;

private:
    void Add(double& total, double amount) const;

    TotalRounding rounding_;
    LineAmounts sum_;
    std::array<TaxAmounts, 4> byBand_{};  // 5, 12, 18, 28
};

// A document's net settled to a whole amount: the payable and the round-off that makes it up.
struct Payable {
    double amount = 0;    // the net rounded to a whole number, exact halves to even
    double roundOff = 0;  // amount less net, rounded to two decimals, with its sign
};
Payable SettleToWhole(double net);

}  // namespace zentrail
