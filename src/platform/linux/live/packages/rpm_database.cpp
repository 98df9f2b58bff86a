#include "platform/linux/live/packages/rpm_database.h"

#include <sqlite3.h>

#include <map>
#include <memory>

#include "platform/linux/live/packages/rpm_header.h"

namespace platform::live {
namespace {

struct CloseDatabase {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

// A file name as a URI path: the characters a URI gives a meaning of its own are escaped.
std::string UriPath(std::string_view path) {
    std::string uri = "file:";
    for (const char c : path) {
        if (c == '%' || c == '?' || c == '#')
            uri += c == '%' ? "%25" : c == '?' ? "%3f" : "%23";
        else
            uri += c;
    }
    return uri + "?immutable=1";
}

}  // namespace

std::vector<std::string> RpmHeaderBlobs(const std::string& path) {
    std::vector<std::string> blobs;
    sqlite3* opened = nullptr;
    const int rc = sqlite3_open_v2(UriPath(path).c_str(), &opened,
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    const std::unique_ptr<sqlite3, CloseDatabase> db(opened);
    if (rc != SQLITE_OK)
        return blobs;
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(db.get(), "SELECT blob FROM Packages ORDER BY hnum", -1, &prepared,
                           nullptr) != SQLITE_OK)
        return blobs;
    const std::unique_ptr<sqlite3_stmt, FinalizeStatement> statement(prepared);
    while (sqlite3_step(statement.get()) == SQLITE_ROW) {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement.get(), 0));
        const int size = sqlite3_column_bytes(statement.get(), 0);
        if (bytes && size > 0)
            blobs.emplace_back(bytes, static_cast<std::size_t>(size));
    }
    return blobs;
}

std::vector<InstalledProgram> RpmPrograms(const std::vector<std::string>& blobs) {
    std::vector<InstalledProgram> programs;
    std::map<std::string, int> names;
    for (const auto& blob : blobs) {
        auto package = ParseRpmHeader(blob);
        if (!package || package->name == "gpg-pubkey")
            continue;
        InstalledProgram program;
        program.id = package->arch.empty() ? package->name : package->name + "." + package->arch;
        program.name = package->name;
        program.version = package->version;
        program.publisher = package->vendor;
        program.comments = package->summary;
        program.url = package->url;
        program.source = "rpm";
        if (package->sizeBytes)
            program.sizeKb = KilobytesOf(*package->sizeBytes);
        if (package->installTime)
            program.installDate = LocalDay(static_cast<std::time_t>(*package->installTime));
        ++names[program.name];
        programs.push_back(std::move(program));
    }
    for (auto& program : programs)
        if (names[program.name] > 1)
            program.name = program.id;
    return programs;
}

std::vector<InstalledProgram> RpmPrograms(const SystemRoot& root) {
    for (const char* file : {"/var/lib/rpm/rpmdb.sqlite", "/usr/lib/sysimage/rpm/rpmdb.sqlite"})
        if (root.Exists(file))
            return RpmPrograms(RpmHeaderBlobs(root.Path(file)));
    return {};
}

}  // namespace platform::live
