#include "document_text.h"

#include <windows.h>

#include <vector>

namespace {

constexpr DWORD kMaxBytesShown = 4096;

std::wstring MadeUpText(const std::wstring& name) {
    return L"\"" + name + L"\"\n\n"
           L"This is a sample document named \"" + name + L"\". It stands for a real "
           L"document so that its window can be opened, renamed, moved, sized, "
           L"modified and closed like any other. Mark it modified with Ctrl+M "
           L"and closing it will ask whether to save the changes.";
}

bool ReadFileHead(const std::wstring& path, std::vector<char>& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bytes.resize(kMaxBytesShown);
    DWORD read = 0;
    const BOOL ok = ReadFile(file, bytes.data(), kMaxBytesShown, &read, nullptr);
    CloseHandle(file);
    bytes.resize(ok ? read : 0);
    return ok != FALSE;
}

}  // namespace

std::wstring LoadDocumentText(const std::wstring& name) {
    const DWORD attributes = GetFileAttributesW(name.c_str());
    std::vector<char> bytes;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) ||
        !ReadFileHead(name, bytes))
        return MadeUpText(name);

    std::size_t start = 0;
    if (bytes.size() >= 3 && bytes[0] == '\xEF' && bytes[1] == '\xBB' && bytes[2] == '\xBF')
        start = 3;
    const int length = static_cast<int>(bytes.size() - start);
    if (length == 0)
        return std::wstring();
    // Decoded leniently: a character cut at the 4 KB mark, or a file that is
    // not UTF-8 at all, shows replacement characters rather than nothing.
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, bytes.data() + start, length, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data() + start, length, &text[0], wideLength);
    return text;
}
