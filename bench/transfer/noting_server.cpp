#include "noting_server.h"

#include <fstream>
#include <stdexcept>

namespace zentrail::bench {

Arrivals Arrivals::Read(const std::filesystem::path& file) {
    Arrivals arrivals;
    std::ifstream in(file);
    if (!in) throw std::runtime_error("instant_server left no " + file.string());
    long long us = 0;
    char kind = 0;
    while (in >> us >> kind) {
        arrivals.microseconds.push_back(us);
        arrivals.voucher.push_back(kind == 'V');
    }
    return arrivals;
}

std::optional<double> Arrivals::FirstVoucherWait() const {
    size_t first = 0;
    while (first < voucher.size() && !voucher[first]) ++first;
    if (first == 0 || first == voucher.size()) return std::nullopt;
    return static_cast<double>(microseconds[first] - microseconds[first - 1]) / 1e6;
}

namespace {

// A file of an earlier server must not pass for this one's.
std::filesystem::path Cleared(std::filesystem::path file) {
    std::filesystem::remove(file);
    return file;
}

}  // namespace

NotingServer::NotingServer(std::filesystem::path file)
    : file_(Cleared(std::move(file))), server_(InstantServer({"--arrivals", file_.string()})) {}

Arrivals NotingServer::Finish() {
    if (server_->Stop() != 0) throw std::runtime_error("instant_server did not end cleanly");
    return Arrivals::Read(file_);
}

}  // namespace zentrail::bench
