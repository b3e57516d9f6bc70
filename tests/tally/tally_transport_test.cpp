#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/test_http_server.h"
#include "tally/http_client.h"
#include "tally/tally_builder.h"

namespace zentrail {
namespace {

using testing::CannedHttpServer;
using testing::RawReplyServer;

const std::string kRequest = "<ENVELOPE>\r\n<HEADER>\r\n</HEADER>\r\n</ENVELOPE>\r\n";

// The builders expose the exchange; any of them serves for the transport.
class Builder : public TallyBuilder {};

struct VoucherCase {
    const char* name;
    std::string reply;
    bool result;
    std::string message;  // exact message on True; a required part on False
};

TEST(TallyTransport, VoucherFormClassifiesReplies) {
    const VoucherCase cases[] = {
        {"counters only",
         "<RESPONSE>\r\n <CREATED>1</CREATED>\r\n <ERRORS>0</ERRORS>\r\n</RESPONSE>", true, ""},
        {"two line errors",
         "<RESPONSE><LINEERROR>Ledger 'X' does not exist!</LINEERROR><LINEERROR>Second</LINEERROR>"
         "<CREATED>0</CREATED><ERRORS>2</ERRORS></RESPONSE>",
         true, "\r\nLedger 'X' does not exist!\r\nSecond"},
        {"envelope shape",
         "<ENVELOPE><HEADER><VERSION>1</VERSION><STATUS>1</STATUS></HEADER><BODY><DATA>"
         "<IMPORTRESULT><CREATED>1</CREATED><ERRORS>0</ERRORS></IMPORTRESULT></DATA></BODY></"
         "ENVELOPE>",
         true, ""},
        {"rejected company",
         "<ENVELOPE><HEADER><VERSION>1</VERSION><STATUS>0</STATUS></HEADER><BODY><DATA><LINEERROR>"
         "Could not set &apos;SVCurrentCompany&apos; to &apos;ACME&apos;</LINEERROR></DATA></BODY>"
         "</ENVELOPE>",
         true, "\r\nCould not set 'SVCurrentCompany' to 'ACME'"},
        {"not XML", "<html><body>It works!</body>", false, "<html><body>It works!</body>"},
        {"empty body", "", false, "(empty reply)"},
        {"XML but no import result", "<RESPONSE>Unknown Request, cannot be processed</RESPONSE>",
         false, "<RESPONSE>Unknown Request, cannot be processed</RESPONSE>"},
    };
    for (const VoucherCase& c : cases) {
        CannedHttpServer server([&](const std::string&) { return c.reply; });
        Builder builder;
        std::string message = "previous";
        bool ok = builder.blnTran_To_Tally(kRequest, server.Url(), message);
        EXPECT_EQ(ok, c.result) << c.name;
        if (c.result)
            EXPECT_EQ(message, c.message) << c.name;
        else
            EXPECT_NE(message.find(c.message), std::string::npos) << c.name << ": " << message;
        EXPECT_EQ(server.LastBody(), kRequest) << "the body goes out unchanged";
    }
}

TEST(TallyTransport, FailureMessageQuotesOnlyTheStartOfAReply) {
    std::string page = "<html>" + std::string(500, 'x') + "</html>";
    CannedHttpServer server([&](const std::string&) { return page; });
    Builder builder;
    std::string message;
    ASSERT_FALSE(builder.blnTran_To_Tally(kRequest, server.Url(), message));
    EXPECT_NE(message.find(page.substr(0, 200)), std::string::npos);
    EXPECT_EQ(message.find(page.substr(0, 201)), std::string::npos);
}

TEST(TallyTransport, MasterFormSetsCombined) {
    struct Case {
        const char* name;
        std::string reply;
        int16_t start;
        int16_t expected;
    };
    const Case cases[] = {
        {"already exists",
         "<RESPONSE><LINEERROR>Ledger 'Round Off' already exists!</LINEERROR>"
         "<ERRORS>1</ERRORS></RESPONSE>",
         0, 5},
        {"altered 1", "<RESPONSE><CREATED>0</CREATED><ALTERED>1</ALTERED></RESPONSE>", 0, 1},
        {"already exists then altered",
         "<RESPONSE><LINEERROR>X already exists</LINEERROR>"
         "<ALTERED>0</ALTERED></RESPONSE>",
         3, 0},
        {"other error keeps value",
         "<RESPONSE><LINEERROR>Group 'Y' does not exist!</LINEERROR>"
         "<ERRORS>1</ERRORS></RESPONSE>",
         7, 7},
        {"case matters",
         "<RESPONSE><LINEERROR>Already Exists</LINEERROR><ERRORS>1</ERRORS>"
         "</RESPONSE>",
         0, 0},
        {"last altered wins",
         "<RESPONSE><ALTERED>2</ALTERED><X><ALTERED>4.5</ALTERED></X>"
         "</RESPONSE>",
         0, 4},
    };
    for (const Case& c : cases) {
        CannedHttpServer server([&](const std::string&) { return c.reply; });
        Builder builder;
        std::string message = "previous";
        int16_t combined = c.start;
        ASSERT_TRUE(builder.blnTran_To_Tally(kRequest, server.Url(), message, combined)) << c.name;
        EXPECT_EQ(message, "") << c.name;
        EXPECT_EQ(combined, c.expected) << c.name;
    }
}

TEST(TallyTransport, MasterFormOverflowingAlteredFails) {
    CannedHttpServer server([](const std::string&) {
        return "<RESPONSE><ALTERED>1</ALTERED><ALTERED>99999</ALTERED></RESPONSE>";
    });
    Builder builder;
    std::string message;
    int16_t combined = 0;
    EXPECT_FALSE(builder.blnTran_To_Tally(kRequest, server.Url(), message, combined));
    EXPECT_EQ(combined, 1) << "keeps the value it had reached";
    EXPECT_FALSE(message.empty());
}

TEST(TallyTransport, NothingListeningIsNotRunning) {
    Builder builder;
    std::string message;
    bool ok = builder.blnTran_To_Tally(
        kRequest, "http://127.0.0.1:" + std::to_string(testing::UnusedPort()), message);
    EXPECT_FALSE(ok);
    EXPECT_EQ(message, "Tally Server is Not Running");
}

TEST(TallyTransport, ConnectionClosedMidReplyIsAFailure) {
    RawReplyServer server(
        "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nContent-Type: text/xml\r\n\r\n<RESPONSE><CREA");
    Builder builder;
    std::string message;
    EXPECT_FALSE(builder.blnTran_To_Tally(kRequest, server.Url(), message));
    EXPECT_FALSE(message.empty());
    EXPECT_NE(message, "Tally Server is Not Running") << "a connection was made";
}

TEST(TallyTransport, ConnectionClosedWithoutReplyIsAFailure) {
    RawReplyServer server("");
    Builder builder;
    std::string message;
    EXPECT_FALSE(builder.blnTran_To_Tally(kRequest, server.Url(), message));
    EXPECT_FALSE(message.empty());
}

TEST(TallyTransport, ServerThatNeverAnswersTimesOut) {
    RawReplyServer server("", std::chrono::milliseconds(3000));
    // The reply's own time-out ends the wait, not the ceiling of both time-outs together.
    HttpClient client({std::chrono::milliseconds(5000), std::chrono::milliseconds(300)});
    HttpResult result = client.Post(server.Url(), kRequest);
    EXPECT_EQ(result.status, HttpResult::Status::Failed);
    EXPECT_EQ(result.description, "No reply within 0.3 s");
}

TEST(TallyTransport, ReplyTimeOutHoldsOnAKeptConnectionToo) {
    std::atomic<int> calls{0};
    CannedHttpServer server([&](const std::string&) {
        if (++calls == 2) std::this_thread::sleep_for(std::chrono::milliseconds(3000));
        return std::string("<RESPONSE><CREATED>1</CREATED></RESPONSE>");
    });
    HttpClient client({std::chrono::milliseconds(5000), std::chrono::milliseconds(300)});
    EXPECT_EQ(client.Post(server.Url(), kRequest).status, HttpResult::Status::Ok);
    HttpResult slow = client.Post(server.Url(), kRequest);
    EXPECT_EQ(slow.status, HttpResult::Status::Failed);
    EXPECT_EQ(slow.description, "No reply within 0.3 s");
}

TEST(TallyTransport, StopFlagInterruptsAnExchangeInProgress) {
    RawReplyServer server("", std::chrono::milliseconds(3000));
    HttpClient client;
    std::atomic<bool> stop{false};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        stop = true;
    });
    HttpResult result = client.Post(server.Url(), kRequest, &stop);
    stopper.join();
    EXPECT_EQ(result.status, HttpResult::Status::Interrupted);
    EXPECT_EQ(client.Post(server.Url(), kRequest, &stop).status, HttpResult::Status::Interrupted)
        << "a raised flag sends nothing";
}

