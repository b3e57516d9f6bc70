#include "tally-sim/reply_text.h"

#include "tally/xml_escape.h"

namespace zentrail::sim {

std::string RunningReply() { return "<RESPONSE>TallyPrime Server is Running</RESPONSE>"; }

std::string UnknownRequestReply() {
    return "<RESPONSE>Unknown Request, cannot be processed</RESPONSE>";
}

std::string CompanyReply(std::string_view company) {
    return "<ENVELOPE><HEADER><VERSION>1</VERSION><STATUS>0</STATUS></HEADER><BODY><DATA>"
           "<LINEERROR>Could not set &apos;SVCurrentCompany&apos; to &apos;" +
           EscapeReplyText(company) + "&apos;</LINEERROR></DATA></BODY></ENVELOPE>";
}

std::string ImportReply(const std::vector<std::string>& lineErrors,
                        const ImportCounters& counters) {
    std::string out = "<RESPONSE>\r\n";
    for (const std::string& error : lineErrors)
        out += " <LINEERROR>" + EscapeReplyText(error) + "</LINEERROR>\r\n";
    auto line = [&out](const char* tag, int64_t value) {
        out.append(" <").append(tag).append(">");
        out.append(std::to_string(value));
        out.append("</").append(tag).append(">\r\n");
    };
    line("CREATED", counters.created);
    line("ALTERED", counters.altered);
    line("DELETED", counters.deleted);
    line("LASTVCHID", counters.lastVoucherId);
    line("LASTMID", counters.lastMasterId);
    line("COMBINED", counters.combined);
    line("IGNORED", counters.ignored);
    line("ERRORS", counters.errors);
    line("CANCELLED", counters.cancelled);
    line("EXCEPTIONS", counters.exceptions);
    out += "</RESPONSE>\r\n";
    return out;
}

std::string ImportReplyInEnvelope(std::string_view reply) {
    constexpr std::string_view kOpen = "<RESPONSE>\r\n";
    constexpr std::string_view kClose = "</RESPONSE>\r\n";
    if (reply.substr(0, kOpen.size()) != kOpen || reply.size() < kOpen.size() + kClose.size() ||
        reply.substr(reply.size() - kClose.size()) != kClose)
        return std::string(reply);
    std::string_view inside =
        reply.substr(kOpen.size(), reply.size() - kOpen.size() - kClose.size());
    return "<ENVELOPE>\r\n <HEADER>\r\n  <VERSION>1</VERSION>\r\n  <STATUS>1</STATUS>\r\n"
           " </HEADER>\r\n <BODY>\r\n  <DATA>\r\n   <IMPORTRESULT>\r\n" +
           std::string(inside) + "   </IMPORTRESULT>\r\n  </DATA>\r\n </BODY>\r\n</ENVELOPE>\r\n";
}

std::string EscapeReplyText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    for (char c : text) {
        // Unlike the builders' escape: no trimming, and control characters as references.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
            out.append("&#").append(std::to_string(static_cast<int>(c))).append(";");
        else
            AppendXmlEntity(out, c);
    }
    return out;
}

}  // namespace zentrail::sim
