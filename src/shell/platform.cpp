#include "shell/platform.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <ctime>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// windows.h names a function of its own so; this file defines platform::ReplaceFile.
#undef ReplaceFile
#else
#include <fcntl.h>
#include <locale.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cwchar>
#endif

#include <cstdlib>

namespace zentrail::platform {

std::filesystem::path ProgramFolder() {
#ifdef _WIN32
    // The name is cut to the buffer, so the buffer grows until the whole name fits.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::filesystem::current_path();
        if (length < buffer.size()) {
            buffer.resize(length);
            return std::filesystem::path(buffer).parent_path();
        }
        buffer.resize(buffer.size() * 2);
    }
#else
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return std::filesystem::current_path();
    return self.parent_path();
#endif
}

std::string LocalHostName() {
    char name[256] = {0};
#ifdef _WIN32
    DWORD size = sizeof name;
    if (!GetComputerNameA(name, &size)) return "localhost";
#else
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return "localhost";
#endif
    return name;
}

namespace {

std::tm LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

}  // namespace

LocalDate LocalToday() {
    std::tm local = LocalNow();
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string LocalTimestamp() {
    std::tm local = LocalNow();
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

std::string LocalDateTime() {
    std::tm local = LocalNow();
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

void UseUtf8Console() {
#ifdef _WIN32
    SetConsoleOutputCP(CP_UTF8);
#endif
}

namespace {

std::atomic<void (*)()> gOnStop{nullptr};
static_assert(std::atomic<void (*)()>::is_always_lock_free);

#ifdef _WIN32
HANDLE gReleased = CreateEventW(nullptr, TRUE, FALSE, nullptr);

BOOL WINAPI OnConsoleEvent(DWORD event) {
    void (*onStop)() = gOnStop.load();
    if (onStop == nullptr) return FALSE;
    onStop();
    // After a close the process ends as this returns (or five seconds on): the run gets that
    // long to stop in order and write what it holds.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT)
        WaitForSingleObject(gReleased, 4500);
    return TRUE;
}
#else
extern "C" void OnStopSignal(int) {
    if (void (*onStop)() = gOnStop.load()) onStop();
}
#endif

}  // namespace

void CatchStopRequests(void (*onStop)()) {
    gOnStop = onStop;
#ifdef _WIN32
    ResetEvent(gReleased);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
#else
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
#endif
}

void ReleaseStopRequests() {
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    SetEvent(gReleased);
#else
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
#endif
    gOnStop = nullptr;
}

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}

int TerminalColumns(std::FILE* stream) {
#ifdef _WIN32
    CONSOLE_SCREEN_BUFFER_INFO info;
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    if (GetConsoleScreenBufferInfo(handle, &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
#else
    winsize size{};
    if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
#endif
    if (const char* columns = std::getenv("COLUMNS")) {
        const int value = std::atoi(columns);
        if (value > 0) return value;
    }
    return 80;
}

int DisplayWidth(char32_t c) {
#ifdef _WIN32
    // Windows has no wcwidth; its character types tell marks and wide letters apart.
    if ((c >= 0x200B && c <= 0x200F) || (c >= 0x2060 && c <= 0x2064) || c == 0xFEFF) return 0;
    if (c > 0xFFFF) {
        const bool wide = (c >= 0x1F300 && c <= 0x1F64F) || (c >= 0x1F900 && c <= 0x1F9FF) ||
                          (c >= 0x20000 && c <= 0x3FFFD);
        return wide ? 2 : 1;
    }
    if ((c >= 0x1100 && c <= 0x115F) || (c >= 0xAC00 && c <= 0xD7A3)) return 2;  // Hangul
    const wchar_t unit = static_cast<wchar_t>(c);
    WORD type = 0;
    if (!GetStringTypeW(CT_CTYPE3, &unit, 1, &type)) return 1;
    if (type & C3_NONSPACING) return 0;
    if (type & (C3_FULLWIDTH | C3_IDEOGRAPH | C3_HIRAGANA | C3_KATAKANA)) return 2;
    return 1;
#else
    // wcwidth follows LC_CTYPE; a UTF-8 locale for this thread only leaves the program's alone.
    static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    if (!utf8) return 1;
    const locale_t previous = uselocale(utf8);
    const int width = wcwidth(static_cast<wchar_t>(c));
    uselocale(previous);
    return width < 0 ? 1 : width;
#endif
}

void ReplaceFile(const std::filesystem::path& path, std::string_view contents) {
#ifdef _WIN32
    const std::filesystem::path temporary = path.string() + ".new";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
        file.flush();
        if (!file) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw std::system_error(std::make_error_code(std::errc::io_error), temporary.string());
        }
    }
    if (!MoveFileExW(temporary.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const std::error_code error(static_cast<int>(GetLastError()), std::system_category());
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw std::system_error(error, path.string());
    }
#else
    std::string pattern = path.string() + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) throw std::system_error(errno, std::generic_category(), pattern);
    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(pattern.c_str());
        throw std::system_error(error, std::generic_category(), path.string());
    };
    // The new file keeps the permissions of the one it replaces.
    struct stat old;
    if (::stat(path.c_str(), &old) == 0 && ::fchmod(fd, old.st_mode & 07777) != 0) fail(errno);
    size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) fail(errno);
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(pattern.c_str());
        throw std::system_error(error, std::generic_category(), path.string());
    }
    if (::rename(pattern.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(pattern.c_str());
        throw std::system_error(error, std::generic_category(), path.string());
    }
#endif
}

