// What Vantrel leaves behind for a user to send: crash reports and the log, in a
// LOCALAPPDATA of the test's own.
#include "e2e_fixture.h"

#include <windows.h>
#include <dbghelp.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Messages.h"
#include "resource.h"
#include "version.h"
#include "url_recorder_client.h"

namespace {

std::vector<std::wstring> FilesIn(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE find = ::FindFirstFileW((folder + L"\\" + pattern).c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(found.cFileName);
    while (::FindNextFileW(find, &found));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadAll(const std::wstring& path) {
    std::string bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char chunk[65536];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
    ::CloseHandle(file);
    return bytes;
}

// The stream types a dump holds, read from its header and stream directory.
std::vector<ULONG32> DumpStreams(const std::string& dump) {
    std::vector<ULONG32> types;
    MINIDUMP_HEADER header{};
    if (dump.size() < sizeof header) return types;
    std::copy_n(dump.data(), sizeof header, reinterpret_cast<char*>(&header));
    if (std::string(dump, 0, 4) != "MDMP") return types;
    for (ULONG32 i = 0; i < header.NumberOfStreams; ++i) {
        const size_t at = header.StreamDirectoryRva + i * sizeof(MINIDUMP_DIRECTORY);
        if (at + sizeof(MINIDUMP_DIRECTORY) > dump.size()) break;
        MINIDUMP_DIRECTORY entry{};
        std::copy_n(dump.data() + at, sizeof entry, reinterpret_cast<char*>(&entry));
        types.push_back(entry.StreamType);
    }
    return types;
}

class Diagnostics : public VantrelTest {
protected:
    void SetUp() override {
        VantrelTest::SetUp();
        local = NewTempFolder(L"vantrel-diagnostics");
        ASSERT_TRUE(viewer.Start(ViewerExe(), {L"--windows", L"0", L"--stay"}));
    }

    std::vector<std::wstring> Env() const { return {L"LOCALAPPDATA=" + local}; }
    std::wstring Folder() const { return local + L"\\Vantrel"; }
    std::wstring Reports() const { return Folder() + L"\\CrashReports"; }

    // Starts Vantrel on the test's folder, hosts a document and crashes it.
    void HostAndCrash(int round) {
        VantrelProcess vantrel;
        ASSERT_TRUE(vantrel.Start(L"/MINIMIZE", Env()));
        ASSERT_TRUE(vantrel.WaitForStartup());
        HWND frame = vantrel.MainFrame();
        HWND doc = viewer.Open(L"Crash round " + std::to_wstring(round) + L".pdf");
        ASSERT_TRUE(WaitFor([&] { return WindowButtons(frame).size() == 1; }, 5000));
        ::PostMessageW(frame, WM_VANTREL_TEST_CRASH, static_cast<WPARAM>(TestCrash::AccessViolation), 0);
        ASSERT_TRUE(vantrel.WaitForExit(20000));
        EXPECT_TRUE(IsTopLevel(doc) && ::IsWindowVisible(doc)) << "round " << round;
        viewer.Destroy(doc);
    }

    std::wstring local;
    ViewerProcess viewer;
};

// Started minimized, the reports wait for a normal start; that start shows the box
// once, and Yes opens their folder.
TEST_F(Diagnostics, SixCrashesKeepFiveValidReportsAndTheNextStartOffersThemOnce) {
    for (int round = 1; round <= 6; ++round) HostAndCrash(round);
    const std::vector<std::wstring> dumps = FilesIn(Reports(), L"vantrel-*.dmp");
    ASSERT_EQ(dumps.size(), 5u);
    EXPECT_EQ(dumps[0].rfind(L"vantrel-" VANTREL_VERSION_TEXT L"-", 0), 0u) << dumps[0];
    const std::vector<ULONG32> streams = DumpStreams(ReadAll(Reports() + L"\\" + dumps.back()));
    for (ULONG32 type : {ThreadListStream, ModuleListStream, ExceptionStream})
        EXPECT_NE(std::find(streams.begin(), streams.end(), type), streams.end()) << "stream " << type;
    EXPECT_NE(ReadAll(Folder() + L"\\vantrel.log").find("crash: report vantrel-"), std::string::npos);

    UrlRecorder recorder;
    for (int start = 1; start <= 2; ++start) {
        VantrelProcess vantrel;
        ASSERT_TRUE(vantrel.Start(L"", Env()));
        ASSERT_TRUE(vantrel.WaitForStartup());
        HWND box = nullptr;
        if (start == 2) {
            ASSERT_TRUE(WaitForCycles(vantrel.MainFrame(), 10));
            EXPECT_EQ(FindMessageBoxOf(vantrel.Pid()), nullptr) << "shown a second time";
            break;
        }
        ASSERT_TRUE(WaitFor([&] { return (box = FindMessageBoxOf(vantrel.Pid())) != nullptr; }, 5000));
        EXPECT_NE(MessageBoxText(box).find(L"A crash report was saved. Open its folder?"), std::wstring::npos);
        ASSERT_TRUE(AnswerMessageBox(box, IDYES));
        EXPECT_TRUE(recorder.WaitForUrl(Reports()));
    }
}

// A folder that cannot be made (a file stands in its way): no report, and the
// documents come back all the same.
TEST_F(Diagnostics, AReportThatCannotBeWrittenChangesNothingElse) {
    ::CreateDirectoryW(Folder().c_str(), nullptr);
    HANDLE blocker = ::CreateFileW(Reports().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(blocker, INVALID_HANDLE_VALUE);
    ::CloseHandle(blocker);
    HostAndCrash(1);
    EXPECT_TRUE(FilesIn(Folder(), L"*.dmp").empty());
}
// The log tells of a viewer that hangs and of its answer, names no document, goes
// on in a new file at its cap, and its folder is one menu command away.
TEST_F(Diagnostics, TheLogTellsOfAHangWithoutTitlesAndStartsAnewAtItsCap) {
    ::CreateDirectoryW(Folder().c_str(), nullptr);
    const std::string filler(1024 * 1024 - 40, 'x');
    HANDLE old = ::CreateFileW((Folder() + L"\\vantrel.log").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(old, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(old, filler.data(), static_cast<DWORD>(filler.size()), &written, nullptr);
    ::CloseHandle(old);

    UrlRecorder recorder;
    VantrelProcess vantrel;
    ASSERT_TRUE(vantrel.Start(L"", Env()));
    ASSERT_TRUE(vantrel.WaitForStartup());
    HWND frame = vantrel.MainFrame();
    const std::wstring title = L"Quarterly figures of Ms Example.pdf";
    viewer.Open(title);
    ASSERT_TRUE(WaitFor([&] { return ButtonCaptions(frame).size() == 1; }, 5000));
    ASSERT_TRUE(viewer.Hang(3000));
    const auto log = [&] { return ReadAll(Folder() + L"\\vantrel.log"); };
    EXPECT_TRUE(WaitFor([&] { return log().find("answered again") != std::string::npos; }, 10000)) << log();
    const std::string text = log();
    EXPECT_NE(text.find("has not answered for more than 1000 ms"), std::string::npos);
    EXPECT_EQ(ReadAll(Folder() + L"\\vantrel.log.1"), filler);

    ::PostMessageW(frame, WM_COMMAND, ID_OPEN_DIAGNOSTICS, 0);
    EXPECT_TRUE(recorder.WaitForUrl(Folder()));
    ::PostMessageW(frame, WM_COMMAND, ID_APP_EXIT, 0);
    ASSERT_TRUE(vantrel.WaitForExit(10000));
    EXPECT_NE(log().find("end: Vantrel"), std::string::npos);
    for (const std::string& word : {std::string("Quarterly"), std::string("Example"), std::string(":\\")})
        EXPECT_EQ(log().find(word), std::string::npos) << word;
}
}  // namespace
