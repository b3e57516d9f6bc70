#include "shell/settings_check.h"

#include <gtest/gtest.h>

#include <string>

namespace zentrail {
namespace {

Configuration Workable() {
    Configuration config;
    config.strTallyServer = "tally-host";
    config.strTallyPort = "9000";
    config.strCompany = "ACME & Sons";
    config.strSqlOdbc = "DMSDB";
    config.strSqlUser = "sa";
    config.strSqlPassword = "s3cr:t";
    return config;
}

TEST(SettingsCheck, WorkableSettingsPass) {
    const char* servers[] = {"tally-host",         "  localhost  ",
                             "127.0.0.1",          "TALLY_PC",
                             "tally.example.com.", "[::1]",
                             "[2001:db8::7]",      "[::ffff:10.0.0.1]",
                             "[1:2:3:4:5:6:7:8]",  "xn--80ak6aa92e.example"};
    for (const char* server : servers) {
        Configuration config = Workable();
        config.strTallyServer = server;
        EXPECT_EQ(CheckSettings(config, SettingsUse::kTransfer), std::nullopt) << server;
    }
    const char* ledgerIds[] = {"", "YES", "no", " Yes ", "\tNO"};
    for (const char* ledgerId : ledgerIds) {
        Configuration config = Workable();
        config.strLedgerId = ledgerId;
        EXPECT_EQ(CheckSettings(config, SettingsUse::kTransfer), std::nullopt) << ledgerId;
        EXPECT_EQ(CheckSettings(config, SettingsUse::kSourceOnly), std::nullopt) << ledgerId;
    }
    for (const char* encoding : {"", "UTF-8", "utf-16", " UTF-16 "}) {
        Configuration config = Workable();
        config.strEncoding = encoding;
        EXPECT_EQ(CheckSettings(config, SettingsUse::kTransfer), std::nullopt) << encoding;
        EXPECT_EQ(config.RequestsInUtf16(), std::string(encoding).find("16") != std::string::npos)
            << encoding;
    }
    const char* ports[] = {"1", "9000", " 9000 ", "65535", "09000"};
    for (const char* port : ports) {
        Configuration config = Workable();
        config.strTallyPort = port;
        EXPECT_EQ(CheckSettings(config, SettingsUse::kTransfer), std::nullopt) << port;
    }
}

TEST(SettingsCheck, BadSettingsGiveOneMessageNamingKeyAndValue) {
    struct Case {
        std::string Configuration::*field;
        std::string value;
        std::string message;
    };
    const Case cases[] = {
        {&Configuration::strTallyPort, "", "PORT \"\" is not a port number from 1 to 65535"},
        {&Configuration::strTallyPort, "0", "PORT \"0\" is not a port number from 1 to 65535"},
        {&Configuration::strTallyPort, "65536",
         "PORT \"65536\" is not a port number from 1 to 65535"},
        {&Configuration::strTallyPort, "99999999999999999999",
         "PORT \"99999999999999999999\" is not a port number from 1 to 65535"},
        {&Configuration::strTallyPort, "9000/xml",
         "PORT \"9000/xml\" is not a port number from 1 to 65535"},
        {&Configuration::strTallyPort, "90 00",
         "PORT \"90 00\" is not a port number from 1 to 65535"},
        {&Configuration::strTallyPort, "-1", "PORT \"-1\" is not a port number from 1 to 65535"},
        {&Configuration::strTallyPort, "+9000",
         "PORT \"+9000\" is not a port number from 1 to 65535"},
        {&Configuration::strTallyServer, "",
         "SERVER \"\" is not a host name, an IPv4 address or an IPv6 address in brackets"},
        {&Configuration::strTallyServer, "host/path",
         "SERVER \"host/path\" is not a host name, an IPv4 address or an IPv6 address in brackets"},
        {&Configuration::strTallyServer, "host?x",
         "SERVER \"host?x\" is not a host name, an IPv4 address or an IPv6 address in brackets"},
        {&Configuration::strTallyServer, "host#x",
         "SERVER \"host#x\" is not a host name, an IPv4 address or an IPv6 address in brackets"},
        {&Configuration::strTallyServer, "user@host",
         "SERVER \"user@host\" is not a host name, an IPv4 address or an IPv6 address in brackets"},
        {&Configuration::strTallyServer, "tally host",
         "SERVER \"tally host\" is not a host name, an IPv4 address or an IPv6 address in "
         "brackets"},
        {&Configuration::strTallyServer, "256.1.1.1",
         "SERVER \"256.1.1.1\" is not a host name, an IPv4 address or an IPv6 address in brackets"},
        {&Configuration::strTallyServer, "::1",
         "SERVER \"::1\" is not a host name, an IPv4 address or an IPv6 address in brackets"},
        {&Configuration::strTallyServer, "[1::2::3]",
         "SERVER \"[1::2::3]\" is not a host name, an IPv4 address or an IPv6 address in brackets"},
        {&Configuration::strTallyServer, "-host",
         "SERVER \"-host\" is not a host name, an IPv4 address or an IPv6 address in brackets"},
        {&Configuration::strTallyServer, "a..b",
         "SERVER \"a..b\" is not a host name, an IPv4 address or an IPv6 address in brackets"},
        {&Configuration::strTallyServer, "h\xC3\xB6st",
         "SERVER \"h\xC3\xB6st\" is not a host name, an IPv4 address or an IPv6 address in "
         "brackets"},
        {&Configuration::strTallyServer, std::string("tally\0host", 10),
         "SERVER holds a control character (U+0000) at position 6 of \"tally\\x00host\"; write the "
         "value as plain text on one line"},
        {&Configuration::strTallyServer, "\ttally",
         "SERVER holds a control character (U+0009) at position 1 of \"\\x09tally\"; write the "
         "value as plain text on one line"},
        {&Configuration::strCompany, "ACME\x1B[0m",
         "COMPANY holds a control character (U+001B) at position 5 of \"ACME\\x1B[0m\"; write the "
         "value as plain text on one line"},
        {&Configuration::strSqlOdbc,
         "DMS\x7F"
         "DB",
         "SQL_ODBC holds a control character (U+007F) at position 4 of \"DMS\\x7FDB\"; write the "
         "value as plain text on one line"},
        {&Configuration::strSqlUser,
         "s\xC2\x85"
         "a",
         "SQL_USER holds a control character (U+0085) at position 2 of \"s\\u0085a\"; write "
         "the value as plain text on one line"},
        {&Configuration::strSqlPassword, std::string("top\0secret", 10),
         "SQL_PASSWORD holds a control character (U+0000) at position 4; write the value as plain "
         "text on one line"},
        {&Configuration::strDebtorGroup, "Debtors\r",
         "DEBTOR holds a control character (U+000D) at position 8 of \"Debtors\\x0D\"; write the "
         "value as plain text on one line"},
        {&Configuration::strLedgerId, "Y", "LEDGER_ID \"Y\" is neither YES nor NO"},
        {&Configuration::strLedgerId, "1", "LEDGER_ID \"1\" is neither YES nor NO"},
        {&Configuration::strLedgerId, "true", "LEDGER_ID \"true\" is neither YES nor NO"},
        {&Configuration::strLedgerId, "YES!", "LEDGER_ID \"YES!\" is neither YES nor NO"},
        {&Configuration::strLedgerId, "Y ES", "LEDGER_ID \"Y ES\" is neither YES nor NO"},
        {&Configuration::strEncoding, "UTF16", "ENCODING \"UTF16\" is neither UTF-8 nor UTF-16"},
        {&Configuration::strEncoding, "UNICODE",
         "ENCODING \"UNICODE\" is neither UTF-8 nor UTF-16"},
        {&Configuration::strCreditorGroup, "\x01",
         "CREDITOR holds a control character (U+0001) at position 1 of \"\\x01\"; write the value "
         "as plain text on one line"},
    };
    for (const Case& c : cases) {
        Configuration config = Workable();
        config.*c.field = c.value;
        EXPECT_EQ(CheckSettings(config, SettingsUse::kTransfer), c.message) << c.value;
    }
}

TEST(SettingsCheck, ListingTheSourceNeedsNoTallyAddress) {
    Configuration config = Workable();
    config.strTallyPort = "abc";
    config.strTallyServer = "";
    EXPECT_EQ(CheckSettings(config, SettingsUse::kSourceOnly), std::nullopt);
    config.strSqlOdbc = std::string("DMS\0DB", 6);
    EXPECT_NE(CheckSettings(config, SettingsUse::kSourceOnly), std::nullopt);
}

TEST(SettingsCheck, ServerIsCheckedBeforePort) {
    Configuration config = Workable();
    config.strTallyServer = "a/b";
    config.strTallyPort = "x";
    EXPECT_EQ(CheckSettings(config, SettingsUse::kTransfer)->substr(0, 6), "SERVER");
}

}  // namespace
}  // namespace zentrail
