#include "tally/vouchers/voucher_head_writer.h"

#include <optional>

#include "common/gstin.h"
#include "tally/date_text.h"
#include "tally/vouchers/voucher_blocks.h"
#include "tally/vouchers/voucher_lines.h"
#include "tally/xml_escape.h"

namespace zentrail {

namespace {

const char* DefaultType(VoucherKind kind) {
    switch (kind) {
        case VoucherKind::Sales:
            return "Sales";
        case VoucherKind::CreditNote:
            return "Credit Note";
        case VoucherKind::Purchase:
            return "Purchase";
        case VoucherKind::Receipt:
            return "Receipt";
    }
    return "";
}

// The head's texts, each escaped once.
struct HeadTexts {
    std::string type, date, party, number, reference, remarks, key;
};

HeadTexts EscapedHead(const VoucherHead& head) {
    HeadTexts texts;
    texts.type = EscapeXmlTextOnce(head.type);
    if (texts.type.empty()) texts.type = DefaultType(head.kind);
    const bool dated = head.kind == VoucherKind::Purchase || head.kind == VoucherKind::Receipt;
    texts.date = dated ? VoucherDate(head.date) : EscapeXmlTextOnce(head.date);
    texts.party = EscapeXmlTextOnce(head.party);
    texts.number = EscapeXmlTextOnce(head.number);
    texts.reference = EscapeXmlTextOnce(head.reference);
    texts.remarks = EscapeXmlTextOnce(head.remarks);
    texts.key = head.remoteId.empty()
                    ? VoucherKey(texts.date, texts.type, texts.party, texts.number, texts.reference)
                    : head.remoteId;
    return texts;
}

void AppendOpening(std::string& out, const VoucherHead& head, const HeadTexts& texts) {
    AppendVoucherOpening(out, {.key = texts.key,
                               .type = texts.type,
                               .date = texts.date,
                               .narration = texts.remarks,
                               .number = texts.number,
                               .reference = texts.reference,
                               .cancel = head.cancel,
                               .optional = head.optional,
                               .invoice = head.kind != VoucherKind::Receipt});
}

std::string GstinText(const VoucherHead& head) {
    return HasGstin(head.gstin) ? EscapeXmlTextOnce(head.gstin) : std::string();
}

// The address lines go through XmlEscape, which escapes every time: an entity already in the
// source text ("&amp;") is written escaped again ("&amp;amp;"), unlike every other text of the
// voucher. Tally's buyer addresses and the vouchers already stored hold these bytes.
void AppendAddressList(std::string& out, const VoucherHead& head) {
    std::array<std::string, 5> lines = head.address;
    AppendBuyerAddressList(out, lines[0], lines[1], lines[2], lines[3], lines[4]);
}

void AppendSalesHead(std::string& out, const VoucherHead& head, const HeadTexts& texts) {
    const std::string state = EscapeXmlTextOnce(head.state);
    AppendOpening(out, head, texts);
    AppendBuyerLines(out, EscapeXmlTextOnce(head.buyerName), texts.party, state, GstinText(head));
    AppendElement(out, "PLACEOFSUPPLY", state);
    AppendAddressList(out, head);
    out += kCrLf;
    AppendLine(out, {"<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>"});
    AppendLine(out, {"<GSTNOTEXPORTED>No</GSTNOTEXPORTED>"});
}

void AppendCreditNoteHead(std::string& out, const VoucherHead& head, const HeadTexts& texts) {
    const std::string state = EscapeXmlTextOnce(head.state);
    AppendOpening(out, head, texts);
    AppendElement(out, "REFERENCEDATE", EscapeXmlTextOnce(head.referenceDate));
    AppendBuyerLines(out, EscapeXmlTextOnce(head.buyerName), texts.party, state, GstinText(head));
    AppendLine(out, {"<GSTNATUREOFRETURN>01-Sales Return</GSTNATUREOFRETURN>"});
    AppendElement(out, "PLACEOFSUPPLY", state);
    AppendLine(out, {"<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>"});
    AppendLine(out, {"<GSTNOTEXPORTED>No</GSTNOTEXPORTED>"});
    // No line break after the list: the head's end follows on the same line, as a credit note
    // sent before was written.
    AppendAddressList(out, head);
}

// The supplier's invoice date as YYYYMMDD when it is a date, else as given.
std::string SupplierDateText(const std::string& text) {
    if (std::optional<DateParts> date = ParseDocumentDate(text)) return TallyDate(*date);
    return EscapeXmlTextOnce(text);
}

void AppendPurchaseHead(std::string& out, const VoucherHead& head, const HeadTexts& texts) {
    const std::string referenceDate = SupplierDateText(head.referenceDate);
    AppendOpening(out, head, texts);
    AppendElement(out, "PARTYLEDGERNAME", texts.party);
    AppendLine(out, {"<UDF:REFERENCEDATE.LIST DESC=\"`ReferenceDate`\" ISLIST=\"YES\" "
                     "TYPE=\"Date\">"});
    AppendLine(out, {"<UDF:REFERENCEDATE DESC=\"`ReferenceDate`\">", referenceDate,
                     "</UDF:REFERENCEDATE>"});
    AppendLine(out, {"</UDF:REFERENCEDATE.LIST>"});
    AppendElement(out, "REFERENCEDATE", referenceDate);
    AppendLine(out, {"<INVOICEDELNOTES.LIST>"});
    AppendElement(out, "BASICSHIPDELIVERYNOTE", EscapeXmlTextOnce(head.deliveryNote));
    AppendLine(out, {"</INVOICEDELNOTES.LIST>"});
    for (const std::string& order : head.orders) {
        AppendLine(out, {"<INVOICEORDERLIST.LIST>"});
        AppendElement(out, "BASICORDERDATE", texts.date);
        AppendElement(out, "BASICPURCHASEORDERNO", EscapeXmlTextOnce(order));
        AppendLine(out, {"</INVOICEORDERLIST.LIST>"});
    }
    AppendElement(out, "STATENAME", EscapeXmlTextOnce(head.state));
    if (HasGstin(head.gstin)) AppendElement(out, "PARTYGSTIN", EscapeXmlTextOnce(head.gstin));
    AppendLine(out, {"<ISGSTOVERRIDDEN>Yes</ISGSTOVERRIDDEN>"});
    AppendLine(out, {"<GSTNOTEXPORTED>No</GSTNOTEXPORTED>"});
}

}  // namespace

std::string VoucherRemoteId(const VoucherHead& head) { return EscapedHead(head).key; }

void AppendVoucherHead(std::string& out, const VoucherHead& head) {
    const HeadTexts texts = EscapedHead(head);
    switch (head.kind) {
        case VoucherKind::Sales:
            AppendSalesHead(out, head, texts);
            break;
        case VoucherKind::CreditNote:
            AppendCreditNoteHead(out, head, texts);
            break;
        case VoucherKind::Purchase:
            AppendPurchaseHead(out, head, texts);
            break;
        case VoucherKind::Receipt:
            AppendOpening(out, head, texts);
            AppendElement(out, "PARTYLEDGERNAME", texts.party);
            break;
    }
    AppendHeadEnd(out, texts.remarks);
}

}  // namespace zentrail
