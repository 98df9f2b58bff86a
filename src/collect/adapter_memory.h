#pragma once
// Graphics memory as the display driver registered it. Win32_VideoController's AdapterRAM is
// a 32-bit figure that wraps above 4 GB; the driver's HardwareInformation.qwMemorySize under
// the display class key holds all of it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/inventory_types.h"

// The number in REG_QWORD data, or in REG_BINARY data of exactly 8 bytes (as some drivers
// write it); nothing for anything else.
std::optional<std::uint64_t> QwordValue(std::uint32_t type, const std::vector<std::uint8_t>& data);

// The registered memory of the first display adapter whose DriverDesc is `adapterName`.
std::optional<std::uint64_t> RegisteredAdapterMemory(const std::wstring& adapterName);

// A Win32_VideoController row with the registered memory of the adapter it names as its
// AdapterRAM, where the driver registered one; other rows as they are.
void PreferRegisteredAdapterMemory(const QueryDefinition& query, ResultRow& row);
