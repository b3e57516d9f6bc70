#pragma once

// What the transfer benchmarks share: a generated demo database, server processes pinned apart
// from this process, and a timed sales export that counts only when Tally took every request.

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "screens/sales_screen.h"
#include "support/tally_sim_process.h"

namespace zentrail::bench {

using Clock = std::chrono::steady_clock;
using testing::TallySimProcess;

inline constexpr const char* kCompany = "Zentrail Demo";

// Pins this process (and so the threads it starts later) to one CPU and the servers started
// after it to another, where the machine has two to choose from; prints which.
void PinAndTell();

// A server process for one timed run, pinned where the machine allows.
class ServerProcess {
public:
    ServerProcess(std::vector<std::string> args, std::string executable);
    TallySimProcess& operator*() { return process_; }
    TallySimProcess* operator->() { return &process_; }

private:
    TallySimProcess process_;
};

// A fresh tally-sim of the demo's company.
ServerProcess Simulator();

// A fresh instant_server: every request answered at once as a created voucher.
ServerProcess InstantServer(std::vector<std::string> args = {});

// A demo database of `invoices` sales invoices in the temporary folder, removed with it.
class DemoDatabase {
public:
    DemoDatabase(long invoices, const std::string& tag);
    ~DemoDatabase();
    DemoDatabase(const DemoDatabase&) = delete;
    DemoDatabase& operator=(const DemoDatabase&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

Configuration ConfigFor(const std::string& db, int port);

// Runs a screen's Get Data and returns it ready for Export.
template <typename Screen>
std::unique_ptr<Screen> Listed(ScreenContext context) {
    auto screen = std::make_unique<Screen>(context);
    screen->Load();
    screen->SetDates({2024, 4, 1}, {2024, 5, 31});
    screen->GetData();
    if (screen->GetDataFailed()) throw std::runtime_error("Get Data failed: " + screen->LogText());
    return screen;
}

// The items every sales voucher names, into the server at `port`.
void TransferItems(const std::string& db, int port);

// Every request reached Tally and was taken; the demo's own differences from the source (sent
// and reported) are part of the run.
bool AllPosted(const RunCounts& run);

// The seconds of the sales Export of `db` into the server at `port` (Get Data not counted),
// keeping `journal` unless it is empty. Throws unless every request was taken; `inspect` sees
// the finished screen.
double TimeSalesExport(const std::string& db, int port, const std::filesystem::path& journal = {},
                       const std::function<void(const SalesScreen&)>& inspect = {});

// The number after `name` on the command line, else `fallback`.
long NumberOption(int argc, char** argv, const char* name, long fallback);
// The word after `name` on the command line, else `fallback`.
std::string TextOption(int argc, char** argv, const char* name, const std::string& fallback);
// Whether `name` is on the command line.
bool FlagOption(int argc, char** argv, const char* name);

double Seconds(Clock::duration d);
double Median(std::vector<double> values);

}  // namespace zentrail::bench
