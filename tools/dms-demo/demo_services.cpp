#include <algorithm>
#include <string>

#include "demo_builder.h"

namespace zentrail::dms_demo {

// Service invoices at 18 %: visibility and display claims bought from retailers, and
// display space sold to suppliers.
void DemoBuilder::WriteServiceInvoices() {
    DemoRandom random = Stream(8);
    struct Plan {
        DemoDateTime date;
        bool purchase;
        int partyIndex;  // into retailers_ for a purchase, suppliers_ for a sale
        int serviceId;
        Paise amount;
    };
    std::vector<int> registeredRetailers;
    for (size_t i = 0; i < retailers_.size(); ++i)
        if (!retailers_[i].gstin.empty()) registeredRetailers.push_back(static_cast<int>(i));

    std::vector<Plan> plans;
    const int count = Scaled(100);
    for (int k = 0; k < count; ++k) {
        Plan plan;
        plan.date = RandomMoment(random);
        plan.purchase = random.Percent(60);
        plan.partyIndex =
            plan.purchase ? random.Pick(registeredRetailers) : static_cast<int>(random.Below(7));
        plan.serviceId =
            static_cast<int>(random.Between(1, static_cast<int64_t>(Services().size())));
        // The first show a union territory, the corrected states, escaped names, both kinds
        // of party and a zero invoice (left out by the export).
        static const int kShowcaseRetailers[] = {4, 5, 6, 1};
        if (k < 4) {
            plan.purchase = true;
            plan.partyIndex = kShowcaseRetailers[k];
        } else if (k < 6) {
            plan.purchase = false;
            plan.partyIndex = k == 4 ? 1 : 0;
        }
        const PartyInfo& party = plan.purchase ? retailers_[static_cast<size_t>(plan.partyIndex)]
                                               : suppliers_[static_cast<size_t>(plan.partyIndex)];
        const TaxRegime regime =
            plan.purchase ? RetailerRegime(party.stateId) : SupplierRegime(party.stateId);
        // Amounts in whole hundreds keep a union territory's tax in whole rupees.
        plan.amount = regime == TaxRegime::kUnionTerritory || random.Percent(50)
                          ? random.Between(5, 200) * 10000
                          : random.Between(50000, 2000000);
        if (k == 6) plan.amount = 0;
        plans.push_back(plan);
    }
    // Worked figures: 1000.40 with 180.07 IGST settles to 1180 with a round-off of -0.47, bought
    // from a retailer and sold to a supplier; 994.44 in the union territory carries 89.50 of
    // CGST and of UTGST, and the export takes the UTGST whole (90), one rupee above the total.
    const std::chrono::sys_days may10{std::chrono::year{2024} / std::chrono::May / 10};
    plans.push_back({{may10, 11 * 3600}, true, 5, 1, 100040});   // Raipur: IGST
    plans.push_back({{may10, 12 * 3600}, false, 1, 2, 100040});  // Karnataka: IGST
    plans.push_back({{may10, 13 * 3600}, true, 4, 3, 99444});    // Puducherry: UTGST 89.50
    std::stable_sort(plans.begin(), plans.end(),
                     [](const Plan& a, const Plan& b) { return a.date < b.date; });

    TableInserter header(
        db_, "SERVICEINVOICEHD",
        {"ServiceInvId", "ServiceInvRefNo", "ServiceInvDate", "ServiceInvFor", "ServiceFromId",
         "ServiceToId", "ServiceType", "ServiceAcCode", "ServiceAmount", "GSTAmount", "TotalAmount",
         "ReverseCharges", "ServiceInvStatus", "DocRefNo", "Remarks", "FromGSTTinNo",
         "FromStateCode"});
    TableInserter tax(
        db_, "ServiceInvoiceTaxDetails",
        {"ServiceInvId", "TaxId", "ServiceTaxSeqId", "TaxPerc", "TaxableAmount", "TaxAmount"});
    static const char* kMonths[] = {"January",   "February", "March",    "April",
                                    "May",       "June",     "July",     "August",
                                    "September", "October",  "November", "December"};
    for (size_t i = 0; i < plans.size(); ++i) {
        const Plan& plan = plans[i];
        const int id = static_cast<int>(i) + 1;
        const PartyInfo& party = plan.purchase ? retailers_[static_cast<size_t>(plan.partyIndex)]
                                               : suppliers_[static_cast<size_t>(plan.partyIndex)];
        const TaxRegime regime =
            plan.purchase ? RetailerRegime(party.stateId) : SupplierRegime(party.stateId);
        const NamedRow& service = Services()[static_cast<size_t>(plan.serviceId - 1)];
        // The group's components are numbered CGST 1, SGST 2, IGST 3, UTGST 4.
        Paise gst = 0;
        for (const TaxPart& part : TaxParts(regime, 1800, plan.amount)) {
            tax.Row(id, 1, static_cast<int>(part.taxId), Percent{part.rate}, Money{part.taxable},
                    Money{part.tax});
            gst += part.tax;
        }
        const std::chrono::year_month_day day{plan.date.day};
        const std::string month = kMonths[static_cast<unsigned>(day.month()) - 1];
        header.Row(
            id, DocumentNumber("SRV", id), plan.date, plan.purchase ? 1 : 2,
            plan.purchase ? std::optional<int>(party.id) : std::nullopt,
            plan.purchase ? std::nullopt : std::optional<int>(party.id), plan.serviceId,
            service.code, Money{plan.amount}, Money{gst}, Money{RoundToRupee(plan.amount + gst)},
            "N", 1,
            std::string(plan.purchase ? "CLM" : "INV") + "/24-25/" + std::to_string(700 + id),
            std::string(service.name) + " \u2013 " + month + " 2024", party.gstin,
            State(party.stateId).name);
    }
    summary_.serviceInvoices = static_cast<long>(plans.size());
}

}  // namespace zentrail::dms_demo
