#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "tally/request_sink.h"

namespace zentrail {

// The folder for saved requests cannot be used.
class RequestFolderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes every request, byte for byte as it goes to Tally, to a file of its own:
// FOLDER/00001-master-<name>.xml, 00002-voucher-<number>.xml ... in the order of the run, then
// hands it on to `next`. Without `next`, the request is only saved. Tally's own import menu
// takes such a file as it is.
class RequestFolderSink : public RequestSink {
public:
    // Creates the folder when it is missing. Throws RequestFolderError when it cannot, or when
    // the folder already holds files: requests of two runs must not mix.
    RequestFolderSink(std::filesystem::path folder, TextEncoding encoding, RequestSink* next);

    ExchangeResult Deliver(const Request& request, const std::atomic<bool>* stop) override;
    TallyCheck CheckTally(const std::atomic<bool>* stop) override;
    bool ReachesTally() const override { return next_ != nullptr && next_->ReachesTally(); }

    const std::filesystem::path& Folder() const { return folder_; }
    long FilesWritten() const { return written_; }

private:
    std::filesystem::path folder_;
    TextEncoding encoding_;
    RequestSink* next_;
    long written_ = 0;
};

// The file name of the `sequence`th request: "00001-voucher-INV_1.xml". Characters a file name
// cannot hold become '_'.
std::string SavedRequestName(long sequence, RequestForm form, std::string_view document);

}  // namespace zentrail
