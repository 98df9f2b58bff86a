#pragma once
// A property of a WMI object as a test compares it: the text, numbers in decimal, true and
// false as the report writes them ("-1", "0"), and marks for null and for a property the
// object does not carry.
#include <string>

#include "platform/wmi_objects.h"
#include "util/utf.h"

inline std::wstring Shown(const platform::WmiObject& object, const wchar_t* name) {
    using Kind = platform::WmiValue::Kind;
    const platform::WmiValue* value = object.Find(name);
    if (!value)
        return L"(absent)";
    switch (value->kind) {
        case Kind::Null:
            return L"(null)";
        case Kind::String:
            return value->text;
        case Kind::Int16:
        case Kind::Int32:
        case Kind::UInt32:
            return std::to_wstring(value->number);
        case Kind::Boolean:
            return value->boolean ? L"-1" : L"0";
        default:
            return L"(other)";
    }
}

inline std::string ShownUtf8(const platform::WmiObject& object, const wchar_t* name) {
    return WideToUtf8(Shown(object, name));
}
