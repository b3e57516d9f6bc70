#pragma once

// Runs the tally-sim executable for a test: starts it on a free port, tells its address,
// reads its books and stops it again. A child that hangs cannot hang the test: every wait
// has a time-out, and a child that ignores SIGTERM is killed.

#include <fcntl.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <nlohmann/json.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace zentrail::testing {

class TallySimProcess {
public:
    static constexpr std::chrono::milliseconds kStartTimeout{10'000};
    static constexpr std::chrono::milliseconds kStopTimeout{5'000};

    // Starts `executable --port 0 args...` and waits for its "listening on HOST:PORT" line.
    // Throws std::runtime_error when it does not start.
    explicit TallySimProcess(std::vector<std::string> args = {},
                             std::string executable = DefaultExecutable()) {
        std::vector<std::string> argv{executable, "--port", "0"};
        argv.insert(argv.end(), args.begin(), args.end());
        Spawn(argv);
        std::string line = ReadFirstLine();
        size_t colon = line.rfind(':');
        if (line.rfind("listening on ", 0) != 0 || colon == std::string::npos) {
            Stop();
            throw std::runtime_error("tally-sim did not start: '" + line + "'");
        }
        port_ = std::stoi(line.substr(colon + 1));
        host_ = line.substr(13, colon - 13);
    }

    ~TallySimProcess() { Stop(); }
    TallySimProcess(const TallySimProcess&) = delete;
    TallySimProcess& operator=(const TallySimProcess&) = delete;

    static std::string DefaultExecutable() {
#ifdef TALLY_SIM_PATH
        return TALLY_SIM_PATH;
#else
        throw std::runtime_error("the tests were built without tally-sim");
#endif
    }

    int Port() const { return port_; }
    const std::string& Host() const { return host_; }
    pid_t Pid() const { return pid_; }
    std::string Url() const { return "http://" + host_ + ":" + std::to_string(port_); }

    // GET /books, parsed.
    nlohmann::json Books() const {
        httplib::Client client(host_, port_);
        client.set_connection_timeout(5);
        client.set_read_timeout(30);
        httplib::Result result = client.Get("/books");
        if (!result || result->status != 200)
            throw std::runtime_error(
                "GET /books failed: " +
                (result ? std::to_string(result->status) : httplib::to_string(result.error())));
        return nlohmann::json::parse(result->body);
    }

    // Waits for the process to end by itself; gives its wait status, or nullopt on time-out.
    std::optional<int> WaitForExit(std::chrono::milliseconds timeout) {
        if (exitStatus_) return exitStatus_;
        auto until = std::chrono::steady_clock::now() + timeout;
        while (true) {
            int status = 0;
            pid_t done = waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                exitStatus_ = status;
                return exitStatus_;
            }
            if (done < 0 || std::chrono::steady_clock::now() >= until) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    // SIGTERM, then SIGKILL when it has not ended within kStopTimeout. Gives the wait status.
    int Stop() {
        if (pid_ <= 0) return exitStatus_.value_or(-1);
        if (!exitStatus_) {
            kill(pid_, SIGTERM);
            if (!WaitForExit(kStopTimeout)) {
                kill(pid_, SIGKILL);
                int status = 0;
                waitpid(pid_, &status, 0);
                exitStatus_ = status;
                killed_ = true;
            }
        }
        CloseOutput();
        return *exitStatus_;
    }

    // True when Stop had to kill the process.
    bool WasKilled() const { return killed_; }

private:
    void Spawn(const std::vector<std::string>& argv) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        // The child starts with default signal handling and no blocked signals, whatever the
        // test runner set up.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGTERM);
        sigaddset(&defaults, SIGINT);
        sigaddset(&defaults, SIGPIPE);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &defaults);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        int rc = posix_spawn(&pid_, argv[0].c_str(), &actions, &attributes, args.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
        close(fds[1]);
        if (rc != 0) {
            close(fds[0]);
            pid_ = -1;
            throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(rc));
        }
        output_ = fds[0];
    }

    std::string ReadFirstLine() {
        std::string line;
        auto until = std::chrono::steady_clock::now() + kStartTimeout;
        while (true) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            if (left.count() <= 0) return line + " (no complete line in time)";
            pollfd wait{output_, POLLIN, 0};
            if (poll(&wait, 1, static_cast<int>(left.count())) <= 0) continue;
            char c;
            ssize_t n = read(output_, &c, 1);
            if (n <= 0) return line + " (output ended)";
            if (c == '\n') return line;
            line += c;
        }
    }

    void CloseOutput() {
        if (output_ >= 0) close(output_);
        output_ = -1;
    }

    pid_t pid_ = -1;
    int output_ = -1;
    int port_ = 0;
    std::string host_;
    std::optional<int> exitStatus_;
    bool killed_ = false;
};

}  // namespace zentrail::testing
