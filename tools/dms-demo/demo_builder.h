#pragma once

#include <cstdint>
#include <vector>

#include "demo_calendar.h"
#include "demo_catalog.h"
#include "demo_db.h"
#include "demo_random.h"
#include "dms_demo.h"

namespace zentrail::dms_demo {

// What later documents need to know of a sales invoice.
struct InvoiceRecord {
    int salId = 0;
    int retailerIndex = 0;
    DemoDateTime date;
    int dlvSts = 0;
    Paise net = 0;  // SalNetAmt
    Paise creditAdjusted = 0;
    Paise settled = 0;  // by receipts
    uint32_t firstLine = 0;
    uint32_t lineCount = 0;

    Paise Outstanding() const { return net - creditAdjusted - settled; }
};

struct InvoiceLineRecord {
    int productIndex;
    int qty;
};

// Writes the demo database: masters first, then each document kind. Each kind draws from its
// own random stream, so that its documents do not change when another kind's count does.
class DemoBuilder {
public:
    DemoBuilder(DemoDb& db, const DemoOptions& options);

    DemoSummary Build();

private:
    void WriteMasters();
    void WriteSalesInvoices();
    void WriteCreditNotes();
    void WriteSalesReturns();
    void WriteReceipts();
    void WritePurchaseReceipts();
    void WriteInterDepotTransfers();
    void WriteServiceInvoices();

    // A document kind's count: `base` up to the default number of invoices, in proportion above.
    int Scaled(int base) const;
    DemoRandom Stream(uint64_t kind) const;
    DemoDateTime RandomMoment(DemoRandom& random) const;
    // A delivered invoice dated inside the range, or nullptr when there is none.
    InvoiceRecord* RandomDeliveredInvoice(DemoRandom& random);

    DemoDb& db_;
    DemoOptions options_;
    DemoSummary summary_;
    std::vector<PartyInfo> retailers_;
    std::vector<PartyInfo> suppliers_;
    std::vector<InvoiceRecord> invoices_;
    std::vector<InvoiceLineRecord> invoiceLines_;
    std::vector<size_t> deliveredInRange_;                  // indices into invoices_
    std::vector<std::vector<size_t>> deliveredByRetailer_;  // the same, per retailer index
};

// The documents of one kind, numbered in date order: "SIN0000001" and so on.
std::string DocumentNumber(const char* prefix, long number);

// Indices of the products that may appear on ordinary lines (those with an HSN code).
const std::vector<int>& StockedProducts();
int ProductIndexWithoutHsn();

}  // namespace zentrail::dms_demo
