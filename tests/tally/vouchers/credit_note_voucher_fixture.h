#pragma once

// The credit note of a sales return as the return export calls its builder: the head of one
// return and the members in calling order. Shared by the credit-note builder's own tests and
// the tests over what the sales and credit-note builders have in common.

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "tally/vouchers/expected_text.h"
#include "tally/vouchers/tally_credit_note_trn.h"

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

// The caller's variables of one head call, as the sales return export fills them.
struct HeadArgs {
    std::string type = "Credit Note";
    std::string date = "20240120";
    std::string party = "City Mart_42";
    std::string number = "SR-0007";
    std::string reference = "SI-0042";
    std::string remarks;
    std::string buyer;
    std::string flag;
    bool cancel = false;
    std::string state = "Puducherry";
    std::string gstin = "34ABCDE1234F1Z5";
    std::string add1 = "5 Beach Road";
    std::string add2;
    std::string add3;
    std::string add4 = "Puducherry";
    std::string add5;
    std::string refDate = "20240115";

    std::string Head(const TallyCreditNoteTrn& note) {
        return note.strCreditNote_Head(type, date, party, number, reference, remarks, buyer, flag,
                                       cancel, state, gstin, add1, add2, add3, add4, add5, refDate);
    }
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

// The members in the order the sales return export calls them.
inline std::string AssembleReturn(TallyCreditNoteTrn& note, HeadArgs& head, double partyAmount,
                                  const std::vector<StockLine>& stock,
                                  const std::vector<LedgerAmount>& discounts,
                                  const std::vector<LedgerAmount>& taxes) {
    std::string report = "Vouchers";
    std::string request = note.strTopMaster(report, "Zentrail Demo & Co");
    request += head.Head(note);
    request += note.strCreditNote_Party(head.party, head.reference, partyAmount);
    for (const StockLine& line : stock) {
        note.strCrd_Alloc =
            note.strAccountAlloc(line.gross, line.ledger, "", "", line.nature, line.net);
        note.strCrd_Batch = note.strBatchAlloc(line.qty, line.rate, "Main Location",
                                               "Primary Batch", "PC", "", "", "");
        request += note.strInvent_Crd(line.item, line.gross, line.qty, "PC", line.rate,
                                      "Main Location", "Primary Batch", "", "", "", "", "", "");
    }
    note.strCrd_Alloc.clear();
    note.strCrd_Batch.clear();
    for (LedgerAmount entry : discounts)
        request += note.strCreditNote_Dr_Sch(entry.ledger, entry.amount);
    for (LedgerAmount entry : taxes) request += note.strCreditNote_Dr(entry.ledger, entry.amount);
    request += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
    request += note.strBottom();
    return request;
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

inline pugi::xml_node Voucher(const pugi::xml_document& doc) {
    return doc.select_node("//VOUCHER").node();
}

}  // namespace zentrail::credit_note_fixture
