#include "report/shown_date.h"

#include "util/datetime.h"

namespace {

struct Span {
    std::size_t pos;
    std::size_t count;
};

// Where year, month, day, hour, minute and second sit in each form, and what else must be
// digits (the WMI form's offset in minutes).
struct Form {
    Span fields[6];
    Span extra;
};

constexpr Form kWmiForm{{{0, 4}, {4, 2}, {6, 2}, {8, 2}, {10, 2}, {12, 2}}, {22, 3}};
constexpr Form kSqlForm{{{0, 4}, {5, 2}, {8, 2}, {11, 2}, {14, 2}, {17, 2}}, {0, 0}};

bool Digits(const std::wstring& text, Span span, int& value) {
    value = 0;
    for (std::size_t i = span.pos; i < span.pos + span.count; ++i) {
        if (text[i] < L'0' || text[i] > L'9') {
            return false;
        }
        value = value * 10 + (text[i] - L'0');
    }
    return true;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Which form ParseDateTime takes the text for; null when neither.
const Form* FormOf(const std::wstring& text) {
    if (text.size() == 25 && text[14] == L'.' && (text[21] == L'+' || text[21] == L'-')) {
        return &kWmiForm;
    }
    if ((text.size() == 19 || text.size() == 23) && text[4] == L'-' && text[7] == L'-' &&
        text[10] == L' ' && text[13] == L':' && text[16] == L':') {
        return &kSqlForm;
    }
    return nullptr;
}

}  // namespace

std::optional<std::tm> ReadShownDate(const std::wstring& text) {
    const Form* form = FormOf(text);
    if (form == nullptr) {
        return std::nullopt;
    }
    int v[6];
    for (int i = 0; i < 6; ++i) {
        if (!Digits(text, form->fields[i], v[i])) {
            return std::nullopt;
        }
    }
    int offset = 0;
    if (!Digits(text, form->extra, offset)) {
        return std::nullopt;
    }
    const int year = v[0], month = v[1], day = v[2], hour = v[3], minute = v[4], second = v[5];
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    return ParseDateTime(text);
}

std::wstring ShownDateText(const std::wstring& text) {
    const std::optional<std::tm> date = ReadShownDate(text);
    return date ? FormatLocalTime(*date) : std::wstring();
}
