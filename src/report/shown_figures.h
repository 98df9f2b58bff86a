#pragma once
// Figures as the report shows them: a figure that cannot be known reads "unknown" instead of
// passing for zero, disk fullness is worked out in one place, and an address's network mask
// reads as a prefix length.
#include <optional>
#include <string>

inline constexpr wchar_t kUnknownFigure[] = L"unknown";

// A clock, memory or disk size of zero or less is one nobody could read.
bool IsKnownFigure(double value);
std::wstring KnownHertzText(double hertz);
std::wstring KnownBytesText(double bytes);
// A measured value that falls short of a requirement, marked for the compatibility tables.
std::wstring ShortfallText(const std::wstring& actual);

// What a file system holds, in bytes, and how full it is in percent rounded half up to two
// decimals. `available` is what an ordinary user may still write; `used` is the space taken,
// when the provider says so apart from the size: then blocks reserved for the system count
// neither as used nor as available, as df counts them. Without it the used space is all
// that is not available.
struct DiskUsage {
    double used = 0;
    double percentFull = 0;
};
DiskUsage MeasureDisk(double size, double available, std::optional<double> used);

// "/24" for "255.255.255.0", "24" or "/24"; "/64" for "64". Empty for text that is neither a
// prefix length nor a contiguous IPv4 mask.
std::wstring PrefixText(const std::wstring& subnet);
