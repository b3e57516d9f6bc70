#include "screens/journal/transfer_journal.h"

#include <sqlite3.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <deque>
#include <fstream>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>

#include "common/utf8_text.h"
#include "shell/platform.h"

namespace zentrail {

namespace {

constexpr std::array<std::pair<Outcome, const char*>, 9> kOutcomeTokens{{
    {Outcome::Accepted, "accepted"},
    {Outcome::AlreadyInTally, "already in Tally"},
    {Outcome::TallyError, "Tally error"},
    {Outcome::Difference, "difference"},
    {Outcome::NotSent, "not sent"},
    {Outcome::Unconfirmed, "unconfirmed"},
    {Outcome::Skipped, "skipped"},
    {Outcome::Stopped, "stopped"},
    {Outcome::Saved, "saved"},
}};

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS runs(
    id INTEGER PRIMARY KEY,
    screen TEXT NOT NULL,
    started TEXT NOT NULL,
    date_from TEXT NOT NULL,
    date_to TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS requests(
    id INTEGER PRIMARY KEY,
    run_id INTEGER NOT NULL REFERENCES runs(id),
    run_seq INTEGER NOT NULL,
    screen TEXT NOT NULL,
    kind TEXT NOT NULL,
    identity TEXT NOT NULL,
    number TEXT NOT NULL,
    date TEXT NOT NULL,
    voucher_key TEXT NOT NULL,
    body_sha256 TEXT NOT NULL,
    state TEXT NOT NULL,
    outcome TEXT,
    message TEXT,
    created REAL, altered REAL, combined REAL, cancelled REAL, errors REAL, exceptions REAL,
    started TEXT NOT NULL,
    ended TEXT);
CREATE UNIQUE INDEX IF NOT EXISTS requests_of_run ON requests(run_id, run_seq);
CREATE INDEX IF NOT EXISTS requests_of_identity ON requests(screen, kind, identity);
CREATE INDEX IF NOT EXISTS requests_sending ON requests(screen) WHERE state = 'sending';
)";

// Writes a row, or completes the one the run wrote before: the same row may come from the run
// and again from its log.
constexpr const char* kUpsert =
    "INSERT INTO requests(run_id, run_seq, screen, kind, identity, number, date, voucher_key, "
    "body_sha256, state, outcome, message, created, altered, combined, cancelled, errors, "
    "exceptions, started, ended) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
    "?) "
    "ON CONFLICT(run_id, run_seq) DO UPDATE SET state = excluded.state, "
    "outcome = excluded.outcome, message = excluded.message, created = excluded.created, "
    "altered = excluded.altered, combined = excluded.combined, cancelled = excluded.cancelled, "
    "errors = excluded.errors, exceptions = excluded.exceptions, ended = excluded.ended";

void BindUpsert(sqlite3_stmt* statement, const JournalRow& row) {
    sqlite3_reset(statement);
    sqlite3_bind_int64(statement, 1, row.runId);
    sqlite3_bind_int64(statement, 2, row.sequence);
    int index = 3;
    for (const std::string* text : {&row.screen, &row.kind, &row.identity, &row.number, &row.date,
                                    &row.key, &row.bodySha256, &row.state})
        sqlite3_bind_text(statement, index++, text->c_str(), -1, SQLITE_TRANSIENT);
    if (row.outcome)
        sqlite3_bind_text(statement, 11, OutcomeToken(*row.outcome), -1, SQLITE_STATIC);
    else
        sqlite3_bind_null(statement, 11);
    sqlite3_bind_text(statement, 12, row.message.c_str(), -1, SQLITE_TRANSIENT);
    index = 13;
    for (double count : {row.counters.created, row.counters.altered, row.counters.combined,
                         row.counters.cancelled, row.counters.errors, row.counters.exceptions})
        sqlite3_bind_double(statement, index++, count);
    sqlite3_bind_text(statement, 19, row.started.c_str(), -1, SQLITE_TRANSIENT);
    if (row.ended.empty())
        sqlite3_bind_null(statement, 20);
    else
        sqlite3_bind_text(statement, 20, row.ended.c_str(), -1, SQLITE_TRANSIENT);
}

// `text` as a JSON string; bytes that are no UTF-8 become U+FFFD, so that the line reads back.
void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    const bool valid = IsValidUtf8(text);
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!valid && c >= 0x80) {
            size_t at = i;
            const char32_t decoded = DecodeUtf8(text, at);
            if (decoded == kInvalidUtf8)
                out += "\uFFFD";
            else
                out.append(text.substr(i, at - i));
            i = at;
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 0x0f];
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    out += '"';
}

