#include "screens/receipt_screen.h"

#include "screens/customer_ledger.h"
#include "screens/document_rules.h"
#include "screens/master_steps.h"
#include "screens/queries/receipt_queries.h"
#include "screens/voucher_request.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/vouchers/voucher_entries.h"

namespace zentrail {

namespace {

constexpr const char* kVoucherType = "KVZ Receipt";
constexpr const char* kCashLedger = "Cash A/c";

enum class Column {
    InvRcpNo,
    InvRcpSNo,
    InvRcpDate,
    RtrName,
    RtrId,
    InvRcpAmt,
    RecdAmt,
    DistBank,
    InvInsNo,
    InvInsDate,
    CustBank,
    SalInvNo,
};
constexpr const char* kColumns[] = {"INVRCPNO", "INVRCPSNO",  "INVRCPDATE", "RTRNAME",
                                    "RTRID",    "INVRCPAMT",  "RECD_AMT",   "DIST_BANK",
                                    "INVINSNO", "INVINSDATE", "CUST_BANK",  "SALINVNO"};

// A voucher per settled invoice: the receipt number and its line serial name it.
class ReceiptVoucherBuilder : public DocumentBuilder {
public:
    explicit ReceiptVoucherBuilder(const ScreenContext& context) : context_(context) {}

    void Build(const ListedRow& row, LineTables&, BuiltDocument& built) override {
        if (row.RuleNumber(Column::InvRcpAmt) <= 0) {
            built.kind = BuiltDocument::Kind::Skip;
            built.reason = "receipt amount is 0 or less";
            return;
        }
        double amount = row.Number(Column::RecdAmt);
        built.document.amountSent = amount;
        SendVoucher(context_, ComposeVoucher(row, built.document.party, amount), built);
    }

private:
    static Voucher ComposeVoucher(const ListedRow& row, const std::string& party, double amount) {
        std::string ledger = kCashLedger, chequeNumber, chequeDate, customerBank;
        if (!row.Text(Column::DistBank).empty()) {
            ledger = row.Text(Column::DistBank);
            chequeNumber = row.Text(Column::InvInsNo);
            chequeDate = row.Text(Column::InvInsDate);
            customerBank = row.Text(Column::CustBank);
        }
        std::string narration = "Cheque Number - " + chequeNumber;
        // The line serial numbers the voucher; the receipt number as its reference keeps the
        // voucher key of each receipt line its own, so that two receipts of one customer on one
        // day whose lines share a serial do not replace each other in Tally.
        const std::string serial = row.Text(Column::InvRcpSNo);
        const std::string receiptNumber = row.Text(Column::InvRcpNo);
        const std::string date = row.Text(Column::InvRcpDate);
        Voucher voucher{.head = {.kind = VoucherKind::Receipt,
                                 .type = kVoucherType,
                                 .date = date,
                                 .party = party,
                                 .number = serial,
                                 .reference = receiptNumber,
                                 .remarks = narration}};
        voucher.entries.push_back(
            ReceiptPartyEntry(party, amount, row.Text(Column::SalInvNo), amount));
        voucher.entries.push_back(ReceiptDebitEntry(ledger, amount,
                                                    {.date = date,
                                                     .instrumentDate = chequeDate,
                                                     .name = serial,
                                                     .bankName = customerBank,
                                                     .chequeNumber = chequeNumber},
                                                    ""));
        return voucher;
    }

    const ScreenContext& context_;
};

class ReceiptDefinition : public ScreenDefinition {
public:
    const ScreenDesign& Design() const override { return design_; }
    std::string ColumnQuery(const DateRange& dates) const override {
        return ReceiptListQuery(dates.from, dates.to);
    }
    std::string ListingQuery(const DateRange& dates) const override {
        return ReceiptListQuery(dates.from, dates.to);
    }
    std::span<const char* const> ListingColumns() const override { return kColumns; }
    DocumentRef Describe(const ListedRow& row, const ScreenContext& context) const override {
        return {.identity = row.Text(Column::InvRcpNo) + "/" + row.Text(Column::InvRcpSNo),
                .number = row.Text(Column::InvRcpNo) + "/" + row.Text(Column::InvRcpSNo),
                .date = row.Text(Column::InvRcpDate),
                .party = CustomerLedgerName(row.Text(Column::RtrName), row.Text(Column::RtrId),
                                            context.config.blnLedgerId)};
    }
    std::vector<MasterStep> Masters(const ScreenContext& context,
                                    const DateRange& dates) const override {
        return {
            FixedMastersStep("Receipt masters", &ReceiptScreen::FixedMastersPayload),
            CustomerLedgerStep(ReceiptPartyQuery(dates.from, dates.to),
                               CustomerColumns{.add1 = "RtrAdd1",
                                               .add2 = "RtrAdd2",
                                               .add3 = "RtrAdd3",
                                               .pin = "RtrPinNo",
                                               .compositionExactY = false},
                               context),
            MasterStep{.caption = "Creating Bank Masters ",
                       .query = ReceiptBankQuery(),
                       .rowName = [](const Recordset& rs) { return rs.Fields("BnkName").Value(); },
                       .payload =
                           [](const Recordset* rs) {
                               TallyMaster master;
                               return master.strLedgerAcc(
                                   LedgerFields{.strLedNm = rs->Fields("BnkName").Value(),
                                                .strParentNm = "Bank Accounts"});
                           }}};
    }
    std::vector<LineQuery> LineQueries(const DateRange&) const override { return {}; }
    std::unique_ptr<DocumentBuilder> StartRun(const ScreenContext& context,
                                              const Listing&) const override {
        return std::make_unique<ReceiptVoucherBuilder>(context);
    }

private:
    ScreenDesign design_{.name = "receipt",
                         .title = "Import Receipt Transaction",
                         .frameCaption = "Importing Receipt",
                         .closingText = "Receipt Transferrd"};
};

}  // namespace

const ScreenDefinition& ReceiptScreen::TheDefinition() {
    static const ReceiptDefinition definition;
    return definition;
}

std::string ReceiptScreen::FixedMastersPayload(TallyMaster& master) {
    std::string payload =
        master.strLedgerAcc(LedgerFields{.strLedNm = kCashLedger, .strParentNm = "Cash-in-hand"});
    std::string alias;
    payload += master.strVoucherType(kVoucherType, alias, "Receipt");
    return payload;
}

}  // namespace zentrail
