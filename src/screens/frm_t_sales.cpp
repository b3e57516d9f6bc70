#include "screens/frm_t_sales.h"

#include "screens/document_rules.h"
#include "screens/queries/sales_queries.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/number_text.h"
#include "tally/vouchers/tally_sale_trn.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

constexpr const char* kVoucherType = "KVZ Sales";
constexpr std::array<int, 4> kBandsInMasterOrder = {18, 28, 12, 5};
constexpr std::array<int, 4> kBandsInVoucherOrder = {5, 12, 18, 28};
constexpr std::array<const char*, 5> kSalesLedgers = {
    "GST Sales 5%", "GST Sales 12%", "GST Sales 18%", "GST Sales 28%", "GST Sales 0%"};
constexpr std::array<const char*, 5> kDiscountLedgers = {
    "Scheme Discount", "Special Discount", "Cash Discount", "DB Discount", "Window Display"};

double Round2(double value) { return RoundHalfEven(value, 2); }

double Number(std::string_view text) { return ReadNumber(text); }

}  // namespace

// Running totals of one invoice, each kept to two decimals.
struct frmT_Sales::InvoiceTotals {
    double gross = 0, scheme = 0, special = 0, cash = 0, db = 0;
    double cgst = 0, sgst = 0, igst = 0, utgst = 0;
    std::map<std::string, double> byTaxLedger;

    static void Add(double& total, double amount) { total = Round2(total + amount); }
};

frmT_Sales::frmT_Sales(ScreenContext context)
    : TransferScreen(context, Design{"Import Sales Transaction", "Importing Sales",
                                     "Sales Transferrd", true, true}) {}

