#pragma once
// The traits of every kind of Win32 handle the program owns.
#include "platform/unique_handle.h"
#include "platform/windows/win32.h"

namespace platform::win {

using platform::UniqueHandle;

struct KernelTraits {
    using type = HANDLE;
    static type none() { return nullptr; }
    static void close(type h) { ::CloseHandle(h); }
};
struct FileTraits {
    using type = HANDLE;
    static type none() { return INVALID_HANDLE_VALUE; }
    static void close(type h) { ::CloseHandle(h); }
};
struct RegKeyTraits {
    using type = HKEY;
    static type none() { return nullptr; }
    static void close(type h) { ::RegCloseKey(h); }
};
struct ServiceTraits {
    using type = SC_HANDLE;
    static type none() { return nullptr; }
    static void close(type h) { ::CloseServiceHandle(h); }
};
struct LibraryTraits {
    using type = HMODULE;
    static type none() { return nullptr; }
    static void close(type h) { ::FreeLibrary(h); }
};
struct SidTraits {
    using type = PSID;
    static type none() { return nullptr; }
    static void close(type h) { ::FreeSid(h); }
};

template <class Gdi>
struct GdiTraits {
    using type = Gdi;
    static type none() { return nullptr; }
    static void close(type h) { ::DeleteObject(h); }
};
struct IconTraits {
    using type = HICON;
    static type none() { return nullptr; }
    static void close(type h) { ::DestroyIcon(h); }
};
struct MemoryDcTraits {
    using type = HDC;
    static type none() { return nullptr; }
    static void close(type h) { ::DeleteDC(h); }
};

using KernelHandle = UniqueHandle<KernelTraits>;
using FileHandle = UniqueHandle<FileTraits>;
using RegKeyHandle = UniqueHandle<RegKeyTraits>;
using ServiceHandle = UniqueHandle<ServiceTraits>;
using LibraryHandle = UniqueHandle<LibraryTraits>;
using SidHandle = UniqueHandle<SidTraits>;
using BrushHandle = UniqueHandle<GdiTraits<HBRUSH>>;
using FontHandle = UniqueHandle<GdiTraits<HFONT>>;
using BitmapHandle = UniqueHandle<GdiTraits<HBITMAP>>;
using IconHandle = UniqueHandle<IconTraits>;
using MemoryDcHandle = UniqueHandle<MemoryDcTraits>;

// GetProcAddress gives a generic function pointer; this is the one checked cast to the
// real signature, so that optional exports (absent on older Windows) are looked up safely.
template <class Function>
Function LookUpExport(const wchar_t* module, const char* name) {
    HMODULE handle = ::GetModuleHandleW(module);
    if (!handle)
        return nullptr;
    FARPROC proc = ::GetProcAddress(handle, name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(proc));
}

}  // namespace platform::win
