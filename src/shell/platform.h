#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

// The only place that talks to the operating system directly.
namespace zentrail::platform {

// Folder of the running executable.
std::filesystem::path ProgramFolder();

// Host name of this machine ("localhost" when it cannot be read).
std::string LocalHostName();

struct LocalDate {
    int year;
    int month;
    int day;
};

// Today's date in the machine's time zone.
LocalDate LocalToday();

// The local time now as "YYYYMMDD-HHMMSS", for names of files written by a run.
std::string LocalTimestamp();

// The local time now as "YYYY-MM-DD HH:MM:SS", for records kept between runs.
std::string LocalDateTime();

// True when the stream is an interactive terminal.
bool IsTerminal(std::FILE* stream);

// Columns of the terminal the stream writes to (80 when that cannot be read).
int TerminalColumns(std::FILE* stream);

// Replaces the file at `path` by `contents` as a whole: written to a new file beside it, flushed
// to disk, then renamed over it, so that a reader finds the old file or the new one, never a
// part. The new file keeps the old one's permissions. Throws std::system_error.
void ReplaceFile(const std::filesystem::path& path, std::string_view contents);

// Cells a terminal gives the character: 0 for combining marks, 2 for wide ones, else 1.
int DisplayWidth(char32_t c);

}  // namespace zentrail::platform
