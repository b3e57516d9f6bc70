#include "screens/frm_t_sales.h"

#include <array>

#include "screens/customer_ledger.h"
#include "screens/document_rules.h"
#include "screens/document_totals.h"
#include "screens/field_number.h"
#include "screens/fixed_masters.h"
#include "screens/gst_bands.h"
#include "screens/queries/sales_queries.h"
#include "screens/sales_invoice.h"
#include "screens/screen_registry.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/vouchers/tally_sale_trn.h"

namespace zentrail {

namespace {

constexpr const char* kVoucherType = "KVZ Sales";
constexpr std::array<const char*, 5> kDiscountLedgers = {
    "Scheme Discount", "Special Discount", "Cash Discount", "DB Discount", "Window Display"};

}  // namespace

// The header of one invoice, as the grid lists it.
struct frmT_Sales::Invoice {
    std::string salId;
    std::string number;
    std::string date;
    std::string party;
    std::string add1, add2, add3;
    std::string gstin;
    std::string state;
    bool cancelled = false;
    double windowDisplay = 0;
    double netInSource = 0;  // SalNetAmt
};

frmT_Sales::frmT_Sales(ScreenContext context) : TransferScreen(context, ScreenDesign("sales")) {}

std::string frmT_Sales::ColumnQuery() const {
    return SalesInvoiceColumnQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_Sales::HeaderQuery() const {
    return SalesInvoiceHeaderQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_Sales::FixedMastersPayload(TallyMaster& master) {
    std::string payload = SalesSideMasters(master, kDiscountLedgers);
    std::string alias;
    payload += master.strVoucherType(kVoucherType, alias, "Sales");
    return payload;
}

// The invoices' stock lines and free products, read on a connection of their own so that the
// line query runs while the masters are sent.
struct frmT_Sales::InvoiceLines {
    std::unique_ptr<SourceConnection> connection;
    Recordset lines;
    Recordset freeProducts;
};

void frmT_Sales::ExportSteps() {
    TallySaleTrn sale;
    InvoiceLines source;
    source.connection = OpenReader();
    // A run that ends early does not wait for the line query.
    auto invoices = StartBuilding([&] { ReadInvoiceLines(source); },
                                  [&](size_t row) { return BuildInvoice(sale, source, row); },
                                  [&] { source.connection->Interrupt(); });
    TallyMaster master;
    SendMaster(Envelope(master, FixedMastersPayload(master)), "Sales masters");
    SendCustomerLedgers(master, SalesPartyQuery(dtpFrom.QueryText(), dtpTo.QueryText()),
                        CustomerColumns{});
    SendBuilt(*invoices, true);
}

void frmT_Sales::ReadInvoiceLines(InvoiceLines& source) const {
    SourceDatabase::OpenOn(*source.connection, source.lines,
                           SalesInvoiceLineQuery(dtpFrom.QueryText(), dtpTo.QueryText()));
    SourceDatabase::OpenOn(*source.connection, source.freeProducts,
                           SalesFreeProductQuery(dtpFrom.QueryText(), dtpTo.QueryText()));
}

frmT_Sales::Invoice frmT_Sales::ReadInvoice(size_t row) const {
    auto cell = [&](const char* field) { return ssdbgItem.Cell(row, field); };
    Invoice invoice;
    invoice.salId = cell("SalId");
    invoice.number = cell("SalInvNo");
    invoice.date = cell("SalInvDate");
    invoice.party =
        CustomerLedgerName(cell("RtrName"), cell("RtrId"), Context().config.blnLedgerId);
    invoice.add1 = cell("RtrShipAdd1");
    invoice.add2 = cell("RtrShipAdd2");
    invoice.add3 = cell("RtrShipAdd3");
    invoice.gstin = cell("GSTN");
    invoice.state = CorrectStateName(cell("STat_Name"));
    invoice.cancelled = NumberCell(ssdbgItem, row, "DlvSts") == 3;
    invoice.windowDisplay = NumberCell(ssdbgItem, row, "WindowDisplayAmount");
    invoice.netInSource = RuleNumberCell(ssdbgItem, row, "SalNetAmt");
    return invoice;
}

BuiltDocument frmT_Sales::BuildInvoice(TallySaleTrn& sale, InvoiceLines& source, size_t row) const {
    BuiltDocument built;
    DocumentRef& document = built.document;
    document.number = ssdbgItem.Cell(row, "SalInvNo");
    try {
        Invoice invoice = ReadInvoice(row);
        document.date = invoice.date;
        document.party = invoice.party;
        document.sourceTotal = invoice.netInSource;
        if (invoice.netInSource <= 0) {
            built.kind = BuiltDocument::Kind::Skip;
            built.reason = "net amount is 0 or less";
            return built;
        }
        DocumentTotals totals(TotalRounding::EveryAddition);
        std::string inventory = InventoryEntries(sale, source, invoice, totals);
        Payable payable = SettleToWhole(totals.Net(invoice.windowDisplay));
        document.amountSent = payable.amount;
        built.request = ComposeVoucher(sale, invoice, inventory, totals, payable);
    } catch (const NotANumber& e) {
        sale.strSale_Alloc.clear();
        sale.strSale_Batch.clear();
        built.kind = BuiltDocument::Kind::NotSent;
        built.reason = std::string("Not sent: ") + e.what();
    }
    return built;
}

std::string frmT_Sales::InventoryEntries(TallySaleTrn& sale, InvoiceLines& source,
                                         const Invoice& invoice, DocumentTotals& totals) const {
    std::string inventory;
    source.lines.Filter("[SALID] = " + invoice.salId);
    for (Recordset& rs = source.lines; !rs.Eof(); rs.MoveNext()) {
        SalesLine line = ReadSalesLine(rs);
        LinePosting posting = PostSalesLine(line, totals);
        const LineAmounts& amounts = line.amounts;
        sale.strSale_Alloc = sale.strAccountAlloc(
            amounts.gross, posting.salesLedger, "", "", posting.taxType, posting.taxable,
            amounts.tax.cgst + amounts.tax.sgst + amounts.tax.igst + amounts.tax.utgst);
        sale.strSale_Batch = sale.strBatchAlloc(line.quantity, line.rate, "Main Location",
                                                "Primary Batch", "PC", "", "", "");
        inventory +=
            sale.strInvent_Sales(line.itemName, amounts.gross, line.quantity, "PC", line.rate,
                                 "Main Location", "Primary Batch", "", "", "", "", "", "");
    }
    sale.strSale_Alloc.clear();
    sale.strSale_Batch.clear();

    // Free products carry no amount and add nothing to the totals.
    source.freeProducts.Filter("[SALID] = " + invoice.salId);
    for (Recordset& rs = source.freeProducts; !rs.Eof(); rs.MoveNext()) {
        std::string itemName = rs.Fields("PrdCCode").Value() + "_" + rs.Fields("FreePrdId").Value();
        double qty = NumberField(rs, "FREEQty");
        sale.strSale_Alloc =
            sale.strAccountAlloc(0, "GST Sales 0%", "", "", "Sales Nil Rated", 0, 0);
        sale.strSale_Batch =
            sale.strBatchAlloc(qty, 0, "Main Location", "Primary Batch", "PC", "", "", "");
        inventory += sale.strInvent_Sales(itemName, 0, qty, "PC", 0, "Main Location",
                                          "Primary Batch", "", "", "", "", "", "");
    }
    sale.strSale_Alloc.clear();
    sale.strSale_Batch.clear();
    return inventory;
}

std::string frmT_Sales::ComposeVoucher(TallySaleTrn& sale, Invoice& invoice,
                                       const std::string& inventory, const DocumentTotals& totals,
                                       const Payable& payable) const {
    std::string voucherType = kVoucherType, refNo = invoice.number, remarks, partyName,
                add4 = invoice.state, add5;
    std::string text =
        sale.strSale_Head(voucherType, invoice.date, invoice.party, invoice.number, refNo, remarks,
                          partyName, "", invoice.cancelled, invoice.state, invoice.gstin,
                          invoice.add1, invoice.add2, invoice.add3, add4, add5);
    text += sale.strSale_Party(invoice.party, invoice.number, payable.amount);
    text += inventory;
    const LineAmounts& sum = totals.Sum();
    const std::pair<const char*, double> discounts[] = {{"Scheme Discount", sum.scheme},
                                                        {"Special Discount", sum.special},
                                                        {"Cash Discount", sum.cash},
                                                        {"DB Discount", sum.db},
                                                        {"Window Display", invoice.windowDisplay}};
    for (const auto& [name, amount] : discounts) {
        std::string ledger = name;
        text += sale.strSale_Cr_Sch(ledger, amount * -1);
    }
    for (auto [ledger, amount] : totals.TaxLedgers()) text += sale.strSale_Cr(ledger, amount);
    std::string roundOffLedger = "Round Off";
    text += sale.strSale_Cr_Sch(roundOffLedger, payable.roundOff);
    text += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
    return Envelope(sale, text);
}

}  // namespace zentrail
