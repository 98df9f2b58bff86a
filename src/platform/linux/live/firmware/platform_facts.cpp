#include "platform/linux/live/firmware/platform_facts.h"

#include <algorithm>

#include "platform/linux/live/common/text_views.h"
#include "platform/linux/live/system_calls.h"
#include "util/utf.h"

namespace platform::live {
namespace firmware {
namespace {

constexpr std::string_view kSecureBootVariable =
    "/sys/firmware/efi/efivars/SecureBoot-8be4df61-93ca-11d2-aa0d-00e098032b8c";
// Kernels before efivarfs: the value without the four bytes of attributes.
constexpr std::string_view kOldSecureBootVariable =
    "/sys/firmware/efi/vars/SecureBoot-8be4df61-93ca-11d2-aa0d-00e098032b8c/data";

bool Contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

std::string FirstLine(const SystemRoot& root, std::string_view path) {
    return std::string(TrimBlanks(root.ReadLine(path).value_or("")));
}

std::string SecureBootByte(std::string_view value, std::size_t offset) {
    if (value.size() <= offset)
        return {};
    return value[offset] == 1 ? "On" : value[offset] == 0 ? "Off" : "";
}

// systemd's names for the container managers; any other is "container-other".
std::string ContainerWord(std::string_view name) {
    static constexpr std::string_view kKnown[] = {
        "lxc", "lxc-libvirt", "systemd-nspawn", "docker", "podman",
        "rkt", "wsl",         "proot",          "pouch",  "openvz",
    };
    if (std::find(std::begin(kKnown), std::end(kKnown), name) != std::end(kKnown))
        return std::string(name);
    return "container-other";
}

std::optional<std::string> Container(const SystemRoot& root) {
    const std::string release = root.ReadFile("/proc/sys/kernel/osrelease", 4096).value_or("");
    if (Contains(release, "Microsoft") || Contains(release, "WSL"))
        return "wsl";
    for (const std::string_view file : {"/run/host/container-manager", "/run/systemd/container"})
        if (const std::string name = FirstLine(root, file); !name.empty())
            return ContainerWord(name);
    // Only root may read process 1's environment; the marker files below answer for others.
    if (const auto environment = root.ReadFile("/proc/1/environ", 1u << 20))
        for (const std::string_view entry : SplitFields(*environment, '\0'))
            if (entry.starts_with("container=") && entry.size() > 10)
                return ContainerWord(entry.substr(10));
    if (root.Exists("/run/.containerenv"))
        return "podman";
    if (root.Exists("/.dockerenv"))
        return "docker";
    if (root.Exists("/proc/vz") && !root.Exists("/proc/bc"))
        return "openvz";
    return std::nullopt;
}

// The firmware's identity strings that virtual machines fill in, matched by prefix.
std::optional<std::string> DmiKind(const SystemRoot& root) {
    struct Mark {
        std::string_view prefix;
        const char* kind;
    };
    static constexpr Mark kMarks[] = {
        {"KVM", "kvm"},
        {"OpenStack", "kvm"},
        {"KubeVirt", "kvm"},
        {"Amazon EC2", "amazon"},
        {"QEMU", "qemu"},
        {"VMware", "vmware"},
        {"VMW", "vmware"},
        {"innotek GmbH", "oracle"},
        {"VirtualBox", "oracle"},
        {"Oracle Corporation", "oracle"},
        {"Xen", "xen"},
        {"Bochs", "bochs"},
        {"Parallels", "parallels"},
        {"BHYVE", "bhyve"},
        {"Hyper-V", "microsoft"},
        {"Apple Virtualization", "apple"},
        {"Google Compute Engine", "google"},
    };
    const std::string product = FirstLine(root, "/sys/class/dmi/id/product_name");
    // The maker's own computers carry its name too; only its virtual machines are named so.
    if (product == "Virtual Machine" &&
        FirstLine(root, "/sys/class/dmi/id/sys_vendor").starts_with("Microsoft"))
        return "microsoft";
    for (const std::string_view file :
         {"product_name", "sys_vendor", "board_vendor", "bios_vendor", "product_version"}) {
        const std::string text = FirstLine(root, "/sys/class/dmi/id/" + std::string(file));
        for (const auto& mark : kMarks)
            if (!text.empty() && text.starts_with(mark.prefix))
                return mark.kind;
    }
    return std::nullopt;
}

// The kernel's own word: the paravirtual clock it was offered.
std::optional<std::string> ClockKind(const SystemRoot& root) {
    const std::string sources =
        FirstLine(root, "/sys/devices/system/clocksource/clocksource0/available_clocksource");
    for (const std::string_view source : SplitWords(sources)) {
        if (source == "kvm-clock")
            return "kvm";
        if (source.starts_with("hyperv_clocksource"))
            return "microsoft";
        if (source == "xen")
            return "xen";
    }
    return std::nullopt;
}

std::optional<std::string> DeviceTreeKind(const SystemRoot& root) {
    if (const auto compatible = root.ReadFile("/proc/device-tree/hypervisor/compatible", 4096)) {
        if (Contains(*compatible, "linux,kvm"))
            return "kvm";
        if (Contains(*compatible, "xen"))
            return "xen";
        if (Contains(*compatible, "vmware"))
            return "vmware";
        return "vm-other";
    }
    for (const auto& name : root.ListFolder("/proc/device-tree"))
        if (name.starts_with("fw-cfg"))
            return "qemu";
    return std::nullopt;
}

bool CpuFlagsSayHypervisor(std::string_view cpuinfo) {
    for (const std::string_view line : Lines(cpuinfo)) {
        if (!line.starts_with("flags"))
            continue;
        const auto words = SplitWords(line, " \t:");
        return std::find(words.begin(), words.end(), "hypervisor") != words.end();
    }
    return false;
}

std::optional<std::string> VirtualMachine(const SystemRoot& root,
                                          const std::optional<std::string>& cpuSignature,
                                          std::string_view cpuinfo) {
    // Firmware strings of these makers name the product even where its hypervisor offers
    // another's paravirtual interface (a KVM clock in VirtualBox, on Amazon's KVM).
    const auto dmi = DmiKind(root);
    if (dmi && (*dmi == "oracle" || *dmi == "xen" || *dmi == "amazon"))
        return dmi;
    const std::string hypervisor = FirstLine(root, "/sys/hypervisor/type");
    if (hypervisor == "xen")
        return Contains(root.ReadFile("/proc/xen/capabilities", 4096).value_or(""), "control_d")
                   ? "none"  // Xen's control domain is the host, not a guest
                   : "xen";
    // A QEMU machine whose kernel found KVM's clock runs accelerated: "kvm", not "qemu".
    if (auto clock = ClockKind(root))
        return clock;
    if (dmi)
        return dmi;
    if (auto tree = DeviceTreeKind(root))
        return tree;
    if (!hypervisor.empty())
        return "vm-other";
    if (cpuSignature)
        if (auto kind = HypervisorKind(*cpuSignature))
            return kind;
    if (cpuSignature || CpuFlagsSayHypervisor(cpuinfo))
        return "vm-other";
    return std::nullopt;
}

}  // namespace

std::string FirmwareType(const SystemRoot& root, bool x86) {
    if (root.Exists("/sys/firmware/efi"))
        return "UEFI";
    // A container may hide /sys/firmware; a PC's kernel always shows something there.
    if (x86 && !root.ListFolder("/sys/firmware").empty())
        return "BIOS";
    return {};
}

std::string SecureBootState(const SystemRoot& root, const std::string& firmwareType) {
    if (firmwareType == "BIOS")
        return "Not supported";
    if (firmwareType != "UEFI")
        return {};
    if (const auto value = root.ReadFile(kSecureBootVariable, 64))
        return SecureBootByte(*value, 4);
    if (root.Exists(kSecureBootVariable))
        return {};
    if (const auto value = root.ReadFile(kOldSecureBootVariable, 64))
        return SecureBootByte(*value, 0);
    // Without the variables mounted their absence says nothing.
    if (root.ListFolder("/sys/firmware/efi/efivars").empty() &&
        root.ListFolder("/sys/firmware/efi/vars").empty())
        return {};
    return "Not supported";
}

std::optional<std::string> HypervisorKind(std::string_view signature) {
    struct Mark {
        std::string_view signature;
        const char* kind;
    };
    static constexpr Mark kMarks[] = {
        {"KVMKVMKVM", "kvm"},          {"Linux KVM Hv", "kvm"},       {"TCGTCGTCGTCG", "qemu"},
        {"Microsoft Hv", "microsoft"}, {"VMwareVMware", "vmware"},    {"XenVMMXenVMM", "xen"},
        {"VBoxVBoxVBox", "oracle"},    {" lrpepyh  vr", "parallels"}, {"bhyve bhyve ", "bhyve"},
        {"ACRNACRNACRN", "acrn"},      {"QNXQVMBSQG", "qnx"},         {"SRESRESRESRE", "sre"},
    };
    // Signatures shorter than 12 characters are padded with NULs.
    const std::string_view text = signature.substr(0, signature.find('\0'));
    for (const auto& mark : kMarks)
        if (text == mark.signature)
            return mark.kind;
    return std::nullopt;
}

std::string Virtualization(const SystemRoot& root, const std::optional<std::string>& cpuSignature) {
    if (auto container = Container(root))
        return *container;
    const auto cpuinfo = root.ReadFile("/proc/cpuinfo");
    if (auto machine = VirtualMachine(root, cpuSignature, cpuinfo.value_or("")))
        return *machine;
    return cpuinfo ? "none" : "";
}

std::string InitSystem(const SystemRoot& root) {
    if (root.Exists("/run/systemd/system"))
        return "systemd";
    // OpenRC often runs under another program's init.
    if (root.Exists("/run/openrc"))
        return "openrc";
    const std::string program = FirstLine(root, "/proc/1/comm");
    if (program == "init")
        return "sysvinit";
    if (program == "openrc-init")
        return "openrc";
    return program;
}

}  // namespace firmware

PlatformFacts LivePlatformInfo::Facts() {
#if defined(__x86_64__) || defined(__i386__)
    constexpr bool kX86 = true;
#else
    constexpr bool kX86 = false;
#endif
    PlatformFacts facts;
    facts.osFamily = L"Linux";
    const std::string firmware = firmware::FirmwareType(root_, kX86);
    facts.firmwareType = Utf8ToWide(firmware);
    facts.secureBoot = Utf8ToWide(firmware::SecureBootState(root_, firmware));
    facts.virtualization =
        Utf8ToWide(firmware::Virtualization(root_, root_.Calls().HypervisorSignature()));
    facts.initSystem = Utf8ToWide(firmware::InitSystem(root_));
    return facts;
}

}  // namespace platform::live
