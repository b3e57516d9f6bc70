#include "screens/frm_t_purchase.h"

#include <array>

#include "screens/document_rules.h"
#include "screens/field_number.h"
#include "screens/filter_text.h"
#include "screens/fixed_masters.h"
#include "screens/gst_bands.h"
#include "screens/purchase_receipt.h"
#include "screens/queries/purchase_queries.h"
#include "screens/screen_registry.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/vouchers/tally_purch_trn.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

constexpr const char* kVoucherType = "KVZ Purchase";
constexpr std::array<int, 5> kPurchaseLedgerBands = {5, 12, 18, 28, 0};
constexpr std::array<const char*, 3> kDiscountLedgers = {
    "Scheme Discount Purch", "Special Discount Purch", "Cash Discount Purch"};

}  // namespace

// The header of one receipt, as the grid lists it.
struct frmT_Purchase::Receipt {
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

frmT_Purchase::frmT_Purchase(ScreenContext context)
    : TransferScreen(context, ScreenDesign("purchase")) {}

std::string frmT_Purchase::ColumnQuery() const {
    return PurchaseReceiptColumnQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_Purchase::HeaderQuery() const {
    return PurchaseReceiptHeaderQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_Purchase::FixedMastersPayload(TallyMaster& master) {
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

void frmT_Purchase::ExportSteps() {
    TallyMaster master;
    SendMaster(Envelope(master, FixedMastersPayload(master)), "Purchase masters");
    SendSupplierLedgers(master);
    TallyPurchTrn purchase;
    SendReceipts(purchase);
}

void frmT_Purchase::SendSupplierLedgers(TallyMaster& master) {
    // The name is trimmed as the grid trims it, so that the vouchers find their ledger.
    RunMasterStep(
        "Creating Party Masters ", PurchaseSupplierQuery(dtpFrom.QueryText(), dtpTo.QueryText()),
        master, [](Recordset& rs) { return TrimBlanks(rs.Fields("SPMNAME").Value()); },
        [&](Recordset& rs) {
            auto field = [&rs](const char* name) { return rs.Fields(name).Value(); };
            std::string state = CorrectStateName(TrimBlanks(field("STATE_NAME")));
            return master.strLedgerAcc(LedgerFields{
                .strLedNm = TrimBlanks(field("SPMNAME")),
                .strParentNm = Context().CreditorGroup(),
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
            });
        });
}

frmT_Purchase::Receipt frmT_Purchase::ReadReceipt(size_t row) const {
    auto cell = [&](const char* field) { return ssdbgItem.Cell(row, field); };
    Receipt receipt;
    receipt.id = cell("PurRcptId");
    receipt.number = cell("PurRcptRefNo");
    receipt.date = cell("InvDate");
    receipt.supplier = cell("SpmName");
    receipt.supplierInvoice = cell("CmpInvNo");
    receipt.gstin = cell("GSTN");
    receipt.state = CorrectStateName(cell("STATE_NAME"));
    receipt.net = RuleNumberCell(ssdbgItem, row, "NetAmount");
    receipt.netPayable = NumberCell(ssdbgItem, row, "NetPayable");
    return receipt;
}

void frmT_Purchase::SendReceipts(TallyPurchTrn& purchase) {
    SourceDatabase& db = Context().db;
    db.strSQL = PurchaseReceiptLineQuery(dtpFrom.QueryText(), dtpTo.QueryText());
    db.OpenRsMain(db.strSQL);
    db.strSQL = PurchaseClaimSchemeQuery(dtpFrom.QueryText(), dtpTo.QueryText());
    db.OpenRsSecond(db.strSQL);

    WalkGrid(false, [&](size_t row) {
        DocumentRef document;
        document.number = ssdbgItem.Cell(row, "PurRcptRefNo");
        document.date = ssdbgItem.Cell(row, "InvDate");
        document.party = ssdbgItem.Cell(row, "SpmName");
        ShowItem(document.number);
        try {
            Receipt receipt = ReadReceipt(row);
            document.sourceTotal = receipt.netPayable;
            if (receipt.net <= 0) {
                SkipDocument(document, "net amount is 0 or less");
                return;
            }
            PurchaseTotals totals;
            std::string stock = StockLines(purchase, receipt, totals);
            Payable payable = SettleToWhole(totals.Net());
            document.amountSent = payable.amount;

            std::string voucherType = kVoucherType, remarks, supplierInvoiceDate = receipt.date;
            std::string text = purchase.strPurchase_Head(
                voucherType, receipt.date, receipt.supplier, receipt.number,
                receipt.supplierInvoice, remarks, supplierInvoiceDate, "", "", "", receipt.state,
                receipt.gstin);
            text += purchase.strPurchase_Party(receipt.supplier, receipt.number, payable.amount);
            // The discounts are debits of negative amounts: Tally reads the doubled sign as a
            // credit.
            const double discounts[] = {totals.SchemeDiscount(), 0, 0};
            for (size_t i = 0; i < kDiscountLedgers.size(); ++i) {
                std::string ledger = kDiscountLedgers[i];
                text += purchase.strPurchase_Dr(ledger, discounts[i] * -1, "", 0);
            }
            for (auto [ledger, amount] : totals.TaxLedgers())
                text += purchase.strPurchase_Dr(ledger, amount, "", 0);
            text += stock;
            text += ClaimSchemeLines(purchase, receipt);
            std::string roundOff = "Round Off";
            if (payable.roundOff < 0)
                text += purchase.strPurchase_Cr(roundOff, -payable.roundOff);
            else
                text += purchase.strPurchase_Dr(roundOff, payable.roundOff, "", 0);
            text += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
            SendVoucher(Envelope(purchase, text), document, static_cast<long>(row) + 1);
        } catch (const NotANumber& e) {
            DocumentNotSent(document, std::string("Not sent: ") + e.what());
        }
    });
}

std::string frmT_Purchase::StockLines(TallyPurchTrn& purchase, const Receipt& receipt,
                                      PurchaseTotals& totals) {
    Recordset& rs = Context().db.rsMain;
    rs.Filter("");
    rs.Filter(FilterEqualsId("PurRcptId", receipt.id));
    std::string lines;
    for (; !rs.Eof(); rs.MoveNext()) {
        PurchaseLine line = ReadPurchaseLine(rs);
        PurchasePosting posting = PostingOf(line);
        gstNature_ = PurchaseNature(line);
        totals.AddLine(line, posting.band);
        lines += purchase.strInvent_Purchase(
            line.itemName, line.gross, line.quantity, "PC", line.rate, "Main Location",
            "Primary Batch", posting.purchaseLedger, gstNature_, line.gross - line.discount);
    }
    return lines;
}

std::string frmT_Purchase::ClaimSchemeLines(TallyPurchTrn& purchase, const Receipt& receipt) {
    Recordset& rs = Context().db.rsSecond;
    rs.Filter(FilterEqualsId("PurRcptId", receipt.id));
    std::string lines;
    for (; !rs.Eof(); rs.MoveNext()) {
        std::string itemName = rs.Fields("PrdCCode").Value() + "_" + rs.Fields("PrdId").Value();
        lines += purchase.strInvent_Purchase(itemName, 0, NumberField(rs, "Quantity"), "PC", 0,
                                             "Main Location", "Primary Batch", "GST Purchase 0%",
                                             gstNature_, 0);
    }
    return lines;
}

}  // namespace zentrail
