#include "app/cli_command.h"

#include <iostream>

namespace zentrail::cli {

int Fail(const std::string& message) {
    std::cerr << "zentrail-cli: " << message << "\n";
    return kExitUsage;
}

}  // namespace zentrail::cli
