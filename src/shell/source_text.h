#pragma once

#include <string>
#include <string_view>

namespace zentrail {

// Text as the source database hands it over, made UTF-8 for the rest of the program.

// UTF-16 from an ODBC driver (SQL_C_WCHAR); an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Bytes from a SQLite file: UTF-8 as they are; anything else is taken as Windows-1252, the
// code page of the DMS's Windows clients (its five unassigned bytes become U+0081 and so on).
std::string SourceBytesToUtf8(std::string_view bytes);

}  // namespace zentrail
