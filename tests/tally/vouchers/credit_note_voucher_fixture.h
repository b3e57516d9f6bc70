#pragma once

// The credit note of a sales return as the return export fills it: the head of one return and
// its entries in voucher order. Shared by the credit note's own tests and the tests over what
// the sales and credit-note vouchers have in common.

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "tally/vouchers/expected_text.h"
#include "tally/vouchers/voucher_entries.h"
#include "tally/vouchers/written_voucher.h"

namespace zentrail::credit_note_fixture {

using testing::Lines;

// The head of sales return SR-0007 against invoice SI-0042, as the return export sends it.
inline const Lines kHead = {
    "<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">",
    "<VOUCHER REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240120-Credit Note-City Mart_42-SR-0007-"
    "SI-0042\" VCHTYPE=\"Credit Note\" ACTION=\"Create\">",
    "<DATE>20240120</DATE>",
    "<GUID>6178b2bd-1d64-4c89-9c2a-20240120-Credit Note-City Mart_42-SR-0007-SI-0042</GUID>",
    "<NARRATION></NARRATION>",
    "<VOUCHERTYPENAME>Credit Note</VOUCHERTYPENAME>",
    "<ISOPTIONAL>No</ISOPTIONAL>",
    "<USEFORGAINLOSS>No</USEFORGAINLOSS>",
    "<USEFORCOMPOUND>No</USEFORCOMPOUND>",
    "<EFFECTIVEDATE>20240120</EFFECTIVEDATE>",
    "<ISCANCELLED>No</ISCANCELLED>",
    "<USETRACKINGNUMBER>No</USETRACKINGNUMBER>",
    "<ISPOSTDATED>No</ISPOSTDATED>",
    "<ISINVOICE>Yes</ISINVOICE>",
    "<DIFFACTUALQTY>No</DIFFACTUALQTY>",
    "<VOUCHERNUMBER>SR-0007</VOUCHERNUMBER>",
    "<REFERENCE>SI-0042</REFERENCE>",
    "<REFERENCEDATE>20240115</REFERENCEDATE>",
    "<BASICBUYERNAME></BASICBUYERNAME>",
    "<PARTYNAME>City Mart_42</PARTYNAME>",
    "<BASEPARTYNAME>City Mart_42</BASEPARTYNAME>",
    "<PARTYLEDGERNAME>City Mart_42</PARTYLEDGERNAME>",
    "<STATENAME>Puducherry</STATENAME>",
    "<PARTYGSTIN>34ABCDE1234F1Z5</PARTYGSTIN>",
    "<GSTNATUREOFRETURN>01-Sales Return</GSTNATUREOFRETURN>",
    "<PLACEOFSUPPLY>Puducherry</PLACEOFSUPPLY>",
    "<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>",
    "<GSTNOTEXPORTED>No</GSTNOTEXPORTED>",
    "<BASICBUYERADDRESS.LIST TYPE=\"String\">",
    "<BASICBUYERADDRESS>5 Beach Road</BASICBUYERADDRESS>",
    "<BASICBUYERADDRESS></BASICBUYERADDRESS>",
    "<BASICBUYERADDRESS></BASICBUYERADDRESS>",
    "<BASICBUYERADDRESS>Puducherry</BASICBUYERADDRESS>",
    "<BASICBUYERADDRESS></BASICBUYERADDRESS>",
    "</BASICBUYERADDRESS.LIST><ALTERID></ALTERID>",
};

// The head of one return, as the sales return export fills it.
struct HeadArgs {
    std::string type = "Credit Note";
    std::string date = "20240120";
    std::string party = "City Mart_42";
    std::string number = "SR-0007";
    std::string reference = "SI-0042";
    std::string remarks;
    std::string buyer;
    bool cancel = false;
    std::string state = "Puducherry";
    std::string gstin = "34ABCDE1234F1Z5";
    std::string add1 = "5 Beach Road";
    std::string add2;
    std::string add3;
    std::string add4 = "Puducherry";
    std::string add5;
    std::string refDate = "20240115";

    VoucherHead Value() const {
        return {.kind = VoucherKind::CreditNote,
                .type = type,
                .date = date,
                .party = party,
                .number = number,
                .reference = reference,
                .remarks = remarks,
                .cancel = cancel,
                .buyerName = buyer,
                .address = {add1, add2, add3, add4, add5},
                .state = state,
                .gstin = gstin,
                .referenceDate = refDate};
    }
    std::string Head() const { return testing::WrittenHead(Value()); }
};

struct StockLine {
    std::string item;
    double qty;
    double rate;
    double gross;
    std::string ledger;
    std::string nature;
    double net;
};

struct LedgerAmount {
    std::string ledger;
    double amount;
};

// A returned stock line in Main Location, Primary Batch, counted in pieces.
inline InventoryLine ReturnedLine(const StockLine& line) {
    return {.item = line.item,
            .rate = line.rate,
            .amount = line.gross,
            .quantity = line.qty,
            .unit = "PC",
            .batch = {.godown = "Main Location",
                      .batch = "Primary Batch",
                      .amount = line.qty * line.rate,
                      .quantity = line.qty,
                      .unit = "PC"},
            .allocation = {.ledger = line.ledger,
                           .gstNature = line.nature,
                           .amount = line.gross,
                           .assessable = line.net}};
}

// The return's request with its entries in the order the sales return export adds them.
inline std::string AssembleReturn(const HeadArgs& head, double partyAmount,
                                  const std::vector<StockLine>& stock,
                                  const std::vector<LedgerAmount>& discounts,
                                  const std::vector<LedgerAmount>& taxes) {
    zentrail::Voucher v{.head = head.Value()};
    v.entries.push_back(
        CreditedPartyEntry(EntryList::Ledger, head.party, head.reference, partyAmount));
    for (const StockLine& line : stock) v.entries.push_back(ReturnedLine(line));
    for (const LedgerAmount& entry : discounts)
        v.entries.push_back(
            CreditNoteLedgerEntry(EntryList::Ledger, entry.ledger, entry.amount, false));
    for (const LedgerAmount& entry : taxes)
        v.entries.push_back(
            CreditNoteLedgerEntry(EntryList::Ledger, entry.ledger, entry.amount, true));
    return testing::WrittenRequest(v);
}

inline std::vector<LedgerAmount> SixteenTaxes(double cgst6, double sgst6, double cgst9,
                                              double sgst9) {
    return {
        {"CGST 2.5%", 0},   {"SGST 2.5%", 0},   {"IGST 5%", 0},  {"UTGST 2.5%", 0},
        {"CGST 6%", cgst6}, {"SGST 6%", sgst6}, {"IGST 12%", 0}, {"UTGST 6%", 0},
        {"CGST 9%", cgst9}, {"SGST 9%", sgst9}, {"IGST 18%", 0}, {"UTGST 9%", 0},
        {"CGST 14%", 0},    {"SGST 14%", 0},    {"IGST 28%", 0}, {"UTGST 14%", 0},
    };
}

inline pugi::xml_node VoucherNode(const pugi::xml_document& doc) {
    return doc.select_node("//VOUCHER").node();
}

}  // namespace zentrail::credit_note_fixture
