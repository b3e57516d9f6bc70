#include <algorithm>
#include <string>

#include "demo_builder.h"

namespace zentrail::dms_demo {
namespace {

// What the distributor pays its suppliers and charges its depots: 85 % of the selling rate.
Paise PurchaseRate(const ProductInfo& product) { return PercentOf(product.rate, 8500); }

std::vector<int> DistinctProducts(DemoRandom& random, int count) {
    std::vector<int> chosen;
    while (static_cast<int>(chosen.size()) < count) {
        const int product = random.Pick(StockedProducts());
        if (std::find(chosen.begin(), chosen.end(), product) == chosen.end())
            chosen.push_back(product);
    }
    return chosen;
}

// A stocked product without GST, for the documents whose net is exactly half a rupee.
int ZeroRatedProduct() {
    for (int index : StockedProducts())
        if (Products()[static_cast<size_t>(index)].gstRate == 0) return index;
    return StockedProducts().front();
}

// One untaxed line of `gross` at one piece: a net of 1000.50 rounds down to the even 1000,
// one of 1001.50 up to 1002.
template <class Line>
Line HalfRupeeLine(Paise gross) {
    Line line{};
    line.productIndex = ZeroRatedProduct();
    line.qty = 1;
    line.rate = gross;
    line.gross = gross;
    return line;
}

}  // namespace

// Purchase receipts of the suppliers' invoices, with claim-scheme goods on some.
void DemoBuilder::WritePurchaseReceipts() {
    DemoRandom random = Stream(6);
    struct Line {
        int productIndex;
        int qty;
        Paise rate;  // 0: the product's purchase rate
        Paise gross, discount;
        std::vector<TaxPart> taxes;
    };
    struct Plan {
        DemoDateTime invoiceDate;
        int supplierIndex;
        int status = 1;
        std::vector<Line> lines;
        std::vector<std::pair<int, int>> claims;  // product index, quantity
    };

    std::vector<Plan> plans;
    const int count = Scaled(200);
    for (int k = 0; k < count; ++k) {
        Plan plan;
        plan.invoiceDate = RandomMoment(random);
        // Supplier 8 has no GSTIN value: its receipts drop out of every purchase query.
        plan.supplierIndex = k == 0 ? 7 : static_cast<int>(random.Below(random.Percent(3) ? 8 : 7));
        if (k >= 6 && k <= 8) plan.supplierIndex = k - 2;  // Pondicherry, Chattisgarh, Andhra
        plan.status = (k == 1 || (k > 8 && random.Percent(5))) ? 0 : 1;
        if (k == 2) plan.invoiceDate = At(kLastDay, 23, 59);
        const TaxRegime regime =
            SupplierRegime(suppliers_[static_cast<size_t>(plan.supplierIndex)].stateId);

        std::vector<int> products =
            DistinctProducts(random, static_cast<int>(random.Between(3, 12)));
        if (k == 4) products.back() = ProductIndexWithoutHsn();
        for (size_t n = 0; n < products.size(); ++n) {
            const ProductInfo& product = Products()[static_cast<size_t>(products[n])];
            Line line{};
            line.productIndex = products[n];
            line.qty = static_cast<int>(random.Between(2, 40)) * 6;
            line.gross = PurchaseRate(product) * line.qty;
            line.discount =
                random.Percent(30) ? PercentOf(line.gross, random.Between(2, 5) * 100) : 0;
            // A line given away whole: its tax rows have no taxable amount.
            if (k == 3 && n == 0) line.discount = line.gross;
            line.taxes = TaxParts(regime, product.gstRate, line.gross - line.discount);
            plan.lines.push_back(std::move(line));
        }
        // Nets of exactly half a rupee, rounded down and up, from a supplier with a GSTIN.
        if (k == 9 || k == 10) {
            plan.status = 1;
            plan.supplierIndex = 0;
            Line line = HalfRupeeLine<Line>(k == 9 ? 100050 : 100150);
            line.taxes = TaxParts(
                SupplierRegime(suppliers_[static_cast<size_t>(plan.supplierIndex)].stateId), 0,
                line.gross);
            plan.lines = {line};
        }
        if (k == 5 || (k > 8 && random.Percent(15))) {
            const int claims = static_cast<int>(random.Between(1, 2));
            for (int product : DistinctProducts(random, claims))
                plan.claims.push_back({product, static_cast<int>(random.Between(1, 4)) * 6});
        }
        plans.push_back(std::move(plan));
    }
    std::stable_sort(plans.begin(), plans.end(),
                     [](const Plan& a, const Plan& b) { return a.invoiceDate < b.invoiceDate; });

    TableInserter header(db_, "PurchaseReceipt",
                         {"PurRcptId", "PurRcptRefNo", "GoodsRcvdDate", "InvDate", "SpmId",
                          "CmpInvNo", "PurOrderRefNo", "Status", "GrossAmount", "DiscountAmount",
                          "TaxAmount", "RoundOffAmount", "NetAmount", "NetPayable"});
    TableInserter product(
        db_, "PurchaseReceiptProduct",
        {"PurRcptId", "PrdSlNo", "PrdId", "InvBaseQty", "PrdUnitMRP", "PrdLSP", "PrdUnitLSP",
         "PrdGrossAmount", "PrdDiscount", "PrdTaxAmount", "PrdNetAmount"});
    TableInserter tax(db_, "PurchaseReceiptProductTax",
                      {"PurRcptId", "PrdSlNo", "TaxId", "TaxPerc", "TaxableAmount", "TaxAmount"});
    TableInserter claim(db_, "PurchaseReceiptClaimScheme",
                        {"PurRcptId", "SlNo", "PrdId", "Quantity"});
    for (size_t i = 0; i < plans.size(); ++i) {
        const Plan& plan = plans[i];
        const int id = static_cast<int>(i) + 1;
        const PartyInfo& supplier = suppliers_[static_cast<size_t>(plan.supplierIndex)];
        Paise gross = 0, discount = 0, taxTotal = 0;
        for (size_t n = 0; n < plan.lines.size(); ++n) {
            const Line& line = plan.lines[n];
            const ProductInfo& info = Products()[static_cast<size_t>(line.productIndex)];
            const Paise lineTax = TaxTotal(line.taxes);
            const int slNo = static_cast<int>(n) + 1;
            const Paise rate = line.rate != 0 ? line.rate : PurchaseRate(info);
            product.Row(id, slNo, info.id, line.qty, Money{info.mrp}, Money{rate}, Money{rate},
                        Money{line.gross}, Money{line.discount}, Money{lineTax},
                        Money{line.gross - line.discount + lineTax});
            for (const TaxPart& part : line.taxes)
                tax.Row(id, slNo, int{part.taxId}, Percent{part.rate}, Money{part.taxable},
                        Money{part.tax});
            gross += line.gross;
            discount += line.discount;
            taxTotal += lineTax;
        }
        for (size_t n = 0; n < plan.claims.size(); ++n)
            claim.Row(id, static_cast<int>(n) + 1,
                      Products()[static_cast<size_t>(plan.claims[n].first)].id,
                      plan.claims[n].second);
        const Paise net = gross - discount + taxTotal;
        const Paise payable = RoundToRupee(net);
        header.Row(id, DocumentNumber("GRN", id),
                   plan.invoiceDate.StartOfDay().PlusDays(static_cast<int>(random.Between(0, 3))),
                   plan.invoiceDate, supplier.id,
                   supplier.code + "/24-25/" + std::to_string(random.Between(10000, 99999)),
                   DocumentNumber("PO", id), plan.status, Money{gross}, Money{discount},
                   Money{taxTotal}, Money{payable - net}, Money{payable}, Money{payable});
    }
    summary_.purchaseReceipts = static_cast<long>(plans.size());
}

// Stock sent to and received from the other depots. Within one registration no tax
// applies; a sister concern in the state charges CGST and SGST; other states IGST.
void DemoBuilder::WriteInterDepotTransfers() {
    DemoRandom random = Stream(7);
    struct Line {
        int productIndex;
        int qty;
        Paise rate;  // 0: the product's purchase rate
        Paise gross;
        std::vector<TaxPart> taxes;
    };
    struct Plan {
        DemoDateTime date;
        int depotId;
        bool out;
        int status = 1;
        std::vector<Line> lines;
    };
    const int kMissingDepot = 9;  // a depot without an IDTMaster row

    std::vector<Plan> plans;
    const int count = Scaled(120);
    for (int k = 0; k < count; ++k) {
        Plan plan;
        plan.date = RandomMoment(random);
        plan.out = random.Percent(50);
        plan.depotId = static_cast<int>(random.Between(2, static_cast<int64_t>(Depots().size())));
        switch (k) {
            case 0:
                plan.depotId = kMissingDepot;
                break;
            case 1:
                plan.status = 0;
                break;
            case 2:
                plan.depotId = 4;
                plan.out = false;
                break;
            case 3:
                plan.depotId = 3;
                plan.out = true;
                break;
            case 4:
                plan.depotId = 2;
                plan.out = true;
                break;
            case 5:
                plan.depotId = 5;
                plan.out = false;
                break;
            default:
                if (random.Percent(4)) plan.status = 0;
        }
        const TaxRegime regime = plan.depotId == kMissingDepot
                                     ? TaxRegime::kInterState
                                     : Depots()[static_cast<size_t>(plan.depotId - 1)].regime;
        std::vector<int> products =
            DistinctProducts(random, static_cast<int>(random.Between(2, 10)));
        if (k == 5) products.back() = ProductIndexWithoutHsn();
        for (int productIndex : products) {
            const ProductInfo& product = Products()[static_cast<size_t>(productIndex)];
            Line line{};
            line.productIndex = productIndex;
            line.qty = static_cast<int>(random.Between(4, 80)) * 6;
            line.gross = PurchaseRate(product) * line.qty;
            line.taxes = TaxParts(regime, product.gstRate, line.gross);
            plan.lines.push_back(std::move(line));
        }
        // Nets of exactly half a rupee, rounded down (out to depot 4, which also sends) and
        // up (in from depot 2, which also receives).
        if (k == 6 || k == 7) {
            plan.status = 1;
            plan.depotId = k == 6 ? 4 : 2;
            plan.out = k == 6;
            Line line = HalfRupeeLine<Line>(k == 6 ? 100050 : 100150);
            line.taxes =
                TaxParts(Depots()[static_cast<size_t>(plan.depotId - 1)].regime, 0, line.gross);
            plan.lines = {line};
        }
        plans.push_back(std::move(plan));
    }
    std::stable_sort(plans.begin(), plans.end(),
                     [](const Plan& a, const Plan& b) { return a.date < b.date; });

    TableInserter header(
        db_, "IDTManagement",
        {"IDTMngRefNo", "DocRefNo", "StkMgmtTypeId", "IDTMngDate", "SpmId", "FromSpmId", "ToSpmId",
         "Status", "IDTGrossAmt", "IDTTaxAmt", "IDTNetAmt", "IDTPaidAmt", "LRNo", "LRDate"});
    TableInserter product(db_, "IDTManagementProduct",
                          {"IDTMngRefNo", "PrdSlNo", "PrdId", "Qty", "PrdMRPRate", "PrdUnitRate",
                           "PrdGrossAmount", "PrdTaxAmount", "PrdNetAmount"});
    TableInserter tax(db_, "IDTManagementProductTax",
                      {"IDTMngRefNo", "PrdSlNo", "TaxId", "TaxPerc", "TaxableAmount", "TaxAmount"});
    const int ownDepot = Depots().front().id;
    for (size_t i = 0; i < plans.size(); ++i) {
        const Plan& plan = plans[i];
        const std::string number = DocumentNumber("IDT", static_cast<long>(i) + 1);
        Paise gross = 0, taxTotal = 0;
        for (size_t n = 0; n < plan.lines.size(); ++n) {
            const Line& line = plan.lines[n];
            const ProductInfo& info = Products()[static_cast<size_t>(line.productIndex)];
            const Paise lineTax = TaxTotal(line.taxes);
            const int slNo = static_cast<int>(n) + 1;
            const Paise rate = line.rate != 0 ? line.rate : PurchaseRate(info);
            product.Row(number, slNo, info.id, line.qty, Money{info.mrp}, Money{rate},
                        Money{line.gross}, Money{lineTax}, Money{line.gross + lineTax});
            for (const TaxPart& part : line.taxes)
                tax.Row(number, slNo, int{part.taxId}, Percent{part.rate}, Money{part.taxable},
                        Money{part.tax});
            gross += line.gross;
            taxTotal += lineTax;
        }
        header.Row(number, "STN/24-25/" + std::to_string(4000 + i), plan.out ? 2 : 1, plan.date,
                   plan.depotId, plan.out ? ownDepot : plan.depotId,
                   plan.out ? plan.depotId : ownDepot, plan.status, Money{gross}, Money{taxTotal},
                   Money{RoundToRupee(gross + taxTotal)}, Money{0},
                   "LR" + std::to_string(random.Between(100000, 999999)), plan.date.StartOfDay());
    }
    summary_.interDepotTransfers = static_cast<long>(plans.size());
}

}  // namespace zentrail::dms_demo
