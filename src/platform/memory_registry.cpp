#include "platform/memory_registry.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace platform {
namespace {

wchar_t FoldCase(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c;
}

std::wstring Folded(const std::wstring& text) {
    std::wstring out(text);
    std::transform(out.begin(), out.end(), out.begin(), FoldCase);
    return out;
}

// The comparison of Folded texts, without making them: value lookups run once per value
// read, thousands of times for a list of installed programs.
bool SameFolded(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return FoldCase(x) == FoldCase(y); });
}

std::vector<std::wstring> PathParts(const std::wstring& path) {
    std::vector<std::wstring> parts;
    std::wstring part;
    for (wchar_t c : path) {
        if (c == L'\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

// Copies a key or value name the way the registry does: the length must leave room for the
// terminating NUL, and comes back without it.
RegError CopyName(const std::wstring& source, wchar_t* name, std::uint32_t* length) {
    if (*length <= source.size())
        return kErrorMoreData;
    std::copy(source.begin(), source.end(), name);
    name[source.size()] = L'\0';
    *length = static_cast<std::uint32_t>(source.size());
    return kErrorSuccess;
}

constexpr std::uint32_t kSetValueRight = 0x0002;
constexpr std::uint32_t kCreateSubKeyRight = 0x0004;
constexpr std::uint32_t kEnumerateRight = 0x0008;

}  // namespace

struct MemoryRegistry::Node {
    struct Value {
        std::wstring name;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
    };
    std::wstring name;
    // Keyed by the upper-cased name, which gives the order Windows lists subkeys in.
    std::map<std::wstring, std::unique_ptr<Node>> children;
    std::vector<Value> values;
    // HKLM\SOFTWARE: the key whose 32-bit view is its Wow6432Node subkey.
    bool redirected = false;
    // Where the last listing of the subkeys stood: callers ask for index 0, 1, 2..., and
    // walking from the first child each time made a listing grow with its square. Children
    // are only ever added, so an unchanged count means the position still holds.
    std::map<std::wstring, std::unique_ptr<Node>>::const_iterator listed;
    std::size_t listedIndex = 0;
    std::size_t listedCount = 0;

    const Node& NthChild(std::size_t index) {
        if (listedCount != children.size() || index < listedIndex) {
            listed = children.begin();
            listedIndex = 0;
            listedCount = children.size();
        }
        std::advance(listed, index - listedIndex);
        listedIndex = index;
        return *listed->second;
    }

    Node* Child(const std::wstring& childName) const {
        auto it = children.find(Folded(childName));
        return it == children.end() ? nullptr : it->second.get();
    }
    Node* AddChild(const std::wstring& childName) {
        auto& slot = children[Folded(childName)];
        if (!slot) {
            slot = std::make_unique<Node>();
            slot->name = childName;
        }
        return slot.get();
    }
    Value* FindValue(const std::wstring& valueName) {
        for (auto& v : values)
            if (SameFolded(v.name, valueName))
                return &v;
        return nullptr;
    }
    void PutValue(const std::wstring& valueName, std::uint32_t type,
                  std::vector<std::uint8_t> data) {
        if (auto* v = FindValue(valueName)) {
            v->type = type;
            v->data = std::move(data);
        } else {
            values.push_back({valueName, type, std::move(data)});
        }
    }
};

MemoryRegistry::MemoryRegistry() : MemoryRegistry(Layout{}) {}

MemoryRegistry::MemoryRegistry(Layout layout) : layout_(layout) {
    for (RegKey root : {kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kCurrentConfig})
        roots_[root] = std::make_unique<Node>();
    Node* software = roots_[kLocalMachine]->AddChild(L"SOFTWARE");
    if (layout_.machineIs64Bit) {
        software->redirected = true;
        software->AddChild(L"Wow6432Node");
    }
}

MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Node* MemoryRegistry::Root(RegKey key) const {
    auto it = roots_.find(key);
    return it == roots_.end() ? nullptr : it->second.get();
}

const MemoryRegistry::Handle* MemoryRegistry::Find(RegKey key) const {
    auto it = handles_.find(key);
    return it == handles_.end() ? nullptr : &it->second;
}

RegError MemoryRegistry::NodeFor(RegKey key, std::uint32_t right, Node*& node) const {
    node = Root(key);
    if (const Handle* h = Find(key)) {
        if ((h->access & right) != right)
            return kErrorAccessDenied;
        node = h->node;
    }
    return node ? kErrorSuccess : kErrorInvalidHandle;
}

// Filling puts the values of one key in a row, and one key after another under the same
// parent (a program per Uninstall subkey); nodes are never freed while the registry lives, so
// the last key found serves again, and so does its parent for the next sibling.
MemoryRegistry::Node* MemoryRegistry::PhysicalPath(RegKey root, const std::wstring& path) {
    if (lastFilled_ && lastFilledRoot_ == root && lastFilledPath_ == path)
        return lastFilled_;
    const std::size_t slash = path.rfind(L'\\');
    const bool hasLeaf = slash != std::wstring::npos && slash + 1 < path.size();
    Node* parent = nullptr;
    if (hasLeaf && lastParent_ && lastFilledRoot_ == root &&
        std::wstring_view(path).substr(0, slash) == lastParentPath_) {
        parent = lastParent_;
    } else {
        parent = Root(root);
        if (!parent)
            return nullptr;
        for (const auto& part : PathParts(hasLeaf ? path.substr(0, slash) : path))
            parent = parent->AddChild(part);
    }
    Node* node = hasLeaf ? parent->AddChild(path.substr(slash + 1)) : parent;
    lastFilled_ = node;
    lastFilledRoot_ = root;
    lastFilledPath_ = path;
    lastParent_ = hasLeaf ? parent : nullptr;
    lastParentPath_.assign(path, 0, hasLeaf ? slash : 0);
    return node;
}

void MemoryRegistry::PutKey(RegKey root, const std::wstring& path) {
    PhysicalPath(root, path);
}

void MemoryRegistry::PutValue(RegKey root, const std::wstring& path, const std::wstring& name,
                              std::uint32_t type, std::vector<std::uint8_t> data) {
    if (Node* node = PhysicalPath(root, path))
        node->PutValue(name, type, std::move(data));
}

void MemoryRegistry::PutString(RegKey root, const std::wstring& path, const std::wstring& name,
                               const std::wstring& text, std::uint32_t type) {
    std::vector<std::uint8_t> data((text.size() + 1) * sizeof(wchar_t));
    std::memcpy(data.data(), text.c_str(), data.size());
    PutValue(root, path, name, type, std::move(data));
}

void MemoryRegistry::PutDword(RegKey root, const std::wstring& path, const std::wstring& name,
                              std::uint32_t value) {
    std::vector<std::uint8_t> data(sizeof value);
    std::memcpy(data.data(), &value, sizeof value);
    PutValue(root, path, name, kRegDword, std::move(data));
}

bool MemoryRegistry::View32(RegKey parent, std::uint32_t access) const {
    if (access & kKeyWow64_64)
        return false;
    if (access & kKeyWow64_32)
        return true;
    if (const Handle* h = Find(parent))
        return h->view32;
    return layout_.processIs32Bit;
}

RegError MemoryRegistry::Resolve(RegKey parent, const wchar_t* subkey, std::uint32_t access,
                                 bool create, RegKey* result, std::uint32_t* disposition) {
    if (!result)
        return kErrorInvalidParameter;
    Node* node = Root(parent);
    if (!node) {
        const Handle* h = Find(parent);
        if (!h)
            return kErrorInvalidHandle;
        if (create && !(h->access & kCreateSubKeyRight))
            return kErrorAccessDenied;
        node = h->node;
    }
    const bool view32 = View32(parent, access) && layout_.machineIs64Bit;
    bool created = false;
    for (const auto& part : PathParts(subkey ? subkey : L"")) {
        Node* next = node->Child(part);
        if (!next) {
            if (!create)
                return kErrorFileNotFound;
            next = node->AddChild(part);
            created = true;
        }
        node = next;
        if (node->redirected && view32)
            node = node->AddChild(L"Wow6432Node");
    }
    if (disposition)
        *disposition = created ? kCreatedNewKey : kOpenedExistingKey;
    const RegKey handle = nextHandle_++;
    handles_[handle] = Handle{node, view32, access};
    *result = handle;
    return kErrorSuccess;
}

RegError MemoryRegistry::OpenKey(RegKey parent, const wchar_t* subkey, std::uint32_t access,
                                 RegKey* result) {
    return Resolve(parent, subkey, access, false, result, nullptr);
}

RegError MemoryRegistry::CreateKey(RegKey parent, const wchar_t* subkey, std::uint32_t access,
                                   RegKey* result, std::uint32_t* disposition) {
    return Resolve(parent, subkey, access, true, result, disposition);
}

RegError MemoryRegistry::CloseKey(RegKey key) {
    if (Root(key))
        return kErrorSuccess;
    return handles_.erase(key) ? kErrorSuccess : kErrorInvalidHandle;
}

RegError MemoryRegistry::EnumKey(RegKey key, std::uint32_t index, wchar_t* name,
                                 std::uint32_t* length) {
    Node* node = nullptr;
    if (const RegError error = NodeFor(key, kEnumerateRight, node))
        return error;
    if (!name || !length)
        return kErrorInvalidParameter;
    if (index >= node->children.size())
        return kErrorNoMoreItems;
    return CopyName(node->NthChild(index).name, name, length);
}

namespace {

// Copies value data the way the registry does: size only when no buffer is given, and
// ERROR_MORE_DATA with the needed size when the buffer is too small.
RegError CopyData(const std::vector<std::uint8_t>& source, void* data, std::uint32_t* bytes) {
    const auto size = static_cast<std::uint32_t>(source.size());
    if (data) {
        if (!bytes)
            return kErrorInvalidParameter;
        if (*bytes < size) {
            *bytes = size;
            return kErrorMoreData;
        }
        std::memcpy(data, source.data(), size);
    }
    if (bytes)
        *bytes = size;
    return kErrorSuccess;
}

}  // namespace

RegError MemoryRegistry::EnumValue(RegKey key, std::uint32_t index, wchar_t* name,
                                   std::uint32_t* nameLength, std::uint32_t* type, void* data,
                                   std::uint32_t* bytes) {
    Node* node = nullptr;
    if (const RegError error = NodeFor(key, 0, node))
        return error;
    if (!name || !nameLength)
        return kErrorInvalidParameter;
    if (index >= node->values.size())
        return kErrorNoMoreItems;
    const auto& value = node->values[index];
    if (const RegError error = CopyName(value.name, name, nameLength))
        return error;
    if (type)
        *type = value.type;
    return CopyData(value.data, data, bytes);
}

RegError MemoryRegistry::QueryValue(RegKey key, const wchar_t* name, std::uint32_t* type,
                                    void* data, std::uint32_t* bytes) {
    Node* node = nullptr;
    if (const RegError error = NodeFor(key, kKeyQueryValue, node))
        return error;
    auto* value = node->FindValue(name ? name : L"");
    if (!value)
        return kErrorFileNotFound;
    if (type)
        *type = value->type;
    return CopyData(value->data, data, bytes);
}

RegError MemoryRegistry::SetValue(RegKey key, const wchar_t* name, std::uint32_t type,
                                  const void* data, std::uint32_t bytes) {
    Node* node = nullptr;
    if (const RegError error = NodeFor(key, kSetValueRight, node))
        return error;
    if (!data && bytes)
        return kErrorInvalidParameter;
    const auto* first = static_cast<const std::uint8_t*>(data);
    node->PutValue(name ? name : L"", type, std::vector<std::uint8_t>(first, first + bytes));
    return kErrorSuccess;
}

}  // namespace platform
