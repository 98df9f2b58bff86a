#include "platform/linux/live/devices/edid.h"

#include <cstdio>
#include <map>

namespace platform::live {
namespace {

constexpr std::size_t kBlockSize = 128;
constexpr unsigned char kHeader[8] = {0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00};
constexpr std::size_t kDescriptors[4] = {54, 72, 90, 108};
constexpr unsigned char kNameTag = 0xFC;
constexpr unsigned char kSerialTag = 0xFF;

unsigned Byte(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

// Three letters of five bits each (1 = 'A'), big-endian in two bytes.
std::string ManufacturerId(unsigned high, unsigned low) {
    const unsigned packed = (high << 8) | low;
    std::string id;
    for (int shift : {10, 5, 0}) {
        const unsigned letter = (packed >> shift) & 0x1F;
        if (letter < 1 || letter > 26)
            return {};
        id += static_cast<char>('A' + letter - 1);
    }
    return id;
}

// Up to 13 bytes, ended by a line feed and padded with blanks.
std::wstring DescriptorText(std::string_view text) {
    std::wstring result;
    for (const char c : text) {
        if (c == '\n')
            break;
        const unsigned byte = static_cast<unsigned char>(c);
        result += byte >= 0x20 && byte < 0x7F ? static_cast<wchar_t>(byte) : L'\uFFFD';
    }
    const std::size_t first = result.find_first_not_of(L' ');
    const std::size_t last = result.find_last_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : result.substr(first, last - first + 1);
}

}  // namespace

std::optional<Edid> ParseEdid(std::string_view bytes) {
    if (bytes.size() < kBlockSize)
        return std::nullopt;
    for (std::size_t i = 0; i < sizeof kHeader; ++i)
        if (Byte(bytes, i) != kHeader[i])
            return std::nullopt;
    unsigned sum = 0;
    for (std::size_t i = 0; i < kBlockSize; ++i)
        sum += Byte(bytes, i);
    if (sum % 256 != 0)
        return std::nullopt;

    Edid edid;
    edid.manufacturerId = ManufacturerId(Byte(bytes, 8), Byte(bytes, 9));
    edid.productCode = static_cast<std::uint16_t>(Byte(bytes, 10) | (Byte(bytes, 11) << 8));
    edid.serialNumber = Byte(bytes, 12) | (Byte(bytes, 13) << 8) | (Byte(bytes, 14) << 16) |
                        (static_cast<std::uint32_t>(Byte(bytes, 15)) << 24);
    for (const std::size_t at : kDescriptors) {
        const bool timing = Byte(bytes, at) != 0 || Byte(bytes, at + 1) != 0;  // pixel clock
        if (timing) {
            // The first detailed timing is the preferred one.
            if (edid.width == 0) {
                edid.width = Byte(bytes, at + 2) | ((Byte(bytes, at + 4) & 0xF0) << 4);
                edid.height = Byte(bytes, at + 5) | ((Byte(bytes, at + 7) & 0xF0) << 4);
            }
            continue;
        }
        const unsigned tag = Byte(bytes, at + 3);
        const std::string_view text = bytes.substr(at + 5, 13);
        if (tag == kNameTag && edid.name.empty())
            edid.name = DescriptorText(text);
        else if (tag == kSerialTag && edid.serialText.empty())
            edid.serialText = DescriptorText(text);
    }
    return edid;
}

std::string PnpDeviceId(const Edid& edid) {
    if (edid.manufacturerId.empty())
        return {};
    char code[8];
    std::snprintf(code, sizeof code, "%04X", edid.productCode);
    return edid.manufacturerId + code;
}

std::string PnpManufacturer(const std::string& manufacturerId) {
    static const std::map<std::string, std::string> kMakers = {
        {"ACR", "Acer"},
        {"AOC", "AOC"},
        {"APP", "Apple"},
        {"AUO", "AU Optronics"},
        {"AUS", "ASUS"},
        {"BNQ", "BenQ"},
        {"BOE", "BOE"},
        {"CMN", "Chimei Innolux"},
        {"CMO", "Chi Mei Optoelectronics"},
        {"DEL", "Dell"},
        {"EIZ", "EIZO"},
        {"FUS", "Fujitsu Siemens"},
        {"GSM", "LG Electronics"},
        {"HPN", "HP"},
        {"HWP", "HP"},
        {"IVM", "Iiyama"},
        {"LEN", "Lenovo"},
        {"LGD", "LG Display"},
        {"NEC", "NEC"},
        {"PHL", "Philips"},
        {"RHT", "Red Hat"},
        {"SAM", "Samsung"},
        {"SDC", "Samsung Display"},
        {"SHP", "Sharp"},
        {"SNY", "Sony"},
        {"TSB", "Toshiba"},
        {"VSC", "ViewSonic"},
    };
    const auto found = kMakers.find(manufacturerId);
    return found == kMakers.end() ? manufacturerId : found->second;
}

}  // namespace platform::live
