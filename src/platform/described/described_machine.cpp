#include "platform/described/described_machine.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <set>
#include <string_view>

#include "platform/described/json_reader.h"
#include "platform/files.h"
#include "platform/wql.h"
#include "util/text.h"

namespace platform {

using described::JsonMember;
using described::JsonValue;
using described::WideText;

namespace {

template <typename Text>
bool IsIdentifier(const Text& name) {
    if (name.empty())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = name[i];
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9'))
            return false;
    }
    return true;
}

// A place in the document, as a reader writes it: wmi.Win32_BIOS[0].Name,
// registry["HKLM\Software"]. Each level refers to its parent, held by a caller; the path is
// spelled out only for a message.
struct Where {
    const Where* parent = nullptr;
    std::string_view name;             // of a member, in UTF-8
    std::optional<std::size_t> index;  // of an element instead

    std::wstring Text() const {
        std::wstring path = parent ? parent->Text() : std::wstring();
        if (index)
            return path + L"[" + std::to_wstring(*index) + L"]";
        const std::wstring wide = WideText(name);
        if (IsIdentifier(wide))
            return path.empty() ? wide : path + L"." + wide;
        return path + L"[\"" + wide + L"\"]";
    }
};

Where Member(const Where& parent, std::string_view name) {
    return Where{&parent, name, std::nullopt};
}

Where Index(const Where& parent, std::size_t index) {
    return Where{&parent, {}, index};
}

// A member of the document itself.
Where Top(std::string_view name) {
    return Where{nullptr, name, std::nullopt};
}

// Whether the number is an integer within [low, high]. The library keeps integers of 64 bits
// exactly (negative ones signed, the others unsigned); one written with a fraction or an
// exponent, or too large for 64 bits, is a floating-point number and no integer.
bool IntegerIn(const JsonValue& value, std::int64_t low, std::uint64_t high) {
    if (value.kind() == JsonValue::Kind::Unsigned)
        return value.Unsigned() <= high;
    if (value.kind() != JsonValue::Kind::Integer)
        return false;
    const std::int64_t n = value.Integer();
    return n >= low && (n < 0 || static_cast<std::uint64_t>(n) <= high);
}

// Of a number IntegerIn accepted.
std::int64_t SignedValue(const JsonValue& value) {
    if (value.kind() == JsonValue::Kind::Unsigned)
        return static_cast<std::int64_t>(value.Unsigned());
    return value.Integer();
}

std::wstring Text(const JsonValue& string) {
    return WideText(string.Text());
}

struct RootName {
    const wchar_t* longName;
    const wchar_t* shortName;
    RegKey key;
};

constexpr RootName kRoots[] = {
    {L"HKEY_LOCAL_MACHINE", L"HKLM", kLocalMachine},
    {L"HKEY_CURRENT_USER", L"HKCU", kCurrentUser},
    {L"HKEY_CLASSES_ROOT", L"HKCR", kClassesRoot},
    {L"HKEY_USERS", L"HKU", kUsers},
    {L"HKEY_CURRENT_CONFIG", L"HKCC", kCurrentConfig},
};

std::vector<std::uint8_t> WideBytes(const std::wstring& text) {
    std::vector<std::uint8_t> bytes(text.size() * sizeof(wchar_t));
    if (!text.empty())
        std::memcpy(bytes.data(), text.data(), bytes.size());
    return bytes;
}

}  // namespace

// Turns the parsed document into a machine, stopping at the first fault with a message
// that names the file and the JSON path.
class DescribedLoader {
  public:
    DescribedLoader(const std::wstring& name, Host& running) : name_(name), running_(running) {}

