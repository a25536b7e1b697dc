// System menu items as FLTK menu items: the text before a tab is the label (FLTK reads its "&"
// as the access key, as Windows does), the text after it the shortcut shown at the right.
#include "ui/fltk/system_menu.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Item.H>

#include <deque>
#include <string>

namespace ui::fltk {

int ShortcutFromText(const std::string& text) {
    int modifiers = 0;
    std::string rest = text;
    const std::pair<const char*, int> prefixes[] = {
        {"Alt+", FL_ALT}, {"Ctrl+", FL_CTRL}, {"Shift+", FL_SHIFT}};
    for (bool found = true; found;) {
        found = false;
        for (const auto& [name, bit] : prefixes) {
            const std::string prefix = name;
            if (rest.rfind(prefix, 0) == 0) {
                modifiers |= bit;
                rest = rest.substr(prefix.size());
                found = true;
            }
        }
    }
    if (rest.size() >= 2 && rest[0] == 'F' &&
        rest.find_first_not_of("0123456789", 1) == std::string::npos)
        return modifiers | (FL_F + std::stoi(rest.substr(1)));
    if (rest.size() == 1)
        return modifiers | (rest[0] >= 'A' && rest[0] <= 'Z' ? rest[0] + 32 : rest[0]);
    return 0;
}

UINT ChooseFromSystemMenu(const std::vector<MenuItem>& items, int x, int y,
                          const DialogFont& font) {
    std::deque<std::string> labels;
    std::vector<Fl_Menu_Item> menu;
    for (const MenuItem& item : items) {
        if (item.flags & MF_SEPARATOR) {
            if (!menu.empty())
                menu.back().flags |= FL_MENU_DIVIDER;
            continue;
        }
        const std::string text = item.text.ToUtf8();
        const std::size_t tab = text.find('\t');
        std::string label;
        for (char c : text.substr(0, tab))  // "@" would start an FLTK symbol
            label += c == '@' ? std::string("@@") : std::string(1, c);
        labels.push_back(label);
        Fl_Menu_Item entry{};
        entry.text = labels.back().c_str();
        entry.shortcut_ = tab == std::string::npos ? 0 : ShortcutFromText(text.substr(tab + 1));
        entry.user_data_ = reinterpret_cast<void*>(static_cast<std::uintptr_t>(item.id));
        entry.labelfont_ = font.face;
        entry.labelsize_ = font.size;
        if (item.flags & MF_GRAYED)
            entry.flags |= FL_MENU_INACTIVE;
        menu.push_back(entry);
    }
    if (menu.empty())
        return 0;
    menu.push_back(Fl_Menu_Item{});
    const Fl_Menu_Item* chosen = menu.front().popup(x, y);
    return chosen ? static_cast<UINT>(reinterpret_cast<std::uintptr_t>(chosen->user_data_)) : 0;
}

}  // namespace ui::fltk
