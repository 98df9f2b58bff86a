// Replacing a file in one step: the old contents stay whole until the new ones are complete.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "temp_folder.h"

namespace {

TEST(FilesTest, WriteFileReplacingSwapsWholeContents) {
    TempFolder folder;
    const std::wstring report = folder.Slashed() + L"inventory.html";
    ASSERT_TRUE(platform::WriteWholeFile(report, "old report"));
    ASSERT_TRUE(platform::WriteFileReplacing(report, "new report"));
    std::string contents;
    ASSERT_TRUE(platform::ReadWholeFile(report, contents));
    EXPECT_EQ("new report", contents);
    EXPECT_FALSE(platform::FileExists(report + L".tmp"));
}

TEST(FilesTest, AFailedWriteLeavesTheOldFile) {
    TempFolder folder;
    const std::wstring report = folder.Slashed() + L"inventory.yaml";
    ASSERT_TRUE(platform::WriteWholeFile(report, "old report"));
    // The partial file cannot be created: a folder holds its name.
    ASSERT_TRUE(platform::CreateFolders(report + L".tmp"));
    EXPECT_FALSE(platform::WriteFileReplacing(report, "new report"));
    std::string contents;
    ASSERT_TRUE(platform::ReadWholeFile(report, contents));
    EXPECT_EQ("old report", contents);

    EXPECT_FALSE(platform::WriteFileReplacing(folder.Slashed() + L"missing/inventory.html", "x"));
}

}  // namespace
