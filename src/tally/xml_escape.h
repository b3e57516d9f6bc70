#pragma once

#include <string>
#include <string_view>

namespace zentrail {

// Removes blanks (the space character only) from both ends.
std::string TrimBlanks(std::string_view text);

// Appends c, as its entity when it is "&", "'", double quote, "<" or ">".
void AppendXmlEntity(std::string& out, char c);

// Always escapes: "&", "'", double quote, "<" and ">" become entities, blanks are trimmed.
// The argument is rewritten to the escaped text, which is also returned.
std::string XmlEscape(std::string& text);

// Escapes text for XML without escaping twice: an "&" that already begins one of the five
// predefined entities or a numeric character reference is kept, every other "&" and every
// "'", double quote, "<" and ">" becomes its entity. Trims blanks. Idempotent.
std::string EscapeXmlTextOnce(std::string_view text);

}  // namespace zentrail
