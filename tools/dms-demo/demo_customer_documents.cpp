#include <algorithm>
#include <optional>
#include <string>

#include "demo_builder.h"

namespace zentrail::dms_demo {
namespace {

// A moment on the given day, in office hours.
DemoDateTime OnDay(std::chrono::sys_days day, DemoRandom& random) {
    return {day, static_cast<int>(random.Between(10 * 3600, 19 * 3600))};
}

std::chrono::sys_days LastDay() { return std::chrono::sys_days{kLastDay}; }

}  // namespace

// Retailer credit notes, most adjusted against one invoice of the retailer.
void DemoBuilder::WriteCreditNotes() {
    DemoRandom random = Stream(3);
    struct Adjustment {
        size_t invoice;
        Paise amount;
    };
    struct Plan {
        DemoDateTime date;
        int retailerIndex;
        int reasonId;
        Paise amount;
        int transId;
        std::string remarks;
        std::vector<Adjustment> adjustments;
    };
    static const std::vector<const char*> remarks = {
        "Display incentive \u2013 April 2024", "Rate diff. on \"Glow\" soap",
        "Damaged goods & expiry (batch B12)",  "Retailer's scheme claim",
        "Festival offer settlement",           "Freight reimbursed",
    };

    std::vector<Plan> plans;
    const int count = Scaled(120);
    for (int k = 0; k < count; ++k) {
        InvoiceRecord* invoice = RandomDeliveredInvoice(random);
        if (!invoice) break;
        Plan plan;
        plan.retailerIndex = invoice->retailerIndex;
        plan.date = OnDay(invoice->date.day - std::chrono::days{random.Between(0, 3)}, random);
        plan.reasonId = static_cast<int>(random.Between(1, static_cast<int64_t>(Reasons().size())));
        plan.amount = random.Between(5000, 200000);
        plan.remarks = random.Pick(remarks);
        // The first three show: a note the header leaves out (TRANSID 30), a note adjusted
        // against two invoices, and a note never adjusted.
        const bool excluded = k == 0 || (k > 2 && random.Percent(5));
        const bool twoInvoices = k == 1 || (k > 2 && random.Percent(8));
        const bool unadjusted = k == 2 || (k > 2 && random.Percent(5));
        plan.transId = excluded ? 30 : 12;

        if (!unadjusted) {
            std::vector<size_t> targets = {static_cast<size_t>(invoice - invoices_.data())};
            if (twoInvoices) {
                for (size_t other :
                     deliveredByRetailer_[static_cast<size_t>(invoice->retailerIndex)])
                    if (other != targets[0]) {
                        targets.push_back(other);
                        break;
                    }
            }
            Paise left = plan.amount;
            for (size_t t = 0; t < targets.size() && left > 0; ++t) {
                InvoiceRecord& target = invoices_[targets[t]];
                // Never more than half of what the invoice asks.
                const Paise room = std::max<Paise>(0, target.net / 2 - target.creditAdjusted);
                Paise share = t + 1 < targets.size() ? left * 6 / 10 : left;
                share = std::min(share, room);
                if (share <= 0) continue;
                target.creditAdjusted += share;
                plan.adjustments.push_back({targets[t], share});
                left -= share;
            }
        }
        plans.push_back(std::move(plan));
    }
    // A note of amount 0 adjusted against an invoice: only its amount keeps it out of the
    // transfer.
    if (!deliveredInRange_.empty()) {
        const size_t target = deliveredInRange_.front();
        const InvoiceRecord& invoice = invoices_[target];
        plans.push_back({{invoice.date.day, 15 * 3600},
                         invoice.retailerIndex,
                         1,
                         0,
                         12,
                         remarks[0],
                         {{target, 0}}});
    }
    std::stable_sort(plans.begin(), plans.end(),
                     [](const Plan& a, const Plan& b) { return a.date < b.date; });

    TableInserter note(db_, "CreditNoteRetailer",
                       {"CrNoteNumber", "CrNoteDate", "RtrId", "ReasonId", "Amount", "CrAdjAmount",
                        "Remarks", "PostedFrom", "TRANSID"});
    TableInserter adjustment(db_, "SalInvCrNoteAdj", {"CrNoteNumber", "SALID", "AdjAmount"});
    for (size_t i = 0; i < plans.size(); ++i) {
        const Plan& plan = plans[i];
        const std::string number = DocumentNumber("CNR", static_cast<long>(i) + 1);
        Paise adjusted = 0;
        for (const Adjustment& a : plan.adjustments) {
            adjustment.Row(number, invoices_[a.invoice].salId, Money{a.amount});
            adjusted += a.amount;
        }
        note.Row(number, plan.date, retailers_[static_cast<size_t>(plan.retailerIndex)].id,
                 plan.reasonId, Money{std::max(plan.amount, adjusted)}, Money{adjusted},
                 plan.remarks, plan.transId == 30 ? "Claims" : "Manual", plan.transId);
    }
    summary_.creditNotes = static_cast<long>(plans.size());

    // The invoices carry what was adjusted against them.
    DemoStatement update(db_,
                         "UPDATE SalesInvoice SET CRAdjAmount = ?, SalPayAmt = SalNetAmt - ? "
                         "WHERE SalId = ?");
    for (const InvoiceRecord& invoice : invoices_)
        if (invoice.creditAdjusted != 0)
            update.Row(Money{invoice.creditAdjusted}, Money{invoice.creditAdjusted}, invoice.salId);
}

// Sales returns: most against an invoice (its products, at its rates), some over the
// counter without one (priced with tax included).
void DemoBuilder::WriteSalesReturns() {
    DemoRandom random = Stream(4);
    struct Line {
        int productIndex;
        int qty;
        Paise rate, gross, scheme, cash;
        std::vector<TaxPart> taxes;
    };
    struct Plan {
        DemoDateTime date;
        int retailerIndex;
        std::optional<int> salId;
        int status = 0;
        std::vector<Line> lines;
    };

    auto againstInvoice = [&](const InvoiceRecord& invoice, Plan& plan) {
        plan.retailerIndex = invoice.retailerIndex;
        plan.salId = invoice.salId;
        plan.date = OnDay(invoice.date.day + std::chrono::days{random.Between(1, 10)}, random);
        const TaxRegime regime =
            RetailerRegime(retailers_[static_cast<size_t>(invoice.retailerIndex)].stateId);
        const int lines = static_cast<int>(
            random.Between(1, std::min<int64_t>(3, static_cast<int64_t>(invoice.lineCount))));
        std::vector<uint32_t> picked;
        while (static_cast<int>(picked.size()) < lines) {
            const uint32_t n = static_cast<uint32_t>(random.Below(invoice.lineCount));
            if (std::find(picked.begin(), picked.end(), n) != picked.end()) continue;
            picked.push_back(n);
            const InvoiceLineRecord& sold = invoiceLines_[invoice.firstLine + n];
            const ProductInfo& product = Products()[static_cast<size_t>(sold.productIndex)];
            Line line;
            line.productIndex = sold.productIndex;
            line.qty = static_cast<int>(random.Between(1, std::min(sold.qty, 6)));
            line.rate = product.rate;
            line.gross = product.rate * line.qty;
            line.scheme = random.Percent(20) ? PercentOf(line.gross, 500) : 0;
            line.cash = random.Percent(10) ? PercentOf(line.gross - line.scheme, 100) : 0;
            line.taxes = TaxParts(regime, product.gstRate, line.gross - line.scheme - line.cash);
            plan.lines.push_back(std::move(line));
        }
    };
    // Over the counter: the price includes the tax, which is taken out of it.
    auto withoutInvoice = [&](int retailerIndex, Plan& plan, bool withTaxRows) {
        plan.retailerIndex = retailerIndex;
        plan.date = RandomMoment(random);
        const TaxRegime regime =
            RetailerRegime(retailers_[static_cast<size_t>(retailerIndex)].stateId);
        const int lines = static_cast<int>(random.Between(1, 3));
        for (int n = 0; n < lines; ++n) {
            const ProductInfo& product =
                Products()[static_cast<size_t>(random.Pick(StockedProducts()))];
            Line line;
            line.productIndex = static_cast<int>(&product - Products().data());
            line.qty = static_cast<int>(random.Between(1, 6));
            const Paise inclusive =
                (product.rate + PercentOf(product.rate, product.gstRate)) * line.qty;
            const Paise taxable =
                (inclusive * 10000 + (10000 + product.gstRate) / 2) / (10000 + product.gstRate);
            const Paise taxTotal = inclusive - taxable;
            line.gross = taxable;
            line.rate = (taxable + line.qty / 2) / line.qty;
            line.scheme = line.cash = 0;
            if (!withTaxRows) {
                // Untaxed: the plain rate.
                line.rate = product.rate;
                line.gross = product.rate * line.qty;
            } else {
                line.taxes = TaxParts(regime, product.gstRate, taxable);
                // The parts must add up to the tax inside the price.
                const Paise first =
                    line.taxes.size() > 1 ? std::min(line.taxes.front().tax, taxTotal) : taxTotal;
                line.taxes.front().tax = first;
                if (line.taxes.size() > 1) line.taxes.back().tax = taxTotal - first;
            }
            plan.lines.push_back(std::move(line));
        }
    };

    std::vector<Plan> plans;
    const int count = Scaled(150);
    for (int k = 0; k < count; ++k) {
        Plan plan;
        // The first ones show: with and without an invoice, a return without tax rows (not
        // listed), a cancelled one, one of a retailer without a 'State Name' value (not
        // listed, yet its retailer is in the party query), one in a union territory.
        if (k == 1 || (k > 5 && random.Percent(30))) {
            withoutInvoice(static_cast<int>(random.Below(retailers_.size())), plan, true);
        } else if (k == 2) {
            withoutInvoice(0, plan, false);
        } else if (k == 4) {
            withoutInvoice(10, plan, true);
        } else if (k == 5 && !deliveredByRetailer_[4].empty()) {
            againstInvoice(invoices_[deliveredByRetailer_[4].front()], plan);
        } else {
            InvoiceRecord* invoice = RandomDeliveredInvoice(random);
            if (!invoice) {
                withoutInvoice(static_cast<int>(random.Below(retailers_.size())), plan, true);
            } else {
                againstInvoice(*invoice, plan);
            }
        }
        plan.status = (k == 3 || (k > 5 && random.Percent(4))) ? 1 : 0;
        plans.push_back(std::move(plan));
    }
    std::stable_sort(plans.begin(), plans.end(),
                     [](const Plan& a, const Plan& b) { return a.date < b.date; });

    TableInserter header(db_, "ReturnHeader",
                         {"ReturnID", "ReturnCode", "ReturnDate", "RtrId", "SalId", "InvoiceType",
                          "Status", "RtnGrossAmt", "RtnSplDisAmt", "RtnSchDisAmt", "RtnDBDisAmt",
                          "RtnTaxAmt", "RtnRoundOffAmt", "RtnNetAmt"});
    TableInserter product(
        db_, "ReturnProduct",
        {"ReturnID", "SlNo", "PrdId", "BaseQty", "PrdUnitMRP", "PrdUnitSelRte", "PrdGrossAmt",
         "PrdSchDisAmt", "PrdSplDisAmt", "PrdCDDisAmt", "PrdTaxAmt", "PrdNetAmt"});
    TableInserter tax(db_, "ReturnProductTax",
                      {"ReturnID", "PrdSlNo", "TaxId", "TaxPerc", "TaxableAmt", "TaxAmt"});
    for (size_t i = 0; i < plans.size(); ++i) {
        const Plan& plan = plans[i];
        const int returnId = static_cast<int>(i) + 1;
        Paise gross = 0, scheme = 0, cash = 0, taxTotal = 0;
        for (size_t n = 0; n < plan.lines.size(); ++n) {
            const Line& line = plan.lines[n];
            const ProductInfo& info = Products()[static_cast<size_t>(line.productIndex)];
            const Paise lineTax = TaxTotal(line.taxes);
            const int slNo = static_cast<int>(n) + 1;
            product.Row(returnId, slNo, info.id, line.qty, Money{info.mrp}, Money{line.rate},
                        Money{line.gross}, Money{line.scheme}, Money{0}, Money{line.cash},
                        Money{lineTax}, Money{line.gross - line.scheme - line.cash + lineTax});
            for (const TaxPart& part : line.taxes)
                tax.Row(returnId, slNo, int{part.taxId}, Percent{part.rate}, Money{part.taxable},
                        Money{part.tax});
            gross += line.gross;
            scheme += line.scheme;
            cash += line.cash;
            taxTotal += lineTax;
        }
        // The return credits exactly its lines: no round-off.
        header.Row(returnId, DocumentNumber("SRN", returnId), plan.date,
                   retailers_[static_cast<size_t>(plan.retailerIndex)].id, plan.salId,
                   plan.salId ? 1 : 2, plan.status, Money{gross}, Money{0}, Money{scheme}, Money{0},
                   Money{taxTotal}, Money{0}, Money{gross - scheme - cash + taxTotal});
    }
    summary_.salesReturns = static_cast<long>(plans.size());
}

// Receipts from retailers, each settling one to three of the retailer's open invoices, in
// cash, by cheque or by bank transfer.
void DemoBuilder::WriteReceipts() {
    DemoRandom random = Stream(5);
    enum Mode { kCash = 1, kCheque = 2, kTransfer = 3 };
    struct Line {
        size_t invoice;
        Paise amount;
    };
    struct Plan {
        DemoDateTime date;
        Mode mode = kCash;
        std::vector<Line> lines;
        int customerBank = 0, customerBranch = 0, distributorBank = 0, distributorBranch = 0;
        std::string instrument;
        DemoDateTime instrumentDate;
        int instrumentStatus = 1;
        int cancelStatus = 1;
        bool serialsFromOne = false;  // lines numbered within the receipt
    };
    auto branchOf = [&](int bankId) {
        std::vector<int> ids;
        for (const BranchInfo& b : Branches())
            if (b.bankId == bankId) ids.push_back(b.id);
        return ids.empty() ? 0 : random.Pick(ids);
    };

    std::vector<Plan> plans;
    const int count = Scaled(150);
    for (int k = 0; k < count; ++k) {
        // The first two settle two invoices of one retailer, in cash and by cheque.
        const size_t wanted = k < 2 ? 2 : static_cast<size_t>(random.Between(1, 3));
        std::vector<size_t> open;
        for (int attempt = 0; attempt < 40 && open.size() < std::min<size_t>(wanted, 2);
             ++attempt) {
            InvoiceRecord* invoice = RandomDeliveredInvoice(random);
            if (!invoice) break;
            open.clear();
            for (size_t index : deliveredByRetailer_[static_cast<size_t>(invoice->retailerIndex)])
                if (invoices_[index].Outstanding() > 0 && open.size() < wanted)
                    open.push_back(index);
            if (k >= 2 && !open.empty()) break;
        }
        if (open.empty()) continue;

        Plan plan;
        std::chrono::sys_days latest = invoices_[open.front()].date.day;
        for (size_t index : open) latest = std::max(latest, invoices_[index].date.day);
        std::chrono::sys_days day = latest + std::chrono::days{random.Between(0, 7)};
        if (day > LastDay() && !random.Percent(5)) day = LastDay();
        plan.date = OnDay(day, random);

        // Then a bounced cheque, a cancelled receipt and a bank transfer.
        if (k < 5)
            plan.mode = k == 0 ? kCash : k == 4 ? kTransfer : kCheque;
        else
            plan.mode = random.Percent(40) ? kCash : random.Percent(83) ? kCheque : kTransfer;
        if (plan.mode != kCash) {
            plan.customerBank = static_cast<int>(random.Between(1, 7));
            plan.customerBranch = branchOf(plan.customerBank);
            plan.distributorBank = static_cast<int>(random.Between(1, kDistributorBanks));
            plan.distributorBranch = branchOf(plan.distributorBank);
            plan.instrumentDate = {day - std::chrono::days{random.Between(0, 3)}, 0};
        }
        if (plan.mode == kCheque) {
            plan.instrument = std::to_string(random.Between(100000, 999999));
            // Received, deposited or realised; a few bounce.
            plan.instrumentStatus = static_cast<int>(random.Between(1, 3));
            if (k == 2 || (k > 4 && random.Percent(5))) plan.instrumentStatus = 4;
        } else if (plan.mode == kTransfer) {
            plan.instrumentStatus = 3;  // a transfer has no instrument number
        }
        if (k == 3 || (k > 4 && random.Percent(3))) plan.cancelStatus = 0;

        const bool counts = plan.instrumentStatus < 4 && plan.cancelStatus == 1;
        for (size_t index : open) {
            InvoiceRecord& invoice = invoices_[index];
            Paise amount = invoice.Outstanding();
            if (random.Percent(30)) {
                const Paise part = RoundToRupee(amount * random.Between(30, 90) / 100);
                if (part > 0 && part < amount) amount = part;
            }
            if (counts) invoice.settled += amount;
            plan.lines.push_back({index, amount});
        }
        plans.push_back(std::move(plan));
    }

    // Two receipts of one retailer on one day whose lines are both numbered 1: only the
    // receipt number tells their vouchers apart. One receipt of a single invoice is split in
    // two, the second half paid in cash an hour later.
    const std::chrono::sys_days firstDay{kFirstDay};
    for (size_t i = 5; i < plans.size(); ++i) {
        Plan& first = plans[i];
        if (first.lines.size() != 1 || first.lines[0].amount < 200 || first.instrumentStatus >= 4 ||
            first.cancelStatus != 1 || first.date.day < firstDay || first.date.day > LastDay() ||
            first.date.secondOfDay > 22 * 3600)
            continue;
        const Paise whole = first.lines[0].amount;
        first.lines[0].amount = RoundToRupee(whole / 2);
        first.serialsFromOne = true;
        Plan second;
        second.date = {first.date.day, first.date.secondOfDay + 3600};
        second.serialsFromOne = true;
        second.lines.push_back({first.lines[0].invoice, whole - first.lines[0].amount});
        plans.push_back(std::move(second));
        break;
    }
    std::stable_sort(plans.begin(), plans.end(),
                     [](const Plan& a, const Plan& b) { return a.date < b.date; });

    TableInserter receipt(db_, "Receipt", {"InvRcpNo", "InvRcpDate", "InvRcpAmt", "InvRcpMode"});
    TableInserter settled(
        db_, "ReceiptInvoice",
        {"InvRcpNo", "InvRcpSNo", "SalId", "SalInvAmt", "BnkId", "BnkBrId", "DisBnkId",
         "DisBnkBrId", "InvInsNo", "InvInsDate", "InvDepDate", "InvInsSta", "CancelStatus"});
    auto optionalId = [](int id) { return id ? std::optional<int>(id) : std::nullopt; };
    long serial = 0, lines = 0;
    for (size_t i = 0; i < plans.size(); ++i) {
        const Plan& plan = plans[i];
        const std::string number = DocumentNumber("RCP", static_cast<long>(i) + 1);
        Paise total = 0;
        for (const Line& line : plan.lines) total += line.amount;
        receipt.Row(number, plan.date, Money{total}, int{plan.mode});
        const bool banked = plan.mode != kCash;
        long lineNo = 0;
        for (const Line& line : plan.lines) {
            ++lines;
            const long serialNo = plan.serialsFromOne ? ++lineNo : ++serial;
            settled.Row(number, serialNo, invoices_[line.invoice].salId, Money{line.amount},
                        optionalId(plan.customerBank), optionalId(plan.customerBranch),
                        optionalId(plan.distributorBank), optionalId(plan.distributorBranch),
                        banked ? std::optional<std::string>(plan.instrument) : std::nullopt,
                        banked ? std::optional<DemoDateTime>(plan.instrumentDate) : std::nullopt,
                        banked ? std::optional<DemoDateTime>(plan.date.StartOfDay().PlusDays(1))
                               : std::nullopt,
                        plan.instrumentStatus, plan.cancelStatus);
        }
    }
    summary_.receipts = static_cast<long>(plans.size());
    summary_.receiptLines = lines;
}

}  // namespace zentrail::dms_demo
