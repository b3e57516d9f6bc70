// The libcurl client as the exchange uses it: what reaches the server, what comes back, and
// how a failed or slow exchange ends.

#include "tally/http_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/test_http_server.h"
#include "tally/reply_encoding.h"

namespace zentrail {
namespace {

using testing::CannedHttpServer;
using testing::RawReplyServer;

const std::string kRequest = "<ENVELOPE>\r\n<HEADER>\r\n</HEADER>\r\n</ENVELOPE>\r\n";

TEST(HttpClient, SendsTheBodyUnchangedAndGivesTheWholeReply) {
    const std::string reply = "<RESPONSE>\r\n <CREATED>1</CREATED>\r\n</RESPONSE>";
    CannedHttpServer server([&](const std::string&) { return reply; });
    HttpClient client;
    HttpResult result = client.Post(server.Url(), kRequest);
    ASSERT_EQ(result.status, HttpResult::Status::Ok) << result.description;
    EXPECT_EQ(result.httpCode, 200);
    EXPECT_EQ(result.body, reply);
    EXPECT_EQ(server.LastBody(), kRequest);
}

// One kept connection carries requests in either encoding and the check whether Tally runs.
TEST(HttpClient, EachRequestSaysItsEncodingAndAGetAsksWithoutABody) {
    CannedHttpServer server([](const std::string&) { return "<RESPONSE/>"; });
    HttpClient client;
    const std::string utf16 = EncodeUtf16(kRequest, TextEncoding::Utf16Le);
    ASSERT_EQ(client.Post(server.Url(), utf16, kXmlUtf16, nullptr).status, HttpResult::Status::Ok);
    EXPECT_EQ(server.LastContentType(), "text/xml; charset=utf-16");
    EXPECT_TRUE(server.LastBody() == utf16);
    HttpResult check = client.Get(server.Url());
    ASSERT_EQ(check.status, HttpResult::Status::Ok) << check.description;
    EXPECT_EQ(check.body, "<RESPONSE>TallyPrime Server is Running</RESPONSE>");
    EXPECT_EQ(server.Gets(), 1);
    ASSERT_EQ(client.Post(server.Url(), kRequest).status, HttpResult::Status::Ok);
    EXPECT_EQ(server.LastContentType(), "text/xml; charset=utf-8");
    EXPECT_EQ(server.LastBody(), kRequest);
    EXPECT_EQ(server.Requests(), 2);
    EXPECT_EQ(server.Gets(), 1);
}

TEST(HttpClient, LargeReplyIsReadWhole) {
    std::string reply = "<RESPONSE>";
    for (int i = 0; i < 300000; ++i)
        reply += "<LINEERROR>Line error number " + std::to_string(i) + "</LINEERROR>";
    reply += "<ERRORS>300000</ERRORS></RESPONSE>";
    ASSERT_GT(reply.size(), 10u * 1024 * 1024);
    CannedHttpServer server([&](const std::string&) { return reply; });
    HttpClient client;
    HttpResult result = client.Post(server.Url(), kRequest);
    ASSERT_EQ(result.status, HttpResult::Status::Ok) << result.description;
    EXPECT_EQ(result.body.size(), reply.size());
    EXPECT_TRUE(result.body == reply);  // not printed: ten megabytes
}

TEST(HttpClient, NothingListeningIsNotConnected) {
    HttpClient client;
    HttpResult result =
        client.Post("http://127.0.0.1:" + std::to_string(testing::UnusedPort()), kRequest);
    EXPECT_EQ(result.status, HttpResult::Status::NotConnected) << result.description;
    EXPECT_FALSE(result.requestSent);
}

// Tally may hold a request whose reply never ends; the reply is not read past the cap.
TEST(HttpClient, AReplyBeyondTheCapIsNotReadAndTheRequestWentOut) {
    const std::string reply(kLargestReply + 1024, 'x');
    CannedHttpServer server([&](const std::string&) { return reply; });
    HttpClient client;
    HttpResult result = client.Post(server.Url(), kRequest);
    EXPECT_EQ(result.status, HttpResult::Status::Failed);
    EXPECT_TRUE(result.requestSent);
    EXPECT_EQ(result.description, "The reply is larger than 16 MiB and was not read to its end");
    EXPECT_TRUE(result.body.empty());
}

// A connection was made, so Tally may have the request: a failure, not "not running".
TEST(HttpClient, AConnectionClosedBeforeTheWholeReplyIsAFailure) {
    const struct {
        const char* name;
        std::string raw;
    } cases[] = {
        {"mid reply",
         "HTTP/1.1 200 OK\r\nContent-Length: 1000\r\nContent-Type: "
         "text/xml\r\n\r\n<RESPONSE><CREA"},
        {"without reply", ""},
    };
    for (const auto& c : cases) {
        RawReplyServer server(c.raw);
        HttpClient client;
        HttpResult result = client.Post(server.Url(), kRequest);
        EXPECT_EQ(result.status, HttpResult::Status::Failed) << c.name;
        EXPECT_TRUE(result.requestSent) << c.name;
        EXPECT_FALSE(result.description.empty()) << c.name;
    }
}

TEST(HttpClient, ServerThatNeverAnswersTimesOut) {
    RawReplyServer server("", std::chrono::milliseconds(3000));
    // The reply's own time-out ends the wait, not the ceiling of both time-outs together.
    HttpClient client({std::chrono::milliseconds(5000), std::chrono::milliseconds(300)});
    HttpResult result = client.Post(server.Url(), kRequest);
    EXPECT_EQ(result.status, HttpResult::Status::Failed);
    EXPECT_EQ(result.description, "No reply within 0.3 s");
}

TEST(HttpClient, ReplyTimeOutHoldsOnAKeptConnectionToo) {
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

TEST(HttpClient, StopFlagInterruptsAnExchangeInProgress) {
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
    EXPECT_TRUE(result.requestSent) << "stopped while the reply was awaited";
    HttpResult unsent = client.Post(server.Url(), kRequest, &stop);
    EXPECT_EQ(unsent.status, HttpResult::Status::Interrupted);
    EXPECT_FALSE(unsent.requestSent) << "a raised flag sends nothing";
}

TEST(HttpClient, ConnectionIsReusedAcrossCalls) {
    CannedHttpServer server(
        [](const std::string&) { return "<RESPONSE><CREATED>1</CREATED></RESPONSE>"; });
    HttpClient client;
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(client.Post(server.Url(), kRequest).status, HttpResult::Status::Ok);
    EXPECT_EQ(server.Requests(), 5);
    EXPECT_EQ(server.Connections(), 1u);
}

}  // namespace
}  // namespace zentrail
