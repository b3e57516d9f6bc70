#include "shell/session.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "shell/platform.h"
#include "shell/source_fixture.h"

namespace zentrail {
namespace {

namespace fs = std::filesystem;
using Step = SessionFailure::Step;

class StartingASession : public ::testing::Test {
protected:
    void SetUp() override { test::WriteSalesFixture(database_); }
    fs::path Write(const std::string& name, const std::string& text) {
        fs::path path = folder_.Path() / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string GoodSettings() const {
        return "SERVER:127.0.0.1\nPORT:9000\nCOMPANY:Demo\nSQL_ODBC:" + database_.string() + "\n";
    }
    test::TempFolder folder_;
    fs::path database_ = folder_.Path() / "source.db";
};

TEST_F(StartingASession, GoodSettingsGiveTheSettingsAndAnOpenSource) {
    const fs::path file = Write("Config.txt", GoodSettings());
    std::vector<std::pair<fs::path, bool>> told;
    SessionOptions options;
    options.configFile = file;
    options.configRead = [&](const fs::path& read, bool found) { told.emplace_back(read, found); };
    SessionStart start = StartSession(options);
    ASSERT_FALSE(start.failure) << start.failure->detail;
    ASSERT_TRUE(start.session);
    EXPECT_EQ(start.session->config.strCompany, "Demo");
    EXPECT_EQ(start.session->configFile, file);
    EXPECT_EQ(start.session->ReportFolder(), fs::absolute(folder_.Path()));
    EXPECT_NE(start.session->db.cnSource, nullptr);
    EXPECT_FALSE(start.session->db.Open("SELECT SalInvNo FROM SalesInvoice").Eof());
    EXPECT_EQ(told, (std::vector<std::pair<fs::path, bool>>{{file, true}}));
}

// Each step stops the start at its own failure, and the steps run in order: the file, its
// text, the settings for the use, then the source.
TEST_F(StartingASession, TheFirstFailingStepIsReported) {
    struct Case {
        const char* name;
        std::optional<std::string> text;  // none: no file written
        SettingsUse use;
        Step step;
        bool configReadTold;
    };
    const std::string missingSource =
        "SERVER:127.0.0.1\nPORT:9000\nSQL_ODBC:" + (folder_.Path() / "absent.db").string() + "\n";
    const std::string badPort =
        "SERVER:127.0.0.1\nPORT:90o0\nSQL_ODBC:" + database_.string() + "\n";
    const Case cases[] = {
        {"no file", std::nullopt, SettingsUse::kTransfer, Step::kConfigMissing, false},
        {"not UTF-8", "SERVER:h\n\xC3\x28\n", SettingsUse::kTransfer, Step::kConfigUnreadable,
         false},
        {"bad port", badPort, SettingsUse::kTransfer, Step::kSettingsRejected, true},
        {"bad ledger id", GoodSettings() + "LEDGER_ID:maybe\n", SettingsUse::kSourceOnly,
         Step::kSettingsRejected, true},
        {"missing source", missingSource, SettingsUse::kSourceOnly, Step::kSourceNotOpened, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path file = folder_.Path() / (std::string(c.name) + ".txt");
        if (c.text) Write(file.filename().string(), *c.text);
        bool told = false;
        SessionOptions options;
        options.configFile = file;
        options.use = c.use;
        options.configRead = [&](const fs::path&, bool) { told = true; };
        SessionStart start = StartSession(options);
        EXPECT_FALSE(start.session);
        ASSERT_TRUE(start.failure);
        EXPECT_EQ(start.failure->step, c.step);
        EXPECT_FALSE(start.failure->detail.empty());
        EXPECT_EQ(told, c.configReadTold);
    }
}

TEST_F(StartingASession, FailuresCarryWhatTheProgramsTell) {
    SessionOptions options;
    options.configFile = folder_.Path() / "absent" / "Config.txt";
    SessionStart missing = StartSession(options);
    ASSERT_TRUE(missing.failure);
    EXPECT_EQ(missing.failure->detail, options.configFile->string());

    const std::string source = (folder_.Path() / "absent.db").string();
    options.configFile = Write("Config.txt", "SERVER:h\nPORT:1\nSQL_ODBC:" + source + "\n");
    SessionStart closed = StartSession(options);
    ASSERT_TRUE(closed.failure);
    EXPECT_EQ(closed.failure->step, Step::kSourceNotOpened);
    EXPECT_EQ(closed.failure->source, source);
    EXPECT_EQ(closed.failure->headline, "No database file at " + source + " (SQL_ODBC in " +
                                            options.configFile->string() + ")");
    // The driver's own words follow the headline, without repeating it.
    EXPECT_FALSE(closed.failure->detail.empty());
    EXPECT_EQ(closed.failure->detail.find(source), std::string::npos) << closed.failure->detail;
    EXPECT_FALSE(fs::exists(source)) << "a mistyped source creates no file";
}

TEST(SourceNotOpenedHeadline, NamesTheMissingFileOrTheSourceAndTheConfigurationFile) {
    test::TempFolder folder;
    const fs::path config = folder.Path() / "Config.txt";
    const fs::path present = folder.Path() / "there.db";
    std::ofstream(present) << "not a database";
    const std::string in = " (SQL_ODBC in " + config.string() + ")";
    struct Case {
        std::string source;
        std::string headline;
    };
    const Case cases[] = {
        {(folder.Path() / "absent.db").string(),
         "No database file at " + (folder.Path() / "absent.db").string() + in},
        {"relative.SQLITE3",
         "No database file at " + (platform::ProgramFolder() / "relative.SQLITE3").string() + in},
        // a file that is there but cannot be read as a database
        {present.string(), "Cannot open the source database \"" + present.string() + "\"" + in},
        {"DMSDB", "Cannot open the source database \"DMSDB\"" + in},
        // a connection string naming a file is the driver's to judge, and its password is masked
        {"DRIVER=SQLite3;Database=x.db;PWD=hush",
         "Cannot open the source database \"DRIVER=SQLite3;Database=x.db;PWD=****\"" + in},
    };
    for (const Case& c : cases) EXPECT_EQ(SourceNotOpenedHeadline(c.source, config), c.headline);
}

TEST_F(StartingASession, APortOnlyAnExportNeedsIsNotCheckedForGetData) {
    const fs::path file =
        Write("Config.txt", "SERVER:h/x\nPORT:none\nSQL_ODBC:" + database_.string() + "\n");
    SessionOptions options;
    options.configFile = file;
    options.use = SettingsUse::kSourceOnly;
    EXPECT_TRUE(StartSession(options).session);
    options.use = SettingsUse::kTransfer;
    SessionStart start = StartSession(options);
    ASSERT_TRUE(start.failure);
    EXPECT_EQ(start.failure->step, Step::kSettingsRejected);
}

}  // namespace
}  // namespace zentrail
