#include "platform/windows/win32.h"

#include <wbemidl.h>

#include <cstring>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/windows/com_ptr.h"
#include "platform/windows/native.h"
#include "platform/wql.h"

namespace platform::win {

// Released in reverse order of declaration: the services before the locator, as Disconnect
// is specified. The token lets query results notice that their connection has gone.
struct Win32Wmi::Connection {
    ComPtr<IWbemLocator> locator;
    ComPtr<IWbemServices> services;
    // Other namespaces, by folded name, connected when first asked; null where refused
    // (the TPM's needs an administrator).
    std::map<std::wstring, ComPtr<IWbemServices>> otherServices;
    std::shared_ptr<const bool> token = std::make_shared<const bool>(true);
};

namespace {

using Kind = WmiValue::Kind;

bool IsUnsignedCim(CIMTYPE cimType) {
    const CIMTYPE scalar = cimType & ~CIM_FLAG_ARRAY;
    return scalar == CIM_UINT8 || scalar == CIM_UINT16 || scalar == CIM_UINT32;
}

template <class T>
T Read(const void* data) {
    T value;
    std::memcpy(&value, data, sizeof value);
    return value;
}

// Bytes of one array element of the types that are read; 0 for the rest, which are not.
std::size_t ElementSize(VARTYPE type) {
    switch (type) {
        case VT_UI1:
            return sizeof(BYTE);
        case VT_I2:
        case VT_UI2:
            return sizeof(SHORT);
        case VT_I4:
        case VT_UI4:
            return sizeof(LONG);
        case VT_BOOL:
            return sizeof(VARIANT_BOOL);
        case VT_BSTR:
            return sizeof(BSTR);
        case VT_VARIANT:
            return sizeof(VARIANT);
        default:
            return 0;
    }
}

// All value members of a VARIANT share the address of its union.
const void* ValueOf(const VARIANT& variant) {
    return &V_UI1(&variant);
}

WmiValue Scalar(VARTYPE type, const void* data, CIMTYPE cimType) {
    switch (type) {
        case VT_EMPTY:
            return WmiValue::Of(Kind::Empty);
        case VT_NULL:
            return WmiValue::Null();
        case VT_I2: {
            const auto n = Read<SHORT>(data);
            if (IsUnsignedCim(cimType))
                return WmiValue::Integer(Kind::UInt32, static_cast<USHORT>(n));
            return WmiValue::Integer(Kind::Int16, n);
        }
        case VT_I4: {
            // WMI hands unsigned 32-bit properties over in the signed type; the CIM type
            // tells them apart, so large values do not come out negative.
            const auto n = Read<LONG>(data);
            if (IsUnsignedCim(cimType))
                return WmiValue::Integer(Kind::UInt32, static_cast<ULONG>(n));
            return WmiValue::Integer(Kind::Int32, n);
        }
        case VT_UI1:
            return WmiValue::Integer(Kind::UInt32, Read<BYTE>(data));
        case VT_UI2:
            return WmiValue::Integer(Kind::UInt32, Read<USHORT>(data));
        case VT_UI4:
            return WmiValue::Integer(Kind::UInt32, Read<ULONG>(data));
        case VT_BSTR: {
            const auto text = Read<BSTR>(data);
            return WmiValue::String(text ? std::wstring(text, ::SysStringLen(text))
                                         : std::wstring());
        }
        case VT_BOOL:
            return WmiValue::Bool(Read<VARIANT_BOOL>(data) != VARIANT_FALSE);
        case VT_VARIANT: {
            // Only as an array element; nested arrays and references are not followed.
            const auto& inner = *static_cast<const VARIANT*>(data);
            if (V_VT(&inner) & (VT_ARRAY | VT_BYREF | VT_VECTOR))
                return WmiValue::Of(Kind::Other);
            return Scalar(V_VT(&inner), ValueOf(inner), cimType);
        }
        default:
            return WmiValue::Of(Kind::Other);
    }
}

WmiValue ArrayOf(const VARIANT& variant, CIMTYPE cimType) {
    std::vector<WmiValue> items;
    SAFEARRAY* array = (V_VT(&variant) & VT_BYREF) ? *V_ARRAYREF(&variant) : V_ARRAY(&variant);
    LONG lower = 0;
    LONG upper = -1;
    void* data = nullptr;
    // A failing call leaves the elements read so far (none, as the calls come first).
    if (array && SUCCEEDED(::SafeArrayGetLBound(array, 1, &lower)) &&
        SUCCEEDED(::SafeArrayGetUBound(array, 1, &upper)) &&
        SUCCEEDED(::SafeArrayAccessData(array, &data))) {
        const auto type = static_cast<VARTYPE>(V_VT(&variant) & VT_TYPEMASK);
        const std::size_t size = ElementSize(type);
        const long long count = static_cast<long long>(upper) - lower + 1;
        for (long long i = 0; i < count; ++i) {
            if (size == 0)
                items.push_back(WmiValue::Of(Kind::Other));
            else
                items.push_back(Scalar(type, static_cast<const BYTE*>(data) + i * size, cimType));
        }
        ::SafeArrayUnaccessData(array);
    }
    return WmiValue::Array(std::move(items));
}

WmiValue Convert(const VARIANT& variant, CIMTYPE cimType) {
    if (V_VT(&variant) & VT_ARRAY)
        return ArrayOf(variant, cimType);
    if (V_VT(&variant) & (VT_BYREF | VT_VECTOR))
        return WmiValue::Of(Kind::Other);
    return Scalar(V_VT(&variant), ValueOf(variant), cimType);
}

class Objects final : public WmiObjects {
  public:
    Objects(ComPtr<IEnumWbemClassObject> enumerator, std::weak_ptr<const bool> connection)
        : enumerator_(std::move(enumerator)), connection_(std::move(connection)) {}

