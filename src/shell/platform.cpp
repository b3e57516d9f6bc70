#include "shell/platform.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
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
#include <cwchar>
#endif

#include <cstdlib>

namespace zentrail::platform {

std::filesystem::path ProgramFolder() {
#ifdef _WIN32
    wchar_t buffer[MAX_PATH * 4];
    DWORD length = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    return std::filesystem::path(std::wstring(buffer, length)).parent_path();
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
    return c >= 0x1100 ? 2 : 1;  // the console draws most wide characters in two cells
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

#ifndef _WIN32
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

void AppendOnlyFile::Append(std::string_view text) {
    if (end_ + text.size() > mapped_) Grow(end_ + text.size());
    std::memcpy(map_ + end_, text.data(), text.size());
    end_ += text.size();
}
#endif

}  // namespace zentrail::platform
