#include <gtest/gtest.h>

#include <string>

#include "tally/masters/fragment_lines.h"
#include "tally/masters/tally_master.h"

namespace zentrail::testing {
namespace {

const LineList kLedgerSettings = {
    "<ISCOSTCENTRESON>No</ISCOSTCENTRESON>",
    "<AFFECTSSTOCK>No</AFFECTSSTOCK>",
    "<ISCONDENSED>No</ISCONDENSED>",
    "<SORTPOSITION> 1000</SORTPOSITION>",
    "<INTERESTONBILLWISE>No</INTERESTONBILLWISE>",
    "<OVERRIDEINTEREST>No</OVERRIDEINTEREST>",
    "<OVERRIDEADVINTEREST>No</OVERRIDEADVINTEREST>",
};
const LineList kLedgerEnd = {"</LEDGER>", "</TALLYMESSAGE>"};

// A customer with every field filled, each with a text of its own, so that a value that lands
// in the wrong place shows.
LedgerFields FullParty() {
    return {.strLedNm = "Sri Balaji Stores_12",
            .strLedCd = "SBS",
            .strParentNm = "Sundry Debtors",
            .strAdd1 = "12 Main Road",
            .strAdd2 = "Near Bus Stand",
            .strAdd3 = "Anna Nagar",
            .strAdd4 = "Tamil Nadu",
            .strAdd5 = "South Zone",
            .strState = "Tamilnadu",
            .strPin = "600040",
            .strContPerson = "Ravi",
            .strTelNo = "9840012345",
            .strFaxNo = "0442612345",
            .strEmail = "ravi@example.com",
            .strPanNo = "ABCDE1234F",
            .strVatNo = "33761234567",
            .strDutyHead = "",
            .strServiceTax = "",
            .blnMaintBill = true,
            .strLedCd1 = "R12",
            .strLedCd2 = "RTR-12",
            .strPGSTN = "33ABCDE1234F1Z5",
            .strPState = "Tamil Nadu",
            .blnSez = false,
            .strRegType = "Registered"};
}

LineList FullPartyLines(const LineList& gstLines) {
    const LineList head = {
        "<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">",
        "<LEDGER NAME=\"Sri Balaji Stores_12\" RESERVEDNAME=\"\">",
        "<NAME.LIST>",
        "<NAME>Sri Balaji Stores_12</NAME>",
        "<NAME>SBS</NAME>",
        "<NAME>R12</NAME>",
        "<NAME>RTR-12</NAME>",
        "</NAME.LIST>",
        "<ADDRESS.LIST>",
        "\t<ADDRESS>12 Main Road</ADDRESS>",
        "\t<ADDRESS>Near Bus Stand</ADDRESS>",
        "\t<ADDRESS>Anna Nagar</ADDRESS>",
        "\t<ADDRESS>Tamil Nadu</ADDRESS>",
        "\t<ADDRESS>South Zone</ADDRESS>",
        "</ADDRESS.LIST>",
        "\t<COUNTRYNAME>India</COUNTRYNAME>",
        "\t<TAXTYPE>Others</TAXTYPE>",
        "\t<COUNTRYOFRESIDENCE>India</COUNTRYOFRESIDENCE>",
    };
    const LineList tail = {
        "\t<STATENAME>Tamilnadu</STATENAME>",
        "\t<PINCODE>600040</PINCODE>",
        "\t<LEDGERCONTACT>Ravi</LEDGERCONTACT>",
        "\t<LEDGERPHONE>9840012345</LEDGERPHONE>",
        "\t<LEDGERFAX>0442612345</LEDGERFAX>",
        "\t<EMAIL>ravi@example.com</EMAIL>",
        "\t<INCOMETAXNUMBER>ABCDE1234F</INCOMETAXNUMBER>",
        "\t<SALESTAXNUMBER>33761234567</SALESTAXNUMBER>",
        "<ISINTERESTON>No</ISINTERESTON>",
        "<PARENT>Sundry Debtors</PARENT>",
        "<CURRENCYNAME>INR</CURRENCYNAME>",
        "<ISBILLWISEON>Yes</ISBILLWISEON>",
    };
    return head + gstLines + tail + kLedgerSettings + kLedgerEnd;
}

const LineList kRegisteredGst = {
    "\t<PARTYGSTIN>33ABCDE1234F1Z5</PARTYGSTIN>",
    "\t<GSTNATUREOFSUPPLY/>",
    "\t<SERVICECATEGORY>&#4; Not Applicable</SERVICECATEGORY>",
    "\t<LEDSTATENAME>Tamil Nadu</LEDSTATENAME>",
    "\t<GSTREGISTRATIONTYPE>Regular</GSTREGISTRATIONTYPE>",
    "\t<VATDEALERTYPE>Regular</VATDEALERTYPE>",
};

TEST(TallyMasterLedger, FullPartyInEveryArgumentPlace) {
    TallyMaster master;
    LedgerFields f = FullParty();
    const std::string direct = master.strLedgerAcc(
        f.strLedNm, f.strLedCd, f.strParentNm, f.strAdd1, f.strAdd2, f.strAdd3, f.strAdd4,
        f.strAdd5, f.strState, f.strPin, f.strContPerson, f.strTelNo, f.strFaxNo, f.strEmail,
        f.strPanNo, f.strVatNo, f.strDutyHead, f.strServiceTax, f.blnMaintBill, f.strLedCd1,
        f.strLedCd2, f.strPGSTN, f.strPState, f.blnSez, f.strRegType);
    EXPECT_EQ(direct, Crlf(FullPartyLines(kRegisteredGst)));
    EXPECT_EQ(master.strLedgerAcc(FullParty()), direct);
}

TEST(TallyMasterLedger, GstBlockByGstinLengthRegistrationTypeAndSez) {
    struct Case {
        const char* gstin;
        const char* regType;
        bool sez;
        LineList gstLines;
    };
    const LineList kShort = {
        "\t<PARTYGSTIN>Unregistered</PARTYGSTIN>",
        "\t<SERVICECATEGORY>&#4; Not Applicable</SERVICECATEGORY>",
        "\t<LEDSTATENAME>Tamil Nadu</LEDSTATENAME>",
        "\t<GSTREGISTRATIONTYPE>Unregistered</GSTREGISTRATIONTYPE>",
    };
    auto longBlock = [](const std::string& gstin, const char* nature, const LineList& reg) {
        return LineList{"\t<PARTYGSTIN>" + gstin + "</PARTYGSTIN>", nature,
                        "\t<SERVICECATEGORY>&#4; Not Applicable</SERVICECATEGORY>",
                        "\t<LEDSTATENAME>Tamil Nadu</LEDSTATENAME>"} +
               reg;
    };
    const char* kPlain = "\t<GSTNATUREOFSUPPLY/>";
    const char* kSez = "\t<GSTNATUREOFSUPPLY>SEZ</GSTNATUREOFSUPPLY>";
    const LineList kRegular = {"\t<GSTREGISTRATIONTYPE>Regular</GSTREGISTRATIONTYPE>",
                               "\t<VATDEALERTYPE>Regular</VATDEALERTYPE>"};
    const std::string g = "33ABCDE1234F1Z5";
    const Case cases[] = {
        {"33ABCDE1234F1Z5", "Registered", false, kRegisteredGst},
        {"33ABCDE1234F1Z5", "Registered", true, longBlock(g, kSez, kRegular)},
        {"33ABCDE1234F1Z5", "Unregistered", false,
         longBlock(g, kPlain, {"\t<GSTREGISTRATIONTYPE>Unregistered</GSTREGISTRATIONTYPE>"})},
        {"33ABCDE1234F1Z5", "Composition", false,
         longBlock(g, kPlain,
                   {"\t<GSTREGISTRATIONTYPE>Composition</GSTREGISTRATIONTYPE>",
                    "\t<VATDEALERTYPE>Regular</VATDEALERTYPE>"})},
        {"33ABCDE1234F1Z5", "registered", false, longBlock(g, kPlain, {})},
        {"33ABCDE1234F1Z5", "", false, longBlock(g, kPlain, {})},
        {"ABC", "Registered", true, kShort},
        {"", "Composition", false, kShort},
        {"33ABCDE12", "Registered", false, kShort},
        {"33ABCDE123", "Registered", false, longBlock("33ABCDE123", kPlain, kRegular)},
        // Blanks around a short number do not make it long enough.
        {"   33ABCDE12   ", "Registered", false, kShort},
    };
    TallyMaster master;
    for (const Case& c : cases) {
        LedgerFields f = FullParty();
        f.strPGSTN = c.gstin;
        f.strRegType = c.regType;
        f.blnSez = c.sez;
        EXPECT_EQ(master.strLedgerAcc(f), Crlf(FullPartyLines(c.gstLines)))
            << "GSTIN '" << c.gstin << "', type '" << c.regType << "', SEZ " << c.sez;
    }
}

TEST(TallyMasterLedger, AddressBlockOnlyForNonEmptyLines) {
    struct Case {
        LineList address;  // lines 1 to 5
        LineList expected;
    };
    const Case cases[] = {
        {{"", "", "", "", ""}, {}},
        {{" ", "  ", "", "", ""}, {}},
        {{"", "", "Line 3", "", ""},
         {"<ADDRESS.LIST>", "\t<ADDRESS></ADDRESS>", "\t<ADDRESS>Line 3</ADDRESS>",
          "</ADDRESS.LIST>"}},
        {{"Line 1", "", "", "", "Line 5"},
         {"<ADDRESS.LIST>", "\t<ADDRESS>Line 1</ADDRESS>", "\t<ADDRESS>Line 5</ADDRESS>",
          "</ADDRESS.LIST>"}},
    };
    TallyMaster master;
    for (const Case& c : cases) {
        LedgerFields f{.strLedNm = "P", .strParentNm = "Sundry Debtors"};
        f.strAdd1 = c.address[0];
        f.strAdd2 = c.address[1];
        f.strAdd3 = c.address[2];
        f.strAdd4 = c.address[3];
        f.strAdd5 = c.address[4];
        const std::string text = master.strLedgerAcc(f);
        const std::string from = "</NAME.LIST>\r\n";
        const size_t begin = text.find(from) + from.size();
        const size_t end = text.find("\t<COUNTRYNAME>");
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(text.substr(begin, end - begin), Crlf(c.expected)) << c.address[2];
    }
}

const LineList kNoPartyHead = {
    "\t<COUNTRYNAME>India</COUNTRYNAME>",
    "\t<TAXTYPE>Others</TAXTYPE>",
    "\t<COUNTRYOFRESIDENCE>India</COUNTRYOFRESIDENCE>",
    "\t<PARTYGSTIN>Unregistered</PARTYGSTIN>",
    "\t<SERVICECATEGORY>&#4; Not Applicable</SERVICECATEGORY>",
    "\t<LEDSTATENAME></LEDSTATENAME>",
    "\t<GSTREGISTRATIONTYPE>Unregistered</GSTREGISTRATIONTYPE>",
    "<ISINTERESTON>No</ISINTERESTON>",
};

LineList NamedLedger(const std::string& name) {
    return {"<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">",
            "<LEDGER NAME=\"" + name + "\" RESERVEDNAME=\"\">", "<NAME.LIST>",
            "<NAME>" + name + "</NAME>", "</NAME.LIST>"};
}

TEST(TallyMasterLedger, TaxLedgerUnderDutiesAndTaxes) {
    TallyMaster master;
    const LineList expected =
        NamedLedger("IGST 18%") + kNoPartyHead +
        LineList{"<PARENT>Duties &amp; Taxes</PARENT>", "<CURRENCYNAME>INR</CURRENCYNAME>",
                 "<ISBILLWISEON>No</ISBILLWISEON>"} +
        kLedgerSettings +
        LineList{"<USEFORVAT>No</USEFORVAT>",
                 "<GSTAPPLICABLE>&#4; Applicable</GSTAPPLICABLE>",
                 "<GSTDUTYHEAD>Integrated Tax</GSTDUTYHEAD>",
                 "<ROUNDINGMETHOD>Normal Rounding</ROUNDINGMETHOD>",
                 "<SERVICECATEGORY>&#4; Not Applicable</SERVICECATEGORY>",
                 "<TAXTYPE>GST</TAXTYPE>"} +
        kLedgerEnd;
    EXPECT_EQ(master.strLedgerAcc({.strLedNm = "IGST 18%",
                                   .strParentNm = "Duties & Taxes",
                                   .strDutyHead = "Integrated Tax"}),
              Crlf(expected));
}

TEST(TallyMasterLedger, RoundOffUnderIndirectExpenses) {
    TallyMaster master;
    const LineList expected =
        NamedLedger("Round Off") + kNoPartyHead +
        LineList{"<PARENT>Indirect Expenses</PARENT>", "<CURRENCYNAME>INR</CURRENCYNAME>",
                 "<ISBILLWISEON>No</ISBILLWISEON>"} +
        kLedgerSettings +
        LineList{"<GSTAPPLICABLE>&#4; Not Applicable</GSTAPPLICABLE>",
                 "<APPROPRIATEFOR>GST</APPROPRIATEFOR>",
                 "<GSTAPPROPRIATETO>Both</GSTAPPROPRIATETO>"} +
        kLedgerEnd;
    EXPECT_EQ(master.strLedgerAcc({.strLedNm = "Round Off", .strParentNm = "Indirect Expenses"}),
              Crlf(expected));
    // The parent is compared after escaping, which trims it.
    EXPECT_EQ(master.strLedgerAcc({.strLedNm = "Round Off", .strParentNm = " Indirect Expenses "}),
              Crlf(expected));
    EXPECT_EQ(master.strLedgerAcc({.strLedNm = "Round Off", .strParentNm = "indirect expenses"})
                  .find("APPROPRIATEFOR"),
              std::string::npos);
}

TEST(TallyMasterLedger, ServiceTaxLedgerWithBillsAndDutyHead) {
    TallyMaster master;
    const LineList expected =
        NamedLedger("Service Tax") + kNoPartyHead +
        LineList{"<PARENT>Duties &amp; Taxes</PARENT>", "<CURRENCYNAME>INR</CURRENCYNAME>",
                 "<ISBILLWISEON>Yes</ISBILLWISEON>"} +
        kLedgerSettings +
        LineList{"<USEFORVAT>No</USEFORVAT>",
                 "<GSTAPPLICABLE>&#4; Applicable</GSTAPPLICABLE>",
                 "<GSTDUTYHEAD>Central Tax</GSTDUTYHEAD>",
                 "<ROUNDINGMETHOD>Normal Rounding</ROUNDINGMETHOD>",
                 "<SERVICECATEGORY>&#4; Not Applicable</SERVICECATEGORY>",
                 "<TAXTYPE>GST</TAXTYPE>",
                 "<TAXTYPE>Service Tax</TAXTYPE>"} +
        kLedgerEnd;
    EXPECT_EQ(master.strLedgerAcc({.strLedNm = "Service Tax",
                                   .strParentNm = "Duties & Taxes",
                                   .strDutyHead = "Central Tax",
                                   .strServiceTax = "Y",
                                   .blnMaintBill = true}),
              Crlf(expected));
}

TEST(TallyMasterLedger, EscapesNamesAndAliasesInPlaceOnce) {
    TallyMaster master;
    LedgerFields f{.strLedNm = "  Ram & Sons ",
                   .strLedCd = "R&S",
                   .strParentNm = "Duties & Taxes",
                   .strAdd1 = "Shop <3>",
                   .strState = "J&K",
                   .strLedCd1 = "O'Neil",
                   .strLedCd2 = "\"Q\"",
                   .strPGSTN = "01AB&CD1234E1Z5",
                   .strPState = "J&K"};
    const std::string first = master.strLedgerAcc(f);
    EXPECT_EQ(f.strLedNm, "Ram &amp; Sons");
    EXPECT_EQ(f.strLedCd, "R&amp;S");
    EXPECT_EQ(f.strParentNm, "Duties &amp; Taxes");
    EXPECT_EQ(f.strLedCd1, "O&apos;Neil");
    EXPECT_EQ(f.strLedCd2, "&quot;Q&quot;");
    // Only the emitted copies of these are escaped.
    EXPECT_EQ(f.strAdd1, "Shop <3>");
    EXPECT_EQ(f.strState, "J&K");
    EXPECT_EQ(f.strPGSTN, "01AB&CD1234E1Z5");
    EXPECT_NE(first.find("\t<ADDRESS>Shop &lt;3&gt;</ADDRESS>\r\n"), std::string::npos);
    EXPECT_NE(first.find("\t<PARTYGSTIN>01AB&amp;CD1234E1Z5</PARTYGSTIN>\r\n"), std::string::npos);

    // Passing the escaped variables again changes neither them nor the fragment.
    const LedgerFields escaped = f;
    EXPECT_EQ(master.strLedgerAcc(f), first);
    EXPECT_EQ(f.strLedNm, escaped.strLedNm);
    EXPECT_EQ(f.strLedCd, escaped.strLedCd);
    EXPECT_EQ(f.strParentNm, escaped.strParentNm);
    EXPECT_EQ(f.strLedCd1, escaped.strLedCd1);
    EXPECT_EQ(f.strLedCd2, escaped.strLedCd2);
}

}  // namespace
}  // namespace zentrail::testing
