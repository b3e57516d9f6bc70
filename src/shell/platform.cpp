#include "shell/platform.h"

#include <ctime>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

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

}  // namespace zentrail::platform
