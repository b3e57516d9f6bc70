#pragma once

// Expected voucher texts written as lists of lines, and small edits of such lists.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zentrail::testing {

using Lines = std::vector<std::string>;

// Every line followed by CR LF, as the builders write them.
inline std::string Crlf(const Lines& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    return out;
}

inline void Append(Lines& to, const Lines& more) { to.insert(to.end(), more.begin(), more.end()); }

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

// Opening lines of a voucher request for the demo company, and the closing ones.
inline const Lines kEnvelopeTop = {
    "<ENVELOPE>",
    "<HEADER>",
    "<TALLYREQUEST>Import Data</TALLYREQUEST>",
    "</HEADER>",
    "<BODY>",
    "<IMPORTDATA>",
    "<REQUESTDESC>",
    "<REPORTNAME>Vouchers</REPORTNAME>",
    "<STATICVARIABLES>",
    "<SVCURRENTCOMPANY>Zentrail Demo Co</SVCURRENTCOMPANY>",
    "</STATICVARIABLES>",
    "</REQUESTDESC>",
    "<REQUESTDATA>",
};

inline const Lines kVoucherEnd = {
    "</VOUCHER>", "</TALLYMESSAGE>", "</REQUESTDATA>", "</IMPORTDATA>", "</BODY>", "</ENVELOPE>",
};

}  // namespace zentrail::testing