std::string frmT_Sales::ColumnQuery() const {
    return SalesInvoiceColumnQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_Sales::HeaderQuery() const {
    return SalesInvoiceHeaderQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_Sales::FixedMastersPayload(TallyMaster& master) {
    std::string payload;
    std::string group = "KVZ Products";
    std::string groupParent;
    payload += master.strItemGroup(group, groupParent);
    for (const char* name : kSalesLedgers) {
        std::string ledger = name, alias, parent = "Sales Accounts";
        double zero1 = 0, zero2 = 0, zero3 = 0;
        payload += master.strLedSalesAcc(ledger, alias, parent, "", "Goods", zero1, zero2, zero3);
    }
    for (int band : kBandsInMasterOrder) {
        BandLedgers ledgers = SalesBandLedgers(band);
        const std::pair<std::string, const char*> taxes[] = {{ledgers.cgst, "Central Tax"},
                                                             {ledgers.sgst, "State Tax"},
                                                             {ledgers.igst, "Integrated Tax"},
                                                             {ledgers.utgst, "UT Tax"}};
        for (const auto& [name, dutyHead] : taxes)
            payload += master.strLedgerAcc(LedgerFields{
                .strLedNm = name, .strParentNm = "Duties & Taxes", .strDutyHead = dutyHead});
    }
    for (const char* name : kDiscountLedgers)
        payload +=
            master.strLedgerAcc(LedgerFields{.strLedNm = name, .strParentNm = "Sales Accounts"});
    payload += master.strLedgerAcc(
        LedgerFields{.strLedNm = "Round Off", .strParentNm = "Indirect Expenses"});
    std::string alias;
    payload += master.strVoucherType(kVoucherType, alias, "Sales");
    return payload;
}

void frmT_Sales::ExportSteps() {
    TallyMaster master;
    SendMaster(master, Envelope(master, FixedMastersPayload(master)), "Sales masters");
    SendPartyMasters(master);
    TallySaleTrn sale;
    SendInvoices(sale);
}

void frmT_Sales::SendPartyMasters(TallyMaster& master) {
    const Configuration& config = Context().config;
    std::string debtorGroup = Context().DebtorGroup();
    RunMasterStep(
        "Creating Party Masters ", SalesPartyQuery(dtpFrom.QueryText(), dtpTo.QueryText()), master,
        [](Recordset& rs) { return rs.Fields("RtrName").Value(); },
        [&](Recordset& rs) {
            auto field = [&rs](const char* name) { return rs.Fields(name).Value(); };
            std::string state = CorrectStateName(TrimBlanks(field("STat_Name")));
            std::string compos = TrimBlanks(field("COMPOS"));
            for (char& c : compos)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            LedgerFields party{
                .strLedNm =
                    CustomerLedgerName(field("RtrName"), field("RtrId"), config.blnLedgerId),
                .strParentNm = debtorGroup,
                .strAdd1 = field("RtrShipAdd1"),
                .strAdd2 = field("RtrShipAdd2"),
                .strAdd3 = field("RtrShipAdd3"),
                .strAdd4 = state,
                .strState = state,
                .strPin = field("RtrShipPinNo"),
                .strContPerson = TrimBlanks(field("RtrContactPerson")),
                .strTelNo = field("RtrPhoneNo"),
                .strEmail = TrimBlanks(field("RtrEmailId")),
                .strPanNo = TrimBlanks(field("PAN_NUM")),
                .blnMaintBill = true,
                .strPGSTN = TrimBlanks(field("GSTN")),
                .strPState = state,
                .strRegType = compos == "Y" ? "Composition" : TrimBlanks(field("REG_UNREG")),
            };
            return master.strLedgerAcc(party);
        });
}

void frmT_Sales::SendInvoices(TallySaleTrn& sale) {
    SourceDatabase& db = Context().db;
    db.strSQL = SalesInvoiceLineQuery(dtpFrom.QueryText(), dtpTo.QueryText());
    db.OpenRsMain(db.strSQL);
    db.strSQL = SalesFreeProductQuery(dtpFrom.QueryText(), dtpTo.QueryText());
    db.OpenRsSecond(db.strSQL);

    WalkGrid(true, [&](size_t row) {
        const std::string& invoiceNo = ssdbgItem.Cell(row, "SalInvNo");
        ShowItem(invoiceNo);
        if (Number(ssdbgItem.Cell(row, "SalNetAmt")) <= 0) return;
        std::string request = BuildVoucher(sale, row);
        SendVoucher(sale, request, invoiceNo, static_cast<long>(row) + 1);
    });
}

std::string frmT_Sales::BuildVoucher(TallySaleTrn& sale, size_t row) {
    SourceDatabase& db = Context().db;
    const Configuration& config = Context().config;
    auto cell = [&](const char* field) { return ssdbgItem.Cell(row, field); };

    bool cancelled = Number(cell("DlvSts")) == 3;
    std::string invoiceNo = cell("SalInvNo");
    std::string date = cell("SalInvDate");
    std::string party = CustomerLedgerName(cell("RtrName"), cell("RtrId"), config.blnLedgerId);
    std::string add1 = cell("RtrShipAdd1"), add2 = cell("RtrShipAdd2"), add3 = cell("RtrShipAdd3");
    std::string gstin = cell("GSTN");
    std::string state = CorrectStateName(cell("STat_Name"));
    double windowDisplay = Number(cell("WindowDisplayAmount"));
    std::string salId = cell("SalId");

    InvoiceTotals totals;
    std::string inventory;
    db.rsMain.Filter("[SALID] = " + salId);
    for (Recordset& rs = db.rsMain; !rs.Eof(); rs.MoveNext()) {
        auto number = [&rs](const char* field) { return Number(rs.Fields(field).text); };
        std::string itemName = rs.Fields("PrdCCode").Value() + "_" + rs.Fields("PrdId").Value();
        double qty = number("BaseQty");
        double rate = Round2(number("PrdUnitSelRate"));
        double gross = Round2(number("PrdGrossAmount"));
        double cgst = Round2(number("CGST_AMT")), sgst = Round2(number("SGST_AMT"));
        double igst = Round2(number("IGST_AMT")), utgst = Round2(number("UTGST_AMT"));

        std::string taxType = "Sales Taxable";
        double taxable = 0;
        if (cgst > 0)
            taxable = number("CGST_TAXABLE");
        else if (sgst > 0)
            taxable = number("SGST_TAXABLE");
        else if (igst > 0)
            taxType = "Interstate Sales Taxable", taxable = number("IGST_TAXABLE");
        else if (utgst > 0)
            taxable = number("UTGST_TAXABLE");
        taxable = Round2(taxable);

        BandLedgers band = SalesBandLedgers(RateBand(number("TAXPERC")));
        if (band.cgst.empty()) {
            taxType = "Sales Nil Rated";
        } else {
            InvoiceTotals::Add(totals.byTaxLedger[band.cgst], cgst);
            InvoiceTotals::Add(totals.byTaxLedger[band.sgst], sgst);
            InvoiceTotals::Add(totals.byTaxLedger[band.igst], igst);
            InvoiceTotals::Add(totals.byTaxLedger[band.utgst], utgst);
        }
        InvoiceTotals::Add(totals.gross, gross);
        InvoiceTotals::Add(totals.scheme, Round2(number("PrdSchDiscAmount")));
        InvoiceTotals::Add(totals.special, Round2(number("PrdSplDiscAmount")));
        InvoiceTotals::Add(totals.cash, Round2(number("PrdCDAmount")));
        InvoiceTotals::Add(totals.db, Round2(number("PrdDBDiscAmount")));
        InvoiceTotals::Add(totals.cgst, cgst);
        InvoiceTotals::Add(totals.sgst, sgst);
        InvoiceTotals::Add(totals.igst, igst);
        InvoiceTotals::Add(totals.utgst, utgst);

        sale.strSale_Alloc = sale.strAccountAlloc(gross, band.sales, "", "", taxType, taxable,
                                                  cgst + sgst + igst + utgst);
        sale.strSale_Batch =
            sale.strBatchAlloc(qty, rate, "Main Location", "Primary Batch", "PC", "", "", "");
        inventory += sale.strInvent_Sales(itemName, gross, qty, "PC", rate, "Main Location",
                                          "Primary Batch", "", "", "", "", "", "");
    }
    sale.strSale_Alloc.clear();
    sale.strSale_Batch.clear();

    db.rsSecond.Filter("[SALID] = " + salId);
    for (Recordset& rs = db.rsSecond; !rs.Eof(); rs.MoveNext()) {
        std::string itemName = rs.Fields("PrdCCode").Value() + "_" + rs.Fields("FreePrdId").Value();
        double qty = Number(rs.Fields("FREEQty").text);
        sale.strSale_Alloc =
            sale.strAccountAlloc(0, "GST Sales 0%", "", "", "Sales Nil Rated", 0, 0);
        sale.strSale_Batch =
            sale.strBatchAlloc(qty, 0, "Main Location", "Primary Batch", "PC", "", "", "");
        inventory += sale.strInvent_Sales(itemName, 0, qty, "PC", 0, "Main Location",
                                          "Primary Batch", "", "", "", "", "", "");
    }
    sale.strSale_Alloc.clear();
    sale.strSale_Batch.clear();

    double net = Round2(totals.gross - totals.scheme - totals.special - totals.cash - totals.db -
                        windowDisplay + totals.cgst + totals.sgst + totals.igst + totals.utgst);
    double partyAmount = RoundHalfEven(net, 0);
    double roundOff = Round2(partyAmount - net);

    std::string voucherType = kVoucherType, refNo = invoiceNo, remarks, partyName, add4 = state,
                add5;
    std::string report = "Vouchers";
    std::string text = sale.strTopMaster(report, config.strCompany);
    text += sale.strSale_Head(voucherType, date, party, invoiceNo, refNo, remarks, partyName, "",
                              cancelled, state, gstin, add1, add2, add3, add4, add5);
    text += sale.strSale_Party(party, invoiceNo, partyAmount);
    text += inventory;
    const std::pair<const char*, double> discounts[] = {{"Scheme Discount", totals.scheme},
                                                        {"Special Discount", totals.special},
                                                        {"Cash Discount", totals.cash},
                                                        {"DB Discount", totals.db},
                                                        {"Window Display", windowDisplay}};
    for (const auto& [name, amount] : discounts) {
        std::string ledger = name;
        text += sale.strSale_Cr_Sch(ledger, amount * -1);
    }
    for (int bandRate : kBandsInVoucherOrder) {
        BandLedgers band = SalesBandLedgers(bandRate);
        for (const std::string* name : {&band.cgst, &band.sgst, &band.igst, &band.utgst}) {
            std::string ledger = *name;
            text += sale.strSale_Cr(ledger, totals.byTaxLedger[ledger]);
        }
    }
    std::string roundOffLedger = "Round Off";
    text += sale.strSale_Cr_Sch(roundOffLedger, roundOff);
    text += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
    text += sale.strBottom();
    return text;
}

}  // namespace zentrail
