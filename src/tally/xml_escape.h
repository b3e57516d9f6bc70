#pragma once

#include <string>
#include <string_view>

namespace zentrail {

// Removes blanks (the space character only) from both ends.
std::string TrimBlanks(std::string_view text);
// The same text without its leading and trailing blanks, as a view into `text`.
std::string_view BlankTrimmed(std::string_view text);

// Appends c, as its entity when it is "&", "'", double quote, "<" or ">".
void AppendXmlEntity(std::string& out, char c);

// Drops what an XML 1.0 document cannot hold: bytes that are not well-formed UTF-8, control
// characters other than tab, line feed and carriage return, surrogates, U+FFFE and U+FFFF.
// Text without them comes back byte for byte.
std::string KeepXmlChars(std::string_view text);

// Drops the characters KeepXmlChars drops, then always escapes (tab, line feed and carriage
// return as "&#9;", "&#10;" and "&#13;", so that they read the same in attributes): "&", "'",
// double quote, "<" and ">" become entities, blanks are trimmed. The argument is rewritten to the
// escaped text, which is also returned.
std::string XmlEscape(std::string& text);

// Escapes text for XML without escaping twice: an "&" that already begins one of the five
// predefined entities or a numeric reference to a character XML allows is kept, every other
// "&" (so also that of "&#0;") and every "'", double quote, "<" and ">" becomes its entity.
// Drops the characters KeepXmlChars drops, trims blanks. Idempotent.
std::string EscapeXmlTextOnce(std::string_view text);

}  // namespace zentrail
