#include "platform/linux/live/packages/rpm_header.h"

namespace platform::live {
namespace {

enum Tag : std::uint32_t {
    kName = 1000,
    kVersion = 1001,
    kRelease = 1002,
    kEpoch = 1003,
    kSummary = 1004,
    kInstallTime = 1008,
    kSize = 1009,
    kVendor = 1011,
    kUrl = 1020,
    kArch = 1022,
};
enum Type : std::uint32_t { kInt32 = 4, kString = 6, kI18nString = 9 };

// rpm's own limits for a header it accepts.
constexpr std::uint32_t kMaxEntries = 0xffff;
constexpr std::uint32_t kMaxData = 0x10000000;
constexpr std::size_t kEntrySize = 16;

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

class Header {
  public:
    Header(std::string_view index, std::string_view data) : index_(index), data_(data) {}

    // The string of a STRING entry, or the first (untranslated) one of an I18NSTRING entry.
    std::optional<std::string> Text(std::uint32_t tag) const {
        const auto entry = Find(tag);
        if (!entry || (entry->type != kString && entry->type != kI18nString) ||
            entry->offset >= data_.size())
            return std::nullopt;
        const std::string_view rest = data_.substr(entry->offset);
        const std::size_t end = rest.find('\0');
        if (end == std::string_view::npos)
            return std::nullopt;
        return std::string(rest.substr(0, end));
    }

    std::optional<std::uint32_t> Number(std::uint32_t tag) const {
        const auto entry = Find(tag);
        if (!entry || entry->type != kInt32 || entry->count < 1 || data_.size() < 4 ||
            entry->offset > data_.size() - 4)
            return std::nullopt;
        return BigEndian32(data_, entry->offset);
    }

  private:
    struct Entry {
        std::uint32_t type, offset, count;
    };

    std::optional<Entry> Find(std::uint32_t tag) const {
        for (std::size_t at = 0; at + kEntrySize <= index_.size(); at += kEntrySize)
            if (BigEndian32(index_, at) == tag)
                return Entry{BigEndian32(index_, at + 4), BigEndian32(index_, at + 8),
                             BigEndian32(index_, at + 12)};
        return std::nullopt;
    }

    std::string_view index_, data_;
};

}  // namespace

std::optional<RpmPackage> ParseRpmHeader(std::string_view blob) {
    if (blob.size() < 8)
        return std::nullopt;
    const std::uint32_t entries = BigEndian32(blob, 0);
    const std::uint32_t dataSize = BigEndian32(blob, 4);
    if (entries > kMaxEntries || dataSize > kMaxData ||
        blob.size() - 8 < entries * kEntrySize + dataSize)
        return std::nullopt;
    const Header header(blob.substr(8, entries * kEntrySize),
                        blob.substr(8 + entries * kEntrySize, dataSize));
    RpmPackage package;
    package.name = header.Text(kName).value_or("");
    if (package.name.empty())
        return std::nullopt;
    if (const auto epoch = header.Number(kEpoch))
        package.version = std::to_string(*epoch) + ":";
    package.version += header.Text(kVersion).value_or("");
    if (const auto release = header.Text(kRelease); release && !release->empty())
        package.version += "-" + *release;
    package.arch = header.Text(kArch).value_or("");
    package.vendor = header.Text(kVendor).value_or("");
    package.summary = header.Text(kSummary).value_or("");
    package.url = header.Text(kUrl).value_or("");
    package.installTime = header.Number(kInstallTime);
    package.sizeBytes = header.Number(kSize);
    return package;
}

}  // namespace platform::live
