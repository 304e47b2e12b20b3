// While a UrlRecorder lives, the test prefix opens http, https and mailto
// addresses, and folders, with tests/support/url_recorder instead of a browser,
// a mail program or a file manager, and the test can see what was opened.
#pragma once

#include <string>
#include <vector>

class UrlRecorder {
public:
    UrlRecorder();
    // Puts the previous handlers back.
    ~UrlRecorder();
    UrlRecorder(const UrlRecorder&) = delete;
    UrlRecorder& operator=(const UrlRecorder&) = delete;

    // Addresses opened since this recorder was made, in order.
    std::vector<std::wstring> Urls() const;
    // Waits until `url` has been opened.
    bool WaitForUrl(const std::wstring& url, int timeoutMs = 5000) const;

private:
    struct SavedCommand {
        std::wstring key;
        bool existed = false;
        std::wstring command;
    };
    std::wstring m_log;
    std::vector<SavedCommand> m_saved;
};
