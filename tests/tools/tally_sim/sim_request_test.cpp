#include <gtest/gtest.h>

#include "tally-sim/simulated_tally.h"
#include "tools/tally_sim/sim_requests.h"

namespace zentrail::sim {
namespace {

namespace rq = zentrail::testing::sim_requests;

const std::string kUnknown = "<RESPONSE>Unknown Request, cannot be processed</RESPONSE>";

std::string Counters(int created, int errors, int lastMasterId = 0) {
    return " <CREATED>" + std::to_string(created) +
           "</CREATED>\r\n <ALTERED>0</ALTERED>\r\n <DELETED>0</DELETED>\r\n"
           " <LASTVCHID>0</LASTVCHID>\r\n <LASTMID>" +
           std::to_string(lastMasterId) +
           "</LASTMID>\r\n <COMBINED>0</COMBINED>\r\n <IGNORED>0</IGNORED>\r\n <ERRORS>" +
           std::to_string(errors) +
           "</ERRORS>\r\n <CANCELLED>0</CANCELLED>\r\n"
           " <EXCEPTIONS>0</EXCEPTIONS>\r\n";
}

TEST(TallySimRequest, EmptyBodyAnswersThatTheServerRuns) {
    SimulatedTally tally;
    EXPECT_EQ(tally.HandleRequest(""), "<RESPONSE>TallyPrime Server is Running</RESPONSE>");
}

TEST(TallySimRequest, WhatIsNotAnImportEnvelopeIsAnUnknownRequest) {
    const std::string import = rq::Envelope(rq::Ledger("Freight", "Indirect Expenses"));
    auto replace = [&](const std::string& from, const std::string& to) {
        std::string text = import;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    struct Case {
        const char* name;
        std::string body;
    };
    const Case cases[] = {
        {"blank", "   "},
        {"not XML", "hello"},
        {"cut off", import.substr(0, import.size() / 2)},
        {"two roots", import + "<ENVELOPE/>"},
        {"text before the root", "hello " + import},
        {"text after the root", import + "hello"},
        {"mismatched tags", replace("</REQUESTDATA>", "</REQUESTDATUM>")},
        {"other root", replace("<ENVELOPE>", "<ENVELOP>")},
        {"export request", replace("Import Data", "Export Data")},
        {"no TALLYREQUEST", replace("<TALLYREQUEST>Import Data</TALLYREQUEST>", "")},
        {"no REQUESTDESC", replace("<REQUESTDESC>", "<REQUESTDESCX>")},
        {"no REQUESTDATA", replace("<REQUESTDATA>", "<DATA>")},
        {"REQUESTDATA outside IMPORTDATA",
         "<ENVELOPE><HEADER><TALLYREQUEST>Import Data</TALLYREQUEST></HEADER><BODY><IMPORTDATA>"
         "<REQUESTDESC/></IMPORTDATA><REQUESTDATA/></BODY></ENVELOPE>"},
    };
    for (const Case& c : cases) {
        SimulatedTally tally;
        EXPECT_EQ(tally.HandleRequest(c.body), kUnknown) << c.name;
        EXPECT_EQ(tally.BooksJson()["masters"].size(),
                  SimulatedTally().BooksJson()["masters"].size())
            << c.name << ": nothing may be imported";
    }
}

TEST(TallySimRequest, ImportAnswersLineErrorsThenCountersOnePerLine) {
    SimulatedTally tally;
    std::string body = rq::Envelope(rq::Ledger("Freight", "Indirect Expenses") +
                                    rq::Ledger("Cartage", "Carriage Group") +
                                    rq::Ledger("Freight", "Indirect Expenses"));
    int64_t nextId = tally.BooksJson()["masters"].back()["id"].get<int64_t>() + 1;
    EXPECT_EQ(tally.HandleRequest(body),
              "<RESPONSE>\r\n"
              " <LINEERROR>Group &apos;Carriage Group&apos; does not exist!</LINEERROR>\r\n"
              " <LINEERROR>Ledger &apos;Freight&apos; already exists!</LINEERROR>\r\n" +
                  Counters(1, 2, static_cast<int>(nextId)) + "</RESPONSE>\r\n");
}

TEST(TallySimRequest, CompanyIsCheckedWithoutRegardToCase) {
    struct Case {
        const char* name;
        std::string sent;
        bool accepted;
    };
    const Case cases[] = {
        {"empty means the loaded company", "", true},
        {"same name", "Kaveri Traders &amp; Co", true},
        {"other case", "KAVERI TRADERS &amp; CO", true},
        {"surrounding blanks", "  Kaveri Traders &amp; Co ", true},
        {"other company", "Kaveri Traders", false},
    };
    for (const Case& c : cases) {
        SimulatedTally tally(std::string("Kaveri Traders & Co"));
        std::string reply =
            tally.HandleRequest(rq::Envelope(rq::Ledger("Freight", "Indirect Expenses"), c.sent));
        if (c.accepted) {
            EXPECT_NE(reply.find("<CREATED>1</CREATED>"), std::string::npos) << c.name << reply;
        } else {
            EXPECT_EQ(reply,
                      "<ENVELOPE><HEADER><VERSION>1</VERSION><STATUS>0</STATUS></HEADER><BODY>"
                      "<DATA><LINEERROR>Could not set &apos;SVCurrentCompany&apos; to "
                      "&apos;Kaveri Traders&apos;</LINEERROR></DATA></BODY></ENVELOPE>")
                << c.name;
            EXPECT_EQ(tally.BooksJson()["masters"].size(),
                      SimulatedTally().BooksJson()["masters"].size())
                << "a refused request imports nothing";
        }
    }
}

TEST(TallySimRequest, CompanyNameInTheRefusalIsEscaped) {
    SimulatedTally tally;
    EXPECT_EQ(tally.HandleRequest(rq::Envelope("", "A &amp; B &lt;C&gt;")),
              "<ENVELOPE><HEADER><VERSION>1</VERSION><STATUS>0</STATUS></HEADER><BODY><DATA>"
              "<LINEERROR>Could not set &apos;SVCurrentCompany&apos; to &apos;A &amp; B "
              "&lt;C&gt;&apos;</LINEERROR></DATA></BODY></ENVELOPE>");
}

TEST(TallySimRequest, UnknownObjectsAreIgnoredAndCounted) {
    SimulatedTally tally;
    std::string reply = tally.HandleRequest(rq::Envelope(
        rq::Message("<COSTCENTRE NAME=\"North\"><NAME.LIST><NAME>North</NAME></NAME.LIST>"
                    "</COSTCENTRE>\r\n") +
        rq::Ledger("Freight", "Indirect Expenses")));
    EXPECT_NE(reply.find("<IGNORED>1</IGNORED>"), std::string::npos) << reply;
    EXPECT_NE(reply.find("<CREATED>1</CREATED>"), std::string::npos) << reply;
    EXPECT_EQ(reply.find("LINEERROR"), std::string::npos) << reply;
}

TEST(TallySimRequest, SeveralObjectsInOneMessageAreImportedOneByOne) {
    SimulatedTally tally;
    std::string reply = tally.HandleRequest(rq::Envelope(
        rq::Message("<GROUP NAME=\"Carriage\"><PARENT>Indirect Expenses</PARENT></GROUP>\r\n"
                    "<LEDGER NAME=\"Cartage\"><PARENT>Carriage</PARENT></LEDGER>\r\n"
                    "<LEDGER NAME=\"Octroi\"><PARENT>Nowhere</PARENT></LEDGER>\r\n")));
    EXPECT_NE(reply.find("<CREATED>2</CREATED>"), std::string::npos) << reply;
    EXPECT_NE(reply.find("<LINEERROR>Group &apos;Nowhere&apos; does not exist!</LINEERROR>"),
              std::string::npos)
        << reply;
}

TEST(TallySimRequest, ControlCharactersOfANameReachTheReplyAsReferences) {
    SimulatedTally tally;
    std::string reply = tally.HandleRequest(rq::Envelope(rq::Ledger("Freight", "&#4; Primary")));
    EXPECT_NE(reply.find("<LINEERROR>Group &apos;&#4; Primary&apos; does not exist!</LINEERROR>"),
              std::string::npos)
        << reply;
}

}  // namespace
}  // namespace zentrail::sim
