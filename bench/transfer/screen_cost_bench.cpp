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

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "child_run.h"
#include "tally/http_client.h"
#include "transfer_bench_support.h"

namespace zentrail::bench {
namespace {

namespace fs = std::filesystem;

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

// A folder of its own for the databases, configurations, saved requests and logs.
class Workspace {
public:
    Workspace()
        : path_(fs::temp_directory_path() /
                ("zentrail-screen-cost-" + std::to_string(::getpid()))) {
        fs::create_directories(path_);
    }
    ~Workspace() {
        std::error_code ignored;  // a folder left behind harms nothing
        fs::remove_all(path_, ignored);
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

// Fails with the end of a child's output.
[[noreturn]] void FailWithLog(const std::string& what, const fs::path& log) {
    std::ifstream in(log);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.size() > 2000) text = "..." + text.substr(text.size() - 2000);
    throw std::runtime_error(what + "; its output ends:\n" + text);
}

// A demo database written by the dms-demo program, so that this process stays small.
class Database {
public:
    Database(const Workspace& work, long invoices)
        : invoices_(invoices), path_(work / ("demo-" + std::to_string(invoices) + ".db")) {
        const fs::path log = path_.string() + ".log";
        const ChildRun run = RunChild(
            {DMS_DEMO_PATH, "--out", path_.string(), "--invoices", std::to_string(invoices)},
            log.string());
        if (run.exitCode != 0) FailWithLog("dms-demo failed", log);
    }
    ~Database() {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    long Invoices() const { return invoices_; }
    const fs::path& Path() const { return path_; }

private:
    long invoices_;
    fs::path path_;
};

// What a server process was sent: per request its arrival and whether it held a voucher.
struct Arrivals {
    std::vector<long long> microseconds;
    std::vector<bool> voucher;

    static Arrivals Read(const fs::path& file) {
        Arrivals arrivals;
        std::ifstream in(file);
        long long us = 0;
        char kind = 0;
        while (in >> us >> kind) {
            arrivals.microseconds.push_back(us);
            arrivals.voucher.push_back(kind == 'V');
        }
        return arrivals;
    }

    size_t Count() const { return microseconds.size(); }

    // From the last request before the first voucher to the first voucher: how long the first
    // voucher kept Tally waiting after the masters. Nothing when no voucher follows a master.
    std::optional<double> FirstVoucherWait() const {
        for (size_t i = 1; i < voucher.size(); ++i)
            if (voucher[i]) return (microseconds[i] - microseconds[i - 1]) / 1e6;
        return std::nullopt;
    }
};

// A fresh instant server that notes what it is sent; the notes are read once it has ended.
class NotingServer {
public:
    explicit NotingServer(const Workspace& work)
        : file_(work / "arrivals.txt"), server_(Start(file_)) {}

    int Port() { return server_->Port(); }
    std::string Url() { return server_->Url(); }

    Arrivals Finish() {
        if (server_->Stop() != 0) throw std::runtime_error("instant_server did not end cleanly");
        return Arrivals::Read(file_);
    }

private:
    static ServerProcess Start(const fs::path& file) {
        fs::remove(file);
        return InstantServer({"--arrivals", file.string()});
    }

    fs::path file_;
    ServerProcess server_;
};

// One screen's export, as the operator runs it: a configuration naming the database and the
// server, and the whole zentrail-cli process. Every run starts in a new folder, so that its
// journal and run report (kept beside the configuration) are a first run's.
class Export {
public:
    Export(const Workspace& work, std::string screen)
        : screen_(std::move(screen)),
          folder_(work / ("run-" + screen_)),
          config_(folder_ / "Config.txt"),
          log_(work / (screen_ + ".log")) {}

    // Saves the requests of `db`'s export into `folder`, posting nothing.
    void Save(const Database& db, const fs::path& folder) const {
        WriteConfig(db, 9);  // no server is asked
        Run({"--save-requests", folder.string(), "--no-post"});
    }

    // The seconds of the export of `db` into `server`.
    double Time(const Database& db, NotingServer& server) const {
        WriteConfig(db, server.Port());
        return Run({}).seconds;
    }

