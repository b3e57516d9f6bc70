#pragma once

#include <filesystem>
#include <mutex>
#include <string>

namespace zentrail::sim {

// Keeps every request body as it arrived, one file each (00001.xml, 00002.xml, ...), so that
// two runs of a client can be compared byte for byte. Thread-safe: the numbers follow the order
// in which the bodies are taken.
class RequestRecorder {
public:
    // Creates `folder` when missing. Throws std::runtime_error when it cannot, or when the folder
    // already holds files: a recording mixed with an older one would compare wrongly.
    explicit RequestRecorder(std::filesystem::path folder);

    // Writes `body` unchanged to the next file. Throws std::runtime_error when the write fails.
    void Record(const std::string& body);

    // The file the Nth body (from 1) is written to.
    std::filesystem::path FileFor(long number) const;

private:
    std::filesystem::path folder_;
    std::mutex mutex_;
    long count_ = 0;
};

}  // namespace zentrail::sim
