#pragma once
// The two query types that need no query language: the program's own version record, and
// the installed services and drivers.
#include <string>

#include "collect/row_sink.h"
#include "config/common_config.h"

// One item describing this program and this run.
int CollectVersion(CCommonConfig& config, const QueryDefinition& query, const RowSink& store);

// One item per service or driver (at most maxRows when positive). -1 when the service
// manager cannot be opened; errorText then holds the system's message.
int CollectServices(const QueryDefinition& query, const RowSink& store, std::wstring& errorText);

// The system's message for a Win32 error code, in US English.
std::wstring FormatSystemError(long code);
