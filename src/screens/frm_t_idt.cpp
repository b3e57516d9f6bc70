#include "screens/frm_t_idt.h"

#include <array>

#include "screens/document_totals.h"
#include "screens/field_number.h"
#include "screens/filter_text.h"
#include "screens/fixed_masters.h"
#include "screens/queries/idt_queries.h"
#include "screens/screen_registry.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/number_text.h"
#include "tally/vouchers/tally_purch_trn.h"
#include "tally/vouchers/tally_sale_trn.h"
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

TransferLine ReadTransferLine(Recordset& rs) {
    auto amount = [&rs](const char* field) { return Round2(NumberField(rs, field)); };
    TransferLine line;
    line.itemName = rs.Fields("PrdCCode").Value() + "_" + rs.Fields("PrdId").Value();
    line.quantity = NumberField(rs, "Qty");
    line.rate = amount("PrdUnitRate");
    line.gross = amount("PrdGrossAmount");
    line.tax = {amount("CGST_AMT"), amount("SGST_AMT"), amount("IGST_AMT"), amount("UTGST_AMT")};
    line.taxable = {NumberField(rs, "CGST_TAXABLE"), NumberField(rs, "SGST_TAXABLE"),
                    NumberField(rs, "IGST_TAXABLE"), NumberField(rs, "UTGST_TAXABLE")};
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

}  // namespace

// The header of one transfer, as the grid lists it.
struct frmT_IDT::Transfer {
    std::string number;  // IDTMngRefNo
    std::string date;
    std::string depot;
    bool out = false;
    DocumentTotals totals{TotalRounding::None};
};

frmT_IDT::frmT_IDT(ScreenContext context) : TransferScreen(context, ScreenDesign("idt")) {}

