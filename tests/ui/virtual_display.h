#pragma once

// A display of our own for the tests that must see what the screen shows: Xvfb on a display
// number it picks itself, optionally with a window manager, both stopped at the end.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace zentrail::testing {

class ChildProcess {
public:
    ChildProcess() = default;
    // Starts `argv`, found on PATH; descriptors without close-on-exec stay open in the child.
    explicit ChildProcess(const std::vector<std::string>& argv) {
        std::vector<char*> args;
        for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        if (int error = posix_spawnp(&pid_, args[0], nullptr, nullptr, args.data(), environ))
            throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(error));
    }
    ~ChildProcess() { Stop(); }
    ChildProcess(ChildProcess&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}
    ChildProcess& operator=(ChildProcess&& other) noexcept {
        Stop();
        pid_ = std::exchange(other.pid_, -1);
        return *this;
    }

    bool Running() const {
        int status = 0;
        return pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == 0;
    }

    void Stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        for (int i = 0; i < 50; ++i) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) != 0) {
                pid_ = -1;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
};

// Xvfb writes the number of the free display it took to the descriptor given with -displayfd.
class VirtualDisplay {
public:
    explicit VirtualDisplay(const std::string& screen = "1280x900x24") {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        // Only the write end goes to Xvfb.
        ::fcntl(fds[1], F_SETFD, 0);
        xvfb_ = ChildProcess({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen,
                              "-nolisten", "tcp"});
        ::close(fds[1]);
        std::string number;
        pollfd wait{fds[0], POLLIN, 0};
        while (number.find('\n') == std::string::npos && ::poll(&wait, 1, 15'000) > 0) {
            char buffer[32];
            ssize_t n = ::read(fds[0], buffer, sizeof buffer);
            if (n <= 0) break;
            number.append(buffer, static_cast<size_t>(n));
        }
        ::close(fds[0]);
        if (number.find('\n') == std::string::npos)
            throw std::runtime_error("Xvfb did not start (is the xvfb package installed?)");
        name_ = ":" + number.substr(0, number.find('\n'));
    }

    const std::string& Name() const { return name_; }

private:
    ChildProcess xvfb_;
    std::string name_;
};

// openbox on the display named by DISPLAY; ready once it has run its start-up command.
class WindowManager {
public:
    explicit WindowManager(const std::filesystem::path& readyFile) {
        std::filesystem::remove(readyFile);
        process_ = ChildProcess({"openbox", "--startup", "touch " + readyFile.string()});
        for (int i = 0; i < 150 && !std::filesystem::exists(readyFile); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!std::filesystem::exists(readyFile))
            throw std::runtime_error("openbox did not start (is the openbox package installed?)");
    }

private:
    ChildProcess process_;
};

}  // namespace zentrail::testing