TEST(TallyTransport, BuilderSendsThroughTheTransportItIsGiven) {
    struct Scripted : TallyTransport {
        HttpResult Post(const std::string& url, const std::string& body,
                        const std::atomic<bool>*) override {
            urls.push_back(url);
            bodies.push_back(body);
            return {HttpResult::Status::Ok, 200,
                    "<RESPONSE><LINEERROR>scripted</LINEERROR></RESPONSE>", ""};
        }
        std::vector<std::string> urls, bodies;
    } scripted;
    Builder builder;
    builder.UseTransport(&scripted);
    std::string message;
    ASSERT_TRUE(builder.blnTran_To_Tally(kRequest, "http://tally:9000", message));
    EXPECT_EQ(message, "\r\nscripted");
    EXPECT_EQ(scripted.urls, std::vector<std::string>{"http://tally:9000"});
    EXPECT_EQ(scripted.bodies, std::vector<std::string>{kRequest});
}

TEST(TallyTransport, LargeReplyIsReadWhole) {
    std::string reply = "<RESPONSE>";
    for (int i = 0; i < 300000; ++i)
        reply += "<LINEERROR>Line error number " + std::to_string(i) + "</LINEERROR>";
    reply += "<ERRORS>300000</ERRORS></RESPONSE>";
    ASSERT_GT(reply.size(), 10u * 1024 * 1024);
    CannedHttpServer server([&](const std::string&) { return reply; });
    Builder builder;
    std::string message;
    ASSERT_TRUE(builder.blnTran_To_Tally(kRequest, server.Url(), message));
    EXPECT_TRUE(message.starts_with("\r\nLine error number 0\r\nLine error number 1\r\n"));
    EXPECT_TRUE(message.ends_with("\r\nLine error number 299999"));
}

TEST(TallyTransport, ConnectionIsReusedAcrossCalls) {
    CannedHttpServer server(
        [](const std::string&) { return "<RESPONSE><CREATED>1</CREATED></RESPONSE>"; });
    Builder builder;
    std::string message;
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(builder.blnTran_To_Tally(kRequest, server.Url(), message));
    EXPECT_EQ(server.Requests(), 5);
    EXPECT_EQ(server.Connections(), 1u);
}

TEST(TallyTransport, EmptyUrlMeansLocalPort9000) {
    httplib::Server probe;
    if (!probe.bind_to_port("127.0.0.1", 9000))
        GTEST_SKIP() << "port 9000 is in use on this machine";
    probe.Post(".*", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<RESPONSE><LINEERROR>reached 9000</LINEERROR></RESPONSE>", "text/xml");
    });
    std::thread thread([&] { probe.listen_after_bind(); });
    std::string message;
    bool ok;
    {
        Builder builder;  // closes its connection before the server stops
        ok = builder.blnTran_To_Tally(kRequest, "", message);
    }
    probe.stop();
    thread.join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(message, "\r\nreached 9000");
}

}  // namespace
}  // namespace zentrail
