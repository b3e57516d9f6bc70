#include "tally/tally_exchange.h"

#include <gtest/gtest.h>

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
};

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
         "\r\nCould not set 'SVCurrentCompany' to 'Nobody'"},
        {"master counters only", Reply("<RESPONSE><CREATED>3</CREATED></RESPONSE>"),
         RequestForm::Master, Outcome::Accepted, ""},
        {"http 500", Reply("<RESPONSE><CREATED>1</CREATED></RESPONSE>", 500), RequestForm::Voucher,
         Outcome::NotSent, "Tally answered with HTTP status 500"},
        {"not xml", Reply("garbage"), RequestForm::Voucher, Outcome::NotSent,
         "The reply is not XML: garbage"},
        {"nothing listening",
         {S::NotConnected, 0, "", "refused"},
         RequestForm::Voucher,
         Outcome::NotSent,
         "Tally Server is Not Running",
         true},
        {"timed out",
         {S::Failed, 0, "", "No reply within 120 s"},
         RequestForm::Master,
         Outcome::NotSent,
         "No reply within 120 s",
         true},
        {"interrupted",
         {S::Interrupted, 0, "", "Stopped during the exchange"},
         RequestForm::Voucher,
         Outcome::Stopped,
         "Stopped during the exchange"},
    };
    for (const ExchangeCase& c : cases) {
        ExchangeResult result = ClassifyExchange(c.http, c.form);
        EXPECT_EQ(result.outcome, c.outcome) << c.name;
        EXPECT_EQ(result.message, c.message) << c.name;
        EXPECT_EQ(result.transportFailure, c.transportFailure) << c.name;
    }
}

}  // namespace
}  // namespace zentrail
