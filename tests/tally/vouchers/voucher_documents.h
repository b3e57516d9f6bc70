#pragma once

// One document's data and, for every screen, its voucher as the screen makes it: values
// through WriteVoucher.

#include <string>
#include <utility>
#include <vector>

namespace zentrail::voucher_documents {

struct StockLine {
    std::string item, unit, godown, batch, ledger, nature;
    double quantity = 0, rate = 0, gross = 0, discount = 0, taxable = 0;
};

struct Document {
    std::string type, date, party, number, reference, referenceDate, remarks, buyer;
    std::string state, gstin, add1, add2, add3;
    std::string bill, bank, chequeNumber, chequeDate, reason, roundOffLedger;
    bool cancel = false;
    double partyAmount = 0, service = 0, igst = 0, roundOff = 0;
    std::vector<StockLine> lines;
    std::vector<std::pair<std::string, double>> discounts, taxes;
};

// The screen's voucher of a document, closing tags included.
struct Screen {
    const char* name;
    std::string (*values)(const Document&);
    bool datedByReader;  // the date must be a date: purchase and receipt heads
};

const std::vector<Screen>& Screens();

}  // namespace zentrail::voucher_documents
