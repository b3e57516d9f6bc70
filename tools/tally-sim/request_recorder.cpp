#include "tally-sim/request_recorder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace zentrail::sim {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

[[noreturn]] void Fail(const std::string& what, const std::filesystem::path& path, int error) {
    throw std::runtime_error("cannot " + what + " " + path.string() + ": " + std::strerror(error));
}

}  // namespace

RequestRecorder::RequestRecorder(std::filesystem::path folder) : folder_(std::move(folder)) {
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error) Fail("create the record folder", folder_, error.value());
    if (!std::filesystem::is_empty(folder_, error) || error)
        throw std::runtime_error("the record folder " + folder_.string() +
                                 " is not empty (or cannot be read)");
}

std::filesystem::path RequestRecorder::FileFor(long number) const {
    char name[32];
    std::snprintf(name, sizeof name, "%05ld.xml", number);
    return folder_ / name;
}

void RequestRecorder::Record(const std::string& body) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::filesystem::path path = FileFor(count_ + 1);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.string().c_str(), "wb"));
    if (!file) Fail("create", path, errno);
    if (std::fwrite(body.data(), 1, body.size(), file.get()) != body.size())
        Fail("write", path, errno);
    if (std::fclose(file.release()) != 0) Fail("write", path, errno);
    ++count_;
}

}  // namespace zentrail::sim
