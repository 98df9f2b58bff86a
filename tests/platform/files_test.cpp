// Replacing a file in one step: the old contents stay whole until the new ones are complete.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "platform/files.h"
#include "temp_folder.h"

namespace {

using namespace std::string_literals;

std::size_t EntriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
}

TEST(FilesTest, WriteFileReplacingSwapsWholeContents) {
    TempFolder folder;
    const std::wstring report = folder.Slashed() + L"inventory.html";
    ASSERT_TRUE(platform::WriteWholeFile(report, "old report"));
    ASSERT_TRUE(platform::WriteFileReplacing(report, "new report"));
    std::string contents;
    ASSERT_TRUE(platform::ReadWholeFile(report, contents));
    EXPECT_EQ("new report", contents);
    EXPECT_EQ(1u, EntriesIn(folder.path())) << "no partial file is left";
}

TEST(FilesTest, AFailedWriteLeavesWhatWasThere) {
    TempFolder folder;
    // A folder holds the report's name: it cannot be replaced by a file.
    const std::wstring report = folder.Slashed() + L"inventory.yaml";
    ASSERT_TRUE(platform::CreateFolders(report));
    EXPECT_FALSE(platform::WriteFileReplacing(report, "new report"));
    EXPECT_TRUE(platform::IsDirectory(report));
    EXPECT_EQ(1u, EntriesIn(folder.path())) << "the partial file is removed";

    EXPECT_FALSE(platform::WriteFileReplacing(folder.Slashed() + L"missing/inventory.html", "x"));
}

// Two names for one file never agree, so nobody can take the next one ahead of a run.
TEST(FilesTest, PartialNamesAreUnguessable) {
    const std::wstring first = platform::UnguessableName(L"inventory.html");
    EXPECT_EQ(0u, first.rfind(L"inventory.html.", 0));
    EXPECT_EQ(L"inventory.html."s.size() + 16 + 4, first.size());
    EXPECT_NE(first, platform::UnguessableName(L"inventory.html"));
}

}  // namespace
