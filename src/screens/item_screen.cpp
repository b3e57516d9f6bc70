#include "screens/item_screen.h"

#include "screens/gst_bands.h"
#include "screens/queries/item_queries.h"
#include "shell/recordset.h"
#include "tally/masters/tally_master.h"
#include "tally/number_text.h"

namespace zentrail {

namespace {

constexpr const char* kFirstRateDate = "20170701";
constexpr const char* kLaterRateDate = "20171115";
constexpr const char* kZeroRateDate = "20180727";

enum class Column { PrdId, PrdName, PrdCCode, HsnCode };
constexpr const char* kColumns[] = {"PrdId", "PrdName", "PrdCCode", "HSNCODE"};

enum class RateColumn { PrdId, TaxPerc };
constexpr const char* kRateColumns[] = {"PrdId", "TaxPerc"};
enum class ZeroRateColumn { PrdId };
constexpr const char* kZeroRateColumns[] = {"PrdId"};

enum LineSet { kSalesRates, kReturnRates, kZeroRateSales };

std::string ItemName(const ListedRow& row) {
    return row.Text(Column::PrdName) + "_" + row.Text(Column::PrdCCode);
}

// A stock item with its GST rates: those it was sold at, else those it was returned at, each
// dated "20170701" for the first and "20171115" for the others; and one zero rate block per
// sale at no tax.
class StockItemBuilder : public DocumentBuilder {
public:
    explicit StockItemBuilder(const ScreenContext& context) : context_(context) {}

    void Build(const ListedRow& row, LineTables& lines, BuiltDocument& built) override {
        std::string productId = row.Text(Column::PrdId);
        if (!(ReadNumber(productId) > 0)) {
            built.document.number = row.Text(Column::PrdName);
            built.kind = BuiltDocument::Kind::Skip;
            built.reason = "no product id";
            return;
        }
        std::string itemCode = row.Text(Column::PrdCCode) + "_" + productId;
        std::string hsn = row.Text(Column::HsnCode);

        TallyMaster master;
        LineTable::Lines sold = lines[kSalesRates]->WithNumber(productId);
        if (!sold.empty()) {
            AddRateBlocks(master, sold, hsn);
            AddZeroRateBlocks(master, lines[kZeroRateSales]->WithNumber(productId), hsn);
        } else {
            LineTable::Lines returned = lines[kReturnRates]->WithNumber(productId);
            if (!returned.empty())
                AddRateBlocks(master, returned, hsn);
            else
                AddZeroRateBlocks(master, lines[kZeroRateSales]->WithNumber(productId), hsn);
        }
        std::string alias1, alias2;
        built.master = true;
        built.request = ImportRequest(
            context_,
            master.strItemCreate(ItemName(row), itemCode, "PC", "KVZ Products", alias1, alias2));
    }

private:
    static void AddRateBlocks(TallyMaster& master, const LineTable::Lines& rates,
                              const std::string& hsn) {
        std::string date = kFirstRateDate;
        for (LineRow rate : rates) {
            double r = ItemCentralRate(ReadNumber(rate.Text(RateColumn::TaxPerc)));
            double central = r, state = r, integrated = 2 * r;
            master.strGSTSetup += master.strItemGSTRate(central, state, integrated, hsn, date);
            date = kLaterRateDate;
        }
    }

    static void AddZeroRateBlocks(TallyMaster& master, const LineTable::Lines& sales,
                                  const std::string& hsn) {
        for (size_t i = 0; i < sales.size(); ++i) {
            double central = 0, state = 0, integrated = 0;
            master.strGSTSetup +=
                master.strItemGSTRate(central, state, integrated, hsn, kZeroRateDate);
        }
    }

    const ScreenContext& context_;
};

class ItemDefinition : public ScreenDefinition {
public:
    const ScreenDesign& Design() const override { return design_; }
    std::string ColumnQuery(const DateRange&) const override { return ItemColumnQuery(); }
    std::string ListingQuery(const DateRange&) const override { return ItemListQuery(); }
    std::span<const char* const> ListingColumns() const override { return kColumns; }
    DocumentRef Describe(const ListedRow& row, const ScreenContext&) const override {
        return {.identity = row.Text(Column::PrdId), .number = ItemName(row)};
    }
    std::vector<MasterStep> Masters(const ScreenContext&, const DateRange&) const override {
        return {MasterStep{.name = "KVZ Products",
                           .payload =
                               [](const Recordset*) {
                                   TallyMaster master;
                                   std::string group = "KVZ Products", parent;
                                   return master.strItemGroup(group, parent);
                               }},
                MasterStep{
                    .caption = "Creating Units",
                    .query = ItemUnitQuery(),
                    .rowName =
                        [](const Recordset& row) { return row.Fields("UomDescription").Value(); },
                    .payload =
                        [](const Recordset* row) {
                            TallyMaster master;
                            std::string unit = row->Fields("UomDescription").Value();
                            return master.strNewUnit(unit);
                        }}};
    }
    std::vector<LineQuery> LineQueries(const DateRange&) const override {
        return {{ItemSalesRateQuery(), kRateColumns, static_cast<size_t>(RateColumn::PrdId)},
                {ItemReturnRateQuery(), kRateColumns, static_cast<size_t>(RateColumn::PrdId)},
                {ItemZeroRateSalesQuery(), kZeroRateColumns,
                 static_cast<size_t>(ZeroRateColumn::PrdId)}};
    }
    std::unique_ptr<DocumentBuilder> StartRun(const ScreenContext& context,
                                              const Listing&) const override {
        return std::make_unique<StockItemBuilder>(context);
    }
    std::vector<RunEntry> LeftOutOfListing(SourceDatabase& db) const override {
        std::vector<RunEntry> leftOut;
        for (Recordset rs = db.Open(ItemWithoutHsnQuery()); !rs.Eof(); rs.MoveNext()) {
            const std::string name = rs.Fields("PrdName").Value();
            const std::string code = rs.Fields("PrdCCode").Value();
            RunEntry entry;
            entry.kind = EntryKind::Master;
            entry.name = name + "_" + code;
            entry.outcome = Outcome::NotSent;
            entry.message = "Product '" + name + "' (code " + code +
                            ") has no HSN code: it is not sent as a stock item";
            leftOut.push_back(std::move(entry));
        }
        return leftOut;
    }

private:
    ScreenDesign design_{.name = "item",
                         .title = "Import Sales Transaction",
                         .frameCaption = "Importing Sales",
                         .closingText = "Item Transferrd",
                         .hasDates = false};
};

}  // namespace

const ScreenDefinition& ItemScreen::TheDefinition() {
    static const ItemDefinition definition;
    return definition;
}

}  // namespace zentrail
