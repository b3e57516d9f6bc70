#include <gtest/gtest.h>

#include <string>

#include "tally/masters/fragment_lines.h"
#include "tally/masters/tally_master.h"

namespace zentrail::testing {
namespace {

LineList StockGroup(const std::string& name, const LineList& parent) {
    return LineList{"<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">",
                    "<STOCKGROUP NAME=\"" + name + "\" RESERVEDNAME=\"\">", "<NAME.LIST>",
                    "<NAME>" + name + "</NAME>", "</NAME.LIST>"} +
           parent +
           LineList{
               "<BASEUNITS/>",
               "<ADDITIONALUNITS/>",
               "<ISADDABLE>Yes</ISADDABLE>",
               "<IGNOREPHYSICALDIFFERENCE>No</IGNOREPHYSICALDIFFERENCE>",
               "<IGNORENEGATIVESTOCK>No</IGNORENEGATIVESTOCK>",
               "<TREATSALESASMANUFACTURED>No</TREATSALESASMANUFACTURED>",
               "<TREATPURCHASESASCONSUMED>No</TREATPURCHASESASCONSUMED>",
               "<TREATREJECTSASSCRAP>No</TREATREJECTSASSCRAP>",
               "<ALLOWUSEOFEXPIREDITEMS>No</ALLOWUSEOFEXPIREDITEMS>",
               "<ISBATCHWISEON>No</ISBATCHWISEON>",
               "<HASMFGDATE>No</HASMFGDATE>",
               "<ISPERISHABLEON>No</ISPERISHABLEON>",
               "<DENOMINATOR> 1</DENOMINATOR>",
               "</STOCKGROUP>",
               "</TALLYMESSAGE>",
           };
}

TEST(TallyMasterStockGroup, WithAndWithoutParent) {
    TallyMaster master;
    std::string name = "KVZ Products", parent;
    EXPECT_EQ(master.strItemGroup(name, parent), Crlf(StockGroup("KVZ Products", {})));

    name = "Soaps & Detergents";
    parent = "KVZ Products";
    EXPECT_EQ(master.strItemGroup(name, parent),
              Crlf(StockGroup("Soaps &amp; Detergents", {"<PARENT>KVZ Products</PARENT>"})));
    EXPECT_EQ(name, "Soaps &amp; Detergents");

    name = "Soaps";
    parent = " <Home> & 'Care' ";
    EXPECT_EQ(master.strItemGroup(name, parent),
              Crlf(StockGroup("Soaps", {"<PARENT>&lt;Home&gt; &amp; &apos;Care&apos;</PARENT>"})));
    EXPECT_EQ(parent, "&lt;Home&gt; &amp; &apos;Care&apos;");
}

LineList VoucherType(const LineList& names, const std::string& parent) {
    return LineList{"<TALLYMESSAGE xmlns:UDF=\"TallyUDF\">"} + names +
           LineList{
               "<ADDITIONALNAME>IF</ADDITIONALNAME>",
               "<PARENT>" + parent + "</PARENT>",
               "<PREFILLZERO>No</PREFILLZERO>",
               "<ISOPTIONAL>No</ISOPTIONAL>",
               "<PREVENTDUPLICATES>Yes</PREVENTDUPLICATES>",
               "<NUMBERINGMETHOD>Manual</NUMBERINGMETHOD>",
               "<SORTPOSITION> 30</SORTPOSITION>",
               "<PRINTAFTERSAVE>No</PRINTAFTERSAVE>",
               "<COMMONNARRATION>Yes</COMMONNARRATION>",
               "<MULTINARRATION>No</MULTINARRATION>",
               "<FORMALRECEIPT>No</FORMALRECEIPT>",
               "<ASMFGJRNL>No</ASMFGJRNL>",
               "<EFFECTIVEDATE>No</EFFECTIVEDATE>",
               "</VOUCHERTYPE>",
               "</TALLYMESSAGE>",
           };
}

TEST(TallyMasterVoucherType, WithAndWithoutAlias) {
    TallyMaster master;
    std::string code;
    EXPECT_EQ(master.strVoucherType("KVZ Sales", code, "Sales"),
              Crlf(VoucherType({"<VOUCHERTYPE NAME=\"KVZ Sales\" RESERVEDNAME=\"\">", "<NAME.LIST>",
                                "<NAME>KVZ Sales</NAME>", "</NAME.LIST>"},
                               "Sales")));
    code = "KS";
    EXPECT_EQ(master.strVoucherType("KVZ Sales", code, "Sales"),
              Crlf(VoucherType({"<VOUCHERTYPE NAME=\"KVZ Sales\" RESERVEDNAME=\"\">", "<NAME.LIST>",
                                "<NAME>KVZ Sales</NAME>", "<NAME>KS</NAME>", "</NAME.LIST>"},
                               "Sales")));
}

TEST(TallyMasterVoucherType, EscapesOnlyTheAliasInPlace) {
    TallyMaster master;
    const std::string name = "R&D Sales", parent = "Sales & Returns";
    std::string code = "R&D";
    const std::string first = master.strVoucherType(name, code, parent);
    EXPECT_EQ(first, Crlf(VoucherType(
                         {"<VOUCHERTYPE NAME=\"R&amp;D Sales\" RESERVEDNAME=\"\">", "<NAME.LIST>",
                          "<NAME>R&amp;D Sales</NAME>", "<NAME>R&amp;D</NAME>", "</NAME.LIST>"},
                         "Sales &amp; Returns")));
    EXPECT_EQ(code, "R&amp;D");
    EXPECT_EQ(master.strVoucherType(name, code, parent), first);
    EXPECT_EQ(code, "R&amp;D");
}

}  // namespace
}  // namespace zentrail::testing
