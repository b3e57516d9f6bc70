#include "screens/purchase_screen.h"

#include <array>
#include <iterator>
#include <utility>
#include <vector>

#include "screens/document_rules.h"
#include "screens/fixed_masters.h"
#include "screens/gst_bands.h"
#include "screens/master_steps.h"
#include "screens/purchase_receipt.h"
#include "screens/queries/purchase_queries.h"
#include "screens/stock_lines.h"
#include "screens/voucher_request.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/vouchers/voucher_entries.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

constexpr const char* kVoucherType = "KVZ Purchase";
constexpr std::array<int, 5> kPurchaseLedgerBands = {5, 12, 18, 28, 0};
constexpr std::array<const char*, 3> kDiscountLedgers = {
    "Scheme Discount Purch", "Special Discount Purch", "Cash Discount Purch"};

enum class Column {
    PurRcptId,
    PurRcptRefNo,
    InvDate,
    SpmName,
    CmpInvNo,
    Gstn,
    StateName,
    NetAmount,
    NetPayable,
};
constexpr const char* kColumns[] = {"PurRcptId",  "PurRcptRefNo", "InvDate",
                                    "SpmName",    "CmpInvNo",     "GSTN",
                                    "STATE_NAME", "NetAmount",    "NetPayable"};

enum class ClaimColumn { PurRcptId, PrdCCode, PrdId, Quantity };
constexpr const char* kClaimColumns[] = {"PurRcptId", "PrdCCode", "PrdId", "Quantity"};

enum LineSet { kStockLines, kClaimSchemes };

// The header of one receipt, as the grid lists it.
struct Receipt {
    std::string id;  // PurRcptId
    std::string number;
    std::string date;
    std::string supplier;
    std::string supplierInvoice;  // CmpInvNo
    std::string gstin;
    std::string state;
    double net = 0;         // NetAmount
    double netPayable = 0;  // NetPayable
};

Receipt ReadReceipt(const ListedRow& row) {
    Receipt receipt;
    receipt.id = row.Text(Column::PurRcptId);
    receipt.number = row.Text(Column::PurRcptRefNo);
    receipt.date = row.Text(Column::InvDate);
    receipt.supplier = row.Text(Column::SpmName);
    receipt.supplierInvoice = row.Text(Column::CmpInvNo);
    receipt.gstin = row.Text(Column::Gstn);
    receipt.state = CorrectStateName(row.Text(Column::StateName));
    receipt.net = row.RuleNumber(Column::NetAmount);
    receipt.netPayable = row.Number(Column::NetPayable);
    return receipt;
}

class ReceiptBuilder : public DocumentBuilder {
public:
    explicit ReceiptBuilder(const ScreenContext& context) : context_(context) {}

    void Build(const ListedRow& row, LineTables& lines, BuiltDocument& built) override {
        Receipt receipt = ReadReceipt(row);
        built.document.sourceTotal = receipt.netPayable;
        if (receipt.net <= 0) {
            built.kind = BuiltDocument::Kind::Skip;
            built.reason = "net amount is 0 or less";
            return;
        }
        PurchaseTotals totals;
        std::vector<VoucherEntry> stock = StockLines(lines, receipt, totals);
        Payable payable = SettleToWhole(totals.Net());
        built.document.amountSent = payable.amount;

        Voucher voucher{.head = {.kind = VoucherKind::Purchase,
                                 .type = kVoucherType,
                                 .date = receipt.date,
                                 .party = receipt.supplier,
                                 .number = receipt.number,
                                 .reference = receipt.supplierInvoice,
                                 .state = receipt.state,
                                 .gstin = receipt.gstin,
                                 .referenceDate = receipt.date}};
        std::vector<VoucherEntry>& entries = voucher.entries;
        entries.push_back(CreditedPartyEntry(EntryList::Ledger, receipt.supplier, receipt.number,
                                             payable.amount));
        // The discounts are debits of negative amounts: Tally reads the doubled sign as a
        // credit.
        const double discounts[] = {totals.SchemeDiscount(), 0, 0};
        for (size_t i = 0; i < kDiscountLedgers.size(); ++i)
            entries.push_back(PurchaseDebitEntry(kDiscountLedgers[i], discounts[i] * -1, "", 0));
        for (const auto& [ledger, amount] : totals.TaxLedgers())
            entries.push_back(PurchaseDebitEntry(ledger, amount, "", 0));
        std::move(stock.begin(), stock.end(), std::back_inserter(entries));
        AddClaimSchemeLines(lines, receipt, entries);
        if (payable.roundOff < 0)
            entries.push_back(
                PurchaseCreditEntry(EntryList::Ledger, "Round Off", -payable.roundOff));
        else
            entries.push_back(PurchaseDebitEntry("Round Off", payable.roundOff, "", 0));
        SendVoucher(context_, std::move(voucher), built);
    }

private:
    // The stock lines of the receipt, which add to `totals`.
    std::vector<VoucherEntry> StockLines(LineTables& lines, const Receipt& receipt,
                                         PurchaseTotals& totals) {
        std::vector<VoucherEntry> stock;
        for (LineRow row : lines[kStockLines]->WithId(receipt.id)) {
            PurchaseLine line = ReadPurchaseLine(row);
            PurchasePosting posting = PostingOf(line);
            gstNature_ = PurchaseNature(line);
            totals.AddLine(line, posting.band);
            stock.push_back(BoughtStockLine(line.itemName, line.quantity, line.rate, line.gross,
                                            posting.purchaseLedger, gstNature_,
                                            line.gross - line.discount));
        }
        return stock;
    }

