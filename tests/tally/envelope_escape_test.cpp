#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "support/tally_xml_check.h"
#include "tally/tally_builder.h"
#include "tally/xml_escape.h"

namespace zentrail {
namespace {

class Builder : public TallyBuilder {
public:
    using TallyBuilder::strXmlText;
};

TEST(Envelope, EmptyPayloadIsTheSeventeenLines) {
    Builder builder;
    std::string report = "Vouchers";
    std::string request = builder.strTopMaster(report, "") + builder.strBottom();
    EXPECT_EQ(request,
              "<ENVELOPE>\r\n"
              "<HEADER>\r\n"
              "<TALLYREQUEST>Import Data</TALLYREQUEST>\r\n"
              "</HEADER>\r\n"
              "<BODY>\r\n"
              "<IMPORTDATA>\r\n"
              "<REQUESTDESC>\r\n"
              "<REPORTNAME>Vouchers</REPORTNAME>\r\n"
              "<STATICVARIABLES>\r\n"
              "<SVCURRENTCOMPANY></SVCURRENTCOMPANY>\r\n"
              "</STATICVARIABLES>\r\n"
              "</REQUESTDESC>\r\n"
              "<REQUESTDATA>\r\n"
              "</REQUESTDATA>\r\n"
              "</IMPORTDATA>\r\n"
              "</BODY>\r\n"
              "</ENVELOPE>\r\n");
}

TEST(Envelope, EmptyReportNameBecomesAllMastersInTheCallersVariable) {
    Builder builder;
    std::string report;
    std::string top = builder.strTopMaster(report, "ACME");
    EXPECT_EQ(report, "All Masters");
    EXPECT_NE(top.find("<REPORTNAME>All Masters</REPORTNAME>\r\n"), std::string::npos);
}

TEST(Envelope, CompanyNameIsEscapedOnce) {
    Builder builder;
    std::string report = "Vouchers";
    EXPECT_NE(builder.strTopMaster(report, " Shah & Sons ")
                  .find("<SVCURRENTCOMPANY>Shah &amp; Sons</SVCURRENTCOMPANY>\r\n"),
              std::string::npos);
    EXPECT_NE(builder.strTopMaster(report, "Shah &amp; Sons")
                  .find("<SVCURRENTCOMPANY>Shah &amp; Sons</SVCURRENTCOMPANY>\r\n"),
              std::string::npos);
}

TEST(Escape, XmlTextIsSoundAndIdempotent) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"", ""},
        {"   ", ""},
        {"  a < b  ", "a &lt; b"},
        {"Shah & Sons", "Shah &amp; Sons"},
        {"O'Brien \"Best\" <Store>", "O&apos;Brien &quot;Best&quot; &lt;Store&gt;"},
        {"Shah &amp; Sons", "Shah &amp; Sons"},
        {"&amp; and <", "&amp; and &lt;"},  // a kept entity does not let a "<" through
        {"&AMP; Co", "&amp;AMP; Co"},       // not an entity of XML
        {"&lt;&gt;&quot;&apos;", "&lt;&gt;&quot;&apos;"},
        {"&#233;t&#xE9; &#x1F600;", "&#233;t&#xE9; &#x1F600;"},
        // A reference to a character XML forbids is text, so nothing after it is lost.
        {"&#4; Applicable", "&amp;#4; Applicable"},
        {"&#x1F; and &#; and &#x; and &#12a;",
         "&amp;#x1F; and &amp;#; and &amp;#x; and &amp;#12a;"},
        {"Ref&#0;_1", "Ref&amp;#0;_1"},
        {"&#1;&#xD800;&#xDFFF;&#xFFFE;&#xFFFF;&#x110000;&#99999999;&#4294967305;",
         "&amp;#1;&amp;#xD800;&amp;#xDFFF;&amp;#xFFFE;&amp;#xFFFF;&amp;#x110000;&amp;#99999999;"
         "&amp;#4294967305;"},
        {"&#9;&#xA;&#13;&#xD7FF;&#xE000;&#xFFFD;&#x10000;&#x10FFFF;",
         "&#9;&#xA;&#13;&#xD7FF;&#xE000;&#xFFFD;&#x10000;&#x10FFFF;"},
        // Characters XML forbids are dropped; what remains is trimmed.
        {"Ref\x01_1", "Ref_1"},
        {"\x01 Ref \x1F", "Ref"},
        {"A\x02\x03\x04\x05\x06\x07\x08\x0B\x0C\x0E\x0F\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19"
         "\x1A\x1B\x1C\x1D\x1E\x1F"
         "B",
         "AB"},
        {"Line\nand\rtab\t\x7F\xC2\x85", "Line&#10;and&#13;tab&#9;\x7F\xC2\x85"},
        {"No\xEF\xBF\xBEn\xEF\xBF\xBF"
         "char",
         "Nonchar"},
        // Bytes that are not UTF-8: a Windows-1252 "é", overlong "/", a surrogate, a cut end.
        {"Caf\xE9 Stores", "Caf Stores"},
        {"a\xC0\xAF"
         "b\xED\xA0\x80"
         "c\xF4\x90\x80\x80"
         "d\x80\xBF"
         "e\xE2\x82",
         "abcde"},
        {"\xF0\x9F\x98\x80 Mart \xE2\x82\xB9", "\xF0\x9F\x98\x80 Mart \xE2\x82\xB9"},
        {"R&D", "R&amp;D"},
        {"apos; alone", "apos; alone"},
        {"\tTab kept\t", "&#9;Tab kept&#9;"},
        {"Café Müller", "Café Müller"},
        {"&", "&amp;"},
        {"&amp", "&amp;amp"},
    };
    for (const Case& c : cases) {
        std::string once = Builder::strXmlText(c.in);
        EXPECT_EQ(once, c.out) << c.in;
        EXPECT_EQ(Builder::strXmlText(once), once) << "escaping again changes nothing: " << c.in;
        pugi::xml_document parsed;
        EXPECT_TRUE(testing::ParsesAsXml(once, parsed)) << c.in;
    }
}

