#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "screens/document_ref.h"

namespace zentrail {

// What building one listed document gave: its request, or why it is not sent.
struct BuiltDocument {
    enum class Kind { Send, Skip, NotSent };
    Kind kind = Kind::Send;
    DocumentRef document{};
    std::string request{};  // Send
    std::string key{};      // Send: the voucher key; empty for a master
    // Given to the builder: the key Tally already files the document under, kept whatever the
    // document makes now. After the build, `madeKey` is the key it made itself.
    std::string keptKey{};
    std::string madeKey{};
    bool master = false;   // Send: the document is a master (a stock item)
    std::string reason{};  // Skip, NotSent
    // Kept with a journal: the request's SHA-256, what an earlier request of the document says
    // of this one, and whether Tally holds it unchanged.
    std::string digest{};
    std::string earlier{};
    bool unchanged = false;
    std::vector<std::string> notes{};  // log lines about the document, logged as it is sent
};

// Builds the documents of rows 0 .. rows-1 in order while earlier ones are being sent. With
// `ahead` above 0 a builder thread stays at most that many documents ahead of the one taken;
// with 0 each document is built when it is asked for, on the caller's thread. `cancel`, when
// the pipeline ends before its builder is done, cuts a build short that waits (for its lines).
// What a build throws is handed over in its turn, and nothing is built after it. Tally still
// gets one request at a time, in order: only building moves.
class DocumentPipeline {
public:
    using Build = std::function<BuiltDocument(size_t row)>;
    using Cancel = std::function<void()>;

    DocumentPipeline(size_t rows, size_t ahead, Build build, Cancel cancel = nullptr);
    // Ends building: cancels a build still waiting, waits for the build in progress and builds
    // nothing more.
    ~DocumentPipeline();
    DocumentPipeline(const DocumentPipeline&) = delete;
    DocumentPipeline& operator=(const DocumentPipeline&) = delete;

    // The next row's document; rethrows what preparing or building it threw.
    BuiltDocument Next();

private:
    struct Slot {
        BuiltDocument built{};
        std::exception_ptr failure{};
    };
    Slot Make(size_t row);
    size_t RefillBelow() const { return ahead_ / 2; }
    void BuildAhead();

    const size_t rows_;
    const size_t ahead_;
    Build build_;
    Cancel cancel_;
    size_t taken_ = 0;
    bool failed_ = false;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Slot> ready_;
    bool closing_ = false;
    bool builderDone_ = false;
    std::thread builder_;
};

}  // namespace zentrail
