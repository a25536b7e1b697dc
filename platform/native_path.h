// File names in the program are written as on Windows ("sounds\Hat1.wav"); this maps them to the
// platform's separator.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string NativePath(std::string_view windowsPath);

}  // namespace platform