    std::optional<DescribedMachine> Load(const JsonValue& document) {
        if (!document.IsObject()) {
            error_ = name_ + L": expected a JSON object at the top level";
            return std::nullopt;
        }
        std::optional<JsonValue> host, wmi, registry, services, namespaces, platform;
        for (const auto& [key, value] : document.Members()) {
            if (key == "host")
                host = value;
            else if (key == "wmi")
                wmi = value;
            else if (key == "registry")
                registry = value;
            else if (key == "services")
                services = value;
            else if (key == "namespaces")
                namespaces = value;
            else if (key == "platform")
                platform = value;
            else if (key != "comment" &&
                     !Unknown(Top(key),
                              L"host, wmi, namespaces, registry, services, platform, comment"))
                return std::nullopt;
        }

        DescribedHostAnswers answers;
        if (host && !ReadHost(*host, answers))
            return std::nullopt;
        std::optional<DescribedWmi::Classes> classes;
        if (wmi || namespaces)
            classes.emplace();
        if (wmi && !ReadClasses(*wmi, Top("wmi"), L"ROOT\\CIMV2", *classes))
            return std::nullopt;
        if (namespaces && !ReadNamespaces(*namespaces, *classes))
            return std::nullopt;
        auto memory = std::make_unique<MemoryRegistry>(
            MemoryRegistry::Layout{answers.machine64Bit, /*processIs32Bit=*/true});
        if (registry && !ReadRegistry(*registry, *memory))
            return std::nullopt;
        ServiceListing listing;
        if (services && !ReadServices(*services, listing))
            return std::nullopt;
        PlatformFacts facts;
        facts.osFamily = L"Windows";
        if (platform && !ReadPlatform(*platform, facts))
            return std::nullopt;

        DescribedMachine machine;
        const bool administrator = answers.administrator;
        machine.host_ = std::make_unique<DescribedHost>(std::move(answers), running_);
        machine.wmi_ = std::make_unique<DescribedWmi>(std::move(classes), administrator);
        machine.registry_ = std::move(memory);
        machine.serviceManager_ = std::make_unique<DescribedServiceManager>(std::move(listing));
        machine.platformInfo_ = std::make_unique<DescribedPlatformInfo>(std::move(facts));
        return machine;
    }

    std::wstring& error() { return error_; }

  private:
    bool Fail(const Where& where, const std::wstring& message) {
        error_ = name_ + L": " + where.Text() + L": " + message;
        return false;
    }

    bool Unknown(const Where& where, const std::wstring& expected) {
        return Fail(where, L"unknown member (expected one of: " + expected + L")");
    }

    bool Expect(bool ok, const Where& where, const wchar_t* what) {
        if (ok)
            return true;
        return Fail(where, std::wstring(L"expected ") + what);
    }

    bool NotIdentifier(const Where& where, const std::wstring& kind) {
        return Fail(where, L"a " + kind +
                               L" name is a letter or underscore followed by letters, digits and "
                               L"underscores");
    }

    // Names that differ only in letter case are one name, as WQL sees them.
    bool GivenTwice(const Where& where, const std::wstring& kind) {
        return Fail(where,
                    L"the " + kind + L" is given twice (" + kind + L" names ignore letter case)");
    }

    // What a typed value such as {"uint32": 4} holds, with its type and the place of what it
    // holds; null, failing, when the value is no object of one member.
    std::optional<JsonMember> OneTyped(const JsonValue& value, const Where& where,
                                       const wchar_t* expected, const wchar_t* types) {
        if (!value.IsObject() || value.Size() != 1) {
            Fail(where, std::wstring(L"expected ") + expected + L" (types: " + types + L")");
            return std::nullopt;
        }
        return *value.Members().begin();
    }

    // The elements of an array, each read by `read` at its index; false at the first that fails.
    template <typename Element>
    bool ReadEach(const JsonValue& array, const Where& where, std::vector<Element>& out,
                  bool (DescribedLoader::*read)(const JsonValue&, const Where&, Element&)) {
        out.reserve(out.size() + array.Size());
        std::size_t i = 0;
        for (const JsonValue& value : array.Elements()) {
            Element element;
            if (!(this->*read)(value, Index(where, i++), element))
                return false;
            out.push_back(std::move(element));
        }
        return true;
    }

    // ---- host ----