void LowerThisThreadsPriority() {
#if defined(__linux__)
    // Linux takes a thread's own id for a nice value of that thread alone.
    (void)::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
#elif defined(_WIN32)
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#endif
}

#ifdef _WIN32
namespace {

HANDLE HandleOf(int descriptor) { return reinterpret_cast<HANDLE>(_get_osfhandle(descriptor)); }

std::system_error LastError(DWORD error, const std::string& what) {
    return std::system_error(static_cast<int>(error), std::system_category(), what);
}

}  // namespace

std::unique_ptr<AppendOnlyFile> AppendOnlyFile::Take(const std::filesystem::path& path,
                                                     bool orNull) {
    // Opened for writing without sharing that: the share mode is the lock, and it goes with
    // the process. Others may still read it.
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION)
            throw LastError(error, "cannot open " + path.string());
        if (orNull) return nullptr;
        throw LastError(error, "cannot lock " + path.string());
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        const DWORD error = GetLastError();
        CloseHandle(file);
        throw LastError(error, "cannot read " + path.string());
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(file);
        throw std::system_error(errno, std::generic_category(), "cannot open " + path.string());
    }
    return std::unique_ptr<AppendOnlyFile>(
        new AppendOnlyFile(descriptor, static_cast<size_t>(size.QuadPart)));
}

AppendOnlyFile::~AppendOnlyFile() {
    if (map_ != nullptr) {
        UnmapViewOfFile(map_);
        // The reserved tail is cut off; where that fails it stays zeros, which no reader takes
        // for a line.
        LARGE_INTEGER end{};
        end.QuadPart = static_cast<LONGLONG>(end_);
        const HANDLE file = HandleOf(descriptor_);
        if (SetFilePointerEx(file, end, nullptr, FILE_BEGIN)) (void)SetEndOfFile(file);
    }
    _close(descriptor_);
}

void AppendOnlyFile::Grow(size_t needed) {
    constexpr size_t kStep = size_t{1} << 20;
    const size_t size = std::max((needed + kStep - 1) / kStep * kStep, mapped_ * 2);
    // A mapping larger than the file extends the file, so a full disk is told here.
    const HANDLE mapping =
        CreateFileMappingW(HandleOf(descriptor_), nullptr, PAGE_READWRITE,
                           static_cast<DWORD>(static_cast<unsigned long long>(size) >> 32),
                           static_cast<DWORD>(size & 0xFFFFFFFFu), nullptr);
    if (mapping == nullptr) throw LastError(GetLastError(), "cannot write");
    void* map = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, size);
    const DWORD error = GetLastError();
    CloseHandle(mapping);  // the view keeps it
    if (map == nullptr) throw LastError(error, "cannot write");
    if (map_ != nullptr) UnmapViewOfFile(map_);
    map_ = static_cast<char*>(map);
    mapped_ = size;
}
#else
std::unique_ptr<AppendOnlyFile> AppendOnlyFile::Take(const std::filesystem::path& path,
                                                     bool orNull) {
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0)
        throw std::system_error(errno, std::generic_category(), "cannot open " + path.string());
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(descriptor);
        if (orNull && error == EWOULDBLOCK) return nullptr;
        throw std::system_error(error, std::generic_category(), "cannot lock " + path.string());
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        const int error = errno;
        ::close(descriptor);
        throw std::system_error(error, std::generic_category(), "cannot read " + path.string());
    }
    return std::unique_ptr<AppendOnlyFile>(
        new AppendOnlyFile(descriptor, static_cast<size_t>(status.st_size)));
}

AppendOnlyFile::~AppendOnlyFile() {
    if (map_ != nullptr) {
        ::munmap(map_, mapped_);
        // The reserved tail is cut off; where that fails it stays zeros, which no reader takes
        // for a line.
        (void)::ftruncate(descriptor_, static_cast<off_t>(end_));
    }
    ::close(descriptor_);
}

void AppendOnlyFile::Grow(size_t needed) {
    constexpr size_t kStep = size_t{1} << 20;
    const size_t size = std::max((needed + kStep - 1) / kStep * kStep, mapped_ * 2);
    // Reserved, not only extended: a write into a hole of a full disk would kill the process.
    if (const int error = ::posix_fallocate(descriptor_, 0, static_cast<off_t>(size)); error != 0)
        throw std::system_error(error, std::generic_category(), "cannot write");
    void* map = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, descriptor_, 0);
    if (map == MAP_FAILED) throw std::system_error(errno, std::generic_category(), "cannot write");
    if (map_ != nullptr) ::munmap(map_, mapped_);
    map_ = static_cast<char*>(map);
    mapped_ = size;
}
#endif

void AppendOnlyFile::Append(std::string_view text) {
    if (end_ + text.size() > mapped_) Grow(end_ + text.size());
    std::memcpy(map_ + end_, text.data(), text.size());
    end_ += text.size();
}

}  // namespace zentrail::platform
