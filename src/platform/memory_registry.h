#pragma once
// A registry held in memory, with the semantics and error codes of the Windows registry that
// the program relies on: case-insensitive names, subkeys listed in name order, values in the
// order they were written, the 32-bit view of HKLM\SOFTWARE redirected to its Wow6432Node
// subkey on a 64-bit machine, and writes refused on keys opened without write access.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace platform {

class MemoryRegistry : public Registry {
  public:
    struct Layout {
        bool machineIs64Bit = true;
        bool processIs32Bit = false;
    };

    MemoryRegistry();
    explicit MemoryRegistry(Layout layout);
    ~MemoryRegistry() override;

    // Filling the registry, by physical path (no view redirection): keys are created as
    // needed. Text values are stored with their terminating NUL, as Windows stores them.
    void PutKey(RegKey root, const std::wstring& path);
    void PutValue(RegKey root, const std::wstring& path, const std::wstring& name,
                  std::uint32_t type, std::vector<std::uint8_t> data);
    void PutString(RegKey root, const std::wstring& path, const std::wstring& name,
                   const std::wstring& text, std::uint32_t type = kRegSz);
    void PutDword(RegKey root, const std::wstring& path, const std::wstring& name,
                  std::uint32_t value);

    RegError OpenKey(RegKey parent, const wchar_t* subkey, std::uint32_t access,
                     RegKey* result) override;
    RegError CreateKey(RegKey parent, const wchar_t* subkey, std::uint32_t access, RegKey* result,
                       std::uint32_t* disposition) override;
    RegError CloseKey(RegKey key) override;
    RegError EnumKey(RegKey key, std::uint32_t index, wchar_t* name,
                     std::uint32_t* length) override;
    RegError EnumValue(RegKey key, std::uint32_t index, wchar_t* name, std::uint32_t* nameLength,
                       std::uint32_t* type, void* data, std::uint32_t* bytes) override;
    RegError QueryValue(RegKey key, const wchar_t* name, std::uint32_t* type, void* data,
                        std::uint32_t* bytes) override;
    RegError SetValue(RegKey key, const wchar_t* name, std::uint32_t type, const void* data,
                      std::uint32_t bytes) override;

    // Keys opened and not yet closed; lets a caller check that it closes what it opens.
    std::size_t OpenKeyCount() const { return handles_.size(); }

  private:
    struct Node;
    struct Handle {
        Node* node;
        bool view32;
        std::uint32_t access;
    };

    RegError Resolve(RegKey parent, const wchar_t* subkey, std::uint32_t access, bool create,
                     RegKey* result, std::uint32_t* disposition);
    Node* Root(RegKey key) const;
    Node* PhysicalPath(RegKey root, const std::wstring& path);
    const Handle* Find(RegKey key) const;
    // The node behind a root or an open handle; access denied when the handle lacks `right`.
    RegError NodeFor(RegKey key, std::uint32_t right, Node*& node) const;
    bool View32(RegKey parent, std::uint32_t access) const;

    Layout layout_;
    Node* lastFilled_ = nullptr;
    RegKey lastFilledRoot_ = 0;
    std::wstring lastFilledPath_;
    Node* lastParent_ = nullptr;  // of lastFilled_, at lastParentPath_ (without the leaf)
    std::wstring lastParentPath_;
    std::map<RegKey, std::unique_ptr<Node>> roots_;
    std::map<RegKey, Handle> handles_;
    RegKey nextHandle_ = 0x1000;
};

}  // namespace platform
