#pragma once
// The two registry query types: one item per subkey of a key ("RegistryKeys") and one item
// per value of a key ("RegistryValues").
#include <cstdint>
#include <string>

#include "collect/row_sink.h"
#include "platform/registry.h"

// The predefined root named in the part before the first backslash; 0 when none is.
platform::RegKey ParseRootKey(const std::wstring& rootPart);
// The view flag asked for by a "64:" or "32:" prefix; 0 without one.
std::uint32_t ParseRegistryView(const std::wstring& rootPart);

// isWow64: the program is a 32-bit process on 64-bit Windows, the only case in which a
// query of the 64-bit view adds anything to the unprefixed one. "HKEY_USERS\*\PATH" reads
// PATH in each user's hive loaded there (not the default, system and service hives, nor the
// classes hives), and a field named UserName holds the user the profile list names.
int CollectRegistryKeys(const QueryDefinition& query, bool isWow64, const RowSink& store);
int CollectRegistryValues(const QueryDefinition& query, const RowSink& store);
