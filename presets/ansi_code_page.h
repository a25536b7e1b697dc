// The 8-bit code page of unmarked strings in older bank files.
#pragma once

#include <cstddef>
#include <string>

// Converts exactly count bytes to UTF-16; a zero byte is a character like any other.
std::u16string AnsiToUtf16(const unsigned char* bytes, std::size_t count);
