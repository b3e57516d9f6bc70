#include "screens/idt_screen.h"

#include <array>
#include <iterator>
#include <utility>
#include <vector>

#include "screens/document_totals.h"
#include "screens/field_number.h"
#include "screens/fixed_masters.h"
#include "screens/master_steps.h"
#include "screens/queries/idt_queries.h"
#include "screens/stock_lines.h"
#include "screens/voucher_request.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/number_text.h"
#include "tally/vouchers/voucher_entries.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

constexpr const char* kInType = "KVZ IDT In";
constexpr const char* kOutType = "KVZ IDT Out";
constexpr int kTransferOut = 2;
constexpr std::array<std::pair<const char*, const char*>, 4> kTaxLedgers = {{
    {"CGST", "Central Tax"},
    {"SGST", "State Tax"},
    {"IGST", "Integrated Tax"},
    {"UTGST", "UT Tax"},
}};
constexpr std::array<const char*, 3> kDiscountLedgers = {"Scheme Discount", "Special Discount",
                                                         "Cash Discount"};

double Round2(double value) { return RoundHalfEven(value, 2); }

// One line of a transfer, amounts rounded to two decimals.
struct TransferLine {
    std::string itemName;
    double quantity = 0;
    double rate = 0;
    double gross = 0;
    TaxAmounts tax;
    TaxAmounts taxable;
};

enum class Column { IdtMngRefNo, IdtMngDate, SpmName, IdtNetAmt, StkMgmtTypeId };
constexpr const char* kColumns[] = {"IDTMngRefNo", "IDTMngDate", "SpmName", "IDTNetAmt",
                                    "StkMgmtTypeId"};

enum class LineColumn {
    IdtMngRefNo,
    PrdCCode,
    PrdId,
    Qty,
    PrdUnitRate,
    PrdGrossAmount,
    CgstAmt,
    SgstAmt,
    IgstAmt,
    UtgstAmt,
    CgstTaxable,
    SgstTaxable,
    IgstTaxable,
    UtgstTaxable,
};
constexpr const char* kLineColumns[] = {
    "IDTMngRefNo",    "PrdCCode",     "PrdId",        "Qty",          "PrdUnitRate",
    "PrdGrossAmount", "CGST_AMT",     "SGST_AMT",     "IGST_AMT",     "UTGST_AMT",
    "CGST_TAXABLE",   "SGST_TAXABLE", "IGST_TAXABLE", "UTGST_TAXABLE"};

TransferLine ReadTransferLine(const LineRow& row) {
    using C = LineColumn;
    auto amount = [&row](C column) { return Round2(row.Number(column)); };
    TransferLine line;
    line.itemName = row.Text(C::PrdCCode) + "_" + row.Text(C::PrdId);
    line.quantity = row.Number(C::Qty);
    line.rate = amount(C::PrdUnitRate);
    line.gross = amount(C::PrdGrossAmount);
    line.tax = {amount(C::CgstAmt), amount(C::SgstAmt), amount(C::IgstAmt), amount(C::UtgstAmt)};
    line.taxable = {row.Number(C::CgstTaxable), row.Number(C::SgstTaxable),
                    row.Number(C::IgstTaxable), row.Number(C::UtgstTaxable)};
    return line;
}

void AddToTotals(const TransferLine& line, DocumentTotals& totals) {
    LineAmounts amounts;
    amounts.gross = line.gross;
    amounts.tax = line.tax;
    totals.AddLine(amounts, 0);
}

std::array<double, 4> TaxesOf(const DocumentTotals& totals) {
    const TaxAmounts& tax = totals.Sum().tax;
    return {tax.cgst, tax.sgst, tax.igst, tax.utgst};
}

// The header of one transfer, as the grid lists it.
struct Transfer {
    std::string number;  // IDTMngRefNo
    std::string date;
    std::string depot;
    bool out = false;
    DocumentTotals totals{TotalRounding::None};
};

class TransferBuilder : public DocumentBuilder {
public:
    explicit TransferBuilder(const ScreenContext& context) : context_(context) {}

