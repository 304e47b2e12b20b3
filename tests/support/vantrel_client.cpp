#include "vantrel_client.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <string_view>

#include "viewer_client.h"

#include "app/Messages.h"
#include "hosting/WindowCtrl.h"  // the periods of the capture cycle
#include "resource.h"

namespace {
const wchar_t kProfileKey[] = L"Software\\Vantrel\\Vantrel";
const wchar_t kFrameClass[] = L"VantrelFrame";

struct FrameSearch {
    DWORD pid;
    std::vector<HWND> frames;
};

BOOL CALLBACK CollectFrames(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<FrameSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && WindowClass(hwnd) == kFrameClass) search->frames.push_back(hwnd);
    return TRUE;
}

// A floating pane lives in a tool window owned by the frame, not inside it.
BOOL CALLBACK FindOwnedPane(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<std::pair<HWND, HWND>*>(param);
    if (::GetWindow(hwnd, GW_OWNER) != search->first) return TRUE;
    HWND pane = ::GetDlgItem(hwnd, kTaskbarPaneId);
    if (pane != nullptr) {
        search->second = pane;
        return FALSE;
    }
    return TRUE;
}

std::wstring SectionPath(const wchar_t* section) { return std::wstring(kProfileKey) + L"\\" + section; }
}  // namespace

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring VantrelExe() { return ProgramFolder() + L"vantrel.exe"; }
std::wstring ViewerExe() { return ProgramFolder() + L"sampleviewer.exe"; }

VantrelProcess::~VantrelProcess() {
    if (m_hProcess == nullptr) return;
    if (IsRunning()) {
        if (HWND main = MainFrame()) ::PostMessageW(main, WM_CLOSE, 0, 0);
        if (!WaitForExit(5000)) Terminate();
    }
    ::CloseHandle(m_hProcess);
}

bool VantrelProcess::Start(const std::wstring& args, const std::vector<std::wstring>& extraEnv, int timeoutMs) {
    return StartFrom(VantrelExe(), args, extraEnv, timeoutMs);
}

std::wstring NewTempFolder(const std::wstring& prefix) {
    static unsigned made = 0;
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + prefix + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                std::to_wstring(::GetTickCount64()) + L"-" + std::to_wstring(++made);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

bool VantrelProcess::StartFrom(const std::wstring& exe, const std::wstring& args,
                               const std::vector<std::wstring>& testEnv, int timeoutMs) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!args.empty()) commandLine += L" " + args;

    // The child's environment: ours, plus the hooks and what the test adds. An
    // entry the test gives replaces ours of the same name (a duplicate would leave
    // it to chance which one the child reads).
    const auto nameOf = [](std::wstring_view entry) {
        // Names may start with "=" (the per-drive directories), so look from the second character.
        const size_t equals = entry.find(L'=', 1);
        std::wstring name(entry.substr(0, equals));
        for (auto& c : name) c = static_cast<wchar_t>(towupper(c));
        return name;
    };
    // A folder of its own for the log and crash reports, unless the test shares one
    // between starts: a report left by one test's crash would greet the next test.
    std::vector<std::wstring> extraEnv = testEnv;
    if (std::none_of(extraEnv.begin(), extraEnv.end(),
                     [&](const std::wstring& entry) { return nameOf(entry) == L"LOCALAPPDATA"; }))
        extraEnv.push_back(L"LOCALAPPDATA=" + NewTempFolder(L"vantrel-local"));
    std::wstring environment;
    if (wchar_t* block = ::GetEnvironmentStringsW()) {
        for (const wchar_t* p = block; *p != 0; p += wcslen(p) + 1) {
            const std::wstring name = nameOf(p);
            const bool replaced = std::any_of(extraEnv.begin(), extraEnv.end(),
                                              [&](const std::wstring& entry) { return nameOf(entry) == name; });
            if (!replaced) environment.append(p).push_back(L'\0');
        }
        ::FreeEnvironmentStringsW(block);
    }
    environment.append(L"VANTREL_TEST_HOOKS=1").push_back(L'\0');
    for (const auto& entry : extraEnv) environment.append(entry).push_back(L'\0');
    environment.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                          environment.data(), nullptr, &startup, &info))
        return false;
    ::CloseHandle(info.hThread);
    m_hProcess = info.hProcess;
    m_pid = info.dwProcessId;
    return WaitFor([this] { return !Frames().empty() || !IsRunning(); }, timeoutMs) && !Frames().empty();
}

