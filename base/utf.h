// The program's one conversion between UTF-8 (the desktop, file names, messages) and UTF-16 (the
// dialogs and the preset files). Malformed input becomes U+FFFD, never an error.
#pragma once

#include <string>
#include <string_view>

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
