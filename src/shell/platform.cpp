#include "shell/platform.h"

#include <ctime>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <locale.h>
#include <sys/ioctl.h>
#include <unistd.h>

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

}  // namespace zentrail::platform
