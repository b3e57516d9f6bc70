#include "screens/gst_bands.h"

#include <array>
#include <string>

namespace zentrail {

namespace {

struct BandRow {
    double percent;
    int band;
};

// Half rates (2.5, 6, 9, 14) stand for the central or state share of their band.
constexpr std::array<BandRow, 10> kBands = {{{2.5, 5},
                                             {5, 5},
                                             {6, 12},
                                             {12, 12},
                                             {9, 18},
                                             {18, 18},
                                             {14, 28},
                                             {14.5, 28},
                                             {28, 28},
                                             {29, 28}}};

}  // namespace

int RateBand(double taxPercent) {
    for (const BandRow& row : kBands)
        if (row.percent == taxPercent) return row.band;
    return 0;
}

double ItemCentralRate(double taxPercent) {
    int band = RateBand(taxPercent);
    return band == 0 ? taxPercent : band / 2.0;
}

BandLedgers SalesBandLedgers(int band) {
    switch (band) {
        case 5:
            return {"GST Sales 5%", "CGST 2.5%", "SGST 2.5%", "IGST 5%", "UTGST 2.5%"};
        case 12:
            return {"GST Sales 12%", "CGST 6%", "SGST 6%", "IGST 12%", "UTGST 6%"};
        case 18:
            return {"GST Sales 18%", "CGST 9%", "SGST 9%", "IGST 18%", "UTGST 9%"};
        case 28:
            return {"GST Sales 28%", "CGST 14%", "SGST 14%", "IGST 28%", "UTGST 14%"};
        default:
            return {"GST Sales 0%", "", "", "", ""};
    }
}

std::string PurchaseBandLedger(int band) {
    switch (band) {
        case 5:
        case 12:
        case 18:
        case 28:
            return "GST Purchase " + std::to_string(band) + "%";
        default:
            return "GST Purchase 0%";
    }
}

}  // namespace zentrail
