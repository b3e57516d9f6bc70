#pragma once

// Small HTTP servers on 127.0.0.1 for transport tests: a canned-reply server and a raw
// socket server that misbehaves on purpose.

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace zentrail::testing {

// Answers every POST with what `reply` returns for the request body, and a GET with
// `getStatus` and a line saying it runs.
class CannedHttpServer {
public:
    explicit CannedHttpServer(std::function<std::string(const std::string&)> reply,
                              int getStatus = 200)
        : reply_(std::move(reply)) {
        server_.set_tcp_nodelay(true);  // no delayed-ACK stall between header and body
        server_.Post(".*", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard<std::mutex> lock(mutex_);
            lastBody_ = req.body;
            lastContentType_ = req.get_header_value("Content-Type");
            ++requests_;
            clientPorts_.insert(req.remote_port);
            res.set_content(reply_(req.body), "text/xml");
        });
        server_.Get(".*", [this, getStatus](const httplib::Request&, httplib::Response& res) {
            ++gets_;
            res.status = getStatus;
            res.set_content("<RESPONSE>TallyPrime Server is Running</RESPONSE>", "text/xml");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        // The socket already listens after binding, so requests queue until the loop runs.
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~CannedHttpServer() {
        server_.stop();
        thread_.join();
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    int Port() const { return port_; }
    std::string LastBody() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return lastBody_;
    }
    std::string LastContentType() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return lastContentType_;
    }
    int Requests() const { return requests_; }
    int Gets() const { return gets_; }
    // Connections that carried requests: each has its own client port.
    size_t Connections() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return clientPorts_.size();
    }

private:
    std::function<std::string(const std::string&)> reply_;
    httplib::Server server_;
    int port_ = 0;
    std::thread thread_;
    mutable std::mutex mutex_;
    std::string lastBody_;
    std::string lastContentType_;
    std::set<int> clientPorts_;
    std::atomic<int> requests_{0};
    std::atomic<int> gets_{0};
};

// Accepts one connection at a time, reads the request, waits `hold`, writes `raw` and closes.
class RawReplyServer {
public:
    explicit RawReplyServer(std::string raw,
                            std::chrono::milliseconds hold = std::chrono::milliseconds(0))
        : raw_(std::move(raw)), hold_(hold) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        int yes = 1;
        setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        socklen_t length = sizeof addr;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &length);
        port_ = ntohs(addr.sin_port);
        listen(listener_, 4);
        thread_ = std::thread([this] { Serve(); });
    }
    ~RawReplyServer() {
        stopping_ = true;
        shutdown(listener_, SHUT_RDWR);
        close(listener_);
        thread_.join();
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }

private:
    void Serve() {
        while (!stopping_) {
            int client = accept(listener_, nullptr, nullptr);
            if (client < 0) return;
            std::string request;
            char buffer[4096];
            // Read until the end of the head and the whole body have arrived.
            while (true) {
                ssize_t n = recv(client, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                request.append(buffer, static_cast<size_t>(n));
                size_t headEnd = request.find("\r\n\r\n");
                if (headEnd == std::string::npos) continue;
                size_t lengthAt = request.find("Content-Length: ");
                size_t length =
                    lengthAt == std::string::npos ? 0 : std::stoul(request.substr(lengthAt + 16));
                if (request.size() >= headEnd + 4 + length) break;
            }
            auto until = std::chrono::steady_clock::now() + hold_;
            while (!stopping_ && std::chrono::steady_clock::now() < until)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            send(client, raw_.data(), raw_.size(), MSG_NOSIGNAL);
            close(client);
        }
    }

    std::string raw_;
    std::chrono::milliseconds hold_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

// A port on 127.0.0.1 on which nothing listens (bound, then released).
inline int UnusedPort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t length = sizeof addr;
    getsockname(s, reinterpret_cast<sockaddr*>(&addr), &length);
    close(s);
    return ntohs(addr.sin_port);
}

}  // namespace zentrail::testing
