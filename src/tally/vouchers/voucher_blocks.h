#pragma once

// Groups of lines that several voucher builders write alike. Texts are written as given: the
// builders escape them first, unless a block says otherwise.

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

}  // namespace zentrail
