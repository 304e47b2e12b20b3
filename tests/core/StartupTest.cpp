// Start with Windows: drive roots, the drive questions and the registered command
// line; the run counter and its reminder.
#include <gtest/gtest.h>

#include <map>

#include "core/RunCounter.h"
#include "core/StartupDrive.h"

namespace vantrel {
namespace {

TEST(DriveRoot, IsTheProgramFolderUpToItsFirstBackslash) {
    const struct {
        const wchar_t* path;
        const wchar_t* root;
    } cases[] = {
        {L"C:\\Program Files\\Vantrel\\Vantrel.exe", L"C:\\"},
        {L"C:\\Vantrel\\Vantrel.exe", L"C:\\"},
        {L"e:\\tools\\Vantrel.exe", L"e:\\"},
        {L"E:\\Vantrel.exe", L""},  // the drive's root folder: no backslash left in the folder
        {L"\\\\server\\share\\Vantrel\\Vantrel.exe", L"\\"},
        {L"\\\\server\\share\\Vantrel.exe", L"\\"},
        {L"Vantrel.exe", L""},
        {L"", L""},
        {L"\\\\?\\C:\\very\\long\\Vantrel.exe", L"C:\\"},  // the prefix of long paths
        {L"\\\\?\\UNC\\server\\share\\Vantrel.exe", L"\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::wstring(c.path).size());
        EXPECT_EQ(DriveRootOf(c.path), c.root);
    }
}

TEST(DriveStrings, AreSplitAtZerosUpToTheEmptyOneOrTheEnd) {
    const wchar_t listed[] = L"A:\\\0C:\\\0E:\\\0\0Z:\\\0";
    EXPECT_EQ(SplitDriveStrings(std::wstring_view(listed, sizeof listed / sizeof(wchar_t) - 1)),
              (std::vector<std::wstring>{L"A:\\", L"C:\\", L"E:\\"}));
    // A buffer the system filled to its end without the final empty string.
    EXPECT_EQ(SplitDriveStrings(std::wstring_view(L"C:\\\0D:\\", 7)), (std::vector<std::wstring>{L"C:\\", L"D:\\"}));
    EXPECT_TRUE(SplitDriveStrings(std::wstring_view()).empty());
}

TEST(DriveQuestions, AskForDrivesThatMayBeMissingAtLogonInAnyLetterCase) {
    const std::map<std::wstring, unsigned> types = {
        {L"C:\\", kDriveFixed},  {L"D:\\", kDriveCdRom},  {L"E:\\", kDriveRemovable}, {L"N:\\", kDriveRemote},
        {L"R:\\", kDriveRamDisk}, {L"U:\\", kDriveUnknown}, {L"X:\\", kDriveNoRootDir}, {L"Y:\\", 7},
    };
    std::vector<std::wstring> drives;
    for (const auto& [drive, type] : types) drives.push_back(drive);
    const auto typeOf = [&](const std::wstring& drive) { return types.at(drive); };
    const std::wstring anyway = L"do you want to enable start with windows function anyway?";
    const std::wstring notRecommended = L" type and it is really not recommended to add it.do Do you want to enable "
                                        L"start with windows function anyway?";
    const struct {
        const wchar_t* root;
        std::wstring question;  // empty: none
    } cases[] = {
        {L"C:\\", L""},
        {L"c:\\", L""},
        {L"D:\\", L"D:\\ is a cd/dvd-rom" + notRecommended},
        {L"E:\\", L"E:\\ is a removable" + notRecommended},
        {L"e:\\", L"e:\\ is a removable" + notRecommended},
        {L"N:\\", L"N:\\ is a network" + notRecommended},
        {L"R:\\", L"R:\\ is a ramedrive, " + anyway},
        {L"U:\\", L"U:\\ is a unknown type, " + anyway},
        {L"X:\\", L""},
        {L"Y:\\", L""},
        {L"", L""},      // a drive's root folder
        {L"\\", L""},    // UNC
        {L"Q:\\", L""},  // no such drive
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "root " << std::string(c.root, c.root + wcslen(c.root)));
        const auto questions = StartupDriveQuestions(c.root, drives, typeOf);
        if (c.question.empty()) {
            EXPECT_TRUE(questions.empty());
        } else {
            EXPECT_EQ(questions, std::vector<std::wstring>{c.question});
        }
    }
}

TEST(RunValue, IsTheQuotedPathAndTheMinimizeSwitch) {
    EXPECT_EQ(RunValueData(L"C:\\Program Files\\Vantrel\\Vantrel.exe"),
              L"\"C:\\Program Files\\Vantrel\\Vantrel.exe\" /MINIMIZE");
    const std::wstring longPath = L"C:\\" + std::wstring(400, L'a') + L"\\Vantrel.exe";
    EXPECT_EQ(RunValueData(longPath), L"\"" + longPath + L"\" /MINIMIZE");
}

TEST(RunCounter, RemindsOnEveryTwentyFifthStartAndWrapsAtThirtyTwoBits) {
    EXPECT_EQ(NextRunCount(0), 1u);
    EXPECT_EQ(NextRunCount(24), 25u);
    EXPECT_EQ(NextRunCount(0xFFFFFFFFu), 0u);
    for (std::uint32_t runs : {25u, 50u, 75u, 1000u, 4294967275u}) EXPECT_TRUE(ShowsDonationReminder(runs)) << runs;
    for (std::uint32_t runs : {0u, 1u, 24u, 26u, 49u, 0xFFFFFFFFu}) EXPECT_FALSE(ShowsDonationReminder(runs)) << runs;
    EXPECT_EQ(DonationReminderText(25),
              L"Please consider donating, you have used this software 25 times. Support the author and suggest "
              L"improvements!");
    EXPECT_NE(DonationReminderText(4294967275u).find(L" 4294967275 times"), std::wstring::npos);
}

}  // namespace
}  // namespace vantrel
