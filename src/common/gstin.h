#pragma once

#include <cstddef>
#include <string_view>

namespace zentrail {

// A GSTIN shorter than this cannot be a real one; the party then counts as unregistered.
inline constexpr size_t kMinGstinCharacters = 10;

// Characters of UTF-8 text (not bytes), so that text is measured as the operator sees it.
size_t Utf8CharacterCount(std::string_view utf8);

// Whether a GSTIN column holds a GSTIN: at least kMinGstinCharacters characters once the
// blanks around it are removed. Every master and voucher decides with this one rule, so a
// blank-padded column is no GSTIN anywhere.
bool HasGstin(std::string_view gstin);

}  // namespace zentrail
