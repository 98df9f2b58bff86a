#include "platform/linux/live/storage/disk_drives.h"

#include <cstdint>
#include <optional>

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/text_views.h"
#include "platform/linux/live/common/wmi_values.h"
#include "platform/linux/live/storage/block_devices.h"

namespace platform::live {
namespace {

constexpr std::uint64_t kSectorBytes = 512;  // the unit of /sys/block/*/size, whatever the disk's

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

// A word followed by a digit: "usb2", "ata1", "host0", not "usbmon" or "atari".
bool IsNumbered(std::string_view part, std::string_view word) {
    return part.size() > word.size() && StartsWith(part, word) && part[word.size()] >= '0' &&
           part[word.size()] <= '9';
}

std::string TrimmedText(const std::optional<std::string>& text) {
    return text ? std::string(TrimBlanks(*text)) : std::string();
}

// The model sysfs keeps (SCSI, ATA and NVMe disks), else the one udev found; udev writes
// blanks as underscores there.
std::string Model(const SystemRoot& root, const std::string& name) {
    std::string model = TrimmedText(root.ReadLine("/sys/block/" + name + "/device/model"));
    if (!model.empty())
        return model;
    const auto number = root.ReadLine("/sys/block/" + name + "/dev");
    if (!number)
        return {};
    model = UdevProperty(
        root.ReadFile("/run/udev/data/b" + std::string(TrimBlanks(*number))).value_or(""),
        "ID_MODEL");
    for (char& c : model)
        if (c == '_')
            c = ' ';
    return std::string(TrimBlanks(model));
}

std::string MediaType(const SystemRoot& root, const std::string& name) {
    if (IsRemovableDisk(root, name))
        return "Removable media";
    const auto rotational = root.ReadLine("/sys/block/" + name + "/queue/rotational");
    if (!rotational)
        return {};
    const std::string_view value = TrimBlanks(*rotational);
    return value == "0" ? "SSD" : value == "1" ? "HDD" : "";
}

}  // namespace

bool IsDiskName(std::string_view name) {
    for (std::string_view kernel : {"loop", "ram", "zram", "dm-", "md"})
        if (StartsWith(name, kernel))
            return false;
    return !name.empty();
}

std::string DiskTransport(std::string_view name, std::string_view linkTarget) {
    const auto parts = SplitWords(linkTarget, "/");
    bool ata = false, sas = false, virtio = false, scsi = false;
    for (const std::string_view part : parts) {
        if (IsNumbered(part, "usb"))
            return "usb";
        ata = ata || IsNumbered(part, "ata");
        sas = sas || StartsWith(part, "end_device-");
        virtio = virtio || IsNumbered(part, "virtio");
        scsi = scsi || IsNumbered(part, "host");
    }
    if (StartsWith(name, "nvme"))
        return "nvme";
    if (StartsWith(name, "mmcblk"))
        return "mmc";
    if (ata)
        return "sata";
    if (sas)
        return "sas";
    // virtio-blk names its disks vd*; a virtio SCSI controller's are SCSI disks.
    if (StartsWith(name, "vd") && (virtio || linkTarget.empty()))
        return "virtio";
    if (scsi || StartsWith(name, "sd"))
        return "scsi";
    return {};
}

std::string UdevProperty(std::string_view data, std::string_view key) {
    for (const std::string_view line : Lines(data)) {
        if (line.size() > key.size() + 3 && StartsWith(line, "E:") &&
            line.substr(2, key.size()) == key && line[key.size() + 2] == '=')
            return std::string(line.substr(key.size() + 3));
    }
    return {};
}

WmiObjectList DiskDrives(const SystemRoot& root) {
    WmiObjectList drives;
    for (const std::string& name : root.ListFolder("/sys/block")) {
        if (!IsDiskName(name) || IsOpticalDisk(root, name))
            continue;
        const auto sectors = root.ReadLine("/sys/block/" + name + "/size");
        const auto count =
            sectors ? ParseUnsigned<std::uint64_t>(TrimBlanks(*sectors)) : std::nullopt;
        // An empty slot (a network block device nobody attached) is no disk; a card reader
        // without a card is.
        if (count && *count == 0 && !IsRemovableDisk(root, name))
            continue;
        std::optional<std::uint64_t> bytes;
        if (count && *count <= UINT64_MAX / kSectorBytes)
            bytes = *count * kSectorBytes;

        WmiObject drive;
        drive.Set(L"DeviceID", Text(name));
        drive.Set(L"Model", TextOrNull(Model(root, name)));
        drive.Set(L"Size", OrNull(bytes, UInt64Text));
        drive.Set(L"InterfaceType", TextOrNull(DiskTransport(
                                        name, root.ReadLink("/sys/block/" + name).value_or(""))));
        drive.Set(L"MediaType", TextOrNull(MediaType(root, name)));
        drives.push_back(std::move(drive));
    }
    return drives;
}

}  // namespace platform::live
