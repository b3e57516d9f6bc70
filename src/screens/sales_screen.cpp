#include "screens/sales_screen.h"

#include <array>

#include "screens/customer_ledger.h"
#include "screens/document_rules.h"
#include "screens/document_totals.h"
#include "screens/fixed_masters.h"
#include "screens/gst_bands.h"
#include "screens/master_steps.h"
#include "screens/queries/sales_queries.h"
#include "screens/sales_invoice.h"
#include "tally/masters/tally_master.h"
#include "tally/vouchers/tally_sale_trn.h"

namespace zentrail {

namespace {

constexpr const char* kVoucherType = "KVZ Sales";
constexpr std::array<const char*, 5> kDiscountLedgers = {
    "Scheme Discount", "Special Discount", "Cash Discount", "DB Discount", "Window Display"};

enum class Column {
    SalId,
    SalInvNo,
    SalInvDate,
    RtrName,
    RtrId,
    RtrShipAdd1,
    RtrShipAdd2,
    RtrShipAdd3,
    Gstn,
    StateName,
    DlvSts,
    WindowDisplayAmount,
    SalNetAmt,
};
constexpr const char* kColumns[] = {"SalId",    "SalInvNo",    "SalInvDate",  "RtrName",
                                    "RtrId",    "RtrShipAdd1", "RtrShipAdd2", "RtrShipAdd3",
                                    "GSTN",     "STat_Name",   "DlvSts",      "WindowDisplayAmount",
                                    "SalNetAmt"};

enum class FreeProductColumn { SalId, PrdCCode, FreePrdId, FreeQty };
constexpr const char* kFreeProductColumns[] = {"SALID", "PrdCCode", "FreePrdId", "FREEQty"};

enum LineSet { kStockLines, kFreeProducts };

// The header of one invoice, as the grid lists it.
struct Invoice {
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

std::string PartyOf(const ListedRow& row, const ScreenContext& context) {
    return CustomerLedgerName(row.Text(Column::RtrName), row.Text(Column::RtrId),
                              context.config.blnLedgerId);
}

Invoice ReadInvoice(const ListedRow& row, const ScreenContext& context) {
    Invoice invoice;
    invoice.salId = row.Text(Column::SalId);
    invoice.number = row.Text(Column::SalInvNo);
    invoice.date = row.Text(Column::SalInvDate);
    invoice.party = PartyOf(row, context);
    invoice.add1 = row.Text(Column::RtrShipAdd1);
    invoice.add2 = row.Text(Column::RtrShipAdd2);
    invoice.add3 = row.Text(Column::RtrShipAdd3);
    invoice.gstin = row.Text(Column::Gstn);
    invoice.state = CorrectStateName(row.Text(Column::StateName));
    invoice.cancelled = row.Number(Column::DlvSts) == 3;
    invoice.windowDisplay = row.Number(Column::WindowDisplayAmount);
    invoice.netInSource = row.RuleNumber(Column::SalNetAmt);
    return invoice;
}

class InvoiceBuilder : public DocumentBuilder {
public:
    explicit InvoiceBuilder(const ScreenContext& context) : context_(context) {}

