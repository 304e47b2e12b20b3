#pragma once
// Start with Windows: which drive the program runs from, and whether that drive
// may be missing when the user logs on.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Drive types as the system numbers them.
enum DriveType : unsigned {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdRom = 5,
    kDriveRamDisk = 6,
};

inline constexpr wchar_t kStartupCaption[] = L"Vantrel at startup";

// The program's folder up to and including its first backslash: "C:\" for a
// program anywhere on drive C:, empty for one in a drive's root folder, a single
// backslash for a UNC path.
std::wstring DriveRootOf(std::wstring_view programPath);

// The drive roots in a buffer of zero-terminated strings ending with an empty
// one, as the system lists them. Stops at the end of the buffer too.
std::vector<std::wstring> SplitDriveStrings(std::wstring_view buffer);

// The question to ask before registering a program on a drive of this type, or
// nothing for a drive that is there at logon.
std::optional<std::wstring> DriveQuestion(const std::wstring& root, unsigned driveType);

// The questions to ask, in order, for `root`: one per listed drive that equals
// it in any letter case and is of a doubtful type. A root no drive matches
// (empty, UNC) asks nothing.
std::vector<std::wstring> StartupDriveQuestions(const std::wstring& root, const std::vector<std::wstring>& drives,
                                                const std::function<unsigned(const std::wstring&)>& driveTypeOf);

// The command line registered to run at logon.
std::wstring RunValueData(const std::wstring& programPath);

}  // namespace vantrel
