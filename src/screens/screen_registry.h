#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "screens/transfer_screen.h"

namespace zentrail {

// What an entry of the main menu does when it is chosen.
enum class MenuAction { Screen, About, Exit };

// One entry of the main menu. The transfer screens are the entries with a definition.
struct MenuEntry {
    std::string_view key;   // tree key, "CVR02-01"
    std::string_view text;  // tree text, "Sale " (with its blank)
    MenuAction action = MenuAction::Screen;
    const ScreenDefinition* definition = nullptr;  // null for About and Exit
    std::string_view cliName{};  // "sales", the definition's name; empty for About and Exit
};

inline constexpr std::string_view kMenuRootKey = "CVR-MENU";

// The ten entries of the main menu in their order; the one place that knows the screens.
const std::vector<MenuEntry>& MenuEntries();

// The transfer screens among them, in menu order.
std::vector<const MenuEntry*> TransferScreens();

// The screen of a command-line name or tree key; nullptr when there is none.
const MenuEntry* FindScreen(std::string_view cliNameOrKey);

// A new instance of a screen; nullptr when it is unknown.
std::unique_ptr<TransferScreen> CreateScreen(std::string_view cliName, ScreenContext context);

}  // namespace zentrail
