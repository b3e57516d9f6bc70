#include "tally/tally_exchange.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace zentrail {
namespace {

HttpResult Reply(std::string body, long code = 200) {
    return {HttpResult::Status::Ok, code, std::move(body), ""};
}

struct ExchangeCase {
    const char* name;
    HttpResult http;
    RequestForm form;
    Outcome outcome;
    std::string message;
    bool transportFailure = false;
    bool companyNotOpen = false;
};

// A page that is not XML, with terminal controls and more than 200 characters.
std::string LongControlPage() {
    std::string page = "\x1B[2J<html>\r\n";
    for (int i = 0; i < 300; ++i) page += "\xC3\xA9";
    return page;
}

// What an operator reads of it: printable, a line break as one blank, cut after 200
// characters and never inside one.
std::string LongControlPageQuoted() {
    std::string quoted = "[2J<html> ";
    for (int i = 0; i < 190; ++i) quoted += "\xC3\xA9";
    return quoted;
}

TEST(TallyExchange, EveryReplyEndsInOneOutcome) {
    using S = HttpResult::Status;
    const ExchangeCase cases[] = {
        {"created", Reply("<RESPONSE><CREATED>1</CREATED><ERRORS>0</ERRORS></RESPONSE>"),
         RequestForm::Voucher, Outcome::Accepted, ""},
        {"cancelled", Reply("<RESPONSE><CANCELLED>1</CANCELLED></RESPONSE>"), RequestForm::Voucher,
         Outcome::Accepted, ""},
        {"altered", Reply("<RESPONSE><CREATED>0</CREATED><ALTERED>1</ALTERED></RESPONSE>"),
         RequestForm::Voucher, Outcome::AlreadyInTally, ""},
        {"errors counted without a line",
         Reply("<RESPONSE><CREATED>0</CREATED><ERRORS>1</ERRORS></RESPONSE>"), RequestForm::Voucher,
         Outcome::TallyError, "\r\nTally reported 1 error"},
        {"errors and exceptions",
         Reply("<RESPONSE><CREATED>1</CREATED><ERRORS>2</ERRORS><EXCEPTIONS>1</EXCEPTIONS>"
               "</RESPONSE>"),
         RequestForm::Voucher, Outcome::TallyError, "\r\nTally reported 2 errors and 1 exception"},
        {"nothing done", Reply("<RESPONSE><CREATED>0</CREATED><ERRORS>0</ERRORS></RESPONSE>"),
         RequestForm::Voucher, Outcome::TallyError,
         "\r\nTally reported nothing created, altered, combined or cancelled"},
        {"line errors",
         Reply("<RESPONSE><LINEERROR>Ledger 'X' does not exist!</LINEERROR>"
               "<LINEERROR>Second</LINEERROR><ERRORS>2</ERRORS></RESPONSE>"),
         RequestForm::Voucher, Outcome::TallyError, "\r\nLedger 'X' does not exist!\r\nSecond"},
        {"voucher that already exists is an error",
         Reply("<RESPONSE><LINEERROR>Voucher already exists</LINEERROR><ERRORS>1</ERRORS>"
               "</RESPONSE>"),
         RequestForm::Voucher, Outcome::TallyError, "\r\nVoucher already exists"},
        {"master that already exists",
         Reply("<RESPONSE><LINEERROR>Ledger 'Cash' already exists</LINEERROR>"
               "<LINEERROR>Group 'KVZ' already exists</LINEERROR><ERRORS>2</ERRORS></RESPONSE>"),
         RequestForm::Master, Outcome::AlreadyInTally, ""},
        {"master refused beside one that exists",
         Reply("<RESPONSE><LINEERROR>Ledger 'Cash' already exists</LINEERROR>"
               "<LINEERROR>Unit 'PC' does not exist!</LINEERROR><ERRORS>2</ERRORS></RESPONSE>"),
         RequestForm::Master, Outcome::TallyError,
         "\r\nLedger 'Cash' already exists\r\nUnit 'PC' does not exist!"},
        {"wrong company",
         Reply("<RESPONSE><LINEERROR>Could not set 'SVCurrentCompany' to 'Nobody'</LINEERROR>"
               "</RESPONSE>"),
         RequestForm::Master, Outcome::TallyError,
         "\r\nCould not set 'SVCurrentCompany' to 'Nobody'", false, true},
        {"wrong company, in an envelope with entities",
         Reply("<ENVELOPE><HEADER><VERSION>1</VERSION><STATUS>0</STATUS></HEADER><BODY><DATA>"
               "<LINEERROR>Could not set &apos;SVCurrentCompany&apos; to &apos;ACME&apos;"
               "</LINEERROR></DATA></BODY></ENVELOPE>"),
         RequestForm::Voucher, Outcome::TallyError,
         "\r\nCould not set 'SVCurrentCompany' to 'ACME'", false, true},
        {"counters between blanks and line breaks",
         Reply("<RESPONSE>\r\n <CREATED>1</CREATED>\r\n <ERRORS>0</ERRORS>\r\n</RESPONSE>"),
         RequestForm::Voucher, Outcome::Accepted, ""},
        {"master that already exists, then nothing altered",
         Reply("<RESPONSE><LINEERROR>X already exists</LINEERROR><ALTERED>0</ALTERED></RESPONSE>"),
         RequestForm::Master, Outcome::AlreadyInTally, ""},
        {"master: \"already exists\" is matched in its own case",
         Reply("<RESPONSE><LINEERROR>Already Exists</LINEERROR><ERRORS>1</ERRORS></RESPONSE>"),
         RequestForm::Master, Outcome::TallyError, "\r\nAlready Exists"},
        {"master: more errors counted than lines that already exist",
         Reply("<RESPONSE><LINEERROR>Ledger 'Cash' already exists</LINEERROR><ERRORS>2</ERRORS>"
               "</RESPONSE>"),
         RequestForm::Master, Outcome::TallyError, "\r\nLedger 'Cash' already exists"},
        {"master: already exists beside an exception",
         Reply("<RESPONSE><LINEERROR>Ledger 'Cash' already exists</LINEERROR><ERRORS>1</ERRORS>"
               "<EXCEPTIONS>1</EXCEPTIONS></RESPONSE>"),
         RequestForm::Master, Outcome::TallyError, "\r\nLedger 'Cash' already exists"},
        {"master counters only", Reply("<RESPONSE><CREATED>3</CREATED></RESPONSE>"),
         RequestForm::Master, Outcome::Accepted, ""},
        // A reply that is no import result does not say what Tally did with the request.
        {"http 500", Reply("<RESPONSE><CREATED>1</CREATED></RESPONSE>", 500), RequestForm::Voucher,
         Outcome::Unconfirmed, "Tally answered with HTTP status 500"},
        {"not xml", Reply("garbage"), RequestForm::Voucher, Outcome::Unconfirmed,
         "The reply is not XML: garbage"},
        {"empty reply", Reply(""), RequestForm::Master, Outcome::Unconfirmed,
         "The reply is not XML: (empty reply)"},
        {"long page with controls", Reply(LongControlPage()), RequestForm::Voucher,
         Outcome::Unconfirmed, "The reply is not XML: " + LongControlPageQuoted()},
        {"nothing listening",
         {S::NotConnected, 0, "", "refused"},
         RequestForm::Voucher,
         Outcome::NotSent,
         "Tally Server is Not Running",
         true},
        {"broken before the whole request went out",
         {S::Failed, 0, "", "Connection reset", "", false},
         RequestForm::Voucher,
         Outcome::NotSent,
         "Connection reset",
         true},
        {"timed out after the request went out",
         {S::Failed, 0, "", "No reply within 120 s", "", true},
         RequestForm::Master,
         Outcome::Unconfirmed,
         "No reply within 120 s",
         true},
        {"stopped before the request went out",
         {S::Interrupted, 0, "", "Stopped during the exchange", "", false},
         RequestForm::Voucher,
         Outcome::Stopped,
         "Stopped during the exchange"},
        {"stopped while the reply was awaited",
         {S::Interrupted, 0, "", "Stopped during the exchange", "", true},
         RequestForm::Voucher,
         Outcome::Unconfirmed,
         "Stopped during the exchange"},
    };
    for (const ExchangeCase& c : cases) {
        ExchangeResult result = ClassifyExchange(c.http, c.form);
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(result.message, c.message) << c.name;
        EXPECT_EQ(result.transportFailure, c.transportFailure) << c.name;
        EXPECT_EQ(result.companyNotOpen, c.companyNotOpen) << c.name;
    }
}

// Records what it is given and answers one scripted reply.
struct ScriptedTransport : TallyTransport {
    HttpResult Post(const std::string& url, const std::string& body, std::string_view contentType,
                    const std::atomic<bool>* stop) override {
        urls.push_back(url);
        bodies.push_back(body);
        contentTypes.emplace_back(contentType);
        stops.push_back(stop);
        return Reply("<RESPONSE><LINEERROR>scripted</LINEERROR></RESPONSE>");
    }
    HttpResult Get(const std::string&, const std::atomic<bool>*) override { return {}; }
    std::vector<std::string> urls, bodies, contentTypes;
    std::vector<const std::atomic<bool>*> stops;
};

TEST(TallyExchange, SendsTheRequestUnchangedToTheAddressGivenOrTheLocalDefault) {
    const std::string request = "<ENVELOPE>\r\n<HEADER>\r\n</HEADER>\r\n</ENVELOPE>\r\n";
    ScriptedTransport transport;
    std::atomic<bool> stop{false};
    ExchangeResult sent =
        ExchangeWithTally(transport, "http://tally:9000", request, RequestForm::Voucher, &stop);
    EXPECT_EQ(sent.outcome, Outcome::TallyError);
    EXPECT_EQ(sent.message, "\r\nscripted");
    ExchangeWithTally(transport, "", request, RequestForm::Master, nullptr);
    EXPECT_EQ(transport.urls,
              (std::vector<std::string>{"http://tally:9000", "http://localhost:9000"}));
    EXPECT_EQ(transport.bodies, (std::vector<std::string>{request, request}));
    EXPECT_EQ(transport.stops, (std::vector<const std::atomic<bool>*>{&stop, nullptr}));
}

}  // namespace
}  // namespace zentrail
