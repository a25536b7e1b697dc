// The text of the Windows resource script: icon 128, the string table and the version resource,
// from the same strings and version values that every build uses.
#pragma once

#include <string>

namespace res::windows {

// iconFile is the name the script gives for the icon file, relative to the script.
std::string ResourceScript(const std::string& iconFile);

// A string as a resource compiler's wide literal: quotes doubled, the rest escaped.
std::string WideLiteral(const char16_t* text);

}  // namespace res::windows
