#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "tally-sim/books_file.h"
#include "tally-sim/simulated_tally.h"
#include "tally/tally_reply.h"
#include "tools/tally_sim/sim_requests.h"

namespace zentrail::sim {
namespace {

namespace rq = zentrail::testing::sim_requests;
using nlohmann::json;

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

json UserMasters(const json& books) {
    json out = json::array();
    for (const json& master : books["masters"])
        if (!master["predefined"].get<bool>()) out.push_back(master);
    return out;
}

void ImportOk(SimulatedTally& tally, const std::string& payload) {
    TallyReply reply = ParseTallyReply(tally.HandleRequest(rq::Envelope(payload)));
    ASSERT_TRUE(reply.importResult);
    ASSERT_TRUE(reply.lineErrors.empty()) << reply.lineErrors.front();
}

TEST(TallySimBooks, ReadBackAfterASmallImport) {
    SimulatedTally tally;
    ImportOk(tally, rq::DemoMasters());
    // The invoice names its party and item by their aliases; the books name them properly.
    ImportOk(tally, ReplaceAll(rq::DemoSale("S-1", "INV1"), "Anand Stores_17<", "R17<"));
    json books = tally.BooksJson();

    EXPECT_EQ(books["company"], "Zentrail Demo");
    const json gstSales = {{"applicableFrom", ""},
                           {"hsnCode", "3401"},
                           {"taxability", "\x04 Unknown"},
                           {"state", "\x04 Any"},
                           {"rates",
                            {{{"head", "Central Tax"}, {"rate", 9}},
                             {{"head", "State Tax"}, {"rate", 9}},
                             {{"head", "Integrated Tax"}, {"rate", 18}},
                             {{"head", "Cess"}, {"rate", nullptr}}}}};
    const json soapRates = {{"applicableFrom", "20170701"},
                            {"hsnCode", "3401"},
                            {"taxability", "Taxable"},
                            {"state", "\x04 Any"},
                            {"rates",
                             {{{"head", "Central Tax"}, {"rate", 9}},
                              {{"head", "State Tax"}, {"rate", 9}},
                              {{"head", "Integrated Tax"}, {"rate", 18}},
                              {{"head", "Cess"}, {"rate", 0}}}}};
    auto ledger = [](int id, const char* name, const char* parent, json gst, json details,
                     json aliases = json::array()) {
        return json{{"id", id},           {"kind", "Ledger"},     {"name", name},
                    {"aliases", aliases}, {"parent", parent},     {"predefined", false},
                    {"gst", gst},         {"gstDetails", details}};
    };
    auto gst = [](const char* state, const char* gstin, const char* type, const char* head) {
        return json{
            {"state", state}, {"gstin", gstin}, {"registrationType", type}, {"dutyHead", head}};
    };
    auto plain = [](int id, const char* kind, const char* name, const char* parent) {
        return json{{"id", id},         {"kind", kind},
                    {"name", name},     {"aliases", json::array()},
                    {"parent", parent}, {"predefined", false}};
    };
    const json expectedMasters = {
        plain(50, "Stock Group", "KVZ Products", ""),
        plain(51, "Unit", "PC", ""),
        ledger(52, "GST Sales 18%", "Sales Accounts", gst("", "", "", ""), {gstSales}),
        ledger(53, "Output CGST 9%", "Duties & Taxes",
               gst("", "Unregistered", "Unregistered", "Central Tax"), json::array()),
        ledger(54, "Output SGST 9%", "Duties & Taxes",
               gst("", "Unregistered", "Unregistered", "State Tax"), json::array()),
        ledger(55, "Round Off", "Indirect Expenses", gst("", "", "", ""), json::array()),
        plain(56, "Voucher Type", "KVZ Sales", "Sales"),
        ledger(57, "Anand Stores_17", "Sundry Debtors",
               gst("Tamil Nadu", "33AAACB1234C1Z5", "Regular", ""), json::array(), {"R17"}),
        json{{"id", 58},
             {"kind", "Stock Item"},
             {"name", "Soap_S01"},
             {"aliases", {"S01_7"}},
             {"parent", "KVZ Products"},
             {"predefined", false},
             {"baseUnit", "PC"},
             {"gstDetails", {soapRates}}},
    };
    EXPECT_EQ(UserMasters(books), expectedMasters) << UserMasters(books).dump(1);

    const json expectedVouchers = json::array({{
        {"id", 1},
        {"remoteId", "S-1"},
        {"type", "KVZ Sales"},
        {"date", "20240401"},
        {"number", "INV1"},
        {"party", "Anand Stores_17"},
        {"cancelled", false},
        {"entries",
         {{{"ledger", "Anand Stores_17"}, {"amount", -118}},
          {{"stockItem", "Soap_S01"},
           {"amount", 100},
           {"allocations", {{{"ledger", "GST Sales 18%"}, {"amount", 100}}}}},
          {{"ledger", "Output CGST 9%"}, {"amount", 9}},
          {{"ledger", "Output SGST 9%"}, {"amount", 9}}}},
    }});
    EXPECT_EQ(books["vouchers"], expectedVouchers) << books["vouchers"].dump(1);

    const json expectedBalance = {
        {"ledgers",
         {{{"ledger", "GST Sales 18%"}, {"debit", 0}, {"credit", 100}},
          {{"ledger", "Output CGST 9%"}, {"debit", 0}, {"credit", 9}},
          {{"ledger", "Output SGST 9%"}, {"debit", 0}, {"credit", 9}},
          {{"ledger", "Anand Stores_17"}, {"debit", 118}, {"credit", 0}}}},
        {"totalDebit", 118},
        {"totalCredit", 118}};
    EXPECT_EQ(books["trialBalance"], expectedBalance) << books["trialBalance"].dump(1);
}

TEST(TallySimBooks, PredefinedMastersAreListedAsSuch) {
    json books = SimulatedTally().BooksJson();
    std::map<std::string, std::string> parents;
    for (const json& master : books["masters"]) {
        EXPECT_TRUE(master["predefined"].get<bool>());
        parents[master["kind"].get<std::string>() + ":" + master["name"].get<std::string>()] =
            master["parent"];
    }
    EXPECT_EQ(parents.size(), 49u);
    EXPECT_EQ(parents.at("Group:Sundry Debtors"), "Current Assets");
    EXPECT_EQ(parents.at("Group:Duties & Taxes"), "Current Liabilities");
    EXPECT_EQ(parents.at("Ledger:Cash"), "Cash-in-Hand");
    EXPECT_EQ(parents.at("Ledger:Profit & Loss A/c"), "");
    EXPECT_EQ(parents.count("Godown:Main Location"), 1u);
    EXPECT_EQ(parents.count("Voucher Type:Reversing Journal"), 1u);
}

TEST(TallySimBooks, GstBlocksOfAnItemKeepTheirOrder) {
    SimulatedTally tally;
    ImportOk(tally, rq::Unit("PC") +
                        rq::StockItem("Soap_S01", "S01_7", "PC", "",
                                      rq::ItemGstRate("9", "9", "18", "3401", "20170701") +
                                          rq::ItemGstRate("6", "6", "12", "3401", "20171115") +
                                          rq::ItemGstRate("0", "0", "0", "3401", "20180727")));
    json item = UserMasters(tally.BooksJson()).back();
    ASSERT_EQ(item["gstDetails"].size(), 3u);
    EXPECT_EQ(item["gstDetails"][0]["applicableFrom"], "20170701");
    EXPECT_EQ(item["gstDetails"][1]["applicableFrom"], "20171115");
    EXPECT_EQ(item["gstDetails"][1]["rates"][2], (json{{"head", "Integrated Tax"}, {"rate", 12}}));
    EXPECT_EQ(item["gstDetails"][2]["applicableFrom"], "20180727");
    EXPECT_EQ(item["gstDetails"][2]["rates"][0]["rate"], 0);
}

class TallySimBooksFile : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = std::filesystem::temp_directory_path() /
                ("tally-sim-books-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".db");
        RemoveFiles();
    }
    void TearDown() override { RemoveFiles(); }
    void RemoveFiles() {
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(path_.string() + suffix);
    }
    std::filesystem::path path_;
};

TEST_F(TallySimBooksFile, BooksOutliveTheServer) {
    json before;
    {
        SimulatedTally tally(std::string("Kaveri Traders"), path_);
        ImportOk(tally, rq::DemoMasters());
        ImportOk(tally, rq::DemoSale("S-1", "INV1") + rq::DemoSale("S-2", "INV2") +
                            rq::DemoSale("S-3", "INV3"));
        ImportOk(tally, rq::DemoSale("S-2", "INV2-A"));               // altered
        ImportOk(tally, rq::DemoSale("S-3", "INV3", "S01_7", true));  // cancelled
        before = tally.BooksJson();
    }
    SimulatedTally reopened(std::nullopt, path_);
    EXPECT_EQ(reopened.Company(), "Kaveri Traders");
    EXPECT_EQ(reopened.BooksJson(), before);

    // The reopened books go on as the old ones would have.
    std::string again =
        reopened.HandleRequest(rq::Envelope(rq::Ledger("Round Off", "Indirect Expenses")));
    EXPECT_NE(again.find("Ledger &apos;Round Off&apos; already exists!"), std::string::npos)
        << again;
    std::string next = reopened.HandleRequest(rq::Envelope(rq::DemoSale("S-4", "INV4")));
    EXPECT_NE(next.find("<LASTVCHID>4</LASTVCHID>"), std::string::npos) << next;
    std::string altered = reopened.HandleRequest(rq::Envelope(rq::DemoSale("S-1", "INV1")));
    EXPECT_NE(altered.find("<ALTERED>1</ALTERED>"), std::string::npos) << altered;
}

TEST_F(TallySimBooksFile, DeletedVouchersStayDeleted) {
    {
        SimulatedTally tally(std::nullopt, path_);
        ImportOk(tally, rq::DemoMasters());
        ImportOk(tally, rq::DemoSale("S-1", "INV1") + rq::DemoSale("S-2", "INV2"));
        std::string remove =
            ReplaceAll(rq::DemoSale("S-1", "INV1"), "ACTION=\"Create\"", "ACTION=\"Delete\"");
        ImportOk(tally, remove);
    }
    json vouchers = SimulatedTally(std::nullopt, path_).BooksJson()["vouchers"];
    ASSERT_EQ(vouchers.size(), 1u);
    EXPECT_EQ(vouchers[0]["remoteId"], "S-2");
}

TEST_F(TallySimBooksFile, AFileBelongsToOneCompany) {
    { SimulatedTally tally(std::string("Kaveri Traders"), path_); }
    EXPECT_NO_THROW(SimulatedTally(std::string("KAVERI TRADERS"), path_));
    EXPECT_THROW(SimulatedTally(std::string("Other Traders"), path_), BooksFileError);
}

TEST_F(TallySimBooksFile, NewFileWithoutCompanyTakesTheDefault) {
    { SimulatedTally tally(std::nullopt, path_); }
    EXPECT_EQ(SimulatedTally(std::nullopt, path_).Company(), kDefaultCompany);
}

TEST_F(TallySimBooksFile, AFileThatIsNoBooksIsRefused) {
    std::ofstream(path_) << "this is not a database, just some text that is long enough";
    EXPECT_THROW(SimulatedTally(std::nullopt, path_), BooksFileError);
}

TEST_F(TallySimBooksFile, AnImportThatCannotBeSavedIsReportedAndForgotten) {
    SimulatedTally tally(std::nullopt, path_);
    ImportOk(tally, rq::DemoMasters());
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(path_.string().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    std::string reply = tally.HandleRequest(rq::Envelope(rq::DemoSale("S-1", "INV1")));
    TallyReply read = ParseTallyReply(reply);
    ASSERT_EQ(read.lineErrors.size(), 1u) << reply;
    EXPECT_EQ(read.lineErrors[0].rfind("The books could not be saved: ", 0), 0u) << reply;
    EXPECT_NE(reply.find("<CREATED>0</CREATED>"), std::string::npos) << reply;
    EXPECT_TRUE(tally.BooksJson()["vouchers"].empty());

    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    std::string retry = tally.HandleRequest(rq::Envelope(rq::DemoSale("S-1", "INV1")));
    EXPECT_NE(retry.find("<CREATED>1</CREATED>"), std::string::npos) << retry;
}

}  // namespace
}  // namespace zentrail::sim
