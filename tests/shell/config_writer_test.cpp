#include "shell/config_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace zentrail {
namespace {

namespace fs = std::filesystem;

// Every setting but the summary, which only echoes the lines.
void ExpectSameSettings(const Configuration& a, const Configuration& b) {
    EXPECT_EQ(a.strTallyServer, b.strTallyServer);
    EXPECT_EQ(a.strTallyPort, b.strTallyPort);
    EXPECT_EQ(a.strCompany, b.strCompany);
    EXPECT_EQ(a.strSqlOdbc, b.strSqlOdbc);
    EXPECT_EQ(a.strSqlUser, b.strSqlUser);
    EXPECT_EQ(a.strSqlPassword, b.strSqlPassword);
    EXPECT_EQ(a.blnLedgerId, b.blnLedgerId);
    EXPECT_EQ(a.strLedgerId, b.strLedgerId);
    EXPECT_EQ(a.strDebtorGroup, b.strDebtorGroup);
    EXPECT_EQ(a.strCreditorGroup, b.strCreditorGroup);
}

class ConfigWriting : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("zentrail-config-writer-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder_);
        path_ = folder_ / "Config.txt";
    }
    void TearDown() override { fs::remove_all(folder_); }
    void Put(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
    std::string Text() const {
        std::ifstream file(path_, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    size_t FilesInFolder() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(folder_), {}));
    }
    fs::path folder_;
    fs::path path_;
};

TEST_F(ConfigWriting, UnchangedSettingsKeepTheFileByteForByte) {
    const char* texts[] = {
        "",
        "# Zentrail\r\nSERVER : host \r\n\r\nCOMPANY:KVZ Traders: 2024-25\r\nMYSTERY:1\r\n"
        "sql_password:Pass:word1\r\n",
        "\xEF\xBB\xBFSERVER:bom\nPORT:9000",
        "COMPANY:First\nCOMPANY:Second\n\n\n; note without a key\n",
        "LEDGER_ID: Yes \nDEBTOR : Sundry Debtors\nport\t: 9001 \n",
        "LEDGER_ID:\nSERVER:\n",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        Put(text);
        const Configuration read = ReadConfig(path_);
        WriteConfig(path_, read);
        EXPECT_EQ(Text(), text);
        const Configuration again = ReadConfig(path_);
        ExpectSameSettings(again, read);
        EXPECT_EQ(again.strConfigSummary, read.strConfigSummary);
    }
}

TEST_F(ConfigWriting, EditsChangeOnlyTheirValuesAndAppendMissingKeys) {
    struct Case {
        const char* name;
        std::string before;
        std::function<void(Configuration&)> edit;
        std::string after;
    };
    const Case cases[] = {
        {"value between comments", "# head\nCOMPANY:Old\n# tail\n",
         [](Configuration& c) { c.strCompany = "New: 2025"; },
         "# head\nCOMPANY:New: 2025\n# tail\n"},
        {"key kept as written", "company :Old\r\nOTHER:x\r\n",
         [](Configuration& c) { c.strCompany = "New"; }, "company :New\r\nOTHER:x\r\n"},
        {"the repeat of a key that is read", "COMPANY:First\nX:1\nCOMPANY:Second\n",
         [](Configuration& c) { c.strCompany = "Third"; }, "COMPANY:First\nX:1\nCOMPANY:Third\n"},
        {"byte-order mark kept", "\xEF\xBB\xBFSERVER:a\nPORT:9000\n",
         [](Configuration& c) { c.strTallyServer = "b"; }, "\xEF\xBB\xBFSERVER:b\nPORT:9000\n"},
        {"blanks the reader drops", "SERVER: host \nPORT: 9000 \n",
         [](Configuration& c) { c.strTallyPort = "9001"; }, "SERVER: host \nPORT:9001\n"},
        {"cleared value", "SQL_USER:sa\nSQL_PASSWORD:x\n",
         [](Configuration& c) { c.strSqlUser.clear(); }, "SQL_USER:\nSQL_PASSWORD:x\n"},
        {"ledger id turned off", "LEDGER_ID:yes\n",
         [](Configuration& c) {
             c.blnLedgerId = false;
             c.strLedgerId = "NO";
         },
         "LEDGER_ID:NO\n"},
        {"missing keys appended in order", "# only a comment\n",
         [](Configuration& c) {
             c.strCreditorGroup = "Suppliers";
             c.strTallyServer = "tally";
             c.blnLedgerId = false;
         },
         "# only a comment\nSERVER:tally\nLEDGER_ID:\nCREDITOR:Suppliers\n"},
        {"appended after a last line without its end", "SERVER:a",
         [](Configuration& c) { c.strTallyPort = "9000"; }, "SERVER:a\nPORT:9000\n"},
        {"appended with the file's line ends", "SERVER:a\r\n",
         [](Configuration& c) { c.strCompany = "Demo"; }, "SERVER:a\r\nCOMPANY:Demo\r\n"},
        {"no line for what a missing key means", "PORT:9000\n",
         [](Configuration& c) {
             c.blnLedgerId = true;
             c.strLedgerId.clear();
             c.strCompany.clear();
         },
         "PORT:9000\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Put(c.before);
        Configuration edited = ReadConfig(path_);
        c.edit(edited);
        WriteConfig(path_, edited);
        EXPECT_EQ(Text(), c.after);
        ExpectSameSettings(ReadConfig(path_), edited);
    }
}

TEST_F(ConfigWriting, ANewFileHoldsTheDefaults) {
    const Configuration defaults = ReadConfig(path_);
    WriteConfig(path_, defaults);
    EXPECT_EQ(Text(),
              "SERVER:" + defaults.strTallyServer + "\nPORT:9000\nSQL_ODBC:DMSDB\nSQL_USER:sa\n");
    ExpectSameSettings(ReadConfig(path_), defaults);
}

// A write that cannot be done leaves the file as it was and no stray file beside it.
TEST_F(ConfigWriting, FailuresLeaveTheFileWhole) {
    const std::string before = "SERVER:a\nCOMPANY:Old\n";
    Put(before);
    Configuration broken = ReadConfig(path_);
    broken.strCompany = "Two\nLINES:x";
    EXPECT_THROW(WriteConfig(path_, broken), ConfigError);
    broken.strCompany = "Old";
    broken.strSqlPassword = "a\rb";
    EXPECT_THROW(WriteConfig(path_, broken), ConfigError);
    EXPECT_EQ(Text(), before);
    EXPECT_EQ(FilesInFolder(), 1u);

    Put("SERVER:a\n\xC3\x28 not text\n");
    EXPECT_THROW(WriteConfig(path_, Configuration{}), ConfigError);
    EXPECT_EQ(Text(), "SERVER:a\n\xC3\x28 not text\n");

    try {
        WriteConfig(folder_ / "absent" / "Config.txt", Configuration{});
        ADD_FAILURE() << "a file in a missing folder was written";
    } catch (const ConfigError& e) {
        EXPECT_NE(std::string(e.what()).find("absent/Config.txt"), std::string::npos) << e.what();
    }
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(ConfigWriting, TheReplacedFileKeepsItsPermissions) {
    Put("COMPANY:Old\n");
    fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    Configuration config = ReadConfig(path_);
    config.strCompany = "New";
    WriteConfig(path_, config);
    EXPECT_EQ(fs::status(path_).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

}  // namespace
}  // namespace zentrail
