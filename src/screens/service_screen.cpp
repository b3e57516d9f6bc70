#include "screens/service_screen.h"

#include "screens/document_rules.h"
#include "screens/master_steps.h"
#include "screens/queries/service_queries.h"
#include "screens/service_invoice.h"
#include "screens/voucher_request.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

enum class Column {
    TranType,
    ServiceInvRefNo,
    ServiceInvDate,
    RtrName,
    RtrId,
    RtrAdd1,
    RtrAdd2,
    RtrAdd3,
    SpmName,
    SpmAdd1,
    SpmAdd2,
    SpmAdd3,
    FromGstTinNo,
    FromStateCode,
    ServiceAmount,
    CgstAmt,
    SgstAmt,
    IgstAmt,
    UtgstAmt,
    TotalAmount,
};
constexpr const char* kColumns[] = {
    "TRAN_TYPE", "SERVICEINVREFNO", "SERVICEINVDATE", "RTRNAME",       "RTRID",
    "RTRADD1",   "RTRADD2",         "RTRADD3",        "SPMNAME",       "SPMADD1",
    "SPMADD2",   "SPMADD3",         "FROMGSTTINNO",   "FROMSTATECODE", "SERVICEAMOUNT",
    "CGST_AMT",  "SGST_AMT",        "IGST_AMT",       "UTGST_AMT",     "TOTALAMOUNT"};

ServiceKind KindOf(std::string_view tranType) {
    return TrimBlanks(tranType) == "Purchase" ? ServiceKind::Purchase : ServiceKind::Sales;
}

// What the listing and the party query hold of both possible parties of an invoice.
struct PartyFields {
    std::string rtrName, rtrId, rtrAdd1, rtrAdd2, rtrAdd3;
    std::string spmName, spmAdd1, spmAdd2, spmAdd3;
};

// The party of an invoice, by its kind: the retailer a service was bought from, or the
// supplier it was sold to. Empty when the invoice's party is missing from the source.
struct ServiceParty {
    std::string name;
    std::string add1, add2, add3;
};

ServiceParty PartyOf(ServiceKind kind, const PartyFields& fields, bool blnLedgerId) {
    ServiceParty party;
    if (kind == ServiceKind::Purchase) {
        std::string rtrName = TrimBlanks(fields.rtrName);
        if (!rtrName.empty()) party.name = CustomerLedgerName(rtrName, fields.rtrId, blnLedgerId);
        party = {party.name, fields.rtrAdd1, fields.rtrAdd2, fields.rtrAdd3};
    } else {
        party = {TrimBlanks(fields.spmName), fields.spmAdd1, fields.spmAdd2, fields.spmAdd3};
    }
    return party;
}

PartyFields PartyFieldsOf(const Recordset& rs) {
    auto field = [&rs](const char* name) { return rs.Fields(name).Value(); };
    return {field("RTRNAME"), field("RTRID"),   field("RTRADD1"),
            field("RTRADD2"), field("RTRADD3"), field("SPMNAME"),
            field("SPMADD1"), field("SPMADD2"), field("SPMADD3")};
}

PartyFields PartyFieldsOf(const ListedRow& row) {
    using C = Column;
    return {row.Text(C::RtrName), row.Text(C::RtrId),   row.Text(C::RtrAdd1),
            row.Text(C::RtrAdd2), row.Text(C::RtrAdd3), row.Text(C::SpmName),
            row.Text(C::SpmAdd1), row.Text(C::SpmAdd2), row.Text(C::SpmAdd3)};
}

ServiceInvoice ReadInvoice(const ListedRow& row, const ScreenContext& context) {
    using C = Column;
    ServiceInvoice invoice;
    invoice.kind = KindOf(row.Text(C::TranType));
    invoice.number = row.Text(C::ServiceInvRefNo);
    invoice.date = row.Text(C::ServiceInvDate);
    ServiceParty party = PartyOf(invoice.kind, PartyFieldsOf(row), context.config.blnLedgerId);
    invoice.party = party.name;
    invoice.add1 = party.add1;
    invoice.add2 = party.add2;
    invoice.add3 = party.add3;
    invoice.gstin = row.Text(C::FromGstTinNo);
    invoice.state = CorrectStateName(row.Text(C::FromStateCode));
    invoice.amounts =
        WorkServiceAmounts(row.Number(C::ServiceAmount), row.Number(C::CgstAmt),
                           row.Number(C::SgstAmt), row.Number(C::IgstAmt), row.Number(C::UtgstAmt));
    return invoice;
}

