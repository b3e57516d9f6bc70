#include "tally-sim/simulated_tally.h"

#include <pugixml.hpp>
#include <vector>

#include "tally-sim/books_file.h"
#include "tally-sim/books_json.h"
#include "tally-sim/master_import.h"
#include "tally-sim/names.h"
#include "tally-sim/predefined_masters.h"
#include "tally-sim/reply_text.h"
#include "tally-sim/voucher_import.h"

namespace zentrail::sim {

// The parts of an import envelope that matter.
struct ImportRequest {
    std::string company;
    pugi::xml_node data;  // REQUESTDATA
};

namespace {

std::unique_ptr<Books> NewBooks(const std::string& company) {
    auto books = std::make_unique<Books>(company);
    AddPredefinedMasters(*books);
    books->TakeChanges();
    return books;
}

// Parsed as a fragment, so that text beside the root shows instead of being dropped: a
// well-formed document has one root element and nothing but markup beside it.
bool IsOneDocument(const pugi::xml_document& doc) {
    int elements = 0;
    for (pugi::xml_node node : doc.children()) {
        if (node.type() == pugi::node_element) ++elements;
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) return false;
    }
    return elements == 1;
}

// ENVELOPE/HEADER/TALLYREQUEST "Import Data" with BODY/IMPORTDATA/REQUESTDESC and REQUESTDATA.
std::optional<ImportRequest> ReadEnvelope(const pugi::xml_document& doc) {
    pugi::xml_node envelope = doc.document_element();
    if (std::string_view(envelope.name()) != "ENVELOPE") return std::nullopt;
    pugi::xml_node request = envelope.child("HEADER").child("TALLYREQUEST");
    if (!request || !SameName(request.child_value(), "Import Data")) return std::nullopt;
    pugi::xml_node import = envelope.child("BODY").child("IMPORTDATA");
    pugi::xml_node description = import.child("REQUESTDESC");
    pugi::xml_node data = import.child("REQUESTDATA");
    if (!description || !data) return std::nullopt;
    ImportRequest read;
    read.company = std::string(
        TrimName(description.child("STATICVARIABLES").child("SVCURRENTCOMPANY").child_value()));
    read.data = data;
    return read;
}

void Count(const ImportOutcome& outcome, ImportCounters& counters,
           std::vector<std::string>& errors) {
    switch (outcome.result) {
        case ImportOutcome::Result::Created:
            ++counters.created;
            if (outcome.masterId) counters.lastMasterId = outcome.masterId;
            if (outcome.voucherId) counters.lastVoucherId = outcome.voucherId;
            break;
        case ImportOutcome::Result::Altered:
            ++counters.altered;
            break;
        case ImportOutcome::Result::Deleted:
            ++counters.deleted;
            break;
        case ImportOutcome::Result::Cancelled:
            ++counters.cancelled;
            break;
        case ImportOutcome::Result::Ignored:
            ++counters.ignored;
            break;
        case ImportOutcome::Result::Failed:
            ++counters.errors;
            errors.push_back(outcome.error);
            break;
    }
}

}  // namespace

SimulatedTally::SimulatedTally(std::optional<std::string> company)
    : books_(NewBooks(company.value_or(kDefaultCompany))) {}

SimulatedTally::SimulatedTally(std::optional<std::string> company,
                               const std::filesystem::path& booksFile)
    : file_(std::make_unique<BooksFile>(booksFile)) {
    std::optional<std::string> stored = file_->Company();
    if (stored && company && !SameName(*stored, *company))
        throw BooksFileError("The books in " + booksFile.string() + " belong to the company '" +
                             *stored + "', not '" + *company + "'");
    if (!stored) {
        stored = company.value_or(kDefaultCompany);
        file_->SetCompany(*stored);
    }
    books_ = NewBooks(*stored);
    file_->LoadInto(*books_);
}

SimulatedTally::~SimulatedTally() = default;

std::string SimulatedTally::HandleRequest(std::string_view body) {
    if (body.empty()) return RunningReply();
    pugi::xml_document doc;
    if (!doc.load_buffer(body.data(), body.size(), pugi::parse_default | pugi::parse_fragment,
                         pugi::encoding_auto) ||
        !IsOneDocument(doc))
        return UnknownRequestReply();
    std::optional<ImportRequest> request = ReadEnvelope(doc);
    if (!request) return UnknownRequestReply();
    std::lock_guard lock(mutex_);
    if (!request->company.empty() && !SameName(request->company, books_->Company()))
        return CompanyReply(request->company);
    return Import(*request);
}

std::string SimulatedTally::Import(const ImportRequest& request) {
    ImportCounters counters;
    std::vector<std::string> errors;
    for (pugi::xml_node message : request.data.children("TALLYMESSAGE")) {
        for (pugi::xml_node object : message.children()) {
            if (object.type() != pugi::node_element) continue;
            ImportOutcome outcome;
            std::string_view tag = object.name();
            if (tag == "VOUCHER")
                outcome = ImportVoucher(object, *books_);
            else if (std::optional<MasterKind> kind = MasterKindFromTag(tag))
                outcome = ImportMaster(object, *kind, *books_);
            else
                outcome.result = ImportOutcome::Result::Ignored;  // as Tally does with the unknown
            Count(outcome, counters, errors);
        }
    }
    Books::Changes changes = books_->TakeChanges();
    if (file_) {
        try {
            file_->Save(*books_, changes);
        } catch (const std::exception& error) {
            // Nothing of this request reached the file: forget it in memory too.
            ReloadFromFile();
            ImportCounters failed;
            failed.errors = 1;
            return ImportReply({std::string("The books could not be saved: ") + error.what()},
                               failed);
        }
    }
    return ImportReply(errors, counters);
}

void SimulatedTally::ReloadFromFile() {
    auto books = NewBooks(books_->Company());
    file_->LoadInto(*books);
    books_ = std::move(books);
}

nlohmann::json SimulatedTally::BooksJson() const {
    std::lock_guard lock(mutex_);
    return BooksToJson(*books_);
}

}  // namespace zentrail::sim