    bool ReadHost(const JsonValue& host, DescribedHostAnswers& answers) {
        const Where where = Top("host");
        if (!Expect(host.IsObject(), where, L"an object"))
            return false;
        std::optional<bool> wow64, machine64Bit;
        std::optional<std::wstring> version;
        bool ntFamily = true;
        for (const auto& [keyUtf8, value] : host.Members()) {
            const std::wstring key = WideText(keyUtf8);
            const Where at = Member(where, keyUtf8);
            bool flag = false;
            if (key == L"userName") {
                if (!Expect(value.IsString(), at, L"a string"))
                    return false;
                answers.userName = Text(value);
            } else if (key == L"windowsFolder") {
                if (!Expect(value.IsString(), at, L"a string"))
                    return false;
                answers.windowsFolder = Text(value);
            } else if (key == L"windowsVersion") {
                if (!Expect(value.IsString(), at, L"a string such as \"5.1\""))
                    return false;
                version = Text(value);
            } else if (key == L"administrator" || key == L"wow64" || key == L"machine64Bit" ||
                       key == L"ntFamily") {
                if (!Expect(value.IsBoolean(), at, L"true or false"))
                    return false;
                flag = value.Boolean();
                if (key == L"administrator")
                    answers.administrator = flag;
                else if (key == L"wow64")
                    wow64 = flag;
                else if (key == L"machine64Bit")
                    machine64Bit = flag;
                else
                    ntFamily = flag;
            } else {
                return Unknown(at,
                               L"userName, administrator, wow64, machine64Bit, windowsVersion, "
                               L"windowsFolder, ntFamily");
            }
        }
        // The program is a 32-bit process: it runs under WOW64 exactly on a 64-bit machine.
        answers.machine64Bit = machine64Bit.value_or(wow64.value_or(false));
        answers.wow64 = wow64.value_or(answers.machine64Bit);
        if (answers.wow64 != answers.machine64Bit)
            return Fail(Member(where, "wow64"),
                        L"must equal machine64Bit (the program is a 32-bit process)");
        if (version) {
            auto parsed = ParseVersion(*version);
            if (!parsed)
                return Fail(Member(where, "windowsVersion"),
                            L"expected \"major.minor\" such as \"5.1\"");
            parsed->ntFamily = ntFamily;
            answers.windowsVersion = parsed;
        }
        return true;
    }

    static std::optional<WindowsVersion> ParseVersion(const std::wstring& text) {
        WindowsVersion version;
        unsigned* part = &version.major;
        bool digits = false;
        for (wchar_t c : text) {
            if (c >= L'0' && c <= L'9') {
                if (*part > 100000)
                    return std::nullopt;
                *part = *part * 10 + static_cast<unsigned>(c - L'0');
                digits = true;
            } else if (c == L'.' && part == &version.major && digits) {
                part = &version.minor;
                digits = false;
            } else {
                return std::nullopt;
            }
        }
        if (part != &version.minor || !digits)
            return std::nullopt;
        return version;
    }

    // ---- wmi ----

    bool ReadClasses(const JsonValue& wmi, const Where& where, const std::wstring& nameSpace,
                     DescribedWmi::Classes& classes) {
        if (!Expect(wmi.IsObject(), where, L"an object of classes"))
            return false;
        for (const auto& [classNameUtf8, objects] : wmi.Members()) {
            const std::wstring className = WideText(classNameUtf8);
            const Where at = Member(where, classNameUtf8);
            if (!IsIdentifier(className))
                return NotIdentifier(at, L"class");
            auto [slot, added] = classes.try_emplace(ClassKey(nameSpace, className));
            if (!added)
                return GivenTwice(at, L"class");
            if (!Expect(objects.IsArray(), at, L"an array of objects"))
                return false;
            if (!ReadEach(objects, at, slot->second, &DescribedLoader::ReadObject))
                return false;
        }
        return true;
    }

    bool ReadNamespaces(const JsonValue& namespaces, DescribedWmi::Classes& classes) {
        const Where where = Top("namespaces");
        if (!Expect(namespaces.IsObject(), where, L"an object of namespaces"))
            return false;
        std::set<std::wstring> seen;
        for (const auto& [nameUtf8, wmi] : namespaces.Members()) {
            const std::wstring name = WideText(nameUtf8);
            const Where at = Member(where, nameUtf8);
            if (!IsNamespacePath(name))
                return Fail(at,
                            L"a namespace is a path of names separated by backslashes, "
                            L"such as ROOT\\CIMV2\\Security\\MicrosoftTpm");
            if (IsDefaultNamespace(name))
                return Fail(at, L"the classes of ROOT\\CIMV2 are given under wmi");
            if (!seen.insert(WqlFold(name)).second)
                return Fail(at, L"the namespace is given twice (namespaces ignore letter case)");
            if (!ReadClasses(wmi, at, name, classes))
                return false;
        }
        return true;
    }

