// Starts Vantrel as a real process and looks at it from outside: its frames by
// class and process, its children by control id, its profile in the registry.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// Folder of the running test program; the programs under test sit beside it.
std::wstring ProgramFolder();
std::wstring VantrelExe();
std::wstring ViewerExe();
// A new empty folder under the temporary folder, its name starting with `prefix`;
// its path ends without a backslash.
std::wstring NewTempFolder(const std::wstring& prefix);

// Control ids that tools and tests find Vantrel's windows by.
constexpr int kHostViewId = 59648;
constexpr int kTaskbarPaneId = 133;
constexpr int kTaskbarControlId = 1;
constexpr int kCaptionBarId = 221;
constexpr int kFirstButtonId = 400;

class VantrelProcess {
public:
    VantrelProcess() = default;
    // Closes the main frame, and terminates the process if it does not end.
    ~VantrelProcess();
    VantrelProcess(const VantrelProcess&) = delete;
    VantrelProcess& operator=(const VantrelProcess&) = delete;

    // Starts vantrel.exe with the argument text `args`; `extraEnv` entries
    // ("NAME=value") are added to this process's environment for the child.
    // Test hooks are on. Waits until the process has a frame window.
    bool Start(const std::wstring& args = L"", const std::vector<std::wstring>& extraEnv = {},
               int timeoutMs = 10000);
    // The same with another copy of the program, at `exe`.
    bool StartFrom(const std::wstring& exe, const std::wstring& args = L"",
                   const std::vector<std::wstring>& extraEnv = {}, int timeoutMs = 10000);

    DWORD Pid() const { return m_pid; }
    HANDLE Process() const { return m_hProcess; }
    bool IsRunning() const;
    bool WaitForExit(int timeoutMs);
    DWORD ExitCode() const;
    void Terminate();

    // Frame windows of this process (class "VantrelFrame"), in z-order.
    std::vector<HWND> Frames() const;
    // The frame whose title marks it as the main frame, or null.
    HWND MainFrame() const;
    // Asks `from` for a new frame (File > New Window) and returns it once it is
    // shown, or null when none shows within a few seconds.
    HWND NewFrame(HWND from) const;
    // Waits for the first start-up tick of the main frame: visible, iconic or
    // (for a frame that starts hidden) the run counted in the profile.
    bool WaitForStartup(int timeoutMs = 10000) const;

private:
    HANDLE m_hProcess = nullptr;
    DWORD m_pid = 0;
};

// Children of a frame by control id, wherever the pane lives (docked or floating).
HWND HostView(HWND frame);
HWND TaskbarPane(HWND frame);
HWND TaskbarControl(HWND frame);
// Window buttons 400, 401, ... in id order, stopping at the first missing id.
std::vector<HWND> WindowButtons(HWND frame);
std::vector<std::wstring> ButtonCaptions(HWND frame);
// Index of the checked button, or -1.
int CheckedButton(HWND frame);
bool IsTopLevel(HWND window);
// Waits until the frame's taskbar has run `cycles` more capture cycles (through a
// test hook): whatever was asked of it before has been handled by then.
bool WaitForCycles(HWND frame, int cycles = 3);
// Waits until the frame's cycle has read the title of every window it hosts once
// more, and acted on it (tab mode included): titles are read in turn, on one tick
// in so many, so that a few cycles may read none.
bool WaitForTitleReads(HWND frame);
// Waits until the frame has run a whole enumeration of the desktop's windows, which
// comes on one tick in so many while window events are reported.
bool WaitForEnumeration(HWND frame);

// The visible top-level windows of class `className` that process `pid` shows.
std::vector<HWND> VisibleWindowsOf(DWORD pid, const std::wstring& className);
// Every top-level window of class `className` that process `pid` has, shown or not.
std::vector<HWND> TopLevelWindowsOf(DWORD pid, const std::wstring& className);
// A count the main frame keeps for tests (TestCount in app/Messages.h), or -1.
long long ReadTestCount(HWND frame, int which);
// A popup menu that process `pid` shows, or null.
HWND OpenPopupMenuOf(DWORD pid);

// A menu item as the frame shows it when the menu opens (through a test hook, as
// menus are not readable from another process everywhere). kind 0 is the system
// menu, n the n-th popup of the menu bar.
struct MenuItem {
    UINT id = 0;
    std::wstring text;
    bool checked = false;
    bool grayed = false;
};
std::vector<MenuItem> ReadMenu(HWND frame, int kind);
MenuItem FindMenuItem(HWND frame, int kind, UINT id);

// The profile, HKCU\Software\Vantrel\Vantrel\<section>.
void ResetProfile();
void WriteProfileDword(const wchar_t* section, const wchar_t* entry, DWORD value);
void WriteProfileRaw(const wchar_t* section, const wchar_t* entry, DWORD type, const void* data, DWORD size);
std::optional<DWORD> ReadProfileDword(const wchar_t* section, const wchar_t* entry);
// The value's bytes, whatever its type; none when it is missing.
std::vector<BYTE> ReadProfileBytes(const wchar_t* section, const wchar_t* entry);
bool ProfileValueExists(const wchar_t* section, const wchar_t* entry);
