// RPM headers parsed from bytes, and the SQLite database of current RPM built in the test.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "platform/linux/live/packages/rpm_database.h"
#include "platform/linux/live/packages/rpm_header.h"
#include "temp_folder.h"
#include "tree_root.h"

using namespace platform::live;

namespace {

struct Entry {
    std::uint32_t tag, type;
    std::string data;
    std::uint32_t count = 1;
};

std::string BigEndian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

Entry Text(std::uint32_t tag, const std::string& text) {
    return {tag, 6, text + '\0'};
}
Entry Number(std::uint32_t tag, std::uint32_t value) {
    return {tag, 4, BigEndian(value)};
}

// A header as the database stores it; the data of each entry follows the previous one, and
// `offsetShift` moves every offset to make them point elsewhere.
std::string Header(const std::vector<Entry>& entries, std::uint32_t offsetShift = 0) {
    std::string index, data;
    for (const auto& entry : entries) {
        index += BigEndian(entry.tag) + BigEndian(entry.type) +
                 BigEndian(static_cast<std::uint32_t>(data.size()) + offsetShift) +
                 BigEndian(entry.count);
        data += entry.data;
    }
    return BigEndian(static_cast<std::uint32_t>(entries.size())) +
           BigEndian(static_cast<std::uint32_t>(data.size())) + index + data;
}

std::string Package(const std::string& name, const std::string& arch,
                    const std::string& vendor = "Example Project") {
    return Header({Text(1000, name), Text(1001, "1.0"), Text(1002, "1.fc39"), Text(1022, arch),
                   Text(1011, vendor)});
}

TEST(RpmHeader, FieldsOfAPackage) {
    const auto package = ParseRpmHeader(Header({
        {63, 7, std::string(16, '\x01'), 16},  // the immutable region marker comes first
        Text(1000, "bash"),
        Number(1003, 2),
        Text(1001, "5.2.26"),
        Text(1002, "1.fc39"),
        {1004, 9, std::string("The GNU shell\0Die GNU-Shell\0", 28), 2},
        Number(1008, 1700000000),
        Number(1009, 8200000),
        Text(1011, "Fedora Project"),
        Text(1020, "https://www.example.org/bash"),
        Text(1022, "x86_64"),
    }));
    ASSERT_TRUE(package);
    EXPECT_EQ("bash", package->name);
    EXPECT_EQ("2:5.2.26-1.fc39", package->version);
    EXPECT_EQ("x86_64", package->arch);
    EXPECT_EQ("Fedora Project", package->vendor);
    EXPECT_EQ("The GNU shell", package->summary) << "the untranslated text";
    EXPECT_EQ("https://www.example.org/bash", package->url);
    EXPECT_EQ(1700000000u, package->installTime.value_or(0));
    EXPECT_EQ(8200000u, package->sizeBytes.value_or(0));
}

TEST(RpmHeader, DamagedHeadersAndFieldsAreRejectedNotReadPastTheirEnd) {
    const std::string good = Header({Text(1000, "zsh"), Text(1001, "5.9")});
    const struct {
        const char* what;
        std::string blob;
        const char* version;  // nullptr: no package at all
    } cases[] = {
        {"no release, no epoch", good, "5.9"},
        {"empty", "", nullptr},
        {"counts only", good.substr(0, 8), nullptr},
        {"data cut short", good.substr(0, good.size() - 1), nullptr},
        {"trailing bytes are ignored", good + "xyz", "5.9"},
        {"index count beyond the limit", BigEndian(0x10000) + good.substr(4), nullptr},
        {"offsets past the data", Header({Text(1000, "zsh")}, 100), nullptr},
        {"name without its end", Header({{1000, 6, "zsh"}}), nullptr},
        {"empty name", Header({Text(1000, "")}), nullptr},
        {"name of the wrong type", Header({{1000, 4, "zsh"}}), nullptr},
        {"epoch of the wrong type", Header({Text(1000, "zsh"), Text(1003, "7"), Text(1001, "5")}),
         "5"},
        {"epoch cut short", Header({Text(1000, "zsh"), {1003, 4, "\x01"}, Text(1001, "")}), ""},
    };
    for (const auto& c : cases) {
        const auto package = ParseRpmHeader(c.blob);
        EXPECT_EQ(c.version != nullptr, package.has_value()) << c.what;
        if (package && c.version) {
            EXPECT_EQ(c.version, package->version) << c.what;
        }
    }
}

TEST(RpmHeader, KeysAreLeftOutAndMultilibNamesCarryTheirArchitecture) {
    const auto programs = RpmPrograms({Package("glibc", "x86_64"), Package("gpg-pubkey", ""),
                                       Package("glibc", "i686"), Package("tzdata", "noarch"),
                                       "garbage", Header({Text(1000, "big"), Number(1009, 1025)})});
    ASSERT_EQ(4u, programs.size());
    EXPECT_EQ("glibc.x86_64", programs[0].name);
    EXPECT_EQ("glibc.i686", programs[1].name);
    EXPECT_EQ("tzdata", programs[2].name);
    EXPECT_EQ("tzdata.noarch", programs[2].id);
    EXPECT_EQ("1.0-1.fc39", programs[2].version);
    EXPECT_EQ("Example Project", programs[2].publisher);
    EXPECT_EQ("rpm", programs[2].source);
    EXPECT_EQ("big", programs[3].id);
    EXPECT_EQ(2u, programs[3].sizeKb.value_or(0)) << "a started kilobyte counts";
}

void Execute(sqlite3* db, const char* sql) {
    char* error = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db, sql, nullptr, nullptr, &error)) << error;
}

