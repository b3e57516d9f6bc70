#include "shell/configuration.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "shell/platform.h"

namespace zentrail {
namespace {

namespace fs = std::filesystem;

class ConfigFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("zentrail-config-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
        path_ = folder_ / "Config.txt";
    }
    void TearDown() override { fs::remove_all(folder_); }
    Configuration Read(const std::string& content) {
        std::ofstream(path_, std::ios::binary) << content;
        return ReadConfig(path_);
    }
    fs::path folder_;
    fs::path path_;
};

TEST_F(ConfigFile, MissingFileGivesTheDefaults) {
    Configuration config = ReadConfig(path_);
    EXPECT_EQ(config.strTallyServer, platform::LocalHostName());
    EXPECT_FALSE(config.strTallyServer.empty());
    EXPECT_EQ(config.strTallyPort, "9000");
    EXPECT_EQ(config.strCompany, "");
    EXPECT_EQ(config.strSqlOdbc, "DMSDB");
    EXPECT_EQ(config.strSqlUser, "sa");
    EXPECT_EQ(config.strSqlPassword, "");
    EXPECT_TRUE(config.blnLedgerId);
    EXPECT_EQ(config.strDebtorGroup, "");
    EXPECT_EQ(config.strCreditorGroup, "");
    EXPECT_EQ(config.strConfigSummary, "");
}

TEST_F(ConfigFile, EveryKeyIsRead) {
    Configuration config = Read(
        "SERVER:tally-host\r\nPORT:9001\r\ncompany:Shah & Sons Pvt\r\nSQL_ODBC:DSN=x;Server=y\r\n"
        "SQL_USER:reader\r\nSQL_PASSWORD:s3cret\r\nLEDGER_ID:no\r\nDEBTOR:Retailers\r\n"
        "CREDITOR:Suppliers\r\nEncoding:UTF-16\r\n");
    EXPECT_EQ(config.strTallyServer, "tally-host");
    EXPECT_EQ(config.strTallyPort, "9001");
    EXPECT_EQ(config.strCompany, "Shah & Sons Pvt");
    EXPECT_EQ(config.strSqlOdbc, "DSN=x;Server=y");
    EXPECT_EQ(config.strSqlUser, "reader");
    EXPECT_EQ(config.strSqlPassword, "s3cret");
    EXPECT_FALSE(config.blnLedgerId);
    EXPECT_EQ(config.strDebtorGroup, "Retailers");
    EXPECT_EQ(config.strCreditorGroup, "Suppliers");
    EXPECT_EQ(config.TallyUrl(), "http://tally-host:9001");
    EXPECT_EQ(config.TallyAddress(), "tally-host:9001");
    EXPECT_TRUE(config.RequestsInUtf16());
}

TEST_F(ConfigFile, OnlyAPortLine) {
    Configuration config = Read("PORT:9000\n");
    EXPECT_EQ(config.strTallyPort, "9000");
    EXPECT_EQ(config.strTallyServer, "");
    EXPECT_EQ(config.strCompany, "");
    EXPECT_EQ(config.strSqlOdbc, "");
    EXPECT_EQ(config.strSqlUser, "");
    EXPECT_TRUE(config.blnLedgerId);
}

TEST_F(ConfigFile, ValueRules) {
    struct Case {
        const char* content;
        std::string Configuration::*field;
        const char* expected;
    };
    const Case cases[] = {
        {"SERVER: host \n", &Configuration::strTallyServer, "host"},
        {"SERVER :host\n", &Configuration::strTallyServer, "host"},
        {" port\t: 9001 \n", &Configuration::strTallyPort, "9001"},
        {"COMPANY:A:B\n", &Configuration::strCompany, "A:B"},
        {"COMPANY:KVZ Traders: 2024-25\n", &Configuration::strCompany, "KVZ Traders: 2024-25"},
        {"COMPANY: Spaced  Name \n", &Configuration::strCompany, " Spaced  Name "},
        {"SQL_PASSWORD:Pass:word1\n", &Configuration::strSqlPassword, "Pass:word1"},
        {"SQL_ODBC:Server=tcp:host,1433\n", &Configuration::strSqlOdbc, "Server=tcp:host,1433"},
        {"DEBTOR : Sundry Debtors\n", &Configuration::strDebtorGroup, " Sundry Debtors"},
        {"COMPANY:First\nCOMPANY:Second\n", &Configuration::strCompany, "Second"},
        {"Company:MiXed Case\n", &Configuration::strCompany, "MiXed Case"},
        {"COMPANY:\n", &Configuration::strCompany, ""},
        {"\xEF\xBB\xBFSERVER:bom\n", &Configuration::strTallyServer, "bom"},
    };
    for (const Case& c : cases) EXPECT_EQ(Read(c.content).*c.field, c.expected) << c.content;
}

TEST_F(ConfigFile, LedgerIdIsYesWhateverTheCaseAndBlanks) {
    const std::pair<const char*, bool> cases[] = {
        {"LEDGER_ID:yes", true},  {"LEDGER_ID:YES", true},    {"LEDGER_ID:Yes ", true},
        {"LEDGER_ID: YES", true}, {"LEDGER_ID :yes\t", true}, {"LEDGER_ID:Y", false},
        {"LEDGER_ID:", false},    {"LEDGER_ID:NO", false},    {"LEDGER_ID: no ", false}};
    for (const auto& [line, expected] : cases) EXPECT_EQ(Read(line).blnLedgerId, expected) << line;
    EXPECT_EQ(Read("LEDGER_ID: Yes \n").strLedgerId, " Yes ") << "kept as written for the check";
}

TEST_F(ConfigFile, SummaryKeepsNonEmptyLinesAndMasksThePassword) {
    Configuration config =
        Read("SERVER:host\n\n# comment line\nsql_password:top:secret\r\n\r\nPORT:9000");
    EXPECT_EQ(config.strConfigSummary, " SERVER:host # comment line sql_password:**** PORT:9000");
    EXPECT_EQ(config.strSqlPassword, "top:secret");
    EXPECT_EQ(config.strTallyPort, "9000") << "the last line needs no line end";
}

TEST_F(ConfigFile, UnreadableFilesGiveAClearError) {
    std::ofstream(path_, std::ios::binary) << "SERVER:h\n\xC3\x28 broken\n";
    EXPECT_THROW(ReadConfig(path_), ConfigError);
    try {
        ReadConfig(path_);
    } catch (const ConfigError& e) {
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos) << e.what();
    }
    std::ofstream(path_, std::ios::binary) << std::string(kMaxConfigLineLength + 1, 'x');
    EXPECT_THROW(ReadConfig(path_), ConfigError);
    fs::remove(path_);
    fs::create_directory(path_);
    EXPECT_THROW(ReadConfig(path_), ConfigError);
}

TEST_F(ConfigFile, UnreadablePermissions) {
    std::ofstream(path_) << "SERVER:h\n";
    fs::permissions(path_, fs::perms::none);
    if (std::ifstream(path_).is_open()) {
        fs::permissions(path_, fs::perms::owner_all);  // Windows removes no read-only file
        GTEST_SKIP() << "this user reads the file anyway (root, or no such permission here)";
    }
    EXPECT_THROW(ReadConfig(path_), ConfigError);
}

}  // namespace
}  // namespace zentrail
