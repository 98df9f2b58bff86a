#pragma once
// One owner for every kind of Win32 handle: the traits say what "none" is and how to close.
#include <utility>

#include "platform/windows/win32.h"

namespace platform::win {

template <class Traits>
class UniqueHandle {
  public:
    using type = typename Traits::type;

    UniqueHandle() = default;
    explicit UniqueHandle(type handle) : handle_(handle) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    type get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::none(); }
    type release() { return std::exchange(handle_, Traits::none()); }
    void reset(type handle = Traits::none()) {
        if (handle_ != Traits::none())
            Traits::close(handle_);
        handle_ = handle;
    }

  private:
    type handle_ = Traits::none();
};

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
