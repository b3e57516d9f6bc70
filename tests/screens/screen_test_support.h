#pragma once

// A recording observer and a scripted source database for driving screens in tests.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "screens/screen_observer.h"
#include "shell/db_error.h"
#include "shell/source_database.h"
#include "tally/tally_transport.h"

namespace zentrail::testing {

class RecordingObserver : public ScreenObserver {
public:
    void Changed(ScreenControl control) override { ++changes[control]; }
    void ShowMessage(const ScreenMessage& message) override { messages.push_back(message); }
    bool StopRequested() override { return stopAfter >= 0 && ++stopChecks > stopAfter; }
    void CloseRequested() override { ++closeRequests; }

    std::map<ScreenControl, int> changes;
    std::vector<ScreenMessage> messages;
    int stopAfter = -1;  // ask to stop after this many requests
    int stopChecks = 0;
    int closeRequests = 0;
};

// A line query as the screen wrote it, without the condition that reads it for one range of
// listed documents: a script answers every range with all its lines, and each document takes
// its own.
inline std::string WholeQuery(const std::string& sql) {
    static const std::regex range(R"(AND [A-Za-z_.]+ IN \([^)]*\) (ORDER BY))");
    return std::regex_replace(sql, range, "$1");
}

// Answers each query with what `answer` returns for its text (or throws what it throws).
// Hands `rows` to `sink` as a streamed listing does, calling `afterRow` after each row.
inline void StreamRows(const RowSet& rows, RowSink& sink,
                       const std::function<void()>& afterRow = nullptr) {
    sink.Columns(rows.FieldNames());
    for (size_t row = 0; row < rows.RowCount(); ++row) {
        std::vector<std::optional<std::string_view>> values;
        for (size_t field = 0; field < rows.FieldCount(); ++field)
            values.emplace_back(rows.Text(row, field));
        sink.Row(values);
        if (afterRow) afterRow();
    }
}

class ScriptedConnection : public SourceConnection {
public:
    explicit ScriptedConnection(std::function<RowSet(const std::string&)> answer)
        : answer_(std::move(answer)) {}
    RowSet Query(const std::string& sql) override {
        queries.push_back(sql);
        return answer_(sql);
    }
    void SetWait(SourceWait given) override { wait = std::move(given); }
    std::vector<std::string> queries;
    SourceWait wait;  // what the frame asked of waits for a locked source

private:
    std::function<RowSet(const std::string&)> answer_;
};

// A ScriptedConnection whose query number `blocking` (from 1) does not end by itself: it waits
// until the connection is interrupted, then fails as an interrupted query does (or, after ten
// seconds without an interrupt, as a broken source does).
class BlockingConnection : public ScriptedConnection {
public:
    BlockingConnection(size_t blocking, std::function<RowSet(const std::string&)> answer)
        : ScriptedConnection(std::move(answer)), blocking_(blocking) {}
    RowSet Query(const std::string& sql) override {
        if (++asked_ != blocking_) return ScriptedConnection::Query(sql);
        std::unique_lock lock(mutex_);
        blocked_ = true;
        changed_.notify_all();
        // A test whose stop does not interrupt fails instead of hanging.
        if (!changed_.wait_for(lock, std::chrono::seconds(10), [this] { return interrupted_; }))
            throw DbError(1, "never interrupted");
        throw DbError(9, "interrupted");
    }
    void Interrupt() override {
        const std::lock_guard lock(mutex_);
        interrupted_ = true;
        changed_.notify_all();
    }
    // Waits until a query blocks; false when none did within `limit`.
    bool WaitUntilBlocked(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [this] { return blocked_; });
    }

private:
    size_t blocking_;
    size_t asked_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool blocked_ = false;
    bool interrupted_ = false;
};

// Opens, for every connection, a ScriptedConnection answering through `answer`.
inline SourceOpener ScriptedOpener(std::function<RowSet(const std::string&)> answer) {
    return [answer](const std::string&, const std::string&, const std::string&) {
        return std::make_unique<ScriptedConnection>(answer);
    };
}

// Answers each request with what `answer` returns for its body, without a socket.
class ScriptedTransport : public TallyTransport {
public:
    explicit ScriptedTransport(std::function<HttpResult(const std::string&)> answer)
        : answer_(std::move(answer)) {}
    HttpResult Post(const std::string& url, const std::string& body, std::string_view,
                    const std::atomic<bool>* stop) override {
        if (stop != nullptr && stop->load())
            return {HttpResult::Status::Interrupted, 0, "", "stopped"};
        urls.push_back(url);
        bodies.push_back(body);
        return answer_(body);
    }
    // Asked whether it runs, it answers `check`: by default as Tally does.
    HttpResult Get(const std::string&, const std::atomic<bool>*) override {
        ++checks;
        return check();
    }
    std::vector<std::string> urls;
    std::vector<std::string> bodies;
    int checks = 0;
    std::function<HttpResult()> check = [] {
        return HttpResult{HttpResult::Status::Ok, 200,
                          "<RESPONSE>TallyPrime Server is Running</RESPONSE>", "", "text/xml"};
    };

private:
    std::function<HttpResult(const std::string&)> answer_;
};

inline HttpResult TallyReplies(std::string body) {
    return {HttpResult::Status::Ok, 200, std::move(body), ""};
}

}  // namespace zentrail::testing
