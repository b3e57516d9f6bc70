// The demo database holds every case the transfers meet, and the same seed gives the same
// database.

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/demo_database.h"

namespace zentrail {
namespace {

using testing::RawNumber;
using testing::RawQuery;
using testing::SmallDemo;

struct CaseQuery {
    const char* what;
    const char* sql;  // counts the rows that show the case
};

TEST(DemoContents, HoldsEveryCaseTheTransfersMeet) {
    const CaseQuery cases[] = {
        {"delivered invoices", "SELECT COUNT(*) FROM SalesInvoice WHERE DlvSts = 4"},
        {"cancelled invoices", "SELECT COUNT(*) FROM SalesInvoice WHERE DlvSts = 3"},
        {"undelivered invoices", "SELECT COUNT(*) FROM SalesInvoice WHERE DlvSts < 3"},
        {"invoice on the last day at 23:59",
         "SELECT COUNT(*) FROM SalesInvoice WHERE SalInvDate = '2024-05-31 23:59:00'"},
        {"invoices just outside the two months",
         "SELECT COUNT(*) = 2 FROM SalesInvoice WHERE SalInvDate < '2024-04-01' OR SalInvDate "
         ">= '2024-06-01'"},
        {"free products", "SELECT COUNT(*) FROM SalesInvoiceSchemeDtFreePrd"},
        {"window display", "SELECT COUNT(*) FROM SalesInvoice WHERE WindowDisplayAmount > 0"},
        {"CGST with SGST", "SELECT COUNT(*) FROM SalesInvoiceProductTax WHERE TaxId = 2"},
        {"IGST", "SELECT COUNT(*) FROM SalesInvoiceProductTax WHERE TaxId = 3"},
        {"UTGST", "SELECT COUNT(*) FROM SalesInvoiceProductTax WHERE TaxId = 4"},
        {"tax codes",
         "SELECT COUNT(*) = 4 FROM TaxConfiguration WHERE TaxCode IN ('CGST', 'SGST', 'IGST', "
         "'UTGST')"},
        {"rate 2.5", "SELECT COUNT(*) FROM SalesInvoiceProductTax WHERE TaxPerc = 2.5"},
        {"rate 14.5", "SELECT COUNT(*) FROM SalesInvoiceProductTax WHERE TaxPerc = 14.5"},
        {"nil-rated lines",
         "SELECT COUNT(*) FROM SalesInvoiceProductTax WHERE TaxPerc = 0 AND TaxableAmount > 0"},
        {"every GST rate",
         "SELECT COUNT(DISTINCT B.PrdId) >= 6 FROM SalesInvoiceProduct B JOIN Product P ON "
         "B.PrdId = P.PrdId WHERE P.PrdGSTRate IN (0, 5, 12, 18, 28, 29)"},
        {"names with &",
         "SELECT (SELECT COUNT(*) FROM Retailer WHERE RtrName LIKE '%&%') * (SELECT COUNT(*) "
         "FROM Product WHERE PrdName LIKE '%&%') * (SELECT COUNT(*) FROM Supplier WHERE SpmName "
         "LIKE '%&%')"},
        {"names with apostrophes",
         "SELECT (SELECT COUNT(*) FROM Retailer WHERE RtrName LIKE '%''%') * (SELECT COUNT(*) "
         "FROM Supplier WHERE SpmName LIKE '%''%')"},
        {"names with double quotes",
         "SELECT (SELECT COUNT(*) FROM Retailer WHERE RtrName LIKE '%\"%') * (SELECT COUNT(*) "
         "FROM Product WHERE PrdName LIKE '%\"%')"},
        {"names with letters beyond ASCII",
         "SELECT (SELECT COUNT(*) FROM Retailer WHERE length(RtrName) < length(CAST(RtrName AS "
         "BLOB))) * (SELECT COUNT(*) FROM Supplier WHERE length(SpmName) < "
         "length(CAST(SpmName AS BLOB)))"},
        {"the three states to correct",
         "SELECT COUNT(*) = 3 FROM STATEMASTER WHERE StateName IN ('Pondicherry', 'Chattisgarh', "
         "'Andhra Pradesh (New)')"},
        {"invoices to the three states",
         "SELECT COUNT(DISTINCT E.StateName) = 3 FROM SalesInvoice A JOIN RetailerShipAdd D ON "
         "A.RtrShipId = D.RtrShipId JOIN STATEMASTER E ON D.StateId = E.StateId WHERE "
         "E.StateName IN ('Pondicherry', 'Chattisgarh', 'Andhra Pradesh (New)')"},
        {"unit PC", "SELECT COUNT(*) FROM UOMMASTER WHERE UomDescription = 'PC'"},
        {"invoices of a retailer without a GSTIN row",
         "SELECT COUNT(*) FROM SalesInvoice A WHERE NOT EXISTS (SELECT 1 FROM UdcDetails U "
         "WHERE U.MasterRecordId = A.RtrId AND U.UdcMasterId = 81)"},
        {"invoice lines of a product without an HSN code",
         "SELECT COUNT(*) FROM SalesInvoiceProduct B WHERE NOT EXISTS (SELECT 1 FROM UdcDetails "
         "U WHERE U.MasterRecordId = B.PrdId AND U.UdcMasterId = 90)"},
        {"unregistered retailer",
         "SELECT COUNT(*) FROM UdcDetails WHERE UdcMasterId = 79 AND ColumnValue = "
         "'Unregistered'"},
        {"composition retailer",
         "SELECT COUNT(*) FROM UdcDetails WHERE UdcMasterId = 78 AND ColumnValue = 'Y'"},
        {"returns with an invoice", "SELECT COUNT(*) FROM ReturnHeader WHERE SalId IS NOT NULL"},
        {"returns without an invoice", "SELECT COUNT(*) FROM ReturnHeader WHERE SalId IS NULL"},
        {"cash receipts settling several invoices",
         "SELECT COUNT(*) FROM Receipt A WHERE InvRcpMode = 1 AND (SELECT COUNT(*) FROM "
         "ReceiptInvoice B WHERE B.InvRcpNo = A.InvRcpNo) > 1"},
        {"cheque receipts settling several invoices",
         "SELECT COUNT(*) FROM Receipt A WHERE InvRcpMode = 2 AND (SELECT COUNT(*) FROM "
         "ReceiptInvoice B WHERE B.InvRcpNo = A.InvRcpNo) > 1"},
        {"bounced cheques", "SELECT COUNT(*) FROM ReceiptInvoice WHERE InvInsSta = 4"},
        {"cancelled receipts", "SELECT COUNT(*) FROM ReceiptInvoice WHERE CancelStatus = 0"},
        {"bank transfers without an instrument number",
         "SELECT COUNT(*) FROM Receipt A JOIN ReceiptInvoice B ON A.InvRcpNo = B.InvRcpNo WHERE "
         "A.InvRcpMode = 3 AND B.DisBnkId IS NOT NULL AND B.InvInsNo = '' AND B.InvInsSta < 4 "
         "AND B.CancelStatus = 1"},
        {"two receipts of one retailer on one day with the same line serial",
         "SELECT COUNT(*) FROM ReceiptInvoice B1 JOIN ReceiptInvoice B2 ON B1.InvRcpSNo = "
         "B2.InvRcpSNo AND B1.InvRcpNo < B2.InvRcpNo JOIN Receipt A1 ON A1.InvRcpNo = "
         "B1.InvRcpNo JOIN Receipt A2 ON A2.InvRcpNo = B2.InvRcpNo JOIN SalesInvoice S1 ON "
         "S1.SalId = B1.SalId JOIN SalesInvoice S2 ON S2.SalId = B2.SalId WHERE S1.RtrId = "
         "S2.RtrId AND date(A1.InvRcpDate) = date(A2.InvRcpDate) AND B1.InvInsSta < 4 AND "
         "B2.InvInsSta < 4 AND B1.CancelStatus = 1 AND B2.CancelStatus = 1"},
        {"credit notes left out (TRANSID 30)",
         "SELECT COUNT(*) FROM CreditNoteRetailer WHERE TRANSID = 30"},
        {"credit notes against two invoices",
         "SELECT COUNT(*) FROM (SELECT CrNoteNumber FROM SalInvCrNoteAdj GROUP BY CrNoteNumber "
         "HAVING COUNT(*) = 2)"},
        {"credit notes never adjusted",
         "SELECT COUNT(*) FROM CreditNoteRetailer WHERE "
         "CrAdjAmount = 0"},
        {"transfers in", "SELECT COUNT(*) FROM IDTManagement WHERE StkMgmtTypeId = 1"},
        {"transfers out", "SELECT COUNT(*) FROM IDTManagement WHERE StkMgmtTypeId = 2"},
        {"transfer lines without tax rows",
         "SELECT COUNT(*) FROM IDTManagementProduct B WHERE NOT EXISTS (SELECT 1 FROM "
         "IDTManagementProductTax T WHERE T.IDTMngRefNo = B.IDTMngRefNo AND T.PrdSlNo = "
         "B.PrdSlNo)"},
        {"transfers with a depot missing from IDTMaster",
         "SELECT COUNT(*) FROM IDTManagement A WHERE NOT EXISTS (SELECT 1 FROM IDTMaster B "
         "WHERE B.SpmId = A.SpmId)"},
        {"purchase receipts of a supplier without a GSTIN row",
         "SELECT COUNT(*) FROM PurchaseReceipt A WHERE NOT EXISTS (SELECT 1 FROM UdcDetails U "
         "WHERE U.MasterRecordId = A.SpmId AND U.UdcMasterId = 72)"},
        {"purchase lines without taxable amount",
         "SELECT COUNT(*) FROM PurchaseReceiptProductTax WHERE TaxableAmount = 0"},
        {"claim-scheme goods", "SELECT COUNT(*) FROM PurchaseReceiptClaimScheme"},
        {"service purchases", "SELECT COUNT(*) FROM SERVICEINVOICEHD WHERE ServiceInvFor = 1"},
        {"service sales", "SELECT COUNT(*) FROM SERVICEINVOICEHD WHERE ServiceInvFor = 2"},
        {"service invoice of zero amount",
         "SELECT COUNT(*) FROM SERVICEINVOICEHD WHERE ServiceAmount = 0"},
    };
    for (const CaseQuery& c : cases) EXPECT_GT(RawNumber(SmallDemo().Path(), c.sql), 0) << c.what;
}

// The well-known sample GSTIN 27AAPFU0939F1ZV shows the check character; every GSTIN of the
// demo starts with its party's state code and ends in a valid check character.
std::string CheckCharacter(const std::string& first14) {
    const std::string digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    int sum = 0;
    for (size_t i = 0; i < first14.size(); ++i) {
        const int product = static_cast<int>(digits.find(first14[i])) * (i % 2 == 0 ? 1 : 2);
        sum += product / 36 + product % 36;
    }
    return std::string(1, digits[static_cast<size_t>((36 - sum % 36) % 36)]);
}

TEST(DemoContents, GstinsCarryStateCodeAndCheckCharacter) {
    ASSERT_EQ(CheckCharacter("27AAPFU0939F1Z"), "V");
    const auto rows = RawQuery(
        SmallDemo().Path(),
        "SELECT D.GSTTinNo, E.StateCode FROM RetailerShipAdd D JOIN STATEMASTER E ON D.StateId "
        "= E.StateId WHERE D.GSTTinNo <> '' UNION ALL SELECT G.ColumnValue, E.StateCode FROM "
        "UdcDetails G JOIN UdcDetails H ON G.MasterRecordId = H.MasterRecordId AND "
        "H.UdcMasterId = 73 JOIN STATEMASTER E ON E.StateName = H.ColumnValue WHERE "
        "G.UdcMasterId = 72");
    ASSERT_GT(rows.size(), 10u);
    for (const auto& r : rows) {
        const std::string& gstin = *r[0];
        ASSERT_EQ(gstin.size(), 15u) << gstin;
        EXPECT_EQ(gstin.substr(0, 2), *r[1]) << gstin;
        EXPECT_EQ(gstin.substr(14), CheckCharacter(gstin.substr(0, 14))) << gstin;
    }
}

// Every row of every table, in a stable order, as one text.
std::string Dump(const std::string& path) {
    std::string text;
    for (const auto& table :
         RawQuery(path,
                  "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE "
                  "'sqlite%' ORDER BY name"))
        for (const auto& row : RawQuery(path, "SELECT * FROM " + *table[0] + " ORDER BY 1, 2")) {
            text += *table[0];
            for (const auto& value : row) text += "|" + value.value_or("<null>");
            text += "\n";
        }
    return text;
}

TEST(DemoContents, SameSeedGivesTheSameDatabase) {
    const testing::GeneratedDemo first(25, 11, "seed-a");
    const testing::GeneratedDemo again(25, 11, "seed-b");
    const testing::GeneratedDemo other(25, 12, "seed-c");
    const std::string dump = Dump(first.Path());
    EXPECT_EQ(dump, Dump(again.Path()));
    EXPECT_NE(dump, Dump(other.Path()));
    EXPECT_EQ(first.Summary().salesInvoices, 25);
}

TEST(DemoContents, BelowTheDefaultTheInvoiceCountScalesOnlyTheSales) {
    const testing::GeneratedDemo few(15, 3, "scale-few");
    const testing::GeneratedDemo more(90, 3, "scale-more");
    EXPECT_EQ(RawNumber(few.Path(), "SELECT COUNT(*) FROM SalesInvoice"), 15);
    EXPECT_EQ(RawNumber(more.Path(), "SELECT COUNT(*) FROM SalesInvoice"), 90);
    const double lines = RawNumber(more.Path(), "SELECT COUNT(*) FROM SalesInvoiceProduct");
    EXPECT_GE(lines, 90 * 5);
    EXPECT_LE(lines, 90 * 15);
    EXPECT_EQ(RawNumber(few.Path(), "SELECT COUNT(*) FROM PurchaseReceipt"),
              RawNumber(more.Path(), "SELECT COUNT(*) FROM PurchaseReceipt"));
    // With no invoice at all the other documents still come, those tied to invoices do not.
    const testing::GeneratedDemo none(0, 3, "scale-none");
    EXPECT_EQ(RawNumber(none.Path(), "SELECT COUNT(*) FROM SalesInvoice"), 0);
    EXPECT_EQ(RawNumber(none.Path(), "SELECT COUNT(*) FROM Receipt"), 0);
    EXPECT_GT(RawNumber(none.Path(), "SELECT COUNT(*) FROM IDTManagement"), 0);
}

#ifdef DMS_DEMO_PATH
TEST(DemoContents, CommandLineWritesTheFileAndRejectsBadCounts) {
    const std::string path = ::testing::TempDir() + "zentrail-cli-demo.db";
    const std::string tool = DMS_DEMO_PATH;
    ASSERT_EQ(
        std::system((tool + " --out '" + path + "' --invoices 5 --seed 3 > /dev/null").c_str()), 0);
    EXPECT_EQ(RawNumber(path, "SELECT COUNT(*) FROM SalesInvoice"), 5);
    EXPECT_NE(std::system((tool + " --out '" + path + "' --invoices -4 2> /dev/null").c_str()), 0);
    EXPECT_NE(std::system((tool + " --invoices 5 2> /dev/null").c_str()), 0);
    std::remove(path.c_str());
}
#endif

}  // namespace
}  // namespace zentrail
