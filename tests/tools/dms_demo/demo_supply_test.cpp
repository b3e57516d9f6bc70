// The purchase receipts and inter-depot transfers of the demo reach every rule of their export.

#include <gtest/gtest.h>

#include <string>

#include "support/demo_database.h"

namespace zentrail {
namespace {

using testing::RawNumber;
using testing::SmallDemo;

TEST(DemoSupply, PurchasesAndTransfersHoldEveryCaseOfTheirExport) {
    struct CaseQuery {
        const char* what;
        const char* sql;
    };
    const CaseQuery cases[] = {
        {"purchase lines with central and state tax",
         "SELECT COUNT(*) FROM PurchaseReceiptProductTax WHERE TaxId = 2 AND TaxAmount > 0"},
        {"purchase lines with integrated tax",
         "SELECT COUNT(*) FROM PurchaseReceiptProductTax WHERE TaxId = 3 AND TaxAmount > 0"},
        {"zero-rated purchase lines from a supplier of the state",
         "SELECT COUNT(*) FROM PurchaseReceiptProductTax WHERE TaxId = 1 AND TaxPerc = 0 AND "
         "TaxableAmount > 0"},
        {"zero-rated purchase lines from another state",
         "SELECT COUNT(*) FROM PurchaseReceiptProductTax WHERE TaxId = 3 AND TaxPerc = 0 AND "
         "TaxableAmount > 0"},
        {"purchase lines of half rates (2.5, 6, 9, 14, 14.5)",
         "SELECT COUNT(*) FROM PurchaseReceiptProductTax WHERE TaxPerc IN (2.5, 6, 9, 14, 14.5)"},
        {"purchase lines of full rates (5, 12, 18, 28, 29)",
         "SELECT COUNT(*) FROM PurchaseReceiptProductTax WHERE TaxPerc IN (5, 12, 18, 28, 29)"},
        {"purchase receipts whose net of half a rupee rounds down",
         "SELECT COUNT(*) FROM PurchaseReceipt WHERE Status = 1 AND RoundOffAmount = -0.5"},
        {"purchase receipts whose net of half a rupee rounds up",
         "SELECT COUNT(*) FROM PurchaseReceipt WHERE Status = 1 AND RoundOffAmount = 0.5"},
        {"transfers with central and state tax",
         "SELECT COUNT(*) FROM IDTManagementProductTax WHERE TaxId = 2 AND TaxAmount > 0"},
        {"transfers with integrated tax",
         "SELECT COUNT(*) FROM IDTManagementProductTax WHERE TaxId = 3 AND TaxAmount > 0"},
        {"transfers whose net of half a rupee rounds down",
         "SELECT COUNT(*) FROM IDTManagement WHERE Status = 1 AND "
         "ROUND(IDTNetAmt - IDTGrossAmt - IDTTaxAmt, 2) = -0.5"},
        {"transfers whose net of half a rupee rounds up",
         "SELECT COUNT(*) FROM IDTManagement WHERE Status = 1 AND "
         "ROUND(IDTNetAmt - IDTGrossAmt - IDTTaxAmt, 2) = 0.5"},
        {"depots that both sent and received stock",
         "SELECT COUNT(*) FROM (SELECT A.SpmId FROM IDTManagement A JOIN IDTMaster B ON "
         "A.SpmId = B.SpmId WHERE A.Status = 1 GROUP BY A.SpmId HAVING COUNT(DISTINCT "
         "A.StkMgmtTypeId) = 2)"},
    };
    for (const CaseQuery& c : cases) EXPECT_GT(RawNumber(SmallDemo().Path(), c.sql), 0) << c.what;
}

}  // namespace
}  // namespace zentrail
