#include "viewer_options.h"

#include "viewer_protocol.h"

namespace {

// Benchmarks want hundreds of windows; far more would only exhaust the
// desktop heap, so a larger count is taken for a typing error.
constexpr int kMaxGenericWindows = 5000;

bool ParseCount(const std::wstring& text, int& count) {
    if (text.empty() || text.size() > 4)
        return false;
    int value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        value = value * 10 + (c - L'0');
    }
    if (value > kMaxGenericWindows)
        return false;
    count = value;
    return true;
}

}  // namespace

ViewerOptions ParseViewerOptions(const std::vector<std::wstring>& args) {
    ViewerOptions options;
    options.strClassName = viewer_protocol::kDocumentClass;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == L"--class") {
            if (!hasValue || args[i + 1].empty()) {
                options.strError = L"--class needs a class name";
                break;
            }
            options.strClassName = args[++i];
        } else if (arg == L"--windows") {
            if (!hasValue || !ParseCount(args[i + 1], options.nGenericWindows)) {
                options.strError = L"--windows needs a count";
                break;
            }
            ++i;
        } else if (arg == L"--hidden") {
            options.bHidden = true;
        } else if (arg == L"--stay") {
            options.bStay = true;
        } else if (arg.compare(0, 2, L"--") == 0) {
            options.strError = L"unknown option " + arg;
            break;
        } else if (!arg.empty()) {
            options.documentNames.push_back(arg);
        }
    }
    return options;
}

std::vector<std::wstring> StartupDocuments(const ViewerOptions& options) {
    if (options.documentNames.empty() && options.nGenericWindows < 0)
        return {L"Sample report.txt", L"Quarterly figures.txt", L"Reading list.txt"};
    std::vector<std::wstring> names = options.documentNames;
    for (int n = 1; n <= options.nGenericWindows; ++n)
        names.push_back(GenericDocumentName(n));
    return names;
}

std::wstring GenericDocumentName(int number) {
    return L"Document " + std::to_wstring(number);
}
