#pragma once
// Start with Windows: a value under the user's Run key that starts the program
// minimized at logon, written only after asking about drives that may be
// missing then.

#include <windows.h>

#include <optional>
#include <string>

namespace tray {

// Registers (enable) or unregisters the program; false when the new state did
// not take effect: the user declined a drive question, or the value could not
// be written (the user has been told).
bool ApplyStartWithWindows(HWND owner, bool enable);
// Asks about the drive `root` when it is of a kind that may be missing at
// logon; false when the user answered No.
bool ConfirmStartupDrive(HWND owner, const std::wstring& root);
bool WriteRunValue(const std::wstring& programPath);

// The full path of the running program, however long; nothing when it cannot
// be had whole.
std::optional<std::wstring> ProgramPath();

}  // namespace tray
