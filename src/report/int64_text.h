#pragma once
// Inventory numbers that outgrow 32 bits: disk sizes in bytes, memory in kilobytes, counts
// that a broken provider can make huge.
#include <string>

// Leading number of the text after white space, as TextToInt reads it but in 64 bits; 0 when
// there is none or it overflows.
long long TextToInt64(const std::wstring& text);
