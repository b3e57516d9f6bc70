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
        // References to characters XML forbids are text; nothing after them is lost.
        {"Ref&#0;_1", "Ref&#0;_1", "Ref&#0;_1"},
        {"&#1; &#xD800; &#99999999; &#xFFFF; &#4;", "&#1; &#xD800; &#99999999; &#xFFFF; &#4;",
         "&#1; &#xD800; &#99999999; &#xFFFF; &#4;"},
        {"&#x1F600; &#233;", "\xF0\x9F\x98\x80 \xC3\xA9", "&#x1F600; &#233;"},
        // Characters XML forbids are dropped, then blanks trimmed.
        {"Ref\x01_1", "Ref_1", "Ref_1"},
        {std::string("Nul\0_2 \x1F", 8), "Nul_2", "Nul_2"},
        {"Bell\x07 \x02 ", "Bell", "Bell"},
        {"U\xEF\xBF\xBE+\xEF\xBF\xBF"
         "FFFF",
         "U+FFFF", "U+FFFF"},
        // Bytes that are not UTF-8 (here Windows-1252 and a surrogate) are dropped.
        {"Caf\xE9 Stores", "Caf Stores", "Caf Stores"},
        {"\xED\xA0\x80"
         "A\xC0\xAF"
         "B\xFF",
         "AB", "AB"},
        {"\xF0\x9F\x98\x80 Mart & \xE2\x82\xB9", "\xF0\x9F\x98\x80 Mart & \xE2\x82\xB9",
         "\xF0\x9F\x98\x80 Mart & \xE2\x82\xB9"},
    };
    const std::string plain(1000, 'N');
    const std::string mixed = Cycle("A&'\"<>é ", 1000);
    cases.push_back({plain, plain, plain});
    cases.push_back({mixed, mixed, mixed});
    // A 100 KB name of every kind of piece above; what Tally reads is the kept pieces.
    const std::string_view pieces[] = {"A",    "&",  "\x01", "\xF0\x9F\x98\x80",
                                       "\xE9", "<",  "&#0;", "\xEF\xBF\xBE",
                                       "'",    "\"", "\t",   "\xC3\xA9"};
    std::string huge, hugeRead;
    for (size_t i = 0; huge.size() < 100 * 1024; ++i) {
        const std::string_view piece = pieces[i % std::size(pieces)];
        huge += piece;
        if (piece != "\x01" && piece != "\xE9" && piece != "\xEF\xBF\xBE") hugeRead += piece;
    }
    huge = "N" + huge + "N";
    hugeRead = "N" + hugeRead + "N";
    cases.push_back({huge, hugeRead, hugeRead});
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

// The start of a text, for failure messages of 100 KB names.
std::string Short(const std::string& text) { return text.substr(0, 60); }

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
        ASSERT_TRUE(ParseRequest(master, h, fragment, doc)) << Short(t);
        EXPECT_EQ(Text(doc, "//LEDGER/@NAME"), h.once) << Short(t);
        EXPECT_EQ(Texts(doc, "//LEDGER/NAME.LIST/NAME"), NameList(h.once, {h.once, h.once, h.once}))
            << Short(t);
        EXPECT_EQ(Text(doc, "//LEDGER/PARENT"), h.once) << Short(t);
        EXPECT_EQ(Text(doc, "//LEDGER/PARTYGSTIN"), "27ABCDE1234F1Z5" + h.once) << Short(t);
        EXPECT_EQ(Text(doc, "//LEDGER/STATENAME"), h.once.empty() ? "(missing)" : h.once)
            << Short(t);
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
        ASSERT_TRUE(ParseRequest(master, h, fragment, doc)) << Short(h.text);
        EXPECT_EQ(Text(doc, "//LEDGER/@NAME"), h.once) << Short(h.text);
        EXPECT_EQ(Texts(doc, "//LEDGER/NAME.LIST/NAME"), NameList(h.once, {h.once}))
            << Short(h.text);
        EXPECT_EQ(Text(doc, "//LEDGER/PARENT"), h.once) << Short(h.text);
        EXPECT_EQ(Text(doc, "//GSTDETAILS.LIST/HSNCODE"), h.once) << Short(h.text);
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
        ASSERT_TRUE(ParseRequest(master, h, fragment, doc)) << Short(t);
        EXPECT_EQ(Text(doc, "//UNIT/@NAME"), h.once) << Short(t);
        EXPECT_EQ(Text(doc, "//UNIT/NAME"), h.once) << Short(t);
        EXPECT_EQ(Text(doc, "//STOCKITEM/@NAME"), h.always) << Short(t);
        EXPECT_EQ(Texts(doc, "//STOCKITEM/NAME.LIST/NAME"),
                  NameList(h.always, {h.once, h.always, h.once}))
            << Short(t);
        EXPECT_EQ(Text(doc, "//STOCKITEM/GUID"), "44756338-2c49-4454-aa10-adf0c49a94dc-" + h.once)
            << Short(t);
        EXPECT_EQ(Text(doc, "//STOCKITEM/PARENT"), h.once) << Short(t);
        EXPECT_EQ(Text(doc, "//STOCKITEM/BASEUNITS"), h.once) << Short(t);
        EXPECT_EQ(Text(doc, "//STOCKITEM/GSTDETAILS.LIST/HSNCODE"), h.once) << Short(t);
    }
}

TEST(TallyMasterHostileText, VoucherTypeAndStockGroup) {
    TallyMaster master;
    for (const Hostile& h : HostileTexts()) {
        std::string code = h.text, group = h.text, parent = h.text;
        const std::string fragment =
            master.strVoucherType(h.text, code, h.text) + master.strItemGroup(group, parent);
        pugi::xml_document doc;
        ASSERT_TRUE(ParseRequest(master, h, fragment, doc)) << Short(h.text);
        EXPECT_EQ(Text(doc, "//VOUCHERTYPE/@NAME"), h.once) << Short(h.text);
        EXPECT_EQ(Texts(doc, "//VOUCHERTYPE/NAME.LIST/NAME"), NameList(h.once, {h.once}))
            << Short(h.text);
        EXPECT_EQ(Text(doc, "//VOUCHERTYPE/PARENT"), h.once) << Short(h.text);
        EXPECT_EQ(Text(doc, "//STOCKGROUP/@NAME"), h.always) << Short(h.text);
        EXPECT_EQ(Texts(doc, "//STOCKGROUP/NAME.LIST/NAME"), std::vector<std::string>{h.always})
            << Short(h.text);
        EXPECT_EQ(Text(doc, "//STOCKGROUP/PARENT"), h.always.empty() ? "(missing)" : h.always)
            << Short(h.text);
    }
}

}  // namespace
}  // namespace zentrail::testing
