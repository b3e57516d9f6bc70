#include "screens/retailer_credit_note_screen.h"

#include <vector>

#include "screens/credit_note_adjustments.h"
#include "screens/customer_ledger.h"
#include "screens/document_rules.h"
#include "screens/master_steps.h"
#include "screens/queries/credit_note_queries.h"
#include "screens/voucher_request.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/number_text.h"
#include "tally/vouchers/voucher_entries.h"

namespace zentrail {

namespace {

constexpr const char* kVoucherType = "KVZ Credit Note";

enum class Column {
    CrNoteNumber,
    CrNoteDate,
    SalInvNo,
    SalInvDate,
    RtrName,
    RtrId,
    CrAdjAmount,
    Remarks,
    RtrAdd1,
    RtrAdd2,
    RtrAdd3,
    Description,
};
constexpr const char* kColumns[] = {"CrNoteNumber", "CrNoteDate", "SalInvNo",    "SalInvDate",
                                    "RtrName",      "RtrId",      "CrAdjAmount", "Remarks",
                                    "RTRADD1",      "RTRADD2",    "RTRADD3",     "Description"};

class NoteBuilder : public DocumentBuilder {
public:
    NoteBuilder(const ScreenContext& context, const Listing& listing) : context_(context) {
        std::vector<CreditNoteAdjustment> adjustments;
        for (size_t row = 0; row < listing.RowCount(); ++row) {
            ListedRow listed = listing.Row(row);
            invoices_.push_back(listed.Text(Column::SalInvNo));
            adjustments.push_back({listed.Text(Column::CrNoteNumber), invoices_.back(),
                                   listed.Text(Column::SalInvDate)});
        }
        carrier_ = RowsCarryingTheirNotes(adjustments);
    }

    void Build(const ListedRow& row, LineTables&, BuiltDocument& built) override {
        DocumentRef& document = built.document;
        double amount = RoundHalfEven(row.RuleNumber(Column::CrAdjAmount), 2);
        document.sourceTotal = amount;
        if (amount <= 0) {
            built.kind = BuiltDocument::Kind::Skip;
            built.reason = "adjusted amount is 0 or less";
            return;
        }
        // The note's voucher goes once, with the row of its earliest invoice.
        const size_t at = row.Index();
        const size_t carrying = carrier_[at];
        if (carrying != at) {
            built.kind = BuiltDocument::Kind::Skip;
            built.reason = "credit note " + document.number + " is sent once, with invoice " +
                           invoices_[carrying];
            return;
        }
        std::string others;
        for (size_t other = 0; other < carrier_.size(); ++other)
            if (other != at && carrier_[other] == at)
                others += (others.empty() ? "" : ", ") + invoices_[other];
        if (!others.empty())
            built.notes.push_back("Credited once with invoice " + invoices_[at] +
                                  "; also adjusted against " + others + " " + document.number);

        bool hasInvoice = !invoices_[at].empty();
        std::string refNo = hasInvoice ? invoices_[at] : document.number;
        std::string refDate = hasInvoice ? row.Text(Column::SalInvDate) : document.date;
        Voucher voucher{.head = {.kind = VoucherKind::CreditNote,
                                 .type = kVoucherType,
                                 .date = document.date,
                                 .party = document.party,
                                 .number = document.number,
                                 .reference = refNo,
                                 .remarks = row.Text(Column::Remarks),
                                 .address = {row.Text(Column::RtrAdd1), row.Text(Column::RtrAdd2),
                                             row.Text(Column::RtrAdd3), "", ""},
                                 .referenceDate = refDate}};
        voucher.entries.push_back(
            CreditedPartyEntry(EntryList::AllLedger, document.party, refNo, amount));
        voucher.entries.push_back(CreditNoteLedgerEntry(
            EntryList::AllLedger, row.Text(Column::Description), amount, true));
        document.amountSent = amount;
        SendVoucher(context_, std::move(voucher), built);
    }

private:
    const ScreenContext& context_;
    std::vector<std::string> invoices_;  // SalInvNo of every listed row
    std::vector<size_t> carrier_;        // the row that carries each row's note
};

class RetailerCreditNoteDefinition : public ScreenDefinition {
public:
    const ScreenDesign& Design() const override { return design_; }
    std::string ColumnQuery(const DateRange& dates) const override {
        return RetailerCreditNoteColumnQuery(dates.from, dates.to);
    }
    std::string ListingQuery(const DateRange& dates) const override {
        return RetailerCreditNoteHeaderQuery(dates.from, dates.to);
    }
    std::span<const char* const> ListingColumns() const override { return kColumns; }
    DocumentRef Describe(const ListedRow& row, const ScreenContext& context) const override {
        return {.identity = row.Text(Column::CrNoteNumber) + "/" + row.Text(Column::SalInvNo),
                .number = row.Text(Column::CrNoteNumber),
                .date = row.Text(Column::CrNoteDate),
                .party = CustomerLedgerName(row.Text(Column::RtrName), row.Text(Column::RtrId),
                                            context.config.blnLedgerId)};
    }
    std::vector<MasterStep> Masters(const ScreenContext& context,
                                    const DateRange& dates) const override {
        return {MasterStep{.name = kVoucherType,
                           .payload =
                               [](const Recordset*) {
                                   TallyMaster master;
                                   std::string alias;
                                   return master.strVoucherType(kVoucherType, alias, "Credit Note");
                               }},
                PartyLedgerStep(
                    RetailerCreditNotePartyQuery(dates.from, dates.to),
                    [](const Recordset& rs) { return rs.Fields("RtrName").Value(); },
                    [&context](const Recordset& rs) {
                        return CustomerAddressLedgerFields(rs, context);
                    }),
                MasterStep{
                    .caption = "Creating Reason Master",
                    .query = CreditNoteReasonQuery(),
                    .rowName = [](const Recordset& rs) { return rs.Fields("Description").Value(); },
                    .payload =
                        [](const Recordset* rs) {
                            TallyMaster master;
                            return master.strLedgerAcc(
                                LedgerFields{.strLedNm = rs->Fields("Description").Value(),
                                             .strParentNm = "Current Liabilities"});
                        }}};
    }
    std::vector<LineQuery> LineQueries(const DateRange&) const override { return {}; }
    std::unique_ptr<DocumentBuilder> StartRun(const ScreenContext& context,
                                              const Listing& listing) const override {
        return std::make_unique<NoteBuilder>(context, listing);
    }

private:
    ScreenDesign design_{.name = "creditnote",
                         .title = "Import Credit Note Transaction",
                         .frameCaption = "Importing Credit Note",
                         .closingText = "Credit Note Transferrd"};
};

}  // namespace

const ScreenDefinition& RetailerCreditNoteScreen::TheDefinition() {
    static const RetailerCreditNoteDefinition definition;
    return definition;
}

}  // namespace zentrail
