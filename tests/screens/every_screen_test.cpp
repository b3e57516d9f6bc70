// Every registered screen against the small demo database, with one listed document broken in
// turn: its dates, its id or its numbers. The broken document gets its own outcome, and the run
// goes on with every other document as in a clean run.

#include <gtest/gtest.h>

#include <algorithm>

#include "screens/screen_registry.h"
#include "screens/screen_test_support.h"
#include "shell/configuration.h"
#include "shell/recordset_filter.h"
#include "support/demo_database.h"

namespace zentrail {
namespace {

enum class Damage { None, BadDate, BlankId, UnreadableNumber };

const char* NameOf(Damage damage) {
    switch (damage) {
        case Damage::None:
            return "none";
        case Damage::BadDate:
            return "a bad date";
        case Damage::BlankId:
            return "a blank id";
        case Damage::UnreadableNumber:
            return "an unreadable number";
    }
    return "";
}

bool LooksLikeDate(std::string_view text) {
    return text.size() == 8 && text.starts_with("20") &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Passes the listing's rows on, with the values of one row damaged.
class DamagingSink : public RowSink {
public:
    DamagingSink(RowSink& inner, const ScreenDefinition& definition, size_t row, Damage damage)
        : inner_(inner), definition_(definition), row_(row), damage_(damage) {}

    void Columns(const std::vector<std::string>& fieldNames) override {
        for (size_t field = 0; field < fieldNames.size(); ++field)
            for (size_t bound = 0; bound < definition_.ListingColumns().size(); ++bound)
                if (SameFieldName(fieldNames[field], definition_.ListingColumns()[bound]))
                    read_[field] = bound;
        inner_.Columns(fieldNames);
    }
    void Row(std::span<const std::optional<std::string_view>> values) override {
        if (seen_++ != row_) return inner_.Row(values);
        std::vector<std::optional<std::string_view>> damaged(values.begin(), values.end());
        for (auto [field, bound] : read_) {
            std::optional<std::string_view>& value = damaged[field];
            const bool numeric = value && ReadWholeNumber(*value).has_value();
            if (damage_ == Damage::BlankId && bound == 0) value = "";
            if (damage_ == Damage::BadDate && value && LooksLikeDate(*value)) value = "20240231";
            if (damage_ == Damage::UnreadableNumber && bound != 0 && numeric &&
                !LooksLikeDate(*value))
                value = "1x";
        }
        inner_.Row(damaged);
    }

private:
    RowSink& inner_;
    const ScreenDefinition& definition_;
    size_t row_;
    Damage damage_;
    std::map<size_t, size_t> read_;  // field of the listing -> its bound column
    size_t seen_ = 0;
};

// The demo source, with the listing query's rows damaged as asked.
class DamagingConnection : public SourceConnection {
public:
    DamagingConnection(std::unique_ptr<SourceConnection> inner, const ScreenDefinition& definition,
                       std::string listing, size_t row, Damage damage)
        : inner_(std::move(inner)),
          definition_(definition),
          listing_(std::move(listing)),
          row_(row),
          damage_(damage) {}
    RowSet Query(const std::string& sql) override { return inner_->Query(sql); }
    void Stream(const std::string& sql, RowSink& sink) override {
        if (sql != listing_ || damage_ == Damage::None) return inner_->Stream(sql, sink);
        DamagingSink damaging(sink, definition_, row_, damage_);
        inner_->Stream(sql, damaging);
    }
    std::vector<std::string> ColumnNames(const std::string& sql) override {
        return inner_->ColumnNames(sql);
    }

private:
    std::unique_ptr<SourceConnection> inner_;
    const ScreenDefinition& definition_;
    std::string listing_;
    size_t row_;
    Damage damage_;
};

struct DocumentOutcome {
    std::string name;
    Outcome outcome;
    bool operator==(const DocumentOutcome&) const = default;
};

struct ExportedRun {
    std::vector<DocumentOutcome> documents;
    RunCounts counts;
    size_t requests = 0;
};

const CalendarDate kFrom{2024, 4, 1};
const CalendarDate kTo{2024, 5, 31};

ExportedRun Export(const ScreenDefinition& definition, size_t row, Damage damage) {
    Configuration config;
    config.strSqlOdbc = testing::SmallDemo().Path();
    const std::string listing = definition.ListingQuery({kFrom.QueryText(), kTo.QueryText()});
    SourceDatabase db([&](const std::string& dsn, const std::string& user,
                          const std::string& password) -> std::unique_ptr<SourceConnection> {
        return std::make_unique<DamagingConnection>(OpenSourceConnection(dsn, user, password),
                                                    definition, listing, row, damage);
    });
    db.OpenConnection(config);
    testing::ScriptedTransport tally([](const std::string&) {
        return testing::TallyReplies("<RESPONSE><CREATED>1</CREATED></RESPONSE>");
    });
    TransferScreen screen(ScreenContext{config, db, tally}, definition);
    testing::RecordingObserver observer;
    screen.SetObserver(&observer);
    screen.Load();
    screen.SetDates(kFrom, kTo);
    screen.GetData();
    EXPECT_FALSE(screen.GetDataFailed()) << definition.Design().name;
    screen.Export();
    ExportedRun run;
    for (const RunEntry& entry : screen.LastRecord().Entries())
        if (entry.kind == EntryKind::Document) run.documents.push_back({entry.name, entry.outcome});
    run.counts = screen.LastRun();
    run.requests = tally.bodies.size();
    return run;
}

// Whether the damage must stop the document: the item master has no dates, and its numbers are
// codes it only names items with; a screen without line queries has no id to find lines by. The
// other damage may or may not change such a document, but never another one.
bool Breaks(const ScreenDefinition& definition, Damage damage) {
    if (definition.Design().name == "item") return damage == Damage::BlankId;
    return !(damage == Damage::BlankId && definition.LineQueries({}).empty());
}

TEST(EveryScreen, OneBrokenDocumentIsThatDocumentsOutcomeAndTheRunGoesOn) {
    for (const MenuEntry* entry : TransferScreens()) {
        const ScreenDefinition& definition = *entry->definition;
        const std::string name = definition.Design().name;
        const ExportedRun clean = Export(definition, 0, Damage::None);
        ASSERT_GT(clean.documents.size(), 1u) << name;
        // The first accepted document after the first row.
        size_t row = 1;
        while (row < clean.documents.size() && clean.documents[row].outcome != Outcome::Accepted)
            ++row;
        ASSERT_LT(row, clean.documents.size()) << name;

        for (Damage damage : {Damage::BadDate, Damage::BlankId, Damage::UnreadableNumber}) {
            SCOPED_TRACE(name + " with " + NameOf(damage) + " in row " + std::to_string(row));
            const ExportedRun damaged = Export(definition, row, damage);
            EXPECT_FALSE(damaged.counts.failed);
            EXPECT_FALSE(damaged.counts.stopped);
            ASSERT_EQ(damaged.documents.size(), clean.documents.size());
            for (size_t other = 0; other < clean.documents.size(); ++other) {
                if (other == row) continue;
                EXPECT_EQ(damaged.documents[other].outcome, clean.documents[other].outcome)
                    << clean.documents[other].name;
            }
            const Outcome outcome = damaged.documents[row].outcome;
            if (Breaks(definition, damage)) {
                EXPECT_TRUE(outcome == Outcome::NotSent || outcome == Outcome::Skipped)
                    << static_cast<int>(outcome);
                EXPECT_EQ(damaged.requests + 1, clean.requests) << "the rest is still sent";
            }
        }
    }
}

}  // namespace
}  // namespace zentrail
