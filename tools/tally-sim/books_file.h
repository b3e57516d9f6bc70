#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "tally-sim/books.h"

struct sqlite3;

namespace zentrail::sim {

class BooksFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Keeps the books in a SQLite file so that they outlive the server: the company's name, the
// masters the company did not start with, and the vouchers, each row as JSON.
class BooksFile {
public:
    // Opens or creates the file; throws BooksFileError when it cannot.
    explicit BooksFile(const std::filesystem::path& path);
    ~BooksFile();
    BooksFile(const BooksFile&) = delete;
    BooksFile& operator=(const BooksFile&) = delete;

    // The company the file was made for; nullopt for a new file.
    std::optional<std::string> Company();
    void SetCompany(const std::string& company);

    // Adds the stored masters and vouchers to books that hold the predefined masters.
    void LoadInto(Books& books);

    // Writes what changed, all or nothing.
    void Save(const Books& books, const Books::Changes& changes);

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };
    void Execute(const char* sql);
    std::unique_ptr<sqlite3, Closer> db_;
    std::filesystem::path path_;
};

}  // namespace zentrail::sim