    void Build(const ListedRow& row, LineTables& lines, BuiltDocument& built) override {
        DocumentRef& document = built.document;
        double net = row.RuleNumber(Column::IdtNetAmt);
        document.sourceTotal = net;
        if (net <= 0) {
            built.kind = BuiltDocument::Kind::Skip;
            built.reason = "net amount is 0 or less";
            return;
        }
        Transfer transfer;
        transfer.number = document.number;
        transfer.date = document.date;
        transfer.depot = document.party;
        transfer.out = row.Number(Column::StkMgmtTypeId) == kTransferOut;
        LineTable::Lines transferLines = lines[0]->WithText(transfer.number);
        SendVoucher(context_,
                    transfer.out ? TransferOut(transferLines, transfer)
                                 : TransferIn(transferLines, transfer),
                    built);
        document.amountSent = SettleToWhole(transfer.totals.Net()).amount;
    }

private:
    Voucher TransferIn(const LineTable::Lines& rows, Transfer& transfer) {
        std::vector<VoucherEntry> lines;
        for (LineRow row : rows) {
            TransferLine line = ReadTransferLine(row);
            AddToTotals(line, transfer.totals);
            const TaxAmounts& tax = line.tax;
            if (tax.cgst > 0 || tax.sgst > 0)
                inNature_ = "Purchase Taxable";
            else if (tax.igst > 0)
                inNature_ = "Interstate Purchase Taxable";
            else if (tax.utgst > 0)
                inNature_ = "Purchase Taxable";
            lines.push_back(BoughtStockLine(line.itemName, line.quantity, line.rate, line.gross,
                                            "GST Purchase", inNature_, line.gross));
        }
        Payable payable = SettleToWhole(transfer.totals.Net());

        Voucher voucher{.head = {.kind = VoucherKind::Purchase,
                                 .type = kInType,
                                 .date = transfer.date,
                                 .party = transfer.depot,
                                 .number = transfer.number}};
        std::vector<VoucherEntry>& entries = voucher.entries;
        entries.push_back(
            CreditedPartyEntry(EntryList::Ledger, transfer.depot, transfer.number, payable.amount));
        std::array<double, 4> taxes = TaxesOf(transfer.totals);
        for (size_t i = 0; i < kTaxLedgers.size(); ++i)
            entries.push_back(PurchaseDebitEntry(kTaxLedgers[i].first, taxes[i], "", 0));
        std::move(lines.begin(), lines.end(), std::back_inserter(entries));
        if (payable.roundOff < 0)
            entries.push_back(
                PurchaseCreditEntry(EntryList::Ledger, "Round Off", -payable.roundOff));
        else
            entries.push_back(PurchaseDebitEntry("Round Off", payable.roundOff, "", 0));
        return voucher;
    }

    static Voucher TransferOut(const LineTable::Lines& rows, Transfer& transfer) {
        std::string nature;  // starts afresh for every transfer out
        std::vector<VoucherEntry> lines;
        for (LineRow row : rows) {
            TransferLine line = ReadTransferLine(row);
            const TaxAmounts& tax = line.tax;
            double taxable = 0;
            if (tax.cgst > 0) {
                nature = "Sales Taxable";
                taxable = line.taxable.cgst;
            } else if (tax.sgst > 0) {
                nature = "Sales Taxable";
                taxable = line.taxable.sgst;
            } else if (tax.igst > 0) {
                nature = "Interstate Sales Taxable";
                taxable = line.taxable.igst;
            } else if (tax.utgst > 0) {
                nature = "Sales Taxable";
                taxable = line.taxable.utgst;
            }
            taxable = Round2(taxable);
            AddToTotals(line, transfer.totals);
            lines.push_back(SoldStockLine(line.itemName, line.quantity, line.rate, line.gross,
                                          "GST Sales", nature, taxable));
        }
        Payable payable = SettleToWhole(transfer.totals.Net());

        Voucher voucher{.head = {.kind = VoucherKind::Sales,
                                 .type = kOutType,
                                 .date = transfer.date,
                                 .party = transfer.depot,
                                 .number = transfer.number,
                                 .reference = transfer.number}};
        std::vector<VoucherEntry>& entries = voucher.entries;
        entries.push_back(
            SalesPartyEntry(EntryList::Ledger, transfer.depot, transfer.number, payable.amount));
        std::move(lines.begin(), lines.end(), std::back_inserter(entries));
        std::array<double, 4> taxes = TaxesOf(transfer.totals);
        for (size_t i = 0; i < kTaxLedgers.size(); ++i)
            entries.push_back(
                SalesLedgerEntry(EntryList::Ledger, kTaxLedgers[i].first, taxes[i], false));
        const bool debit = payable.roundOff < 0;
        entries.push_back(SalesLedgerEntry(EntryList::Ledger, "Round Off",
                                           debit ? -payable.roundOff : payable.roundOff, debit));
        return voucher;
    }

