#include <gtest/gtest.h>

#include <string>

#include "tally/masters/fragment_lines.h"
#include "tally/masters/tally_master.h"

namespace zentrail::testing {
namespace {

LineList RateBlock(const std::string& head, const std::string& rateLine) {
    LineList block = {"<RATEDETAILS.LIST>", "<GSTRATEDUTYHEAD>" + head + "</GSTRATEDUTYHEAD>",
                      "<GSTRATEVALUATIONTYPE>Based on Value</GSTRATEVALUATIONTYPE>"};
    if (!rateLine.empty()) block.push_back(rateLine);
    block.push_back("</RATEDETAILS.LIST>");
    return block;
}

TEST(TallyMasterSalesLedger, GoodsLedgerAt9And9And18) {
    TallyMaster master;
    std::string name = "GST Sales 18%", alias, parent = "Sales Accounts";
    double state = 9, central = 9, integrated = 18;
    const LineList expected =
        LineList{
            "<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">",
            "<LEDGER NAME=\"GST Sales 18%\" RESERVEDNAME=\"\">",
            "<NAME.LIST>",
            "<NAME>GST Sales 18%</NAME>",
            "</NAME.LIST>",
            "<ISINTERESTON>No</ISINTERESTON>",
            "<PARENT>Sales Accounts</PARENT>",
            "<CURRENCYNAME>INR</CURRENCYNAME>",
            "<ISBILLWISEON>No</ISBILLWISEON>",
            "<AFFECTSSTOCK>Yes</AFFECTSSTOCK>",
            "<GSTAPPLICABLE>&#4; Applicable</GSTAPPLICABLE>",
            "<GSTTYPEOFSUPPLY>Goods</GSTTYPEOFSUPPLY>",
            "<SERVICECATEGORY>&#4; Not Applicable</SERVICECATEGORY>",
            "<GSTDETAILS.LIST>",
            "<APPLICABLEFROM></APPLICABLEFROM>",
            "<HSNCODE></HSNCODE>",
            "<HSNMASTERNAME/>",
            "<TAXABILITY>&#4; Unknown</TAXABILITY>",
            "<GSTNATUREOFTRANSACTION>&#4; Not Applicable</GSTNATUREOFTRANSACTION>",
            "<ISREVERSECHARGEAPPLICABLE>No</ISREVERSECHARGEAPPLICABLE>",
            "<ISNONGSTGOODS>No</ISNONGSTGOODS>",
            "<GSTINELIGIBLEITC>No</GSTINELIGIBLEITC>",
            "<STATEWISEDETAILS.LIST>",
            "<STATENAME>&#4; Any</STATENAME>",
        } +
        RateBlock("Central Tax", "<GSTRATE> 9</GSTRATE>") +
        RateBlock("State Tax", "<GSTRATE> 9</GSTRATE>") +
        RateBlock("Integrated Tax", "<GSTRATE> 18</GSTRATE>") + RateBlock("Cess", "") +
        LineList{
            "<GSTSLABRATES.LIST>        </GSTSLABRATES.LIST>",
            "</STATEWISEDETAILS.LIST>",
            "</GSTDETAILS.LIST>",
            "</LEDGER>",
            "</TALLYMESSAGE>",
        };
    EXPECT_EQ(master.strLedSalesAcc(name, alias, parent, "", "Goods", state, central, integrated),
              Crlf(expected));
}

// State 2.5 and Central 0 must not trade places: the parameters come State first, the
// blocks Central first.
TEST(TallyMasterSalesLedger, ServicesLedgerWithAliasHsnAndFractionalAndZeroRates) {
    TallyMaster master;
    std::string name = "Visibility Claim Sales", alias = "VCS", parent = "Sales Accounts";
    double state = 2.5, central = 0, integrated = 5;
    const LineList expected =
        LineList{
            "<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">",
            "<LEDGER NAME=\"Visibility Claim Sales\" RESERVEDNAME=\"\">",
            "<NAME.LIST>",
            "<NAME>Visibility Claim Sales</NAME>",
            "<NAME>VCS</NAME>",
            "</NAME.LIST>",
            "<ISINTERESTON>No</ISINTERESTON>",
            "<PARENT>Sales Accounts</PARENT>",
            "<CURRENCYNAME>INR</CURRENCYNAME>",
            "<ISBILLWISEON>No</ISBILLWISEON>",
            "<AFFECTSSTOCK>Yes</AFFECTSSTOCK>",
            "<GSTAPPLICABLE>&#4; Applicable</GSTAPPLICABLE>",
            "<GSTTYPEOFSUPPLY>Services</GSTTYPEOFSUPPLY>",
            "<SERVICECATEGORY>&#4; Not Applicable</SERVICECATEGORY>",
            "<GSTDETAILS.LIST>",
            "<APPLICABLEFROM></APPLICABLEFROM>",
            "<HSNCODE>999799</HSNCODE>",
            "<HSNMASTERNAME/>",
            "<TAXABILITY>&#4; Unknown</TAXABILITY>",
            "<GSTNATUREOFTRANSACTION>&#4; Not Applicable</GSTNATUREOFTRANSACTION>",
            "<ISREVERSECHARGEAPPLICABLE>No</ISREVERSECHARGEAPPLICABLE>",
            "<ISNONGSTGOODS>No</ISNONGSTGOODS>",
            "<GSTINELIGIBLEITC>No</GSTINELIGIBLEITC>",
            "<STATEWISEDETAILS.LIST>",
            "<STATENAME>&#4; Any</STATENAME>",
        } +
        RateBlock("Central Tax", "<GSTRATE> 0</GSTRATE>") +
        RateBlock("State Tax", "<GSTRATE> 2.5</GSTRATE>") +
        RateBlock("Integrated Tax", "<GSTRATE> 5</GSTRATE>") + RateBlock("Cess", "") +
        LineList{
            "<GSTSLABRATES.LIST>        </GSTSLABRATES.LIST>",
            "</STATEWISEDETAILS.LIST>",
            "</GSTDETAILS.LIST>",
            "</LEDGER>",
            "</TALLYMESSAGE>",
        };
    EXPECT_EQ(master.strLedSalesAcc(name, alias, parent, "999799", "Services", state, central,
                                    integrated),
              Crlf(expected));
    EXPECT_EQ(state, 2.5);
    EXPECT_EQ(central, 0);
    EXPECT_EQ(integrated, 5);
}

TEST(TallyMasterSalesLedger, EscapesNameAliasAndParentInPlaceOnce) {
    TallyMaster master;
    std::string name = " Sales & Service ", alias = "S&S", parent = "Sales <Local>";
    const std::string hsn = "99&97", supply = "Goods";
    double rate = 0;
    const std::string first =
        master.strLedSalesAcc(name, alias, parent, hsn, supply, rate, rate, rate);
    EXPECT_EQ(name, "Sales &amp; Service");
    EXPECT_EQ(alias, "S&amp;S");
    EXPECT_EQ(parent, "Sales &lt;Local&gt;");
    EXPECT_NE(first.find("<HSNCODE>99&amp;97</HSNCODE>\r\n"), std::string::npos);
    EXPECT_EQ(master.strLedSalesAcc(name, alias, parent, hsn, supply, rate, rate, rate), first);
    EXPECT_EQ(name, "Sales &amp; Service");
}

}  // namespace
}  // namespace zentrail::testing
