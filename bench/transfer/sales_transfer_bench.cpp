// Times the sales transfer of a generated database into tally-sim on loopback, and the posting
// of the very same request bodies with the same HTTP client alone, alternated over several
// rounds. The median of the paired ratios is what the transfer adds on top of Tally's own
// time; running N and 4N invoices shows how it scales. The floor is the same pair against a
// server process that answers at once. Where the machine has two CPUs or more, this process
// runs on one and the servers on another.
//
//   sales_transfer_bench [--invoices N]     (default 10000)

#include <dirent.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "dms_demo.h"
#include "screens/item_screen.h"
#include "screens/sales_screen.h"
#include "support/tally_sim_process.h"
#include "support/test_http_server.h"
#include "tally/http_client.h"

namespace {

using Clock = std::chrono::steady_clock;
using zentrail::testing::TallySimProcess;

constexpr const char* kCompany = "Zentrail Demo";

struct RunFigures {
    long invoices = 0;
    long vouchers = 0;
    double transferSeconds = 0;  // medians over the alternated rounds
    double postSeconds = 0;
    double medianRatio = 0;             // the median of each round's transfer / posting-alone ratio
    double instantTransferSeconds = 0;  // the same against a server that answers at once
    double instantPostSeconds = 0;
};

// The CPUs this process and the servers run on, when there are two to choose from.
struct Pinning {
    int ours = -1;
    int servers = -1;
    bool Active() const { return ours >= 0; }
};
Pinning gPinning;

bool PinThread(pid_t tid, int cpu) {
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    return sched_setaffinity(tid, sizeof set, &set) == 0;
}

// Pins every thread of a process (a server's thread pool is started before it says it listens).
void PinProcess(pid_t pid, int cpu) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = ::opendir(tasks.c_str());
    if (dir == nullptr) throw std::runtime_error("cannot list the threads of " + tasks);
    while (dirent* entry = ::readdir(dir)) {
        const pid_t tid = static_cast<pid_t>(std::atol(entry->d_name));
        if (tid > 0 && !PinThread(tid, cpu)) {
            ::closedir(dir);
            throw std::runtime_error("cannot pin a server thread");
        }
    }
    ::closedir(dir);
}

void ChoosePinning() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0) return;
    std::vector<int> cpus;
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
        if (CPU_ISSET(cpu, &set)) cpus.push_back(cpu);
    if (cpus.size() < 2) return;
    // Threads started later (the document builder) inherit the main thread's CPU.
    if (!PinThread(0, cpus[0])) return;
    gPinning = {cpus[0], cpus[1]};
}

// A server process for one timed run, pinned where the machine allows.
class ServerProcess {
public:
    explicit ServerProcess(std::vector<std::string> args, std::string executable)
        : process_(std::move(args), std::move(executable)) {
        if (gPinning.Active()) PinProcess(process_.Pid(), gPinning.servers);
    }
    TallySimProcess& operator*() { return process_; }
    TallySimProcess* operator->() { return &process_; }

private:
    TallySimProcess process_;
};

ServerProcess Simulator() {
    return ServerProcess({"--company", kCompany}, TallySimProcess::DefaultExecutable());
}
ServerProcess InstantServer() { return ServerProcess({}, INSTANT_SERVER_PATH); }

zentrail::Configuration ConfigFor(const std::string& db, int port) {
    zentrail::Configuration config;
    config.strTallyServer = "127.0.0.1";
    config.strTallyPort = std::to_string(port);
    config.strCompany = kCompany;
    config.strSqlOdbc = db;
    return config;
}

// Runs a screen's Get Data and returns it ready for Export.
template <typename Screen>
std::unique_ptr<Screen> Listed(zentrail::ScreenContext context) {
    auto screen = std::make_unique<Screen>(context);
    screen->Load();
    screen->SetDates({2024, 4, 1}, {2024, 5, 31});
    screen->GetData();
    if (screen->GetDataFailed()) throw std::runtime_error("Get Data failed: " + screen->LogText());
    return screen;
}

