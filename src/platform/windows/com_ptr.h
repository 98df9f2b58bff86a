#pragma once
// Sole owners of one COM interface reference, one VARIANT's contents and one BSTR.
#include <string>
#include <utility>

#include "platform/windows/win32.h"

#include <oleauto.h>

namespace platform::win {

template <class Interface>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    void reset() {
        if (pointer_)
            std::exchange(pointer_, nullptr)->Release();
    }
    // For out-parameters: drops the current reference and hands over the slot.
    Interface** put() {
        reset();
        return &pointer_;
    }
    // The same slot typed as the untyped out-parameter of CoCreateInstance.
    void** put_void() { return reinterpret_cast<void**>(put()); }

  private:
    Interface* pointer_ = nullptr;
};

class Variant {
  public:
    Variant() { ::VariantInit(&value_); }
    ~Variant() { ::VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* get() { return &value_; }
    const VARIANT& operator*() const { return value_; }

  private:
    VARIANT value_;
};

// WMI marshals its string arguments as BSTRs, so a plain wide string will not do.
class Bstr {
  public:
    explicit Bstr(const std::wstring& text)
        : value_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    ~Bstr() { ::SysFreeString(value_); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;

    BSTR get() const { return value_; }
    explicit operator bool() const { return value_ != nullptr; }

  private:
    BSTR value_;
};

}  // namespace platform::win
