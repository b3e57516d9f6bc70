#include "screens/sales_screen.h"

#include <array>
#include <iterator>
#include <utility>
#include <vector>

#include "screens/customer_ledger.h"
#include "screens/document_rules.h"
#include "screens/document_totals.h"
#include "screens/fixed_masters.h"
#include "screens/gst_bands.h"
#include "screens/master_steps.h"
#include "screens/queries/sales_queries.h"
#include "screens/sales_invoice.h"
#include "screens/stock_lines.h"
#include "screens/voucher_request.h"
#include "tally/masters/tally_master.h"
#include "tally/vouchers/voucher_entries.h"

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
        DocumentTotals totals(TotalRounding::EveryAddition);
        std::vector<VoucherEntry> inventory = InventoryLines(lines, invoice, totals);
        Payable payable = SettleToWhole(totals.Net(invoice.windowDisplay));
        built.document.amountSent = payable.amount;
        SendVoucher(context_, ComposeVoucher(invoice, std::move(inventory), totals, payable),
                    built);
    }

private:
    // The stock lines of the invoice and its free products; the stock lines add to `totals`.
    static std::vector<VoucherEntry> InventoryLines(LineTables& lines, const Invoice& invoice,
                                                    DocumentTotals& totals) {
        std::vector<VoucherEntry> inventory;
        for (LineRow row : lines[kStockLines]->WithNumber(invoice.salId)) {
            SalesLine line = ReadSalesLine(row);
            LinePosting posting = PostSalesLine(line, totals);
            inventory.push_back(SoldStockLine(line.itemName, line.quantity, line.rate,
                                              line.amounts.gross, posting.salesLedger,
                                              posting.taxType, posting.taxable));
        }
        // Free products carry no amount and add nothing to the totals.
        using F = FreeProductColumn;
        for (LineRow row : lines[kFreeProducts]->WithNumber(invoice.salId)) {
            std::string itemName = row.Text(F::PrdCCode) + "_" + row.Text(F::FreePrdId);
            inventory.push_back(SoldStockLine(std::move(itemName), row.Number(F::FreeQty), 0, 0,
                                              "GST Sales 0%", "Sales Nil Rated", 0));
        }
        return inventory;
    }

    static Voucher ComposeVoucher(const Invoice& invoice, std::vector<VoucherEntry> inventory,
                                  const DocumentTotals& totals, const Payable& payable) {
        Voucher voucher{
            .head = {.kind = VoucherKind::Sales,
                     .type = kVoucherType,
                     .date = invoice.date,
                     .party = invoice.party,
                     .number = invoice.number,
                     .reference = invoice.number,
                     .cancel = invoice.cancelled,
                     .address = {invoice.add1, invoice.add2, invoice.add3, invoice.state, ""},
                     .state = invoice.state,
                     .gstin = invoice.gstin}};
        std::vector<VoucherEntry>& entries = voucher.entries;
        entries.push_back(
            SalesPartyEntry(EntryList::Ledger, invoice.party, invoice.number, payable.amount));
        std::move(inventory.begin(), inventory.end(), std::back_inserter(entries));
        const LineAmounts& sum = totals.Sum();
        const std::pair<const char*, double> discounts[] = {
            {"Scheme Discount", sum.scheme},
            {"Special Discount", sum.special},
            {"Cash Discount", sum.cash},
            {"DB Discount", sum.db},
            {"Window Display", invoice.windowDisplay}};
        for (const auto& [name, amount] : discounts)
            entries.push_back(SalesLedgerEntry(EntryList::Ledger, name, amount * -1, false));
        for (const auto& [ledger, amount] : totals.TaxLedgers())
            entries.push_back(SalesLedgerEntry(EntryList::Ledger, ledger, amount, false));
        entries.push_back(
            SalesLedgerEntry(EntryList::Ledger, "Round Off", payable.roundOff, false));
        return voucher;
    }

    const ScreenContext& context_;
};

class SalesDefinition : public ScreenDefinition {
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
        return {.identity = row.Text(Column::SalId),
                .number = row.Text(Column::SalInvNo),
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
        auto salId = [](const ListedRow& row) { return row.Text(Column::SalId); };
        return {{SalesInvoiceLineQuery(dates.from, dates.to), kSalesLineColumns,
                 static_cast<size_t>(SalesLineColumn::SalId), "H.SALID", salId},
                {SalesFreeProductQuery(dates.from, dates.to), kFreeProductColumns,
                 static_cast<size_t>(FreeProductColumn::SalId), "A.SalId", salId}};
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

const ScreenDefinition& SalesScreen::TheDefinition() {
    static const SalesDefinition definition;
    return definition;
}

std::string SalesScreen::FixedMastersPayload(TallyMaster& master) {
    std::string payload = SalesSideMasters(master, kDiscountLedgers);
    std::string alias;
    payload += master.strVoucherType(kVoucherType, alias, "Sales");
    return payload;
}

}  // namespace zentrail
