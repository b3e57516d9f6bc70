#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "screens/bound_columns.h"
#include "screens/document_pipeline.h"
#include "screens/line_table.h"
#include "screens/run_record.h"
#include "screens/screen_context.h"

namespace zentrail {

class Recordset;

// The dates of a run as the queries take them.
struct DateRange {
    std::string from;
    std::string to;
};

// What a screen looks like and is called.
struct ScreenDesign {
    std::string name{};          // short name: "sales"; names the run reports and the command line
    std::string title{};         // window title before the configuration summary
    std::string frameCaption{};  // caption of the progress frame
    std::string closingText{};   // "Sales Transferrd" ...
    bool hasDates = true;
    bool reopensConnection = false;  // export starts on a fresh source connection
};

// One step of masters sent before the documents: a single request, or one request per row of
// its own query.
struct MasterStep {
    std::string caption{};  // frame caption while the rows are sent; "" for a single request
    std::string query{};    // "" for a single request
    std::string name{};     // a single request's name in the log and the report
    // The name and the payload (inside the import envelope) of a query's row; a single
    // request's payload takes no row.
    std::function<std::string(const Recordset& row)> rowName{};
    std::function<std::string(const Recordset* row)> payload{};
};

// A query whose rows are the lines of the listed documents.
struct LineQuery {
    std::string sql;
    std::span<const char* const> columns;  // read by the screen, bound when the rows arrive
    size_t keyColumn = 0;                  // among `columns`: names the line's document
    // Where set, the lines are read in ranges of the listed documents, in grid order, so that
    // the first documents' lines come first: `rangeColumn` is the query's column (as its SQL
    // names it) holding the document's id, a whole number, and `listedId` that id of a listed
    // row. A listing with any other id reads the query whole.
    std::string rangeColumn{};
    std::function<std::string(const ListedRow&)> listedId{};
};

// The listed rows of a run, read through the listing's bound columns.
class Listing {
public:
    Listing(const TransferGrid& grid, const BoundColumns& columns)
        : grid_(grid), columns_(columns) {}
    size_t RowCount() const;
    ListedRow Row(size_t row) const { return ListedRow(grid_, row, columns_); }

private:
    const TransferGrid& grid_;
    const BoundColumns& columns_;
};

// The line tables of a run, in the order of the screen's line queries.
// A query read whole is shared by every range's tables.
using LineTables = std::vector<std::shared_ptr<LineTable>>;

// Builds one listed document at a time, in grid order, on the thread that builds. Holds what a
// run carries from one document to the next, and nothing else.
class DocumentBuilder {
public:
    virtual ~DocumentBuilder() = default;
    // Fills in the request, or why the document is skipped or not sent, and what it learns of
    // the document (amounts). `built` arrives described by the definition. May throw for a document
    // that cannot be built (NotANumber, a bad date): the frame makes that the document's outcome.
    virtual void Build(const ListedRow& row, LineTables& lines, BuiltDocument& built) = 0;
};

// A transfer screen: its design, its queries, its masters and how it builds a document.
class ScreenDefinition {
public:
    virtual ~ScreenDefinition() = default;

    virtual const ScreenDesign& Design() const = 0;
    // The query whose field list makes the grid's columns, and the listing.
    virtual std::string ColumnQuery(const DateRange& dates) const = 0;
    virtual std::string ListingQuery(const DateRange& dates) const = 0;
    // The listing's columns the documents are built from, bound at Get Data.
    virtual std::span<const char* const> ListingColumns() const = 0;
    // The number, date and party of a listed document, as the log and the report name it; read
    // from the listing's texts alone, so that it cannot fail.
    virtual DocumentRef Describe(const ListedRow& row, const ScreenContext& context) const = 0;
    virtual std::vector<MasterStep> Masters(const ScreenContext& context,
                                            const DateRange& dates) const = 0;
    virtual std::vector<LineQuery> LineQueries(const DateRange& dates) const = 0;
    // What the listing leaves out that the operator should hear of at every export: each a
    // master or document not sent, its message saying why, for the log and the report (not
    // the counts). Read before the masters are sent.
    virtual std::vector<RunEntry> LeftOutOfListing(SourceDatabase& db) const {
        (void)db;
        return {};
    }
    // A builder for one run over `listing`, which stays unchanged while the run lasts.
    virtual std::unique_ptr<DocumentBuilder> StartRun(const ScreenContext& context,
                                                      const Listing& listing) const = 0;
};

// The whole import request around `payload`, for the company of the settings.
std::string ImportRequest(const ScreenContext& context, const std::string& payload);

}  // namespace zentrail
