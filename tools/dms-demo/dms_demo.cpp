#include "dms_demo.h"

#include <algorithm>
#include <cstdio>

#include "demo_builder.h"

namespace zentrail::dms_demo {

std::string DocumentNumber(const char* prefix, long number) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%07ld", prefix, number);
    return text;
}

const std::vector<int>& StockedProducts() {
    static const std::vector<int> stocked = [] {
        std::vector<int> indices;
        for (size_t i = 0; i < Products().size(); ++i)
            if (Products()[i].hsn) indices.push_back(static_cast<int>(i));
        return indices;
    }();
    return stocked;
}

int ProductIndexWithoutHsn() {
    for (size_t i = 0; i < Products().size(); ++i)
        if (!Products()[i].hsn) return static_cast<int>(i);
    return 0;
}

DemoBuilder::DemoBuilder(DemoDb& db, const DemoOptions& options) : db_(db), options_(options) {}

int DemoBuilder::Scaled(int base) const {
    // Never below the base, so that the default demo and every smaller one keep their rows.
    return static_cast<int>(std::max<long>(base, base * options_.invoices / kDefaultInvoices));
}

DemoRandom DemoBuilder::Stream(uint64_t kind) const {
    return DemoRandom(options_.seed * 0x100000001b3ULL + kind);
}

DemoDateTime DemoBuilder::RandomMoment(DemoRandom& random) const {
    const std::chrono::sys_days first{kFirstDay};
    const int days = static_cast<int>((std::chrono::sys_days{kLastDay} - first).count());
    return {first + std::chrono::days{random.Between(0, days)},
            static_cast<int>(random.Between(9 * 3600, 21 * 3600 - 1))};
}

InvoiceRecord* DemoBuilder::RandomDeliveredInvoice(DemoRandom& random) {
    if (deliveredInRange_.empty()) return nullptr;
    return &invoices_[random.Pick(deliveredInRange_)];
}

DemoSummary DemoBuilder::Build() {
    db_.Exec(std::string(SchemaSql()));
    db_.Exec("BEGIN");
    WriteMasters();
    WriteSalesInvoices();
    WriteCreditNotes();
    WriteSalesReturns();
    WriteReceipts();
    WritePurchaseReceipts();
    WriteInterDepotTransfers();
    WriteServiceInvoices();
    db_.Exec("COMMIT");
    return summary_;
}

DemoSummary GenerateDemoDatabase(const DemoOptions& options) {
    DemoDb db(options.outPath);
    // A new file written once: no journal and no syncing until the end.
    db.Exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;");
    DemoOptions checked = options;
    checked.invoices = std::max(0L, options.invoices);
    DemoBuilder builder(db, checked);
    DemoSummary summary = builder.Build();
    db.Exec("ANALYZE");
    return summary;
}

}  // namespace zentrail::dms_demo
