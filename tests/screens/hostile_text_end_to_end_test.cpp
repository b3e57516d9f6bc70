// Customers whose names hold what a distributor's database may hold: control characters,
// references to characters XML forbids, non-characters, bytes in Windows-1252, emoji and a
// 100 KB name. A whole item and sales run must send only requests a strict XML 1.0 parser
// takes, and Tally must end up with the names as the source holds them.

#include <gtest/gtest.h>
#include <httplib.h>
#include <sqlite3.h>

#include <filesystem>
#include <mutex>
#include <set>

#include "screens/item_screen.h"
#include "screens/sales_screen.h"
#include "screens/screen_test_support.h"
#include "support/demo_database.h"
#include "support/tally_sim_process.h"
#include "support/tally_xml_check.h"
#include "support/test_http_server.h"
#include "tally/http_client.h"

namespace zentrail {
namespace {

using testing::CannedHttpServer;
using testing::RecordingObserver;
using testing::TallySimProcess;

constexpr const char* kCompany = "Zentrail Demo";

// Passes every request on to Tally and keeps a copy of it.
class RecordingProxy {
public:
    explicit RecordingProxy(int tallyPort)
        : client_("127.0.0.1", tallyPort), server_([this](const std::string& body) {
              std::lock_guard lock(mutex_);
              requests_.push_back(body);
              httplib::Result reply = client_.Post("/", body, "text/xml");
              return reply ? reply->body : std::string();
          }) {
        client_.set_read_timeout(60);
    }
    int Port() const { return server_.Port(); }
    std::vector<std::string> Requests() {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    httplib::Client client_;
    std::mutex mutex_;
    std::vector<std::string> requests_;
    CannedHttpServer server_;
};

struct HostileName {
    const char* sql;       // SQLite expression that stores the name
    std::string expected;  // the ledger name Tally must hold, before "_" and the id
};

std::vector<HostileName> HostileNames() {
    std::string hundredKb;
    while (hundredKb.size() < 102400) hundredKb += "Ab&";
    hundredKb.resize(102400);
    return {
        {"'Ref&#0;'", "Ref&#0;"},
        {"'Ctl' || char(1) || 'Na' || char(27) || 'me' || char(31)", "CtlName"},
        {"CAST(X'436166E92053746F726573' AS TEXT)", "Caf\xC3\xA9 Stores"},
        {"'Non' || char(65534) || 'char' || char(65535)", "Nonchar"},
        {"'\xF0\x9F\x98\x80 Mart & <Co> \"Best\"'", "\xF0\x9F\x98\x80 Mart & <Co> \"Best\""},
        {"'&#xD800; &#99999999; &#1; &#4; &amp;'", "&#xD800; &#99999999; &#1; &#4; &"},
        {"substr(replace(hex(zeroblob(51200)), '00', 'Ab&'), 1, 102400)", hundredKb},
        // Not UTF-8, so Windows-1252: C0 AF ED A0 80 read as "À¯", "í", no-break space, "€".
        {"CAST(X'C0AF426164EDA080' AS TEXT)",
         "\xC3\x80\xC2\xAF"
         "Bad\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
    };
}

TEST(HostileTextEndToEnd, EveryRequestIsStrictXmlAndTallyHoldsTheNames) {
    testing::GeneratedDemo demo(40, 11, "hostile-demo");
    const std::vector<HostileName> names = HostileNames();
    {
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(demo.Path().c_str(), &raw), SQLITE_OK);
        for (size_t i = 0; i < names.size(); ++i) {
            const std::string sql = "UPDATE Retailer SET RtrName = " + std::string(names[i].sql) +
                                    " WHERE RtrId % " + std::to_string(names.size()) + " = " +
                                    std::to_string(i);
            char* error = nullptr;
            ASSERT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
                << (error ? error : "") << " in " << sql;
        }
        sqlite3_close(raw);
    }

    TallySimProcess sim({"--company", kCompany});
    RecordingProxy proxy(sim.Port());
    Configuration config;
    config.strTallyServer = "127.0.0.1";
    config.strTallyPort = std::to_string(proxy.Port());
    config.strCompany = kCompany;
    config.strSqlOdbc = demo.Path();
    config.blnLedgerId = true;
    SourceDatabase db;
    db.OpenConnection(config);
    HttpClient tally;
    ScreenContext context{config, db, tally};

    ItemScreen items(context);
    RecordingObserver itemObserver;
    items.SetObserver(&itemObserver);
    items.Load();
    items.GetData();
    items.Export();
    ASSERT_TRUE(items.LastRun().Clean()) << items.LogText();

    SalesScreen sales(context);
    RecordingObserver observer;
    sales.SetObserver(&observer);
    sales.Load();
    sales.SetDates({2024, 4, 1}, {2024, 5, 31});
    sales.GetData();
    ASSERT_FALSE(sales.GetDataFailed()) << sales.LogText();
    ASSERT_GT(sales.ssdbgItem.RowCount(), 10u);
    sales.Export();
    // Tally takes every request; the demo's invoices short of a line (a product without an HSN
    // code) are the only ones the run reports, as differences.
    const RunCounts& run = sales.LastRun();
    EXPECT_TRUE(run.masters.AllGood()) << sales.LogText();
    EXPECT_EQ(run.documents.tallyErrors + run.documents.notSent + run.documents.stopped, 0)
        << sales.LogText();

    const std::vector<std::string> requests = proxy.Requests();
    ASSERT_GT(requests.size(), sales.ssdbgItem.RowCount());
    for (const std::string& request : requests) {
        pugi::xml_document doc;
        ASSERT_TRUE(testing::ParsesAsXml(request, doc)) << request.substr(0, 2000);
    }

    // Every hostile customer with an invoice in the run has its ledger, named as the source
    // holds the name (forbidden characters dropped), and its vouchers name that ledger.
    const nlohmann::json books = sim.Books();
    std::set<std::string> ledgers;
    for (const auto& master : books["masters"])
        if (master["kind"] == "Ledger") ledgers.insert(master["name"].get<std::string>());
    std::set<std::string> voucherParties;
    for (const auto& voucher : books["vouchers"])
        voucherParties.insert(voucher["party"].get<std::string>());
    std::set<size_t> seen;
    for (size_t row = 0; row < sales.ssdbgItem.RowCount(); ++row) {
        const std::string id = sales.ssdbgItem.Cell(row, "RtrId");
        const size_t which = std::stoul(id) % names.size();
        const std::string ledger = names[which].expected + "_" + id;
        EXPECT_TRUE(ledgers.contains(ledger)) << ledger.substr(0, 80);
        EXPECT_TRUE(voucherParties.contains(ledger)) << ledger.substr(0, 80);
        seen.insert(which);
    }
    EXPECT_GE(seen.size(), names.size() - 1) << "the demo's invoices reach most kinds of name";
    EXPECT_EQ(books["vouchers"].size(), sales.ssdbgItem.RowCount());
}

}  // namespace
}  // namespace zentrail