TEST(Escape, NulInsideTheTextIsDropped) {
    const std::string withNul("Ref\0_1", 6);
    EXPECT_EQ(Builder::strXmlText(withNul), "Ref_1");
    std::string variable = withNul;
    EXPECT_EQ(XmlEscape(variable), "Ref_1");
}

TEST(Escape, OrdinaryTextComesBackByteForByte) {
    std::string all;
    for (int c = 0x21; c < 0x7F; ++c)
        if (std::string_view("&'\"<>").find(static_cast<char>(c)) == std::string_view::npos)
            all += static_cast<char>(c);
    all += " \xC3\xA9\xE0\xAE\x9A\xEF\xBF\xBD\xF4\x8F\xBF\xBF";
    EXPECT_EQ(KeepXmlChars(all), all);
    EXPECT_EQ(Builder::strXmlText(all), all);
}

TEST(Escape, XmlTextLeavesTheArgumentAlone) {
    std::string text = " a&b ";
    Builder::strXmlText(text);
    EXPECT_EQ(text, " a&b ");
}

TEST(Escape, XmlEscapeAlwaysEscapesAndRewritesItsArgument) {
    struct Case {
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {"  a & b  ", "a &amp; b"},
        {"Shah &amp; Sons", "Shah &amp;amp; Sons"},
        {"'\"<>", "&apos;&quot;&lt;&gt;"},
        {"", ""},
        {"Ref&#0;_1", "Ref&amp;#0;_1"},
        {"\x01 Ref\x1F_1 \xEF\xBF\xBF", "Ref_1"},
        {"Caf\xE9 \xED\xA0\x80Stores", "Caf Stores"},
        {"\xF0\x9F\x98\x80 &#x1F600;", "\xF0\x9F\x98\x80 &amp;#x1F600;"},
    };
    for (const Case& c : cases) {
        std::string variable = c.in;
        EXPECT_EQ(XmlEscape(variable), c.out) << c.in;
        EXPECT_EQ(variable, c.out) << c.in;
        pugi::xml_document parsed;
        EXPECT_TRUE(testing::ParsesAsXml(variable, parsed)) << c.in;
    }
    std::string twice = "A&B";
    XmlEscape(twice);
    XmlEscape(twice);
    EXPECT_EQ(twice, "A&amp;amp;B");
}

}  // namespace
}  // namespace zentrail
