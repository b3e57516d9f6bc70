#include "tally/request_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

namespace zentrail {

namespace {

// Long enough to tell documents apart, short enough for any file system's name limit.
constexpr size_t kLongestNamePart = 80;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool IsUnsafeInFileName(unsigned char c) {
    return c < 0x20 || c == 0x7F || std::strchr("<>:\"/\\|?*", c) != nullptr;
}

std::string SystemError() { return std::strerror(errno != 0 ? errno : EIO); }

// Writes `bytes` to a new file at `path`; the system's words when it cannot. A file left half
// written is removed, so that no import meets half a request.
std::string WriteNewFile(const std::filesystem::path& path, const std::string& bytes) {
    errno = 0;
    // "x": a file already there is never overwritten.
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.string().c_str(), "wbx"));
    if (!file) return SystemError();
    std::string failure;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fflush(file.get()) != 0)
        failure = SystemError();
    if (std::fclose(file.release()) != 0 && failure.empty()) failure = SystemError();
    if (!failure.empty()) {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    return failure;
}

}  // namespace

std::string SavedRequestName(long sequence, RequestForm form, std::string_view document) {
    char number[24];
    std::snprintf(number, sizeof number, "%05ld", sequence);
    std::string part;
    for (char c : document) part += IsUnsafeInFileName(static_cast<unsigned char>(c)) ? '_' : c;
    if (part.size() > kLongestNamePart) {
        size_t cut = kLongestNamePart;
        // Never half a character.
        while (cut > 0 && (static_cast<unsigned char>(part[cut]) & 0xC0) == 0x80) --cut;
        part.resize(cut);
    }
    // Windows drops blanks and dots at the end of a name.
    while (!part.empty() && (part.back() == ' ' || part.back() == '.')) part.back() = '_';
    return std::string(number) + (form == RequestForm::Master ? "-master-" : "-voucher-") + part +
           ".xml";
}

RequestFolderSink::RequestFolderSink(std::filesystem::path folder, TextEncoding encoding,
                                     RequestSink* next)
    : folder_(std::move(folder)), encoding_(encoding), next_(next) {
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    if (error || !std::filesystem::is_directory(folder_, error))
        throw RequestFolderError("Cannot save requests in " + folder_.string() + ": " +
                                 (error ? error.message() : "it is not a folder"));
    if (!std::filesystem::is_empty(folder_, error) || error)
        throw RequestFolderError(
            "Cannot save requests in " + folder_.string() + ": " +
            (error ? error.message() : "the folder already holds files; name a new or empty one"));
}

ExchangeResult RequestFolderSink::Deliver(const Request& request, const std::atomic<bool>* stop) {
    const std::filesystem::path path =
        folder_ / SavedRequestName(written_ + 1, request.form, request.document);
    const std::string failure = WriteNewFile(path, EncodeRequest(request.body, encoding_));
    if (!failure.empty()) {
        ExchangeResult result;
        result.outcome = Outcome::NotSent;
        result.message = "The request could not be saved to " + path.string() + ": " + failure;
        result.notSaved = true;
        return result;
    }
    ++written_;
    if (next_ != nullptr) return next_->Deliver(request, stop);
    ExchangeResult result;
    result.outcome = Outcome::Saved;
    return result;
}

TallyCheck RequestFolderSink::CheckTally(const std::atomic<bool>* stop) {
    return next_ != nullptr ? next_->CheckTally(stop) : RequestSink::CheckTally(stop);
}

}  // namespace zentrail
