#pragma once

// The sales voucher as the sales export fills it: the head of one invoice and its entries in
// voucher order. Shared by the sales voucher's own tests and the tests over what the sales and
// credit-note vouchers have in common.

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "tally/vouchers/expected_text.h"
#include "tally/vouchers/voucher_entries.h"
#include "tally/vouchers/written_voucher.h"

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

// The head of one invoice, as the sales export fills it.
struct HeadArgs {
    std::string type = "KVZ Sales";
    std::string date = "20240115";
    std::string party = "ABC Traders_12";
    std::string number = "SI-0042";
    std::string reference = "SI-0042";
    std::string remarks;
    std::string buyer;
    bool cancel = false;
    std::string state = "Tamil Nadu";
    std::string gstin = "33ABCDE1234F1Z5";
    std::string add1 = "12 Main Road";
    std::string add2 = "Shop 3 & 4";
    std::string add3 = "Chennai";
    std::string add4 = "Tamil Nadu";
    std::string add5;

    VoucherHead Value() const {
        return {.kind = VoucherKind::Sales,
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
                .gstin = gstin};
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
    double taxable;
};

struct LedgerAmount {
    std::string ledger;
    double amount;
};

// A sold stock line in Main Location, Primary Batch, counted in pieces.
inline InventoryLine SoldLine(const StockLine& line) {
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
                           .assessable = line.taxable}};
}

// The invoice's request with its entries in the order the sales export adds them: party,
// stock lines, discounts, the sixteen tax ledgers, round-off.
inline std::string AssembleInvoice(const HeadArgs& head, double partyAmount,
                                   const std::vector<StockLine>& stock,
                                   const std::vector<LedgerAmount>& discounts,
                                   const std::vector<LedgerAmount>& taxes, double roundOff) {
    zentrail::Voucher v{.head = head.Value()};
    v.entries.push_back(SalesPartyEntry(EntryList::Ledger, head.party, head.number, partyAmount));
    for (const StockLine& line : stock) v.entries.push_back(SoldLine(line));
    for (const LedgerAmount& entry : discounts)
        v.entries.push_back(
            SalesLedgerEntry(EntryList::Ledger, entry.ledger, -entry.amount, false));
    for (const LedgerAmount& entry : taxes)
        v.entries.push_back(SalesLedgerEntry(EntryList::Ledger, entry.ledger, entry.amount, false));
    v.entries.push_back(SalesLedgerEntry(EntryList::Ledger, "Round Off", roundOff, false));
    return testing::WrittenRequest(v);
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

inline pugi::xml_node VoucherNode(const pugi::xml_document& doc) {
    return doc.select_node("//VOUCHER").node();
}

}  // namespace zentrail::sale_fixture
