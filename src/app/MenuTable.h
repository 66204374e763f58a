// The main window's menu tree as data: one row per menu item, in menu order.
#pragma once

#include <vector>

namespace lf {

class TMainForm;
using MenuHandler = void (TMainForm::*)();

struct MenuEntry {
    const char* component;  // the item's objectName; separators are named too ("N1")
    const char* parent;     // component of the menu it sits in; "" for the menu bar
    const char* caption;    // with "&" before the accelerator; "-" is a separator
    const char* shortcut;   // portable key text ("Ctrl+O") or ""
    int glyph;              // index into the glyph list, or -1
    bool enabledAtStart;
    bool checkable;
    // The window's own handler, or nullptr: the filter and geometry items take theirs from
    // those tables by component name, and an item with neither does nothing yet.
    MenuHandler handler;
};

const std::vector<MenuEntry>& MenuTable();

// The items that need a picture, in the order a picture's arrival enables them.
const std::vector<const char*>& PictureCommands();

}  // namespace lf
