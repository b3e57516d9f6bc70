#include "tally/xml_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace zentrail {
namespace {

TEST(XmlLines, EveryLineEndsWithCrLf) {
    XmlLines lines;
    lines.Add("<A>")
        .Add({"<B>", "x", "</B>"})
        .Tab("<C/>")
        .Element("D", "1 & 2")
        .TabElement("E", "")
        .ElementIfAny("F", "")
        .ElementIfAny("G", "g")
        .TabElementIfAny("H", "")
        .TabElementIfAny("I", "i")
        .Append("<J>")
        .Add("</J>");
    EXPECT_EQ(lines.Take(),
              "<A>\r\n<B>x</B>\r\n\t<C/>\r\n<D>1 & 2</D>\r\n\t<E></E>\r\n<G>g</G>\r\n"
              "\t<I>i</I>\r\n<J></J>\r\n");
}

TEST(XmlLines, WritesOnToTheCallersText) {
    std::string out = "<OPEN>";
    XmlLines(out).Add("").Element("NAME", "Cash");
    AppendLine(out, {"<AMOUNT>", "-12.5", "</AMOUNT>"});
    AppendElement(out, "NAME", "");
    EXPECT_EQ(out, "<OPEN>\r\n<NAME>Cash</NAME>\r\n<AMOUNT>-12.5</AMOUNT>\r\n<NAME></NAME>\r\n");
}

}  // namespace
}  // namespace zentrail
