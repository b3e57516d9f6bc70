// dms-demo: writes a demo distributor-management database to run the transfers on.

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <exception>

#include "dms_demo.h"

int main(int argc, char** argv) {
    using namespace zentrail::dms_demo;
    DemoOptions options;
    CLI::App app{
        "Writes a demo distributor-management database (SQLite) with two months of "
        "sales, returns, receipts, credit notes, purchases, inter-depot transfers and "
        "service invoices."};
    app.add_option("--out", options.outPath, "database file to write (replaced if it exists)")
        ->required();
    app.add_option("--invoices", options.invoices,
                   "number of sales invoices; above the default, every other kind of document "
                   "grows in proportion")
        ->check(CLI::Range(0L, 10'000'000L))
        ->capture_default_str();
    app.add_option("--seed", options.seed,
                   "seed of the made-up data; the same seed gives "
                   "the same database")
        ->capture_default_str();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;  // help exits 0, usage errors 2
    }

    try {
        const auto started = std::chrono::steady_clock::now();
        const DemoSummary s = GenerateDemoDatabase(options);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::printf(
            "%s: %ld retailers, %ld products; %ld sales invoices (%ld lines, %ld free products), "
            "%ld credit notes, %ld sales returns, %ld receipts (%ld lines), %ld purchase "
            "receipts, %ld inter-depot transfers, %ld service invoices; %.1f s\n",
            options.outPath.c_str(), s.retailers, s.products, s.salesInvoices, s.salesLines,
            s.freeProducts, s.creditNotes, s.salesReturns, s.receipts, s.receiptLines,
            s.purchaseReceipts, s.interDepotTransfers, s.serviceInvoices, seconds);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "dms-demo: %s\n", error.what());
        return 1;
    }
    return 0;
}
