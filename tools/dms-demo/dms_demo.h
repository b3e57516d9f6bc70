#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace zentrail::dms_demo {

// The two months the documents of the demo database fall in (a few lie just outside, to
// show the range's edges).
inline constexpr std::chrono::year_month_day kFirstDay{std::chrono::year{2024}, std::chrono::April,
                                                       std::chrono::day{1}};
inline constexpr std::chrono::year_month_day kLastDay{std::chrono::year{2024}, std::chrono::May,
                                                      std::chrono::day{31}};

inline constexpr long kDefaultInvoices = 300;

struct DemoOptions {
    std::string outPath;
    // Sales invoices. Every other document kind has a count of its own at the default and grows
    // in step with the invoices above it.
    long invoices = kDefaultInvoices;
    uint64_t seed = 1;
};

// How many rows each document kind got.
struct DemoSummary {
    long retailers = 0;
    long products = 0;
    long salesInvoices = 0;
    long salesLines = 0;
    long salesTaxRows = 0;
    long freeProducts = 0;
    long creditNotes = 0;
    long salesReturns = 0;
    long receipts = 0;
    long receiptLines = 0;
    long purchaseReceipts = 0;
    long interDepotTransfers = 0;
    long serviceInvoices = 0;
};

// The SQLite DDL of the demo database (schema.sql, built into the program).
std::string_view SchemaSql();

// Writes a new demo database at options.outPath (replacing any file there); the same options
// give the same rows. Throws std::runtime_error on a database failure.
DemoSummary GenerateDemoDatabase(const DemoOptions& options);

}  // namespace zentrail::dms_demo
