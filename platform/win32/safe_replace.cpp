// The safe replace of a file on Windows: write a temporary file beside it, flush, and move it over
// the target with MoveFileExW; or, where that would split a hard link or cannot be done, write the
// target in place (in_place_write).
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <string>

#include "platform/file.h"
#include "platform/file_faults.h"
#include "platform/record_buffer.h"
#include "platform/win32/in_place_write.h"
#include "platform/win32/os_error.h"
#include "platform/win32/owned_handle.h"

namespace {

using platform::win32::LastErrno;
using Handle = platform::win32::OwnedHandle;

std::wstring Wide(const CString& text) {
    return std::wstring(text.Str().begin(), text.Str().end());
}

// A name in the target's folder that no other file has; CREATE_NEW settles a race.
HANDLE CreateTemporary(const std::wstring& target, std::wstring& tempPath) {
    static unsigned counter = 0;
    if (platform::faults::TemporaryFails()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    const std::size_t slash = target.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    const std::wstring name = slash == std::wstring::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + L"~" + name + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                   std::to_wstring(++counter);
        HANDLE h = CreateFileW(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            return h;
    }
    return INVALID_HANDLE_VALUE;
}

[[noreturn]] void Fail(int osError, const CString& target) {
    throw CFileException(CFileException::CauseFromOsError(osError), osError, target);
}

}  // namespace

void CFile::ReplaceSafely(const CString& target, const std::function<void(CFile&)>& writeRecord) {
    const CString fullTarget = GetFullPath(target);
    const std::wstring targetPath = Wide(fullTarget);

    // The target is held without sharing while the new content is written.
    Handle old(CreateFileW(targetPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!old.Valid()) {
        const DWORD error = GetLastError();
        const DWORD attributes = GetFileAttributesW(targetPath.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            Fail(EISDIR, fullTarget);
        if (error != ERROR_FILE_NOT_FOUND)
            Fail(platform::win32::ErrnoFromWindowsError(error), fullTarget);
    } else if (GetFileType(old.Get()) != FILE_TYPE_DISK ||
               !GetFileInformationByHandle(old.Get(), &info) ||
               (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Fail(ENODEV, fullTarget);
    }
    const bool exists = old.Valid();

    // A replace would split a hard link from its other names: those keep the old content.
    bool inPlace = exists && info.nNumberOfLinks > 1;
    std::wstring tempPath;
    HANDLE tempHandle = INVALID_HANDLE_VALUE;
    if (!inPlace) {
        tempHandle = CreateTemporary(targetPath, tempPath);
        if (tempHandle == INVALID_HANDLE_VALUE) {
            if (!exists)
                Fail(LastErrno(), fullTarget);
            inPlace = true;  // the folder may be closed to us while the file is not
        }
    }

    if (inPlace) {
        // The whole record is made before the file is touched, so that it goes in with one write.
        platform::RecordBuffer record;
        writeRecord(record);
        old.Close();
        platform::win32::WriteInPlace(targetPath, record.Bytes(), fullTarget);
        return;
    }

    CFile temp;
    temp.fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(tempHandle), _O_BINARY);
    if (temp.fd_ < 0) {
        CloseHandle(tempHandle);
        DeleteFileW(tempPath.c_str());
        Fail(EMFILE, fullTarget);
    }
    temp.path_ = CString(std::u16string(tempPath.begin(), tempPath.end()));

    try {
        writeRecord(temp);
        temp.Flush();
        temp.Close();
        if (platform::faults::RenameFails())
            throw CFileException(CFileException::hardIO, EIO, fullTarget);
        // Windows refuses to replace a file that is open, so the hold ends just before the move.
        old.Close();
        if (!MoveFileExW(tempPath.c_str(), targetPath.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const int failure = LastErrno();
            throw CFileException(CFileException::CauseFromOsError(failure), failure, fullTarget);
        }
    } catch (const CFileException& e) {
        temp.Abort();
        DeleteFileW(tempPath.c_str());
        throw CFileException(e.m_cause, e.m_lOsError, fullTarget);
    } catch (...) {
        temp.Abort();
        DeleteFileW(tempPath.c_str());
        throw;
    }
}
