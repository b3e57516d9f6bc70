#pragma once

#include <initializer_list>
#include <ostream>
#include <string_view>

#include "common/csv.h"

namespace zentrail::cli {

// One CSV line of `fields`; the first line of a file may carry the byte order mark.
inline void PrintCsvLine(std::ostream& out, std::initializer_list<std::string_view> fields,
                         bool first = false) {
    std::string line(first ? kCsvByteOrderMark : "");
    bool more = false;
    for (std::string_view field : fields) {
        line += (more ? "," : "") + CsvField(field);
        more = true;
    }
    out << line << "\n";
}

}  // namespace zentrail::cli