    const ScreenContext& context_;
    // The nature of the last taxed line of a transfer in; an untaxed line carries it, also into
    // the next transfers of the run.
    std::string inNature_;
};

LedgerFields DepotLedger(const Recordset& rs, const ScreenContext& context) {
    auto field = [&rs](const char* name) { return rs.Fields(name).Value(); };
    bool out = NumberField(rs, "StkMgmtTypeId") == kTransferOut;
    return LedgerFields{
        .strLedNm = TrimBlanks(field("SPMNAME")),
        .strParentNm = out ? context.DebtorGroup() : context.CreditorGroup(),
        .strAdd1 = field("SPMADD1"),
        .strAdd2 = field("SPMADD2"),
        .strAdd3 = field("SPMADD3"),
        .strContPerson = TrimBlanks(field("SpmContact")),
        .strTelNo = field("SpmPhone"),
        .strEmail = TrimBlanks(field("SpmEmail")),
        .blnMaintBill = true,
    };
}

class IdtDefinition : public ScreenDefinition {
public:
    const ScreenDesign& Design() const override { return design_; }
    std::string ColumnQuery(const DateRange& dates) const override {
        return IdtHeaderQuery(dates.from, dates.to);
    }
    std::string ListingQuery(const DateRange& dates) const override {
        return IdtHeaderQuery(dates.from, dates.to);
    }
    std::span<const char* const> ListingColumns() const override { return kColumns; }
    DocumentRef Describe(const ListedRow& row, const ScreenContext&) const override {
        return {.identity = row.Text(Column::IdtMngRefNo) + "/" + row.Text(Column::StkMgmtTypeId),
                .number = row.Text(Column::IdtMngRefNo),
                .date = row.Text(Column::IdtMngDate),
                .party = row.Text(Column::SpmName)};
    }
    std::vector<MasterStep> Masters(const ScreenContext& context,
                                    const DateRange& dates) const override {
        // A depot that both sent and received stock comes twice, once under each group. The
        // name is trimmed as the grid trims it, so that the vouchers find their ledger.
        return {FixedMastersStep("IDT masters", &IdtScreen::FixedMastersPayload),
                PartyLedgerStep(
                    IdtDepotQuery(dates.from, dates.to),
                    [](const Recordset& rs) { return TrimBlanks(rs.Fields("SPMNAME").Value()); },
                    [&context](const Recordset& rs) { return DepotLedger(rs, context); })};
    }
    std::vector<LineQuery> LineQueries(const DateRange& dates) const override {
        return {{IdtLineQuery(dates.from, dates.to), kLineColumns,
                 static_cast<size_t>(LineColumn::IdtMngRefNo)}};
    }
    std::unique_ptr<DocumentBuilder> StartRun(const ScreenContext& context,
                                              const Listing&) const override {
        return std::make_unique<TransferBuilder>(context);
    }

private:
    ScreenDesign design_{.name = "idt",
                         .title = "Import IDT Transaction",
                         .frameCaption = "Importing IDT",
                         .closingText = "IDT Transferrd"};
};

}  // namespace

const ScreenDefinition& IdtScreen::TheDefinition() {
    static const IdtDefinition definition;
    return definition;
}

std::string IdtScreen::FixedMastersPayload(TallyMaster& master) {
    std::string payload = StockGroupMaster(master);
    payload += GoodsLedgerMaster(master, "GST Purchase", "Purchase Accounts");
    payload += GoodsLedgerMaster(master, "GST Sales", "Sales Accounts");
    for (const auto& [name, dutyHead] : kTaxLedgers)
        payload += TaxLedgerMaster(master, name, dutyHead);
    for (const char* name : kDiscountLedgers)
        payload += PlainLedgerMaster(master, name, "Sales Accounts");
    payload += RoundOffMaster(master);
    std::string alias;
    payload += master.strVoucherType(kInType, alias, "Purchase");
    payload += master.strVoucherType(kOutType, alias, "Sales");
    return payload;
}

}  // namespace zentrail
