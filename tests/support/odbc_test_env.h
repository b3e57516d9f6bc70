#pragma once

#include <filesystem>

namespace zentrail::test {

// The ODBC driver of the tests: the SQLite ODBC driver, under this driver name.
inline constexpr const char* kOdbcTestDriverFile =
    "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";
inline constexpr const char* kOdbcTestDriver = "ZentrailSQLite3";

// The data source the tests' odbc.ini defines; it reads the SQLite file OdbcTestDsnFile().
inline constexpr const char* kOdbcTestDsn = "ZentrailTestDsn";

// A data source as an administrator may set one up: without NoCreat, over a file that is not
// there, so the driver alone would create it.
inline constexpr const char* kOdbcCreatingDsn = "ZentrailCreatingDsn";

// The folder holding the tests' odbcinst.ini and odbc.ini. ODBCSYSINI and ODBCINI point there
// from before the first test runs (the driver manager reads them once per process).
const std::filesystem::path& OdbcTestFolder();

// The database file behind kOdbcTestDsn; a test writes it before it connects.
std::filesystem::path OdbcTestDsnFile();

// The file behind kOdbcCreatingDsn, which no test writes.
std::filesystem::path OdbcCreatingDsnFile();

}  // namespace zentrail::test