    // The peak memory of the export of `db` into `server`, in KiB.
    long PeakKiB(const Database& db, NotingServer& server) const {
        WriteConfig(db, server.Port());
        return Run({}).peakKiB;
    }

private:
    void WriteConfig(const Database& db, int port) const {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        std::ofstream out(config_);
        out << "SERVER:127.0.0.1\nPORT:" << port
            << "\nCOMPANY:Zentrail Demo Traders\nSQL_ODBC:" << db.Path().string()
            << "\nLEDGER_ID:YES\n";
        if (!out.flush()) throw std::runtime_error("cannot write " + config_.string());
    }

    ChildRun Run(const std::vector<std::string>& extra) const {
        std::vector<std::string> argv = {ZENTRAIL_CLI_PATH, "--config", config_.string(), "export",
                                         screen_};
        // The items have no dates; the documents are those of the demo's two months.
        if (screen_ != "item")
            argv.insert(argv.end(), {"--from", "2024-04-01", "--to", "2024-05-31"});
        argv.insert(argv.end(), extra.begin(), extra.end());
        const ChildRun run = RunChild(argv, log_.string());
        // 1: documents that need attention, which the demo holds on purpose.
        if (run.exitCode != 0 && run.exitCode != 1)
            FailWithLog(
                "zentrail-cli export " + screen_ + " ended with " + std::to_string(run.exitCode),
                log_);
        return run;
    }

    std::string screen_;
    fs::path folder_;
    fs::path config_;
    fs::path log_;
};

// The request bodies an export sends, as saved files, in the order sent.
class SavedRequests {
public:
    SavedRequests(const Workspace& work, const Export& exporter, const Database& db,
                  const std::string& name)
        : folder_(work / ("requests-" + name)) {
        exporter.Save(db, folder_);
        for (const fs::directory_entry& entry : fs::directory_iterator(folder_))
            files_.emplace(std::stol(entry.path().filename().string()), entry.path());
    }
    ~SavedRequests() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    SavedRequests(const SavedRequests&) = delete;
    SavedRequests& operator=(const SavedRequests&) = delete;

    size_t Count() const { return files_.size(); }

    std::vector<std::string> Bodies() const {
        std::vector<std::string> bodies;
        bodies.reserve(files_.size());
        for (const auto& [number, path] : files_) {
            std::ifstream in(path, std::ios::binary);
            bodies.emplace_back(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
        }
        return bodies;
    }

private:
    fs::path folder_;
    std::map<long, fs::path> files_;  // by the number the name starts with
};

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
        NotingServer server(work_);
        const double seconds = export_.Time(db_, server);
        CheckTaken(server.Finish(), requests_.Count(), "export " + screen_);
        return seconds;
    }

    double TimePosting() {
        const std::vector<std::string> bodies = requests_.Bodies();
        NotingServer server(work_);
        const double seconds = PostAlone(bodies, server);
        CheckTaken(server.Finish(), requests_.Count(), "posting " + screen_ + " alone");
        return seconds;
    }

    const Workspace& work_;
    std::string screen_;
    Export export_;
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
        NotingServer server(work_);
        const double seconds = export_.Time(db_, server);
        const Arrivals arrivals = server.Finish();
        CheckTaken(arrivals, requestCount_, "export sales of the larger database");
        exports_.push_back(seconds);
        scaling_.push_back(seconds / smallerSeconds);
        if (std::optional<double> wait = arrivals.FirstVoucherWait()) waits_.push_back(*wait);
    }

    void Print(long smallerInvoices, double smallerMedian) const {
        std::printf(
            "sales at %ld invoices, %zu requests: export %.2f s; %ld/%ld: median of %zu paired "
            "ratios %.2f, ratio of medians %.2f; first voucher %.0f ms after the last master "
            "(median)\n",
            db_.Invoices(), requestCount_, Median(exports_), db_.Invoices(), smallerInvoices,
            scaling_.size(), Median(scaling_), Median(exports_) / smallerMedian,
            Median(waits_) * 1000);
        std::fflush(stdout);
    }

private:
    const Workspace& work_;
    Database db_;
    Export export_;
    size_t requestCount_;
    std::vector<double> exports_, scaling_, waits_;
};

// The peak memory of the sales export of many invoices, measured while this process is still
// small (a spawned child starts out counting its parent's resident pages).
void PrintPeakMemory(const Workspace& work) {
    const Database db(work, kMemoryInvoices);
    const Export sales(work, "sales");
    NotingServer server(work);
    const long ownKiB = OwnPeakKiB();
    const long peakKiB = sales.PeakKiB(db, server);
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
