#include "core/StartupDrive.h"

#include "core/Text.h"

namespace vantrel {

std::wstring DriveRootOf(std::wstring_view programPath) {
    // A long path may come with the prefix that lifts the length limit; the drive
    // is what follows it ("\\?\UNC\server\..." stays a UNC path).
    constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
    if (programPath.substr(0, kLongPrefix.size()) == kLongPrefix) {
        programPath.remove_prefix(kLongPrefix.size());
        if (programPath.substr(0, 4) == L"UNC\\") return L"\\";
    }
    const size_t lastSlash = programPath.rfind(L'\\');
    if (lastSlash == std::wstring_view::npos) return {};
    const std::wstring_view folder = programPath.substr(0, lastSlash);
    const size_t firstSlash = folder.find(L'\\');
    if (firstSlash == std::wstring_view::npos) return {};
    return std::wstring(folder.substr(0, firstSlash + 1));
}

std::vector<std::wstring> SplitDriveStrings(std::wstring_view buffer) {
    std::vector<std::wstring> drives;
    size_t start = 0;
    while (start < buffer.size()) {
        size_t end = buffer.find(L'\0', start);
        if (end == std::wstring_view::npos) end = buffer.size();
        if (end == start) break;
        drives.emplace_back(buffer.substr(start, end - start));
        start = end + 1;
    }
    return drives;
}

std::optional<std::wstring> DriveQuestion(const std::wstring& root, unsigned driveType) {
    const wchar_t* text = nullptr;
    switch (driveType) {
    case kDriveUnknown:
        text = L" is a unknown type, do you want to enable start with windows function anyway?";
        break;
    case kDriveRemovable:
        text = L" is a removable type and it is really not recommended to add it.do Do you want to enable start "
               L"with windows function anyway?";
        break;
    case kDriveRemote:
        text = L" is a network type and it is really not recommended to add it.do Do you want to enable start "
               L"with windows function anyway?";
        break;
    case kDriveCdRom:
        text = L" is a cd/dvd-rom type and it is really not recommended to add it.do Do you want to enable start "
               L"with windows function anyway?";
        break;
    case kDriveRamDisk:
        text = L" is a ramedrive, do you want to enable start with windows function anyway?";
        break;
    default:
        return std::nullopt;
    }
    return root + text;
}

std::vector<std::wstring> StartupDriveQuestions(const std::wstring& root, const std::vector<std::wstring>& drives,
                                                const std::function<unsigned(const std::wstring&)>& driveTypeOf) {
    std::vector<std::wstring> questions;
    if (root.empty()) return questions;
    for (const std::wstring& drive : drives) {
        if (!EqualNoCase(drive, root)) continue;
        if (auto question = DriveQuestion(root, driveTypeOf(drive))) questions.push_back(std::move(*question));
    }
    return questions;
}

std::wstring RunValueData(const std::wstring& programPath) { return L"\"" + programPath + L"\" /MINIMIZE"; }

}  // namespace vantrel
