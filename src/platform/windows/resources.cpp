#include "platform/resources.h"

#include "platform/windows/win32.h"

namespace platform {

std::string_view ProgramResource(int id) {
    HRSRC found = ::FindResourceW(nullptr, MAKEINTRESOURCEW(id), L"INVENTORY_FILES");
    if (!found)
        return {};
    // Resources stay mapped with the program file: no unlock or free is needed.
    HGLOBAL loaded = ::LoadResource(nullptr, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return {};
    return {static_cast<const char*>(bytes), ::SizeofResource(nullptr, found)};
}

}  // namespace platform