void AppendJsonName(std::string& out, const char* name) {
    out += out.size() > 1 ? ",\"" : "\"";
    out += name;
    out += "\":";
}

void AppendJsonField(std::string& out, const char* name, std::string_view text) {
    AppendJsonName(out, name);
    AppendJsonString(out, text);
}

void AppendJsonField(std::string& out, const char* name, double number) {
    AppendJsonName(out, name);
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, number);
    out.append(text, written.ptr);
}

constexpr size_t kRowsPerBatch = 1000;

// Outcomes after which Tally may hold what was sent.
constexpr const char* kMayBeHeld = "('accepted', 'already in Tally', 'difference', 'unconfirmed')";

constexpr const char* kRowColumns =
    "id, run_id, screen, kind, identity, number, date, voucher_key, body_sha256, state, outcome, "
    "message, created, altered, combined, cancelled, errors, exceptions, started, ended, run_seq";

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

std::string ColumnText(sqlite3_stmt* statement, int column) {
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text ? reinterpret_cast<const char*>(text) : std::string();
}

JournalRow ReadRow(sqlite3_stmt* statement) {
    JournalRow row;
    row.id = sqlite3_column_int64(statement, 0);
    row.runId = sqlite3_column_int64(statement, 1);
    row.screen = ColumnText(statement, 2);
    row.kind = ColumnText(statement, 3);
    row.identity = ColumnText(statement, 4);
    row.number = ColumnText(statement, 5);
    row.date = ColumnText(statement, 6);
    row.key = ColumnText(statement, 7);
    row.bodySha256 = ColumnText(statement, 8);
    row.state = ColumnText(statement, 9);
    row.outcome = OutcomeFromToken(ColumnText(statement, 10));
    row.message = ColumnText(statement, 11);
    row.counters = {sqlite3_column_double(statement, 12), sqlite3_column_double(statement, 13),
                    sqlite3_column_double(statement, 14), sqlite3_column_double(statement, 15),
                    sqlite3_column_double(statement, 16), sqlite3_column_double(statement, 17)};
    row.started = ColumnText(statement, 18);
    row.ended = ColumnText(statement, 19);
    row.sequence = sqlite3_column_int64(statement, 20);
    return row;
}

}  // namespace

const char* OutcomeToken(Outcome outcome) {
    for (const auto& [known, token] : kOutcomeTokens)
        if (known == outcome) return token;
    return "";
}

std::optional<Outcome> OutcomeFromToken(const std::string& token) {
    for (const auto& [known, name] : kOutcomeTokens)
        if (token == name) return known;
    return std::nullopt;
}

struct TransferJournal::Database {
    sqlite3* db = nullptr;
    ~Database() { sqlite3_close(db); }
};

// The log of the run in progress, and the thread that copies its rows into the database while
// the run waits for Tally.
struct TransferJournal::RunLog {
    int64_t id = 0;
    std::filesystem::path path;
    std::unique_ptr<platform::AppendOnlyFile> file;
    int64_t sequence = 0;
    size_t written = 0;
    std::unordered_map<int64_t, JournalRow> open;  // sent, reply not yet classified
    std::time_t second = -1;                       // of `now`
    std::string now;

    std::mutex mutex;
    std::condition_variable wake;
    std::deque<JournalRow> queue;
    bool closing = false;
    std::string failure;  // why the database could not take the rows; the log keeps them
    std::thread writer;

