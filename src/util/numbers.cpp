#include "util/numbers.h"

#include <cstddef>
#include <iomanip>
#include <locale>
#include <sstream>

namespace {

template <typename T>
T ReadNumber(const std::wstring& text) {
    std::wistringstream in(text);
    in.imbue(std::locale::classic());
    T value{};
    // An out-of-range value leaves the type's limit behind with the failure, so any failure
    // has to be mapped to 0 here.
    if (!(in >> value)) {
        return T{};
    }
    return value;
}

struct Scale {
    double step;
    const wchar_t* unit;
};

// `scales` runs from the largest step down; `base` is the unit of unscaled values.
template <std::size_t N>
std::wstring FormatScaled(double value, const Scale (&scales)[N], const wchar_t* base) {
    const wchar_t* unit = base;
    for (const Scale& scale : scales) {
        if (value >= scale.step) {
            value /= scale.step;
            unit = scale.unit;
            break;
        }
    }
    std::wostringstream out;
    out.imbue(std::locale::classic());
    out << std::fixed << std::setprecision(2) << value << unit;
    return out.str();
}

}  // namespace

int TextToInt(const std::wstring& text) {
    return ReadNumber<int>(text);
}

std::wstring IntToText(int value) {
    std::wostringstream out;
    out.imbue(std::locale::classic());
    out << value;
    return out.str();
}

double TextToDouble(const std::wstring& text) {
    return ReadNumber<double>(text);
}

std::wstring FormatBytes(double bytes) {
    static constexpr Scale kScales[] = {
        {1099511627776.0, L"TB"}, {1073741824.0, L"GB"}, {1048576.0, L"MB"}, {1024.0, L"kb"}};
    return FormatScaled(bytes, kScales, L"b");
}

std::wstring FormatHertz(double hertz) {
    static constexpr Scale kScales[] = {{1e9, L"GHz"}, {1e6, L"MHz"}, {1e3, L"kHz"}};
    return FormatScaled(hertz, kScales, L"Hz");
}
