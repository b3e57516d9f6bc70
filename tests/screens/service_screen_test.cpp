// The service invoice screen on scripted source rows and a scripted Tally: amounts worked by hand,
// the vouchers of both kinds, the parties and one whole request byte for byte.

#include "screens/service_screen.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "screens/screen_test_support.h"
#include "screens/service_invoice.h"
#include "shell/configuration.h"
#include "tally/vouchers/voucher_writer.h"

namespace zentrail {
namespace {

using testing::RecordingObserver;
using testing::ScriptedConnection;

// Amounts worked by hand: service, CGST, SGST, IGST, UTGST as read; then what the voucher carries.
struct AmountCase {
    const char* what;
    double service, cgst, sgst, igst, utgst;
    double expectedUtgst, sum, total, roundOff;
};

TEST(ServiceAmounts, WorkedFigures) {
    const AmountCase cases[] = {
        // 1000 + 90 + 90 = 1180: nothing to round.
        {"intrastate", 1000, 90, 90, 0, 0, 0, 1180, 1180, 0},
        // 1000.40 + 180.07 = 1180.47, settled to 1180 with -0.47.
        {"interstate", 1000.4, 0, 0, 180.07, 0, 0, 1180.47, 1180, -0.47},
        // UTGST 89.50 is taken whole as 90 (half to even): 994.44 + 89.50 + 90 = 1173.94 -> 1174.
        {"union territory", 994.44, 89.5, 0, 0, 89.5, 90, 1173.94, 1174, 0.06},
        // 90.50 goes down to the even 90: 1005.56 + 90.50 + 90 = 1186.06 -> 1186.
        {"union territory, half down", 1005.56, 90.5, 0, 0, 90.5, 90, 1186.06, 1186, -0.06},
        // Amounts beyond two decimals are rounded first: 100.005 -> 100 (even), 9.005 -> 9.
        {"more decimals", 100.005, 9.005, 9.015, 0, 0, 0, 118.02, 118, -0.02},
    };
    for (const AmountCase& c : cases) {
        ServiceAmounts a = WorkServiceAmounts(c.service, c.cgst, c.sgst, c.igst, c.utgst);
        EXPECT_DOUBLE_EQ(a.utgst, c.expectedUtgst) << c.what;
        EXPECT_DOUBLE_EQ(a.sum, c.sum) << c.what;
        EXPECT_DOUBLE_EQ(a.total, c.total) << c.what;
        EXPECT_DOUBLE_EQ(a.roundOff, c.roundOff) << c.what;
    }
}

ServiceInvoice Invoice(double service, double cgst, double sgst, double igst, double utgst) {
    ServiceInvoice invoice;
    invoice.number = "SRV/1";
    invoice.date = "20240510";
    invoice.party = "Raipur Kirana Bhandar_6";
    invoice.gstin = "22AABCR1234F1Z1";
    invoice.state = "Chhattisgarh";
    invoice.amounts = WorkServiceAmounts(service, cgst, sgst, igst, utgst);
    return invoice;
}

// The entry of `ledger` in a voucher text: from its list's opening tag to its closing tag.
std::string EntryOf(const std::string& voucher, const std::string& ledger) {
    size_t name = voucher.find("<LEDGERNAME>" + ledger + "</LEDGERNAME>");
    if (name == std::string::npos) return "";
    size_t open = voucher.rfind("<ALLLEDGERENTRIES.LIST>", name);
    size_t close = voucher.find("</ALLLEDGERENTRIES.LIST>", name);
    return voucher.substr(open, close - open);
}

TEST(ServiceVouchers, RoundOffOfMinus047InEachKind) {
    std::string sold = WriteVoucher(ServiceSalesVoucher(Invoice(1000.4, 0, 0, 180.07, 0)));
    // A sales voucher credits the round-off with its sign.
    EXPECT_NE(EntryOf(sold, "Round Off")
                  .find("<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>\r\n<LEDGERFROMITEM>No</"
                        "LEDGERFROMITEM>\r\n<LEDGERNAME>Round Off</LEDGERNAME>\r\n<ISPARTYLEDGER>"
                        "No</ISPARTYLEDGER>\r\n<AMOUNT>-0.47</AMOUNT>\r\n<VATEXPAMOUNT>-0.47<"),
              std::string::npos)
        << sold;
    EXPECT_NE(EntryOf(sold, "Raipur Kirana Bhandar_6").find("<AMOUNT>-1180</AMOUNT>"),
              std::string::npos);
    EXPECT_NE(EntryOf(sold, "IGST 18%").find("<AMOUNT>180.07</AMOUNT>"), std::string::npos);
    EXPECT_NE(EntryOf(sold, "Visibility Claim Sales").find("<AMOUNT>1000.4</AMOUNT>"),
              std::string::npos);

    std::string bought = WriteVoucher(ServicePurchaseVoucher(Invoice(1000.4, 0, 0, 180.07, 0)));
    // A purchase voucher credits its magnitude.
    EXPECT_NE(EntryOf(bought, "Round Off")
                  .find("<ISDEEMEDPOSITIVE>No</ISDEEMEDPOSITIVE>\r\n<LEDGERFROMITEM>No</"
                        "LEDGERFROMITEM>\r\n<LEDGERNAME>Round Off</LEDGERNAME>\r\n<ISPARTYLEDGER>"
                        "No</ISPARTYLEDGER>\r\n<AMOUNT>0.47</AMOUNT>\r\n"),
              std::string::npos)
        << bought;
    EXPECT_NE(EntryOf(bought, "Raipur Kirana Bhandar_6").find("<AMOUNT>1180</AMOUNT>"),
              std::string::npos);
    EXPECT_NE(EntryOf(bought, "IGST 18%").find("<AMOUNT>-180.07</AMOUNT>"), std::string::npos);
    EXPECT_NE(EntryOf(bought, "Visibility Claim Purchase").find("<AMOUNT>-1000.4</AMOUNT>"),
              std::string::npos);
    EXPECT_NE(bought.find("<VOUCHER REMOTEID=\"6178b2bd-1d64-4c89-9c2a-20240510-KVZ Service "
                          "Purchase-Raipur Kirana Bhandar_6-SRV/1-SRV/1\" VCHTYPE=\"KVZ Service "
                          "Purchase\" ACTION=\"Create\">"),
              std::string::npos);
}

TEST(ServiceVouchers, PositiveRoundOffIsADebitOfAPurchaseAndACreditOfASale) {
    // 1000.60 + 90.05 + 90.05 = 1180.70, settled to 1181 with a round-off of 0.30.
    std::string bought = WriteVoucher(ServicePurchaseVoucher(Invoice(1000.6, 90.05, 90.05, 0, 0)));
    std::string roundOff = EntryOf(bought, "Round Off");
    EXPECT_NE(roundOff.find("<ISDEEMEDPOSITIVE>Yes</ISDEEMEDPOSITIVE>"), std::string::npos);
    EXPECT_NE(roundOff.find("<AMOUNT>-0.3</AMOUNT>"), std::string::npos) << roundOff;
    std::string sold = WriteVoucher(ServiceSalesVoucher(Invoice(1000.6, 90.05, 90.05, 0, 0)));
    EXPECT_NE(EntryOf(sold, "Round Off").find("<AMOUNT>0.3</AMOUNT>"), std::string::npos);
    EXPECT_NE(EntryOf(sold, "Raipur Kirana Bhandar_6").find("<AMOUNT>-1181</AMOUNT>"),
              std::string::npos);
}

TEST(ServiceVouchers, NoRoundOffAndNoZeroTaxEntries) {
    for (bool purchaseKind : {false, true}) {
        ServiceInvoice invoice = Invoice(1000, 90, 90, 0, 0);
        std::string voucher = purchaseKind ? WriteVoucher(ServicePurchaseVoucher(invoice))
                                           : WriteVoucher(ServiceSalesVoucher(invoice));
        EXPECT_EQ(voucher.find("Round Off"), std::string::npos) << voucher;
        EXPECT_EQ(voucher.find("IGST 18%"), std::string::npos);
        EXPECT_EQ(voucher.find("UTGST 9%"), std::string::npos);
        EXPECT_NE(voucher.find("<LEDGERNAME>CGST 9%</LEDGERNAME>"), std::string::npos);
        EXPECT_NE(voucher.find("<LEDGERNAME>SGST 9%</LEDGERNAME>"), std::string::npos);
    }
}

TEST(ServiceVouchers, UtgstOf895EntersWhole) {
    std::string sold = WriteVoucher(ServiceSalesVoucher(Invoice(994.44, 89.5, 0, 0, 89.5)));
    EXPECT_NE(EntryOf(sold, "UTGST 9%").find("<AMOUNT>90</AMOUNT>"), std::string::npos) << sold;
    EXPECT_NE(EntryOf(sold, "CGST 9%").find("<AMOUNT>89.5</AMOUNT>"), std::string::npos);
    EXPECT_NE(EntryOf(sold, "Round Off").find("<AMOUNT>0.06</AMOUNT>"), std::string::npos);
    EXPECT_NE(EntryOf(sold, "Raipur Kirana Bhandar_6").find("<AMOUNT>-1174</AMOUNT>"),
              std::string::npos);
}

// The listing's columns, in the query's order.
const std::vector<std::string> kColumns = {
    "SERVICEINVREFNO", "TRAN_TYPE",     "SERVICEINVDATE", "SPMNAME",        "RTRNAME",
    "TOTALAMOUNT",     "SERVICEAMOUNT", "GSTAMOUNT",      "REVERSECHARGES", "SERVICEINVSTATUS",
    "DOCREFNO",        "REMARKS",       "SERVICEFROMID",  "SERVICETOID",    "FROMGSTTINNO",
    "FROMSTATECODE",   "SERVICETYPE",   "SERVICEACCODE",  "SERNAME",        "RTRID",
    "RTRADD1",         "RTRADD2",       "RTRADD3",        "SPMADD1",        "SPMADD2",
    "SPMADD3",         "CGST_TAXABLE",  "SGST_TAXABLE",   "IGST_TAXABLE",   "UTGST_TAXABLE",
    "CGST_AMT",        "SGST_AMT",      "IGST_AMT",       "UTGST_AMT"};

struct Listed {
    std::string number, tranType, spmName, rtrName, total, service, gstin, state, rtrId;
    std::string cgst, sgst, igst, utgst;
};

RowSet Listing(const std::vector<Listed>& invoices) {
    RowSet rows(kColumns);
    for (const Listed& i : invoices) {
        const std::vector<std::string> cells = {i.number,
                                                i.tranType,
                                                "20240510",
                                                i.spmName,
                                                i.rtrName,
                                                i.total,
                                                i.service,
                                                "0",
                                                "N",
                                                "1",
                                                "CLM/1",
                                                "",
                                                "6",
                                                "",
                                                i.gstin,
                                                i.state,
                                                "1",
                                                "VIS",
                                                "Visibility Claim",
                                                i.rtrId,
                                                "12 Mount Road & Anna Salai",
                                                "",
                                                "Chennai",
                                                "12 Mount Road & Anna Salai",
                                                "",
                                                "Chennai",
                                                "0",
                                                "0",
                                                "0",
                                                "0",
                                                i.cgst,
                                                i.sgst,
                                                i.igst,
                                                i.utgst};
        for (const std::string& cell : cells) rows.Append(cell);
    }
    return rows;
}

RowSet Parties(const std::vector<Listed>& invoices) {
    RowSet rows({"TRAN_TYPE", "SPMNAME", "RTRNAME", "FROMGSTTINNO", "FROMSTATECODE", "RTRID",
                 "RTRADD1", "RTRADD2", "RTRADD3", "SPMADD1", "SPMADD2", "SPMADD3"});
    for (const Listed& i : invoices)
        for (const std::string& cell :
             {i.tranType, i.spmName, i.rtrName, " " + i.gstin + " ", " " + i.state + " ", i.rtrId,
              std::string("12 Mount Road & Anna Salai"), std::string(), std::string("Chennai"),
              std::string("12 Mount Road & Anna Salai"), std::string(), std::string("Chennai")})
            rows.Append(cell);
    return rows;
}

class ServiceScreenTest : public ::testing::Test {
protected:
    ServiceScreenTest()
        : db_([this](const std::string&, const std::string&, const std::string&) {
              return std::make_unique<ScriptedConnection>([this](const std::string& sql) {
                  return sql.rfind("SELECT A.SERVICEINVREFNO", 0) == 0 ? Listing(invoices_)
                                                                       : Parties(invoices_);
              });
          }) {
        config_.strCompany = "Zentrail Demo";
        config_.blnLedgerId = true;
        db_.OpenConnection(config_);
        screen_.SetObserver(&observer_);
    }

