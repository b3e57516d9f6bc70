#pragma once

// Groups of lines that several voucher builders write alike. Texts are written as given: the
// builders escape them first, unless a block says otherwise.

#include <optional>
#include <string>
#include <string_view>

namespace zentrail {

// The lines every voucher head opens with, from TALLYMESSAGE to REFERENCE.
struct VoucherOpening {
    std::string_view key;
    std::string_view type;
    std::string_view date;
    std::string_view narration;
    std::string_view number;
    std::string_view reference;
    bool cancel = false;
    bool optional = false;
    bool invoice = true;
};
void AppendVoucherOpening(std::string& out, const VoucherOpening& head);

// The lines every voucher head ends with: the narration again when there is one, then ALTERID.
void AppendHeadEnd(std::string& out, std::string_view narration);

// Buyer and party of a sales or return voucher head, BASICBUYERNAME to PARTYGSTIN; an empty
// gstin writes no PARTYGSTIN line.
void AppendBuyerLines(std::string& out, std::string_view buyer, std::string_view party,
                      std::string_view state, std::string_view gstin);

// The buyer's five address lines, each escaped in place with XmlEscape, which escapes every
// time. The closing tag gets no line break: a return writes its next element on that line.
void AppendBuyerAddressList(std::string& out, std::string& line1, std::string& line2,
                            std::string& line3, std::string& line4, std::string& line5);

// The lines of a ledger entry inside its list tags, REMOVEZEROENTRIES to AMOUNT.
struct LedgerLines {
    bool deemedPositive = false;
    std::string_view ledger;
    bool partyLedger = false;
    std::string_view amount;
};
void AppendLedgerLines(std::string& out, const LedgerLines& entry);

// One BILLALLOCATIONS.LIST; with vatExpAmount, a VATEXPAMOUNT line follows the amount.
void AppendBillAllocation(std::string& out, std::string_view name, std::string_view type,
                          std::string_view amount,
                          std::optional<std::string_view> vatExpAmount = std::nullopt);

// A ledger entry of a sale or a return: the amount again as VATEXPAMOUNT, then extraLines.
std::string VatLedgerEntry(std::string_view list, bool deemedPositive, std::string_view ledger,
                           std::string_view amount, std::string_view extraLines = {});

// The party's credit that opens a new bill over the whole amount: the customer of a return,
// the supplier of a purchase.
std::string CreditPartyEntry(std::string_view list, std::string_view party, std::string_view bill,
                             std::string_view amount);

}  // namespace zentrail
