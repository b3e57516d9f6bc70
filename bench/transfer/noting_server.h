#pragma once

// An instant_server that notes what it is sent, and what the notes tell.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "transfer_bench_support.h"

namespace zentrail::bench {

// What a server process was sent: per request its arrival and whether it held a voucher.
struct Arrivals {
    std::vector<long long> microseconds;
    std::vector<bool> voucher;

    static Arrivals Read(const std::filesystem::path& file);

    size_t Count() const { return microseconds.size(); }

    // From the last request before the first voucher to the first voucher: how long the first
    // voucher kept Tally waiting after the masters. Nothing when no voucher follows a request.
    std::optional<double> FirstVoucherWait() const;
};

// A fresh instant server that notes its requests in `file`, read once it has ended.
class NotingServer {
public:
    explicit NotingServer(std::filesystem::path file);

    int Port() { return server_->Port(); }
    std::string Url() { return server_->Url(); }

    // Stops the server and gives what it was sent.
    Arrivals Finish();

private:
    std::filesystem::path file_;
    ServerProcess server_;
};

}  // namespace zentrail::bench
