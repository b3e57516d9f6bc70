#include "common/gstin.h"

namespace zentrail {

size_t Utf8CharacterCount(std::string_view utf8) {
    size_t count = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

bool HasGstin(std::string_view gstin) {
    // Blanks only, as the source database pads its columns.
    size_t first = gstin.find_first_not_of(' ');
    if (first == std::string_view::npos) return false;
    size_t last = gstin.find_last_not_of(' ');
    return Utf8CharacterCount(gstin.substr(first, last - first + 1)) >= kMinGstinCharacters;
}

}  // namespace zentrail
