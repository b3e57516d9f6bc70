// What Zentrail itself costs each screen: the whole `zentrail-cli export` process, from spawn to
// exit (listing included), against a server process that answers every request at once, paired
// round by round with posting the very same request bodies alone over one kept-alive
// connection. The median of the paired ratios is the program's cost over the bare posting. The
// sales export also runs at 4N invoices, for its scaling and for how long the first voucher
// waits after the masters; and once at 100,000 invoices for its peak memory. The client (this
// process and the exports it starts) runs on one CPU, the servers on another.
//
//   screen_cost_bench [--invoices N] [--rounds R] [--screens a,b,c] [--no-memory]
//                     (defaults 10000, 5, every screen)

#include <cstdio>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "child_run.h"
#include "cli_export.h"
#include "noting_server.h"
#include "tally/http_client.h"
#include "transfer_bench_support.h"

namespace zentrail::bench {
namespace {

const std::vector<std::string> kAllScreens = {"item", "sales",   "purchase", "salesreturn",
                                              "idt",  "receipt", "service",  "creditnote"};
constexpr long kMemoryInvoices = 100000;

struct Options {
    long invoices = 10000;
    int rounds = 5;
    std::vector<std::string> screens = kAllScreens;
    bool memory = true;
};

std::vector<std::string> SplitScreens(const std::string& list) {
    std::vector<std::string> screens;
    std::stringstream in(list);
    for (std::string name; std::getline(in, name, ',');) {
        bool known = false;
        for (const std::string& screen : kAllScreens) known = known || screen == name;
        if (!known) throw std::runtime_error("unknown screen '" + name + "'");
        screens.push_back(name);
    }
    return screens;
}

// Checks that a server took every request of a run.
void CheckTaken(const Arrivals& arrivals, size_t expected, const std::string& what) {
    if (arrivals.Count() != expected)
        throw std::runtime_error(what + ": the server took " + std::to_string(arrivals.Count()) +
                                 " requests, not the " + std::to_string(expected) + " saved");
}

// The seconds from the first request to the last reply, posting `bodies` over one connection.
double PostAlone(const std::vector<std::string>& bodies, NotingServer& server) {
    HttpClient client;
    const std::string url = server.Url();
    const auto start = Clock::now();
    for (const std::string& body : bodies) {
        const HttpResult result = client.Post(url, body);
        if (result.status != HttpResult::Status::Ok)
            throw std::runtime_error("post failed: " + result.description);
    }
    return Seconds(Clock::now() - start);
}

// One screen: its saved requests and the times of every round.
class ScreenCost {
public:
    ScreenCost(const Workspace& work, const std::string& screen, const Database& db)
        : work_(work),
          screen_(screen),
          export_(work, screen),
          db_(db),
          requests_(work, export_, db, screen) {}

    // The export and posting alone, each against a fresh server, in the order given.
    void Round(bool exportFirst) {
        double exportSeconds = 0, postSeconds = 0;
        for (int step = 0; step < 2; ++step) {
            if ((step == 0) == exportFirst)
                exportSeconds = TimeExport();
            else
                postSeconds = TimePosting();
        }
        exports_.push_back(exportSeconds);
        posts_.push_back(postSeconds);
        ratios_.push_back(exportSeconds / postSeconds);
    }

    double LastExport() const { return exports_.back(); }
    double MedianExport() const { return Median(exports_); }

    void Print() const {
        std::printf(
            "%-11s %6zu requests: export %6.2f s, posting alone %6.2f s, median of %zu "
            "paired ratios %6.2f\n",
            screen_.c_str(), requests_.Count(), Median(exports_), Median(posts_), ratios_.size(),
            Median(ratios_));
        std::fflush(stdout);
    }

private:
    double TimeExport() {
        NotingServer server(work_ / "arrivals.txt");
        const double seconds = export_.Run(db_, server.Port()).seconds;
        CheckTaken(server.Finish(), requests_.Count(), "export " + screen_);
        return seconds;
    }

    double TimePosting() {
        const std::vector<std::string> bodies = requests_.Bodies();
        NotingServer server(work_ / "arrivals.txt");
        const double seconds = PostAlone(bodies, server);
        CheckTaken(server.Finish(), requests_.Count(), "posting " + screen_ + " alone");
        return seconds;
    }

