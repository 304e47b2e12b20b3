// The installer and its uninstaller, run silently as a user would script them:
// what they put in place, the installed program at work, an install over a
// running copy, a file in use, and what is left after uninstalling.
#include "e2e_fixture.h"

#include <shlobj.h>

#include <string>
#include <vector>

#include "resource.h"
#include "version.h"

namespace {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vantrel";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kSettingsParent[] = L"Software\\Vantrel";

std::wstring Widen(const char* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

std::wstring SetupExe() {
#ifdef VANTREL_SETUP_PATH
    std::wstring path = VANTREL_SETUP_PATH;
#else
    std::wstring path = ProgramFolder() + VANTREL_SETUP_FROM_PROGRAMS;
#endif
    for (auto& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

std::wstring Expanded(const wchar_t* text) {
    wchar_t buffer[MAX_PATH] = {};
    ::ExpandEnvironmentStringsW(text, buffer, MAX_PATH);
    return buffer;
}

std::wstring InstallDir() { return Expanded(L"%LOCALAPPDATA%\\Programs\\Vantrel"); }
std::wstring InstalledExe() { return InstallDir() + L"\\vantrel.exe"; }

std::wstring StartMenuShortcut() {
    wchar_t programs[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    return std::wstring(programs) + L"\\Vantrel.lnk";
}

// The file version of a program's version resource, as "a.b.c.d".
std::wstring FileVersionOf(const std::wstring& path) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return L"";
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
        !::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || info == nullptr)
        return L"";
    return std::to_wstring(HIWORD(info->dwFileVersionMS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionMS)) +
           L"." + std::to_wstring(HIWORD(info->dwFileVersionLS)) + L"." + std::to_wstring(LOWORD(info->dwFileVersionLS));
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// What a folder still holds, for a failure message.
std::string Contents(const std::wstring& folder) {
    std::string names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return "(cannot list)";
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        names += std::string(name.begin(), name.end()) + " ";
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names.empty() ? "(empty)" : names;
}

void WriteWholeFile(const std::wstring& path, const std::string& content) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    ::CloseHandle(file);
}

std::string ReadWholeFile(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "";
    char buffer[4096];
    DWORD read = 0;
    ::ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    ::CloseHandle(file);
    return std::string(buffer, read);
}

bool KeyExists(const wchar_t* path) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

std::wstring ReadString(const wchar_t* path, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, path, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"";
    return value;
}

bool StartsWith(const std::wstring& text, const std::wstring& head) { return text.compare(0, head.size(), head) == 0; }

// Runs a command line and waits for its end; its exit code, or -1.
long Run(const std::wstring& commandLine, int timeoutMs = 60000) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring line = commandLine;
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    ::CloseHandle(info.hThread);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitFor([&] { return ::WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0; }, timeoutMs))
        ::GetExitCodeProcess(info.hProcess, &code);
    ::CloseHandle(info.hProcess);
    return static_cast<long>(code);
}

long Install() { return Run(L"\"" + SetupExe() + L"\" /S"); }

// The uninstaller hands over to a copy of itself and returns at once; it removes
// the entry in the list of installed programs last, so that is what tells its end.
bool Uninstall(const std::wstring& options = L"") {
    if (Run(L"\"" + InstallDir() + L"\\uninstall.exe\" /S" + options) != 0) return false;
    return WaitFor([] { return !KeyExists(kUninstallKey); }, 30000);
}

// Whatever an earlier run may have left: nothing of Vantrel installed.
void RemoveAnyInstallation() {
    ::DeleteFileW(InstalledExe().c_str());
    ::DeleteFileW((InstallDir() + L"\\uninstall.exe").c_str());
    ::RemoveDirectoryW(InstallDir().c_str());
    ::DeleteFileW(StartMenuShortcut().c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallKey);
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Vantrel");
}

class Installer : public VantrelTest {
protected:
    void SetUp() override {
        VantrelTest::SetUp();
        ASSERT_TRUE(Exists(SetupExe())) << "no installer: build the dist target";
        RemoveAnyInstallation();
    }
    void TearDown() override {
        RemoveAnyInstallation();
        VantrelTest::TearDown();
    }
};

TEST_F(Installer, InstallsForTheUserRunsOverARunningCopyAndUninstallsAllButTheSettings) {
    ASSERT_EQ(Install(), 0);
    EXPECT_TRUE(Exists(InstalledExe()));
    EXPECT_TRUE(Exists(InstallDir() + L"\\uninstall.exe"));
    EXPECT_TRUE(Exists(StartMenuShortcut())) << std::string(StartMenuShortcut().begin(), StartMenuShortcut().end());
    EXPECT_EQ(ReadString(kUninstallKey, L"DisplayName"), L"Vantrel");
    EXPECT_EQ(ReadString(kUninstallKey, L"DisplayVersion"), Widen(VANTREL_VERSION_TEXT));
    EXPECT_EQ(ReadString(kUninstallKey, L"Publisher"), L"the Vantrel author");
    EXPECT_EQ(ReadString(kUninstallKey, L"DisplayIcon"), InstalledExe() + L",0");
    EXPECT_TRUE(StartsWith(ReadString(kUninstallKey, L"UninstallString"), L"\"" + InstallDir() + L"\\uninstall.exe\""));

    // The installed program takes the viewer's documents in, and starts with Windows.
    HWND doc = nullptr;
    {
        VantrelProcess vantrel;
        ASSERT_TRUE(vantrel.StartFrom(InstalledExe()));
        ASSERT_TRUE(vantrel.WaitForStartup());
        HWND frame = vantrel.MainFrame();
        ViewerProcess viewer;
        ASSERT_TRUE(viewer.Start(ViewerExe(), {L"--windows", L"0"}));
        doc = viewer.Open(L"Installed.pdf");
        EXPECT_TRUE(WaitFor([&] { return ButtonCaptions(frame) == std::vector<std::wstring>{L"Installed.pdf"}; }, 5000));
        ::SendMessageW(frame, WM_COMMAND, ID_START_WITH_WINDOWS, 0);
        EXPECT_NE(ReadString(kRunKey, L"Vantrel").find(InstalledExe()), std::wstring::npos);

        // Installing again closes the running copy first; its document stays open.
        EXPECT_EQ(Install(), 0);
        EXPECT_TRUE(vantrel.WaitForExit(5000));
        EXPECT_TRUE(::IsWindow(doc) && IsTopLevel(doc));
        EXPECT_TRUE(Exists(InstalledExe()));
    }

    ASSERT_TRUE(Uninstall());
    EXPECT_FALSE(Exists(InstalledExe()));
    // The folder goes once empty; its removal may trail the entry's by a moment.
    EXPECT_TRUE(WaitFor([] { return !Exists(InstallDir()); }, 3000)) << "left: " << Contents(InstallDir());
    EXPECT_FALSE(Exists(StartMenuShortcut()));
    EXPECT_EQ(ReadString(kRunKey, L"Vantrel"), L"");
    // Silently, the settings stay, but start with Windows is off with its value gone.
    EXPECT_TRUE(ReadProfileDword(L"Stats", L"ApplicationRuns").has_value());
    EXPECT_FALSE(ProfileValueExists(L"Settings", L"StartOnBoot"));
}

// The one version of the build reaches the program, the setup, the zip's name and
// the entry among the installed programs.
TEST_F(Installer, SetupZipAndProgramCarryTheOneVersion) {
    const std::wstring version = std::to_wstring(VANTREL_VERSION_MAJOR) + L"." + std::to_wstring(VANTREL_VERSION_MINOR) +
                                 L"." + std::to_wstring(VANTREL_VERSION_PATCH) + L"." +
                                 std::to_wstring(VANTREL_VERSION_TWEAK);
    EXPECT_EQ(FileVersionOf(VantrelExe()), version);
    EXPECT_EQ(FileVersionOf(SetupExe()), version);
    const std::wstring setup = SetupExe();
    const std::wstring folder = setup.substr(0, setup.find_last_of(L'\\') + 1);
    EXPECT_EQ(setup.substr(folder.size()), L"vantrel-" + Widen(VANTREL_VERSION_TEXT) + L"-setup.exe");
    EXPECT_TRUE(Exists(folder + L"vantrel-" + Widen(VANTREL_VERSION_TEXT) + L"-portable.zip"));
    ASSERT_EQ(Install(), 0);
    EXPECT_EQ(FileVersionOf(InstalledExe()), version);
    EXPECT_EQ(ReadString(kUninstallKey, L"DisplayVersion"), Widen(VANTREL_VERSION_TEXT));
}

TEST_F(Installer, UninstallingWithTheFlagRemovesTheSettingsToo) {
    ASSERT_EQ(Install(), 0);
    WriteProfileDword(L"Settings", L"TabMode", 1);
    ASSERT_TRUE(Uninstall(L" /REMOVESETTINGS"));
    EXPECT_FALSE(KeyExists(kSettingsParent));
    EXPECT_FALSE(Exists(InstallDir()));
}

TEST_F(Installer, AProgramFileInUseIsNeverReplaced) {
    ASSERT_EQ(Install(), 0);
    // Another program holds the installed file open, and lets nobody write to it.
    WriteWholeFile(InstalledExe(), "in use");
    HANDLE held = ::CreateFileW(InstalledExe().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_NE(Install(), 0);
    ::CloseHandle(held);
    EXPECT_EQ(ReadWholeFile(InstalledExe()), "in use");
}

}  // namespace
