#pragma once
// Where providers hand each collected row: the store in a run, a recorder in tests.
#include <functional>

#include "store/inventory_types.h"

using RowSink = std::function<void(const QueryDefinition&, const ResultRow&)>;
