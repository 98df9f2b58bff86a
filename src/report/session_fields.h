#pragma once
// Reading the fields of one inventory item, for the section renderers.
#include <string>

#include "store/inventory_types.h"

// The field, or null when the item has none of that name.
inline const std::wstring* FindField(const SessionItem& item, const wchar_t* name) {
    const auto found = item.find(name);
    return found == item.end() ? nullptr : &found->second;
}

// The field's text, or the empty text when absent; not escaped.
inline std::wstring FieldText(const SessionItem& item, const wchar_t* name) {
    const std::wstring* text = FindField(item, name);
    return text ? *text : std::wstring();
}

inline bool HasText(const SessionItem& item, const wchar_t* name) {
    const std::wstring* text = FindField(item, name);
    return text && !text->empty();
}
