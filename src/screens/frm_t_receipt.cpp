#include "screens/frm_t_receipt.h"

#include <stdexcept>

#include "screens/customer_ledger.h"
#include "screens/document_rules.h"
#include "screens/field_number.h"
#include "screens/queries/receipt_queries.h"
#include "screens/screen_registry.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/vouchers/tally_receipt_trn.h"

namespace zentrail {

namespace {

constexpr const char* kVoucherType = "KVZ Receipt";
constexpr const char* kCashLedger = "Cash A/c";

}  // namespace

frmT_Receipt::frmT_Receipt(ScreenContext context)
    : TransferScreen(context, ScreenDesign("receipt")) {}

std::string frmT_Receipt::ColumnQuery() const {
    return ReceiptListQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_Receipt::HeaderQuery() const {
    return ReceiptListQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_Receipt::FixedMastersPayload(TallyMaster& master) {
    std::string payload =
        master.strLedgerAcc(LedgerFields{.strLedNm = kCashLedger, .strParentNm = "Cash-in-hand"});
    std::string alias;
    payload += master.strVoucherType(kVoucherType, alias, "Receipt");
    return payload;
}

void frmT_Receipt::ExportSteps() {
    TallyMaster master;
    SendMaster(Envelope(master, FixedMastersPayload(master)), "Receipt masters");
    SendCustomerLedgers(master, ReceiptPartyQuery(dtpFrom.QueryText(), dtpTo.QueryText()),
                        CustomerColumns{.add1 = "RtrAdd1",
                                        .add2 = "RtrAdd2",
                                        .add3 = "RtrAdd3",
                                        .pin = "RtrPinNo",
                                        .compositionExactY = false});
    SendBankLedgers(master);
    TallyReceiptTrn receipt;
    SendReceipts(receipt);
}

void frmT_Receipt::SendBankLedgers(TallyMaster& master) {
    RunMasterStep(
        "Creating Bank Masters ", ReceiptBankQuery(), master,
        [](Recordset& rs) { return rs.Fields("BnkName").Value(); },
        [&](Recordset& rs) {
            return master.strLedgerAcc(LedgerFields{.strLedNm = rs.Fields("BnkName").Value(),
                                                    .strParentNm = "Bank Accounts"});
        });
}

void frmT_Receipt::SendReceipts(TallyReceiptTrn& receipt) {
    WalkGrid(false, [&](size_t row) {
        auto cell = [&](const char* field) { return ssdbgItem.Cell(row, field); };
        // A voucher per settled invoice: the receipt number and its line serial name it.
        DocumentRef document;
        document.number = cell("INVRCPNO") + "/" + cell("INVRCPSNO");
        document.date = cell("INVRCPDATE");
        document.party =
            CustomerLedgerName(cell("RTRNAME"), cell("RTRID"), Context().config.blnLedgerId);
        ShowItem(cell("INVRCPNO"));
        try {
            if (RuleNumberCell(ssdbgItem, row, "INVRCPAMT") <= 0) {
                SkipDocument(document, "receipt amount is 0 or less");
                return;
            }
            double amount = NumberCell(ssdbgItem, row, "RECD_AMT");
            document.amountSent = amount;
            std::string request = ComposeVoucher(receipt, row, document.party, amount);
            SendVoucher(request, document, static_cast<long>(row) + 1);
        } catch (const NotANumber& e) {
            receipt.strReceipt_Bil_Alloc.clear();
            DocumentNotSent(document, std::string("Not sent: ") + e.what());
        } catch (const std::invalid_argument& e) {
            receipt.strReceipt_Bil_Alloc.clear();
            DocumentNotSent(document, std::string("Not sent: receipt date '") + cell("INVRCPDATE") +
                                          "' is not a date");
        }
    });
}

std::string frmT_Receipt::ComposeVoucher(TallyReceiptTrn& receipt, size_t row,
                                         const std::string& party, double amount) {
    auto cell = [&](const char* field) { return ssdbgItem.Cell(row, field); };
    std::string ledger = kCashLedger, chequeNumber, chequeDate, customerBank;
    if (!cell("DIST_BANK").empty()) {
        ledger = cell("DIST_BANK");
        chequeNumber = cell("INVINSNO");
        chequeDate = cell("INVINSDATE");
        customerBank = cell("CUST_BANK");
    }
    std::string narration = "Cheque Number - " + chequeNumber;
    // The line serial numbers the voucher; the receipt number as its reference keeps the
    // voucher key of each receipt line its own, so that two receipts of one customer on one day
    // whose lines share a serial do not replace each other in Tally.
    const std::string serial = cell("INVRCPSNO");
    const std::string receiptNumber = cell("INVRCPNO");
    receipt.strReceipt_Bil_Alloc.clear();
    receipt.strReceipt_Bil_Alloc = receipt.strReceipt_BillAlloc(cell("SALINVNO"), amount);
    std::string voucherType = kVoucherType, partyName = party;
    std::string text = receipt.strReceipt_Head(voucherType, cell("INVRCPDATE"), partyName, serial,
                                               receiptNumber, narration, "R", false);
    text += receipt.strReceipt_Party(partyName, amount);
    text += receipt.strReceipt_Dr(ledger, amount, cell("INVRCPDATE"), chequeDate, customerBank,
                                  chequeNumber, "", serial);
    text += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
    receipt.strReceipt_Bil_Alloc.clear();
    return Envelope(receipt, text);
}

}  // namespace zentrail
