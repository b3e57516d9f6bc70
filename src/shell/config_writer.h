#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "shell/configuration.h"

namespace zentrail {

// The text of a configuration file holding `config`, made from the file's present text: comments,
// blank and unknown lines and the order of all lines are kept byte for byte, a known key's line
// is rewritten only when it reads as another value, and keys missing from the text are appended
// unless their value is what a missing key means anyway. Throws ConfigError for a value that
// holds a line break, which no configuration line can carry.
std::string ConfigText(std::string_view present, const Configuration& config);

// Writes `config` into the file at `path` (see ConfigText; a missing file starts empty). The
// file is replaced as a whole or not at all. Throws ConfigError when the file cannot be read or
// written.
void WriteConfig(const std::filesystem::path& path, const Configuration& config);

}  // namespace zentrail
