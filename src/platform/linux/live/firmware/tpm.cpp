#include "platform/linux/live/firmware/tpm.h"

#include "platform/linux/live/classes.h"
#include "platform/linux/live/common/text_views.h"
#include "platform/linux/live/firmware/firmware_text.h"

namespace platform::live {
namespace firmware {

TpmCaps ParseTpmCaps(std::string_view caps) {
    TpmCaps parsed;
    for (const std::string_view line : Lines(caps)) {
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view key = TrimBlanks(line.substr(0, colon));
        if (key == "TCG version")
            parsed.specVersion = Trimmed(line.substr(colon + 1));
        else if (key == "Firmware version")
            parsed.firmwareVersion = Trimmed(line.substr(colon + 1));
    }
    return parsed;
}

}  // namespace firmware

namespace {

bool IsTpmName(std::string_view name) {
    return name.size() > 3 && name.starts_with("tpm") &&
           name.find_first_not_of("0123456789", 3) == std::string_view::npos;
}

// A TPM 1.2 driver's attribute: beside the class device on current kernels, under its
// parent device on older ones.
std::optional<std::string> Attribute(const SystemRoot& root, const std::string& device,
                                     std::string_view name) {
    if (auto text = root.ReadFile(device + "/" + std::string(name), 4096))
        return text;
    return root.ReadFile(device + "/device/" + std::string(name), 4096);
}

WmiValue Flag(const std::optional<std::string>& text) {
    const std::string_view value = TrimBlanks(text.value_or(""));
    if (value == "1")
        return WmiValue::Bool(true);
    if (value == "0")
        return WmiValue::Bool(false);
    return WmiValue::Null();
}

}  // namespace

// A TPM 2.0 is enabled and activated whenever the kernel can use it; a 1.2 says so itself.
WmiObjectList Tpms(const SystemRoot& root) {
    WmiObjectList tpms;
    for (const auto& name : root.ListFolder("/sys/class/tpm")) {
        if (!IsTpmName(name))
            continue;
        const std::string device = "/sys/class/tpm/" + name;
        const auto caps = firmware::ParseTpmCaps(Attribute(root, device, "caps").value_or(""));
        const std::string_view major =
            TrimBlanks(root.ReadFile(device + "/tpm_version_major", 64).value_or(""));
        std::optional<std::string> version;
        if (major == "2")
            version = "2.0";
        else if (major == "1")
            version = "1.2";
        else if (caps.specVersion)
            version = caps.specVersion;
        else if (root.Exists("/sys/class/tpmrm/tpmrm" + name.substr(3)))
            version = "2.0";  // only 2.0 devices get a resource manager
        const bool two = version == "2.0";
        WmiObject tpm;
        tpm.Set(L"SpecVersion", firmware::TextOrNull(version));
        tpm.Set(L"IsEnabled_InitialValue",
                two ? WmiValue::Bool(true) : Flag(Attribute(root, device, "enabled")));
        tpm.Set(L"IsActivated_InitialValue",
                two ? WmiValue::Bool(true) : Flag(Attribute(root, device, "active")));
        tpm.Set(L"ManufacturerVersion", firmware::TextOrNull(caps.firmwareVersion));
        tpms.push_back(std::move(tpm));
    }
    return tpms;
}

}  // namespace platform::live
