#include "tray/WebServer.h"

#include <windows.h>
#include <shellapi.h>

std::wstring AuthorWebAddress(vantrel::WebPage page) {
    wchar_t override[512] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"VANTREL_SERVER", override, 512);
    const std::wstring fromEnvironment = length > 0 && length < 512 ? std::wstring(override, length) : std::wstring();
    return vantrel::WebAddress(vantrel::ChooseWebServer(fromEnvironment, VANTREL_SERVER_URL), page);
}

void OpenAuthorWebPage(vantrel::WebPage page, int showCommand) {
    ::ShellExecuteW(nullptr, L"open", AuthorWebAddress(page).c_str(), nullptr, nullptr, showCommand);
}
