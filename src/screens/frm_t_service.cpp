#include "screens/frm_t_service.h"

#include <stdexcept>

#include "screens/document_rules.h"
#include "screens/field_number.h"
#include "screens/queries/service_queries.h"
#include "screens/screen_registry.h"
#include "screens/service_invoice.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/vouchers/tally_purch_trn.h"
#include "tally/vouchers/tally_sale_trn.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

ServiceKind KindOf(std::string_view tranType) {
    return TrimBlanks(tranType) == "Purchase" ? ServiceKind::Purchase : ServiceKind::Sales;
}

// The party of an invoice, by its kind: the retailer a service was bought from, or the
// supplier it was sold to. Empty when the invoice's party is missing from the source.
struct ServiceParty {
    std::string name;
    std::string add1, add2, add3;
};

template <class Read>
ServiceParty PartyOf(ServiceKind kind, const Read& read, bool blnLedgerId) {
    ServiceParty party;
    if (kind == ServiceKind::Purchase) {
        std::string rtrName = TrimBlanks(read("RTRNAME"));
        if (!rtrName.empty()) party.name = CustomerLedgerName(rtrName, read("RTRID"), blnLedgerId);
        party.add1 = read("RTRADD1");
        party.add2 = read("RTRADD2");
        party.add3 = read("RTRADD3");
    } else {
        party.name = TrimBlanks(read("SPMNAME"));
        party.add1 = read("SPMADD1");
        party.add2 = read("SPMADD2");
        party.add3 = read("SPMADD3");
    }
    return party;
}

}  // namespace

frmT_Service::frmT_Service(ScreenContext context)
    : TransferScreen(context, ScreenDesign("service")) {}

