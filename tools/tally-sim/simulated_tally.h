#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "tally-sim/books.h"

namespace zentrail::sim {

class BooksFile;

inline constexpr const char* kDefaultCompany = "Zentrail Demo";

// A Tally server without the network: takes the body of one HTTP request and gives the text
// Tally would answer, keeping the company's books. Safe to call from several threads.
class SimulatedTally {
public:
    // Books in memory only; nullopt company means kDefaultCompany.
    explicit SimulatedTally(std::optional<std::string> company = std::nullopt);
    // Books kept in a SQLite file. A new file takes the given company (or the default); an
    // existing file keeps its own, and naming a different one throws BooksFileError.
    SimulatedTally(std::optional<std::string> company, const std::filesystem::path& booksFile);
    ~SimulatedTally();
    SimulatedTally(const SimulatedTally&) = delete;
    SimulatedTally& operator=(const SimulatedTally&) = delete;

    std::string HandleRequest(std::string_view body);
    nlohmann::json BooksJson() const;
    const std::string& Company() const { return books_->Company(); }

private:
    std::string Import(const struct ImportRequest& request);
    void ReloadFromFile();

    mutable std::mutex mutex_;
    std::unique_ptr<Books> books_;
    std::unique_ptr<BooksFile> file_;
};

}  // namespace zentrail::sim
