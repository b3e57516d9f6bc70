#pragma once

#include <string>
#include <string_view>

namespace zentrail::sim {

// Blanks, tabs and line breaks removed from both ends, as Tally reads a name.
std::string_view TrimName(std::string_view text);

// The key under which a name is matched: trimmed and ASCII letters folded to lower case,
// since Tally matches names without regard to case.
std::string NameKey(std::string_view text);

bool SameName(std::string_view a, std::string_view b);

}  // namespace zentrail::sim