    void Run() {
        screen_.Load();
        screen_.SetDates({2024, 5, 1}, {2024, 5, 31});
        screen_.GetData();
        screen_.Export();
    }

    Configuration config_;
    std::vector<Listed> invoices_;
    SourceDatabase db_;
    testing::ScriptedTransport tally_{[](const std::string&) {
        return testing::TallyReplies("<RESPONSE><CREATED>1</CREATED></RESPONSE>");
    }};
    ServiceScreen screen_{ScreenContext{config_, db_, tally_}};
    RecordingObserver observer_;
};

std::string ExpectedFile(const std::string& name) {
    std::ifstream file(std::string(ZENTRAIL_TEST_DATA_DIR) + "/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name << " missing";
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST_F(ServiceScreenTest, MastersRequestIsExactlyTheExpectedText) {
    Run();
    // Over an empty listing the masters step still runs, and the party step finds no rows.
    ASSERT_EQ(tally_.bodies.size(), 1u);
    EXPECT_EQ(tally_.bodies[0], ExpectedFile("service_fixed_masters.xml"));
    EXPECT_EQ(screen_.LastRun().listed, 0);
}

TEST_F(ServiceScreenTest, WholeSalesRequestIsExactlyTheExpectedText) {
    invoices_ = {{"SRV/24-25/0042", "Sales", "O'Brien Hygiene India Pvt Ltd", "", "1180", "1000.40",
                  "33AABCO1234F1Z7", "Tamil Nadu", "", "90.04", "90.04", "0", "0"}};
    Run();
    // Masters, one party, one voucher.
    ASSERT_EQ(tally_.bodies.size(), 3u);
    std::ifstream file(std::string(ZENTRAIL_TEST_DATA_DIR) + "/service_sales_voucher.xml",
                       std::ios::binary);
    ASSERT_TRUE(file) << "expected file missing";
    std::stringstream expected;
    expected << file.rdbuf();
    EXPECT_EQ(tally_.bodies[2], expected.str());
    EXPECT_TRUE(screen_.LastRun().Clean());
    EXPECT_EQ(screen_.CurrentProgress().handled, 1);
    ASSERT_EQ(observer_.messages.size(), 1u);
    EXPECT_EQ(observer_.messages[0].text.substr(0, 20), "Services Transferrd\n");
}

TEST_F(ServiceScreenTest, WholePurchaseRequestIsExactlyTheExpectedText) {
    // 994.44 + 89.50 + 90 (the UTGST whole) = 1173.94, settled to 1174 with a debit of 0.06.
    invoices_ = {{"SRV/24-25/0043", "Purchase", "", "Puducherry Beach Mart", "1174", "994.44",
                  "34AABCP1234F1Z2", "Pondicherry", "5", "89.50", "0", "0", "89.50"}};
    Run();
    ASSERT_EQ(tally_.bodies.size(), 3u);
    std::ifstream file(std::string(ZENTRAIL_TEST_DATA_DIR) + "/service_purchase_voucher.xml",
                       std::ios::binary);
    ASSERT_TRUE(file) << "expected file missing";
    std::stringstream expected;
    expected << file.rdbuf();
    EXPECT_EQ(tally_.bodies[2], expected.str());
    EXPECT_TRUE(screen_.LastRun().Clean());
}

TEST_F(ServiceScreenTest, PartiesAreNamedByKindAndPondicherryIsSentAsPuducherry) {
    invoices_ = {{"SRV/1", "Purchase", "", "Puducherry Beach Mart", "1174", "994.44",
                  "34AABCP1234F1Z2", "Pondicherry", "5", "89.50", "0", "0", "89.50"},
                 {"SRV/2", "Sales", "Coromandel Oils Ltd", "", "1180", "1000", "34AABCC1234F1Z9",
                  "Pondicherry", "", "90", "0", "0", "90"}};
    Run();
    ASSERT_EQ(tally_.bodies.size(), 5u);
    const std::string& retailer = tally_.bodies[1];
    EXPECT_NE(retailer.find("<LEDGER NAME=\"Puducherry Beach Mart_5\" RESERVEDNAME=\"\">"),
              std::string::npos);
    EXPECT_NE(retailer.find("<PARENT>Sundry Debtors</PARENT>"), std::string::npos);
    EXPECT_NE(retailer.find("\t<LEDSTATENAME>Puducherry</LEDSTATENAME>"), std::string::npos);
    EXPECT_NE(retailer.find("\t<STATENAME>Puducherry</STATENAME>"), std::string::npos);
    EXPECT_NE(retailer.find("\t<ADDRESS>Puducherry</ADDRESS>"), std::string::npos);
    EXPECT_NE(retailer.find("<PARTYGSTIN>34AABCP1234F1Z2</PARTYGSTIN>"), std::string::npos);
    EXPECT_NE(retailer.find("<ISBILLWISEON>Yes</ISBILLWISEON>"), std::string::npos);
    EXPECT_EQ(retailer.find("Pondicherry"), std::string::npos);
    const std::string& supplier = tally_.bodies[2];
    EXPECT_NE(supplier.find("<LEDGER NAME=\"Coromandel Oils Ltd\" RESERVEDNAME=\"\">"),
              std::string::npos);
    EXPECT_NE(supplier.find("<PARENT>Sundry Creditors</PARENT>"), std::string::npos);

    const std::string& bought = tally_.bodies[3];
    EXPECT_NE(bought.find("<PARTYLEDGERNAME>Puducherry Beach Mart_5</PARTYLEDGERNAME>"),
              std::string::npos);
    EXPECT_NE(bought.find("<STATENAME>Puducherry</STATENAME>"), std::string::npos);
    EXPECT_EQ(bought.find("Pondicherry"), std::string::npos);
    EXPECT_NE(bought.find("VCHTYPE=\"KVZ Service Purchase\""), std::string::npos);
    const std::string& sold = tally_.bodies[4];
    EXPECT_NE(sold.find("<PARTYLEDGERNAME>Coromandel Oils Ltd</PARTYLEDGERNAME>"),
              std::string::npos);
    EXPECT_NE(sold.find("<PLACEOFSUPPLY>Puducherry</PLACEOFSUPPLY>"), std::string::npos);
    EXPECT_EQ(sold.find("Pondicherry"), std::string::npos);
    // 994.44 + 89.50 + 90 = 1173.94 -> 1174, as the source's total says.
    EXPECT_TRUE(screen_.LastRun().Clean());
}

TEST_F(ServiceScreenTest, ZeroAmountIsSkippedAndAnOtherTotalIsADifference) {
    invoices_ = {{"SRV/1", "Sales", "Coromandel Oils Ltd", "", "0", "0", "", "Tamil Nadu", "", "0",
                  "0", "0", "0"},
                 // The source's total leaves out the UTGST's half rupee: 1173 against 1174.
                 {"SRV/2", "Purchase", "", "Puducherry Beach Mart", "1173", "994.44", "",
                  "Pondicherry", "5", "89.50", "0", "0", "89.50"},
                 {"SRV/3", "Sales", "Coromandel Oils Ltd", "", "1180", "-5", "", "Tamil Nadu", "",
                  "0", "0", "0", "0"}};
    Run();
    // Masters, three parties, one voucher.
    EXPECT_EQ(tally_.bodies.size(), 5u);
    const RunCounts& run = screen_.LastRun();
    EXPECT_EQ(run.documents.skipped, 2);
    EXPECT_EQ(run.documents.differences, 1);
    EXPECT_EQ(run.documents.Total(), 3);
    EXPECT_EQ(screen_.CurrentProgress().handled, 2);
    EXPECT_NE(screen_.LogText().find(
                  "\r\nDifference from the source: voucher amount 1174, document total 1173 SRV/2"),
              std::string::npos)
        << screen_.LogText();
}

TEST_F(ServiceScreenTest, AnInvoiceWithoutItsPartyIsNotSent) {
    // The retailer of a purchase is missing from the source (the left join gives no name).
    invoices_ = {
        {"SRV/1", "Purchase", "", "", "1180", "1000", "", "Tamil Nadu", "", "90", "90", "0", "0"}};
    Run();
    EXPECT_EQ(screen_.LastRun().documents.notSent, 1);
    EXPECT_NE(screen_.LogText().find("\r\nNot sent: the invoice's party is not in the source SRV/1"),
              std::string::npos)
        << screen_.LogText();
    for (const std::string& body : tally_.bodies)
        EXPECT_EQ(body.find("<VOUCHER "), std::string::npos);
}

TEST_F(ServiceScreenTest, AnAmountThatIsNotANumberIsNotSent) {
    invoices_ = {{"SRV/1", "Sales", "Coromandel Oils Ltd", "", "1180", "1000", "", "Tamil Nadu", "",
                  "9O", "90", "0", "0"}};
    Run();
    EXPECT_EQ(screen_.LastRun().documents.notSent, 1);
    EXPECT_NE(screen_.LogText().find("Not sent: field CGST_AMT holds '9O', not a number SRV/1"),
              std::string::npos)
        << screen_.LogText();
}

}  // namespace
}  // namespace zentrail
