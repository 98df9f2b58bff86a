// Writing where another local user may have been first: links, pipes and folders of theirs
// planted under the names a run writes. Cases that need a second owner run only as root.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/linux/native.h"
#include "temp_folder.h"
#include "util/utf.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

constexpr uid_t kOtherUser = 65534;

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct stat Status(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(0, ::lstat(path.c_str(), &status)) << path;
    return status;
}

std::size_t EntriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

class FileWrites : public ::testing::Test {
  protected:
    fs::path Here(const char* name) const { return temp_.path() / name; }
    // Owned by the other user, who keeps it for what follows a link.
    fs::path Victim() {
        const fs::path victim = Here("victim");
        Write(victim, "theirs");
        return victim;
    }
    TempFolder temp_;
};

// Whatever sits under the report's name is replaced by a private file; nothing is opened
// through it, and nothing waits on it.
TEST_F(FileWrites, ReplacingTakesTheNameNotWhatItPointsTo) {
    struct Case {
        const char* what;
        std::function<void(const fs::path& at, const fs::path& victim)> plant;
    };
    const Case cases[] = {
        {"nothing", [](const fs::path&, const fs::path&) {}},
        {"an old report", [](const fs::path& at, const fs::path&) { Write(at, "old"); }},
        {"a link to another file",
         [](const fs::path& at, const fs::path& victim) { fs::create_symlink(victim, at); }},
        {"a dangling link",
         [](const fs::path& at, const fs::path& victim) {
             fs::create_symlink(victim.string() + ".new", at);
         }},
        {"a named pipe",
         [](const fs::path& at, const fs::path&) { ASSERT_EQ(0, ::mkfifo(at.c_str(), 0666)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path report = Here("inventory.html");
        const fs::path victim = Victim();
        c.plant(report, victim);
        ASSERT_TRUE(WriteFileReplacing(report.wstring(), "new report"));
        const struct stat status = Status(report);
        EXPECT_TRUE(S_ISREG(status.st_mode));
        EXPECT_EQ(0600u, status.st_mode & 07777);
        EXPECT_EQ("new report", Read(report));
        EXPECT_EQ("theirs", Read(victim));
        EXPECT_FALSE(fs::exists(victim.string() + ".new"));
        EXPECT_EQ(2u, EntriesIn(temp_.path())) << "no partial file is left";
        fs::remove(report);
    }
}

TEST_F(FileWrites, AFolderUnderTheNameFailsTheWriteAndKeepsTheFolder) {
    const fs::path report = Here("inventory.yaml");
    fs::create_directory(report);
    Write(report / "inside", "kept");
    EXPECT_FALSE(WriteFileReplacing(report.wstring(), "new report"));
    EXPECT_EQ("kept", Read(report / "inside"));
    EXPECT_EQ(1u, EntriesIn(temp_.path()));
    EXPECT_FALSE(WriteFileReplacing(Here("missing").wstring() + L"/inventory.html", "x"));
}

struct FolderCase {
    const char* what;
    std::function<void(const fs::path& folder, const fs::path& elsewhere)> plant;
    bool needsRoot;
    std::wstring problem;  // empty: usable
};

const std::vector<FolderCase>& FolderCases() {
    static const std::vector<FolderCase> cases = {
        {"missing", [](const fs::path&, const fs::path&) {}, false, L""},
        {"our own", [](const fs::path& f, const fs::path&) { fs::create_directory(f); }, false,
         L""},
        {"a link to a folder",
         [](const fs::path& f, const fs::path& elsewhere) {
             fs::create_directory_symlink(elsewhere, f);
         },
         false, L"is a symbolic link"},
        {"a file", [](const fs::path& f, const fs::path&) { Write(f, "x"); }, false,
         L"is not a folder"},
        {"another user's",
         [](const fs::path& f, const fs::path&) {
             fs::create_directory(f);
             ASSERT_EQ(0, ::chown(f.c_str(), kOtherUser, kOtherUser));
         },
         true, L"belongs to another user"},
    };
    return cases;
}

// The support folder below the folder the person named.
TEST_F(FileWrites, SupportFilesGoOnlyIntoAFolderOfOurOwn) {
    for (const FolderCase& c : FolderCases()) {
        if (c.needsRoot && ::geteuid() != 0)
            continue;
        SCOPED_TRACE(c.what);
        TempFolder out;
        const fs::path folder = out.path() / "inventory_files";
        const fs::path elsewhere = out.path() / "elsewhere";
        fs::create_directory(elsewhere);
        c.plant(folder, elsewhere);
        const std::string css = "body {}";
        EXPECT_EQ(c.problem, WriteIntoOwnSubfolder(out.Slashed(), L"inventory_files",
                                                   {{L"common.css", css}, {L"red.gif", "GIF89a"}}));
        EXPECT_EQ(0u, EntriesIn(elsewhere));
        if (c.problem.empty()) {
            EXPECT_EQ(css, Read(folder / "common.css"));
            EXPECT_EQ(2u, EntriesIn(folder));
        } else if (fs::is_directory(fs::symlink_status(folder))) {
            EXPECT_EQ(0u, EntriesIn(folder));
        }
    }
}

// A support file already in place is kept (a run rewrites none of the same files), but only
// when a rewrite would leave exactly it: anything else under the name is replaced.
TEST_F(FileWrites, SupportFilesInPlaceAreKeptOnlyWhenPrivateAndTheSame) {
    const std::string css = "body {}";
    struct Case {
        const char* what;
        std::function<void(const fs::path& at, const fs::path& victim)> plant;
        bool kept;
    };
    const Case cases[] = {
        {"the same file", [&](const fs::path& at, const fs::path&) { Write(at, css); }, true},
        {"other bytes of the same size",
         [](const fs::path& at, const fs::path&) { Write(at, "body {;"); }, false},
        {"the same bytes, readable by others",
         [&](const fs::path& at, const fs::path&) {
             Write(at, css);
             fs::permissions(at, fs::perms::others_read, fs::perm_options::add);
         },
         false},
        {"a link to the same bytes",
         [&](const fs::path& at, const fs::path& victim) {
             Write(victim, css);
             fs::create_symlink(victim, at);
         },
         false},
        {"a second name of the same bytes",
         [&](const fs::path& at, const fs::path& victim) {
             Write(victim, css);
             fs::create_hard_link(victim, at);
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder out;
        const fs::path folder = out.path() / "inventory_files";
        fs::create_directory(folder, out.path());
        fs::permissions(folder, fs::perms::owner_all);
        const fs::path file = folder / "common.css";
        const mode_t mask = ::umask(077);
        c.plant(file, Here("victim"));
        ::umask(mask);
        const ino_t before = Status(file).st_ino;
        ASSERT_EQ(L"",
                  WriteIntoOwnSubfolder(out.Slashed(), L"inventory_files", {{L"common.css", css}}));
        const struct stat status = Status(file);
        EXPECT_TRUE(S_ISREG(status.st_mode));
        EXPECT_EQ(0600u, status.st_mode & 07777);
        EXPECT_EQ(1u, status.st_nlink);
        EXPECT_EQ(css, Read(file));
        EXPECT_EQ(c.kept, status.st_ino == before);
        fs::remove(Here("victim"));
    }
}

// The data folder: it must be this user's alone, or the run does not use it.
TEST_F(FileWrites, PrivateFolderIsMadeOrRefused) {
    std::vector<FolderCase> cases = FolderCases();
    cases.push_back({"writable by others",
                     [](const fs::path& f, const fs::path&) {
                         fs::create_directory(f);
                         fs::permissions(f, fs::perms::all);
                     },
                     false, L"can be written by other users"});
    // Anyone could rename it away and put a link in its place.
    cases.push_back({"in a folder open to all",
                     [](const fs::path& f, const fs::path&) {
                         fs::permissions(f.parent_path(), fs::perms::all);
                     },
                     false, L"lies in a folder that other users can change"});
    for (const FolderCase& c : cases) {
        if (c.needsRoot && ::geteuid() != 0)
            continue;
        SCOPED_TRACE(c.what);
        TempFolder parent;
        const fs::path folder = parent.path() / "share" / "fennock";
        fs::create_directory(parent.path() / "share");
        const fs::path elsewhere = parent.path() / "elsewhere";
        fs::create_directory(elsewhere);
        c.plant(folder, elsewhere);
        EXPECT_EQ(c.problem, PrepareOwnFolder(folder.wstring() + L"/"));
        if (std::string(c.what) == "missing") {
            EXPECT_EQ(0700u, Status(folder).st_mode & 07777);
        }
    }
    TempFolder parent;
    EXPECT_EQ(L"", PrepareOwnFolder(parent.Slashed() + L"a/b/fennock/"));
    EXPECT_EQ(0700u, Status(parent.path() / "a").st_mode & 07777);
}

// The default report folder: $TMPDIR only when nobody else can write it.
TEST_F(FileWrites, DefaultReportFolderIsPrivate) {
    const auto tmpdir = EnvironmentValue(L"TMPDIR");
    const auto cache = EnvironmentValue(L"XDG_CACHE_HOME");
    SetEnvironmentValue(L"XDG_CACHE_HOME", temp_.path().wstring() + L"/cache");
    fs::create_directory(Here("open"));
    fs::permissions(Here("open"), fs::perms::all);
    fs::create_directory(Here("mine"));
    fs::permissions(Here("mine"), fs::perms::owner_all);
    const std::pair<std::wstring, std::wstring> cases[] = {
        {Here("mine").wstring(), Here("mine").wstring() + L"/"},
        {Here("open").wstring(), temp_.path().wstring() + L"/cache/fennock/"},
        {L"/tmp", temp_.path().wstring() + L"/cache/fennock/"},
        {Here("missing").wstring(), temp_.path().wstring() + L"/cache/fennock/"},
    };
    posix::LinuxHost host;
    for (const auto& [tmp, expected] : cases) {
        SetEnvironmentValue(L"TMPDIR", tmp);
        EXPECT_EQ(expected, host.TempFolder()) << WideToUtf8(tmp);
    }
    SetEnvironmentValue(L"TMPDIR", tmpdir);
    SetEnvironmentValue(L"XDG_CACHE_HOME", cache);
}

}  // namespace
