#include "tally/date_text.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace zentrail {
namespace {

TEST(DateText, ReadsDocumentDates) {
    struct Case {
        const char* text;
        const char* tally;  // nullptr: not a date
    };
    const Case cases[] = {
        // Tally's own form, as the grids carry it
        {"20240131", "20240131"},
        {" 20240305 ", "20240305"},
        {"20240229", "20240229"},
        {"20230229", nullptr},
        {"20241301", nullptr},
        {"20240100", nullptr},
        {"2024013", nullptr},
        {"202401311", nullptr},
        // ISO, with and without a time of day
        {"2024-01-31", "20240131"},
        {"2024-12-31 23:59:59", "20241231"},
        {"2024-12-31 23:59:59.997", "20241231"},
        {"2024-03-05T10:15", "20240305"},
        {"2024-03-05T10:15:00Z", "20240305"},
        {"2024-03-05T10:15:00+05:30", "20240305"},
        {"2024-04-31", nullptr},
        {"2024-1-31", nullptr},
        {"2024-03-05 25:00", nullptr},
        {"2024-03-05 10:15 junk", nullptr},
        {"2024-03-05T", nullptr},
        // day/month/year
        {"31/01/2024", "20240131"},
        {"31-01-2024", "20240131"},
        {"31.01.2024", "20240131"},
        {"5/3/2024", "20240305"},
        {"05/03/2024 10:15:00", "20240305"},
        {"05/03/2024 10:15:00 AM", "20240305"},
        {"05/03/2024 9:05 pm", "20240305"},
        {"05/03/2024 13:05 PM", nullptr},
        {"29/02/2000", "20000229"},
        {"29/02/1900", nullptr},
        {"01/31/2024", nullptr},  // month first is not our order: never swap silently
        {"31/01-2024", nullptr},
        {"31/01/24", nullptr},
        {"131/01/2024", nullptr},
        {"31/01/2024T10:00", nullptr},
        // no date at all
        {"", nullptr},
        {"   ", nullptr},
        {"N/A", nullptr},
        {"00000000", nullptr},
        {"2024-01-31<x>", nullptr},
    };
    for (const Case& c : cases) {
        std::optional<DateParts> date = ParseDocumentDate(c.text);
        if (c.tally == nullptr) {
            EXPECT_FALSE(date.has_value()) << '"' << c.text << "\" read as " << TallyDate(*date);
        } else {
            ASSERT_TRUE(date.has_value()) << '"' << c.text << '"';
            EXPECT_EQ(TallyDate(*date), c.tally) << '"' << c.text << '"';
        }
    }
}

TEST(DateText, TallyDatePadsEveryPart) {
    EXPECT_EQ(TallyDate({987, 3, 5}), "09870305");
    EXPECT_EQ(TallyDate({2024, 12, 31}), "20241231");
}

TEST(DateText, VoucherDateRefusesWhatIsNoDate) {
    EXPECT_EQ(VoucherDate("2024-03-05"), "20240305");
    EXPECT_THROW(VoucherDate(""), std::invalid_argument);
    EXPECT_THROW(VoucherDate("31/02/2024"), std::invalid_argument);
}

}  // namespace
}  // namespace zentrail
