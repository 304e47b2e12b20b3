// What reaches the program from its start: the argument text, its own path (for
// start with Windows), the drive list and the server address in the environment.
// Never a crash; only the one switch is taken for "/MINIMIZE"; addresses and run
// values keep their shape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/StartupDrive.h"
#include "core/Text.h"
#include "core/UpdateDecision.h"
#include "core/WebServer.h"
#include "fuzz_input.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring input = fuzz::Units(data, size);
    const auto fields = fuzz::Fields(input, 3);
    const std::wstring& arguments = fields[0];

    if (vantrel::IsMinimizeSwitch(arguments)) {
        const auto first = arguments.find_first_not_of(L" \t\r\n");
        const auto last = arguments.find_last_not_of(L" \t\r\n");
        Check(last - first + 1 == 9 && vantrel::EqualNoCase(arguments.substr(first, 9), L"/minimize"));
    }
    Check(vantrel::EqualNoCase(arguments, arguments));

    const std::wstring root = vantrel::DriveRootOf(arguments);
    Check(root.size() <= arguments.size());
    const auto drives = vantrel::SplitDriveStrings(fields[1]);
    std::size_t total = 0;
    for (const auto& drive : drives) {
        Check(!drive.empty() && drive.find(L'\0') == std::wstring::npos);
        total += drive.size() + 1;
    }
    Check(total <= fields[1].size() + 1);
    const auto questions = vantrel::StartupDriveQuestions(
        root, drives, [&](const std::wstring& drive) { return static_cast<unsigned>(drive.size() % 8); });
    Check(questions.size() <= drives.size());
    const std::wstring run = vantrel::RunValueData(arguments);
    Check(run.find(arguments) != std::wstring::npos);

    const std::wstring server = vantrel::ChooseWebServer(fields[2], L"http://127.0.0.1:1");
    const std::wstring_view shown(server);
    Check(vantrel::EqualNoCase(shown.substr(0, 7), L"http://") || vantrel::EqualNoCase(shown.substr(0, 8), L"https://"));
    Check(server.empty() || server.back() != L'/');
    for (auto page : {vantrel::WebPage::VersionFile, vantrel::WebPage::DownloadPage, vantrel::WebPage::DonationPage,
                      vantrel::WebPage::HomePage}) {
        const std::wstring address = vantrel::WebAddress(server, page);
        Check(address.compare(0, server.size(), server) == 0);
    }
    vantrel::IsLoopbackAddress(fields[2]);
    return 0;
}
