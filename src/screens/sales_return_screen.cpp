#include "screens/sales_return_screen.h"

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
#include "screens/queries/sales_return_queries.h"
#include "screens/sales_return.h"
#include "screens/stock_lines.h"
#include "screens/voucher_request.h"
#include "tally/masters/tally_master.h"
#include "tally/vouchers/voucher_entries.h"

namespace zentrail {

namespace {

constexpr const char* kVoucherType = "Credit Note";
constexpr std::array<const char*, 3> kDiscountLedgers = {"Scheme Discount", "Special Discount",
                                                         "Cash Discount"};

enum class Column {
    ReturnId,
    ReturnCode,
    ReturnDate,
    SalInvNo,
    SalInvDate,
    RtrName,
    RtrId,
    RtrAdd1,
    RtrAdd2,
    RtrAdd3,
    Gstn,
    StateName,
    RtnNetAmt,
};
constexpr const char* kColumns[] = {
    "ReturnID", "ReturnCode", "ReturnDate", "SalInvNo", "SalInvDate", "RtrName",  "RtrId",
    "RtrAdd1",  "RtrAdd2",    "RtrAdd3",    "GSTN",     "STat_Name",  "RtnNetAmt"};

// The header of one return, as the grid lists it.
struct Return {
    std::string returnId;
    std::string number;
    std::string date;
    std::string reference;
    std::string referenceDate;
    bool withInvoice = false;
    std::string party;
    std::string add1, add2, add3;
    std::string gstin;
    std::string state;
    double netInSource = 0;  // RtnNetAmt
};

std::string PartyOf(const ListedRow& row, const ScreenContext& context) {
    return CustomerLedgerName(row.Text(Column::RtrName), row.Text(Column::RtrId),
                              context.config.blnLedgerId);
}

Return ReadReturn(const ListedRow& row, const ScreenContext& context) {
    Return ret;
    ret.returnId = row.Text(Column::ReturnId);
    ret.number = row.Text(Column::ReturnCode);
    ret.date = row.Text(Column::ReturnDate);
    ret.withInvoice = !row.Text(Column::SalInvNo).empty();
    ret.reference = ret.withInvoice ? row.Text(Column::SalInvNo) : ret.number;
    ret.referenceDate = ret.withInvoice ? row.Text(Column::SalInvDate) : ret.date;
    ret.party = PartyOf(row, context);
    ret.add1 = row.Text(Column::RtrAdd1);
    ret.add2 = row.Text(Column::RtrAdd2);
    ret.add3 = row.Text(Column::RtrAdd3);
    ret.gstin = row.Text(Column::Gstn);
    ret.state = CorrectStateName(row.Text(Column::StateName));
    ret.netInSource = row.RuleNumber(Column::RtnNetAmt);
    return ret;
}

class ReturnBuilder : public DocumentBuilder {
public:
    explicit ReturnBuilder(const ScreenContext& context) : context_(context) {}

    void Build(const ListedRow& row, LineTables& lines, BuiltDocument& built) override {
        Return ret = ReadReturn(row, context_);
        built.document.sourceTotal = ret.netInSource;
        if (ret.netInSource <= 0) {
            built.kind = BuiltDocument::Kind::Skip;
            built.reason = "net amount is 0 or less";
            return;
        }
        DocumentTotals totals(TotalRounding::None);
        std::vector<VoucherEntry> inventory = InventoryLines(*lines[0], ret, totals, built.notes);
        double partyAmount = totals.Net();
        built.document.amountSent = partyAmount;
        SendVoucher(context_, ComposeVoucher(ret, std::move(inventory), totals, partyAmount),
                    built);
    }

private:
    static std::vector<VoucherEntry> InventoryLines(LineTable& lines, const Return& ret,
                                                    DocumentTotals& totals,
                                                    std::vector<std::string>& notes) {
        std::vector<VoucherEntry> inventory;
        for (LineRow row : lines.WithNumber(ret.returnId)) {
            ReturnLine line = ReadReturnLine(row);
            if (!ret.withInvoice && MakeTaxInclusive(line) == InclusiveRate::QuantityZero)
                notes.push_back("Quantity 0: rate written as 0 for " + line.itemName +
                                " on return " + ret.number);
            ReturnPosting posting = PostReturnLine(line, totals);
            inventory.push_back(SoldStockLine(line.itemName, line.quantity, line.rate,
                                              line.amounts.gross, posting.salesLedger,
                                              posting.taxType, posting.taxable));
        }
        return inventory;
    }

