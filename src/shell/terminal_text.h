#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zentrail {

// Display width of UTF-8 text on a terminal (wide characters two cells, combining marks none).
size_t DisplayColumns(std::string_view text);

// The longest start of the text that fits `columns` cells, cut between characters; control
// characters and bytes that are not UTF-8 are made printable first.
std::string FitColumns(std::string_view text, size_t columns);

}  // namespace zentrail
