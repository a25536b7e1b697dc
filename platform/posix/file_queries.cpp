// Questions about a file name that a save and a recall ask before they open it.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/file.h"

bool CFile::Exists(const CString& fileName) {
    struct stat st {};
    return ::stat(GetFullPath(fileName).ToUtf8().c_str(), &st) == 0;
}

// The read-only attribute of Windows is a mode without any write bit here; that is asked as well as
// our own permission, since for the superuser the permission check alone always passes.
bool CFile::IsReadOnly(const CString& fileName) {
    const std::string path = GetFullPath(fileName).ToUtf8();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return false;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return true;
    return ::access(path.c_str(), W_OK) != 0;
}

CString CFile::GetFullPath(const CString& fileName) {
    std::error_code ignored;
    const std::filesystem::path name(fileName.ToUtf8());
    const std::filesystem::path full = std::filesystem::absolute(name, ignored).lexically_normal();
    return CString::FromUtf8(full.empty() ? name.string() : full.string());
}
