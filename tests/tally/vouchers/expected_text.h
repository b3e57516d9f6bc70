#pragma once

// Helpers for writing the expected texts of voucher tests by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

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

// Expected texts written as lists of lines, for tests that vary a few lines of one text.
using Lines = std::vector<std::string>;

// Every line followed by CR LF.
inline std::string JoinLines(const Lines& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    return out;
}

inline void AppendLines(Lines& to, const Lines& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// The edits fail the calling test when the line they look for is missing.
inline void ReplaceLine(Lines& lines, const std::string& from, const std::string& to) {
    auto it = std::find(lines.begin(), lines.end(), from);
    ASSERT_NE(it, lines.end()) << from;
    *it = to;
}

inline void RemoveLine(Lines& lines, const std::string& line) {
    auto it = std::find(lines.begin(), lines.end(), line);
    ASSERT_NE(it, lines.end()) << line;
    lines.erase(it);
}

inline void InsertBefore(Lines& lines, const std::string& before, const std::string& line) {
    auto it = std::find(lines.begin(), lines.end(), before);
    ASSERT_NE(it, lines.end()) << before;
    lines.insert(it, line);
}

}  // namespace zentrail::testing
