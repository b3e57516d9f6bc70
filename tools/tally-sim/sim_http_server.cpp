#include "tally-sim/sim_http_server.h"

#include <netinet/in.h>
#include <sys/socket.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "tally-sim/books_json.h"
#include "tally/reply_encoding.h"

namespace zentrail::sim {

namespace {

// Set by the handler of the request that reaches the limit, read once its reply is written
// (the handler and the logger run on the same worker thread).
thread_local bool tStopAfterReply = false;

int PortOf(const sockaddr_storage& address) {
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    return -1;
}

// Runs `action` on each connected socket of the process whose local port (and, when given,
// peer port) match. The server library gives handlers no socket, so connections are found
// by their ports among the process's descriptors.
template <typename Action>
int ForEachConnection(int localPort, int remotePort, Action action) {
    int found = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        std::string name = entry.path().filename().string();
        int fd = -1;
        if (std::from_chars(name.data(), name.data() + name.size(), fd).ec != std::errc()) continue;
        sockaddr_storage local{};
        sockaddr_storage peer{};
        socklen_t localLength = sizeof local;
        socklen_t peerLength = sizeof peer;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLength) != 0) continue;
        if (getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0) continue;
        if (PortOf(local) != localPort) continue;
        if (remotePort >= 0 && PortOf(peer) != remotePort) continue;
        action(fd);
        ++found;
    }
    return found;
}

// Ends one connection at once: the library then fails to write the reply and closes it, and
// the client sees the connection end without a byte of reply.
bool DropConnection(const httplib::Request& request) {
    return ForEachConnection(request.local_port, request.remote_port,
                             [](int fd) { shutdown(fd, SHUT_RDWR); }) > 0;
}

}  // namespace

SimHttpServer::SimHttpServer(SimulatedTally& tally, FaultOptions faults,
                             std::function<void()> onLastRequest, ReplyShape shape,
                             ReplyEncoding encoding)
    : tally_(tally),
      plan_(faults),
      onLastRequest_(std::move(onLastRequest)),
      shape_(shape),
      encoding_(encoding) {
    server_.set_tcp_nodelay(true);
    // SO_REUSEADDR only: httplib's default SO_REUSEPORT lets a second simulator listen on the
    // same port and take half the requests into other books.
    server_.set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    server_.set_keep_alive_max_count(1'000'000);
    server_.Post(".*", [this](const httplib::Request& request, httplib::Response& response) {
        HandlePost(request, response);
    });
    // A plain GET is how clients ask whether the server runs.
    server_.Get("/", [](const httplib::Request&, httplib::Response& response) {
        response.set_content(RunningReply(), "text/xml; charset=utf-8");
    });
    server_.Get("/books", [this](const httplib::Request&, httplib::Response& response) {
        response.set_content(DumpJson(tally_.BooksJson(), 1), "application/json");
    });
    server_.set_logger([this](const httplib::Request&, const httplib::Response&) {
        if (!tStopAfterReply) return;
        tStopAfterReply = false;
        onLastRequest_();
    });
}

void SimHttpServer::HandlePost(const httplib::Request& request, httplib::Response& response) {
    if (recorder_ != nullptr) {
        try {
            recorder_->Record(request.body);
        } catch (const std::exception& error) {
            // A request that could not be kept must not pass as recorded.
            std::fprintf(stderr, "tally-sim: %s\n", error.what());
            response.status = 500;
            response.set_content(error.what(), "text/plain");
            return;
        }
    }
    FaultPlan::Decision decision = plan_.Next();
    if (decision.fate == FaultPlan::Fate::Refuse) {
        DropConnection(request);
        return;
    }
    if (plan_.Options().delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(plan_.Options().delayMs));
    switch (decision.fate) {
        case FaultPlan::Fate::Drop:
            if (!DropConnection(request))
                std::fprintf(stderr, "tally-sim: could not find connection %d to drop\n",
                             request.remote_port);
            // No reply is written, so nothing will run after it: stop from here.
            if (decision.last) onLastRequest_();
            return;
        case FaultPlan::Fate::Garbage:
            response.set_content(kGarbageReply, "text/plain");
            break;
        default:
            try {
                std::string reply = tally_.HandleRequest(request.body);
                if (shape_ == ReplyShape::Envelope) reply = ImportReplyInEnvelope(reply);
                if (encoding_ == ReplyEncoding::Utf16)
                    response.set_content(EncodeUtf16(reply, TextEncoding::Utf16Le),
                                         "text/xml; charset=utf-16");
                else
                    response.set_content(reply, "text/xml; charset=utf-8");
            } catch (const std::exception& error) {
                std::fprintf(stderr, "tally-sim: %s\n", error.what());
                response.status = 500;
                response.set_content(error.what(), "text/plain");
            }
    }
    tStopAfterReply = decision.last;
}

int SimHttpServer::Bind(const std::string& host, int port) {
    port_ = port == 0                          ? server_.bind_to_any_port(host)
            : server_.bind_to_port(host, port) ? port
                                               : -1;
    return port_;
}

bool SimHttpServer::Run() { return server_.listen_after_bind(); }

void SimHttpServer::Stop() {
    server_.stop();
    // Idle keep-alive connections would hold the workers until their time-out: end their
    // reading side, so that they close now while replies being written still go out.
    if (port_ > 0) ForEachConnection(port_, -1, [](int fd) { shutdown(fd, SHUT_RD); });
}

}  // namespace zentrail::sim
