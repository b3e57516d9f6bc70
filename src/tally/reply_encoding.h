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

// The Content-Type of requests in UTF-8, and in UTF-16 (little-endian, with its mark).
inline constexpr std::string_view kXmlUtf8 = "text/xml; charset=utf-8";
inline constexpr std::string_view kXmlUtf16 = "text/xml; charset=utf-16";

// A request's bytes as they go to Tally: UTF-8 as it is, UTF-16 with its byte-order mark.
std::string EncodeRequest(std::string_view utf8, TextEncoding encoding);
std::string_view ContentTypeOf(TextEncoding encoding);

}  // namespace zentrail
