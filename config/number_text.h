// Decimal numbers in configuration text: read like the C library's atoi, but saturated to the
// 32-bit range instead of undefined beyond it; written as signed decimal text.
#pragma once

#include <cstdint>
#include <string>

// Leading white space, an optional sign, then digits up to the first other character; no digits
// give 0, values beyond the 32-bit range give its nearest end.
std::int32_t ParseDecimal(const char* text);
std::int32_t ParseDecimal(const wchar_t* text);
std::string FormatDecimal(std::int32_t value);
