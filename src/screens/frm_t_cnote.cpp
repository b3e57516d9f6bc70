#include "screens/frm_t_cnote.h"

#include <vector>

#include "screens/credit_note_adjustments.h"
#include "screens/customer_ledger.h"
#include "screens/document_rules.h"
#include "screens/field_number.h"
#include "screens/queries/credit_note_queries.h"
#include "screens/screen_registry.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/number_text.h"
#include "tally/vouchers/tally_credit_note_trn.h"

namespace zentrail {

namespace {

constexpr const char* kVoucherType = "KVZ Credit Note";

}  // namespace

frmT_CNote::frmT_CNote(ScreenContext context)
    : TransferScreen(context, ScreenDesign("creditnote")) {}

std::string frmT_CNote::ColumnQuery() const {
    return RetailerCreditNoteColumnQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_CNote::HeaderQuery() const {
    return RetailerCreditNoteHeaderQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

void frmT_CNote::ExportSteps() {
    TallyMaster master;
    std::string alias;
    SendMaster(Envelope(master, master.strVoucherType(kVoucherType, alias, "Credit Note")),
               kVoucherType);
    RunMasterStep(
        "Creating Party Masters ",
        RetailerCreditNotePartyQuery(dtpFrom.QueryText(), dtpTo.QueryText()), master,
        [](Recordset& rs) { return rs.Fields("RtrName").Value(); },
        [&](Recordset& rs) {
            return master.strLedgerAcc(CustomerAddressLedgerFields(rs, Context()));
        });
    RunMasterStep(
        "Creating Reason Master", CreditNoteReasonQuery(), master,
        [](Recordset& rs) { return rs.Fields("Description").Value(); },
        [&](Recordset& rs) {
            return master.strLedgerAcc(LedgerFields{.strLedNm = rs.Fields("Description").Value(),
                                                    .strParentNm = "Current Liabilities"});
        });
    TallyCreditNoteTrn note;
    SendNotes(note);
}

void frmT_CNote::SendNotes(TallyCreditNoteTrn& builder) {
    auto cell = [&](size_t row, const char* field) { return ssdbgItem.Cell(row, field); };
    std::vector<CreditNoteAdjustment> adjustments;
    for (size_t row = 0; row < ssdbgItem.RowCount(); ++row)
        adjustments.push_back(
            {cell(row, "CrNoteNumber"), cell(row, "SalInvNo"), cell(row, "SalInvDate")});
    const std::vector<size_t> carrier = RowsCarryingTheirNotes(adjustments);

    WalkGrid(true, [&](size_t row) {
        DocumentRef document;
        document.number = cell(row, "CrNoteNumber");
        ShowItem(document.number);
        try {
            document.date = cell(row, "CrNoteDate");
            document.party = CustomerLedgerName(cell(row, "RtrName"), cell(row, "RtrId"),
                                                Context().config.blnLedgerId);
            double amount = RoundHalfEven(RuleNumberCell(ssdbgItem, row, "CrAdjAmount"), 2);
            document.sourceTotal = amount;
            if (amount <= 0) {
                SkipDocument(document, "adjusted amount is 0 or less");
                return;
            }
            // The note's voucher goes once, with the row of its earliest invoice.
            size_t carrying = carrier[row];
            if (carrying != row) {
                SkipDocument(document, "credit note " + document.number +
                                           " is sent once, with invoice " +
                                           cell(carrying, "SalInvNo"));
                return;
            }
            std::string others;
            for (size_t other = 0; other < ssdbgItem.RowCount(); ++other)
                if (other != row && carrier[other] == row)
                    others += (others.empty() ? "" : ", ") + cell(other, "SalInvNo");
            if (!others.empty())
                AppendLog("\r\nCredited once with invoice " + cell(row, "SalInvNo") +
                          "; also adjusted against " + others + " " + document.number);

            bool hasInvoice = !cell(row, "SalInvNo").empty();
            std::string refNo = hasInvoice ? cell(row, "SalInvNo") : document.number;
            std::string refDate = hasInvoice ? cell(row, "SalInvDate") : document.date;
            std::string voucherType = kVoucherType, party = document.party,
                        number = document.number, remarks = cell(row, "Remarks"), buyerName,
                        add1 = cell(row, "RTRADD1"), add2 = cell(row, "RTRADD2"),
                        add3 = cell(row, "RTRADD3"), add4, add5, reason = cell(row, "Description");
            std::string text = builder.strCreditNote_Head(
                voucherType, document.date, party, number, refNo, remarks, buyerName, "", false, "",
                "", add1, add2, add3, add4, add5, refDate);
            text += builder.strCNote_Party_Vch(party, refNo, amount);
            text += builder.strCreditNote_Dr_Vch(reason, amount);
            text += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
            document.amountSent = amount;
            SendVoucher(Envelope(builder, text), document, static_cast<long>(row) + 1);
        } catch (const NotANumber& e) {
            DocumentNotSent(document, std::string("Not sent: ") + e.what());
        }
    });
}

}  // namespace zentrail
