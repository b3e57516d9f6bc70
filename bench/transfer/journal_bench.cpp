// Times the sales transfer of a generated database into a fresh tally-sim with the transfer
// journal and without it, alternating which goes first, over several rounds. Every journalled
// run of a round starts a fresh journal, so it is a first run: a row committed before each
// request and completed after its reply, a digest of each body, no earlier request found. Then
// one more run over the last round's journal, in which every document goes again unchanged and
// is looked up and told "re-sent", against a plain run. Tally's side is the same throughout: a
// fresh simulator holding the items.
//
//   journal_bench [--invoices N] [--rounds R]     (defaults 10000 and 5)

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "transfer_bench_support.h"

namespace zentrail::bench {
namespace {

// Documents of the run that went again with "re-sent (accepted ..., unchanged)" before Tally's
// words, against those Tally took.
struct ResentCount {
    long told = 0;
    long sent = 0;
};

ResentCount CountResent(const SalesScreen& screen) {
    ResentCount count;
    for (const RunEntry& entry : screen.LastRecord().Entries()) {
        if (entry.kind != EntryKind::Document ||
            !(IsAccepted(entry.outcome) || entry.outcome == Outcome::Difference))
            continue;
        ++count.sent;
        count.told += entry.message.starts_with("re-sent (accepted ") &&
                      entry.message.find(", unchanged)") != std::string::npos;
    }
    return count;
}

class JournalBench {
public:
    explicit JournalBench(long invoices)
        : database_(invoices, "journal"), journal_(database_.Path() + ".journal") {}
    ~JournalBench() { RemoveJournal(); }
    JournalBench(const JournalBench&) = delete;
    JournalBench& operator=(const JournalBench&) = delete;

    // Both configurations, `journalFirst` deciding the order.
    void Round(bool journalFirst) {
        RemoveJournal();
        double with = 0;
        double without = 0;
        if (journalFirst) {
            with = Run(journal_);
            without = Run({});
        } else {
            without = Run({});
            with = Run(journal_);
        }
        withs_.push_back(with);
        withouts_.push_back(without);
        ratios_.push_back(with / without);
    }

    // Over the journal the last round left, every document is found and sent again unchanged.
    void SecondRun() {
        journalBytes_ = static_cast<long>(std::filesystem::file_size(journal_));
        plainSeconds_ = Run({});
        ResentCount resent;
        againSeconds_ = Run(journal_, [&](const SalesScreen& s) { resent = CountResent(s); });
        if (resent.sent == 0 || resent.told != resent.sent)
            throw std::runtime_error("the second run told " + std::to_string(resent.told) + " of " +
                                     std::to_string(resent.sent) + " documents re-sent unchanged");
    }

    void Print(long invoices) const {
        const int rounds = static_cast<int>(ratios_.size());
        std::printf(
            "%ld invoices, %ld vouchers: without the journal %.2f s, with it %.2f s (medians of "
            "%d); median of %d paired ratios %.3f\n",
            invoices, vouchers_, Median(withouts_), Median(withs_), rounds, rounds,
            Median(ratios_));
        std::printf(
            "second run over the same journal (%.1f MiB), every document re-sent unchanged: "
            "%.2f s against %.2f s without the journal, ratio %.3f\n",
            journalBytes_ / (1024.0 * 1024.0), againSeconds_, plainSeconds_,
            againSeconds_ / plainSeconds_);
    }

private:
    double Run(const std::filesystem::path& journal,
               const std::function<void(const SalesScreen&)>& inspect = {}) {
        ServerProcess tally = Simulator();
        TransferItems(database_.Path(), tally->Port());
        const double seconds = TimeSalesExport(database_.Path(), tally->Port(), journal, inspect);
        vouchers_ = static_cast<long>(tally->Books()["vouchers"].size());
        return seconds;
    }

    void RemoveJournal() const {
        std::error_code ignored;  // absent is as good as removed
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(journal_.string() + suffix, ignored);
    }

    DemoDatabase database_;
    std::filesystem::path journal_;
    long vouchers_ = 0;
    std::vector<double> withs_, withouts_, ratios_;
    long journalBytes_ = 0;
    double plainSeconds_ = 0;
    double againSeconds_ = 0;
};

void Benchmark(long invoices, int rounds) {
    PinAndTell();
    JournalBench bench(invoices);
    for (int round = 0; round < rounds; ++round) bench.Round(round % 2 == 0);
    bench.SecondRun();
    bench.Print(invoices);
}

}  // namespace
}  // namespace zentrail::bench

int main(int argc, char** argv) {
    using zentrail::bench::NumberOption;
    try {
        zentrail::bench::Benchmark(NumberOption(argc, argv, "--invoices", 10000),
                                   static_cast<int>(NumberOption(argc, argv, "--rounds", 5)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "journal_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
