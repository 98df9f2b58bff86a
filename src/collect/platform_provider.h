#pragma once
// The platform's facts as one item: operating-system family, firmware type, Secure Boot,
// virtualization and init system.
#include "collect/row_sink.h"

int CollectPlatform(const QueryDefinition& query, const RowSink& store);