    const Workspace& work_;
    std::string screen_;
    CliExport export_;
    const Database& db_;
    SavedRequests requests_;
    std::vector<double> exports_, posts_, ratios_;
};

// The sales export of the larger database, paired with the sales rounds of the smaller one.
class LargerSales {
public:
    LargerSales(const Workspace& work, long invoices)
        : work_(work),
          db_(work, invoices),
          export_(work, "sales"),
          requestCount_(SavedRequests(work, export_, db_, "sales-larger").Count()) {}

    void Round(double smallerSeconds) {
        NotingServer server(work_ / "arrivals.txt");
        const double seconds = export_.Run(db_, server.Port()).seconds;
        const Arrivals arrivals = server.Finish();
        CheckTaken(arrivals, requestCount_, "export sales of the larger database");
        exports_.push_back(seconds);
        scaling_.push_back(seconds / smallerSeconds);
        if (std::optional<double> wait = arrivals.FirstVoucherWait()) waits_.push_back(*wait);
    }

    void Print(long smallerInvoices, double smallerMedian) const {
        std::printf(
            "sales at %ld invoices, %zu requests: export %.2f s; %ld/%ld: median of %zu paired "
            "ratios %.2f, ratio of medians %.2f; first voucher %s after the last master\n",
            db_.Invoices(), requestCount_, Median(exports_), db_.Invoices(), smallerInvoices,
            scaling_.size(), Median(scaling_), Median(exports_) / smallerMedian,
            FirstVoucherText().c_str());
        std::fflush(stdout);
    }

private:
    std::string FirstVoucherText() const {
        if (waits_.empty()) return "(no voucher after a master)";
        char text[64];
        std::snprintf(text, sizeof text, "%.0f ms (median of %zu)", Median(waits_) * 1000,
                      waits_.size());
        return text;
    }

    const Workspace& work_;
    Database db_;
    CliExport export_;
    size_t requestCount_;
    std::vector<double> exports_, scaling_, waits_;
};

// The peak memory of the sales export of many invoices, measured while this process is still
// small (a spawned child starts out counting its parent's resident pages).
void PrintPeakMemory(const Workspace& work) {
    const Database db(work, kMemoryInvoices);
    const CliExport sales(work, "sales");
    NotingServer server(work / "arrivals.txt");
    const long ownKiB = OwnPeakKiB();
    const long peakKiB = sales.Run(db, server.Port()).peakKiB;
    const Arrivals arrivals = server.Finish();
    std::printf(
        "sales at %ld invoices, %zu requests: peak memory of zentrail-cli %ld MiB (this "
        "program's own peak when it started it: %ld MiB)\n",
        kMemoryInvoices, arrivals.Count(), peakKiB / 1024, ownKiB / 1024);
    std::fflush(stdout);
}

void Benchmark(const Options& options) {
    PinAndTell();
    const Workspace work;
    if (options.memory) PrintPeakMemory(work);

    const Database db(work, options.invoices);
    std::vector<std::unique_ptr<ScreenCost>> screens;
    ScreenCost* sales = nullptr;
    for (const std::string& name : options.screens) {
        screens.push_back(std::make_unique<ScreenCost>(work, name, db));
        if (name == "sales") sales = screens.back().get();
    }
    std::optional<LargerSales> larger;
    if (sales != nullptr) larger.emplace(work, 4 * options.invoices);

    // The screens take turns within each round, and the export and posting alone swap places
    // from round to round, so that every pair meets the same state of the machine.
    for (int round = 0; round < options.rounds; ++round) {
        for (const auto& screen : screens) {
            screen->Round(round % 2 == 0);
            if (screen.get() == sales) larger->Round(sales->LastExport());
        }
    }

    std::printf(
        "%ld invoices, %d rounds; the whole export process against posting its requests "
        "alone, both into an instant server:\n",
        options.invoices, options.rounds);
    for (const auto& screen : screens) screen->Print();
    if (larger) larger->Print(options.invoices, sales->MedianExport());
}

}  // namespace
}  // namespace zentrail::bench

int main(int argc, char** argv) {
    using namespace zentrail::bench;
    try {
        Options options;
        options.invoices = NumberOption(argc, argv, "--invoices", options.invoices);
        options.rounds = static_cast<int>(NumberOption(argc, argv, "--rounds", options.rounds));
        const std::string screens = TextOption(argc, argv, "--screens", "");
        if (!screens.empty()) options.screens = SplitScreens(screens);
        options.memory = !FlagOption(argc, argv, "--no-memory");
        if (options.invoices < 1 || options.rounds < 1)
            throw std::runtime_error("--invoices and --rounds must be at least 1");
        Benchmark(options);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "screen_cost_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