    static bool IsNamespacePath(const std::wstring& name) {
        std::size_t start = 0;
        for (std::size_t slash; (slash = name.find(L'\\', start)) != std::wstring::npos;
             start = slash + 1)
            if (!IsIdentifier(name.substr(start, slash - start)))
                return false;
        return IsIdentifier(name.substr(start));
    }

    // ---- platform ----

    bool ReadPlatform(const JsonValue& platform, PlatformFacts& facts) {
        const Where where = Top("platform");
        if (!Expect(platform.IsObject(), where, L"an object"))
            return false;
        for (const auto& [keyUtf8, value] : platform.Members()) {
            const std::wstring key = WideText(keyUtf8);
            const Where at = Member(where, keyUtf8);
            std::wstring* fact = key == L"firmwareType"     ? &facts.firmwareType
                                 : key == L"secureBoot"     ? &facts.secureBoot
                                 : key == L"virtualization" ? &facts.virtualization
                                 : key == L"initSystem"     ? &facts.initSystem
                                                            : nullptr;
            if (!fact)
                return Unknown(at, L"firmwareType, secureBoot, virtualization, initSystem");
            if (!Expect(value.IsString(), at, L"a string"))
                return false;
            *fact = Text(value);
        }
        if (facts.firmwareType != L"UEFI" && facts.firmwareType != L"BIOS" &&
            !facts.firmwareType.empty())
            return Fail(Member(where, "firmwareType"), L"expected \"UEFI\", \"BIOS\" or \"\"");
        if (facts.secureBoot != L"On" && facts.secureBoot != L"Off" &&
            facts.secureBoot != L"Not supported" && !facts.secureBoot.empty())
            return Fail(Member(where, "secureBoot"),
                        L"expected \"On\", \"Off\", \"Not supported\" or \"\"");
        return true;
    }

    bool ReadObject(const JsonValue& object, const Where& where, WmiObject& out) {
        if (!Expect(object.IsObject(), where, L"an object of properties"))
            return false;
        std::set<std::wstring> many;
        out.properties.reserve(object.Size());
        for (const auto& [name, value] : object.Members()) {
            const Where at = Member(where, name);
            if (!IsIdentifier(name))
                return NotIdentifier(at, L"property");
            if (HasProperty(out, name, many))
                return GivenTwice(at, L"property");
            WmiProperty& property = out.properties.emplace_back(WmiProperty{WideText(name), {}});
            if (value.IsArray()) {
                std::vector<WmiValue> elements;
                if (!ReadEach(value, at, elements, &DescribedLoader::ReadScalar))
                    return false;
                property.value = WmiValue::Array(std::move(elements));
            } else if (!ReadScalar(value, at, property.value)) {
                return false;
            }
        }
        return true;
    }

    // Whether the object has a property of that name, told apart as WQL does; names are
    // identifiers, so letter case is ASCII's. A few names are searched faster than sorted;
    // `many` holds the folded names of an object with more.
    static bool HasProperty(const WmiObject& object, std::string_view name,
                            std::set<std::wstring>& many) {
        constexpr std::size_t kFew = 16;
        const auto& read = object.properties;
        if (read.size() < kFew)
            return std::any_of(read.begin(), read.end(), [&](const WmiProperty& property) {
                return std::equal(name.begin(), name.end(), property.name.begin(),
                                  property.name.end(),
                                  [](char a, wchar_t b) { return FoldAscii(a) == FoldAscii(b); });
            });
        if (many.empty())
            for (const auto& property : read)
                many.insert(WqlFold(property.name));
        return !many.insert(WqlFold(WideText(name))).second;
    }

    template <typename Char>
    static wchar_t FoldAscii(Char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<wchar_t>(c - 'A' + 'a') : static_cast<wchar_t>(c);
    }