    static Voucher ComposeVoucher(const Return& ret, std::vector<VoucherEntry> inventory,
                                  const DocumentTotals& totals, double partyAmount) {
        Voucher voucher{.head = {.kind = VoucherKind::CreditNote,
                                 .type = kVoucherType,
                                 .date = ret.date,
                                 .party = ret.party,
                                 .number = ret.number,
                                 .reference = ret.reference,
                                 .address = {ret.add1, ret.add2, ret.add3, ret.state, ""},
                                 .state = ret.state,
                                 .gstin = ret.gstin,
                                 .referenceDate = ret.referenceDate}};
        std::vector<VoucherEntry>& entries = voucher.entries;
        entries.push_back(
            CreditedPartyEntry(EntryList::Ledger, ret.party, ret.reference, partyAmount));
        std::move(inventory.begin(), inventory.end(), std::back_inserter(entries));
        const LineAmounts& sum = totals.Sum();
        const std::pair<const char*, double> discounts[] = {{"Scheme Discount", sum.scheme},
                                                            {"Special Discount", sum.special},
                                                            {"Cash Discount", sum.cash}};
        for (const auto& [name, amount] : discounts)
            entries.push_back(CreditNoteLedgerEntry(EntryList::Ledger, name, amount, false));
        for (const auto& [ledger, amount] : totals.TaxLedgers())
            entries.push_back(CreditNoteLedgerEntry(EntryList::Ledger, ledger, amount, true));
        return voucher;
    }

    const ScreenContext& context_;
};

class SalesReturnDefinition : public ScreenDefinition {
public:
    const ScreenDesign& Design() const override { return design_; }
    std::string ColumnQuery(const DateRange& dates) const override {
        return SalesReturnColumnQuery(dates.from, dates.to);
    }
    std::string ListingQuery(const DateRange& dates) const override {
        return SalesReturnListQuery(dates.from, dates.to);
    }
    std::span<const char* const> ListingColumns() const override { return kColumns; }
    DocumentRef Describe(const ListedRow& row, const ScreenContext& context) const override {
        return {.identity = row.Text(Column::ReturnId),
                .number = row.Text(Column::ReturnCode),
                .date = row.Text(Column::ReturnDate),
                .party = PartyOf(row, context)};
    }
    std::vector<MasterStep> Masters(const ScreenContext& context,
                                    const DateRange& dates) const override {
        return {FixedMastersStep("Credit note masters", &SalesReturnScreen::FixedMastersPayload),
                CustomerLedgerStep(SalesReturnPartyQuery(dates.from, dates.to),
                                   CustomerColumns{.add1 = "RtrAdd1",
                                                   .add2 = "RtrAdd2",
                                                   .add3 = "RtrAdd3",
                                                   .pin = "RtrPinNo",
                                                   .compositionExactY = false},
                                   context)};
    }
    std::vector<LineQuery> LineQueries(const DateRange& dates) const override {
        return {{SalesReturnLineQuery(dates.from, dates.to), kReturnLineColumns,
                 static_cast<size_t>(ReturnLineColumn::ReturnId), "H.ReturnID",
                 [](const ListedRow& row) { return row.Text(Column::ReturnId); }}};
    }
    std::unique_ptr<DocumentBuilder> StartRun(const ScreenContext& context,
                                              const Listing&) const override {
        return std::make_unique<ReturnBuilder>(context);
    }

private:
    ScreenDesign design_{.name = "salesreturn",
                         .title = "Import Credit Note Transaction",
                         .frameCaption = "Importing Credit Note",
                         .closingText = "Credit Note Transferrd",
                         .reopensConnection = true};
};

}  // namespace

const ScreenDefinition& SalesReturnScreen::TheDefinition() {
    static const SalesReturnDefinition definition;
    return definition;
}

std::string SalesReturnScreen::FixedMastersPayload(TallyMaster& master) {
    std::string payload = SalesSideMasters(master, kDiscountLedgers);
    std::string alias;
    payload += master.strVoucherType(kVoucherType, alias, "Credit Note");
    return payload;
}

}  // namespace zentrail
