#include <gtest/gtest.h>

#include <pugixml.hpp>

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
        {"&#4; Applicable", "&#4; Applicable"},
        {"&#x1F; and &#; and &#x; and &#12a;", "&#x1F; and &amp;#; and &amp;#x; and &amp;#12a;"},
        {"R&D", "R&amp;D"},
        {"apos; alone", "apos; alone"},
        {"\tTab kept\t", "\tTab kept\t"},
        {"Café Müller", "Café Müller"},
        {"&", "&amp;"},
        {"&amp", "&amp;amp"},
    };
    for (const Case& c : cases) {
        std::string once = Builder::strXmlText(c.in);
        EXPECT_EQ(once, c.out) << c.in;
        EXPECT_EQ(Builder::strXmlText(once), once) << "escaping again changes nothing: " << c.in;
        std::string doc = "<X>" + once + "</X>";
        pugi::xml_document parsed;
        EXPECT_TRUE(parsed.load_string(doc.c_str())) << once;
    }
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
    };
    for (const Case& c : cases) {
        std::string variable = c.in;
        EXPECT_EQ(XmlEscape(variable), c.out) << c.in;
        EXPECT_EQ(variable, c.out) << c.in;
    }
    std::string twice = "A&B";
    XmlEscape(twice);
    XmlEscape(twice);
    EXPECT_EQ(twice, "A&amp;amp;B");
}

}  // namespace
}  // namespace zentrail
