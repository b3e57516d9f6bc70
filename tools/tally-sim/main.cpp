// tally-sim: a Tally server for tests, demos and dry runs. See README.md.

#include <signal.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "tally-sim/books_file.h"
#include "tally-sim/request_recorder.h"
#include "tally-sim/sim_http_server.h"
#include "tally-sim/simulated_tally.h"

namespace {

using zentrail::sim::FaultOptions;
using zentrail::sim::RequestRecorder;
using zentrail::sim::SimHttpServer;
using zentrail::sim::SimulatedTally;

void RequestStop() { kill(getpid(), SIGTERM); }

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"tally-sim: a validating Tally server that keeps its books in memory or a file"};
    std::string host = "127.0.0.1";
    int port = 9000;
    std::string company;
    std::string booksPath;
    FaultOptions faults;
    app.add_option("--host", host, "Address to listen on")->capture_default_str();
    app.add_option("--port", port, "Port to listen on; 0 picks a free one")
        ->capture_default_str()
        ->check(CLI::Range(0, 65535));
    CLI::Option* companyOption =
        app.add_option("--company", company,
                       std::string("Name of the loaded company (default \"") +
                           zentrail::sim::kDefaultCompany + "\")");
    app.add_option("--books", booksPath, "SQLite file that keeps the books across restarts");
    std::string recordPath;
    app.add_option("--record", recordPath,
                   "Write every request body, as received, to DIR/00001.xml, 00002.xml, ...")
        ->option_text("DIR");
    app.add_option("--delay-ms", faults.delayMs, "Answer each request after N milliseconds")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--drop-every", faults.dropEvery,
                   "Every Nth request: close the connection without a reply")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--garbage-every", faults.garbageEvery,
                   "Every Nth request: answer a body that is not XML")
        ->check(CLI::NonNegativeNumber);
    app.add_option("--max-requests", faults.maxRequests, "Exit after N requests")
        ->check(CLI::NonNegativeNumber);
    zentrail::sim::ReplyShape shape = zentrail::sim::ReplyShape::Response;
    zentrail::sim::ReplyEncoding encoding = zentrail::sim::ReplyEncoding::Utf8;
    app.add_option("--reply-shape", shape,
                   "Import replies as a bare RESPONSE (current releases) or in an envelope")
        ->option_text("response|envelope")
        ->transform(CLI::CheckedTransformer(
            std::map<std::string, zentrail::sim::ReplyShape>{
                {"response", zentrail::sim::ReplyShape::Response},
                {"envelope", zentrail::sim::ReplyShape::Envelope}},
            CLI::ignore_case));
    app.add_option("--reply-encoding", encoding, "Replies in utf-8 or in utf-16 (little-endian)")
        ->option_text("utf-8|utf-16")
        ->transform(CLI::CheckedTransformer(
            std::map<std::string, zentrail::sim::ReplyEncoding>{
                {"utf-8", zentrail::sim::ReplyEncoding::Utf8},
                {"utf-16", zentrail::sim::ReplyEncoding::Utf16}},
            CLI::ignore_case));
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;  // help and version exit 0, usage errors 2
    }

    // Signals are taken by sigwait below, never by a handler; every thread inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);  // a client that hangs up must not end the server

    std::optional<std::string> companyName;
    if (companyOption->count() > 0) companyName = company;
    std::unique_ptr<SimulatedTally> tally;
    std::unique_ptr<RequestRecorder> recorder;
    try {
        tally = booksPath.empty() ? std::make_unique<SimulatedTally>(companyName)
                                  : std::make_unique<SimulatedTally>(companyName, booksPath);
        if (!recordPath.empty()) recorder = std::make_unique<RequestRecorder>(recordPath);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tally-sim: %s\n", error.what());
        return 1;
    }

    SimHttpServer server(*tally, faults, RequestStop, shape, encoding);
    server.SetRecorder(recorder.get());
    int boundPort = server.Bind(host, port);
    if (boundPort < 0) {
        std::fprintf(stderr, "tally-sim: cannot listen on %s:%d (in use by another program?)\n",
                     host.c_str(), port);
        return 1;
    }
    std::printf("listening on %s:%d\n", host.c_str(), boundPort);
    std::fflush(stdout);

    bool served = true;
    std::thread serving([&] {
        served = server.Run();
        RequestStop();
    });
    int signalNumber = 0;
    sigwait(&stopSignals, &signalNumber);
    server.Stop();
    serving.join();
    return served ? 0 : 1;
}
