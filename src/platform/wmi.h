#pragma once
// WMI as the collector needs it: run a WQL statement against ROOT\CIMV2 (or another namespace)
// and read the objects it returns one at a time, each property as a typed value. Windows answers
// through COM; a described machine or the Linux providers answer the same statements themselves.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// One property value, typed the way WMI types it. Unsigned 32-bit properties are told apart
// from signed ones (WMI hands both over as a signed 32-bit variant; the CIM type says which).
struct WmiValue {
    enum class Kind { Empty, Null, Int16, Int32, UInt32, String, Boolean, Other };
    Kind kind = Kind::Empty;
    std::int64_t number = 0;  // Int16, Int32, UInt32
    bool boolean = false;     // Boolean
    std::wstring text;        // String
    bool isArray = false;
    std::vector<WmiValue> elements;  // when isArray: scalars only

    static WmiValue Of(Kind kind) {
        WmiValue v;
        v.kind = kind;
        return v;
    }
    static WmiValue Null() { return Of(Kind::Null); }
    static WmiValue String(std::wstring s) {
        WmiValue v = Of(Kind::String);
        v.text = std::move(s);
        return v;
    }
    static WmiValue Integer(Kind kind, std::int64_t n) {
        WmiValue v = Of(kind);
        v.number = n;
        return v;
    }
    static WmiValue Bool(bool b) {
        WmiValue v = Of(Kind::Boolean);
        v.boolean = b;
        return v;
    }
    static WmiValue Array(std::vector<WmiValue> items) {
        WmiValue v = Of(Kind::Other);
        v.isArray = true;
        v.elements = std::move(items);
        return v;
    }
};

// The objects of one query, fetched one at a time.
class WmiObjects {
  public:
    virtual ~WmiObjects() = default;
    // Fetches the next object; false at the end (or on any failure).
    virtual bool Next() = 0;
    // A property of the current object; false when it cannot be read (no such property).
    virtual bool Get(const std::wstring& name, WmiValue& value) = 0;
};

// Whether the name is ROOT\CIMV2, the namespace ExecQuery answers for.
bool IsDefaultNamespace(const std::wstring& nameSpace);

class Wmi {
  public:
    virtual ~Wmi() = default;
    // Connects to ROOT\CIMV2; 0 on success, 1 on any failure.
    virtual int Connect() = 0;
    virtual void Disconnect() = 0;
    // Null when the statement is refused or there is no connection.
    virtual std::unique_ptr<WmiObjects> ExecQuery(const std::wstring& wql) = 0;
    // The same in the named namespace (letter case ignored); null also when the namespace
    // cannot be reached, or when the implementation knows ROOT\CIMV2 only.
    virtual std::unique_ptr<WmiObjects> ExecQueryIn(const std::wstring& nameSpace,
                                                    const std::wstring& wql) {
        return IsDefaultNamespace(nameSpace) ? ExecQuery(wql) : nullptr;
    }
};

}  // namespace platform
