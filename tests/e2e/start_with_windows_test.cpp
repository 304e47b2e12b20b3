// File > Start with Windows startup: the Run value in Wine's real registry, and
// the questions about drives that may be missing at logon. The test prefix has a
// removable E:, a CD F:, a network N: and a RAM disk R: (scripts/wine-env.sh);
// copies of the program are started from them.
#include "e2e_fixture.h"

#include <optional>

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
    HKEY run = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, &run), ERROR_SUCCESS);
    DWORD values = 0, subkeys = 0;
    ::RegQueryInfoKeyW(run, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                       nullptr, nullptr);
    ::RegCloseKey(run);
    if (values != 0 || subkeys != 0) GTEST_SKIP() << "the Run key holds entries of others";
    ASSERT_EQ(::RegDeleteKeyW(HKEY_CURRENT_USER, kRunKey), ERROR_SUCCESS);

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
