#include "screens/frm_t_credit_note.h"

#include <array>

#include "screens/customer_ledger.h"
#include "screens/document_rules.h"
#include "screens/document_totals.h"
#include "screens/field_number.h"
#include "screens/fixed_masters.h"
#include "screens/gst_bands.h"
#include "screens/queries/sales_return_queries.h"
#include "screens/sales_return.h"
#include "screens/screen_registry.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/vouchers/tally_credit_note_trn.h"

namespace zentrail {

namespace {

constexpr const char* kVoucherType = "Credit Note";
constexpr std::array<const char*, 3> kDiscountLedgers = {"Scheme Discount", "Special Discount",
                                                         "Cash Discount"};

}  // namespace

// The header of one return, as the grid lists it.
struct frmT_CreditNote::Return {
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

frmT_CreditNote::frmT_CreditNote(ScreenContext context)
    : TransferScreen(context, ScreenDesign("salesreturn")) {}

std::string frmT_CreditNote::ColumnQuery() const {
    return SalesReturnColumnQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_CreditNote::HeaderQuery() const {
    return SalesReturnListQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_CreditNote::FixedMastersPayload(TallyMaster& master) {
    std::string payload = SalesSideMasters(master, kDiscountLedgers);
    std::string alias;
    payload += master.strVoucherType(kVoucherType, alias, "Credit Note");
    return payload;
}

void frmT_CreditNote::ExportSteps() {
    TallyMaster master;
    SendMaster(Envelope(master, FixedMastersPayload(master)), "Credit note masters");
    SendCustomerLedgers(master, SalesReturnPartyQuery(dtpFrom.QueryText(), dtpTo.QueryText()),
                        CustomerColumns{.add1 = "RtrAdd1",
                                        .add2 = "RtrAdd2",
                                        .add3 = "RtrAdd3",
                                        .pin = "RtrPinNo",
                                        .compositionExactY = false});
    TallyCreditNoteTrn note;
    SendReturns(note);
}

frmT_CreditNote::Return frmT_CreditNote::ReadReturn(size_t row) {
    auto cell = [&](const char* field) { return ssdbgItem.Cell(row, field); };
    Return ret;
    ret.returnId = cell("ReturnID");
    ret.number = cell("ReturnCode");
    ret.date = cell("ReturnDate");
    ret.withInvoice = !cell("SalInvNo").empty();
    ret.reference = ret.withInvoice ? cell("SalInvNo") : ret.number;
    ret.referenceDate = ret.withInvoice ? cell("SalInvDate") : ret.date;
    ret.party = CustomerLedgerName(cell("RtrName"), cell("RtrId"), Context().config.blnLedgerId);
    ret.add1 = cell("RtrAdd1");
    ret.add2 = cell("RtrAdd2");
    ret.add3 = cell("RtrAdd3");
    ret.gstin = cell("GSTN");
    ret.state = CorrectStateName(cell("STat_Name"));
    ret.netInSource = RuleNumberCell(ssdbgItem, row, "RtnNetAmt");
    return ret;
}

void frmT_CreditNote::SendReturns(TallyCreditNoteTrn& note) {
    SourceDatabase& db = Context().db;
    db.strSQL = SalesReturnLineQuery(dtpFrom.QueryText(), dtpTo.QueryText());
    db.OpenRsMain(db.strSQL);

    WalkGrid(false, [&](size_t row) {
        DocumentRef document;
        document.number = ssdbgItem.Cell(row, "ReturnCode");
        ShowItem(document.number);
        try {
            Return ret = ReadReturn(row);
            document.date = ret.date;
            document.party = ret.party;
            document.sourceTotal = ret.netInSource;
            if (ret.netInSource <= 0) {
                SkipDocument(document, "net amount is 0 or less");
                return;
            }
            DocumentTotals totals(TotalRounding::None);
            std::string inventory = InventoryEntries(note, ret, totals);
            double partyAmount = totals.Net();
            document.amountSent = partyAmount;
            std::string request = ComposeVoucher(note, ret, inventory, totals, partyAmount);
            SendVoucher(request, document, static_cast<long>(row) + 1);
        } catch (const NotANumber& e) {
            note.strCrd_Alloc.clear();
            note.strCrd_Batch.clear();
            DocumentNotSent(document, std::string("Not sent: ") + e.what());
        }
    });
}

std::string frmT_CreditNote::InventoryEntries(TallyCreditNoteTrn& note, const Return& ret,
                                              DocumentTotals& totals) {
    std::string inventory;
    Recordset& rs = Context().db.rsMain;
    rs.Filter("");
    rs.Filter("[ReturnID] = " + ret.returnId);
    for (; !rs.Eof(); rs.MoveNext()) {
        ReturnLine line = ReadReturnLine(rs);
        if (!ret.withInvoice && MakeTaxInclusive(line) == InclusiveRate::QuantityZero)
            AppendLog("\r\nQuantity 0: rate written as 0 for " + line.itemName + " on return " +
                      ret.number);
        ReturnPosting posting = PostReturnLine(line, totals);
        note.strCrd_Alloc = note.strAccountAlloc(line.amounts.gross, posting.salesLedger, "", "",
                                                 posting.taxType, posting.taxable);
        note.strCrd_Batch = note.strBatchAlloc(line.quantity, line.rate, "Main Location",
                                               "Primary Batch", "PC", "", "", "");
        inventory +=
            note.strInvent_Crd(line.itemName, line.amounts.gross, line.quantity, "PC", line.rate,
                               "Main Location", "Primary Batch", "", "", "", "", "", "");
    }
    note.strCrd_Alloc.clear();
    note.strCrd_Batch.clear();
    return inventory;
}

std::string frmT_CreditNote::ComposeVoucher(TallyCreditNoteTrn& note, Return& ret,
                                            const std::string& inventory,
                                            const DocumentTotals& totals, double partyAmount) {
    std::string voucherType = kVoucherType, remarks, partyName, add4 = ret.state, add5;
    std::string text = note.strCreditNote_Head(
        voucherType, ret.date, ret.party, ret.number, ret.reference, remarks, partyName, "", false,
        ret.state, ret.gstin, ret.add1, ret.add2, ret.add3, add4, add5, ret.referenceDate);
    text += note.strCreditNote_Party(ret.party, ret.reference, partyAmount);
    text += inventory;
    const LineAmounts& sum = totals.Sum();
    const std::pair<const char*, double> discounts[] = {{"Scheme Discount", sum.scheme},
                                                        {"Special Discount", sum.special},
                                                        {"Cash Discount", sum.cash}};
    for (const auto& [name, amount] : discounts) {
        std::string ledger = name;
        text += note.strCreditNote_Dr_Sch(ledger, amount);
    }
    for (auto [ledger, amount] : totals.TaxLedgers()) text += note.strCreditNote_Dr(ledger, amount);
    text += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
    return Envelope(note, text);
}

}  // namespace zentrail
