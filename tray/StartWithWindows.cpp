#include "tray/StartWithWindows.h"

#include <shlwapi.h>

#include <vector>

#include "core/StartupDrive.h"
#include "ui/Activation.h"

namespace tray {
namespace {
const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kRunValue[] = L"Vantrel";

void TellNotRegistered(HWND owner, const wchar_t* why) {
    const std::wstring text = std::wstring(L"Vantrel cannot start with Windows: ") + why;
    ui::GuardedMessageBox(owner, text.c_str(), vantrel::kStartupCaption, MB_OK | MB_ICONWARNING);
}
}  // namespace

std::optional<std::wstring> ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return std::nullopt;
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        // Cut short: try again with room to spare, up to the longest path there is.
        if (path.size() >= 32768) return std::nullopt;
        path.resize(path.size() * 2);
    }
}

bool ConfirmStartupDrive(HWND owner, const std::wstring& root) {
    std::vector<wchar_t> buffer(1024, L'\0');
    DWORD length = ::GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length > buffer.size()) {  // more drives than fit: the answer is the size needed
        buffer.assign(length + 1, L'\0');
        length = ::GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length > buffer.size()) length = 0;
    }
    const auto drives = vantrel::SplitDriveStrings(std::wstring_view(buffer.data(), length));
    const auto questions = vantrel::StartupDriveQuestions(
        root, drives, [](const std::wstring& drive) { return ::GetDriveTypeW(drive.c_str()); });
    for (const std::wstring& question : questions) {
        if (ui::GuardedMessageBox(owner, question.c_str(), vantrel::kStartupCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
    }
    return true;
}

bool WriteRunValue(const std::wstring& programPath) {
    const std::wstring data = vantrel::RunValueData(programPath);
    HKEY key = nullptr;
    // Created when missing: a profile without the Run key must still get the value.
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG written =
        ::RegSetValueExW(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                         static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    return written == ERROR_SUCCESS;
}

bool ApplyStartWithWindows(HWND owner, bool enable) {
    if (!enable) {
        // A value that is not there is as good as deleted.
        ::SHDeleteValueW(HKEY_CURRENT_USER, kRunKey, kRunValue);
        return true;
    }
    // A path cut short would register a command that starts nothing at logon.
    const std::optional<std::wstring> path = ProgramPath();
    if (!path) {
        TellNotRegistered(owner, L"the full path of its program file could not be read.");
        return false;
    }
    if (!ConfirmStartupDrive(owner, vantrel::DriveRootOf(*path))) return false;
    if (!WriteRunValue(*path)) {
        TellNotRegistered(owner, L"the value could not be written to the registry.");
        return false;
    }
    return true;
}

}  // namespace tray
