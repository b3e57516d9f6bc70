#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "tally/tally_exchange.h"

struct sqlite3_stmt;

namespace zentrail {

// The journal could not be opened, read or written; the text names its file.
class JournalError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The stable name an outcome is kept under ("accepted", "unconfirmed" ...), and back.
const char* OutcomeToken(Outcome outcome);
std::optional<Outcome> OutcomeFromToken(const std::string& token);

// One request as the journal keeps it.
struct JournalRow {
    int64_t id = 0;
    int64_t runId = 0;
    int64_t sequence = 0;  // its number in the run
    std::string screen{};
    std::string kind{};      // "master" or "document"
    std::string identity{};  // the source's own key of the document, or the master's name
    std::string number{};
    std::string date{};  // YYYY-MM-DD when the document's date reads as one, else as listed
    std::string key{};   // the voucher key sent; empty for a master
    std::string bodySha256{};
    std::string state{};  // "sending" until the reply is classified, then "completed"
    std::optional<Outcome> outcome{};
    std::string message{};
    ImportCounters counters{};
    std::string started{};
    std::string ended{};
};

// The last request of a document or master that may have reached Tally.
struct HeldRequest {
    std::string key;
    std::string bodySha256;
    Outcome outcome = Outcome::Accepted;
    std::string sentOn;  // local time the request went out, "YYYY-MM-DD HH:MM:SS"
};

// By identity.
using HeldRequests = std::unordered_map<std::string, HeldRequest>;

// Every master and document request ever sent, in a SQLite database of its own. While a run
// lasts, its rows go first to a log of its own beside the database, one line written before
// its request leaves and one once the reply is classified: an append costs microseconds where a
// commit costs as much as a request to Tally. A thread of the run copies the rows into the
// database while the run waits for Tally; the log is removed when the run ends with all of
// them stored, and otherwise folded in by the next journal opened on it. So a run killed at any
// moment leaves at most its request in flight "sending".
class TransferJournal {
public:
    // Opens or creates the journal at `path` (and its folder), and folds in the logs of runs
    // that ended without folding theirs. `logCapacity` makes a run's log take only that many
    // bytes, as a full disk would. Throws JournalError.
    explicit TransferJournal(const std::filesystem::path& path,
                             std::optional<size_t> logCapacity = std::nullopt);
    ~TransferJournal();
    TransferJournal(const TransferJournal&) = delete;
    TransferJournal& operator=(const TransferJournal&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    // Starts a run of `screen` over the dates and opens its log; returns its id.
    int64_t BeginRun(const std::string& screen, const std::string& from, const std::string& to);
    // Folds the run's log into the database. When that fails, the log stays for the next
    // journal opened here to fold.
    void EndRun();
    // The rows of `screen` that a run left "sending" because it ended before the reply; they are
    // completed as unconfirmed with `message`.
    std::vector<JournalRow> CloseUnfinished(const std::string& screen, const std::string& message);
    // What Tally may hold of each master or document ("master", "document") of `screen`.
    HeldRequests Held(const std::string& screen, const std::string& kind) const;

    // Writes `row` to the run's log as "sending" before its request leaves; returns its number
    // in the run.
    int64_t Sending(const JournalRow& row);
    // Completes a "sending" row of the run with how its request ended.
    void Complete(int64_t sequence, Outcome outcome, const std::string& message,
                  const ImportCounters& counters);

    // The last row of every master and document of `screen`, in the order they were sent; with
    // dates (YYYY-MM-DD), only documents dated within them.
    std::vector<JournalRow> Latest(const std::string& screen,
                                   const std::optional<std::string>& from,
                                   const std::optional<std::string>& to) const;

private:
    struct Database;
    [[noreturn]] void Fail(const std::string& what) const;
    void Log(const std::string& line);
    // Folds the log at `log` into the database in one transaction, then removes it.
    void Fold(const std::filesystem::path& log);
    // Writes or completes `rows` in one transaction.
    void Store(const std::vector<JournalRow>& rows);
    struct RunLog;
    // The run's own thread: stores the rows queued while the run waits for Tally.
    void WriteRows(RunLog& run);
    void Queue(JournalRow row);
    void FoldLeftLogs();
    std::filesystem::path RunLogPath(int64_t run) const;
    // The compiled `sql`, owned by the caller; a failure is told as `what` ("cannot be read").
    sqlite3_stmt* Prepare(const std::string& sql, const char* what) const;

    std::filesystem::path path_;
    std::unique_ptr<Database> db_;
    std::unique_ptr<RunLog> run_;  // while a run lasts
    std::optional<size_t> logCapacity_;
};

}  // namespace zentrail
