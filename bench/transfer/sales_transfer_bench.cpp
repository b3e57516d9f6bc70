// Times the sales transfer of a generated database into tally-sim on loopback, and the posting
// of the very same request bodies with the same HTTP client alone, alternated over several
// rounds. The median of the paired ratios is what the transfer adds on top of Tally's own
// time; running N and 4N invoices shows how it scales. The floor is the same pair against a
// server process that answers at once. Where the machine has two CPUs or more, this process
// runs on one and the servers on another.
//
//   sales_transfer_bench [--invoices N]     (default 10000)

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "support/test_http_server.h"
#include "tally/http_client.h"
#include "transfer_bench_support.h"

namespace zentrail::bench {
namespace {

struct RunFigures {
    long invoices = 0;
    long vouchers = 0;
    double transferSeconds = 0;  // medians over the alternated rounds
    double postSeconds = 0;
    double medianRatio = 0;             // the median of each round's transfer / posting-alone ratio
    double instantTransferSeconds = 0;  // the same against a server that answers at once
    double instantPostSeconds = 0;
};

constexpr int kRounds = 5;

// One size of the benchmark: its database, the request bodies of its transfer in a file
// (length, newline, body) rather than in memory, and the times of every round.
class Workload {
public:
    explicit Workload(long invoices)
        : invoices_(invoices),
          database_(invoices, "sales"),
          bodiesFile_(database_.Path() + ".bodies") {
        Record();
    }
    ~Workload() {
        std::error_code ignored;  // a temporary file left behind harms nothing
        std::filesystem::remove(bodiesFile_, ignored);
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
        testing::CannedHttpServer recorder([&](const std::string& body) {
            std::lock_guard<std::mutex> guard(lock);
            out << body.size() << '\n' << body;
            ++bodyCount_;
            return std::string("<RESPONSE><CREATED>1</CREATED><ERRORS>0</ERRORS></RESPONSE>");
        });
        Configuration config = ConfigFor(database_.Path(), recorder.Port());
        SourceDatabase source;
        source.OpenConnection(config);
        zentrail::HttpClient tally;
        auto sales = Listed<SalesScreen>({config, source, tally});
        sales->Export();
        std::lock_guard<std::mutex> guard(lock);
        if (!out.flush()) throw std::runtime_error("cannot write " + bodiesFile_);
    }

    double Transfer(TallySimProcess& server, bool withTally) {
        if (withTally) TransferItems(database_.Path(), server.Port());
        const double seconds = TimeSalesExport(database_.Path(), server.Port());
        if (withTally) vouchers_ = static_cast<long>(server.Books()["vouchers"].size());
        return seconds;
    }

    double PostAlone(TallySimProcess& server, bool withTally) {
        if (withTally) TransferItems(database_.Path(), server.Port());
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
    DemoDatabase database_;
    std::string bodiesFile_;
    long bodyCount_ = 0;
    long vouchers_ = 0;
    std::vector<double> transfers_, posts_, ratios_, instantTransfers_, instantPosts_;
};

// Both sizes, round by round, and their figures printed.
void Benchmark(long invoices) {
    PinAndTell();
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
            f.postSeconds, kRounds, f.medianRatio, f.instantTransferSeconds, f.instantPostSeconds);
    }
    std::printf("4x the invoices took %.2fx as long (median of %d paired rounds)\n",
                Median(scaling), kRounds);
}

}  // namespace
}  // namespace zentrail::bench

int main(int argc, char** argv) {
    try {
        zentrail::bench::Benchmark(zentrail::bench::NumberOption(argc, argv, "--invoices", 10000));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sales_transfer_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
