// The floor of the transfer benchmarks: an HTTP server of its own process that answers every
// request at once with a reply Tally gives for one created voucher, and does nothing else.
//
//   instant_server [--port 0] [--arrivals FILE]
//
// It prints "listening on 127.0.0.1:PORT" and serves until SIGTERM or SIGINT. With --arrivals,
// it keeps, per request, the microseconds since it started and whether the body holds a
// <VOUCHER> element, and writes them to FILE when it ends ("MICROSECONDS V" or "MICROSECONDS M",
// one a line), so that the file costs the answers nothing.

#include <httplib.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Arrival {
    long long microseconds;
    bool voucher;
};

// The voucher element itself, not <VOUCHERTYPE> or <VOUCHERNUMBER>, which masters hold too.
bool HoldsVoucher(const std::string& body) {
    for (size_t at = body.find("<VOUCHER"); at != std::string::npos;
         at = body.find("<VOUCHER", at + 1)) {
        const size_t next = at + 8;
        if (next < body.size() && (body[next] == ' ' || body[next] == '>')) return true;
    }
    return false;
}

class ArrivalLog {
public:
    explicit ArrivalLog(Clock::time_point start) : start_(start) { arrivals_.reserve(1 << 20); }

    void Note(const std::string& body) {
        const auto now = Clock::now();
        const bool voucher = HoldsVoucher(body);
        const long long us =
            std::chrono::duration_cast<std::chrono::microseconds>(now - start_).count();
        std::lock_guard<std::mutex> guard(lock_);
        arrivals_.push_back({us, voucher});
    }

    bool WriteTo(const std::string& path) const {
        std::ofstream out(path);
        for (const Arrival& a : arrivals_) out << a.microseconds << (a.voucher ? " V\n" : " M\n");
        return static_cast<bool>(out.flush());
    }

private:
    Clock::time_point start_;
    std::mutex lock_;
    std::vector<Arrival> arrivals_;
};

}  // namespace

int main(int argc, char** argv) {
    const auto start = Clock::now();
    std::string arrivalsPath;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--arrivals") == 0) {
            arrivalsPath = argv[i + 1];
        } else if (std::strcmp(argv[i], "--port") != 0) {  // the port is always any free one
            std::fprintf(stderr, "instant_server: unknown option %s\n", argv[i]);
            return 2;
        }
    }

    // The termination signals wait for a thread of their own, which stops the server, so that
    // the arrivals are written after the last answer. Blocked before any thread starts.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    ArrivalLog arrivals(start);
    const bool logging = !arrivalsPath.empty();
    httplib::Server server;
    server.set_tcp_nodelay(true);
    server.Post(".*", [&](const httplib::Request& req, httplib::Response& res) {
        if (logging) arrivals.Note(req.body);
        res.set_content("<RESPONSE><CREATED>1</CREATED><ERRORS>0</ERRORS></RESPONSE>", "text/xml");
    });
    // What Tally answers when asked whether it runs.
    server.Get(".*", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<RESPONSE>TallyPrime Server is Running</RESPONSE>", "text/xml");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    if (port <= 0) {
        std::fprintf(stderr, "instant_server: cannot listen\n");
        return 1;
    }
    std::thread stopper([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        server.stop();
    });
    std::printf("listening on 127.0.0.1:%d\n", port);
    std::fflush(stdout);
    const bool served = server.listen_after_bind();
    if (!served) {
        // Let the waiting thread go.
        pthread_kill(stopper.native_handle(), SIGTERM);
    }
    stopper.join();
    if (logging && !arrivals.WriteTo(arrivalsPath)) {
        std::fprintf(stderr, "instant_server: cannot write %s\n", arrivalsPath.c_str());
        return 1;
    }
    return served ? 0 : 1;
}