    // The claim-scheme goods of the receipt, free of charge.
    void AddClaimSchemeLines(LineTables& lines, const Receipt& receipt,
                             std::vector<VoucherEntry>& entries) const {
        using C = ClaimColumn;
        for (LineRow row : lines[kClaimSchemes]->WithId(receipt.id)) {
            std::string itemName = row.Text(C::PrdCCode) + "_" + row.Text(C::PrdId);
            entries.push_back(BoughtStockLine(std::move(itemName), row.Number(C::Quantity), 0, 0,
                                              "GST Purchase 0%", gstNature_, 0));
        }
    }

    const ScreenContext& context_;
    // The nature of the last stock line, which the claim-scheme goods carry; it outlives the
    // receipt, within the run.
    std::string gstNature_;
};

LedgerFields SupplierLedger(const Recordset& rs, const ScreenContext& context) {
    auto field = [&rs](const char* name) { return rs.Fields(name).Value(); };
    std::string state = CorrectStateName(TrimBlanks(field("STATE_NAME")));
    return LedgerFields{
        .strLedNm = TrimBlanks(field("SPMNAME")),
        .strParentNm = context.CreditorGroup(),
        .strAdd1 = field("SPMADD1"),
        .strAdd2 = field("SPMADD2"),
        .strAdd3 = field("SPMADD3"),
        .strAdd4 = state,
        .strState = state,
        .strContPerson = TrimBlanks(field("SpmContact")),
        .strTelNo = field("SpmPhone"),
        .strEmail = TrimBlanks(field("SpmEmail")),
        .blnMaintBill = true,
        .strPGSTN = TrimBlanks(field("GSTN")),
        .strPState = state,
    };
}

class PurchaseDefinition : public ScreenDefinition {
public:
    const ScreenDesign& Design() const override { return design_; }
    std::string ColumnQuery(const DateRange& dates) const override {
        return PurchaseReceiptColumnQuery(dates.from, dates.to);
    }
    std::string ListingQuery(const DateRange& dates) const override {
        return PurchaseReceiptHeaderQuery(dates.from, dates.to);
    }
    std::span<const char* const> ListingColumns() const override { return kColumns; }
    DocumentRef Describe(const ListedRow& row, const ScreenContext&) const override {
        return {.identity = row.Text(Column::PurRcptId),
                .number = row.Text(Column::PurRcptRefNo),
                .date = row.Text(Column::InvDate),
                .party = row.Text(Column::SpmName)};
    }
    std::vector<MasterStep> Masters(const ScreenContext& context,
                                    const DateRange& dates) const override {
        // The name is trimmed as the grid trims it, so that the vouchers find their ledger.
        return {FixedMastersStep("Purchase masters", &PurchaseScreen::FixedMastersPayload),
                PartyLedgerStep(
                    PurchaseSupplierQuery(dates.from, dates.to),
                    [](const Recordset& rs) { return TrimBlanks(rs.Fields("SPMNAME").Value()); },
                    [&context](const Recordset& rs) { return SupplierLedger(rs, context); })};
    }
    std::vector<LineQuery> LineQueries(const DateRange& dates) const override {
        auto receiptId = [](const ListedRow& row) { return row.Text(Column::PurRcptId); };
        return {{PurchaseReceiptLineQuery(dates.from, dates.to), kPurchaseLineColumns,
                 static_cast<size_t>(PurchaseLineColumn::PurRcptId), "H.PurRcptId", receiptId},
                {PurchaseClaimSchemeQuery(dates.from, dates.to), kClaimColumns,
                 static_cast<size_t>(ClaimColumn::PurRcptId), "A.PurRcptId", receiptId}};
    }
    std::unique_ptr<DocumentBuilder> StartRun(const ScreenContext& context,
                                              const Listing&) const override {
        return std::make_unique<ReceiptBuilder>(context);
    }

private:
    ScreenDesign design_{.name = "purchase",
                         .title = "Import Purchase Transaction",
                         .frameCaption = "Importing Purchase",
                         .closingText = "Purchase Transferrd",
                         .reopensConnection = true};
};

}  // namespace

const ScreenDefinition& PurchaseScreen::TheDefinition() {
    static const PurchaseDefinition definition;
    return definition;
}

std::string PurchaseScreen::FixedMastersPayload(TallyMaster& master) {
    std::string payload = StockGroupMaster(master);
    for (int band : kPurchaseLedgerBands)
        payload += GoodsLedgerMaster(master, PurchaseBandLedger(band), "Purchase Accounts");
    payload += BandTaxLedgerMasters(master);
    for (const char* name : kDiscountLedgers)
        payload += PlainLedgerMaster(master, name, "Purchase Accounts");
    payload += RoundOffMaster(master);
    std::string alias;
    payload += master.strVoucherType(kVoucherType, alias, "Purchase");
    return payload;
}

}  // namespace zentrail
