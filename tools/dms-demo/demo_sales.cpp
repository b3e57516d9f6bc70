#include <algorithm>
#include <optional>
#include <unordered_set>

#include "demo_builder.h"

namespace zentrail::dms_demo {
namespace {

struct InvoicePlan {
    DemoDateTime date;
    int retailerIndex = 0;
    int dlvSts = 4;
    bool freeProducts = false;
    bool windowDisplay = false;
    bool lineWithoutHsn = false;
};

// DlvSts 4 delivered, 3 cancelled, 1 and 2 not yet delivered.
int RandomDeliveryStatus(DemoRandom& random) {
    const uint64_t roll = random.Below(100);
    if (roll < 3) return 3;
    if (roll < 5) return 2;
    if (roll < 7) return 1;
    return 4;
}

// The first invoices show one case each; retailers 1 to 13 are the special ones of the
// catalogue (escaped names, corrected states, union territory, missing user columns).
void ApplyShowcase(size_t index, InvoicePlan& plan) {
    using namespace std::chrono;
    const auto first = kFirstDay;
    const auto last = kLastDay;
    switch (index) {
        case 0:
            plan.retailerIndex = 0;
            plan.date = At(first);
            break;
        case 1:
            plan.retailerIndex = 1;
            plan.date = At(last, 23, 59);
            break;
        case 2:
            plan.retailerIndex = 2;
            plan.dlvSts = 3;
            break;
        case 3:
            plan.retailerIndex = 3;
            plan.dlvSts = 2;
            break;
        case 4:
            plan.retailerIndex = 4;
            plan.freeProducts = true;
            plan.dlvSts = 4;
            break;
        case 5:
            plan.retailerIndex = 5;
            plan.windowDisplay = true;
            plan.dlvSts = 4;
            break;
        case 6:
            plan.retailerIndex = 6;
            plan.lineWithoutHsn = true;
            plan.dlvSts = 4;
            break;
        case 7:
            plan.retailerIndex = 7;
            plan.date = At(sys_days{first} - days{1}, 23, 59, 59);
            plan.dlvSts = 4;
            break;
        case 8:
            plan.retailerIndex = 8;
            plan.date = At(sys_days{last} + days{1});
            plan.dlvSts = 4;
            break;
        case 9:
            plan.retailerIndex = 9;
            plan.dlvSts = 4;
            break;
        case 10:
            plan.retailerIndex = 10;
            plan.dlvSts = 4;
            break;
        case 11:
            plan.retailerIndex = 11;
            plan.dlvSts = 4;
            break;
        case 12:
            plan.retailerIndex = 12;
            plan.dlvSts = 4;
            break;
        case 13:
            plan.retailerIndex = 0;
            plan.dlvSts = 1;
            break;
        case 14:
            plan.retailerIndex = 4;
            plan.dlvSts = 4;
            break;
        default:
            break;
    }
}

}  // namespace

void DemoBuilder::WriteSalesInvoices() {
    DemoRandom random = Stream(2);
    const long count = options_.invoices;

    std::vector<InvoicePlan> plans(static_cast<size_t>(count));
    for (size_t i = 0; i < plans.size(); ++i) {
        InvoicePlan& plan = plans[i];
        plan.date = RandomMoment(random);
        plan.retailerIndex = static_cast<int>(random.Below(retailers_.size()));
        plan.dlvSts = RandomDeliveryStatus(random);
        plan.freeProducts = random.Percent(20);
        plan.windowDisplay = random.Percent(5);
        ApplyShowcase(i, plan);
    }
    // Invoice numbers follow the date, as the system issues them.
    std::stable_sort(plans.begin(), plans.end(),
                     [](const InvoicePlan& a, const InvoicePlan& b) { return a.date < b.date; });

    TableInserter header(db_, "SalesInvoice",
                         {"SalId",
                          "SalInvNo",
                          "SalInvDate",
                          "RtrId",
                          "RtrShipId",
                          "DlvSts",
                          "OrderKeyNo",
                          "OrderDate",
                          "SalDlvDate",
                          "InvType",
                          "SalGrossAmount",
                          "SalRateDiffAmount",
                          "SalSplDiscAmount",
                          "SalSchDiscAmount",
                          "SalDBDiscAmount",
                          "SalCDAmount",
                          "SalTaxAmount",
                          "TotalAddition",
                          "TotalDeduction",
                          "SalActNetRateAmount",
                          "SalRoundOffAmt",
                          "SalNetAmt",
                          "SalPayAmt",
                          "DBAdjAmount",
                          "CRAdjAmount",
                          "MarketRetAmount",
                          "WindowDisplay",
                          "WindowDisplayAmount"});
    TableInserter line(db_, "SalesInvoiceProduct",
                       {"SalId", "SlNo", "PrdId", "BaseQty", "Uom1Id", "PrdUnitMRP",
                        "PrdUnitSelRate", "PrdGrossAmount", "PrdSchDiscAmount", "PrdSplDiscAmount",
                        "PrdCDAmount", "PrdDBDiscAmount", "PrdTaxAmount", "PrdNetAmount"});
    TableInserter tax(db_, "SalesInvoiceProductTax",
                      {"SalId", "PrdSlNo", "TaxId", "TaxPerc", "TaxableAmount", "TaxAmount"});
    TableInserter free(db_, "SalesInvoiceSchemeDtFreePrd",
                       {"SalId", "SchId", "FreePrdId", "FREEQty"});

    std::vector<int> freeGifts;
    for (size_t i = 0; i < Products().size(); ++i)
        if (Products()[i].freeGift && Products()[i].hsn) freeGifts.push_back(static_cast<int>(i));

    invoices_.reserve(plans.size());
    invoiceLines_.reserve(plans.size() * 10);
    std::vector<int> chosen;
    for (size_t i = 0; i < plans.size(); ++i) {
        const InvoicePlan& plan = plans[i];
        const PartyInfo& retailer = retailers_[static_cast<size_t>(plan.retailerIndex)];
        const TaxRegime regime = RetailerRegime(retailer.stateId);
        const int salId = static_cast<int>(i) + 1;

        // Five to fifteen different products, ten on average.
        const int lineCount = static_cast<int>(random.Between(5, 15));
        chosen.clear();
        while (static_cast<int>(chosen.size()) < lineCount) {
            int product = random.Pick(StockedProducts());
            if (std::find(chosen.begin(), chosen.end(), product) == chosen.end())
                chosen.push_back(product);
        }
        if (plan.lineWithoutHsn) chosen.back() = ProductIndexWithoutHsn();

        const bool cashDiscount = random.Percent(30);
        const Rate cashDiscountRate = random.Percent(50) ? 100 : 200;
        const bool dbDiscount = random.Percent(5);

        Paise gross = 0, scheme = 0, special = 0, cash = 0, distributorBonus = 0, taxTotal = 0;
        InvoiceRecord record;
        record.salId = salId;
        record.retailerIndex = plan.retailerIndex;
        record.date = plan.date;
        record.dlvSts = plan.dlvSts;
        record.firstLine = static_cast<uint32_t>(invoiceLines_.size());
        for (size_t n = 0; n < chosen.size(); ++n) {
            const ProductInfo& product = Products()[static_cast<size_t>(chosen[n])];
            const int qty = static_cast<int>(random.Between(1, product.rate < 5000 ? 48 : 24));
            const Paise lineGross = product.rate * qty;
            const Paise lineScheme =
                random.Percent(25) ? PercentOf(lineGross, random.Percent(50) ? 500 : 1000) : 0;
            const Paise lineSpecial = random.Percent(10) ? PercentOf(lineGross, 200) : 0;
            const Paise lineCash =
                cashDiscount ? PercentOf(lineGross - lineScheme - lineSpecial, cashDiscountRate)
                             : 0;
            const Paise lineBonus = dbDiscount ? PercentOf(lineGross, 50) : 0;
            const Paise taxable = lineGross - lineScheme - lineSpecial - lineCash - lineBonus;
            const std::vector<TaxPart> parts = TaxParts(regime, product.gstRate, taxable);
            const Paise lineTax = TaxTotal(parts);
            const int slNo = static_cast<int>(n) + 1;
            line.Row(salId, slNo, product.id, qty, kUnitPc, Money{product.mrp}, Money{product.rate},
                     Money{lineGross}, Money{lineScheme}, Money{lineSpecial}, Money{lineCash},
                     Money{lineBonus}, Money{lineTax}, Money{taxable + lineTax});
            for (const TaxPart& part : parts)
                tax.Row(salId, slNo, int{part.taxId}, Percent{part.rate}, Money{part.taxable},
                        Money{part.tax});
            summary_.salesTaxRows += static_cast<long>(parts.size());
            invoiceLines_.push_back({chosen[n], qty});
            gross += lineGross;
            scheme += lineScheme;
            special += lineSpecial;
            cash += lineCash;
            distributorBonus += lineBonus;
            taxTotal += lineTax;
        }
        record.lineCount = static_cast<uint32_t>(chosen.size());
        summary_.salesLines += static_cast<long>(chosen.size());

        const Paise beforeWindow = gross - scheme - special - cash - distributorBonus + taxTotal;
        const Paise window =
            plan.windowDisplay ? std::min<Paise>(random.Between(1, 5) * 5000, beforeWindow / 2) : 0;
        const Paise net = beforeWindow - window;
        const Paise payable = RoundToRupee(net);
        record.net = payable;

        const std::string number = DocumentNumber("SIN", salId);
        const int shipId = retailer.shipIds[random.Below(retailer.shipIds.size())];
        const DemoDateTime ordered = {plan.date.day - std::chrono::days{random.Between(0, 2)},
                                      10 * 3600};
        const std::optional<DemoDateTime> delivered =
            plan.dlvSts == 4 ? std::optional<DemoDateTime>(
                                   plan.date.PlusDays(static_cast<int>(random.Between(0, 2))))
                             : std::nullopt;
        header.Row(salId, number, plan.date, retailer.id, shipId, plan.dlvSts,
                   DocumentNumber("ORD", salId), ordered, delivered, 1, Money{gross}, Money{0},
                   Money{special}, Money{scheme}, Money{distributorBonus}, Money{cash},
                   Money{taxTotal}, Money{taxTotal},
                   Money{scheme + special + cash + distributorBonus + window}, Money{net},
                   Money{payable - net}, Money{payable}, Money{payable}, Money{0}, Money{0},
                   Money{0}, plan.windowDisplay ? 1 : 0, Money{window});

        if (plan.freeProducts) {
            const int gifts = static_cast<int>(random.Between(1, 2));
            std::unordered_set<int> given;
            for (int g = 0; g < gifts; ++g) {
                const int product = random.Pick(freeGifts);
                if (!given.insert(product).second) continue;
                free.Row(salId, 101 + g, Products()[static_cast<size_t>(product)].id,
                         random.Between(1, 6));
                ++summary_.freeProducts;
            }
        }

        invoices_.push_back(record);
        if (record.dlvSts == 4 && record.date.day >= std::chrono::sys_days{kFirstDay} &&
            record.date.day <= std::chrono::sys_days{kLastDay})
            deliveredInRange_.push_back(invoices_.size() - 1);
    }
    deliveredByRetailer_.assign(retailers_.size(), {});
    for (size_t index : deliveredInRange_)
        deliveredByRetailer_[static_cast<size_t>(invoices_[index].retailerIndex)].push_back(index);
    summary_.salesInvoices = count;
}

}  // namespace zentrail::dms_demo
