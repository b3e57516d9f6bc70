// Every kind of document keeps its count up to the default number of invoices and grows with
// the invoices above it, so that a large demo is large for every screen.

#include <gtest/gtest.h>

#include <string>

#include "support/demo_database.h"

namespace zentrail {
namespace {

using testing::GeneratedDemo;
using testing::RawNumber;

struct Kind {
    const char* table;
    long base;   // documents at the default number of invoices and below
    long fixed;  // documents on top of those, the same at every size
};

// The credit note of amount 0, the receipt split in two, and the three service invoices of the
// worked figures.
const Kind kKinds[] = {
    {"CreditNoteRetailer", 120, 1}, {"ReturnHeader", 150, 0},  {"Receipt", 150, 1},
    {"PurchaseReceipt", 200, 0},    {"IDTManagement", 120, 0}, {"SERVICEINVOICEHD", 100, 3},
};

long Rows(const GeneratedDemo& demo, const std::string& table) {
    return static_cast<long>(RawNumber(demo.Path(), "SELECT COUNT(*) FROM " + table));
}

TEST(DemoScaling, EveryKindGrowsWithTheInvoicesAboveTheDefault) {
    struct Size {
        long invoices;
        long times;  // the base counts each kind holds
    };
    for (const Size size : {Size{300, 1}, Size{600, 2}, Size{3000, 10}}) {
        SCOPED_TRACE(size.invoices);
        const GeneratedDemo demo(size.invoices, 1, "scaling-" + std::to_string(size.invoices));
        EXPECT_EQ(Rows(demo, "SalesInvoice"), size.invoices);
        for (const Kind& kind : kKinds)
            EXPECT_EQ(Rows(demo, kind.table), kind.base * size.times + kind.fixed) << kind.table;
    }
}

// Dates follow the invoices a document belongs to, never its place in the count: a few lie days
// beyond the months (a return ten days after its invoice), as in the default demo.
TEST(DemoScaling, ALargeDemoKeepsItsDocumentsInTheTwoMonths) {
    const GeneratedDemo demo(3000, 1, "scaling-dates");
    struct Dated {
        const char* table;
        const char* column;
    };
    const Dated dated[] = {{"CreditNoteRetailer", "CrNoteDate"},
                           {"ReturnHeader", "ReturnDate"},
                           {"Receipt", "InvRcpDate"},
                           {"PurchaseReceipt", "InvDate"},
                           {"IDTManagement", "IDTMngDate"},
                           {"SERVICEINVOICEHD", "ServiceInvDate"}};
    for (const Dated& d : dated) {
        const std::string table = d.table, column = d.column;
        auto count = [&](const std::string& where) {
            return RawNumber(demo.Path(), "SELECT COUNT(*) FROM " + table + " WHERE " + where);
        };
        const double all = count("1");
        const double outside = count(column + " < '2024-04-01' OR " + column + " >= '2024-06-01'");
        const double far = count(column + " < '2024-03-28' OR " + column + " >= '2024-06-11'");
        EXPECT_LE(outside, all / 10) << table;
        EXPECT_EQ(far, 0) << table;
    }
}

}  // namespace
}  // namespace zentrail
