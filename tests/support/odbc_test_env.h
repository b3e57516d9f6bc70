#pragma once

#include <filesystem>

namespace zentrail::test {

// The ODBC driver of the tests: the SQLite ODBC driver, under this driver name.
inline constexpr const char* kOdbcTestDriverFile =
    "/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so";
inline constexpr const char* kOdbcTestDriver = "ZentrailSQLite3";

// The data source the tests' odbc.ini defines; it reads the SQLite file OdbcTestDsnFile().
inline constexpr const char* kOdbcTestDsn = "ZentrailTestDsn";

// The folder holding the tests' odbcinst.ini and odbc.ini. ODBCSYSINI and ODBCINI point there
// from before the first test runs (the driver manager reads them once per process).
const std::filesystem::path& OdbcTestFolder();

// The database file behind kOdbcTestDsn; a test writes it before it connects.
std::filesystem::path OdbcTestDsnFile();

}  // namespace zentrail::test
