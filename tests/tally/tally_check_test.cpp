// Asking whether Tally runs, as the export does before its first request.

#include "tally/tally_check.h"

#include <gtest/gtest.h>

#include "support/test_http_server.h"
#include "tally/http_client.h"

namespace zentrail {
namespace {

using testing::CannedHttpServer;

TEST(TallyCheck, TellsRunningFromNotRunningFromAnythingElse) {
    CannedHttpServer running([](const std::string&) { return ""; });
    CannedHttpServer failing([](const std::string&) { return ""; }, 500);
    const std::string nobody = "http://127.0.0.1:" + std::to_string(testing::UnusedPort());
    struct Case {
        const char* name;
        std::string url;
        bool stop;
        TallyCheck::Status status;
        std::string answer;
        std::string description;
    };
    const Case cases[] = {
        {"running", running.Url(), false, TallyCheck::Status::Running,
         "<RESPONSE>TallyPrime Server is Running</RESPONSE>", ""},
        {"HTTP 500", failing.Url(), false, TallyCheck::Status::Unexpected,
         "<RESPONSE>TallyPrime Server is Running</RESPONSE>",
         "the server answered with HTTP status 500"},
        {"nothing listens", nobody, false, TallyCheck::Status::NotRunning, "", ""},
        {"stopped", running.Url(), true, TallyCheck::Status::Stopped, "", "Stopped before sending"},
    };
    for (const Case& c : cases) {
        HttpClient client;
        std::atomic<bool> stop{c.stop};
        TallyCheck check = CheckTally(client, c.url, &stop);
        EXPECT_EQ(check.status, c.status) << c.name;
        EXPECT_EQ(check.answer, c.answer) << c.name;
        if (c.status != TallyCheck::Status::NotRunning)
            EXPECT_EQ(check.description, c.description) << c.name;
        else
            EXPECT_FALSE(check.description.empty()) << c.name;
    }
    EXPECT_EQ(running.Requests(), 0) << "a check posts nothing";
}

}  // namespace
}  // namespace zentrail
