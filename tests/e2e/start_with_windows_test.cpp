// File > Start with Windows startup: the Run value in Wine's real registry, and
// the questions about drives that may be missing at logon. The test prefix has a
// removable E:, a CD F:, a network N: and a RAM disk R: (scripts/wine-env.sh);
// copies of the program are started from them.
#include "e2e_fixture.h"

#include <optional>
#include <vector>

#include "resource.h"

namespace {

const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kCaption[] = L"Vantrel at startup";

std::optional<std::wstring> RunValue() {
    wchar_t data[2048] = {};
    DWORD size = sizeof data;
    if (::RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Vantrel", RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data);
}

std::wstring Lower(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

// A registry key's values and subkeys as they were, to be put back.
struct SavedKey {
    struct Value {
        std::wstring name;
        DWORD type = 0;
        std::vector<BYTE> data;
    };
    std::wstring name;
    std::vector<Value> values;
    std::vector<SavedKey> subkeys;
};

SavedKey ReadKey(HKEY key, const std::wstring& name) {
    SavedKey saved{name, {}, {}};
    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0, longestData = 0;
    ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, &longestName,
                       &longestData, nullptr, nullptr);
    for (DWORD i = 0; i < values; ++i) {
        SavedKey::Value value{std::wstring(longestName + 1, L'\0'), 0, std::vector<BYTE>(longestData)};
        DWORD nameLength = longestName + 1, size = longestData;
        if (::RegEnumValueW(key, i, value.name.data(), &nameLength, nullptr, &value.type, value.data.data(), &size) !=
            ERROR_SUCCESS)
            continue;
        value.name.resize(nameLength);
        value.data.resize(size);
        saved.values.push_back(std::move(value));
    }
    for (DWORD i = 0; i < subkeys; ++i) {
        std::wstring subkeyName(longestSubkey + 1, L'\0');
        DWORD length = longestSubkey + 1;
        HKEY subkey = nullptr;
        if (::RegEnumKeyExW(key, i, subkeyName.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        subkeyName.resize(length);
        if (::RegOpenKeyExW(key, subkeyName.c_str(), 0, KEY_READ, &subkey) != ERROR_SUCCESS) continue;
        saved.subkeys.push_back(ReadKey(subkey, subkeyName));
        ::RegCloseKey(subkey);
    }
    return saved;
}

void WriteKey(HKEY parent, const SavedKey& saved) {
    HKEY key = nullptr;
    if (::RegCreateKeyExW(parent, saved.name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    for (const auto& value : saved.values)
        ::RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                         static_cast<DWORD>(value.data.size()));
    for (const auto& subkey : saved.subkeys) WriteKey(key, subkey);
    ::RegCloseKey(key);
}

// Takes the Run key away, whatever others keep in it, and puts it back as it was
// at the end.
class RunKeyTakenAway {
public:
    RunKeyTakenAway() {
        HKEY run = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &run) == ERROR_SUCCESS) {
            m_saved = ReadKey(run, kRunKey);
            ::RegCloseKey(run);
        }
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kRunKey);  // the key itself too, as it is named
    }
    ~RunKeyTakenAway() {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kRunKey);
        if (m_saved) WriteKey(HKEY_CURRENT_USER, *m_saved);
    }
    RunKeyTakenAway(const RunKeyTakenAway&) = delete;
    RunKeyTakenAway& operator=(const RunKeyTakenAway&) = delete;

private:
    std::optional<SavedKey> m_saved;
};

bool RunKeyExists() {
    HKEY run = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &run) != ERROR_SUCCESS) return false;
    ::RegCloseKey(run);
    return true;
}

// A copy of the program at `path`, its folder made first.
bool CopyProgramTo(const std::wstring& path) {
    const std::wstring folder = path.substr(0, path.rfind(L'\\'));
    if (folder.size() > 3) ::CreateDirectoryW(folder.c_str(), nullptr);
    return ::CopyFileW(VantrelExe().c_str(), path.c_str(), FALSE) != FALSE;
}

class StartWithWindows : public VantrelTest {
protected:
    void TearDown() override {
        // Wine runs the Run entries whenever its server starts: none may stay behind.
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Vantrel");
        for (const auto& copy : copies) ::DeleteFileW(copy.c_str());
        VantrelTest::TearDown();
    }
    // Starts a copy at `path`, or the built program when `path` is empty.
    bool StartAt(const std::wstring& path) {
        if (!path.empty()) {
            if (!CopyProgramTo(path)) return false;
            copies.push_back(path);
        }
        if (!(path.empty() ? vantrel.Start() : vantrel.StartFrom(path)) || !vantrel.WaitForStartup()) return false;
        frame = vantrel.MainFrame();  // titled by now
        return frame != nullptr;
    }
    // The command, run to its end: for drives that ask nothing.
    void Toggle() {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(frame, WM_COMMAND, ID_START_WITH_WINDOWS, 0, SMTO_NORMAL, 5000, &result);
    }
    // The command where it asks: the test answers while it waits.
    void ToggleAsking() { ::PostMessageW(frame, WM_COMMAND, ID_START_WITH_WINDOWS, 0); }
    // Answers the question; the command has run to its end once the box is gone
    // and the frame answers again.
    void Answer(HWND box, int button) {
        ASSERT_TRUE(AnswerMessageBox(box, button));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(box); }, 5000));
        ::SendMessageW(frame, WM_NULL, 0, 0);
    }
    HWND WaitForQuestion() {
        HWND box = nullptr;
        WaitFor([&] { return (box = FindMessageBoxOf(vantrel.Pid())) != nullptr; }, 5000);
        return box;
    }
    bool Checked() { return FindMenuItem(frame, 1, ID_START_WITH_WINDOWS).checked; }
    std::optional<DWORD> StartOnBoot() { return ReadProfileDword(L"Settings", L"StartOnBoot"); }

    VantrelProcess vantrel;
    HWND frame = nullptr;
    std::vector<std::wstring> copies;
};

