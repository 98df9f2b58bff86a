#include "platform/linux/live/storage/mount_table.h"

#include <libmount/libmount.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <memory>

namespace platform::live {
namespace {

using Table = std::unique_ptr<libmnt_table, decltype(&mnt_unref_table)>;

// A line libmount cannot read is left out; the lines after it still count.
int SkipLine(libmnt_table*, const char*, int) {
    return 1;
}

Table NewTable() {
    Table table(mnt_new_table(), mnt_unref_table);
    if (table)
        mnt_table_set_parser_errcb(table.get(), SkipLine);
    return table;
}

std::string Field(const char* value) {
    return value ? value : "";
}

std::vector<MountEntry> Entries(libmnt_table* table) {
    std::vector<MountEntry> entries;
    const std::unique_ptr<libmnt_iter, decltype(&mnt_free_iter)> at(mnt_new_iter(MNT_ITER_FORWARD),
                                                                    mnt_free_iter);
    libmnt_fs* fs = nullptr;
    while (at && mnt_table_next_fs(table, at.get(), &fs) == 0) {
        MountEntry entry;
        const dev_t device = mnt_fs_get_devno(fs);
        entry.device = std::to_string(major(device)) + ":" + std::to_string(minor(device));
        entry.root = Field(mnt_fs_get_root(fs));
        entry.mountPoint = Field(mnt_fs_get_target(fs));
        entry.fsType = Field(mnt_fs_get_fstype(fs));
        entry.source = Field(mnt_fs_get_source(fs));
        if (!entry.mountPoint.empty() && entry.mountPoint.front() == '/')
            entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    const Table table = NewTable();
    if (!table || text.empty())
        return {};
    const std::unique_ptr<FILE, decltype(&std::fclose)> stream(
        fmemopen(const_cast<char*>(text.data()), text.size(), "r"), std::fclose);
    if (!stream)
        return {};
    mnt_table_parse_stream(table.get(), stream.get(), "mountinfo");
    return Entries(table.get());
}

std::vector<MountEntry> ReadMountTable(const SystemRoot& root) {
    const Table table = NewTable();
    if (!table)
        return {};
    // A table that cannot be read to its end still gives the mounts read so far.
    mnt_table_parse_file(table.get(), root.Path("/proc/self/mountinfo").c_str());
    return Entries(table.get());
}

}  // namespace platform::live
