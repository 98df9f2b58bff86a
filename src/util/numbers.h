#pragma once

#include <string>

// Conversions use the classic "C" locale: "." as decimal point, no digit grouping.

// Leading number of the text after white space; 0 when there is none or it overflows.
int TextToInt(const std::wstring& text);
std::wstring IntToText(int value);

// Leading number of the text after white space; 0 when there is none or it overflows.
double TextToDouble(const std::wstring& text);

// Two decimals with binary steps: "1.50kb", "512.00b", "2.00GB".
std::wstring FormatBytes(double bytes);

// Two decimals with decimal steps: "2.40GHz", "999.00Hz".
std::wstring FormatHertz(double hertz);
