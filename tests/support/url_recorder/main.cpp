// Stands in for the browser and the mail program in the test prefix: appends
// the address it was asked to open to a log file, one UTF-8 line each.
//   urlrecorder.exe LOGFILE ADDRESS
#include <windows.h>
#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 3) return 2;
    const std::wstring address = argv[2];
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, address.c_str(), static_cast<int>(address.size()), nullptr,
                                           0, nullptr, nullptr);
    std::string line(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, address.c_str(), static_cast<int>(address.size()), line.data(), size,
                          nullptr, nullptr);
    line.push_back('\n');
    // Several openers may write at once; the share mode lets each append in turn.
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE file = ::CreateFileW(argv[1], FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            ::WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            ::CloseHandle(file);
            ::LocalFree(argv);
            return 0;
        }
        ::Sleep(20);  // another recorder has the file open for a moment
    }
    ::LocalFree(argv);
    return 1;
}
