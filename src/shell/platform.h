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

// Makes the console show the program's UTF-8 output as such (Windows); elsewhere nothing to do.
void UseUtf8Console();

// From now on, calls `onStop` when the operator asks the program to stop: Ctrl+C or SIGTERM,
// and on Windows also Ctrl+Break and closing the console window. `onStop` runs in a signal
// handler or on a thread of the system's, so it may only set a lock-free flag. A closed
// console waits for ReleaseStopRequests (a few seconds at most, as Windows allows) so that the
// run can end in order.
void CatchStopRequests(void (*onStop)());

// Gives those requests back to the system's default handling.
void ReleaseStopRequests();

// True when the stream is an interactive terminal.
bool IsTerminal(std::FILE* stream);

// Columns of the terminal the stream writes to (80 when that cannot be read).
int TerminalColumns(std::FILE* stream);

// Replaces the file at `path` by `contents` as a whole: written to a new file beside it, flushed
// to disk, then renamed over it, so that a reader finds the old file or the new one, never a
// part. The new file keeps the old one's permissions. Throws std::system_error.
void ReplaceFile(const std::filesystem::path& path, std::string_view contents);

// Lowers the calling thread's priority, so that a thread waiting on a server gets the processor
// back at once when its reply comes, while the calling thread still gets its share on a busy
// machine. Best effort: where it cannot, the thread runs as it was.
void LowerThisThreadsPriority();

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

    // Appends `text` at the end. It goes into the system's copy of the file at once (a killed
    // process keeps it; no flush to disk), through a mapping, so that an append costs no call
    // into the system; the file grows in reserved steps, so that a full disk is told here.
    // Throws std::system_error unless all of it went.
    void Append(std::string_view text);

private:
    AppendOnlyFile(int descriptor, size_t end) : descriptor_(descriptor), end_(end) {}
    void Grow(size_t needed);
    int descriptor_;  // on Windows the C runtime's number for the file's handle
    size_t end_;      // of what was appended; the mapping reaches past it
    size_t mapped_ = 0;
    char* map_ = nullptr;
};

// Cells a terminal gives the character: 0 for combining marks, 2 for wide ones, else 1.
int DisplayWidth(char32_t c);

}  // namespace zentrail::platform
