#pragma once

// Helpers for writing the expected texts of voucher tests by hand.

#include <string>
#include <string_view>

namespace zentrail::testing {

// Expected texts are written with plain line breaks; every line of the output ends in CR LF.
inline std::string Crlf(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

inline size_t Count(std::string_view text, std::string_view part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// The envelope of a voucher request for the company "Zentrail Demo & Co".
inline constexpr std::string_view kEnvelopeTop = R"(<ENVELOPE>
<HEADER>
<TALLYREQUEST>Import Data</TALLYREQUEST>
</HEADER>
<BODY>
<IMPORTDATA>
<REQUESTDESC>
<REPORTNAME>Vouchers</REPORTNAME>
<STATICVARIABLES>
<SVCURRENTCOMPANY>Zentrail Demo &amp; Co</SVCURRENTCOMPANY>
</STATICVARIABLES>
</REQUESTDESC>
<REQUESTDATA>
)";

// The voucher's closing tags, written by the screen, and the envelope's end.
inline constexpr std::string_view kEnvelopeBottom = R"(</VOUCHER>
</TALLYMESSAGE>
</REQUESTDATA>
</IMPORTDATA>
</BODY>
</ENVELOPE>
)";

}  // namespace zentrail::testing
