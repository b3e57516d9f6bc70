#pragma once

#include <string>
#include <string_view>

namespace zentrail {

// Tally answers in UTF-8 or UTF-16, with or without a byte-order mark. The encoding is told by
// the mark, then by zero bytes in alternate places, then by the charset of the Content-Type.
enum class TextEncoding { Utf8, Utf16Le, Utf16Be };

TextEncoding DetectReplyEncoding(std::string_view body, std::string_view contentType);

// The reply as UTF-8, without its byte-order mark. Unpaired surrogates become U+FFFD.
std::string DecodeReplyText(std::string_view body, std::string_view contentType);

// UTF-8 text as UTF-16 bytes with their byte-order mark.
std::string EncodeUtf16(std::string_view utf8, TextEncoding encoding);

}  // namespace zentrail
