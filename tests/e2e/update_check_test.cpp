// Help > Check for updated version against a real HTTP server on 127.0.0.1 in this
// process: Vantrel reads the version file with WinINet on a worker thread and
// answers in a real message box, which the test reads and answers.
#include "e2e_fixture.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "http_server.h"
#include "resource.h"
#include "url_recorder_client.h"

namespace {

const std::wstring kLatest = L"You got the latest version of Vantrel";
const std::wstring kErrorPrefix = L"Error download the version file, please check manually at ";

std::wstring Offer(const std::wstring& published) {
    return L"New version found!\nYou have 0.8.9.2, do you want to upgrade to " + published + L"?";
}

struct Box {
    HWND hwnd = nullptr;
    std::wstring text;
    std::wstring caption;
    HWND owner = nullptr;
    bool yesNo = false;  // Yes and No buttons, else one OK button
};

class UpdateCheckFixture : public VantrelTest {
protected:
    void SetUp() override {
        VantrelTest::SetUp();
        ASSERT_TRUE(server.Start());
    }
    void TearDown() override {
        vantrel.Terminate();
        server.Stop();
        VantrelTest::TearDown();
    }

    void StartVantrel(const std::wstring& serverAddress) {
        ASSERT_TRUE(vantrel.Start(L"", {L"VANTREL_SERVER=" + serverAddress}));
        ASSERT_TRUE(vantrel.WaitForStartup());
        frame = vantrel.MainFrame();
        ASSERT_NE(frame, nullptr);
    }
    // The command, sent as the menu sends it; it must come back at once, whatever the server does.
    void AskForUpdate(HWND target) {
        DWORD_PTR result = 0;
        const auto start = std::chrono::steady_clock::now();
        ASSERT_NE(::SendMessageTimeoutW(target, WM_COMMAND, ID_CHECK_FOR_UPDATE, 0, SMTO_NORMAL, 2000, &result), 0);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
    Box WaitForBox(int timeoutMs = 8000) {
        Box box;
        WaitFor([&] { return (box.hwnd = FindMessageBoxOf(vantrel.Pid())) != nullptr; }, timeoutMs);
        if (box.hwnd == nullptr) return box;
        // The text is set while the box is built: wait for it.
        WaitFor([&] { return !(box.text = MessageBoxText(box.hwnd)).empty(); }, 2000);
        box.caption = WindowTitle(box.hwnd);
        box.owner = ::GetWindow(box.hwnd, GW_OWNER);
        box.yesNo = ::GetDlgItem(box.hwnd, IDYES) != nullptr && ::GetDlgItem(box.hwnd, IDNO) != nullptr;
        return box;
    }
    bool Answer(const Box& box, int button) {
        return AnswerMessageBox(box.hwnd, button) && WaitFor([&] { return !::IsWindow(box.hwnd); }, 3000);
    }
    // The error box, owned by `owner`, answered with OK.
    void ExpectErrorBox(HWND owner, int timeoutMs = 8000) { ExpectErrorBoxFor(server.Address(), owner, timeoutMs); }
    void ExpectErrorBoxFor(const std::wstring& serverAddress, HWND owner, int timeoutMs) {
        const Box box = WaitForBox(timeoutMs);
        ASSERT_NE(box.hwnd, nullptr) << "no box";
        EXPECT_EQ(box.text, kErrorPrefix + serverAddress + L"/");
        EXPECT_EQ(box.caption, L"Vantrel");
        EXPECT_EQ(box.owner, owner);
        EXPECT_FALSE(box.yesNo);
        EXPECT_TRUE(Answer(box, IDOK));
    }

    // New Window in the main frame; the frame it made, once shown.
    HWND NewFrame() { return vantrel.NewFrame(frame); }

    HttpServer server;
    VantrelProcess vantrel;
    HWND frame = nullptr;
};

// Version files and the answers to them.
class UpdateCheck : public UpdateCheckFixture {};
// Servers that answer late, never, or are not there.
class UpdateCheckNetwork : public UpdateCheckFixture {};

TEST_F(UpdateCheck, EveryVersionFileGetsItsAnswer) {
    StartVantrel(server.Address());
    const struct {
        const char* name;
        int status;
        std::string body;
        std::wstring text;  // empty: the error box
    } cases[] = {
        {"equal", 200, "version=0.8.9.2", kLatest},
        {"newer", 200, "version=0.8.9.3", Offer(L"0.8.9.3")},
        {"older", 200, "version=0.8.9.1", kLatest},
        {"numerically newer", 200, "version=0.8.10.0", Offer(L"0.8.10.0")},
        {"CRLF after it", 200, "version=0.8.9.2\r\n", kLatest},
        {"LF after a newer one", 200, "version=0.8.9.3\n", Offer(L"0.8.9.3")},
        {"several =", 200, "a=b=0.8.9.2", kLatest},
        {"no = and older", 200, "0.8.9.1", kLatest},
        {"no = and no version", 200, "version 0.8.9.3", L""},
        {"empty", 200, "", L""},
        {"format characters", 200, "version=%s%n%s%x%p", L""},
        {"404 with a newer version", 404, "version=0.8.9.3", L""},
        {"500", 500, "version=0.8.9.2", L""},
        {"huge", 200, std::string(1 << 20, 'x') + "=0.8.9.3", L""},
        {"just over 4 KiB", 200, std::string(4096, ' ') + "0.8.9.3", L""},
        {"high bytes", 200, "version=0.8.9.\xb2\xff", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server.Serve(c.status, c.body);
        const int before = server.Requests();
        AskForUpdate(frame);
        if (c.text.empty()) {
            ExpectErrorBox(frame);
        } else {
            const Box box = WaitForBox();
            ASSERT_NE(box.hwnd, nullptr) << "no box";
            EXPECT_EQ(box.text, c.text);
            EXPECT_EQ(box.owner, frame);
            const bool offer = c.text != kLatest;
            EXPECT_EQ(box.caption, offer ? L"Download now?" : L"Vantrel");
            EXPECT_EQ(box.yesNo, offer);
            ASSERT_TRUE(Answer(box, offer ? IDNO : IDOK));
        }
        EXPECT_EQ(server.Requests(), before + 1);
        EXPECT_EQ(server.LastPath(), "/vantrel/version.txt");
    }
}

TEST_F(UpdateCheck, YesOpensTheDownloadPage) {
    UrlRecorder recorder;
    StartVantrel(server.Address());
    server.Serve(200, "version=0.9");
    AskForUpdate(frame);
    const Box box = WaitForBox();
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.text, Offer(L"0.9"));
    ASSERT_TRUE(Answer(box, IDYES));
    EXPECT_TRUE(recorder.WaitForUrl(server.Address() + L"/vantrel/", 10000));
}

TEST_F(UpdateCheck, NoIsTheEndOfIt) {
    UrlRecorder recorder;
    StartVantrel(server.Address());
    server.Serve(200, "version=0.9");
    AskForUpdate(frame);
    const Box box = WaitForBox();
    ASSERT_NE(box.hwnd, nullptr);
    ASSERT_TRUE(Answer(box, IDNO));
    // A second check proves the first one is over; no address was opened meanwhile.
    server.Serve(200, "version=0.8.9.2");
    AskForUpdate(frame);
    const Box latest = WaitForBox();
    ASSERT_NE(latest.hwnd, nullptr);
    EXPECT_EQ(latest.text, kLatest);
    ASSERT_TRUE(Answer(latest, IDOK));
    EXPECT_TRUE(recorder.Urls().empty());
}

TEST_F(UpdateCheck, AnAdditionalFrameOwnsItsAnswer) {
    StartVantrel(server.Address());
    HWND second = NewFrame();
    ASSERT_NE(second, nullptr);
    server.Serve(200, "version=0.8.9.3");
    AskForUpdate(second);
    const Box box = WaitForBox();
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.owner, second);
    EXPECT_EQ(box.text, Offer(L"0.8.9.3"));
    ASSERT_TRUE(Answer(box, IDNO));
}

// The frame answers throughout; a second click adds no second request; the
// check ends in the error box after the receive timeout.
TEST_F(UpdateCheckNetwork, StalledServerEndsInTheErrorBoxWhileFramesAnswer) {
    StartVantrel(server.Address());
    server.NeverAnswer();
    const auto start = std::chrono::steady_clock::now();
    AskForUpdate(frame);
    ASSERT_TRUE(WaitFor([&] { return server.Requests() == 1; }, 5000));
    AskForUpdate(frame);
    int unanswered = 0;
    long long slowestMs = 0;
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto sent = std::chrono::steady_clock::now();
            DWORD_PTR result = 0;
            if (::SendMessageTimeoutW(frame, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) == 0) ++unanswered;
            slowestMs = std::max<long long>(
                slowestMs,
                std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - sent).count());
            return FindMessageBoxOf(vantrel.Pid()) != nullptr;
        },
        40000));
    const auto elapsedMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    std::printf("stalled server: error box after %lld ms, slowest frame answer %lld ms\n", elapsedMs, slowestMs);
    RecordProperty("stall_ms", static_cast<int>(elapsedMs));
    EXPECT_EQ(unanswered, 0);
    EXPECT_EQ(server.Requests(), 1) << "the second click started another check";
    ExpectErrorBox(frame, 1000);
}

