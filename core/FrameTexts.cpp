#include "core/FrameTexts.h"

#include "core/Text.h"

namespace vantrel {

std::wstring MenuLiteral(const std::wstring& text) {
    std::wstring shown;
    shown.reserve(text.size() + 4);
    for (wchar_t c : text) {
        shown.push_back(c);
        if (c == L'&') shown.push_back(L'&');
    }
    return shown;
}

std::wstring MenuTitle(const std::wstring& title) {
    std::wstring shown = ShownTitle(title, kMenuTitleLength);
    if (title.size() > kMenuTitleLength) shown += L"\u2026";
    return MenuLiteral(shown);
}

std::wstring MoveToEntryText(int number, const std::wstring& title) {
    return L"Window #" + std::to_wstring(number) + L": \"" + MenuTitle(title) + L"\"";
}

std::wstring TrayMainEntryText(bool visible, const std::wstring& title) {
    return std::wstring(visible ? L"Hide" : L"Show") + L" main \"" + MenuTitle(title) + L"\"";
}

std::wstring TrayFrameEntryText(int number, bool visible, const std::wstring& title) {
    return std::wstring(visible ? L"Hide" : L"Show") + L" Window #" + std::to_wstring(number) + L": \"" +
           MenuTitle(title) + L"\"";
}

std::wstring RenamedFrameTitle(const std::wstring& name, const std::wstring& appTitle, bool mainFrame) {
    return name + L" - " + appTitle + (mainFrame ? kMainFrameTitleSuffix : L"");
}

}  // namespace vantrel
