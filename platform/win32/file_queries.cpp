// Questions about a file name that a save and a recall ask before they open it, on Windows.
#include <windows.h>

#include <vector>

#include "platform/file.h"

namespace {
const wchar_t* Wide(const CString& text) {
    return reinterpret_cast<const wchar_t*>(text.Str().c_str());
}
}  // namespace

bool CFile::Exists(const CString& fileName) {
    return GetFileAttributesW(Wide(GetFullPath(fileName))) != INVALID_FILE_ATTRIBUTES;
}

bool CFile::IsReadOnly(const CString& fileName) {
    const DWORD attributes = GetFileAttributesW(Wide(GetFullPath(fileName)));
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

CString CFile::GetFullPath(const CString& fileName) {
    const DWORD needed = GetFullPathNameW(Wide(fileName), 0, nullptr, nullptr);
    if (needed == 0)
        return fileName;
    std::vector<wchar_t> buffer(needed);
    const DWORD length = GetFullPathNameW(Wide(fileName), needed, buffer.data(), nullptr);
    if (length == 0 || length >= needed)
        return fileName;
    return CString(std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), length));
}
