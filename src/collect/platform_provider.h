#pragma once
// The platform's facts as one item: operating-system family, firmware type, Secure Boot,
// virtualization and init system.
#include "collect/row_sink.h"

class CWmiSession;

// The TPM's presence is asked of WMI, which tells an empty answer from none.
int CollectPlatform(CWmiSession& wmi, const QueryDefinition& query, const RowSink& store);
