#include "tally/vouchers/voucher_writer.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tally/vouchers/voucher_cases.h"

namespace zentrail {
namespace {

using voucher_documents::AmountSets;
using voucher_documents::Document;
using voucher_documents::MakeDocument;
using voucher_documents::Screen;
using voucher_documents::Screens;
using voucher_documents::TextSets;

// The stored vouchers of one screen: each case opens with a comment naming it. No case's
// voucher holds "<!--": every "<" of a text is written escaped.
std::string StoredCase(const std::string& screen, const std::string& caseName) {
    std::ifstream file(std::string(ZENTRAIL_TEST_DATA_DIR) + "/voucher_cases/" + screen + ".xml",
                       std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const std::string all = text.str();
    const std::string marker = "<!-- " + caseName + " -->\r\n";
    const size_t at = all.find(marker);
    if (at == std::string::npos) return {};
    const size_t begin = at + marker.size();
    const size_t end = all.find("<!-- ", begin);
    return all.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

struct Case {
    size_t screen, texts, amounts;
};

std::vector<Case> AllCases() {
    std::vector<Case> cases;
    for (size_t screen = 0; screen < Screens().size(); ++screen)
        for (auto [texts, amounts] : voucher_documents::StoredCases())
            cases.push_back({screen, texts, amounts});
    return cases;
}

class VoucherWriterCases : public ::testing::TestWithParam<Case> {};

// Every screen's voucher of hostile texts and odd amounts comes out as stored.
TEST_P(VoucherWriterCases, WritesTheStoredBytes) {
    const Case c = GetParam();
    const Screen& screen = Screens()[c.screen];
    const auto& texts = TextSets()[c.texts];
    const auto& amounts = AmountSets()[c.amounts];
    const std::string expected =
        StoredCase(screen.name, voucher_documents::CaseName(texts, amounts));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(screen.values(MakeDocument(texts, amounts, screen.datedByReader)), expected);
}

std::string TestName(const ::testing::TestParamInfo<Case>& info) {
    return std::string(Screens()[info.param.screen].name) + "_" +
           voucher_documents::CaseName(TextSets()[info.param.texts],
                                       AmountSets()[info.param.amounts]);
}

INSTANTIATE_TEST_SUITE_P(EveryScreen, VoucherWriterCases, ::testing::ValuesIn(AllCases()),
                         TestName);

// A purchase or receipt date that is no date stops the voucher.
TEST(VoucherWriterDates, ADateThatIsNoDateThrows) {
    for (const Screen& screen : Screens()) {
        if (!screen.datedByReader) continue;
        SCOPED_TRACE(screen.name);
        for (const char* date : {"", "not a date", "20240231", "A & B"}) {
            SCOPED_TRACE(date);
            Document d = MakeDocument(TextSets()[0], AmountSets()[0], true);
            d.date = date;
            EXPECT_THROW(screen.values(d), std::invalid_argument);
        }
    }
}

}  // namespace
}  // namespace zentrail
