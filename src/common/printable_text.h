#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zentrail {

// Text made fit to print within one line of a log or a terminal: bytes that are not UTF-8
// become U+FFFD, each run of line breaks and tabs one blank, and other control characters
// (C0, DEL, C1, which could move the cursor or recolour a terminal) are dropped. Kept are at
// most `maxChars` characters, cut at a character boundary.
std::string PrintableText(std::string_view text, size_t maxChars = std::string_view::npos);

}  // namespace zentrail
