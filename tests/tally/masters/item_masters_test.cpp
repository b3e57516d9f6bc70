#include <gtest/gtest.h>

#include <string>

#include "tally/masters/fragment_lines.h"
#include "tally/masters/tally_master.h"

namespace zentrail::testing {
namespace {

TEST(TallyMasterUnit, SimpleUnitEscapedInPlaceOnce) {
    TallyMaster master;
    std::string unit = "PC";
    EXPECT_EQ(master.strNewUnit(unit), Crlf({
                                           "<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">",
                                           "<UNIT NAME=\"PC\" RESERVEDNAME=\"\">",
                                           "<NAME>PC</NAME>",
                                           "<ORIGINALSYMBOL></ORIGINALSYMBOL>",
                                           "<ISSIMPLEUNIT>Yes</ISSIMPLEUNIT>",
                                           "<DECIMALPLACES>0</DECIMALPLACES>",
                                           "</UNIT>",
                                           "</TALLYMESSAGE>",
                                       }));

    unit = "Box & Pack";
    const std::string first = master.strNewUnit(unit);
    EXPECT_EQ(unit, "Box &amp; Pack");
    EXPECT_NE(first.find("<UNIT NAME=\"Box &amp; Pack\" RESERVEDNAME=\"\">\r\n<NAME>Box &amp; "
                         "Pack</NAME>\r\n"),
              std::string::npos);
    EXPECT_EQ(master.strNewUnit(unit), first);
    EXPECT_EQ(unit, "Box &amp; Pack");
}

LineList GstBlock(const std::string& date, const std::string& hsn, const std::string& central,
                  const std::string& state, const std::string& integrated) {
    LineList lines = {
        "<GSTDETAILS.LIST>",
        "<APPLICABLEFROM>" + date + "</APPLICABLEFROM>",
        "<CALCULATIONTYPE>On Value</CALCULATIONTYPE>",
        "<HSNCODE>" + hsn + "</HSNCODE>",
        "<HSNMASTERNAME/>",
        "<TAXABILITY>Taxable</TAXABILITY>",
        "<ISREVERSECHARGEAPPLICABLE>No</ISREVERSECHARGEAPPLICABLE>",
        "<ISNONGSTGOODS>No</ISNONGSTGOODS>",
        "<GSTINELIGIBLEITC>No</GSTINELIGIBLEITC>",
        "<INCLUDEEXPFORSLABCALC>No</INCLUDEEXPFORSLABCALC>",
        "<STATEWISEDETAILS.LIST>",
        "<STATENAME>&#4; Any</STATENAME>",
    };
    const std::pair<const char*, std::string> rates[] = {{"Central Tax", central},
                                                         {"State Tax", state},
                                                         {"Integrated Tax", integrated},
                                                         {"Cess", "0"}};
    for (const auto& [head, rate] : rates) {
        lines = lines + LineList{"<RATEDETAILS.LIST>",
                                 std::string("<GSTRATEDUTYHEAD>") + head + "</GSTRATEDUTYHEAD>",
                                 "<GSTRATEVALUATIONTYPE>Based on Value</GSTRATEVALUATIONTYPE>",
                                 "<GSTRATE> " + rate + "</GSTRATE>", "</RATEDETAILS.LIST>"};
    }
    return lines + LineList{
                       "<GSTSLABRATES.LIST>        </GSTSLABRATES.LIST>",
                       "</STATEWISEDETAILS.LIST>",
                       "<TEMPGSTDETAILSLABRATES.LIST>       </TEMPGSTDETAILSLABRATES.LIST>",
                       "</GSTDETAILS.LIST>",
                   };
}

TEST(TallyMasterItemGstRate, RatesInHeadOrderAndCessZero) {
    struct Case {
        double central, state, integrated;
        const char* hsn;
        const char* date;
        LineList expected;
    };
    const Case cases[] = {
        {9, 9, 18, "3401", "20170701", GstBlock("20170701", "3401", "9", "9", "18")},
        {2.5, 2.5, 5, "3402", "20171115", GstBlock("20171115", "3402", "2.5", "2.5", "5")},
        {0, 0, 0, "3401", "20180727", GstBlock("20180727", "3401", "0", "0", "0")},
        // Distinct rates catch a head given the wrong parameter.
        {1, 2, 3, "", "", GstBlock("", "", "1", "2", "3")},
        {0.25, 0.125, 0.375, "34&01", "20170701",
         GstBlock("20170701", "34&amp;01", "0.25", "0.125", "0.375")},
    };
    TallyMaster master;
    for (Case c : cases) {
        EXPECT_EQ(master.strItemGSTRate(c.central, c.state, c.integrated, c.hsn, c.date),
                  Crlf(c.expected))
            << c.central << "/" << c.state << "/" << c.integrated;
    }
}

LineList ItemHead(const LineList& names, const std::string& guid, const std::string& parentLine) {
    return LineList{"<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">"} + names +
           LineList{
               "<GUID>44756338-2c49-4454-aa10-adf0c49a94dc-" + guid + "</GUID>",
               parentLine,
               "<BASEUNITS>PC</BASEUNITS>",
               "<ADDITIONALUNITS/>",
               "<IGNOREPHYSICALDIFFERENCE>No</IGNOREPHYSICALDIFFERENCE>",
               "<IGNORENEGATIVESTOCK>No</IGNORENEGATIVESTOCK>",
               "<TREATSALESASMANUFACTURED>No</TREATSALESASMANUFACTURED>",
               "<TREATPURCHASESASCONSUMED>No</TREATPURCHASESASCONSUMED>",
               "<TREATREJECTSASSCRAP>No</TREATREJECTSASSCRAP>",
               "<ALLOWUSEOFEXPIREDITEMS>No</ALLOWUSEOFEXPIREDITEMS>",
               "<ISBATCHWISEON>No</ISBATCHWISEON>",
               "<HASMFGDATE>No</HASMFGDATE>",
               "<ISPERISHABLEON>No</ISPERISHABLEON>",
               "<COSTINGMETHOD>Avg. Cost</COSTINGMETHOD>",
               "<VALUATIONMETHOD>Avg. Price</VALUATIONMETHOD>",
               "<DENOMINATOR> 1</DENOMINATOR>",
               "<GSTAPPLICABLE>&#4; Applicable</GSTAPPLICABLE>",
               "<GSTTYPEOFSUPPLY>Goods</GSTTYPEOFSUPPLY>",
           };
}

const LineList kItemEnd = {"</STOCKITEM>", "</TALLYMESSAGE>"};

TEST(TallyMasterItem, TwoDatedGstBlocksInTheOrderAdded) {
    TallyMaster master;
    double r9 = 9, r18 = 18, r6 = 6, r12 = 12;
    master.strGSTSetup = master.strItemGSTRate(r9, r9, r18, "3401", "20170701");
    master.strGSTSetup += master.strItemGSTRate(r6, r6, r12, "3401", "20171115");
    const std::string setup = master.strGSTSetup;
    std::string noAlias;
    const LineList names = {"<STOCKITEM NAME=\"Soap_S01\" RESERVEDNAME=\"\">", "<NAME.LIST>",
                            "<NAME>Soap_S01</NAME>", "<NAME>S01_7</NAME>", "</NAME.LIST>"};
    EXPECT_EQ(master.strItemCreate("Soap_S01", "S01_7", "PC", "KVZ Products", noAlias, ""),
              Crlf(ItemHead(names, "S01_7", "<PARENT>KVZ Products</PARENT>") +
                   GstBlock("20170701", "3401", "9", "9", "18") +
                   GstBlock("20171115", "3401", "6", "6", "12") + kItemEnd));
    EXPECT_EQ(master.strGSTSetup, setup);
}

TEST(TallyMasterItem, NoGstBlocksEmptyParentAndAllAliases) {
    TallyMaster master;
    std::string second = "A&B";
    const LineList names = {"<STOCKITEM NAME=\"Tea &amp; Co\" RESERVEDNAME=\"\">",
                            "<NAME.LIST>",
                            "<NAME>Tea &amp; Co</NAME>",
                            "<NAME>1234</NAME>",
                            "<NAME>A&amp;B</NAME>",
                            "<NAME>T-3</NAME>",
                            "</NAME.LIST>"};
    const std::string name = "Tea & Co";
    EXPECT_EQ(master.strItemCreate(name, "1234", "PC", "", second, "T-3"),
              Crlf(ItemHead(names, "1234", "<PARENT/>") + kItemEnd));
    EXPECT_EQ(second, "A&amp;B");
    EXPECT_EQ(name, "Tea & Co");
}

TEST(TallyMasterItem, EmptyCodeLeavesGuidPrefixAndNoAlias) {
    TallyMaster master;
    std::string none;
    const LineList names = {"<STOCKITEM NAME=\"Oil\" RESERVEDNAME=\"\">", "<NAME.LIST>",
                            "<NAME>Oil</NAME>", "</NAME.LIST>"};
    EXPECT_EQ(master.strItemCreate("Oil", "", "PC", "KVZ Products", none, ""),
              Crlf(ItemHead(names, "", "<PARENT>KVZ Products</PARENT>") + kItemEnd));
}

}  // namespace
}  // namespace zentrail::testing