    void Build(const ListedRow& row, LineTables& lines, BuiltDocument& built) override {
        Invoice invoice = ReadInvoice(row, context_);
        built.document.sourceTotal = invoice.netInSource;
        if (invoice.netInSource <= 0) {
            built.kind = BuiltDocument::Kind::Skip;
            built.reason = "net amount is 0 or less";
            return;
        }
        TallySaleTrn sale;
        DocumentTotals totals(TotalRounding::EveryAddition);
        std::string inventory = InventoryEntries(sale, lines, invoice, totals);
        Payable payable = SettleToWhole(totals.Net(invoice.windowDisplay));
        built.document.amountSent = payable.amount;
        built.request = ComposeVoucher(sale, invoice, inventory, totals, payable);
    }

private:
    // The inventory entries of the invoice's stock lines and free products; the stock lines
    // add to `totals`.
    static std::string InventoryEntries(TallySaleTrn& sale, LineTables& lines,
                                        const Invoice& invoice, DocumentTotals& totals) {
        std::string inventory;
        for (LineRow row : lines[kStockLines]->WithNumber(invoice.salId)) {
            SalesLine line = ReadSalesLine(row);
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
        // Free products carry no amount and add nothing to the totals.
        using F = FreeProductColumn;
        for (LineRow row : lines[kFreeProducts]->WithNumber(invoice.salId)) {
            std::string itemName = row.Text(F::PrdCCode) + "_" + row.Text(F::FreePrdId);
            double qty = row.Number(F::FreeQty);
            sale.strSale_Alloc =
                sale.strAccountAlloc(0, "GST Sales 0%", "", "", "Sales Nil Rated", 0, 0);
            sale.strSale_Batch =
                sale.strBatchAlloc(qty, 0, "Main Location", "Primary Batch", "PC", "", "", "");
            inventory += sale.strInvent_Sales(itemName, 0, qty, "PC", 0, "Main Location",
                                              "Primary Batch", "", "", "", "", "", "");
        }
        return inventory;
    }

    std::string ComposeVoucher(TallySaleTrn& sale, Invoice& invoice, const std::string& inventory,
                               const DocumentTotals& totals, const Payable& payable) const {
        std::string voucherType = kVoucherType, refNo = invoice.number, remarks, partyName,
                    add4 = invoice.state, add5;
        std::string text =
            sale.strSale_Head(voucherType, invoice.date, invoice.party, invoice.number, refNo,
                              remarks, partyName, "", invoice.cancelled, invoice.state,
                              invoice.gstin, invoice.add1, invoice.add2, invoice.add3, add4, add5);
        text += sale.strSale_Party(invoice.party, invoice.number, payable.amount);
        text += inventory;
        const LineAmounts& sum = totals.Sum();
        const std::pair<const char*, double> discounts[] = {
            {"Scheme Discount", sum.scheme},
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
        return ImportRequest(context_, text);
    }

    const ScreenContext& context_;
};

class SalesSpec : public ScreenSpec {
public:
    const ScreenDesign& Design() const override { return design_; }
    std::string ColumnQuery(const DateRange& dates) const override {
        return SalesInvoiceColumnQuery(dates.from, dates.to);
    }
    std::string ListingQuery(const DateRange& dates) const override {
        return SalesInvoiceHeaderQuery(dates.from, dates.to);
    }
    std::span<const char* const> ListingColumns() const override { return kColumns; }
    DocumentRef Describe(const ListedRow& row, const ScreenContext& context) const override {
        return {.number = row.Text(Column::SalInvNo),
                .date = row.Text(Column::SalInvDate),
                .party = PartyOf(row, context)};
    }
    std::vector<MasterStep> Masters(const ScreenContext& context,
                                    const DateRange& dates) const override {
        return {
            FixedMastersStep("Sales masters", &SalesScreen::FixedMastersPayload),
            CustomerLedgerStep(SalesPartyQuery(dates.from, dates.to), CustomerColumns{}, context)};
    }
    std::vector<LineQuery> LineQueries(const DateRange& dates) const override {
        return {{SalesInvoiceLineQuery(dates.from, dates.to), kSalesLineColumns,
                 static_cast<size_t>(SalesLineColumn::SalId)},
                {SalesFreeProductQuery(dates.from, dates.to), kFreeProductColumns,
                 static_cast<size_t>(FreeProductColumn::SalId)}};
    }
    std::unique_ptr<DocumentBuilder> StartRun(const ScreenContext& context,
                                              const Listing&) const override {
        return std::make_unique<InvoiceBuilder>(context);
    }

private:
    ScreenDesign design_{.name = "sales",
                         .title = "Import Sales Transaction",
                         .frameCaption = "Importing Sales",
                         .closingText = "Sales Transferrd",
                         .reopensConnection = true};
};

}  // namespace

const ScreenSpec& SalesScreen::TheSpec() {
    static const SalesSpec spec;
    return spec;
}

std::string SalesScreen::FixedMastersPayload(TallyMaster& master) {
    std::string payload = SalesSideMasters(master, kDiscountLedgers);
    std::string alias;
    payload += master.strVoucherType(kVoucherType, alias, "Sales");
    return payload;
}

}  // namespace zentrail
