#include "report/int64_text.h"

#include <locale>
#include <sstream>

long long TextToInt64(const std::wstring& text) {
    std::wistringstream in(text);
    in.imbue(std::locale::classic());
    long long value = 0;
    // A failed read leaves the type's limit behind for an out-of-range value.
    if (!(in >> value)) {
        return 0;
    }
    return value;
}
