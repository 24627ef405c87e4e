#pragma once

#include <QKeySequence>
#include <QString>

#include <vector>

// Menu 128, accelerator table 128 and tool bar 128 of the main frame. Menu
// texts are German and translated in context "Menu" when the menu is built;
// "&" marks the mnemonic and the part after "\t" is the key shown at the right.
namespace Res {

struct MenuItem {
    unsigned id;       // 0: separator
    const char* text;  // German, untranslated
};

struct MenuPopup {
    const char* title;  // German, untranslated
    std::vector<MenuItem> items;
};

struct Accelerator {
    QKeySequence key;
    unsigned id;
};

const std::vector<MenuPopup>& MainMenu();
const std::vector<Accelerator>& MainAccelerators();
// The tool bar's items in order; 0 is a gap.
const std::vector<unsigned>& MainToolBar();
// The resource path of a tool bar button's picture.
QString ToolBarIcon(unsigned id);

// The path of the application icon among the compiled-in resources.
QString ApplicationIcon();

}  // namespace Res
