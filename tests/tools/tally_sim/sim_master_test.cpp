#include <gtest/gtest.h>

#include "tally-sim/simulated_tally.h"
#include "tally/tally_reply.h"
#include "tools/tally_sim/sim_requests.h"

namespace zentrail::sim {
namespace {

namespace rq = zentrail::testing::sim_requests;

// Imports `setup` (which must succeed), then `tested`; gives the line errors of the second.
std::vector<std::string> ErrorsAfter(SimulatedTally& tally, const std::string& setup,
                                     const std::string& tested) {
    if (!setup.empty()) {
        TallyReply first = ParseTallyReply(tally.HandleRequest(rq::Envelope(setup)));
        EXPECT_TRUE(first.lineErrors.empty()) << first.lineErrors.front();
    }
    return ParseTallyReply(tally.HandleRequest(rq::Envelope(tested))).lineErrors;
}

struct MasterCase {
    const char* name;
    std::string setup;
    std::string tested;
    std::string error;  // empty: accepted
};

TEST(TallySimMasters, ChecksNamesAndReferencesAsTallyDoes) {
    const MasterCase cases[] = {
        // Names.
        {"new ledger", "", rq::Ledger("Round Off", "Indirect Expenses"), ""},
        {"re-sent ledger", rq::Ledger("Round Off", "Indirect Expenses"),
         rq::Ledger("Round Off", "Indirect Expenses"), "Ledger 'Round Off' already exists!"},
        {"name in other case", rq::Ledger("Round Off", "Indirect Expenses"),
         rq::Ledger("ROUND OFF", "Indirect Expenses"), "Ledger 'ROUND OFF' already exists!"},
        {"name held as an alias", rq::Ledger("Anand Stores", "Sundry Debtors", {"R17"}),
         rq::Ledger("r17", "Sundry Debtors"), "Ledger 'r17' already exists!"},
        {"alias held as a name", rq::Ledger("Anand Stores", "Sundry Debtors"),
         rq::Ledger("Anand Stores_17", "Sundry Debtors", {"Anand Stores"}),
         "Ledger 'Anand Stores' already exists!"},
        {"predefined ledger", "", rq::Ledger("cash", "Cash-in-Hand"),
         "Ledger 'cash' already exists!"},
        {"same name, other kind", rq::Ledger("Soap", "Indirect Expenses"), rq::StockGroup("Soap"),
         ""},
        {"name from NAME.LIST only", "",
         rq::Message("<LEDGER><NAME.LIST><NAME>Freight</NAME></NAME.LIST><PARENT>Indirect "
                     "Expenses</PARENT></LEDGER>\r\n"),
         ""},
        {"no name at all", "",
         rq::Message("<LEDGER RESERVEDNAME=\"\"><PARENT>Indirect Expenses</PARENT></LEDGER>\r\n"),
         "Ledger name is missing"},
        {"blank names only", "",
         rq::Message("<STOCKITEM NAME=\" \"><NAME.LIST><NAME></NAME></NAME.LIST></STOCKITEM>\r\n"),
         "Stock Item name is missing"},
        {"master action other than Create", "",
         rq::Message("<LEDGER NAME=\"Freight\" ACTION=\"Delete\"><PARENT>Indirect "
                     "Expenses</PARENT></LEDGER>\r\n"),
         "Action 'Delete' is not supported for Ledger masters"},
        // Ledger parents.
        {"group in other case", "", rq::Ledger("Petty Cash", "Cash-in-hand"), ""},
        {"group with ampersand", "", rq::TaxLedger("Output IGST 18%", "Integrated Tax"), ""},
        {"missing group", "", rq::Ledger("Freight", "Freight Charges"),
         "Group 'Freight Charges' does not exist!"},
        {"ledger without group", "", rq::Message("<LEDGER NAME=\"Freight\"></LEDGER>\r\n"),
         "Group '' does not exist!"},
        {"user group",
         rq::Message("<GROUP NAME=\"Depots\"><PARENT>Sundry Debtors</PARENT></GROUP>\r\n"),
         rq::Ledger("Salem Depot", "Depots"), ""},
        {"group under missing group", "",
         rq::Message("<GROUP NAME=\"Depots\"><PARENT>Agents</PARENT></GROUP>\r\n"),
         "Group 'Agents' does not exist!"},
        {"primary group", "",
         rq::Message("<GROUP NAME=\"Depots\"><PARENT>&#4; Primary</PARENT></GROUP>\r\n"), ""},
        // Stock groups and items.
        {"stock group without parent", "", rq::StockGroup("KVZ Products"), ""},
        {"stock group under missing one", "", rq::StockGroup("Soaps", "KVZ Products"),
         "Stock Group 'KVZ Products' does not exist!"},
        {"stock group under user one", rq::StockGroup("KVZ Products"),
         rq::StockGroup("Soaps", "kvz products"), ""},
        {"stock item", rq::StockGroup("KVZ Products") + rq::Unit("PC"),
         rq::StockItem("Soap_S01", "S01_7", "PC", "KVZ Products"), ""},
        {"stock item with missing group", rq::Unit("PC"),
         rq::StockItem("Soap_S01", "S01_7", "PC", "KVZ Products"),
         "Stock Group 'KVZ Products' does not exist!"},
        {"stock item with missing unit", rq::StockGroup("KVZ Products"),
         rq::StockItem("Soap_S01", "S01_7", "PC", "KVZ Products"), "Unit 'PC' does not exist!"},
        {"stock item under Primary", rq::Unit("PC"), rq::StockItem("Soap_S01", "S01_7", "PC", ""),
         ""},
        {"stock item alias held", rq::Unit("PC") + rq::StockItem("Soap_S01", "S01_7", "PC", ""),
         rq::StockItem("Soap Large_S02", "s01_7", "PC", ""), "Stock Item 's01_7' already exists!"},
        {"re-sent unit", rq::Unit("PC"), rq::Unit("PC"), "Unit 'PC' already exists!"},
        // Voucher types.
        {"voucher type under Sales", "", rq::VoucherType("KVZ Sales", "Sales"), ""},
        {"voucher type under credit note, other case", "",
         rq::VoucherType("KVZ Credit Note", "credit note"), ""},
        {"voucher type under missing type", "", rq::VoucherType("KVZ Sales", "Sale"),
         "Voucher Type 'Sale' does not exist!"},
        {"voucher type under a user type", rq::VoucherType("KVZ Sales", "Sales"),
         rq::VoucherType("KVZ Sales 2", "KVZ Sales"), "Voucher Type 'KVZ Sales' does not exist!"},
        {"re-sent voucher type", rq::VoucherType("KVZ Sales", "Sales"),
         rq::VoucherType("KVZ Sales", "Sales"), "Voucher Type 'KVZ Sales' already exists!"},
        // Godowns.
        {"predefined godown", "", rq::Message("<GODOWN NAME=\"Main Location\"></GODOWN>\r\n"),
         "Godown 'Main Location' already exists!"},
        {"godown under missing godown", "",
         rq::Message("<GODOWN NAME=\"Salem\"><PARENT>Tamil Nadu</PARENT></GODOWN>\r\n"),
         "Godown 'Tamil Nadu' does not exist!"},
        {"godown under Main Location", "",
         rq::Message("<GODOWN NAME=\"Salem\"><PARENT>Main Location</PARENT></GODOWN>\r\n"), ""},
    };
    for (const MasterCase& c : cases) {
        SimulatedTally tally;
        std::vector<std::string> errors = ErrorsAfter(tally, c.setup, c.tested);
        if (c.error.empty()) {
            EXPECT_TRUE(errors.empty()) << c.name << ": " << errors.front();
        } else {
            ASSERT_EQ(errors.size(), 1u) << c.name;
            EXPECT_EQ(errors[0], c.error) << c.name;
        }
    }
}

TEST(TallySimMasters, ARefusedMasterIsNotAdded) {
    SimulatedTally tally;
    size_t before = tally.BooksJson()["masters"].size();
    ErrorsAfter(tally, "", rq::StockItem("Soap_S01", "S01_7", "PC", ""));
    EXPECT_EQ(tally.BooksJson()["masters"].size(), before);
    // Its names are still free afterwards.
    EXPECT_TRUE(
        ErrorsAfter(tally, rq::Unit("PC"), rq::StockItem("Soap_S01", "S01_7", "PC", "")).empty());
}

TEST(TallySimMasters, StoresParentsUnderTheirOwnNames) {
    SimulatedTally tally;
    ErrorsAfter(tally, rq::StockGroup("KVZ Products"),
                rq::Ledger("Petty Cash", "CASH-IN-HAND") + rq::Unit("PC") +
                    rq::StockItem("Soap_S01", "S01_7", "pc", "kvz PRODUCTS") +
                    rq::VoucherType("KVZ Receipt", "receipt"));
    nlohmann::json masters = tally.BooksJson()["masters"];
    auto find = [&](const std::string& name) {
        for (const nlohmann::json& m : masters)
            if (m["name"] == name) return m;
        return nlohmann::json();
    };
    EXPECT_EQ(find("Petty Cash")["parent"], "Cash-in-Hand");
    EXPECT_EQ(find("Soap_S01")["parent"], "KVZ Products");
    EXPECT_EQ(find("Soap_S01")["baseUnit"], "PC");
    EXPECT_EQ(find("KVZ Receipt")["parent"], "Receipt");
}

}  // namespace
}  // namespace zentrail::sim
