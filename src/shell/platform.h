#pragma once

#include <filesystem>
#include <string>

// The only place that talks to the operating system directly.
namespace zentrail::platform {

// Folder of the running executable.
std::filesystem::path ProgramFolder();

// Host name of this machine ("localhost" when it cannot be read).
std::string LocalHostName();

}  // namespace zentrail::platform
