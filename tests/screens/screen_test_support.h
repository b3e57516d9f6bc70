#pragma once

// A recording observer and a scripted source database for driving screens in tests.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "screens/screen_observer.h"
#include "shell/source_database.h"

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

// Answers each query with what `answer` returns for its text (or throws what it throws).
class ScriptedConnection : public SourceConnection {
public:
    explicit ScriptedConnection(std::function<RowSet(const std::string&)> answer)
        : answer_(std::move(answer)) {}
    RowSet Query(const std::string& sql) override {
        queries.push_back(sql);
        return answer_(sql);
    }
    std::vector<std::string> queries;

private:
    std::function<RowSet(const std::string&)> answer_;
};

}  // namespace zentrail::testing
