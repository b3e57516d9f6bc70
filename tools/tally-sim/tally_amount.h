#pragma once

#include <optional>
#include <string_view>

namespace zentrail::sim {

// Reads a voucher amount with Tally's sign rule: every leading "-" flips the sign, so "-5" is
// a debit of 5 and "--5" reads as 5. Empty text is 0. Anything but signs followed by one
// decimal number (blanks around allowed) gives nullopt, and so does a number too large to hold.
std::optional<double> ReadTallyAmount(std::string_view text);

}  // namespace zentrail::sim
