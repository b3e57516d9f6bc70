#pragma once

#include <cstdint>
#include <vector>

namespace zentrail::dms_demo {

// Amounts are kept in paise so that every total is exact; the database gets rupees with
// two decimals.
using Paise = int64_t;

// A percentage in hundredths of a per cent (250 is 2.5 %), so that 2.5 and 14.5 are exact.
using Rate = int;

// `rate` of `amount`, rounded half up to the paisa.
inline Paise PercentOf(Paise amount, Rate rate) { return (amount * rate + 5000) / 10000; }

// To whole rupees with an exact half going to the even rupee, as the export rounds the net.
inline Paise RoundToRupee(Paise amount) {
    Paise rupees = amount / 100;
    Paise rest = amount % 100;
    if (rest > 50 || (rest == 50 && rupees % 2 != 0)) ++rupees;
    return rupees * 100;
}

// The tax codes of TaxConfiguration, by their TaxId.
enum TaxId { kCgst = 1, kSgst = 2, kIgst = 3, kUtgst = 4 };

// Which taxes a supply bears: within the state, between states, within a union territory,
// or none (a transfer inside one registration).
enum class TaxRegime { kIntraState, kInterState, kUnionTerritory, kNone };

struct TaxPart {
    TaxId taxId;
    Rate rate;  // the component's own percentage (9 for each half of 18 %)
    Paise taxable;
    Paise tax;
};

// The tax rows of one line: two halves within a state or union territory, one IGST row
// between states, none without tax. A zero rate still gives its rows (nil-rated supply).
inline std::vector<TaxPart> TaxParts(TaxRegime regime, Rate gstRate, Paise taxable) {
    std::vector<TaxPart> parts;
    switch (regime) {
        case TaxRegime::kIntraState:
        case TaxRegime::kUnionTerritory: {
            const Rate half = gstRate / 2;
            const TaxId second = regime == TaxRegime::kIntraState ? kSgst : kUtgst;
            parts.push_back({kCgst, half, taxable, PercentOf(taxable, half)});
            parts.push_back({second, half, taxable, PercentOf(taxable, half)});
            break;
        }
        case TaxRegime::kInterState:
            parts.push_back({kIgst, gstRate, taxable, PercentOf(taxable, gstRate)});
            break;
        case TaxRegime::kNone:
            break;
    }
    return parts;
}

inline Paise TaxTotal(const std::vector<TaxPart>& parts) {
    Paise total = 0;
    for (const TaxPart& part : parts) total += part.tax;
    return total;
}

}  // namespace zentrail::dms_demo