    bool Next() override {
        current_.reset();
        if (!Connected() || !enumerator_)
            return false;
        ULONG returned = 0;
        const HRESULT rc = enumerator_->Next(WBEM_INFINITE, 1, current_.put(), &returned);
        if (FAILED(rc) || returned == 0) {
            current_.reset();
            return false;
        }
        return true;
    }

    bool Get(const std::wstring& name, WmiValue& value) override {
        if (!Connected() || !current_)
            return false;
        Variant variant;
        CIMTYPE cimType = CIM_EMPTY;
        if (FAILED(current_->Get(name.c_str(), 0, variant.get(), &cimType, nullptr)))
            return false;
        value = Convert(*variant, cimType);
        return true;
    }

  private:
    // After a disconnect the results go with the connection, as if it had released them.
    bool Connected() {
        if (!connection_.expired())
            return true;
        current_.reset();
        enumerator_.reset();
        return false;
    }

    ComPtr<IEnumWbemClassObject> enumerator_;
    ComPtr<IWbemClassObject> current_;
    std::weak_ptr<const bool> connection_;
};

ComPtr<IWbemServices> ConnectServices(IWbemLocator& locator, const std::wstring& nameSpace) {
    ComPtr<IWbemServices> services;
    const Bstr space(nameSpace);
    if (!space || FAILED(locator.ConnectServer(space.get(), nullptr, nullptr, nullptr, 0, nullptr,
                                               nullptr, services.put())))
        return {};
    if (FAILED(::CoSetProxyBlanket(services.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                                   RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                                   EOAC_NONE)))
        return {};
    return services;
}

std::unique_ptr<WmiObjects> RunQuery(IWbemServices& services, const std::wstring& wql,
                                     std::weak_ptr<const bool> connection) {
    const Bstr language(L"WQL");
    const Bstr text(wql);
    if (!language || !text)
        return nullptr;
    ComPtr<IEnumWbemClassObject> enumerator;
    if (FAILED(services.ExecQuery(language.get(), text.get(),
                                  WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                  enumerator.put())) ||
        !enumerator)
        return nullptr;
    return std::make_unique<Objects>(std::move(enumerator), std::move(connection));
}

}  // namespace

Win32Wmi::Win32Wmi() = default;

Win32Wmi::~Win32Wmi() {
    Disconnect();
}

int Win32Wmi::Connect() {
    if (connection_)
        return 0;
    const HRESULT security =
        ::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                               RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    // Deliberate: the process's security can be set only once, and a second connection in the
    // same process (after a disconnect) finds it set already; that is all the connection needs.
    if (FAILED(security) && security != RPC_E_TOO_LATE)
        return 1;
    auto connection = std::make_unique<Connection>();
    if (FAILED(::CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWbemLocator, connection->locator.put_void())))
        return 1;
    connection->services = ConnectServices(*connection->locator.get(), L"ROOT\\CIMV2");
    if (!connection->services)
        return 1;
    connection_ = std::move(connection);
    return 0;
}

void Win32Wmi::Disconnect() {
    connection_.reset();
}

std::unique_ptr<WmiObjects> Win32Wmi::ExecQuery(const std::wstring& wql) {
    if (!connection_)
        return nullptr;
    return RunQuery(*connection_->services.get(), wql, connection_->token);
}

std::unique_ptr<WmiObjects> Win32Wmi::ExecQueryIn(const std::wstring& nameSpace,
                                                  const std::wstring& wql) {
    if (IsDefaultNamespace(nameSpace))
        return ExecQuery(wql);
    if (!connection_)
        return nullptr;
    auto [entry, added] = connection_->otherServices.try_emplace(WqlFold(nameSpace));
    if (added)
        entry->second = ConnectServices(*connection_->locator.get(), nameSpace);
    if (!entry->second)
        return nullptr;
    return RunQuery(*entry->second.get(), wql, connection_->token);
}

}  // namespace platform::win
