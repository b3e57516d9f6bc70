#pragma once

#include "shell/configuration.h"
#include "shell/source_database.h"

namespace zentrail {

// The program-wide settings and source connection of a running program, set up at start.
inline Configuration& ProgramConfig() {
    static Configuration config;
    return config;
}

inline SourceDatabase& ProgramDatabase() {
    static SourceDatabase database;
    return database;
}

}  // namespace zentrail