bool VantrelProcess::IsRunning() const {
    return m_hProcess != nullptr && ::WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT;
}

bool VantrelProcess::WaitForExit(int timeoutMs) {
    return WaitFor([this] { return !IsRunning(); }, timeoutMs);
}

DWORD VantrelProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(m_hProcess, &code);
    return code;
}

void VantrelProcess::Terminate() {
    if (IsRunning()) {
        ::TerminateProcess(m_hProcess, 99);
        ::WaitForSingleObject(m_hProcess, 5000);
    }
}

std::vector<HWND> VantrelProcess::Frames() const {
    FrameSearch search{m_pid, {}};
    ::EnumWindows(CollectFrames, reinterpret_cast<LPARAM>(&search));
    return search.frames;
}

HWND VantrelProcess::MainFrame() const {
    for (HWND frame : Frames()) {
        const std::wstring title = WindowTitle(frame);
        if (title.size() >= 16 && title.compare(title.size() - 16, 16, L" - [Main window]") == 0) return frame;
    }
    return nullptr;
}

bool VantrelProcess::WaitForStartup(int timeoutMs) const {
    return WaitFor(
        [this] {
            HWND main = MainFrame();
            return main != nullptr && ::IsWindowVisible(main);
        },
        timeoutMs);
}

HWND TaskbarPane(HWND frame) {
    if (HWND docked = ::GetDlgItem(frame, kTaskbarPaneId)) return docked;
    std::pair<HWND, HWND> search{frame, nullptr};
    ::EnumWindows(FindOwnedPane, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

HWND HostView(HWND frame) { return ::GetDlgItem(frame, kHostViewId); }

HWND TaskbarControl(HWND frame) {
    HWND pane = TaskbarPane(frame);
    return pane != nullptr ? ::GetDlgItem(pane, kTaskbarControlId) : nullptr;
}

std::vector<HWND> WindowButtons(HWND frame) {
    std::vector<HWND> buttons;
    HWND control = TaskbarControl(frame);
    if (control == nullptr) return buttons;
    for (int id = kFirstButtonId;; ++id) {
        HWND button = ::GetDlgItem(control, id);
        if (button == nullptr) break;
        buttons.push_back(button);
    }
    return buttons;
}

std::vector<std::wstring> ButtonCaptions(HWND frame) {
    std::vector<std::wstring> captions;
    for (HWND button : WindowButtons(frame)) captions.push_back(WindowTitle(button));
    return captions;
}

int CheckedButton(HWND frame) {
    const auto buttons = WindowButtons(frame);
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (::SendMessageW(buttons[i], BM_GETCHECK, 0, 0) == BST_CHECKED) return static_cast<int>(i);
    }
    return -1;
}

bool IsTopLevel(HWND window) { return ::GetAncestor(window, GA_PARENT) == ::GetDesktopWindow(); }

bool WaitForCycles(HWND frame, int cycles) {
    const auto count = [frame]() -> LONG_PTR {
        DWORD_PTR result = 0;
        if (!::SendMessageTimeoutW(frame, WM_VANTREL_TEST_COUNT, static_cast<WPARAM>(TestCount::Cycles), 0, SMTO_NORMAL, 1000, &result))
            return -1;
        return static_cast<LONG_PTR>(result);
    };
    const LONG_PTR start = count();
    if (start < 0) return false;
    return WaitFor([&] { return count() >= start + cycles; }, 5000);
}

// The count read first may fall in a cycle under way (a cycle that waits on a viewer
// answers meanwhile): only the cycles begun after it are sure to run whole, hence one more.
bool WaitForTitleReads(HWND frame) { return WaitForCycles(frame, static_cast<int>(hosting::kTitlePeriod) + 1); }

bool WaitForEnumeration(HWND frame) {
    const long long start = ReadTestCount(frame, static_cast<int>(TestCount::Enumerations));
    if (start < 0) return false;
    // Counted as it begins: once a cycle has begun after it, it has run whole.
    return WaitFor([&] { return ReadTestCount(frame, static_cast<int>(TestCount::Enumerations)) > start; }, 5000) &&
           WaitForCycles(frame, 1);
}

void ResetProfile() { ::RegDeleteTreeW(HKEY_CURRENT_USER, kProfileKey); }

void WriteProfileRaw(const wchar_t* section, const wchar_t* entry, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &key, nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(key, entry, 0, type, static_cast<const BYTE*>(data), size);
    ::RegCloseKey(key);
}

void WriteProfileDword(const wchar_t* section, const wchar_t* entry, DWORD value) {
    WriteProfileRaw(section, entry, REG_DWORD, &value, sizeof value);
}

std::optional<DWORD> ReadProfileDword(const wchar_t* section, const wchar_t* entry) {
    DWORD value = 0, size = sizeof value, type = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, SectionPath(section).c_str(), entry, RRF_RT_ANY, &type, &value, &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return std::nullopt;
    return value;
}

std::vector<BYTE> ReadProfileBytes(const wchar_t* section, const wchar_t* entry) {
    DWORD size = 0;
    const std::wstring path = SectionPath(section);
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), entry, RRF_RT_ANY, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::vector<BYTE> bytes(size);
    if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), entry, RRF_RT_ANY, nullptr, bytes.data(), &size) != ERROR_SUCCESS)
        return {};
    bytes.resize(size);
    return bytes;
}

