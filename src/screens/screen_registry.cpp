#include "screens/screen_registry.h"

#include <algorithm>

#include "screens/frm_t_item.h"
#include "screens/frm_t_sales.h"

namespace zentrail {

const std::vector<std::string>& ScreenNames() {
    static const std::vector<std::string> names = {"item", "sales",   "purchase", "salesreturn",
                                                   "idt",  "receipt", "service",  "creditnote"};
    return names;
}

bool IsKnownScreen(const std::string& name) {
    const auto& names = ScreenNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::unique_ptr<TransferScreen> CreateScreen(const std::string& name, ScreenContext context) {
    if (name == "item") return std::make_unique<frmT_Item>(context);
    if (name == "sales") return std::make_unique<frmT_Sales>(context);
    return nullptr;
}

}  // namespace zentrail
