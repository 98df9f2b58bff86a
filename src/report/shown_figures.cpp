#include "report/shown_figures.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "util/numbers.h"
#include "util/text.h"

namespace {

bool IsDigits(const std::wstring& text) {
    if (text.empty() || text.size() > 3) {
        return false;
    }
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return false;
        }
    }
    return true;
}

// The length of a dotted IPv4 mask, or -1 when the ones do not all come first.
int MaskLength(const std::wstring& mask) {
    const std::vector<std::wstring> parts = Split(mask, L'.');
    if (parts.size() != 4) {
        return -1;
    }
    std::uint32_t bits = 0;
    for (const std::wstring& part : parts) {
        if (!IsDigits(part) || TextToInt(part) > 255) {
            return -1;
        }
        bits = (bits << 8) | static_cast<std::uint32_t>(TextToInt(part));
    }
    int length = 0;
    while (length < 32 && (bits & (0x80000000u >> length)) != 0) {
        ++length;
    }
    const std::uint32_t expected = length == 0 ? 0 : 0xFFFFFFFFu << (32 - length);
    return bits == expected ? length : -1;
}

}  // namespace

bool IsKnownFigure(double value) {
    return value > 0;
}

std::wstring KnownHertzText(double hertz) {
    return IsKnownFigure(hertz) ? FormatHertz(hertz) : kUnknownFigure;
}

std::wstring KnownBytesText(double bytes) {
    return IsKnownFigure(bytes) ? FormatBytes(bytes) : kUnknownFigure;
}

std::wstring ShortfallText(const std::wstring& actual) {
    return L"<span style=\"color:red\"><i>" + actual + L"</i></span>";
}

DiskUsage MeasureDisk(double size, double available, std::optional<double> used) {
    if (available > size) {
        available = size;
    }
    DiskUsage usage;
    usage.used = used && *used >= 0 && *used <= size ? *used : size - available;
    const double counted = usage.used + available;
    if (counted > 0) {
        usage.percentFull =
            static_cast<double>(static_cast<long long>(usage.used * 10000 / counted + 0.5)) / 100.0;
    }
    return usage;
}

std::wstring PrefixText(const std::wstring& subnet) {
    const std::wstring text = subnet.rfind(L"/", 0) == 0 ? subnet.substr(1) : subnet;
    if (IsDigits(text)) {
        const int length = TextToInt(text);
        return length <= 128 ? L"/" + std::to_wstring(length) : std::wstring();
    }
    const int length = MaskLength(text);
    return length < 0 ? std::wstring() : L"/" + std::to_wstring(length);
}
