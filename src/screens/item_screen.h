#pragma once

#include "screens/transfer_screen.h"

namespace zentrail {

// The item master: lists the products that carry an HSN code and creates them in Tally as
// stock items with the dated GST rates they were sold at, after the stock group and units.
class ItemScreen : public TransferScreen {
public:
    explicit ItemScreen(ScreenContext context) : TransferScreen(context, TheDefinition()) {}
    static const ScreenDefinition& TheDefinition();
};

}  // namespace zentrail
