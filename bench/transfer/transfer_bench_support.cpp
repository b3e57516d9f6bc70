#include "transfer_bench_support.h"

#include <dirent.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "dms_demo.h"
#include "screens/item_screen.h"
#include "tally/http_client.h"

namespace zentrail::bench {

namespace {

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

}  // namespace

void PinAndTell() {
    ChoosePinning();
    if (gPinning.Active())
        std::printf("pinned: this process on CPU %d, the servers on CPU %d\n", gPinning.ours,
                    gPinning.servers);
    else
        std::printf("not pinned: fewer than two CPUs to choose from\n");
}

ServerProcess::ServerProcess(std::vector<std::string> args, std::string executable)
    : process_(std::move(args), std::move(executable)) {
    if (gPinning.Active()) PinProcess(process_.Pid(), gPinning.servers);
}

ServerProcess Simulator() {
    return ServerProcess({"--company", kCompany}, TallySimProcess::DefaultExecutable());
}

ServerProcess InstantServer(std::vector<std::string> args) {
    return ServerProcess(std::move(args), INSTANT_SERVER_PATH);
}

DemoDatabase::DemoDatabase(long invoices, const std::string& tag)
    : path_((std::filesystem::temp_directory_path() /
             ("zentrail-bench-" + std::to_string(::getpid()) + "-" + tag + "-" +
              std::to_string(invoices) + ".db"))
                .string()) {
    dms_demo::DemoOptions options;
    options.outPath = path_;
    options.invoices = invoices;
    dms_demo::GenerateDemoDatabase(options);
}

DemoDatabase::~DemoDatabase() {
    std::error_code ignored;  // a temporary file left behind harms nothing
    std::filesystem::remove(path_, ignored);
}

Configuration ConfigFor(const std::string& db, int port) {
    Configuration config;
    config.strTallyServer = "127.0.0.1";
    config.strTallyPort = std::to_string(port);
    config.strCompany = kCompany;
    config.strSqlOdbc = db;
    return config;
}

void TransferItems(const std::string& db, int port) {
    Configuration config = ConfigFor(db, port);
    SourceDatabase source;
    source.OpenConnection(config);
    HttpClient tally;
    auto items = Listed<ItemScreen>({config, source, tally});
    items->Export();
    if (!items->LastRun().Clean())
        throw std::runtime_error("item transfer failed" + items->LogText());
}

bool AllPosted(const RunCounts& run) {
    const OutcomeCounts& d = run.documents;
    return run.masters.AllGood() && d.tallyErrors == 0 && d.notSent == 0 && d.unconfirmed == 0 &&
           d.stopped == 0 && !run.stopped && !run.failed;
}

double TimeSalesExport(const std::string& db, int port, const std::filesystem::path& journal,
                       const std::function<void(const SalesScreen&)>& inspect) {
    Configuration config = ConfigFor(db, port);
    SourceDatabase source;
    source.OpenConnection(config);
    HttpClient tally;
    ScreenContext context{config, source, tally};
    context.journalPath = journal;
    auto sales = Listed<SalesScreen>(context);
    const auto start = Clock::now();
    sales->Export();
    const double seconds = Seconds(Clock::now() - start);
    if (!AllPosted(sales->LastRun()))
        throw std::runtime_error("sales transfer failed: " + sales->LogText().substr(0, 2000));
    if (inspect) inspect(*sales);
    return seconds;
}

long NumberOption(int argc, char** argv, const char* name, long fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return std::atol(argv[i + 1]);
    return fallback;
}

std::string TextOption(int argc, char** argv, const char* name, const std::string& fallback) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return argv[i + 1];
    return fallback;
}

bool FlagOption(int argc, char** argv, const char* name) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return true;
    return false;
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace zentrail::bench