    bool ReadScalar(const JsonValue& value, const Where& where, WmiValue& out) {
        using Kind = WmiValue::Kind;
        if (value.IsNull()) {
            out = WmiValue::Null();
            return true;
        }
        if (value.IsString()) {
            out = WmiValue::String(Text(value));
            return true;
        }
        if (value.IsBoolean()) {
            out = WmiValue::Bool(value.Boolean());
            return true;
        }
        if (value.IsNumber()) {
            if (!IntegerIn(value, std::numeric_limits<std::int32_t>::min(),
                           std::numeric_limits<std::int32_t>::max()))
                return Fail(where,
                            L"expected a signed 32-bit integer (write {\"uint32\": n} "
                            L"for an unsigned one, {\"other\": x} for other types)");
            out = WmiValue::Integer(Kind::Int32, SignedValue(value));
            return true;
        }
        if (value.IsArray())
            return Fail(where, L"expected a single value (an array holds no arrays)");
        static const wchar_t kTypes[] = L"int16, int32, uint32, string, boolean, other, empty";
        const auto typed =
            OneTyped(value, where, L"one typed value such as {\"uint32\": 4}", kTypes);
        if (!typed)
            return false;
        const std::string_view type = typed->name;
        const JsonValue* inner = &typed->value;
        const Where at = Member(where, type);
        if (type == "int16" || type == "int32" || type == "uint32") {
            const bool int16 = type == "int16";
            const bool uint32 = type == "uint32";
            const std::int64_t low = uint32 ? 0 : int16 ? -32768 : -2147483648LL;
            const std::uint64_t high = uint32 ? 4294967295u : int16 ? 32767u : 2147483647u;
            if (!IntegerIn(*inner, low, high))
                return Fail(at, L"expected an integer from " + std::to_wstring(low) + L" to " +
                                    std::to_wstring(high));
            out = WmiValue::Integer(uint32  ? Kind::UInt32
                                    : int16 ? Kind::Int16
                                            : Kind::Int32,
                                    SignedValue(*inner));
        } else if (type == "string") {
            if (!Expect(inner->IsString(), at, L"a string"))
                return false;
            out = WmiValue::String(Text(*inner));
        } else if (type == "boolean") {
            if (!Expect(inner->IsBoolean(), at, L"true or false"))
                return false;
            out = WmiValue::Bool(inner->Boolean());
        } else if (type == "other") {
            out = WmiValue::Of(Kind::Other);
        } else if (type == "empty") {
            out = WmiValue::Of(Kind::Empty);
        } else {
            return Fail(at, std::wstring(L"unknown type (expected one of: ") + kTypes + L")");
        }
        return true;
    }

    // ---- registry ----

    bool ReadRegistry(const JsonValue& registry, MemoryRegistry& memory) {
        const Where where = Top("registry");
        if (!Expect(registry.IsObject(), where, L"an object of keys"))
            return false;
        for (const auto& [pathUtf8, values] : registry.Members()) {
            const std::wstring path = WideText(pathUtf8);
            const Where at = Member(where, pathUtf8);
            const std::size_t slash = path.find(L'\\');
            const std::wstring rootName = WqlFold(path.substr(0, slash));
            const RootName* root = nullptr;
            for (const auto& candidate : kRoots)
                if (rootName == WqlFold(candidate.longName) ||
                    rootName == WqlFold(candidate.shortName))
                    root = &candidate;
            if (!root)
                return Fail(at,
                            L"a key path starts with a root such as HKEY_LOCAL_MACHINE "
                            L"(or HKLM), HKEY_CURRENT_USER, HKEY_CLASSES_ROOT, HKEY_USERS, "
                            L"HKEY_CURRENT_CONFIG");
            const std::wstring subkey = slash == std::wstring::npos ? L"" : path.substr(slash + 1);
            if (!Expect(values.IsObject(), at, L"an object of values"))
                return false;
            memory.PutKey(root->key, subkey);
            std::set<std::wstring> seen;
            for (const auto& [valueNameUtf8, value] : values.Members()) {
                const std::wstring valueName = WideText(valueNameUtf8);
                const Where valueAt = Member(at, valueNameUtf8);
                if (!seen.insert(WqlFold(valueName)).second)
                    return GivenTwice(valueAt, L"value");
                std::uint32_t type = kRegSz;
                std::vector<std::uint8_t> data;
                if (!ReadRegistryValue(value, valueAt, type, data))
                    return false;
                memory.PutValue(root->key, subkey, valueName, type, std::move(data));
            }
        }
        return true;
    }