    const std::string& Now() {
        const std::time_t current = std::time(nullptr);
        if (current != second) {
            second = current;
            now = platform::LocalDateTime();
        }
        return now;
    }
};

void TransferJournal::Fail(const std::string& what) const {
    std::string why = db_ && db_->db ? sqlite3_errmsg(db_->db) : "out of memory";
    throw JournalError("the transfer journal " + path_.string() + " " + what + ": " + why);
}

sqlite3_stmt* TransferJournal::Prepare(const std::string& sql, const char* what) const {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(db_->db, sql.c_str(), -1, 0, &statement, nullptr) != SQLITE_OK)
        Fail(what);
    return statement;
}

TransferJournal::TransferJournal(const std::filesystem::path& path,
                                 std::optional<size_t> logCapacity)
    : path_(path), db_(std::make_unique<Database>()), logCapacity_(logCapacity) {
    std::error_code ignored;  // a folder that cannot be made shows in the open's error
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ignored);
    if (sqlite3_open_v2(path.string().c_str(), &db_->db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        Fail("cannot be opened");
    sqlite3_extended_result_codes(db_->db, 1);
    // Another program reading the journal holds it only for moments.
    sqlite3_busy_timeout(db_->db, 5000);
    // WAL: a killed process leaves every committed row readable.
    const std::string setup =
        "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; " + std::string(kSchema);
    if (sqlite3_exec(db_->db, setup.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail("cannot be opened");
    FoldLeftLogs();
}

TransferJournal::~TransferJournal() {
    if (!run_) return;
    try {
        EndRun();
    } catch (const JournalError&) {
        // The log stays beside the database; the next journal opened here folds it.
    }
}

std::filesystem::path TransferJournal::RunLogPath(int64_t run) const {
    return path_.string() + ".run-" + std::to_string(run);
}

void TransferJournal::Log(const std::string& line) {
    if (logCapacity_ && run_->written + line.size() > *logCapacity_)
        throw JournalError("the transfer journal " + path_.string() +
                           " cannot be written: " + std::strerror(ENOSPC));
    try {
        run_->file->Append(line);
    } catch (const std::system_error& e) {
        throw JournalError("the transfer journal " + path_.string() +
                           " cannot be written: " + e.code().message());
    }
    run_->written += line.size();
}

void TransferJournal::FoldLeftLogs() {
    const std::string prefix = path_.filename().string() + ".run-";
    std::error_code error;
    std::vector<std::filesystem::path> logs;
    for (const auto& entry : std::filesystem::directory_iterator(
             path_.has_parent_path() ? path_.parent_path() : ".", error))
        if (entry.path().filename().string().starts_with(prefix)) logs.push_back(entry.path());
    if (error) Fail("cannot be read (" + error.message() + ")");
    for (const std::filesystem::path& log : logs) {
        std::unique_ptr<platform::AppendOnlyFile> held;
        try {
            held = platform::AppendOnlyFile::Take(log, true);
        } catch (const std::system_error& e) {
            throw JournalError("the transfer journal " + path_.string() +
                               " cannot be read: " + log.string() + ": " + e.code().message());
        }
        if (held) Fold(log);  // else a run still going holds it
    }
}

void TransferJournal::Fold(const std::filesystem::path& log) {
    std::ifstream in(log, std::ios::binary);
    std::map<int64_t, JournalRow> rows;
    for (std::string line; std::getline(in, line);) {
        // A line cut short by a kill is no row: its request never left.
        const nlohmann::json item = nlohmann::json::parse(line, nullptr, false);
        if (item.is_discarded() || !item.is_object()) continue;
        if (item.contains("seq")) {
            const int64_t sequence = item.value("seq", int64_t{0});
            JournalRow& row = rows[sequence];
            row.sequence = sequence;
            row.runId = item.value("run", int64_t{0});
            row.screen = item.value("screen", "");
            row.kind = item.value("kind", "");
            row.identity = item.value("identity", "");
            row.number = item.value("number", "");
            row.date = item.value("date", "");
            row.key = item.value("key", "");
            row.bodySha256 = item.value("sha256", "");
            row.started = item.value("started", "");
            row.state = "sending";
        } else if (item.contains("done")) {
            auto found = rows.find(item.value("done", int64_t{0}));
            if (found == rows.end()) continue;
            JournalRow& row = found->second;
            row.state = "completed";
            row.outcome = OutcomeFromToken(item.value("outcome", ""));
            row.message = item.value("message", "");
            row.counters = {item.value("created", 0.0),  item.value("altered", 0.0),
                            item.value("combined", 0.0), item.value("cancelled", 0.0),
                            item.value("errors", 0.0),   item.value("exceptions", 0.0)};
            row.ended = item.value("ended", "");
        }
    }
    in.close();  // Windows removes no file that is still open for reading
    std::vector<JournalRow> ordered;
    ordered.reserve(rows.size());
    for (auto& [sequence, row] : rows) ordered.push_back(std::move(row));
    Store(ordered);
    std::error_code error;
    if (!std::filesystem::remove(log, error) && error)
        throw JournalError("the transfer journal " + path_.string() + " cannot remove " +
                           log.string() + ": " + error.message());
}

void TransferJournal::Store(const std::vector<JournalRow>& rows) {
    if (sqlite3_exec(db_->db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail("cannot be written");
    try {
        Statement statement(Prepare(kUpsert, "cannot be written"));
        for (const JournalRow& row : rows) {
            BindUpsert(statement.get(), row);
            if (sqlite3_step(statement.get()) != SQLITE_DONE) Fail("cannot be written");
        }
        statement.reset();
        if (sqlite3_exec(db_->db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            Fail("cannot be written");
    } catch (...) {
        sqlite3_exec(db_->db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

void TransferJournal::WriteRows(RunLog& run) {
    for (;;) {
        std::vector<JournalRow> batch;
        {
            std::unique_lock lock(run.mutex);
            run.wake.wait(lock, [&] { return run.queue.size() >= kRowsPerBatch || run.closing; });
            if (run.queue.empty()) return;
            // A row completed within the batch is stored once, completed.
            std::unordered_map<int64_t, size_t> at;
            for (JournalRow& row : run.queue) {
                auto [found, fresh] = at.emplace(row.sequence, batch.size());
                if (fresh)
                    batch.push_back(std::move(row));
                else
                    batch[found->second] = std::move(row);
            }
            run.queue.clear();
            if (!run.failure.empty()) continue;
        }
        try {
            Store(batch);
        } catch (const JournalError& e) {
            std::lock_guard lock(run.mutex);
            run.failure = e.what();
        }
    }
}

void TransferJournal::Queue(JournalRow row) {
    if (!run_->writer.joinable())
        run_->writer = std::thread([this, run = run_.get()] {
            // Stored rows wait for no one: the run's requests go first.
            platform::LowerThisThreadsPriority();
            WriteRows(*run);
        });
    size_t queued;
    {
        std::lock_guard lock(run_->mutex);
        run_->queue.push_back(std::move(row));
        queued = run_->queue.size();
    }
    // Rows are stored in batches: a commit per request would cost as much as the request, and
    // the log already keeps every row.
    if (queued >= kRowsPerBatch) run_->wake.notify_one();
}

int64_t TransferJournal::BeginRun(const std::string& screen, const std::string& from,
                                  const std::string& to) {
    Statement statement(
        Prepare("INSERT INTO runs(screen, started, date_from, date_to) VALUES(?, ?, ?, ?)",
                "cannot be written"));
    sqlite3_stmt* raw = statement.get();
    const std::string now = platform::LocalDateTime();
    for (const auto& [index, text] :
         {std::pair{1, &screen}, std::pair{2, &now}, std::pair{3, &from}, std::pair{4, &to}})
        sqlite3_bind_text(raw, index, text->c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(raw) != SQLITE_DONE) Fail("cannot be written");
    auto run = std::make_unique<RunLog>();
    run->id = sqlite3_last_insert_rowid(db_->db);
    run->path = RunLogPath(run->id);
    try {
        run->file = platform::AppendOnlyFile::Take(run->path);
    } catch (const std::system_error& e) {
        throw JournalError("the transfer journal " + path_.string() +
                           " cannot be written: " + e.code().message());
    }
    run_ = std::move(run);
    return run_->id;
}

void TransferJournal::EndRun() {
    if (!run_) return;
    // A request never completed is stored as it went: "sending".
    for (auto& [sequence, row] : run_->open) Queue(std::move(row));
    run_->open.clear();
    std::unique_ptr<RunLog> run = std::move(run_);
    if (run->writer.joinable()) {
        {
            std::lock_guard lock(run->mutex);
            run->closing = true;
        }
        run->wake.notify_one();
        run->writer.join();
    }
    if (!run->failure.empty()) throw JournalError(run->failure);  // the log stays for next time
    run->file.reset();
    std::error_code error;
    if (!std::filesystem::remove(run->path, error) && error)
        throw JournalError("the transfer journal " + path_.string() + " cannot remove " +
                           run->path.string() + ": " + error.message());
}

std::vector<JournalRow> TransferJournal::CloseUnfinished(const std::string& screen,
                                                         const std::string& message) {
    std::vector<JournalRow> rows;
    if (sqlite3_exec(db_->db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK)
        Fail("cannot be written");
    try {
        Statement statement(Prepare(std::string("SELECT ") + kRowColumns +
                                        " FROM requests WHERE screen = ? AND state = 'sending' "
                                        "ORDER BY id",
                                    "cannot be read"));
        sqlite3_stmt* raw = statement.get();
        sqlite3_bind_text(raw, 1, screen.c_str(), -1, SQLITE_TRANSIENT);
        int step;
        while ((step = sqlite3_step(raw)) == SQLITE_ROW) rows.push_back(ReadRow(raw));
        if (step != SQLITE_DONE) Fail("cannot be read");
        statement.reset();
        Statement update(
            Prepare("UPDATE requests SET state = 'completed', outcome = ?, "
                    "message = ?, ended = ? WHERE id = ?",
                    "cannot be written"));
        const std::string now = platform::LocalDateTime();
        for (JournalRow& row : rows) {
            sqlite3_reset(update.get());
            sqlite3_bind_text(update.get(), 1, OutcomeToken(Outcome::Unconfirmed), -1,
                              SQLITE_STATIC);
            sqlite3_bind_text(update.get(), 2, message.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(update.get(), 3, now.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(update.get(), 4, row.id);
            if (sqlite3_step(update.get()) != SQLITE_DONE) Fail("cannot be written");
            row.state = "completed";
            row.outcome = Outcome::Unconfirmed;
            row.message = message;
        }
        if (sqlite3_exec(db_->db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            Fail("cannot be written");
    } catch (...) {
        sqlite3_exec(db_->db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    return rows;
}

HeldRequests TransferJournal::Held(const std::string& screen, const std::string& kind) const {
    // SQLite takes the other columns from the row that holds MAX(id).
    const std::string select =
        std::string(
            "SELECT identity, voucher_key, body_sha256, outcome, started, MAX(id) FROM "
            "requests WHERE screen = ? AND kind = ? AND outcome IN ") +
        kMayBeHeld + " GROUP BY identity";
    Statement statement(Prepare(select, "cannot be read"));
    sqlite3_stmt* raw = statement.get();
    sqlite3_bind_text(raw, 1, screen.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(raw, 2, kind.c_str(), -1, SQLITE_TRANSIENT);
    HeldRequests held;
    int step;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) {
        HeldRequest request{
            .key = ColumnText(raw, 1),
            .bodySha256 = ColumnText(raw, 2),
            .outcome = OutcomeFromToken(ColumnText(raw, 3)).value_or(Outcome::Unconfirmed),
            .sentOn = ColumnText(raw, 4)};
        held.emplace(ColumnText(raw, 0), std::move(request));
    }
    if (step != SQLITE_DONE) Fail("cannot be read");
    return held;
}

int64_t TransferJournal::Sending(const JournalRow& row) {
    if (!run_) throw std::logic_error("a request journaled outside a run");
    JournalRow sent = row;
    sent.runId = run_->id;
    sent.sequence = run_->sequence + 1;
    sent.state = "sending";
    sent.started = run_->Now();
    std::string line = "{";
    line.reserve(512);
    AppendJsonField(line, "seq", static_cast<double>(sent.sequence));
    AppendJsonField(line, "run", static_cast<double>(sent.runId));
    for (const auto& [name, text] : {std::pair{"screen", &sent.screen},
                                     {"kind", &sent.kind},
                                     {"identity", &sent.identity},
                                     {"number", &sent.number},
                                     {"date", &sent.date},
                                     {"key", &sent.key},
                                     {"sha256", &sent.bodySha256},
                                     {"started", &sent.started}})
        AppendJsonField(line, name, *text);
    line += "}\n";
    Log(line);
    run_->sequence = sent.sequence;
    // Stored once completed; the log keeps it meanwhile.
    run_->open.emplace(sent.sequence, std::move(sent));
    return run_->sequence;
}

void TransferJournal::Complete(int64_t sequence, Outcome outcome, const std::string& message,
                               const ImportCounters& counters) {
    if (!run_) throw std::logic_error("a request journaled outside a run");
    auto found = run_->open.find(sequence);
    if (found == run_->open.end()) throw std::logic_error("a request completed twice");
    JournalRow row = std::move(found->second);
    run_->open.erase(found);
    row.state = "completed";
    row.outcome = outcome;
    row.message = message;
    row.counters = counters;
    row.ended = run_->Now();
    std::string line = "{";
    line.reserve(256);
    AppendJsonField(line, "done", static_cast<double>(sequence));
    AppendJsonField(line, "outcome", OutcomeToken(outcome));
    AppendJsonField(line, "message", message);
    for (const auto& [name, count] : {std::pair{"created", counters.created},
                                      {"altered", counters.altered},
                                      {"combined", counters.combined},
                                      {"cancelled", counters.cancelled},
                                      {"errors", counters.errors},
                                      {"exceptions", counters.exceptions}})
        AppendJsonField(line, name, count);
    AppendJsonField(line, "ended", row.ended);
    line += "}\n";
    Log(line);
    Queue(std::move(row));
}

std::vector<JournalRow> TransferJournal::Latest(const std::string& screen,
                                                const std::optional<std::string>& from,
                                                const std::optional<std::string>& to) const {
    std::string select = std::string("SELECT ") + kRowColumns +
                         " FROM requests WHERE id IN (SELECT MAX(id) FROM requests WHERE "
                         "screen = ?1 GROUP BY kind, identity)";
    if (from) select += " AND kind = 'document' AND date >= ?2";
    if (to) select += " AND kind = 'document' AND date <= ?3";
    select += " ORDER BY id";
    Statement statement(Prepare(select, "cannot be read"));
    sqlite3_stmt* raw = statement.get();
    sqlite3_bind_text(raw, 1, screen.c_str(), -1, SQLITE_TRANSIENT);
    if (from) sqlite3_bind_text(raw, 2, from->c_str(), -1, SQLITE_TRANSIENT);
    if (to) sqlite3_bind_text(raw, 3, to->c_str(), -1, SQLITE_TRANSIENT);
    std::vector<JournalRow> rows;
    int step;
    while ((step = sqlite3_step(raw)) == SQLITE_ROW) rows.push_back(ReadRow(raw));
    if (step != SQLITE_DONE) Fail("cannot be read");
    return rows;
}

}  // namespace zentrail
