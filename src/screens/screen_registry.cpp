#include "screens/screen_registry.h"

#include <stdexcept>

#include "screens/frm_t_cnote.h"
#include "screens/frm_t_credit_note.h"
#include "screens/frm_t_idt.h"
#include "screens/frm_t_item.h"
#include "screens/frm_t_purchase.h"
#include "screens/frm_t_receipt.h"
#include "screens/frm_t_sales.h"
#include "screens/frm_t_service.h"

namespace zentrail {

namespace {

template <class Screen>
std::unique_ptr<TransferScreen> Make(ScreenContext context) {
    return std::make_unique<Screen>(context);
}

using Design = TransferScreen::Design;

std::vector<MenuEntry> BuildMenu() {
    std::vector<MenuEntry> entries = {
        {"CVR02-11", "Item", MenuAction::Screen, "item",
         Design{.title = "Import Sales Transaction",
                .frameCaption = "Importing Sales",
                .closingText = "Item Transferrd",
                .hasDates = false},
         &Make<frmT_Item>},
        {"CVR02-01", "Sale ", MenuAction::Screen, "sales",
         Design{.title = "Import Sales Transaction",
                .frameCaption = "Importing Sales",
                .closingText = "Sales Transferrd",
                .reopensConnection = true},
         &Make<frmT_Sales>},
        {"CVR02-02", "Purchase", MenuAction::Screen, "purchase",
         Design{.title = "Import Purchase Transaction",
                .frameCaption = "Importing Purchase",
                .closingText = "Purchase Transferrd",
                .reopensConnection = true},
         &Make<frmT_Purchase>},
        {"CVR02-03", "Sale Return", MenuAction::Screen, "salesreturn",
         Design{.title = "Import Credit Note Transaction",
                .frameCaption = "Importing Credit Note",
                .closingText = "Credit Note Transferrd",
                .reopensConnection = true},
         &Make<frmT_CreditNote>},
        {"CVR02-04", "IDT", MenuAction::Screen, "idt",
         Design{.title = "Import IDT Transaction",
                .frameCaption = "Importing IDT",
                .closingText = "IDT Transferrd"},
         &Make<frmT_IDT>},
        {"CVR02-05", "Receipt", MenuAction::Screen, "receipt",
         Design{.title = "Import Receipt Transaction",
                .frameCaption = "Importing Receipt",
                .closingText = "Receipt Transferrd"},
         &Make<frmT_Receipt>},
        {"CVR02-06", "Service", MenuAction::Screen, "service",
         Design{.title = "Import Service Transaction",
                .frameCaption = "Importing Service",
                .closingText = "Services Transferrd"},
         &Make<frmT_Service>},
        {"CVR02-07", "Credit Note", MenuAction::Screen, "creditnote",
         Design{.title = "Import Credit Note Transaction",
                .frameCaption = "Importing Credit Note",
                .closingText = "Credit Note Transferrd"},
         &Make<frmT_CNote>},
        {"CVR02-09", "About Calvera", MenuAction::About, "", {}},
        {"CVR02-10", "Exit", MenuAction::Exit, "", {}},
    };
    for (MenuEntry& entry : entries) entry.design.name = entry.cliName;
    return entries;
}

}  // namespace

const std::vector<MenuEntry>& MenuEntries() {
    static const std::vector<MenuEntry> entries = BuildMenu();
    return entries;
}

std::vector<const MenuEntry*> TransferScreens() {
    std::vector<const MenuEntry*> screens;
    for (const MenuEntry& entry : MenuEntries())
        if (entry.action == MenuAction::Screen) screens.push_back(&entry);
    return screens;
}

const MenuEntry* FindScreen(std::string_view cliNameOrKey) {
    for (const MenuEntry* entry : TransferScreens())
        if (entry->cliName == cliNameOrKey || entry->key == cliNameOrKey) return entry;
    return nullptr;
}

const TransferScreen::Design& ScreenDesign(std::string_view cliName) {
    const MenuEntry* entry = FindScreen(cliName);
    if (entry == nullptr) throw std::logic_error("no screen named " + std::string(cliName));
    return entry->design;
}

std::unique_ptr<TransferScreen> CreateScreen(std::string_view cliName, ScreenContext context) {
    const MenuEntry* entry = FindScreen(cliName);
    return entry != nullptr && entry->Built() ? entry->factory(context) : nullptr;
}

}  // namespace zentrail