    bool ReadRegistryValue(const JsonValue& value, const Where& where, std::uint32_t& type,
                           std::vector<std::uint8_t>& data) {
        static const wchar_t kTypes[] = L"dword, qword, expand, multi, binary";
        if (value.IsString()) {
            type = kRegSz;
            data = WideBytes(Text(value) + L'\0');
            return true;
        }
        const auto typed =
            OneTyped(value, where, L"a string or one typed value such as {\"dword\": 1}", kTypes);
        if (!typed)
            return false;
        const std::string_view name = typed->name;
        const JsonValue* inner = &typed->value;
        const Where at = Member(where, name);
        if (name == "dword" || name == "qword") {
            const bool dword = name == "dword";
            const std::uint64_t high = dword ? 0xFFFFFFFFull : 0xFFFFFFFFFFFFFFFFull;
            if (!IntegerIn(*inner, 0, high))
                return Fail(at, L"expected an integer from 0 to " + std::to_wstring(high));
            type = dword ? kRegDword : kRegQword;
            data.resize(dword ? 4 : 8);
            const auto number = static_cast<std::uint64_t>(SignedValue(*inner));
            for (std::size_t i = 0; i < data.size(); ++i)
                data[i] = static_cast<std::uint8_t>(number >> (8 * i));
        } else if (name == "expand") {
            if (!Expect(inner->IsString(), at, L"a string"))
                return false;
            type = kRegExpandSz;
            data = WideBytes(Text(*inner) + L'\0');
        } else if (name == "multi") {
            if (!Expect(inner->IsArray(), at, L"an array of strings"))
                return false;
            std::wstring joined;
            std::size_t i = 0;
            for (const JsonValue& element : inner->Elements()) {
                if (!Expect(element.IsString(), Index(at, i++), L"a string"))
                    return false;
                joined += Text(element) + L'\0';
            }
            type = kRegMultiSz;
            data = WideBytes(joined + L'\0');
        } else if (name == "binary") {
            if (!Expect(inner->IsString(), at, L"a string of hexadecimal digit pairs") ||
                !Hex(Text(*inner), data))
                return Fail(at, L"expected a string of hexadecimal digit pairs such as \"00ff\"");
            type = kRegBinary;
        } else {
            return Fail(at, std::wstring(L"unknown type (expected one of: ") + kTypes + L")");
        }
        return true;
    }

    static bool Hex(const std::wstring& text, std::vector<std::uint8_t>& bytes) {
        if (text.size() % 2)
            return false;
        bytes.clear();
        for (std::size_t i = 0; i < text.size(); i += 2) {
            const int high = HexDigitValue(text[i]), low = HexDigitValue(text[i + 1]);
            if (high < 0 || low < 0)
                return false;
            bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
        }
        return true;
    }

    // ---- services ----

    bool ReadServices(const JsonValue& services, ServiceListing& listing) {
        const Where top = Top("services");
        const Where listed = Member(top, "list");
        const Where* where = &top;
        std::optional<JsonValue> list = services;
        if (services.IsObject()) {
            list.reset();
            for (const auto& [keyUtf8, value] : services.Members()) {
                const std::wstring key = WideText(keyUtf8);
                const Where at = Member(top, keyUtf8);
                if (key == L"list") {
                    list = value;
                } else if (key == L"failure") {
                    if (!Expect(value.IsString(), at, L"\"open\", \"list\" or \"close\""))
                        return false;
                    if (Text(value) == L"open")
                        listing.failure = ServiceListing::Failure::Open;
                    else if (Text(value) == L"list")
                        listing.failure = ServiceListing::Failure::List;
                    else if (Text(value) == L"close")
                        listing.failure = ServiceListing::Failure::Close;
                    else
                        return Fail(at, L"expected \"open\", \"list\" or \"close\"");
                } else if (key == L"error") {
                    if (!IntegerIn(value, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::uint32_t>::max()))
                        return Fail(at, L"expected a Win32 error code");
                    listing.error = static_cast<long>(
                        static_cast<std::int32_t>(static_cast<std::uint32_t>(SignedValue(value))));
                } else {
                    return Unknown(at, L"list, failure, error");
                }
            }
            if (!list)
                return true;
            where = &listed;
        }
        if (!Expect(list->IsArray(), *where,
                    L"an array of services, or an object with list, failure and error"))
            return false;
        std::set<std::wstring> names;
        std::size_t i = 0;
        for (const JsonValue& item : list->Elements()) {
            const Where at = Index(*where, i++);
            ServiceEntry entry;
            if (!ReadService(item, at, entry))
                return false;
            if (!names.insert(WqlFold(entry.serviceName)).second)
                return Fail(Member(at, "name"),
                            L"the service is listed twice (service names ignore letter case)");
            listing.services.push_back(std::move(entry));
        }
        return true;
    }

