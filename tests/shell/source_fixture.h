#pragma once

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>

#include "shell/source_database.h"

namespace zentrail::test {

// A temporary folder, removed with everything in it when the test ends.
class TempFolder {
public:
    TempFolder() {
        // create_directory makes a new folder or reports that the name was taken, so a
        // random name is tried until one is new.
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = std::filesystem::temp_directory_path() /
                    ("zentrail-db-" + std::to_string(random()));
            if (std::filesystem::create_directory(path_)) return;
        }
        throw std::runtime_error("cannot create " + path_.string());
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A remark longer than any single read buffer of the backends.
inline std::string LongRemark() {
    std::string text;
    for (int i = 0; text.size() < 10000; ++i) text += "line " + std::to_string(i) + "; ";
    return text;
}

// A few sales invoices around the end of January 2024, as the distributor's system stores them:
// date-times as ISO text, one invoice late on the last day, one not delivered (DlvSts 2),
// names with "&", quotes and a non-ASCII letter, a NULL and a long value.
inline void WriteSalesFixture(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    if (sqlite3_open(file.string().c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot create " + file.string());
    }
    std::string sql =
        "CREATE TABLE SalesInvoice (SalId INTEGER PRIMARY KEY, SalInvNo VARCHAR(20), "
        "SalInvDate DATETIME, RtrName NVARCHAR(100), SalNetAmt NUMERIC(18,2), DlvSts INTEGER, "
        "Remarks TEXT, DueDate DATE, IsoText VARCHAR(20));"
        "INSERT INTO SalesInvoice VALUES "
        "(1, 'INV001', '2024-01-30 09:15:00', 'Arun & Sons', 1180.5, 3, NULL, '2024-02-29', "
        "'2024-01-30'),"
        "(2, 'INV002', '2024-01-31 23:59:59.997', 'Zoë''s \"Mart\"', 236, 3, '" +
        LongRemark() +
        "', NULL, NULL),"
        "(3, 'INV003', '2024-02-01 00:00:00', 'Bharat Traders', 99.99, 3, '', '2024-02-30', "
        "NULL),"
        "(4, 'INV004', '2024-01-31', 'Cancelled Co', 500, 2, NULL, NULL, NULL),"
        "(5, 'INV005', '2024-01-29 18:00:00', 'Before Range', 10, 3, NULL, 'n/a', NULL);";
    char* message = nullptr;
    int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    std::string error = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("fixture: " + error);
}

// The sales screen's way of selecting invoices of a day range, as written for SQL Server.
inline std::string SalesOfRange(const std::string& from, const std::string& to) {
    return "SELECT A.SalId, A.SalInvNo, A.SalInvDate, A.RtrName, A.SalNetAmt, A.Remarks, "
           "A.DueDate FROM SalesInvoice A "
           "WHERE CONVERT(DATETIME,CONVERT(VARCHAR(10),A.SalInvDate,101))  >= '" +
           from +
           "' "
           "AND CONVERT(DATETIME,CONVERT(VARCHAR(10),A.SalInvDate,101)) <= '" +
           to +
           "' "
           "AND A.DlvSts >= 3  "
           "ORDER BY A.SalInvNo ";
}

// Runs a long query (many seconds) on another thread and interrupts it from this one; true
// when it ended with an error rather than its count. A query that has not started yet cannot
// be ended, so the interrupt is repeated until the query is over.
inline bool EndsWhenInterrupted(SourceConnection& connection) {
    std::atomic<bool> failed{false};
    std::atomic<bool> over{false};
    std::thread reader([&] {
        try {
            connection.Query(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                "WHERE i < 1000000000) SELECT count(*) FROM n");
        } catch (const DbError&) {
            failed = true;
        }
        over = true;
    });
    while (!over) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        connection.Interrupt();
    }
    reader.join();
    return failed;
}

}  // namespace zentrail::test