TEST_F(UpdateCheckNetwork, RefusedConnectionIsTheErrorBox) {
    RefusingPort refusing;
    StartVantrel(refusing.Address());
    AskForUpdate(frame);
    ExpectErrorBoxFor(refusing.Address(), frame, 15000);
}

// A frame closed while its check runs gets nothing, and nothing else breaks.
TEST_F(UpdateCheckNetwork, FrameClosedDuringTheCheckGetsNoBox) {
    StartVantrel(server.Address());
    HWND second = NewFrame();
    ASSERT_NE(second, nullptr);
    server.NeverAnswer();
    AskForUpdate(second);
    ASSERT_TRUE(WaitFor([&] { return server.Requests() == 1; }, 5000));
    ::PostMessageW(second, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(second); }, 5000));
    server.Serve(200, "version=0.8.9.2");
    server.ReleaseStalled();  // the orphaned check ends now
    AskForUpdate(frame);
    const Box box = WaitForBox();
    ASSERT_NE(box.hwnd, nullptr);
    EXPECT_EQ(box.owner, frame);
    EXPECT_EQ(box.text, kLatest);
    ASSERT_TRUE(Answer(box, IDOK));
    EXPECT_EQ(FindMessageBoxOf(vantrel.Pid()), nullptr);
    EXPECT_TRUE(vantrel.IsRunning());
}

}  // namespace