    bool ReadService(const JsonValue& service, const Where& where, ServiceEntry& entry) {
        if (!Expect(service.IsObject(), where, L"an object with name, displayName, status"))
            return false;
        bool hasName = false, hasDisplayName = false, hasStatus = false;
        for (const auto& [keyUtf8, value] : service.Members()) {
            const std::wstring key = WideText(keyUtf8);
            const Where at = Member(where, keyUtf8);
            if (key == L"name" || key == L"displayName") {
                if (!Expect(value.IsString(), at, L"a string"))
                    return false;
                (key == L"name" ? entry.serviceName : entry.displayName) = Text(value);
                (key == L"name" ? hasName : hasDisplayName) = true;
            } else if (key == L"status") {
                if (!value.IsArray() || value.Size() != 7)
                    return Fail(at,
                                L"expected an array of the seven status numbers: type, "
                                L"state, controls accepted, Win32 exit code, "
                                L"service-specific exit code, check point, wait hint");
                std::size_t n = 0;
                for (const JsonValue& number : value.Elements()) {
                    if (!IntegerIn(number, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::uint32_t>::max()))
                        return Fail(Index(at, n), L"expected a 32-bit integer");
                    entry.status[n++] = static_cast<std::uint32_t>(SignedValue(number));
                }
                hasStatus = true;
            } else if (key == L"startMode") {
                if (!Expect(value.IsString(), at, L"a string"))
                    return false;
                entry.startMode = Text(value);
            } else {
                return Unknown(at, L"name, displayName, status, startMode");
            }
        }
        if (!hasName)
            return Fail(where, L"the service has no name");
        if (!hasDisplayName)
            return Fail(where, L"the service has no displayName");
        if (!hasStatus)
            return Fail(where, L"the service has no status");
        entry.state = ServiceStateText(entry.status[1]);
        return true;
    }

    std::wstring name_;
    Host& running_;
    std::wstring error_;
};

DescribedMachine::DescribedMachine() = default;
DescribedMachine::DescribedMachine(DescribedMachine&&) noexcept = default;
DescribedMachine& DescribedMachine::operator=(DescribedMachine&&) noexcept = default;
DescribedMachine::~DescribedMachine() = default;

std::optional<DescribedMachine> DescribedMachine::FromText(std::string_view json,
                                                           const std::wstring& name,
                                                           std::wstring& error, Host& running) {
    described::JsonError syntax;
    const std::optional<described::JsonDocument> document = described::ParseJson(json, syntax);
    if (!document) {
        error = name + L": line " + std::to_wstring(syntax.line) + L", column " +
                std::to_wstring(syntax.column) + L": " + syntax.message;
        return std::nullopt;
    }
    DescribedLoader loader(name, running);
    auto machine = loader.Load(document->Root());
    error = machine ? std::wstring() : std::move(loader.error());
    return machine;
}

std::optional<DescribedMachine> DescribedMachine::Load(const std::wstring& path,
                                                       std::wstring& error, Host& running) {
    std::string contents;
    if (IsDirectory(path) || !ReadWholeFile(path, contents)) {
        error = path + L": cannot be read";
        return std::nullopt;
    }
    return FromText(contents, path, error, running);
}

std::optional<DescribedMachine> DescribedMachine::Load(const std::wstring& path,
                                                       std::wstring& error) {
    return Load(path, error, *NativeServices().host);
}

Services DescribedMachine::ServicesFor() {
    Services services;
    services.registry = registry_.get();
    services.host = host_.get();
    services.wmi = wmi_.get();
    services.serviceManager = serviceManager_.get();
    services.platformInfo = platformInfo_.get();
    return services;
}

}  // namespace platform
