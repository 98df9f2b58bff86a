#pragma once
// The traits of every kind of Win32 handle the program owns.
#include "platform/unique_handle.h"
#include "platform/windows/win32.h"

namespace platform::win {

using platform::UniqueHandle;

// A handle whose "none" is null, closed by `Close`.
template <class Handle, auto Close>
struct NullTraits {
    using type = Handle;
    static type none() { return nullptr; }
    static void close(type h) { Close(h); }
};
// A file's "none" is INVALID_HANDLE_VALUE, which is no constant a template can take.
struct FileTraits {
    using type = HANDLE;
    static type none() { return INVALID_HANDLE_VALUE; }
    static void close(type h) { ::CloseHandle(h); }
};

using KernelHandle = UniqueHandle<NullTraits<HANDLE, ::CloseHandle>>;
using FileHandle = UniqueHandle<FileTraits>;
using RegKeyHandle = UniqueHandle<NullTraits<HKEY, ::RegCloseKey>>;
using ServiceHandle = UniqueHandle<NullTraits<SC_HANDLE, ::CloseServiceHandle>>;
using LibraryHandle = UniqueHandle<NullTraits<HMODULE, ::FreeLibrary>>;
using SidHandle = UniqueHandle<NullTraits<PSID, ::FreeSid>>;
using BrushHandle = UniqueHandle<NullTraits<HBRUSH, ::DeleteObject>>;
using FontHandle = UniqueHandle<NullTraits<HFONT, ::DeleteObject>>;
using BitmapHandle = UniqueHandle<NullTraits<HBITMAP, ::DeleteObject>>;
using IconHandle = UniqueHandle<NullTraits<HICON, ::DestroyIcon>>;
using MemoryDcHandle = UniqueHandle<NullTraits<HDC, ::DeleteDC>>;

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
