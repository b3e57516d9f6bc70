#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <utility>

namespace zentrail::cli {

inline constexpr int kExitClean = 0;
inline constexpr int kExitProblems = 1;
inline constexpr int kExitUsage = 2;
// Ended by Ctrl+C or SIGTERM, as a shell reports a program that SIGINT ended.
inline constexpr int kExitStopped = 130;

// The options every command takes, before or after its name.
struct GlobalOptions {
    std::string configPath;
};

// One verb of the command line: its name and description for the help, its own options, and
// what it does once the command line has been read.
class Command {
public:
    Command(std::string name, std::string description)
        : name_(std::move(name)), description_(std::move(description)) {}
    virtual ~Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    const std::string& Name() const { return name_; }
    const std::string& Description() const { return description_; }
    // Declares the command's arguments and options on its part of the parser.
    virtual void AddOptions(CLI::App& command) = 0;
    // Runs the command; the result is the program's exit status.
    virtual int Execute(const GlobalOptions& global) = 0;

private:
    std::string name_;
    std::string description_;
};

// Writes "zentrail-cli: message" to stderr; the result is the usage exit status.
int Fail(const std::string& message);

}  // namespace zentrail::cli
