// Any text a source database may hold must give well-formed requests that name the masters as
// the text says.

#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "support/tally_xml_check.h"
#include "tally/masters/tally_master.h"
#include "tally/xml_escape.h"

namespace zentrail::testing {
namespace {

struct Hostile {
    std::string text;
    std::string once;    // what Tally reads after strXmlText (existing entities kept)
    std::string always;  // what Tally reads after XmlEscape (every "&" escaped)
};

std::string Cycle(std::string_view alphabet, size_t length) {
    std::string text;
    for (size_t i = 0; i < length; ++i) text += alphabet[i % alphabet.size()];
    return text;
}

std::vector<Hostile> HostileTexts() {
    std::vector<Hostile> cases = {
        {"A & B", "A & B", "A & B"},
        {"&", "&", "&"},
        {"O'Brien's", "O'Brien's", "O'Brien's"},
        {"6\" Pipe \"Heavy\"", "6\" Pipe \"Heavy\"", "6\" Pipe \"Heavy\""},
        {"<script>", "<script>", "<script>"},
        {"a > b < c", "a > b < c", "a > b < c"},
        {"]]> <!-- --> <![CDATA[", "]]> <!-- --> <![CDATA[", "]]> <!-- --> <![CDATA["},
        {"A &amp; B", "A & B", "A &amp; B"},
        {"&lt;b&gt; &quot;x&quot; &apos;y&apos;", "<b> \"x\" 'y'",
         "&lt;b&gt; &quot;x&quot; &apos;y&apos;"},
        {"&#38; &#x26;", "& &", "&#38; &#x26;"},
        {"AT&T &amp; Co", "AT&T & Co", "AT&T &amp; Co"},
        {"&AMP; &Apos;", "&AMP; &Apos;", "&AMP; &Apos;"},
        {"&amp &#; &#xZZ; &nbsp;", "&amp &#; &#xZZ; &nbsp;", "&amp &#; &#xZZ; &nbsp;"},
        {"Müller & Söhne", "Müller & Söhne", "Müller & Söhne"},
        {"Śrī Gaṇeśa Traders", "Śrī Gaṇeśa Traders", "Śrī Gaṇeśa Traders"},
        {"சென்னை ஸ்டோர்ஸ்", "சென்னை ஸ்டோர்ஸ்", "சென்னை ஸ்டோர்ஸ்"},
        {"  padded & blank  ", "padded & blank", "padded & blank"},
        {"", "", ""},
    };
    const std::string plain(1000, 'N');
    const std::string mixed = Cycle("A&'\"<>é ", 1000);
    cases.push_back({plain, plain, plain});
    cases.push_back({mixed, mixed, mixed});
    return cases;
}

// Wraps the fragment in the envelope, parses it and checks the company survived too.
::testing::AssertionResult ParseRequest(TallyMaster& master, const Hostile& h,
                                        const std::string& fragment, pugi::xml_document& doc) {
    std::string report = "Vouchers";
    const std::string request = master.strTopMaster(report, h.text) + fragment + master.strBottom();
    ::testing::AssertionResult parsed = ParsesAsXml(request, doc);
    if (!parsed) return parsed;
    const std::string company = doc.select_node("//SVCURRENTCOMPANY").node().child_value();
    if (company != h.once) return ::testing::AssertionFailure() << "company read as " << company;
    return ::testing::AssertionSuccess();
}

std::vector<std::string> Texts(const pugi::xml_document& doc, const char* path) {
    std::vector<std::string> texts;
    for (pugi::xpath_node hit : doc.select_nodes(path)) texts.push_back(hit.node().child_value());
    return texts;
}

std::string Text(const pugi::xml_document& doc, const char* path) {
    pugi::xpath_node hit = doc.select_node(path);
    if (hit.attribute()) return hit.attribute().value();
    return hit.node() ? hit.node().child_value() : "(missing)";
}

// The first name followed by the aliases that are not empty.
std::vector<std::string> NameList(const std::string& name, std::vector<std::string> aliases) {
    std::vector<std::string> names = {name};
    for (std::string& alias : aliases)
        if (!alias.empty()) names.push_back(std::move(alias));
    return names;
}

TEST(TallyMasterHostileText, LedgerAccount) {
    TallyMaster master;
    for (const Hostile& h : HostileTexts()) {
        const std::string& t = h.text;
        std::string name = t, code = t, parent = t, code1 = t, code2 = t;
        const std::string fragment =
            master.strLedgerAcc(name, code, parent, t, t, t, t, t, t, t, t, t, t, t, t, t, t, t,
                                true, code1, code2, "27ABCDE1234F1Z5" + TrimBlanks(t), t, false, t);
        pugi::xml_document doc;
        ASSERT_TRUE(ParseRequest(master, h, fragment, doc)) << t;
        EXPECT_EQ(Text(doc, "//LEDGER/@NAME"), h.once) << t;
        EXPECT_EQ(Texts(doc, "//LEDGER/NAME.LIST/NAME"), NameList(h.once, {h.once, h.once, h.once}))
            << t;
        EXPECT_EQ(Text(doc, "//LEDGER/PARENT"), h.once) << t;
        EXPECT_EQ(Text(doc, "//LEDGER/PARTYGSTIN"), "27ABCDE1234F1Z5" + h.once) << t;
        EXPECT_EQ(Text(doc, "//LEDGER/STATENAME"), h.once.empty() ? "(missing)" : h.once) << t;
    }
}

TEST(TallyMasterHostileText, SalesLedger) {
    TallyMaster master;
    for (const Hostile& h : HostileTexts()) {
        std::string name = h.text, code = h.text, parent = h.text;
        double rate = 9;
        const std::string fragment =
            master.strLedSalesAcc(name, code, parent, h.text, h.text, rate, rate, rate);
        pugi::xml_document doc;
        ASSERT_TRUE(ParseRequest(master, h, fragment, doc)) << h.text;
        EXPECT_EQ(Text(doc, "//LEDGER/@NAME"), h.once) << h.text;
        EXPECT_EQ(Texts(doc, "//LEDGER/NAME.LIST/NAME"), NameList(h.once, {h.once})) << h.text;
        EXPECT_EQ(Text(doc, "//LEDGER/PARENT"), h.once) << h.text;
        EXPECT_EQ(Text(doc, "//GSTDETAILS.LIST/HSNCODE"), h.once) << h.text;
    }
}

TEST(TallyMasterHostileText, UnitAndStockItem) {
    TallyMaster master;
    for (const Hostile& h : HostileTexts()) {
        const std::string& t = h.text;
        std::string unit = t, code1 = t;
        double rate = 9;
        master.strGSTSetup = master.strItemGSTRate(rate, rate, rate, t, t);
        const std::string fragment =
            master.strNewUnit(unit) + master.strItemCreate(t, t, t, t, code1, t);
        pugi::xml_document doc;
        ASSERT_TRUE(ParseRequest(master, h, fragment, doc)) << t;
        EXPECT_EQ(Text(doc, "//UNIT/@NAME"), h.once) << t;
        EXPECT_EQ(Text(doc, "//UNIT/NAME"), h.once) << t;
        EXPECT_EQ(Text(doc, "//STOCKITEM/@NAME"), h.always) << t;
        EXPECT_EQ(Texts(doc, "//STOCKITEM/NAME.LIST/NAME"),
                  NameList(h.always, {h.once, h.always, h.once}))
            << t;
        EXPECT_EQ(Text(doc, "//STOCKITEM/GUID"), "44756338-2c49-4454-aa10-adf0c49a94dc-" + h.once)
            << t;
        EXPECT_EQ(Text(doc, "//STOCKITEM/PARENT"), h.once) << t;
        EXPECT_EQ(Text(doc, "//STOCKITEM/BASEUNITS"), h.once) << t;
        EXPECT_EQ(Text(doc, "//STOCKITEM/GSTDETAILS.LIST/HSNCODE"), h.once) << t;
    }
}

TEST(TallyMasterHostileText, VoucherTypeAndStockGroup) {
    TallyMaster master;
    for (const Hostile& h : HostileTexts()) {
        std::string code = h.text, group = h.text, parent = h.text;
        const std::string fragment =
            master.strVoucherType(h.text, code, h.text) + master.strItemGroup(group, parent);
        pugi::xml_document doc;
        ASSERT_TRUE(ParseRequest(master, h, fragment, doc)) << h.text;
        EXPECT_EQ(Text(doc, "//VOUCHERTYPE/@NAME"), h.once) << h.text;
        EXPECT_EQ(Texts(doc, "//VOUCHERTYPE/NAME.LIST/NAME"), NameList(h.once, {h.once})) << h.text;
        EXPECT_EQ(Text(doc, "//VOUCHERTYPE/PARENT"), h.once) << h.text;
        EXPECT_EQ(Text(doc, "//STOCKGROUP/@NAME"), h.always) << h.text;
        EXPECT_EQ(Texts(doc, "//STOCKGROUP/NAME.LIST/NAME"), std::vector<std::string>{h.always})
            << h.text;
        EXPECT_EQ(Text(doc, "//STOCKGROUP/PARENT"), h.always.empty() ? "(missing)" : h.always)
            << h.text;
    }
}

}  // namespace
}  // namespace zentrail::testing