std::string frmT_Service::ColumnQuery() const {
    return ServiceInvoiceQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_Service::HeaderQuery() const {
    return ServiceInvoiceQuery(dtpFrom.QueryText(), dtpTo.QueryText());
}

std::string frmT_Service::FixedMastersPayload(TallyMaster& master) {
    std::string payload;
    const std::pair<const char*, const char*> serviceLedgers[] = {
        {"Visibility Claim Sales", "Sales Accounts"},
        {"Visibility Claim Purchase", "Purchase Accounts"}};
    for (const auto& [name, parent] : serviceLedgers) {
        std::string ledger = name, alias, group = parent;
        double stateRate = 9, centralRate = 9, integratedRate = 18;
        payload += master.strLedSalesAcc(ledger, alias, group, "999799", "Services", stateRate,
                                         centralRate, integratedRate);
    }
    const std::pair<const char*, const char*> taxes[] = {{"CGST 9%", "Central Tax"},
                                                         {"SGST 9%", "State Tax"},
                                                         {"IGST 18%", "Integrated Tax"},
                                                         {"UTGST 9%", "UT Tax"}};
    for (const auto& [name, dutyHead] : taxes)
        payload += master.strLedgerAcc(LedgerFields{
            .strLedNm = name, .strParentNm = "Duties & Taxes", .strDutyHead = dutyHead});
    payload += master.strLedgerAcc(
        LedgerFields{.strLedNm = "Round Off", .strParentNm = "Indirect Expenses"});
    std::string alias;
    payload += master.strVoucherType(ServiceVoucherType(ServiceKind::Sales), alias, "Sales");
    payload += master.strVoucherType(ServiceVoucherType(ServiceKind::Purchase), alias, "Purchase");
    return payload;
}

void frmT_Service::ExportSteps() {
    TallyMaster master;
    SendMaster(Envelope(master, FixedMastersPayload(master)), "Service masters");
    SendParties(master);
    TallySaleTrn sale;
    TallyPurchTrn purchase;
    SendInvoices(sale, purchase);
}

void frmT_Service::SendParties(TallyMaster& master) {
    const ScreenContext& context = Context();
    auto partyOf = [&](Recordset& rs) {
        ServiceKind kind = KindOf(rs.Fields("TRAN_TYPE").text);
        return PartyOf(
            kind, [&](const char* field) { return rs.Fields(field).Value(); },
            context.config.blnLedgerId);
    };
    RunMasterStep(
        "Creating Party Masters ", ServicePartyQuery(dtpFrom.QueryText(), dtpTo.QueryText()),
        master, [&](Recordset& rs) { return partyOf(rs).name; },
        [&](Recordset& rs) {
            ServiceKind kind = KindOf(rs.Fields("TRAN_TYPE").text);
            ServiceParty party = partyOf(rs);
            std::string state = CorrectStateName(TrimBlanks(rs.Fields("FROMSTATECODE").text));
            return master.strLedgerAcc(LedgerFields{
                .strLedNm = party.name,
                .strParentNm =
                    kind == ServiceKind::Purchase ? context.DebtorGroup() : context.CreditorGroup(),
                .strAdd1 = party.add1,
                .strAdd2 = party.add2,
                .strAdd3 = party.add3,
                .strAdd4 = state,
                .strState = state,
                .blnMaintBill = true,
                .strPGSTN = TrimBlanks(rs.Fields("FROMGSTTINNO").text),
                .strPState = state,
            });
        });
}

ServiceInvoice frmT_Service::ReadInvoice(size_t row) {
    auto cell = [&](const char* field) { return ssdbgItem.Cell(row, field); };
    ServiceInvoice invoice;
    invoice.kind = KindOf(cell("TRAN_TYPE"));
    invoice.number = cell("SERVICEINVREFNO");
    invoice.date = cell("SERVICEINVDATE");
    ServiceParty party = PartyOf(invoice.kind, cell, Context().config.blnLedgerId);
    invoice.party = party.name;
    invoice.add1 = party.add1;
    invoice.add2 = party.add2;
    invoice.add3 = party.add3;
    invoice.gstin = cell("FROMGSTTINNO");
    invoice.state = CorrectStateName(cell("FROMSTATECODE"));
    invoice.amounts = WorkServiceAmounts(
        NumberCell(ssdbgItem, row, "SERVICEAMOUNT"), NumberCell(ssdbgItem, row, "CGST_AMT"),
        NumberCell(ssdbgItem, row, "SGST_AMT"), NumberCell(ssdbgItem, row, "IGST_AMT"),
        NumberCell(ssdbgItem, row, "UTGST_AMT"));
    return invoice;
}

void frmT_Service::SendInvoices(TallySaleTrn& sale, TallyPurchTrn& purchase) {
    WalkGrid(false, [&](size_t row) {
        DocumentRef document;
        document.number = ssdbgItem.Cell(row, "SERVICEINVREFNO");
        ShowItem(document.number);
        try {
            document.date = ssdbgItem.Cell(row, "SERVICEINVDATE");
            document.sourceTotal = NumberCell(ssdbgItem, row, "TOTALAMOUNT");
            if (RuleNumberCell(ssdbgItem, row, "SERVICEAMOUNT") <= 0) {
                SkipDocument(document, "service amount is 0 or less");
                return;
            }
            ServiceInvoice invoice = ReadInvoice(row);
            document.party = invoice.party;
            if (invoice.party.empty()) {
                DocumentNotSent(document, "Not sent: the invoice's party is not in the source");
                return;
            }
            document.amountSent = invoice.amounts.total;
            std::string voucher = invoice.kind == ServiceKind::Sales
                                      ? ServiceSalesVoucher(sale, invoice)
                                      : ServicePurchaseVoucher(purchase, invoice);
            TallyBuilder& builder = invoice.kind == ServiceKind::Sales
                                        ? static_cast<TallyBuilder&>(sale)
                                        : static_cast<TallyBuilder&>(purchase);
            SendVoucher(Envelope(builder, voucher), document, static_cast<long>(row) + 1);
        } catch (const NotANumber& e) {
            DocumentNotSent(document, std::string("Not sent: ") + e.what());
        } catch (const std::invalid_argument& e) {
            DocumentNotSent(document, std::string("Not sent: ") + e.what());
        }
    });
}

}  // namespace zentrail
