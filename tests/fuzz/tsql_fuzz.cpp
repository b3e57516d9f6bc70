// The T-SQL day-comparison translation on any SQL text: never crashes, leaves text without
// the idiom alone, and translating its own output changes nothing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "shell/tsql_translation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view sql(reinterpret_cast<const char*>(data), size);
    const std::string translated = zentrail::TranslateDayComparisons(sql);
    FUZZ_CHECK(zentrail::TranslateDayComparisons(translated) == translated);
    std::string upper(sql);
    for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    if (upper.find("CONVERT") == std::string::npos) FUZZ_CHECK(translated == sql);
    return 0;
}