bool ProfileValueExists(const wchar_t* section, const wchar_t* entry) {
    return ::RegGetValueW(HKEY_CURRENT_USER, SectionPath(section).c_str(), entry, RRF_RT_ANY, nullptr, nullptr,
                          nullptr) == ERROR_SUCCESS;
}

namespace {
struct WindowSearch {
    DWORD pid;
    const std::wstring& className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && ::IsWindowVisible(hwnd) && WindowClass(hwnd) == search->className)
        search->found.push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK CollectAnyWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == search->pid && _wcsicmp(WindowClass(hwnd).c_str(), search->className.c_str()) == 0)
        search->found.push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelWindowsOf(DWORD pid, const std::wstring& className) {
    WindowSearch search{pid, className, {}};
    ::EnumWindows(CollectAnyWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

long long ReadTestCount(HWND frame, int which) {
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(frame, WM_VANTREL_TEST_COUNT, static_cast<WPARAM>(which), 0, SMTO_ABORTIFHUNG, 5000,
                               &result))
        return -1;
    return static_cast<long long>(static_cast<LRESULT>(result));
}

std::vector<HWND> VisibleWindowsOf(DWORD pid, const std::wstring& className) {
    WindowSearch search{pid, className, {}};
    ::EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND OpenPopupMenuOf(DWORD pid) {
    const auto menus = VisibleWindowsOf(pid, L"#32768");
    return menus.empty() ? nullptr : menus.front();
}

HWND VantrelProcess::NewFrame(HWND from) const {
    const auto before = Frames();
    ::SendMessageW(from, WM_COMMAND, ID_NEW_WINDOW, 0);
    HWND made = nullptr;
    WaitFor(
        [&] {
            for (HWND f : Frames())
                if (std::find(before.begin(), before.end(), f) == before.end() && ::IsWindowVisible(f)) made = f;
            return made != nullptr;
        },
        5000);
    return made;
}

std::vector<MenuItem> ReadMenu(HWND frame, int kind) {
    std::vector<MenuItem> items;
    for (int position = 0; position < 100; ++position) {
        DWORD_PTR result = 0;
        if (!::SendMessageTimeoutW(frame, WM_VANTREL_TEST_MENU_ITEM, MAKEWPARAM(position, kind), 0, SMTO_ABORTIFHUNG,
                                   5000, &result) ||
            static_cast<LRESULT>(result) == -1)
            break;
        MenuItem item;
        item.id = static_cast<UINT>(result & 0xFFFFFFFFu);
        const ATOM atom = static_cast<ATOM>((result >> 32) & 0xFFFF);
        if (atom != 0) {
            wchar_t text[256] = {};
            ::GlobalGetAtomNameW(atom, text, 256);
            ::GlobalDeleteAtom(atom);
            item.text = text;
        }
        item.checked = (result >> 48) & 1;
        item.grayed = (result >> 49) & 1;
        items.push_back(item);
    }
    return items;
}

MenuItem FindMenuItem(HWND frame, int kind, UINT id) {
    for (const auto& item : ReadMenu(frame, kind)) {
        if (item.id == id) return item;
    }
    return MenuItem{};
}