void TransferItems(const std::string& db, int port) {
    zentrail::Configuration config = ConfigFor(db, port);
    zentrail::SourceDatabase source;
    source.OpenConnection(config);
    zentrail::HttpClient tally;
    auto items = Listed<zentrail::ItemScreen>({config, source, tally});
    items->Export();
    if (!items->LastRun().Clean()) throw std::runtime_error("item transfer failed" + items->LogText());
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

constexpr int kRounds = 5;

// Every request reached Tally and was taken; the demo's own differences from the source (sent
// and reported) are part of the run.
bool AllPosted(const zentrail::RunCounts& run) {
    const zentrail::OutcomeCounts& d = run.documents;
    return run.masters.AllGood() && d.tallyErrors == 0 && d.notSent == 0 && d.stopped == 0 &&
           !run.stopped && !run.failed;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One size of the benchmark: its database, the request bodies of its transfer in a file
// (length, newline, body) rather than in memory, and the times of every round.
class Workload {
public:
    explicit Workload(long invoices) : invoices_(invoices) {
        db_ = (std::filesystem::temp_directory_path() /
               ("zentrail-bench-" + std::to_string(::getpid()) + "-" + std::to_string(invoices) +
                ".db"))
                  .string();
        bodiesFile_ = db_ + ".bodies";
        zentrail::dms_demo::DemoOptions options;
        options.outPath = db_;
        options.invoices = invoices;
        zentrail::dms_demo::GenerateDemoDatabase(options);
        Record();
    }
    ~Workload() {
        std::error_code ignored;
        std::filesystem::remove(bodiesFile_, ignored);
        std::filesystem::remove(db_, ignored);
    }
    Workload(const Workload&) = delete;
    Workload& operator=(const Workload&) = delete;

    // The transfer as an operator runs it, and posting the same bodies alone with the same
    // client into a simulator holding the same items; then both against the instant server.
    void Round() {
        const double t = Transfer(*Simulator(), true);
        const double p = PostAlone(*Simulator(), true);
        transfers_.push_back(t);
        posts_.push_back(p);
        ratios_.push_back(t / p);
        instantTransfers_.push_back(Transfer(*InstantServer(), false));
        instantPosts_.push_back(PostAlone(*InstantServer(), false));
    }

    double LastTransfer() const { return transfers_.back(); }

    RunFigures Figures() const {
        RunFigures figures;
        figures.invoices = invoices_;
        figures.vouchers = vouchers_;
        figures.transferSeconds = Median(transfers_);
        figures.postSeconds = Median(posts_);
        figures.medianRatio = Median(ratios_);
        figures.instantTransferSeconds = Median(instantTransfers_);
        figures.instantPostSeconds = Median(instantPosts_);
        return figures;
    }

private:
    // Records the requests of a run against a server that only collects them.
    void Record() {
        std::mutex lock;
        std::ofstream out(bodiesFile_, std::ios::binary);
        zentrail::testing::CannedHttpServer recorder([&](const std::string& body) {
            std::lock_guard<std::mutex> guard(lock);
            out << body.size() << '\n' << body;
            ++bodyCount_;
            return std::string("<RESPONSE><CREATED>1</CREATED><ERRORS>0</ERRORS></RESPONSE>");
        });
        zentrail::Configuration config = ConfigFor(db_, recorder.Port());
        zentrail::SourceDatabase source;
        source.OpenConnection(config);
        zentrail::HttpClient tally;
        auto sales = Listed<zentrail::SalesScreen>({config, source, tally});
        sales->Export();
        std::lock_guard<std::mutex> guard(lock);
        if (!out.flush()) throw std::runtime_error("cannot write " + bodiesFile_);
    }

    double Transfer(TallySimProcess& server, bool withTally) {
        if (withTally) TransferItems(db_, server.Port());
        zentrail::Configuration config = ConfigFor(db_, server.Port());
        zentrail::SourceDatabase source;
        source.OpenConnection(config);
        zentrail::HttpClient tally;
        auto sales = Listed<zentrail::SalesScreen>({config, source, tally});
        auto start = Clock::now();
        sales->Export();
        const double seconds = Seconds(Clock::now() - start);
        if (!AllPosted(sales->LastRun()))
            throw std::runtime_error("sales transfer failed: " + sales->LogText().substr(0, 2000));
        if (withTally) vouchers_ = static_cast<long>(server.Books()["vouchers"].size());
        return seconds;
    }

    double PostAlone(TallySimProcess& server, bool withTally) {
        if (withTally) TransferItems(db_, server.Port());
        zentrail::HttpClient client;
        std::ifstream in(bodiesFile_, std::ios::binary);
        std::string body;
        long posted = 0;
        auto start = Clock::now();
        size_t length = 0;
        while (in >> length) {
            in.get();  // the newline
            body.resize(length);
            in.read(body.data(), static_cast<std::streamsize>(length));
            zentrail::HttpResult result = client.Post(server.Url(), body);
            if (result.status != zentrail::HttpResult::Status::Ok)
                throw std::runtime_error("post failed: " + result.description);
            ++posted;
        }
        const double seconds = Seconds(Clock::now() - start);
        if (posted != bodyCount_) throw std::runtime_error("the bodies file is short");
        return seconds;
    }

    long invoices_;
    std::string db_;
    std::string bodiesFile_;
    long bodyCount_ = 0;
    long vouchers_ = 0;
    std::vector<double> transfers_, posts_, ratios_, instantTransfers_, instantPosts_;
};

}  // namespace

int main(int argc, char** argv) {
    long invoices = 10000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--invoices") == 0) invoices = std::atol(argv[i + 1]);
    try {
        ChoosePinning();
        if (gPinning.Active())
            std::printf("pinned: this process on CPU %d, the servers on CPU %d\n", gPinning.ours,
                        gPinning.servers);
        else
            std::printf("not pinned: fewer than two CPUs to choose from\n");
        // The two sizes take turns, round by round, so that both meet the same state of the
        // machine; their paired times give the scaling.
        Workload smaller(invoices);
        Workload larger(4 * invoices);
        std::vector<double> scaling;
        for (int round = 0; round < kRounds; ++round) {
            smaller.Round();
            larger.Round();
            scaling.push_back(larger.LastTransfer() / smaller.LastTransfer());
        }
        const RunFigures small = smaller.Figures();
        const RunFigures large = larger.Figures();
        for (const RunFigures& f : {small, large}) {
            std::printf(
                "%7ld invoices: %7ld vouchers, transfer %.2f s (%.0f documents/s), posting alone "
                "%.2f s, median of %d paired ratios %.3f; against an instant server: transfer "
                "%.2f s, posting alone %.2f s\n",
                f.invoices, f.vouchers, f.transferSeconds, f.vouchers / f.transferSeconds,
                f.postSeconds, kRounds, f.medianRatio, f.instantTransferSeconds,
                f.instantPostSeconds);
        }
        std::printf("4x the invoices took %.2fx as long (median of %d paired rounds)\n",
                    Median(scaling), kRounds);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sales_transfer_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
