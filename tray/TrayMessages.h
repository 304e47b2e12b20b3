#pragma once
// The tray's window messages, to the frame that shows the icon or asked for the check.

#include <windows.h>

// Tray icon callback.
inline constexpr UINT WM_SYSTRAY_NOTIFY = WM_USER + 1;
// Posted by the update check's worker to the frame that asked; lParam is the
// result, which the frame frees (tray/UpdateCheck).
inline constexpr UINT WM_VANTREL_UPDATE_RESULT = WM_APP + 0x20;
