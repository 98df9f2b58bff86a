#pragma once
// The receiving end of WindowPoster::PostText: the window owns the posted heap string from
// the moment its message arrives, whatever it then does with the text.
#include <memory>
#include <string>
#include <utility>

#include "platform/windows/win32.h"

namespace platform::win {

inline std::wstring TakePostedText(LPARAM value) {
    const std::unique_ptr<std::wstring> text(reinterpret_cast<std::wstring*>(value));
    return text ? std::move(*text) : std::wstring();
}

}  // namespace platform::win