class ServiceInvoiceBuilder : public DocumentBuilder {
public:
    explicit ServiceInvoiceBuilder(const ScreenContext& context) : context_(context) {}

    void Build(const ListedRow& row, LineTables&, BuiltDocument& built) override {
        DocumentRef& document = built.document;
        document.sourceTotal = row.Number(Column::TotalAmount);
        if (row.RuleNumber(Column::ServiceAmount) <= 0) {
            built.kind = BuiltDocument::Kind::Skip;
            built.reason = "service amount is 0 or less";
            return;
        }
        ServiceInvoice invoice = ReadInvoice(row, context_);
        document.party = invoice.party;
        if (invoice.party.empty()) {
            built.kind = BuiltDocument::Kind::NotSent;
            built.reason = "Not sent: the invoice's party is not in the source";
            return;
        }
        document.amountSent = invoice.amounts.total;
        SendVoucher(context_,
                    invoice.kind == ServiceKind::Sales ? ServiceSalesVoucher(invoice)
                                                       : ServicePurchaseVoucher(invoice),
                    built);
    }

private:
    const ScreenContext& context_;
};

LedgerFields ServicePartyLedger(const Recordset& rs, const ScreenContext& context) {
    ServiceKind kind = KindOf(rs.Fields("TRAN_TYPE").text);
    ServiceParty party = PartyOf(kind, PartyFieldsOf(rs), context.config.blnLedgerId);
    std::string state = CorrectStateName(TrimBlanks(rs.Fields("FROMSTATECODE").text));
    return LedgerFields{
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
    };
}

class ServiceDefinition : public ScreenDefinition {
public:
    const ScreenDesign& Design() const override { return design_; }
    std::string ColumnQuery(const DateRange& dates) const override {
        return ServiceInvoiceQuery(dates.from, dates.to);
    }
    std::string ListingQuery(const DateRange& dates) const override {
        return ServiceInvoiceQuery(dates.from, dates.to);
    }
    std::span<const char* const> ListingColumns() const override { return kColumns; }
    DocumentRef Describe(const ListedRow& row, const ScreenContext&) const override {
        return {.identity = row.Text(Column::TranType) + "/" + row.Text(Column::ServiceInvRefNo),
                .number = row.Text(Column::ServiceInvRefNo),
                .date = row.Text(Column::ServiceInvDate)};
    }
    std::vector<MasterStep> Masters(const ScreenContext& context,
                                    const DateRange& dates) const override {
        return {FixedMastersStep("Service masters", &ServiceScreen::FixedMastersPayload),
                PartyLedgerStep(
                    ServicePartyQuery(dates.from, dates.to),
                    [&context](const Recordset& rs) {
                        return PartyOf(KindOf(rs.Fields("TRAN_TYPE").text), PartyFieldsOf(rs),
                                       context.config.blnLedgerId)
                            .name;
                    },
                    [&context](const Recordset& rs) { return ServicePartyLedger(rs, context); })};
    }
    std::vector<LineQuery> LineQueries(const DateRange&) const override { return {}; }
    std::unique_ptr<DocumentBuilder> StartRun(const ScreenContext& context,
                                              const Listing&) const override {
        return std::make_unique<ServiceInvoiceBuilder>(context);
    }

private:
    ScreenDesign design_{.name = "service",
                         .title = "Import Service Transaction",
                         .frameCaption = "Importing Service",
                         .closingText = "Services Transferrd"};
};

}  // namespace

const ScreenDefinition& ServiceScreen::TheDefinition() {
    static const ServiceDefinition definition;
    return definition;
}

std::string ServiceScreen::FixedMastersPayload(TallyMaster& master) {
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

}  // namespace zentrail
