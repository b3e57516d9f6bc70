#pragma once

// Expected fragments written line by line; each line gets the CR LF that the builders end it with.

#include <string>
#include <vector>

namespace zentrail::testing {

using LineList = std::vector<std::string>;

inline std::string Crlf(const LineList& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

inline LineList operator+(LineList head, const LineList& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

}  // namespace zentrail::testing
