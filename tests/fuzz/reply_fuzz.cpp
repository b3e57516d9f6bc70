// Reply classification on any reply text: never crashes, and the quote of a reply is always
// printable UTF-8 of at most 200 characters.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/utf8_text.h"
#include "fuzz_check.h"
#include "tally/tally_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const zentrail::TallyReply reply = zentrail::ParseTallyReply(text);
    if (!reply.wellFormed) FUZZ_CHECK(!reply.importResult);
    if (!reply.lineErrors.empty()) FUZZ_CHECK(reply.importResult);
    const std::string quote = zentrail::QuoteReply(text);
    FUZZ_CHECK(zentrail::IsValidUtf8(quote));
    size_t chars = 0;
    for (size_t pos = 0; pos < quote.size(); ++chars) {
        const char32_t c = zentrail::DecodeUtf8(quote, pos);
        FUZZ_CHECK(c >= 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0x9F));
    }
    FUZZ_CHECK(chars <= 200);
    return 0;
}
