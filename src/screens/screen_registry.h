#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "screens/transfer_screen.h"

namespace zentrail {

// What an entry of the main menu does when it is chosen.
enum class MenuAction { Screen, About, Exit };

using ScreenFactory = std::unique_ptr<TransferScreen> (*)(ScreenContext context);

// One entry of the main menu. The transfer screens are the entries with a command-line name;
// `factory` is null for a screen that is not built yet.
struct MenuEntry {
    std::string_view key;   // tree key, "CVR02-01"
    std::string_view text;  // tree text, "Sale " (with its blank)
    MenuAction action = MenuAction::Screen;
    std::string_view cliName;  // "sales"; empty for About and Exit
    TransferScreen::Design design;
    ScreenFactory factory = nullptr;

    bool Built() const { return factory != nullptr; }
};

inline constexpr std::string_view kMenuRootKey = "CVR-MENU";

// The ten entries of the main menu in their order; the one place that knows the screens.
const std::vector<MenuEntry>& MenuEntries();

// The transfer screens among them, in menu order.
std::vector<const MenuEntry*> TransferScreens();

// The screen of a command-line name or tree key; nullptr when there is none.
const MenuEntry* FindScreen(std::string_view cliNameOrKey);

// The design of a screen by its command-line name; the screens' constructors read it here.
const TransferScreen::Design& ScreenDesign(std::string_view cliName);

// A new instance of a built screen; nullptr when it is unknown or not built.
std::unique_ptr<TransferScreen> CreateScreen(std::string_view cliName, ScreenContext context);

}  // namespace zentrail
