#pragma once
// The terminal's progress line: the status text, the position of the range and the
// percentage, fitted to the terminal's width.
#include <string>

#include "ui/progress_state.h"

std::wstring ProgressLine(const std::wstring& status, const ProgressState& state,
                          std::size_t columns);
