// Backslashes become the native separator; nothing else about the name changes.
#include "platform/native_path.h"

#include <algorithm>

namespace platform {

std::string NativePath(std::string_view windowsPath) {
    std::string path(windowsPath);
#ifndef _WIN32
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    return path;
}

}  // namespace platform
