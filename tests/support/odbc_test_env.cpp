#include "support/odbc_test_env.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <stdexcept>
#include <string>

namespace zentrail::test {
namespace {

void WriteFile(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

// Removes the folder when the test process ends.
struct OdbcFolder {
    std::filesystem::path path;
    OdbcFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zentrail-odbc-XXXXXX");
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create " + pattern);
        path = pattern;
        WriteFile(path / "odbcinst.ini",
                  std::string("[") + kOdbcTestDriver +
                      "]\nDescription=SQLite3 ODBC Driver\nDriver=" + kOdbcTestDriverFile + "\n");
        WriteFile(path / "odbc.ini",
                  std::string("[") + kOdbcTestDsn + "]\nDriver=" + kOdbcTestDriver +
                      "\nDatabase=" + (path / "dsn.db").string() + "\nNoCreat=1\n" + "[" +
                      kOdbcCreatingDsn + "]\nDriver=" + kOdbcTestDriver +
                      "\nDatabase=" + (path / "absent.db").string() + "\n");
        // The SQLite ODBC driver keeps what it reads of a data source in the installer library
        // and unloads that library at disconnect, which the leak checker of the sanitizer build
        // reports; kept loaded, the memory stays reachable.
        dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_NODELETE);
        setenv("ODBCSYSINI", path.c_str(), 1);
        setenv("ODBCINI", (path / "odbc.ini").c_str(), 1);
    }
    ~OdbcFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

// Sets the environment before any test can reach the driver manager.
class OdbcEnvironment : public ::testing::Environment {
public:
    void SetUp() override { OdbcTestFolder(); }
};

[[maybe_unused]] ::testing::Environment* const kRegistered =
    ::testing::AddGlobalTestEnvironment(new OdbcEnvironment);

}  // namespace

const std::filesystem::path& OdbcTestFolder() {
    static OdbcFolder folder;
    return folder.path;
}

std::filesystem::path OdbcTestDsnFile() { return OdbcTestFolder() / "dsn.db"; }

std::filesystem::path OdbcCreatingDsnFile() { return OdbcTestFolder() / "absent.db"; }

}  // namespace zentrail::test
