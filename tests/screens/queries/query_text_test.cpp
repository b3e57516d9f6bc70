// The screens' SQL texts: where the dates go, and which texts must agree with each other.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "screens/queries/credit_note_queries.h"
#include "screens/queries/idt_queries.h"
#include "screens/queries/item_queries.h"
#include "screens/queries/purchase_queries.h"
#include "screens/queries/receipt_queries.h"
#include "screens/queries/sales_queries.h"
#include "screens/queries/sales_return_queries.h"
#include "screens/queries/service_queries.h"
#include "screens/queries/sql_date.h"

namespace zentrail {
namespace {

using DatedQuery = std::function<std::string(const std::string&, const std::string&)>;

struct NamedQuery {
    const char* name;
    DatedQuery text;
};

const NamedQuery kDatedQueries[] = {
    {"sales header", SalesInvoiceHeaderQuery},
    {"sales columns", SalesInvoiceColumnQuery},
    {"sales lines", SalesInvoiceLineQuery},
    {"sales free products", SalesFreeProductQuery},
    {"sales parties", SalesPartyQuery},
    {"credit note header", RetailerCreditNoteHeaderQuery},
    {"credit note columns", RetailerCreditNoteColumnQuery},
    {"credit note parties", RetailerCreditNotePartyQuery},
    {"purchase header", PurchaseReceiptHeaderQuery},
    {"purchase columns", PurchaseReceiptColumnQuery},
    {"purchase suppliers", PurchaseSupplierQuery},
    {"purchase lines", PurchaseReceiptLineQuery},
    {"purchase claim schemes", PurchaseClaimSchemeQuery},
    {"transfer header", IdtHeaderQuery},
    {"transfer depots", IdtDepotQuery},
    {"transfer lines", IdtLineQuery},
    {"return list", SalesReturnListQuery},
    {"return columns", SalesReturnColumnQuery},
    {"return lines", SalesReturnLineQuery},
    {"return parties", SalesReturnPartyQuery},
    {"receipt list", ReceiptListQuery},
    {"receipt parties", ReceiptPartyQuery},
    {"service invoices", ServiceInvoiceQuery},
    {"service parties", ServicePartyQuery},
};

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

TEST(SqlDateText, MonthDayYearWithLeadingZeros) {
    using namespace std::chrono;
    EXPECT_EQ(SqlDateText(year{2024} / April / 1), "04/01/2024");
    EXPECT_EQ(SqlDateText(year{2024} / December / 31), "12/31/2024");
    EXPECT_EQ(SqlDateText(year{2017} / July / 1), "07/01/2017");
    EXPECT_EQ(SqlDateText(year{999} / January / 9), "01/09/0999");
}

// The From date always bounds a day from below and the To date from above, and the texts
// change nowhere else with the dates.
TEST(ScreenQueryText, FromDateBoundsBelowAndToDateAbove) {
    for (const NamedQuery& q : kDatedQueries) {
        const std::string a = q.text("01/02/2003", "04/05/2006");
        const std::string b = q.text("11/12/2013", "10/09/2008");
        const std::string marked =
            ReplaceAll(ReplaceAll(a, "01/02/2003", "{F}"), "04/05/2006", "{T}");
        EXPECT_EQ(marked, ReplaceAll(ReplaceAll(b, "11/12/2013", "{F}"), "10/09/2008", "{T}"))
            << q.name;
        const size_t from = Count(marked, "{F}");
        EXPECT_GE(from, 1u) << q.name;
        EXPECT_EQ(from, Count(marked, "{T}")) << q.name;
        EXPECT_EQ(from, Count(marked, ">= '{F}'")) << q.name;
        EXPECT_EQ(from, Count(marked, "<= '{T}'")) << q.name;
        // Every bound compares the day part of a column, as style 101 gives it.
        EXPECT_EQ(2 * from, Count(marked, ",101)) ")) << q.name;
    }
}

// A grid's columns come from its column query and the export reads its cells by those
// names, so the column query must select exactly the fields of the listing.
TEST(ScreenQueryText, ColumnQueriesSelectTheListingsFields) {
    const std::string f = "04/01/2024", t = "05/31/2024";
    auto fields = [](const std::string& sql) { return sql.substr(0, sql.find("FROM ")); };
    const std::pair<std::string, std::string> pairs[] = {
        {SalesInvoiceHeaderQuery(f, t), SalesInvoiceColumnQuery(f, t)},
        {RetailerCreditNoteHeaderQuery(f, t), RetailerCreditNoteColumnQuery(f, t)},
        {PurchaseReceiptHeaderQuery(f, t), PurchaseReceiptColumnQuery(f, t)},
        {ItemListQuery(), ItemColumnQuery()},
    };
    for (const auto& [listing, columns] : pairs) {
        EXPECT_NE(listing, columns);
        EXPECT_EQ(fields(listing), fields(columns));
    }
    // The return list's column query ends its field list with one blank less.
    EXPECT_EQ(fields(SalesReturnListQuery(f, t)), fields(SalesReturnColumnQuery(f, t)) + " ");
    EXPECT_EQ(ItemListQuery(), ReplaceAll(ItemColumnQuery(), "') ORDER BY", "')  ORDER BY"));
}

TEST(ScreenQueryText, ZeroRateQueryIsTheSalesRateQueryForNilRatedLinesFromJuly2018) {
    const std::string zero = ItemZeroRateSalesQuery();
    EXPECT_EQ(ReplaceAll(ReplaceAll(zero, "and c.TaxableAmount > 0 and C.TaxPerc = 0 and",
                                    "and C.TaxPerc > 0 and"),
                         "'07/27/2018'", "'07/01/2017'"),
              ItemSalesRateQuery());
}

}  // namespace
}  // namespace zentrail