std::string frmT_IDT::ColumnQuery() const {
    return IdtHeaderQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_IDT::HeaderQuery() const {
    return IdtHeaderQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_IDT::FixedMastersPayload(TallyMaster& master) {
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

void frmT_IDT::ExportSteps() {
    TallyMaster master;
    SendMaster(Envelope(master, FixedMastersPayload(master)), "IDT masters");
    SendDepotLedgers(master);
    TallyPurchTrn purchase;
    TallySaleTrn sale;
    SendTransfers(purchase, sale);
}

void frmT_IDT::SendDepotLedgers(TallyMaster& master) {
    // A depot that both sent and received stock comes twice, once under each group. The name
    // is trimmed as the grid trims it, so that the vouchers find their ledger.
    RunMasterStep(
        "Creating Party Masters ", IdtDepotQuery(dtpFrom.QueryText(), dtpTo.QueryText()), master,
        [](Recordset& rs) { return TrimBlanks(rs.Fields("SPMNAME").Value()); },
        [&](Recordset& rs) {
            auto field = [&rs](const char* name) { return rs.Fields(name).Value(); };
            bool out = NumberField(rs, "StkMgmtTypeId") == kTransferOut;
            return master.strLedgerAcc(LedgerFields{
                .strLedNm = TrimBlanks(field("SPMNAME")),
                .strParentNm = out ? Context().DebtorGroup() : Context().CreditorGroup(),
                .strAdd1 = field("SPMADD1"),
                .strAdd2 = field("SPMADD2"),
                .strAdd3 = field("SPMADD3"),
                .strContPerson = TrimBlanks(field("SpmContact")),
                .strTelNo = field("SpmPhone"),
                .strEmail = TrimBlanks(field("SpmEmail")),
                .blnMaintBill = true,
            });
        });
}

void frmT_IDT::SendTransfers(TallyPurchTrn& purchase, TallySaleTrn& sale) {
    SourceDatabase& db = Context().db;
    db.strSQL = IdtLineQuery(dtpFrom.QueryText(), dtpTo.QueryText());
    db.OpenRsMain(db.strSQL);

    WalkGrid(false, [&](size_t row) {
        DocumentRef document;
        document.number = ssdbgItem.Cell(row, "IDTMngRefNo");
        document.date = ssdbgItem.Cell(row, "IDTMngDate");
        document.party = ssdbgItem.Cell(row, "SpmName");
        ShowItem(document.number);
        try {
            double net = RuleNumberCell(ssdbgItem, row, "IDTNetAmt");
            document.sourceTotal = net;
            if (net <= 0) {
                SkipDocument(document, "net amount is 0 or less");
                return;
            }
            Transfer transfer;
            transfer.number = document.number;
            transfer.date = document.date;
            transfer.depot = document.party;
            transfer.out = NumberCell(ssdbgItem, row, "StkMgmtTypeId") == kTransferOut;
            std::string request =
                transfer.out ? TransferOut(sale, transfer) : TransferIn(purchase, transfer);
            document.amountSent = SettleToWhole(transfer.totals.Net()).amount;
            SendVoucher(request, document, static_cast<long>(row) + 1);
        } catch (const NotANumber& e) {
            sale.strSale_Alloc.clear();
            sale.strSale_Batch.clear();
            DocumentNotSent(document, std::string("Not sent: ") + e.what());
        }
    });
}

std::string frmT_IDT::TransferIn(TallyPurchTrn& purchase, Transfer& transfer) {
    Recordset& rs = Context().db.rsMain;
    rs.Filter(FilterEquals("IDTMngRefNo", transfer.number));
    std::string lines;
    for (; !rs.Eof(); rs.MoveNext()) {
        TransferLine line = ReadTransferLine(rs);
        AddToTotals(line, transfer.totals);
        const TaxAmounts& tax = line.tax;
        if (tax.cgst > 0 || tax.sgst > 0)
            inNature_ = "Purchase Taxable";
        else if (tax.igst > 0)
            inNature_ = "Interstate Purchase Taxable";
        else if (tax.utgst > 0)
            inNature_ = "Purchase Taxable";
        lines += purchase.strInvent_Purchase(line.itemName, line.gross, line.quantity, "PC",
                                             line.rate, "Main Location", "Primary Batch",
                                             "GST Purchase", inNature_, line.gross);
    }
    Payable payable = SettleToWhole(transfer.totals.Net());

    std::string voucherType = kInType, refNo, remarks, referenceDate;
    std::string text =
        purchase.strPurchase_Head(voucherType, transfer.date, transfer.depot, transfer.number,
                                  refNo, remarks, referenceDate, "", "", "", "", "");
    text += purchase.strPurchase_Party(transfer.depot, transfer.number, payable.amount);
    std::array<double, 4> taxes = TaxesOf(transfer.totals);
    for (size_t i = 0; i < kTaxLedgers.size(); ++i) {
        std::string ledger = kTaxLedgers[i].first;
        text += purchase.strPurchase_Dr(ledger, taxes[i], "", 0);
    }
    text += lines;
    std::string roundOff = "Round Off";
    if (payable.roundOff < 0)
        text += purchase.strPurchase_Cr(roundOff, -payable.roundOff);
    else
        text += purchase.strPurchase_Dr(roundOff, payable.roundOff, "", 0);
    text += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
    return Envelope(purchase, text);
}

std::string frmT_IDT::TransferOut(TallySaleTrn& sale, Transfer& transfer) {
    Recordset& rs = Context().db.rsMain;
    rs.Filter(FilterEquals("IDTMngRefNo", transfer.number));
    std::string nature;  // starts afresh for every transfer out
    std::string lines;
    for (; !rs.Eof(); rs.MoveNext()) {
        TransferLine line = ReadTransferLine(rs);
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
        sale.strSale_Alloc =
            sale.strAccountAlloc(line.gross, "GST Sales", "", "", nature, taxable, taxable);
        sale.strSale_Batch = sale.strBatchAlloc(line.quantity, line.rate, "Main Location",
                                                "Primary Batch", "PC", "", "", "");
        lines += sale.strInvent_Sales(line.itemName, line.gross, line.quantity, "PC", line.rate,
                                      "Main Location", "Primary Batch", "", "", "", "", "", "");
    }
    sale.strSale_Alloc.clear();
    sale.strSale_Batch.clear();
    Payable payable = SettleToWhole(transfer.totals.Net());

    std::string voucherType = kOutType, refNo = transfer.number, remarks, partyName, add1, add2,
                add3, add4, add5;
    std::string text =
        sale.strSale_Head(voucherType, transfer.date, transfer.depot, transfer.number, refNo,
                          remarks, partyName, "", false, "", "", add1, add2, add3, add4, add5);
    text += sale.strSale_Party(transfer.depot, transfer.number, payable.amount);
    text += lines;
    std::array<double, 4> taxes = TaxesOf(transfer.totals);
    for (size_t i = 0; i < kTaxLedgers.size(); ++i) {
        std::string ledger = kTaxLedgers[i].first;
        text += sale.strSale_Cr(ledger, taxes[i]);
    }
    std::string roundOff = "Round Off";
    if (payable.roundOff < 0)
        text += sale.strSale_Dr(roundOff, -payable.roundOff);
    else
        text += sale.strSale_Cr(roundOff, payable.roundOff);
    text += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
    return Envelope(sale, text);
}

}  // namespace zentrail
