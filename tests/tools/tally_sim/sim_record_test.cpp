// tally-sim --record: every request body kept as it arrived, so two client builds can be
// compared byte for byte.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "shell/source_fixture.h"
#include "support/tally_sim_process.h"
#include "tally-sim/request_recorder.h"
#include "tally/http_client.h"
#include "tools/tally_sim/sim_requests.h"

namespace zentrail {
namespace {

namespace fs = std::filesystem;
namespace rq = testing::sim_requests;
using sim::RequestRecorder;
using test::TempFolder;

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> FileNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Bodies no parser would accept are kept too, byte for byte.
const std::vector<std::string> kOddBodies = {
    "",
    std::string("not xml \xff\xfe and a zero \0 byte", 28),
    "<ENVELOPE>\r\n  <HEADER/>\r\n</ENVELOPE>\r\n",
};

TEST(TallySimRecord, RecorderNumbersTheBodiesInOrderAndKeepsThemUnchanged) {
    TempFolder temp;
    RequestRecorder recorder(temp.Path() / "made" / "here");
    for (const std::string& body : kOddBodies) recorder.Record(body);
    ASSERT_EQ(FileNames(temp.Path() / "made" / "here"),
              (std::vector<std::string>{"00001.xml", "00002.xml", "00003.xml"}));
    for (size_t i = 0; i < kOddBodies.size(); ++i)
        EXPECT_EQ(ReadAll(recorder.FileFor(static_cast<long>(i) + 1)), kOddBodies[i]) << i;
    EXPECT_EQ(recorder.FileFor(123456).filename(), "123456.xml");
}

TEST(TallySimRecord, RecorderRefusesWhatWouldMixOrLoseARecording) {
    TempFolder temp;
    std::ofstream(temp.Path() / "00001.xml") << "older run";
    EXPECT_THROW(RequestRecorder{temp.Path()}, std::runtime_error) << "a folder holding files";
    EXPECT_THROW(RequestRecorder{temp.Path() / "00001.xml" / "below"}, std::runtime_error)
        << "a folder below a file";

    RequestRecorder recorder(temp.Path() / "gone");
    fs::remove(temp.Path() / "gone");
    EXPECT_THROW(recorder.Record("<ENVELOPE/>"), std::runtime_error);
}

#ifdef TALLY_SIM_PATH

using testing::TallySimProcess;

std::vector<std::string> CreatedMasters(const nlohmann::json& books) {
    std::vector<std::string> names;
    for (const nlohmann::json& master : books["masters"])
        if (!master["predefined"].get<bool>()) names.push_back(master["name"]);
    return names;
}

TEST(TallySimRecord, KeepsEveryPostBodyBeforeHandlingIt) {
    TempFolder temp;
    fs::path folder = temp.Path() / "requests";
    // The fourth request is dropped unanswered: it was received, so it is kept as well.
    TallySimProcess sim({"--record", folder.string(), "--drop-every", "4"});
    std::vector<std::string> sent = kOddBodies;
    sent.push_back(rq::Envelope(rq::DemoMasters()));
    sent.push_back(rq::Envelope(rq::Ledger("Freight", "Indirect Expenses")));
    for (const std::string& body : sent) {
        HttpClient client;  // a new connection each time, so a drop is not sent again
        client.Post(sim.Url(), body);
    }
    // A GET carries no request body and is not kept.
    httplib::Client(sim.Host(), sim.Port()).Get("/books");

    std::vector<std::string> names = FileNames(folder);
    ASSERT_EQ(names.size(), sent.size());
    for (size_t i = 0; i < sent.size(); ++i)
        EXPECT_EQ(ReadAll(folder / names[i]), sent[i]) << names[i];
    EXPECT_EQ(names.back(), "00005.xml");
    // Recording does not change what is imported: the dropped masters are not, the ledger is.
    EXPECT_EQ(CreatedMasters(sim.Books()), std::vector<std::string>{"Freight"});
}

TEST(TallySimRecord, AnswersAnErrorWhenABodyCannotBeKept) {
    TempFolder temp;
    fs::path folder = temp.Path() / "requests";
    TallySimProcess sim({"--record", folder.string()});
    fs::remove(folder);
    HttpClient client;
    HttpResult result = client.Post(sim.Url(), rq::Envelope(rq::DemoMasters()));
    EXPECT_EQ(result.httpCode, 500) << result.body;
    EXPECT_NE(result.body.find(folder.string()), std::string::npos) << result.body;
    EXPECT_TRUE(CreatedMasters(sim.Books()).empty()) << "an unkept request must not be imported";
}

TEST(TallySimRecord, RefusesToStartOnAFolderHoldingAnOlderRecording) {
    TempFolder temp;
    std::ofstream(temp.Path() / "00001.xml") << "older run";
    const std::string command = std::string(TALLY_SIM_PATH) + " --port 0 --record " +
                                temp.Path().string() + " >/dev/null 2>&1";
    const int status = std::system(("timeout 10 " + command).c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
}

#endif  // TALLY_SIM_PATH

}  // namespace
}  // namespace zentrail