// A database with the table current RPM writes, holding the given headers.
void WriteDatabase(const std::filesystem::path& file, const std::vector<std::string>& blobs) {
    std::filesystem::create_directories(file.parent_path());
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(file.c_str(), &db));
    Execute(db,
            "CREATE TABLE Packages (hnum INTEGER PRIMARY KEY AUTOINCREMENT, blob BLOB NOT NULL)");
    for (const auto& blob : blobs) {
        sqlite3_stmt* insert = nullptr;
        ASSERT_EQ(SQLITE_OK, sqlite3_prepare_v2(db, "INSERT INTO Packages (blob) VALUES (?)", -1,
                                                &insert, nullptr));
        sqlite3_bind_blob(insert, 1, blob.data(), static_cast<int>(blob.size()), SQLITE_STATIC);
        EXPECT_EQ(SQLITE_DONE, sqlite3_step(insert));
        sqlite3_finalize(insert);
    }
    sqlite3_close(db);
}

std::vector<std::string> Ids(const std::vector<InstalledProgram>& programs) {
    std::vector<std::string> ids;
    for (const auto& program : programs)
        ids.push_back(program.id);
    return ids;
}

TEST(RpmDatabase, ReadsTheSqliteDatabaseWithoutTouchingIt) {
    TempFolder temp;
    // A folder name a URI would read otherwise.
    const auto root = temp.path() / "odd?#%25name";
    const auto file = root / "var/lib/rpm/rpmdb.sqlite";
    WriteDatabase(file, {Package("bash", "x86_64"), Package("gpg-pubkey", ""), "garbage",
                         Package("zlib", "x86_64")});
    const auto before = std::filesystem::last_write_time(file);
    ::chmod(file.c_str(), 0444);

    EXPECT_EQ((std::vector<std::string>{"bash.x86_64", "zlib.x86_64"}),
              Ids(RpmPrograms(TreeRoot(root.string()))));
    EXPECT_EQ(before, std::filesystem::last_write_time(file));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(file.parent_path()),
                               std::filesystem::directory_iterator()))
        << "no journal, no shared-memory file";
}

TEST(RpmDatabase, OtherLayoutsAndDamagedFilesListNothing) {
    TempFolder temp;
    // The Berkeley DB of older RPM is not read.
    std::filesystem::create_directories(temp.path() / "bdb/var/lib/rpm");
    std::ofstream(temp.path() / "bdb/var/lib/rpm/Packages") << "\x00\x06\x15\x61";
    std::filesystem::create_directories(temp.path() / "junk/var/lib/rpm");
    std::ofstream(temp.path() / "junk/var/lib/rpm/rpmdb.sqlite") << "not a database";
    std::filesystem::create_directories(temp.path() / "folder/var/lib/rpm/rpmdb.sqlite");
    const auto other = temp.path() / "other/var/lib/rpm/rpmdb.sqlite";
    std::filesystem::create_directories(other.parent_path());
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(other.c_str(), &db));
    Execute(db, "CREATE TABLE Names (key TEXT, hnum INTEGER)");
    sqlite3_close(db);
    for (const char* name : {"missing", "bdb", "junk", "folder", "other"})
        EXPECT_TRUE(RpmPrograms(TreeRoot((temp.path() / name).string())).empty()) << name;

    // Newer systems keep it under /usr.
    WriteDatabase(temp.path() / "usr-tree/usr/lib/sysimage/rpm/rpmdb.sqlite",
                  {Package("rpm", "aarch64")});
    EXPECT_EQ(std::vector<std::string>{"rpm.aarch64"},
              Ids(RpmPrograms(TreeRoot((temp.path() / "usr-tree").string()))));
}

}  // namespace
