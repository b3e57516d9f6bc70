#pragma once

// The sales voucher as the sales export calls its builder: the head of one invoice and the
// members in calling order. Shared by the sales builder's own tests and the tests over what
// the sales and credit-note builders have in common.

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "tally/vouchers/expected_text.h"
#include "tally/vouchers/tally_sale_trn.h"

namespace zentrail::sale_fixture {

using testing::Lines;

// The head of invoice SI-0042 as the sales export sends it.
inline const Lines kHead = {
    "<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">",
    "<VOUCHER REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240115-KVZ Sales-ABC Traders_12-SI-0042-"
    "SI-0042\" VCHTYPE=\"KVZ Sales\" ACTION=\"Create\">",
    "<DATE>20240115</DATE>",
    "<GUID>6178b2bd-1d64-4c89-9c2a-20240115-KVZ Sales-ABC Traders_12-SI-0042-SI-0042</GUID>",
    "<NARRATION></NARRATION>",
    "<VOUCHERTYPENAME>KVZ Sales</VOUCHERTYPENAME>",
    "<ISOPTIONAL>No</ISOPTIONAL>",
    "<USEFORGAINLOSS>No</USEFORGAINLOSS>",
    "<USEFORCOMPOUND>No</USEFORCOMPOUND>",
    "<EFFECTIVEDATE>20240115</EFFECTIVEDATE>",
    "<ISCANCELLED>No</ISCANCELLED>",
    "<USETRACKINGNUMBER>No</USETRACKINGNUMBER>",
    "<ISPOSTDATED>No</ISPOSTDATED>",
    "<ISINVOICE>Yes</ISINVOICE>",
    "<DIFFACTUALQTY>No</DIFFACTUALQTY>",
    "<VOUCHERNUMBER>SI-0042</VOUCHERNUMBER>",
    "<REFERENCE>SI-0042</REFERENCE>",
    "<BASICBUYERNAME></BASICBUYERNAME>",
    "<PARTYNAME>ABC Traders_12</PARTYNAME>",
    "<BASEPARTYNAME>ABC Traders_12</BASEPARTYNAME>",
    "<PARTYLEDGERNAME>ABC Traders_12</PARTYLEDGERNAME>",
    "<STATENAME>Tamil Nadu</STATENAME>",
    "<PARTYGSTIN>33ABCDE1234F1Z5</PARTYGSTIN>",
    "<PLACEOFSUPPLY>Tamil Nadu</PLACEOFSUPPLY>",
    "<BASICBUYERADDRESS.LIST TYPE=\"String\">",
    "<BASICBUYERADDRESS>12 Main Road</BASICBUYERADDRESS>",
    "<BASICBUYERADDRESS>Shop 3 &amp; 4</BASICBUYERADDRESS>",
    "<BASICBUYERADDRESS>Chennai</BASICBUYERADDRESS>",
    "<BASICBUYERADDRESS>Tamil Nadu</BASICBUYERADDRESS>",
    "<BASICBUYERADDRESS></BASICBUYERADDRESS>",
    "</BASICBUYERADDRESS.LIST>",
    "<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>",
    "<GSTNOTEXPORTED>No</GSTNOTEXPORTED>",
    "<ALTERID></ALTERID>",
};

// The caller's variables of one head call, as the sales export fills them.
struct HeadArgs {
    std::string type = "KVZ Sales";
    std::string date = "20240115";
    std::string party = "ABC Traders_12";
    std::string number = "SI-0042";
    std::string reference = "SI-0042";
    std::string remarks;
    std::string buyer;
    std::string flag;
    bool cancel = false;
    std::string state = "Tamil Nadu";
    std::string gstin = "33ABCDE1234F1Z5";
    std::string add1 = "12 Main Road";
    std::string add2 = "Shop 3 & 4";
    std::string add3 = "Chennai";
    std::string add4 = "Tamil Nadu";
    std::string add5;

    std::string Head(const TallySaleTrn& sale) {
        return sale.strSale_Head(type, date, party, number, reference, remarks, buyer, flag, cancel,
                                 state, gstin, add1, add2, add3, add4, add5);
    }
};

struct StockLine {
    std::string item;
    double qty;
    double rate;
    double gross;
    std::string ledger;
    std::string nature;
    double taxable;
};

struct LedgerAmount {
    std::string ledger;
    double amount;
};

// The members in the order the sales export calls them: head, party, stock lines with
// their allocations, discounts, the sixteen tax ledgers, round-off, closing tags.
inline std::string AssembleInvoice(TallySaleTrn& sale, HeadArgs& head, double partyAmount,
                                   const std::vector<StockLine>& stock,
                                   const std::vector<LedgerAmount>& discounts,
                                   const std::vector<LedgerAmount>& taxes, double roundOff) {
    std::string report = "Vouchers";
    std::string request = sale.strTopMaster(report, "Zentrail Demo & Co");
    request += head.Head(sale);
    request += sale.strSale_Party(head.party, head.number, partyAmount);
    for (const StockLine& line : stock) {
        sale.strSale_Alloc =
            sale.strAccountAlloc(line.gross, line.ledger, "", "", line.nature, line.taxable, 0);
        sale.strSale_Batch = sale.strBatchAlloc(line.qty, line.rate, "Main Location",
                                                "Primary Batch", "PC", "", "", "");
        request += sale.strInvent_Sales(line.item, line.gross, line.qty, "PC", line.rate,
                                        "Main Location", "Primary Batch", "", "", "", "", "", "");
    }
    sale.strSale_Alloc.clear();
    sale.strSale_Batch.clear();
    for (LedgerAmount entry : discounts)
        request += sale.strSale_Cr_Sch(entry.ledger, -entry.amount);
    for (LedgerAmount entry : taxes) request += sale.strSale_Cr(entry.ledger, entry.amount);
    std::string roundOffLedger = "Round Off";
    request += sale.strSale_Cr_Sch(roundOffLedger, roundOff);
    request += "</VOUCHER>\r\n</TALLYMESSAGE>\r\n";
    request += sale.strBottom();
    return request;
}

inline std::vector<LedgerAmount> SixteenTaxes(double cgst25, double sgst25, double cgst9,
                                              double sgst9) {
    return {
        {"CGST 2.5%", cgst25}, {"SGST 2.5%", sgst25}, {"IGST 5%", 0},  {"UTGST 2.5%", 0},
        {"CGST 6%", 0},        {"SGST 6%", 0},        {"IGST 12%", 0}, {"UTGST 6%", 0},
        {"CGST 9%", cgst9},    {"SGST 9%", sgst9},    {"IGST 18%", 0}, {"UTGST 9%", 0},
        {"CGST 14%", 0},       {"SGST 14%", 0},       {"IGST 28%", 0}, {"UTGST 14%", 0},
    };
}

inline pugi::xml_node Voucher(const pugi::xml_document& doc) {
    return doc.select_node("//VOUCHER").node();
}

}  // namespace zentrail::sale_fixture
