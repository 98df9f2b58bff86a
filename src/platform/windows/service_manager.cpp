#include "platform/windows/handle.h"
#include "platform/windows/native.h"

#include <vector>

namespace platform::win {
namespace {

using LocalMemory = UniqueHandle<NullTraits<HLOCAL, ::LocalFree>>;

// The list can grow between the call that measures it and the one that reads it; a few
// fresh starts are enough for any real system.
constexpr int kListAttempts = 4;

// The start type as Windows names it; empty when the configuration cannot be read (a
// service deleted since the listing, or one this user may not ask).
std::wstring StartMode(SC_HANDLE manager, const wchar_t* name) {
    const ServiceHandle service(::OpenServiceW(manager, name, SERVICE_QUERY_CONFIG));
    if (!service)
        return {};
    DWORD needed = 0;
    if (::QueryServiceConfigW(service.get(), nullptr, 0, &needed) ||
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0)
        return {};
    // The record comes with its strings after it; whole records keep it aligned.
    std::vector<QUERY_SERVICE_CONFIGW> buffer(needed / sizeof(QUERY_SERVICE_CONFIGW) + 1);
    if (!::QueryServiceConfigW(service.get(), buffer.data(),
                               static_cast<DWORD>(buffer.size() * sizeof(buffer[0])), &needed))
        return {};
    return ServiceStartModeText(buffer[0].dwStartType);
}

}  // namespace

ServiceListing Win32ServiceManager::ListServices() {
    ServiceListing listing;
    ServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ENUMERATE_SERVICE));
    if (!manager) {
        listing.failure = ServiceListing::Failure::Open;
        listing.error = static_cast<long>(::GetLastError());
        return listing;
    }

    // Whole records, so that the entries at the start of the buffer are aligned.
    std::vector<ENUM_SERVICE_STATUSW> buffer(1);
    DWORD needed = 0;
    DWORD count = 0;
    DWORD error = ERROR_MORE_DATA;
    for (int attempt = 0; attempt <= kListAttempts && error == ERROR_MORE_DATA; ++attempt) {
        if (attempt > 0) {
            // "needed" counts what did not fit, so the new room is the old plus that, with
            // one record more to spare.
            const std::size_t bytes = buffer.size() * sizeof(ENUM_SERVICE_STATUSW) + needed;
            buffer.assign(bytes / sizeof(ENUM_SERVICE_STATUSW) + 2, ENUM_SERVICE_STATUSW{});
        }
        DWORD resume = 0;
        needed = 0;
        count = 0;
        error = ::EnumServicesStatusW(
                    manager.get(), SERVICE_DRIVER | SERVICE_WIN32, SERVICE_STATE_ALL, buffer.data(),
                    static_cast<DWORD>(buffer.size() * sizeof(buffer[0])), &needed, &count, &resume)
                    ? ERROR_SUCCESS
                    : ::GetLastError();
    }
    if (error != ERROR_SUCCESS) {
        listing.failure = ServiceListing::Failure::List;
        listing.error = static_cast<long>(error);
    }

    // On a failure, count holds what the last call did list before it ran out of room.
    listing.services.reserve(count);
    for (DWORD i = 0; i < count && i < buffer.size(); ++i) {
        const ENUM_SERVICE_STATUSW& from = buffer[i];
        ServiceEntry entry;
        if (from.lpServiceName)
            entry.serviceName = from.lpServiceName;
        if (from.lpDisplayName)
            entry.displayName = from.lpDisplayName;
        const SERVICE_STATUS& status = from.ServiceStatus;
        entry.status[0] = status.dwServiceType;
        entry.status[1] = status.dwCurrentState;
        entry.status[2] = status.dwControlsAccepted;
        entry.status[3] = status.dwWin32ExitCode;
        entry.status[4] = status.dwServiceSpecificExitCode;
        entry.status[5] = status.dwCheckPoint;
        entry.status[6] = status.dwWaitHint;
        entry.state = ServiceStateText(status.dwCurrentState);
        if (from.lpServiceName)
            entry.startMode = StartMode(manager.get(), from.lpServiceName);
        listing.services.push_back(std::move(entry));
    }

    if (!::CloseServiceHandle(manager.release()) &&
        listing.failure == ServiceListing::Failure::None) {
        listing.failure = ServiceListing::Failure::Close;
        listing.error = static_cast<long>(::GetLastError());
    }
    return listing;
}

std::wstring Win32ServiceManager::SystemMessage(long error) {
    constexpr DWORD kUsEnglish = 1033;
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(error), kUsEnglish, reinterpret_cast<wchar_t*>(&text), 0,
        nullptr);
    const LocalMemory owner(text);
    if (length == 0 || !text)
        return {};
    return std::wstring(text, length);
}

}  // namespace platform::win
