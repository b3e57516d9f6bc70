#include "screens/screen_registry.h"

#include <stdexcept>

#include "screens/idt_screen.h"
#include "screens/item_screen.h"
#include "screens/purchase_screen.h"
#include "screens/receipt_screen.h"
#include "screens/retailer_credit_note_screen.h"
#include "screens/sales_return_screen.h"
#include "screens/sales_screen.h"
#include "screens/service_screen.h"

namespace zentrail {

namespace {

std::vector<MenuEntry> BuildMenu() {
    std::vector<MenuEntry> entries = {
        {"CVR02-11", "Item", MenuAction::Screen, &ItemScreen::TheDefinition()},
        {"CVR02-01", "Sale ", MenuAction::Screen, &SalesScreen::TheDefinition()},
        {"CVR02-02", "Purchase", MenuAction::Screen, &PurchaseScreen::TheDefinition()},
        {"CVR02-03", "Sale Return", MenuAction::Screen, &SalesReturnScreen::TheDefinition()},
        {"CVR02-04", "IDT", MenuAction::Screen, &IdtScreen::TheDefinition()},
        {"CVR02-05", "Receipt", MenuAction::Screen, &ReceiptScreen::TheDefinition()},
        {"CVR02-06", "Service", MenuAction::Screen, &ServiceScreen::TheDefinition()},
        {"CVR02-07", "Credit Note", MenuAction::Screen, &RetailerCreditNoteScreen::TheDefinition()},
        {"CVR02-09", "About Calvera", MenuAction::About},
        {"CVR02-10", "Exit", MenuAction::Exit},
    };
    for (MenuEntry& entry : entries)
        if (entry.definition != nullptr) entry.cliName = entry.definition->Design().name;
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

std::unique_ptr<TransferScreen> CreateScreen(std::string_view cliName, ScreenContext context) {
    const MenuEntry* entry = FindScreen(cliName);
    return entry != nullptr ? std::make_unique<TransferScreen>(context, *entry->definition)
                            : nullptr;
}

}  // namespace zentrail
