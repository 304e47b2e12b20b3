#include "ui/OwnerDrawMenu.h"

#include <map>
#include <memory>
#include <vector>

#include "core/Text.h"
#include "ui/Look.h"

namespace ui::ownerdraw {
namespace {

struct Item {
    HMENU menu;
    UINT position;
    std::wstring text;  // as the resource or the code gave it
    bool menuBar;
    bool separator;
};

// Items live as long as their menu is adopted; the item data of each menu item
// points to one of them.
std::map<HMENU, std::vector<std::unique_ptr<Item>>>& Adopted() {
    static std::map<HMENU, std::vector<std::unique_ptr<Item>>> adopted;
    return adopted;
}

std::wstring ReadText(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = nullptr;
    if (!::GetMenuItemInfoW(menu, position, TRUE, &info) || info.cch == 0) return std::wstring();
    std::wstring text(info.cch + 1, L'\0');
    info.dwTypeData = text.data();
    info.cch += 1;
    if (!::GetMenuItemInfoW(menu, position, TRUE, &info)) return std::wstring();
    text.resize(info.cch);
    return text;
}

const Item* ItemOf(HMENU menu, ULONG_PTR data) {
    auto it = Adopted().find(menu);
    if (it == Adopted().end()) return nullptr;
    for (const auto& item : it->second) {
        if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
    }
    return nullptr;
}

const Item* ItemOfData(ULONG_PTR data) {
    for (const auto& [menu, items] : Adopted()) {
        for (const auto& item : items) {
            if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
        }
    }
    return nullptr;
}

// The letter after a single "&", folded for comparison; 0 when there is none.
wchar_t Mnemonic(const std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return vantrel::FoldCase(text[i + 1]);
    }
    return 0;
}

Look::MenuItem Describe(const Item& item) {
    Look::MenuItem shown;
    shown.menuBar = item.menuBar;
    shown.separator = item.separator;
    const size_t tab = item.text.find(L'\t');
    shown.text = item.text.substr(0, tab);
    if (tab != std::wstring::npos) shown.shortcut = item.text.substr(tab + 1);
    return shown;
}
}  // namespace

void Adopt(HMENU menu, bool menuBar) {
    if (menu == nullptr) return;
    auto& items = Adopted()[menu];
    // Owner-drawn items may no longer give their text back: keep what we had.
    std::map<UINT, std::wstring> known;
    for (const auto& item : items) known[item->position] = item->text;
    items.clear();
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) continue;
        auto item = std::make_unique<Item>();
        item->menu = menu;
        item->position = static_cast<UINT>(position);
        item->separator = (info.fType & MFT_SEPARATOR) != 0;
        const auto kept = known.find(static_cast<UINT>(position));
        if (item->separator)
            item->text.clear();
        else if ((info.fType & MFT_OWNERDRAW) != 0 && kept != known.end())
            item->text = kept->second;
        else
            item->text = ReadText(menu, static_cast<UINT>(position));
        item->menuBar = menuBar;
        MENUITEMINFOW set{};
        set.cbSize = sizeof set;
        set.fMask = MIIM_FTYPE | MIIM_DATA;
        set.fType = info.fType | MFT_OWNERDRAW;
        set.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
        // The text stays with the item, set in the same call as the type: readers and
        // GetMenuString ask the menu, not our drawing, and some systems drop a string
        // whose item turns owner-drawn on its own.
        if (!item->separator) {
            set.fMask |= MIIM_STRING;
            set.dwTypeData = item->text.data();
        }
        ::SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &set);
        items.push_back(std::move(item));
        if (info.hSubMenu != nullptr) Adopt(info.hSubMenu, false);
    }
    // What the items leave free (the rest of a menu bar) in the look's colour.
    MENUINFO menuInfo{};
    menuInfo.cbSize = sizeof menuInfo;
    menuInfo.fMask = MIM_BACKGROUND;
    const vantrel::LookPalette& palette = Look::Current().Palette();
    menuInfo.hbrBack = Look::Current().Brush(menuBar ? Look::Current().MenuBarColour() : palette.menuBack);
    ::SetMenuInfo(menu, &menuInfo);
}

void Forget(HMENU menu) {
    auto it = Adopted().find(menu);
    if (it == Adopted().end()) return;
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        if (HMENU sub = ::GetSubMenu(menu, position)) Forget(sub);
    }
    Adopted().erase(menu);
}

std::wstring ItemText(HMENU menu, UINT position) {
    auto it = Adopted().find(menu);
    if (it != Adopted().end()) {
        for (const auto& item : it->second) {
            if (item->position == position) return item->text;
        }
    }
    wchar_t text[512] = {};
    ::GetMenuStringW(menu, position, text, 512, MF_BYPOSITION);
    return text;
}

bool OnMeasureItem(HWND owner, MEASUREITEMSTRUCT& measure) {
    if (measure.CtlType != ODT_MENU) return false;
    const Item* item = ItemOfData(measure.itemData);
    if (item == nullptr) return false;
    HDC dc = ::GetDC(owner);
    const SIZE size = Look::Current().MeasureMenuItem(dc, Describe(*item));
    ::ReleaseDC(owner, dc);
    measure.itemWidth = static_cast<UINT>(size.cx);
    measure.itemHeight = static_cast<UINT>(size.cy);
    return true;
}

bool OnDrawItem(const DRAWITEMSTRUCT& draw) {
    if (draw.CtlType != ODT_MENU) return false;
    HMENU menu = reinterpret_cast<HMENU>(draw.hwndItem);
    const Item* item = ItemOf(menu, draw.itemData);
    if (item == nullptr) return false;
    Look::MenuItem shown = Describe(*item);
    shown.selected = (draw.itemState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0;
    shown.disabled = (draw.itemState & (ODS_GRAYED | ODS_DISABLED | ODS_INACTIVE)) != 0;
    shown.checked = (draw.itemState & ODS_CHECKED) != 0;
    shown.hideAccelerators = (draw.itemState & ODS_NOACCEL) != 0;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (::GetMenuItemInfoW(menu, item->position, TRUE, &info)) shown.radio = (info.fType & MFT_RADIOCHECK) != 0;
    Look::Current().DrawMenuItem(draw.hDC, draw.rcItem, shown);
    return true;
}

bool OnMenuChar(WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HMENU menu = reinterpret_cast<HMENU>(lParam);
    auto it = Adopted().find(menu);
    if (it == Adopted().end()) return false;
    const wchar_t key = vantrel::FoldCase(static_cast<wchar_t>(LOWORD(wParam)));
    std::vector<UINT> matches;
    for (const auto& item : it->second) {
        if (!item->separator && Mnemonic(item->text) == key) matches.push_back(item->position);
    }
    if (matches.empty()) {
        result = MAKELRESULT(0, MNC_IGNORE);
    } else if (matches.size() == 1) {
        result = MAKELRESULT(matches[0], MNC_EXECUTE);
    } else {
        // Several items share the letter: each press selects the next of them.
        UINT next = matches[0];
        for (size_t i = 0; i < matches.size(); ++i) {
            if (::GetMenuState(menu, matches[i], MF_BYPOSITION) & MF_HILITE) {
                next = matches[(i + 1) % matches.size()];
                break;
            }
        }
        result = MAKELRESULT(next, MNC_SELECT);
    }
    return true;
}

}  // namespace ui::ownerdraw
