#include "screens/document_totals.h"

#include "screens/gst_bands.h"
#include "tally/number_text.h"

namespace zentrail {

namespace {

constexpr std::array<int, 4> kBands = {5, 12, 18, 28};

double Round2(double value) { return RoundHalfEven(value, 2); }

int BandIndex(int band) {
    for (size_t i = 0; i < kBands.size(); ++i)
        if (kBands[i] == band) return static_cast<int>(i);
    return -1;
}

}  // namespace

void DocumentTotals::Add(double& total, double amount) const {
    total = rounding_ == TotalRounding::EveryAddition ? Round2(total + amount) : total + amount;
}

void DocumentTotals::AddLine(const LineAmounts& line, int band) {
    Add(sum_.gross, line.gross);
    Add(sum_.scheme, line.scheme);
    Add(sum_.special, line.special);
    Add(sum_.cash, line.cash);
    Add(sum_.db, line.db);
    Add(sum_.tax.cgst, line.tax.cgst);
    Add(sum_.tax.sgst, line.tax.sgst);
    Add(sum_.tax.igst, line.tax.igst);
    Add(sum_.tax.utgst, line.tax.utgst);
    int index = BandIndex(band);
    if (index < 0) return;
    TaxAmounts& ledgers = byBand_[static_cast<size_t>(index)];
    ledgers.cgst = Round2(ledgers.cgst + line.tax.cgst);
    ledgers.sgst = Round2(ledgers.sgst + line.tax.sgst);
    ledgers.igst = Round2(ledgers.igst + line.tax.igst);
    ledgers.utgst = Round2(ledgers.utgst + line.tax.utgst);
}

double DocumentTotals::Net(double otherDeductions) const {
    return Round2(sum_.gross - sum_.scheme - sum_.special - sum_.cash - sum_.db - otherDeductions +
                  sum_.tax.cgst + sum_.tax.sgst + sum_.tax.igst + sum_.tax.utgst);
}

std::vector<std::pair<std::string, double>> DocumentTotals::TaxLedgers() const {
    std::vector<std::pair<std::string, double>> ledgers;
    ledgers.reserve(16);
    for (size_t i = 0; i < kBands.size(); ++i) {
        BandLedgers names = SalesBandLedgers(kBands[i]);
        const TaxAmounts& amounts = byBand_[i];
        ledgers.emplace_back(names.cgst, amounts.cgst);
        ledgers.emplace_back(names.sgst, amounts.sgst);
        ledgers.emplace_back(names.igst, amounts.igst);
        ledgers.emplace_back(names.utgst, amounts.utgst);
    }
    return ledgers;
}

Payable SettleToWhole(double net) {
    Payable payable;
    payable.amount = RoundHalfEven(net, 0);
    payable.roundOff = Round2(payable.amount - net);
    return payable;
}

}  // namespace zentrail