TEST_F(StartWithWindows, AFixedDriveAsksNothingAndTheValueComesAndGoesWithTheCheckMark) {
    ASSERT_TRUE(StartAt(L""));
    Toggle();
    EXPECT_EQ(FindMessageBoxOf(vantrel.Pid()), nullptr);
    const auto value = RunValue();
    ASSERT_TRUE(value.has_value());
    // The path as the program sees itself; Wine may spell the folder's letters differently.
    EXPECT_EQ(Lower(*value), Lower(L"\"" + VantrelExe() + L"\" /MINIMIZE"));
    EXPECT_EQ(value->substr(value->size() - 10), L" /MINIMIZE");
    EXPECT_EQ(StartOnBoot(), 1u);
    EXPECT_TRUE(Checked());

    Toggle();
    EXPECT_FALSE(RunValue().has_value());
    EXPECT_EQ(StartOnBoot(), 0u);
    EXPECT_FALSE(Checked());

    // Removed by other means: switching off still succeeds, quietly.
    Toggle();
    ASSERT_TRUE(RunValue().has_value());
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Vantrel");
    Toggle();
    EXPECT_EQ(FindMessageBoxOf(vantrel.Pid()), nullptr);
    EXPECT_EQ(StartOnBoot(), 0u);
    EXPECT_FALSE(Checked());
}

TEST_F(StartWithWindows, AMissingRunKeyIsCreated) {
    const RunKeyTakenAway noRunKey;
    ASSERT_FALSE(RunKeyExists());

    ASSERT_TRUE(StartAt(L""));
    Toggle();
    EXPECT_TRUE(RunValue().has_value());
    EXPECT_EQ(StartOnBoot(), 1u);
}

TEST_F(StartWithWindows, DrivesThatMayBeMissingAtLogonAskFirstAndNoWritesNothing) {
    const std::wstring notRecommended = L" type and it is really not recommended to add it.do Do you want to "
                                        L"enable start with windows function anyway?";
    const struct {
        const wchar_t* path;
        std::wstring question;
    } drives[] = {
        {L"F:\\Vantrel\\vantrel.exe", L"F:\\ is a cd/dvd-rom" + notRecommended},
        {L"N:\\Vantrel\\vantrel.exe", L"N:\\ is a network" + notRecommended},
        {L"R:\\Vantrel\\vantrel.exe",
         L"R:\\ is a ramedrive, do you want to enable start with windows function anyway?"},
        {L"E:\\Vantrel\\vantrel.exe", L"E:\\ is a removable" + notRecommended},
    };
    for (const auto& drive : drives) {
        SCOPED_TRACE(testing::Message() << std::string(drive.path, drive.path + 3));
        ASSERT_TRUE(StartAt(drive.path));
        ToggleAsking();
        HWND box = WaitForQuestion();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), drive.question);
        EXPECT_EQ(WindowTitle(box), kCaption);
        EXPECT_EQ(::GetWindow(box, GW_OWNER), frame);
        EXPECT_NE(::GetDlgItem(box, IDYES), nullptr);
        EXPECT_NE(::GetDlgItem(box, IDNO), nullptr);
        Answer(box, IDNO);
        EXPECT_FALSE(RunValue().has_value());
        EXPECT_EQ(StartOnBoot().value_or(0), 0u);
        EXPECT_FALSE(Checked());
        ::SendMessageW(frame, WM_CLOSE, 0, 0);
        ASSERT_TRUE(vantrel.WaitForExit(10000));
    }

    // Yes goes ahead, with the drive letter matched in any letter case.
    ASSERT_TRUE(StartAt(L"e:\\Vantrel\\vantrel.exe"));
    ToggleAsking();
    HWND box = WaitForQuestion();
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find(L" is a removable type"), std::wstring::npos);
    Answer(box, IDYES);
    const auto value = RunValue();
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(Lower(*value), L"\"e:\\vantrel\\vantrel.exe\" /minimize");
    EXPECT_EQ(StartOnBoot(), 1u);
    EXPECT_TRUE(Checked());
}

TEST_F(StartWithWindows, AProgramInARemovableDrivesRootFolderIsRegisteredWithoutAQuestion) {
    ASSERT_TRUE(StartAt(L"E:\\vantrel.exe"));
    Toggle();
    EXPECT_EQ(FindMessageBoxOf(vantrel.Pid()), nullptr);
    const auto value = RunValue();
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(Lower(*value), L"\"e:\\vantrel.exe\" /minimize");
}

}  // namespace
