#pragma once

#include <cstdio>
#include <filesystem>
#include <memory>
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

// A file that is only appended to, held by one process at a time: nobody else can take it
// while it is open here, also when this process dies without closing it (the lock goes with it).
class AppendOnlyFile {
public:
    // Opens or creates `path`. Throws std::system_error when it cannot, or, unless `orNull`,
    // when another process holds it; with `orNull` that gives an empty pointer.
    static std::unique_ptr<AppendOnlyFile> Take(const std::filesystem::path& path,
                                                bool orNull = false);
    ~AppendOnlyFile();
    AppendOnlyFile(const AppendOnlyFile&) = delete;
    AppendOnlyFile& operator=(const AppendOnlyFile&) = delete;

    // Appends `text` at the end in one write, left to the system to store (no flush to disk: a
    // killed process keeps what it wrote). Throws std::system_error unless all of it went.
    void Append(std::string_view text);

private:
    explicit AppendOnlyFile(int descriptor) : descriptor_(descriptor) {}
    int descriptor_;
};

// Cells a terminal gives the character: 0 for combining marks, 2 for wide ones, else 1.
int DisplayWidth(char32_t c);

}  // namespace zentrail::platform
